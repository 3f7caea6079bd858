#include "platform/ui/NavigationBar.h"

#include <algorithm>

#include "platform/graphics/Context.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/TextDrawing.h"

namespace ui {

namespace {
constexpr float kMargin = 5;
constexpr float kTitleGap = 8;
Font titleFont() { return Font::boldSystemFontOfSize(20); }
}  // namespace

NavigationBar::NavigationBar(cg::Rect frame) : View(frame), tint_(bar::defaultTint()) {
  setAutoresizingMask(ViewAutoresizingFlexibleWidth);
}

NavigationBar::~NavigationBar() { watch(false); }

void NavigationBar::setBarStyle(int style) {
  barStyle_ = style;
  if (!customTint_) setTintColor(std::nullopt);
}

void NavigationBar::setTintColor(std::optional<cg::Color> tint) {
  customTint_ = tint.has_value();
  tint_ = tint.value_or(barStyle_ == 1 ? cg::Color::fromRGB255(24, 24, 24) : bar::defaultTint());
  for (auto* v : {backView_.get(), leftView_.get(), rightView_.get()})
    if (v) v->setTint(tint_);
  setNeedsDisplay();
}

void NavigationBar::setItems(std::vector<std::shared_ptr<NavigationItem>> items, bool) {
  watch(false);
  items_ = std::move(items);
  rebuild();
}

void NavigationBar::pushNavigationItem(std::shared_ptr<NavigationItem> item, bool) {
  if (!item) return;
  watch(false);
  items_.push_back(std::move(item));
  rebuild();
}

std::shared_ptr<NavigationItem> NavigationBar::popNavigationItemAnimated(bool) {
  if (items_.empty()) return nullptr;
  watch(false);
  auto top = items_.back();
  items_.pop_back();
  rebuild();
  return top;
}

// The bar listens to the top item and its buttons, and to nothing else.
void NavigationBar::watch(bool on) {
  for (auto& item : watchedButtons_) item->setChangeHandler(nullptr);
  watchedButtons_.clear();
  if (watchedItem_) watchedItem_->setChangeHandler(nullptr);
  watchedItem_.reset();
  if (!on || items_.empty()) return;
  std::weak_ptr<View> weak = weak_from_this();
  watchedItem_ = items_.back();
  watchedItem_->setChangeHandler([weak] {
    if (auto self = std::static_pointer_cast<NavigationBar>(weak.lock())) self->rebuild();
  });
  for (auto& item : {watchedItem_->leftBarButtonItem(), watchedItem_->rightBarButtonItem()}) {
    if (!item) continue;
    item->setChangeHandler([weak] {
      if (auto self = weak.lock()) {
        self->setNeedsLayout();
        self->layoutIfNeeded();
        self->setNeedsDisplay();
        for (auto& sub : self->subviews()) sub->setNeedsDisplay();
      }
    });
    watchedButtons_.push_back(item);
  }
}

std::shared_ptr<BarButtonView> NavigationBar::addItemView(std::shared_ptr<BarButtonItem> item,
                                                          BarButtonView::Kind kind) {
  auto view = std::make_shared<BarButtonView>(std::move(item), tint_, kind);
  view->sizeToFit();
  addSubview(view);
  return view;
}

void NavigationBar::rebuild() {
  watch(false);
  for (View* v : std::initializer_list<View*>{backView_.get(), leftView_.get(), rightView_.get(), titleView_.get()})
    if (v) v->removeFromSuperview();
  backView_.reset();
  leftView_.reset();
  rightView_.reset();
  titleView_.reset();
  NavigationItem* top = topItem();
  if (top) {
    if (top->leftBarButtonItem()) {
      leftView_ = addItemView(top->leftBarButtonItem(), BarButtonView::Kind::Item);
    } else if (NavigationItem* below = backItem(); below && !top->hidesBackButton()) {
      auto back = below->backBarButtonItem();
      if (!back) back = std::make_shared<BarButtonItem>(below->title(), BarButtonItemStyle::Bordered);
      std::weak_ptr<View> weak = weak_from_this();
      back->setAction([weak](BarButtonItem&) {
        auto self = std::static_pointer_cast<NavigationBar>(weak.lock());
        if (!self) return;
        if (self->onBack_) self->onBack_();
        else self->popNavigationItemAnimated(true);
      });
      backView_ = addItemView(back, BarButtonView::Kind::Back);
    }
    if (top->rightBarButtonItem())
      rightView_ = addItemView(top->rightBarButtonItem(), BarButtonView::Kind::Item);
    if (top->titleView()) {
      titleView_ = top->titleView();
      addSubview(titleView_);
    }
    watch(true);
  }
  setNeedsLayout();
  layoutIfNeeded();
  setNeedsDisplay();
}

void NavigationBar::layoutSubviews() {
  cg::Rect b = bounds();
  auto place = [&](BarButtonView* v, bool right) {
    if (!v) return;
    v->sizeToFit();
    cg::Size s = v->frame().size;
    // A title too long for the bar gives way to the other side.
    s.width = std::min(s.width, b.width() / 2 - kMargin - kTitleGap);
    float x = right ? b.maxX() - kMargin - s.width : kMargin;
    v->setFrame(cg::Rect(x, std::floor(b.midY() - s.height / 2), s.width, s.height));
  };
  place(backView_ ? backView_.get() : leftView_.get(), false);
  place(rightView_.get(), true);
  if (titleView_) {
    cg::Rect t = titleRect();
    cg::Size s = titleView_->frame().size;
    s.width = std::min(s.width, t.width());
    s.height = std::min(s.height, b.height());
    titleView_->setFrame(cg::Rect(std::floor(t.midX() - s.width / 2), std::floor(b.midY() - s.height / 2),
                                  s.width, s.height));
  }
}

// The room between the side buttons, centred on the bar when it can be.
cg::Rect NavigationBar::titleRect() const {
  cg::Rect b = bounds();
  View* left = backView_ ? backView_.get() : leftView_.get();
  float l = left ? left->frame().maxX() + kTitleGap : kMargin;
  float r = rightView_ ? rightView_->frame().minX() - kTitleGap : b.maxX() - kMargin;
  float half = std::min(b.midX() - l, r - b.midX());
  if (half > 0) return cg::Rect(b.midX() - half, b.minY(), 2 * half, b.height());
  return cg::Rect(l, b.minY(), std::max(0.0f, r - l), b.height());
}

void NavigationBar::drawRect(cg::Context& ctx, cg::Rect) {
  bar::drawBackground(ctx, bounds(), tint_, true);
  NavigationItem* top = topItem();
  if (!top || top->titleView() || top->title().empty()) return;
  Font font = titleFont();
  cg::Rect t = titleRect();
  float w = sizeWithFont(top->title(), font).width;
  // A title that does not fit between the buttons uses all the room there is.
  if (w > t.width()) {
    View* left = backView_ ? backView_.get() : leftView_.get();
    float l = left ? left->frame().maxX() + kTitleGap : kMargin;
    float r = rightView_ ? rightView_->frame().minX() - kTitleGap : bounds().maxX() - kMargin;
    t = cg::Rect(l, t.minY(), std::max(0.0f, r - l), t.height());
  }
  float h = font.lineHeight();
  cg::Rect text(t.minX(), std::floor(t.midY() - h / 2), t.width(), h);
  ctx.save();
  ctx.setShadow({0, -1}, 0, cg::Color::black().withAlpha(0.4f));
  drawTextInRect(ctx, top->title(), text, font, cg::Color::white(), TextAlignment::Center,
                 LineBreakMode::TruncateTail);
  ctx.restore();
}

}  // namespace ui
