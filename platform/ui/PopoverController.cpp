#include "platform/ui/PopoverController.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {

constexpr double kFadeDuration = 0.2;
constexpr double kResizeDuration = 0.25;
constexpr float kCorner = 10;

// Never destroyed: a popover released during the process's exit still finds it.
std::vector<PopoverController*>& livePopovers() {
  static auto* list = new std::vector<PopoverController*>;
  return *list;
}

// The part of the window a popover may cover: below the status bar, off the edges.
cg::Rect usableArea(const Window& w) {
  float top = Screen::main().statusBarHeight();
  return cg::Rect(0, top, w.bounds().width(), w.bounds().height() - top)
      .insetBy(PopoverController::kScreenMargin, PopoverController::kScreenMargin);
}

}  // namespace

// --- views -----------------------------------------------------------------------

// Covers the window under the panel: a touch on it is a touch outside, unless
// it lands on a pass-through view, which then gets it.
class PopoverController::OutsideView : public View {
 public:
  OutsideView(cg::Rect frame, std::weak_ptr<PopoverController> owner) : View(frame), owner_(std::move(owner)) {
    setBackgroundColor(std::nullopt);
    setOpaque(false);
    setAutoresizingMask(ViewAutoresizingFlexibleWidth | ViewAutoresizingFlexibleHeight);
  }
  View* hitTest(cg::Point p) override {
    View* hit = View::hitTest(p);
    if (hit != this) return hit;
    auto owner = owner_.lock();
    if (owner && owner->passesThrough(convertPointToView(p, nullptr))) return nullptr;
    return this;
  }
  void touchesBegan(const TouchSet&, const Event&) override {
    if (auto owner = owner_.lock()) owner->touchedOutside();
  }
  void touchesMoved(const TouchSet&, const Event&) override {}
  void touchesEnded(const TouchSet&, const Event&) override {}
  void touchesCancelled(const TouchSet&, const Event&) override {}

 private:
  std::weak_ptr<PopoverController> owner_;
};

// The dark frame with its arrow; the content sits inside it.
class PopoverController::FrameView : public View {
 public:
  FrameView() {
    setBackgroundColor(std::nullopt);
    setOpaque(false);
    content_ = std::make_shared<View>();
    content_->setClipsToBounds(true);
    content_->setBackgroundColor(cg::Color::white());
    addSubview(content_);
  }
  View* contentArea() const { return content_.get(); }

  // Takes the placement (window coordinates) and lays the content inside.
  void apply(const PopoverPlacement& p) {
    arrow_ = p.arrowDirection;
    tip_ = {p.arrowTip.x - p.frame.x(), p.arrowTip.y - p.frame.y()};
    setFrame(p.frame);
    content_->setFrame(body().insetBy(kBorder, kBorder));
    setNeedsDisplay();
  }

  // Touches on the frame stay with the popover.
  void touchesBegan(const TouchSet&, const Event&) override {}
  void touchesMoved(const TouchSet&, const Event&) override {}
  void touchesEnded(const TouchSet&, const Event&) override {}
  void touchesCancelled(const TouchSet&, const Event&) override {}

  void drawRect(cg::Context& ctx, cg::Rect) override {
    cg::Rect b = body().insetBy(1, 1);
    ctx.save();
    ctx.setShadow({0, 4}, 12, cg::Color::black().withAlpha(0.45f));
    addOutline(ctx, b);
    ctx.setFillColor(cg::Color::fromRGB255(22, 30, 46, 0.96f));
    ctx.fillPath();
    ctx.restore();
    ctx.save();
    addOutline(ctx, b);
    ctx.clip();
    ctx.drawLinearGradient({cg::Color::fromRGB255(96, 108, 128), cg::Color::fromRGB255(34, 44, 62),
                            cg::Color::fromRGB255(22, 30, 46)},
                           {0, 0.1f, 0.2f}, {0, b.minY()}, {0, b.minY() + 140});
    ctx.restore();
    ctx.save();
    addOutline(ctx, b);
    ctx.setStrokeColor(cg::Color::fromRGB255(8, 10, 16));
    ctx.setLineWidth(1);
    ctx.strokePath();
    ctx.restore();
  }

