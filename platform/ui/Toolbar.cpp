#include "platform/ui/Toolbar.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"

namespace ui {

namespace {
constexpr float kEdge = 12;
constexpr float kGap = 10;
}  // namespace

Toolbar::Toolbar(cg::Rect frame) : View(frame), tint_(bar::defaultTint()) {
  setAutoresizingMask(ViewAutoresizingFlexibleWidth);
}

Toolbar::~Toolbar() { unwatch(); }

void Toolbar::setTintColor(std::optional<cg::Color> tint) {
  tint_ = tint.value_or(bar::defaultTint());
  for (auto& v : views_)
    if (auto* b = dynamic_cast<BarButtonView*>(v.get())) b->setTint(tint_);
  setNeedsDisplay();
}

void Toolbar::unwatch() {
  for (auto& item : items_) item->setChangeHandler(nullptr);
}

void Toolbar::setItems(std::vector<std::shared_ptr<BarButtonItem>> items, bool) {
  unwatch();
  for (auto& v : views_) v->removeFromSuperview();
  views_.clear();
  items_.clear();
  std::weak_ptr<View> weak = weak_from_this();
  for (auto& item : items) {
    if (!item) continue;
    std::shared_ptr<View> view = item->customView();
    if (!view) view = std::make_shared<BarButtonView>(item, tint_);
    addSubview(view);
    item->setChangeHandler([weak] {
      if (auto self = weak.lock()) {
        self->setNeedsLayout();
        self->layoutIfNeeded();
        for (auto& sub : self->subviews()) sub->setNeedsDisplay();
      }
    });
    items_.push_back(item);
    views_.push_back(view);
  }
  setNeedsLayout();
  layoutIfNeeded();
}

View* Toolbar::viewForItem(const BarButtonItem* item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item && !item->isSpace()) return views_[i].get();
  return nullptr;
}

void Toolbar::layoutSubviews() {
  cg::Rect b = bounds();
  std::vector<float> widths(items_.size());
  float used = 0;
  int flexible = 0;
  for (size_t i = 0; i < items_.size(); ++i) {
    auto& item = *items_[i];
    if (item.systemItem() == BarButtonSystemItem::FlexibleSpace) {
      ++flexible;
      continue;
    }
    widths[i] = item.customView() ? views_[i]->frame().width() : views_[i]->sizeThatFits(b.size).width;
    used += widths[i];
  }
  // Gaps stand between neighbouring items that are not spaces.
  int gaps = 0;
  for (size_t i = 1; i < items_.size(); ++i)
    if (!items_[i - 1]->isSpace() && !items_[i]->isSpace()) ++gaps;
  float room = b.width() - 2 * kEdge - used - gaps * kGap;
  float flex = flexible > 0 ? std::max(0.0f, room / flexible) : 0;
  float x = b.minX() + kEdge;
  for (size_t i = 0; i < items_.size(); ++i) {
    auto& item = *items_[i];
    if (i > 0 && !items_[i - 1]->isSpace() && !item.isSpace()) x += kGap;
    float w = item.systemItem() == BarButtonSystemItem::FlexibleSpace ? flex : widths[i];
    float h = std::min(item.customView() ? views_[i]->frame().height() : 30.0f, b.height());
    views_[i]->setFrame(cg::Rect(std::round(x), std::floor(b.midY() - h / 2), w, h));
    x += w;
  }
}

void Toolbar::drawRect(cg::Context& ctx, cg::Rect) { bar::drawBackground(ctx, bounds(), tint_, false); }

}  // namespace ui
