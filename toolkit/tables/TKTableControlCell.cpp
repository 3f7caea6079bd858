#include "toolkit/tables/TKTableControlCell.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Switch.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "toolkit/core/Font+TKCategory.h"
#include "toolkit/tables/TKTableItem.h"
#include "toolkit/tables/TKTextEditor.h"

namespace {

constexpr float kMargin = 8;
constexpr float kControlPadding = 8;
constexpr float kMinimumHeight = 44;
constexpr float kTextViewLines = 5;
constexpr float kFieldPadding = 12;

// The control an object stands for: the view itself, or a control item's control.
std::shared_ptr<ui::View> controlOf(const TKTableObject& object) {
  if (object.view()) return object.view();
  auto* item = object.as<TKTableControlItem>();
  return item ? item->control() : nullptr;
}

// Takes the view an object stands for: a bare view, or the view of an item of
// the class (the item is kept too); anything else leaves both empty. The old
// view leaves the row. False when the object is what the cell holds already.
template <class Item>
bool takeObject(const TKTableObject& object, TKTableObject& item, std::shared_ptr<ui::View>& view,
                const std::shared_ptr<ui::View>& (Item::*viewOf)() const) {
  if (object.view() && object.view() == view) return false;
  if (object.item() && object == item) return false;
  if (view) view->removeFromSuperview();
  view.reset();
  item = {};
  if (object.view()) {
    view = object.view();
  } else if (auto* held = object.as<Item>()) {
    item = object;
    view = (held->*viewOf)();
  }
  return true;
}

}  // namespace

bool TKTableControlCell::isControlLike(const ui::View* view) {
  return dynamic_cast<const ui::Control*>(view) || shouldSizeControlToFit(view);
}

bool TKTableControlCell::shouldSizeControlToFit(const ui::View* view) {
  return dynamic_cast<const ui::TextView*>(view) || dynamic_cast<const TKTextEditor*>(view);
}

bool TKTableControlCell::shouldRespectControlPadding(const ui::View* view) {
  return dynamic_cast<const ui::TextField*>(view) != nullptr;
}

bool TKTableControlCell::shouldConsiderControlIntrinsicSize(const ui::View* view) {
  return dynamic_cast<const ui::Switch*>(view) != nullptr;
}

float TKTableControlCell::rowHeightForObject(ui::TableView&, const TKTableObject& object) {
  std::shared_ptr<ui::View> control = controlOf(object);
  if (!control) return kMinimumHeight;
  float h = control->frame().height();
  if (h == 0) {
    if (auto* textView = dynamic_cast<ui::TextView*>(control.get())) {
      h = ui::TKLineHeight(textView->font()) * kTextViewLines;
    } else if (auto* editor = dynamic_cast<TKTextEditor*>(control.get())) {
      h = ui::TKLineHeight(editor->font()) * kTextViewLines;
    } else if (auto* field = dynamic_cast<ui::TextField*>(control.get())) {
      h = ui::TKLineHeight(field->font()) + kFieldPadding;
    } else {
      control->sizeToFit();
      h = control->frame().height();
    }
  }
  return std::max(h, kMinimumHeight);
}

TKTableControlCell::TKTableControlCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : TKTableViewCell(style, reuseIdentifier) {
  setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}

TKTableObject TKTableControlCell::object() const {
  if (item_) return item_;
  return control_ ? TKTableObject(control_) : TKTableObject();
}

void TKTableControlCell::setObject(const TKTableObject& object) {
  if (!takeObject(object, item_, control_, &TKTableControlItem::control)) return;
  auto* item = item_.as<TKTableControlItem>();
  textLabel()->setText(item ? item->caption() : "");
  if (control_) {
    control_->setBackgroundColor(cg::Color::clear());
    contentView()->addSubview(control_);
  }
}

void TKTableControlCell::layoutSubviews() {
  TKTableViewCell::layoutSubviews();
  if (!control_) return;
  cg::Rect c = contentView()->bounds();
  if (shouldSizeControlToFit(control_.get())) {
    control_->setFrame(c.insetBy(2, 4));
    return;
  }
  float w = c.width() - (shouldRespectControlPadding(control_.get()) ? kControlPadding : kMargin * 2);
  float x = kMargin;
  if (!textLabel()->text().empty()) {
    float lw = textLabel()->sizeThatFits(c.size).width + kMargin;
    w -= lw;
    x = lw + kMargin;
    textLabel()->setFrame(cg::Rect(kMargin, 0, lw - kMargin, c.height()));
  }
  if (control_->frame().height() == 0) control_->sizeToFit();
  if (shouldConsiderControlIntrinsicSize(control_.get())) {
    x += w - control_->frame().width();
    w = control_->frame().width();
  }
  float h = control_->frame().height();
  if (control_->superview() != contentView().get()) contentView()->addSubview(control_);
  control_->setFrame(cg::Rect(x, std::floor(c.height() / 2 - h / 2), w, h));
}

TKTableFlushViewCell::TKTableFlushViewCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : TKTableViewCell(style, reuseIdentifier) {
  setSelectionStyle(ui::TableViewCellSelectionStyle::None);
}

TKTableObject TKTableFlushViewCell::object() const {
  if (item_) return item_;
  return view_ ? TKTableObject(view_) : TKTableObject();
}

void TKTableFlushViewCell::setObject(const TKTableObject& object) {
  if (takeObject(object, item_, view_, &TKTableViewItem::view) && view_) contentView()->addSubview(view_);
}

void TKTableFlushViewCell::layoutSubviews() {
  TKTableViewCell::layoutSubviews();
  if (view_) view_->setFrame(contentView()->bounds());
}
