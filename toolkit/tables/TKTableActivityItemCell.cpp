#include "toolkit/tables/TKTableActivityItemCell.h"

#include "toolkit/tables/TKTableItem.h"

TKTableActivityItemCell::TKTableActivityItemCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : TKTableViewCell(style, reuseIdentifier) {
  activityLabel_ = std::make_shared<TKActivityLabel>(cg::Rect(), TKActivityLabelStyle::Gray);
  contentView()->addSubview(activityLabel_);
  setAccessoryType(ui::TableViewCellAccessoryType::None);
  setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}

void TKTableActivityItemCell::setObject(const TKTableObject& object) {
  if (object == item_) return;
  item_ = object;
  auto* item = object.as<TKTableActivityItem>();
  activityLabel_->setText(item ? item->text() : "");
}

void TKTableActivityItemCell::layoutSubviews() {
  TKTableViewCell::layoutSubviews();
  auto* table = dynamic_cast<ui::TableView*>(superview());
  bool grouped = table && table->style() == ui::TableViewStyle::Grouped;
  cg::Rect b = contentView()->bounds();
  activityLabel_->setFrame(grouped ? b.insetBy(-1, -1) : b);
}
