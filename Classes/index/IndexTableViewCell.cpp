#include "Classes/index/IndexTableViewCell.h"

#include "Classes/index/SectionCellView.h"
#include "Classes/index/SurahCellView.h"
#include "platform/ui/ImageView.h"

IndexTableViewCell::IndexTableViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier, int row)
    : ui::TableViewCell(style, reuseIdentifier), row_(row) {
  float h = contentView()->bounds().height();
  if (reuseIdentifier == "SectionCell")
    cellView_ = std::make_shared<SectionCellView>(cg::Rect(0, 0, 320, h), row, 0);
  else
    cellView_ = std::make_shared<SurahCellView>(cg::Rect(0, 0, 320, h), row, true, 0, this);
  cellView_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  contentView()->addSubview(cellView_);

  auto selected = std::make_shared<ui::View>(cg::Rect(0, 0, 320, h));
  selected->setContentMode(ui::ContentMode::Right);
  selected->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  selected->setAutoresizesSubviews(true);
  auto art = std::make_shared<ui::ImageView>(cg::Rect(44, 0, bounds().width() - 44, 44));
  if (auto image = ui::Image::imageNamed("ipad-index-row-t.png")) art->setImage(image->stretchableImage(5, 0));
  art->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  art->setBackgroundColor(std::nullopt);
  selected->addSubview(art);
  setSelectedBackgroundView(selected);
  setOpaque(false);
}

void IndexTableViewCell::setDelegate(std::weak_ptr<IndexViewCellHost> host) {
  host_ = host;
  cellView_->setDelegate(std::move(host));
}

void IndexTableViewCell::setRow(int row, bool forceRefresh) {
  row_ = row;
  cellView_->setRow(row, forceRefresh);
}

void IndexTableViewCell::setIndexMeta(IndexRowMetaPtr meta) { cellView_->setIndexMeta(std::move(meta)); }

void IndexTableViewCell::updateSoundStatus() { cellView_->updateSoundStatus(); }

bool IndexTableViewCell::controllerKeepsMarks() const {
  auto host = host_.lock();
  return host && !host->ignoreOverridingRowSelection();
}

bool IndexTableViewCell::isKeptMarked() const {
  if (!controllerKeepsMarks()) return false;
  auto host = host_.lock();
  return host->isShowingSectionedView() ? host->currentlySelectedRow() == row_
                                        : host->iCurrentlyShowingSurah() == row_ + 1;
}

void IndexTableViewCell::setSelected(bool selected, bool animated) {
  if (!selected) selected = isKeptMarked();
  ui::TableViewCell::setSelected(selected, animated);
  cellView_->setSelected(selected);
}

void IndexTableViewCell::setHighlighted(bool highlighted, bool animated) {
  if (!highlighted) highlighted = isKeptMarked() || (controllerKeepsMarks() && isSelected());
  ui::TableViewCell::setHighlighted(highlighted, animated);
  cellView_->setHighlighted(highlighted);
}