 private:
  cg::Rect body() const {
    cg::Rect b = bounds();
    switch (arrow_) {
      case PopoverArrowDirectionUp: return cg::Rect(b.x(), b.y() + kArrowLength, b.width(), b.height() - kArrowLength);
      case PopoverArrowDirectionDown: return cg::Rect(b.x(), b.y(), b.width(), b.height() - kArrowLength);
      case PopoverArrowDirectionLeft: return cg::Rect(b.x() + kArrowLength, b.y(), b.width() - kArrowLength, b.height());
      case PopoverArrowDirectionRight: return cg::Rect(b.x(), b.y(), b.width() - kArrowLength, b.height());
      default: return b;
    }
  }

  // The rounded body and the arrow as one outline.
  void addOutline(cg::Context& ctx, cg::Rect b) {
    ctx.beginPath();
    ctx.addRoundedRect(b, kCorner);
    cg::Point t = tip_;
    float h = kArrowHalfWidth;
    switch (arrow_) {
      case PopoverArrowDirectionUp:
        ctx.moveTo({t.x - h, b.minY() + 1}); ctx.lineTo(t); ctx.lineTo({t.x + h, b.minY() + 1}); break;
      case PopoverArrowDirectionDown:
        ctx.moveTo({t.x - h, b.maxY() - 1}); ctx.lineTo(t); ctx.lineTo({t.x + h, b.maxY() - 1}); break;
      case PopoverArrowDirectionLeft:
        ctx.moveTo({b.minX() + 1, t.y - h}); ctx.lineTo(t); ctx.lineTo({b.minX() + 1, t.y + h}); break;
      case PopoverArrowDirectionRight:
        ctx.moveTo({b.maxX() - 1, t.y - h}); ctx.lineTo(t); ctx.lineTo({b.maxX() - 1, t.y + h}); break;
      default: return;
    }
    ctx.closePath();
  }

  std::shared_ptr<View> content_;
  unsigned arrow_ = PopoverArrowDirectionUp;
  cg::Point tip_;
};

// --- placement ----------------------------------------------------------------------

PopoverPlacement PopoverController::place(cg::Rect anchor, cg::Size content, unsigned directions,
                                          cg::Rect area) {
  cg::Size body{content.width + 2 * kBorder, content.height + 2 * kBorder};
  struct Option {
    unsigned direction;
    float room;  // along the arrow's axis
    float cross;  // across it
  };
  std::vector<Option> options;
  auto consider = [&](unsigned d, float room, float cross) {
    if (directions & d) options.push_back({d, room - kArrowLength, cross});
  };
  // The tablet's preference: below the rectangle, above it, then beside it.
  consider(PopoverArrowDirectionUp, area.maxY() - anchor.maxY(), area.width());
  consider(PopoverArrowDirectionDown, anchor.minY() - area.minY(), area.width());
  consider(PopoverArrowDirectionLeft, area.maxX() - anchor.maxX(), area.height());
  consider(PopoverArrowDirectionRight, anchor.minX() - area.minX(), area.height());
  if (options.empty()) consider(PopoverArrowDirectionUp, area.maxY() - anchor.maxY(), area.width());
  if (options.empty()) options.push_back({PopoverArrowDirectionUp, area.maxY() - anchor.maxY() - kArrowLength, area.width()});

  auto vertical = [](unsigned d) { return d == PopoverArrowDirectionUp || d == PopoverArrowDirectionDown; };
  auto fits = [&](const Option& o) {
    return vertical(o.direction) ? o.room >= body.height && o.cross >= body.width
                                 : o.room >= body.width && o.cross >= body.height;
  };
  auto shownArea = [&](const Option& o) {
    float along = std::min(std::max(0.0f, o.room), vertical(o.direction) ? body.height : body.width);
    float across = std::min(o.cross, vertical(o.direction) ? body.width : body.height);
    return along * across;
  };
  const Option* best = nullptr;
  for (auto& o : options)
    if (fits(o)) {
      best = &o;
      break;
    }
  if (!best)
    for (auto& o : options)
      if (!best || shownArea(o) > shownArea(*best)) best = &o;

  PopoverPlacement p;
  p.arrowDirection = best->direction;
  float along = std::max(0.0f, best->room);
  auto centred = [](float mid, float size, float lo, float hi) {
    return std::clamp(mid - size / 2, lo, std::max(lo, hi - size));
  };
  auto tipAlong = [&](float mid, float lo, float size) {
    float edge = kCorner + kArrowHalfWidth;
    return std::clamp(mid, lo + edge, std::max(lo + edge, lo + size - edge));
  };
  if (vertical(best->direction)) {
    float w = std::min(body.width, area.width());
    float h = std::min(body.height, along);
    float x = centred(anchor.midX(), w, area.minX(), area.maxX());
    float tipX = tipAlong(anchor.midX(), x, w);
    if (best->direction == PopoverArrowDirectionUp) {
      p.frame = cg::Rect(x, anchor.maxY(), w, h + kArrowLength);
      p.arrowTip = {tipX, anchor.maxY()};
    } else {
      p.frame = cg::Rect(x, anchor.minY() - kArrowLength - h, w, h + kArrowLength);
      p.arrowTip = {tipX, anchor.minY()};
    }
  } else {
    float w = std::min(body.width, along);
    float h = std::min(body.height, area.height());
    float y = centred(anchor.midY(), h, area.minY(), area.maxY());
    float tipY = tipAlong(anchor.midY(), y, h);
    if (best->direction == PopoverArrowDirectionLeft) {
      p.frame = cg::Rect(anchor.maxX(), y, w + kArrowLength, h);
      p.arrowTip = {anchor.maxX(), tipY};
    } else {
      p.frame = cg::Rect(anchor.minX() - kArrowLength - w, y, w + kArrowLength, h);
      p.arrowTip = {anchor.minX(), tipY};
    }
  }
  p.frame = cg::Rect(std::round(p.frame.x()), std::round(p.frame.y()), std::round(p.frame.width()),
                     std::round(p.frame.height()));
  return p;
}

