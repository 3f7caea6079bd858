#include "toolkit/tables/TKStyledTextTableCell.h"

#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/tables/TKTableItem.h"

namespace {

constexpr float kDisclosureIndicatorWidth = 23;

std::shared_ptr<TKStyledTextLabel> makeLabel(ui::View& content) {
  auto label = std::make_shared<TKStyledTextLabel>();
  label->setContentMode(ui::ContentMode::Left);
  content.addSubview(label);
  return label;
}

// The text gets the sheet's font when it has none.
void giveDefaultFont(TKStyledText& text) {
  if (!text.font()) text.setFont(TKStyleSheet::globalStyleSheet()->font());
}

}  // namespace

float TKStyledTextTableItemCell::rowHeightForObject(ui::TableView& tableView, const TKTableObject& object) {
  auto* item = object.as<TKTableStyledTextItem>();
  if (!item || !item->text()) return TKTableViewCell::rowHeightForObject(tableView, object);
  TKStyledText& text = *item->text();
  giveDefaultFont(text);
  cg::EdgeInsets padding = item->padding();
  float width = tkcells::tableWidth(tableView) - (tkcells::cellMargin(tableView) * 2 + padding.left + padding.right);
  if (!item->URL().empty()) width -= kDisclosureIndicatorWidth;
  text.setWidth(width);
  return text.height() + padding.top + padding.bottom;
}

TKStyledTextTableItemCell::TKStyledTextTableItemCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : TKTableLinkedItemCell(style, reuseIdentifier), label_(makeLabel(*contentView())) {}

void TKStyledTextTableItemCell::setObject(const TKTableObject& object) {
  if (object == this->object()) return;
  TKTableLinkedItemCell::setObject(object);
  auto* item = object.as<TKTableStyledTextItem>();
  label_->setText(item ? item->text() : nullptr);
  label_->setContentInset(item ? item->padding() : cg::EdgeInsets{0, 0, 0, 0});
  setNeedsLayout();
}

void TKStyledTextTableItemCell::layoutSubviews() {
  TKTableLinkedItemCell::layoutSubviews();
  auto* item = this->item().as<TKTableStyledTextItem>();
  cg::EdgeInsets margin = item ? item->margin() : cg::EdgeInsets{0, 0, 0, 0};
  label_->setFrame(contentView()->bounds().offsetBy(margin.left, margin.top));
}

void TKStyledTextTableItemCell::didMoveToSuperview() {
  TKTableLinkedItemCell::didMoveToSuperview();
  if (superview()) label_->setBackgroundColor(backgroundColor());
}

float TKStyledTextTableCell::rowHeightForObject(ui::TableView& tableView, const TKTableObject& object) {
  if (!object.styledText()) return TKTableViewCell::rowHeightForObject(tableView, object);
  TKStyledText& text = *object.styledText();
  giveDefaultFont(text);
  text.setWidth(tkcells::tableWidth(tableView) - tkcells::cellMargin(tableView) * 2);
  return text.height();
}

TKStyledTextTableCell::TKStyledTextTableCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : TKTableViewCell(style, reuseIdentifier), label_(makeLabel(*contentView())) {
  setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}

TKTableObject TKStyledTextTableCell::object() const {
  return label_->text() ? TKTableObject(label_->text()) : TKTableObject();
}

void TKStyledTextTableCell::setObject(const TKTableObject& object) {
  if (object.styledText() == label_->text()) return;
  label_->setText(object.styledText());
}

void TKStyledTextTableCell::layoutSubviews() {
  TKTableViewCell::layoutSubviews();
  label_->setFrame(contentView()->bounds());
}

void TKStyledTextTableCell::didMoveToSuperview() {
  TKTableViewCell::didMoveToSuperview();
  if (superview()) label_->setBackgroundColor(backgroundColor());
}
