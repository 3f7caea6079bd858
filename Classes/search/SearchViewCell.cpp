#include "Classes/search/SearchViewCell.h"

#include "Classes/common/VerseRowParts.h"

SearchViewCell::SearchViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {
  cellView_ = std::make_shared<SearchCellView>(cg::Rect(cg::Point(0, 0), bounds().size));
  cellView_->setContentMode(ui::ContentMode::Right);
  cellView_->setCell(this);
  cellView_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  addSubview(cellView_);
  setSelectedBackgroundView(verserow::makeSelectedBackground(bounds().height()));
  // The list's tint shows through, so the white box of a matched word stands out.
  setBackgroundView(nullptr);
  setBackgroundColor(cg::Color::clear());
  setOpaque(false);
}

void SearchViewCell::setSelected(bool selected, bool animated) {
  ui::TableViewCell::setSelected(selected, animated);
  cellView_->setSelected(selected);
}

void SearchViewCell::setHighlighted(bool highlighted, bool animated) {
  ui::TableViewCell::setHighlighted(highlighted, animated);
  cellView_->setHighlighted(highlighted);
}