// --- the controller ------------------------------------------------------------------

PopoverController::PopoverController(std::shared_ptr<ViewController> content) : content_(std::move(content)) {
  livePopovers().push_back(this);
}

PopoverController::~PopoverController() {
  auto& list = livePopovers();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  if (outside_) outside_->removeFromSuperview();
}

static float barExtra(const ViewController* c) {
  auto* nav = dynamic_cast<const NavigationController*>(c);
  return nav && !nav->isNavigationBarHidden() ? NavigationBar::kHeight : 0;
}

cg::Size PopoverController::popoverContentSize() const {
  if (contentSize_.width > 0 && contentSize_.height > 0) return contentSize_;
  return content_ ? content_->contentSizeForViewInPopover() : cg::Size{320, 1100};
}

// A navigation stack's bar stands on top of the size set for the content.
cg::Size PopoverController::shownContentSize() const {
  if (contentSize_.width > 0 && contentSize_.height > 0) {
    cg::Size s = contentSize_;
    s.height += barExtra(content_.get());
    return s;
  }
  return popoverContentSize();
}

void PopoverController::setPopoverContentSize(cg::Size size, bool animated) {
  contentSize_ = size;
  if (visible_) layoutPanel(animated);
}

void PopoverController::setContentViewController(std::shared_ptr<ViewController> content, bool animated) {
  if (content == content_) return;
  if (!visible_) {
    content_ = std::move(content);
    return;
  }
  auto old = content_;
  content_ = std::move(content);
  if (content_) content_->view();
  if (old) old->viewWillDisappear(false);
  if (content_) content_->viewWillAppear(false);
  if (old && old->isViewLoaded()) old->view()->removeFromSuperview();
  installContent();
  if (old) old->viewDidDisappear(false);
  if (content_) content_->viewDidAppear(false);
  layoutPanel(animated);
}

cg::Rect PopoverController::anchorInWindow() const {
  auto view = anchorView_.lock();
  if (!view) return anchorRect_;
  return view->convertRectToView(anchorRect_, nullptr);
}

PopoverPlacement PopoverController::placementNow() const {
  Window* w = outside_ ? outside_->window() : Window::keyWindow();
  cg::Rect area = w ? usableArea(*w) : Screen::main().applicationFrame();
  return place(anchorInWindow(), shownContentSize(), directions_, area);
}

void PopoverController::installContent() {
  if (!frame_ || !content_) return;
  auto v = content_->view();
  v->setFrame(frame_->contentArea()->bounds());
  v->setAutoresizingMask(ViewAutoresizingFlexibleWidth | ViewAutoresizingFlexibleHeight);
  frame_->contentArea()->addSubview(v);
}

void PopoverController::layoutPanel(bool animated) {
  if (!frame_) return;
  placement_ = placementNow();
  animated = animated && View::areAnimationsEnabled();
  if (animated) {
    View::beginAnimations("PopoverResize");
    View::setAnimationDuration(kResizeDuration);
  }
  frame_->apply(placement_);
  if (animated) View::commitAnimations();
}

