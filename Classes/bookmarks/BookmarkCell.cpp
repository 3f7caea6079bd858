#include "Classes/bookmarks/BookmarkCell.h"

#include "Classes/common/VerseRowParts.h"

BookmarkCell::BookmarkCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {
  cellView_ = std::make_shared<BookmarkCellView>(contentView()->bounds());
  cellView_->setContentMode(ui::ContentMode::Right);
  cellView_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  cellView_->setCell(this);
  addSubview(cellView_);
  setSelectedBackgroundView(verserow::makeSelectedBackground(contentView()->bounds().height()));
  setOpaque(false);
}

void BookmarkCell::setSelected(bool selected, bool animated) {
  ui::TableViewCell::setSelected(selected, animated);
  cellView_->setSelected(selected);
}

void BookmarkCell::setHighlighted(bool highlighted, bool animated) {
  ui::TableViewCell::setHighlighted(highlighted, animated);
  cellView_->setHighlighted(highlighted);
}

void BookmarkCell::setEditing(bool editing, bool animated) {
  isEditing_ = editing;
  ui::TableViewCell::setEditing(editing, animated);
  cellView_->setEditing(editing, animated);
}

void BookmarkCell::layoutSubviews() {
  ui::TableViewCell::layoutSubviews();
  isEditing_ = isEditing();
  cellView_->refreshSelectionState();
  cellView_->setEditing(isEditing_, false);
}