void PopoverController::presentPopoverFromRect(cg::Rect rect, View* inView, unsigned arrowDirections,
                                               bool animated) {
  anchorRect_ = rect;
  anchorView_ = inView ? inView->weak_from_this() : std::weak_ptr<View>();
  directions_ = arrowDirections ? arrowDirections : PopoverArrowDirectionAny;
  Window* window = inView ? inView->window() : nullptr;
  if (!window) window = Window::keyWindow();
  if (!window || !content_) return;
  if (visible_ && outside_) {
    // Presenting again moves the popover to the new rectangle.
    frame_->setAlpha(1);
    hiddenForRotation_ = false;
    layoutPanel(false);
    return;
  }
  visible_ = true;
  hiddenForRotation_ = false;
  outside_ = std::make_shared<OutsideView>(window->bounds(), weak_from_this());
  frame_ = std::make_shared<FrameView>();
  outside_->addSubview(frame_);
  placement_ = placementNow();
  frame_->apply(placement_);
  animated = animated && View::areAnimationsEnabled();
  content_->view();  // loaded before it hears that it will appear
  content_->viewWillAppear(animated);
  installContent();
  window->addSubview(outside_);
  if (!animated) {
    content_->viewDidAppear(false);
    return;
  }
  frame_->setAlpha(0);
  View::beginAnimations("PopoverPresent");
  View::setAnimationDuration(kFadeDuration);
  auto content = content_;
  View::setAnimationDidStopSelector([content](const std::string&, bool, void*) { content->viewDidAppear(true); });
  frame_->setAlpha(1);
  View::commitAnimations();
}

void PopoverController::dismissPopoverAnimated(bool animated) { close(animated, false); }

void PopoverController::touchedOutside() {
  if (!visible_) return;
  auto self = shared_from_this();  // the delegate may drop its hold
  auto delegate = delegate_.lock();
  if (delegate && !delegate->popoverControllerShouldDismissPopover(*this)) return;
  close(true, true);  // unless the delegate closed it itself
}

// Fades the panel out and takes it away; the delegate hears of it only when
// a tap outside closed it.
void PopoverController::close(bool animated, bool tellDelegate) {
  if (!visible_) return;
  visible_ = false;
  hiddenForRotation_ = false;
  auto outside = std::move(outside_);
  auto frame = std::move(frame_);
  auto content = content_;
  animated = animated && View::areAnimationsEnabled();
  if (content) content->viewWillDisappear(animated);
  if (!animated) {
    finishDismissal(outside, content, false, tellDelegate);
    return;
  }
  // Touches go through the closing popover to what lies beneath.
  outside->setUserInteractionEnabled(false);
  View::beginAnimations("PopoverDismiss");
  View::setAnimationDuration(kFadeDuration);
  std::weak_ptr<PopoverController> weak = weak_from_this();
  View::setAnimationDidStopSelector([weak, outside, content, tellDelegate](const std::string&, bool, void*) {
    if (auto me = weak.lock()) {
      me->finishDismissal(outside, content, true, tellDelegate);
    } else {
      outside->removeFromSuperview();
      if (content) content->viewDidDisappear(true);
    }
  });
  frame->setAlpha(0);
  View::commitAnimations();
}

void PopoverController::finishDismissal(const std::shared_ptr<View>& outside,
                                        const std::shared_ptr<ViewController>& content, bool animated,
                                        bool tellDelegate) {
  if (outside) outside->removeFromSuperview();
  if (content) content->viewDidDisappear(animated);
  if (tellDelegate)
    if (auto d = delegate_.lock()) d->popoverControllerDidDismissPopover(*this);
}

bool PopoverController::passesThrough(cg::Point p) const {
  for (auto& weak : passthrough_) {
    auto v = weak.lock();
    if (v && v->window() && v->pointInside(v->convertPointFromView(p, nullptr))) return true;
  }
  return false;
}

void PopoverController::hideVisiblePopoversForRotation() {
  for (PopoverController* p : livePopovers())
    if (p->visible_ && p->frame_) {
      p->hiddenForRotation_ = true;
      p->frame_->setAlpha(0);
    }
}

void PopoverController::showPopoversAfterRotation() {
  auto list = livePopovers();
  for (PopoverController* p : list) {
    if (!p->hiddenForRotation_) continue;
    p->hiddenForRotation_ = false;
    if (!p->visible_ || !p->frame_) continue;
    p->layoutPanel(false);
    p->frame_->setAlpha(1);
  }
}

}  // namespace ui
