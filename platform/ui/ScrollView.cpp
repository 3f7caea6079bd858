#include "platform/ui/ScrollView.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <tuple>

#include "platform/foundation/Clock.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Animator.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/Screen.h"

namespace ui {

namespace {

constexpr double kFrameInterval = 1.0 / 60;
// The tablet's normal deceleration: the velocity keeps this share per millisecond.
constexpr double kDecelerationRate = 0.998;
constexpr float kRestingVelocity = 5;     // points per second: slower is at rest
constexpr float kFlickVelocity = 10;      // slower releases do not carry on
constexpr float kPageFlickVelocity = 300; // faster releases turn the page
constexpr double kSpringStiffness = 15;   // critically damped bounce back, per second
constexpr float kDragThreshold = 10;
constexpr float kWheelStep = 40;          // points per wheel step
constexpr double kWheelDuration = 0.15;
constexpr double kAnimatedScrollDuration = 0.3;
constexpr double kVelocityWindow = 0.1;   // seconds of movement that make the release velocity
constexpr double kIndicatorLinger = 0.4;
constexpr float kIndicatorThickness = 7;
constexpr float kIndicatorMinLength = 36;

float clampTo(float v, float lo, float hi) { return std::max(lo, std::min(v, hi)); }

// The thin rounded bar that shows where the visible part lies.
class ScrollIndicator : public View {
 public:
  using View::View;
  void drawRect(cg::Context& context, cg::Rect) override {
    cg::Rect b = bounds().insetBy(1, 1);
    context.setFillColor(cg::Color(0, 0, 0, 0.45f));
    context.beginPath();
    context.addRoundedRect(b, std::min(b.width(), b.height()) / 2);
    context.fillPath();
  }

 protected:
  float drawingReach() const override { return 0; }
};

}  // namespace

// --- the drag ---------------------------------------------------------------------

// Watches the touches of the scroll view and of everything inside it. It
// begins once a finger has moved far enough along an axis the view scrolls,
// which cancels the touch for the view under the finger (a cell, a button),
// and reports the release velocity from the last tenth of a second.
class ScrollPanRecognizer : public GestureRecognizer {
 public:
  ScrollPanRecognizer() { setCancelsTouchesInView(true); }
  ~ScrollPanRecognizer() override {
    if (active() == this) active() = nullptr;
  }

  void touchesBegan(const TouchSet& touches, const Event& event) override {
    if (touches.empty() || tracking_) return;
    GestureRecognizer::touchesBegan(touches, event);
    tracking_ = true;
    touch_ = touches.front().get();
    samples_.clear();
    addSample(event.timestamp, touches.front()->locationInWindow());
    if (auto* sv = scrollView()) sv->touchDown();
  }

  void touchesMoved(const TouchSet& touches, const Event& event) override {
    if (!isTracked(touches)) return;
    GestureRecognizer::touchesMoved(touches, event);
    cg::Point p = touches.front()->locationInWindow();
    addSample(event.timestamp, p);
    ScrollView* sv = scrollView();
    if (!sv) return;
    if (state() == GestureRecognizerState::Possible) {
      if (shouldBegin(*sv, p)) {
        panStart_ = p;
        active() = this;
        sv->beginDrag();
        setState(GestureRecognizerState::Began);
      }
    } else if (isActive()) {
      sv->dragBy({p.x - panStart_.x, p.y - panStart_.y});
      setState(GestureRecognizerState::Changed);
    }
  }

  void touchesEnded(const TouchSet& touches, const Event& event) override {
    if (!isTracked(touches)) return;
    GestureRecognizer::touchesEnded(touches, event);
    cg::Point p = touches.front()->locationInWindow();
    addSample(event.timestamp, p);
    tracking_ = false;
    ScrollView* sv = scrollView();
    if (isActive()) {
      if (sv) {
        sv->dragBy({p.x - panStart_.x, p.y - panStart_.y});
        cg::Point v = velocity();
        sv->endDrag({-v.x, -v.y}, false);
      }
      setState(GestureRecognizerState::Ended);
    } else {
      if (state() == GestureRecognizerState::Possible) setState(GestureRecognizerState::Failed);
      if (sv) sv->touchUpWithoutDrag();
    }
  }

  void touchesCancelled(const TouchSet& touches, const Event& event) override {
    if (!isTracked(touches)) return;
    bool wasActive = isActive();
    tracking_ = false;
    GestureRecognizer::touchesCancelled(touches, event);
    if (ScrollView* sv = scrollView()) {
      if (wasActive) sv->endDrag({0, 0}, true);
      else sv->touchUpWithoutDrag();
    }
  }

  void reset() override {
    if (active() == this) active() = nullptr;
    tracking_ = false;
    GestureRecognizer::reset();
  }

 private:
  // The pan that has begun now; an outer scroll view leaves the touch to it.
  static ScrollPanRecognizer*& active() {
    static ScrollPanRecognizer* pan = nullptr;
    return pan;
  }

  ScrollView* scrollView() const { return static_cast<ScrollView*>(view()); }
  // Only the finger that went down first moves the content.
  bool isTracked(const TouchSet& touches) const {
    return tracking_ && !touches.empty() && touches.front().get() == touch_;
  }

  bool shouldBegin(ScrollView& sv, cg::Point p) {
    float dx = p.x - startLocation().x, dy = p.y - startLocation().y;
    if (std::hypot(dx, dy) <= kDragThreshold) return false;
    bool vertical = std::fabs(dy) >= std::fabs(dx);
    bool can = sv.isScrollEnabled() && (active() == nullptr || active() == this) &&
               (vertical ? sv.canScrollVertically() : sv.canScrollHorizontally());
    if (!can) setState(GestureRecognizerState::Failed);
    return can;
  }

  void addSample(double t, cg::Point p) {
    samples_.push_back({t, p});
    while (samples_.size() > 2 && samples_.front().t < t - kVelocityWindow) samples_.pop_front();
  }

  // Finger velocity in points per second over the last tenth of a second.
  cg::Point velocity() const {
    if (samples_.size() < 2) return {0, 0};
    const Sample& last = samples_.back();
    const Sample* first = nullptr;
    for (const auto& s : samples_)
      if (s.t >= last.t - kVelocityWindow - 1e-9) {
        first = &s;
        break;
      }
    if (!first || last.t - first->t < 1e-6) {
      // Only one sample inside the window: the finger rested before lifting.
      return {0, 0};
    }
    double dt = std::max(last.t - first->t, kFrameInterval);
    return {float((last.p.x - first->p.x) / dt), float((last.p.y - first->p.y) / dt)};
  }

  struct Sample {
    double t;
    cg::Point p;
  };
  std::deque<Sample> samples_;
  cg::Point panStart_;
  bool tracking_ = false;
  const Touch* touch_ = nullptr;  // compared only, never followed
};

// --- the scroll view ---------------------------------------------------------------

ScrollView::ScrollView() { init(); }
ScrollView::ScrollView(cg::Rect frame) : View(frame) { init(); }

ScrollView::~ScrollView() {
  timer_.invalidate();
  ns::RunLoop::main().cancelPreviousPerformRequests(this);
}

void ScrollView::init() {
  setClipsToBounds(true);
  addGestureRecognizer(std::make_shared<ScrollPanRecognizer>());
  verticalIndicator_ = std::make_shared<ScrollIndicator>(cg::Rect());
  horizontalIndicator_ = std::make_shared<ScrollIndicator>(cg::Rect());
  for (auto* ind : {&verticalIndicator_, &horizontalIndicator_}) {
    (*ind)->setUserInteractionEnabled(false);
    (*ind)->setOpaque(false);
    (*ind)->setHidden(true);
  }
}

void ScrollView::setContentSize(cg::Size size) {
  contentSize_ = size;
  updateIndicators();
}

void ScrollView::setContentInset(cg::EdgeInsets insets) {
  contentInset_ = insets;
  updateIndicators();
}

void ScrollView::setScrollIndicatorInsets(cg::EdgeInsets insets) {
  indicatorInsets_ = insets;
  updateIndicators();
}

cg::Point ScrollView::minimumContentOffset() const {
  return {-contentInset_.left, -contentInset_.top};
}

cg::Point ScrollView::maximumContentOffset() const {
  cg::Point min = minimumContentOffset();
  cg::Size b = bounds().size;
  return {std::max(min.x, contentSize_.width + contentInset_.right - b.width),
          std::max(min.y, contentSize_.height + contentInset_.bottom - b.height)};
}

bool ScrollView::canScrollVertically() const {
  return alwaysBounceVertical_ || maximumContentOffset().y > minimumContentOffset().y;
}

bool ScrollView::canScrollHorizontally() const {
  return alwaysBounceHorizontal_ || maximumContentOffset().x > minimumContentOffset().x;
}

void ScrollView::setFrame(cg::Rect frame) {
  View::setFrame(frame);
  updateIndicators();
}

void ScrollView::layoutSubviews() { updateIndicators(); }

void ScrollView::didAddSubview(View* view) {
  if (view == verticalIndicator_.get() || view == horizontalIndicator_.get()) return;
  if (verticalIndicator_->superview() == this) bringSubviewToFront(verticalIndicator_.get());
  if (horizontalIndicator_->superview() == this) bringSubviewToFront(horizontalIndicator_.get());
}

// --- offset ------------------------------------------------------------------------

void ScrollView::applyOffset(cg::Point offset) {
  if (offset == contentOffset()) return;
  setBoundsOrigin(offset);
  contentOffsetDidChange();
  updateIndicators();
  notifyDidScroll();
}

void ScrollView::notifyDidScroll() {
  if (auto d = liveDelegate()) d->scrollViewDidScroll(this);
}

void ScrollView::setContentOffset(cg::Point offset) {
  if (auto timing = Animator::openBlockTiming(); timing && timing->duration > 0) {
    Animator::holdOpenBlock();
    easeTo(offset, timing->duration, timing->delay, timing->curve, Motion::Block);
    return;
  }
  stopMotion();
  applyOffset(offset);
}

void ScrollView::setContentOffset(cg::Point offset, bool animated) {
  if (!animated) {
    setContentOffset(offset);
    return;
  }
  if (offset == contentOffset() && motion_ == Motion::None) return;
  easeTo(offset, kAnimatedScrollDuration, 0, AnimationCurve::EaseInOut, Motion::Animation);
}

void ScrollView::scrollRectToVisible(cg::Rect rect, bool animated) {
  cg::Rect b = bounds();
  cg::Point o = b.origin;
  auto fit = [](float start, float len, float rStart, float rLen) {
    if (rStart < start || rLen > len) return rStart;
    if (rStart + rLen > start + len) return rStart + rLen - len;
    return start;
  };
  o.x = fit(o.x, b.width(), rect.x(), rect.width());
  o.y = fit(o.y, b.height(), rect.y(), rect.height());
  cg::Point lo = minimumContentOffset(), hi = maximumContentOffset();
  o = {clampTo(o.x, lo.x, hi.x), clampTo(o.y, lo.y, hi.y)};
  setContentOffset(o, animated);
}

// --- touches -----------------------------------------------------------------------

void ScrollView::touchDown() {
  tracking_ = true;
  touchStoppedScrolling_ = motion_ != Motion::None;
  if (motion_ == Motion::None) return;
  bool wasDecelerating = decelerating_;
  stopMotion();
  // A finger that catches the content ends the deceleration where it is.
  if (wasDecelerating)
    if (auto d = liveDelegate()) d->scrollViewDidEndDecelerating(this);
}

void ScrollView::touchUpWithoutDrag() {
  tracking_ = false;
  endDrag({0, 0}, true);
}

void ScrollView::beginDrag() {
  stopMotion();
  dragging_ = true;
  dragStartOffset_ = contentOffset();
  cg::Size b = bounds().size;
  pageAtDragStart_ = {b.width > 0 ? std::round(dragStartOffset_.x / b.width) : 0,
                      b.height > 0 ? std::round(dragStartOffset_.y / b.height) : 0};
  updateIndicators();
  if (auto d = liveDelegate()) d->scrollViewWillBeginDragging(this);
}

// The tablet's rubber band: the excess past an edge gives way less and less
// and never reaches the view's size.
float ScrollView::rubberBand(float offset, float min, float max, float dimension) const {
  if (offset >= min && offset <= max) return offset;
  if (!bounces_ || dimension <= 0) return clampTo(offset, min, max);
  float edge = offset < min ? min : max;
  float excess = std::fabs(offset - edge);
  float shown = (1 - 1 / (excess * 0.55f / dimension + 1)) * dimension;
  return offset < min ? edge - shown : edge + shown;
}

void ScrollView::dragBy(cg::Point translation) {
  if (!dragging_) return;
  cg::Point lo = minimumContentOffset(), hi = maximumContentOffset();
  cg::Point o = contentOffset();
  cg::Size b = bounds().size;
  if (canScrollHorizontally())
    o.x = rubberBand(dragStartOffset_.x - translation.x, lo.x, hi.x, b.width);
  if (canScrollVertically())
    o.y = rubberBand(dragStartOffset_.y - translation.y, lo.y, hi.y, b.height);
  applyOffset(o);
}

float ScrollView::pageTarget(float offset, float velocity, float page, float min, float max,
                             float start) const {
  if (page <= 0) return clampTo(offset, min, max);
  float index = std::round(offset / page);
  if (velocity > kPageFlickVelocity) index = start + 1;
  else if (velocity < -kPageFlickVelocity) index = start - 1;
  index = clampTo(index, start - 1, start + 1);
  return clampTo(index * page, min, max);
}

void ScrollView::endDrag(cg::Point velocity, bool cancelled) {
  bool wasDragging = dragging_;
  dragging_ = false;
  tracking_ = false;
  double now = ns::Clock::current().now();
  cg::Point o = contentOffset();
  cg::Point lo = minimumContentOffset(), hi = maximumContentOffset();
  cg::Size b = bounds().size;

  auto settle = [&](Axis& axis, float value, float v, float min, float max, bool scrolls,
                    float page, float startPage) {
    axis = Axis();
    axis.start = now;
    axis.from = value;
    axis.velocity = scrolls ? v : 0;
    if (!scrolls) return;
    if (pagingEnabled_ && wasDragging && !cancelled) {
      axis.target = pageTarget(value, v, page, min, max, startPage);
      if (axis.target != value || std::fabs(v) > kRestingVelocity) axis.kind = Axis::Kind::Spring;
    } else if (pagingEnabled_ && (value < min || value > max || std::fmod(value, page) != 0) &&
               page > 0) {
      axis.target = clampTo(std::round(value / page) * page, min, max);
      axis.velocity = 0;
      if (axis.target != value) axis.kind = Axis::Kind::Spring;
    } else if (value < min || value > max) {
      axis.target = value < min ? min : max;
      axis.kind = Axis::Kind::Spring;
    } else if (!cancelled && std::fabs(v) > kFlickVelocity) {
      axis.kind = Axis::Kind::Decay;
    }
  };
  settle(axisX_, o.x, velocity.x, lo.x, hi.x, canScrollHorizontally(), b.width, pageAtDragStart_.x);
  settle(axisY_, o.y, velocity.y, lo.y, hi.y, canScrollVertically(), b.height, pageAtDragStart_.y);
  bool willDecelerate = axisX_.kind != Axis::Kind::Still || axisY_.kind != Axis::Kind::Still;

  if (willDecelerate) {
    decelerating_ = true;
    startMotion(Motion::Deceleration);
  } else {
    hideIndicatorsLater();
  }
  auto d = liveDelegate();
  if (wasDragging && d) d->scrollViewDidEndDragging(this, willDecelerate);
  if (willDecelerate && d) d->scrollViewWillBeginDecelerating(this);
}

// --- motion ------------------------------------------------------------------------

void ScrollView::startMotion(Motion motion) {
  motion_ = motion;
  updateIndicators();
  if (timer_.isValid()) return;
  std::weak_ptr<View> weak = weak_from_this();
  ScrollView* self = this;
  timer_ = ns::RunLoop::main().scheduleTimer(kFrameInterval, true, [weak, self] {
    if (auto alive = weak.lock()) self->tick();
  });
}

void ScrollView::stopMotion() {
  timer_.invalidate();
  motion_ = Motion::None;
  decelerating_ = false;
  scrollingToTop_ = false;
  axisX_ = Axis();
  axisY_ = Axis();
}

void ScrollView::easeTo(cg::Point target, double duration, double delay, AnimationCurve curve,
                        Motion motion) {
  bool toTop = scrollingToTop_;
  stopMotion();
  scrollingToTop_ = toTop;
  double now = ns::Clock::current().now();
  cg::Point o = contentOffset();
  for (auto [axis, from, to] : {std::tuple{&axisX_, o.x, target.x}, std::tuple{&axisY_, o.y, target.y}}) {
    axis->kind = Axis::Kind::Ease;
    axis->start = now + delay;
    axis->from = from;
    axis->target = to;
    axis->duration = duration;
    axis->curve = curve;
  }
  startMotion(motion);
}

// Moves one axis to its place at `now`; false once it rests.
bool ScrollView::stepAxis(Axis& axis, float& value, float min, float max, double now) {
  switch (axis.kind) {
    case Axis::Kind::Still: return false;
    case Axis::Kind::Decay: {
      double ms = (now - axis.start) * 1000;
      double lnr = std::log(kDecelerationRate);
      double decay = std::pow(kDecelerationRate, ms);
      double v = axis.velocity * decay;
      value = float(axis.from + axis.velocity * (decay - 1) / (1000 * lnr));
      if (value < min || value > max) {
        if (!bounces_) {
          value = clampTo(value, min, max);
          axis.kind = Axis::Kind::Still;
          return false;
        }
        // Past an edge the spring takes over and brings it back.
        axis.kind = Axis::Kind::Spring;
        axis.start = now;
        axis.from = value;
        axis.velocity = float(v);
        axis.target = value < min ? min : max;
        return true;
      }
      if (std::fabs(v) < kRestingVelocity) {
        value = std::round(value);
        axis.kind = Axis::Kind::Still;
        return false;
      }
      return true;
    }
    case Axis::Kind::Spring: {
      double t = now - axis.start, w = kSpringStiffness;
      double x0 = axis.from - axis.target, v0 = axis.velocity;
      double e = std::exp(-w * t);
      double x = (x0 + (v0 + w * x0) * t) * e;
      double v = (v0 - w * (v0 + w * x0) * t) * e;
      value = float(axis.target + x);
      if (std::fabs(x) < 0.5 && std::fabs(v) < 20) {
        value = axis.target;
        axis.kind = Axis::Kind::Still;
        return false;
      }
      return true;
    }
    case Axis::Kind::Ease: {
      if (now < axis.start) {
        value = axis.from;
        return true;
      }
      double t = axis.duration > 0 ? (now - axis.start) / axis.duration : 1;
      if (t >= 1) {
        value = axis.target;
        axis.kind = Axis::Kind::Still;
        return false;
      }
      value = axis.from + (axis.target - axis.from) * Animator::curveValue(axis.curve, float(t));
      return true;
    }
  }
  return false;
}

void ScrollView::tick() {
  double now = ns::Clock::current().now();
  cg::Point o = contentOffset();
  cg::Point lo = minimumContentOffset(), hi = maximumContentOffset();
  bool movingX = stepAxis(axisX_, o.x, lo.x, hi.x, now);
  bool movingY = stepAxis(axisY_, o.y, lo.y, hi.y, now);
  // On the way the content rests on whole pixels of the screen, so the window
  // moves what it shows rather than drawing it again; the last step lands
  // exactly where the motion ends.
  float k = Screen::main().scale();
  if (movingX) o.x = std::round(o.x * k) / k;
  if (movingY) o.y = std::round(o.y * k) / k;
  Motion motion = motion_;
  bool toTop = scrollingToTop_;
  if (!movingX && !movingY) {
    timer_.invalidate();
    motion_ = Motion::None;
    scrollingToTop_ = false;
    decelerating_ = false;
  }
  applyOffset(o);
  if (movingX || movingY) return;
  hideIndicatorsLater();
  auto d = liveDelegate();
  if (!d) return;
  if (motion == Motion::Deceleration) d->scrollViewDidEndDecelerating(this);
  else if (motion == Motion::Animation && toTop) d->scrollViewDidScrollToTop(this);
  else if (motion == Motion::Animation) d->scrollViewDidEndScrollingAnimation(this);
}

// --- wheel and touchpad ---------------------------------------------------------------

bool ScrollView::scrollWheel(const ScrollWheelEvent& event) {
  if (!scrollEnabled_) return false;
  bool takesY = event.deltaY != 0 && maximumContentOffset().y > minimumContentOffset().y;
  bool takesX = event.deltaX != 0 && maximumContentOffset().x > minimumContentOffset().x;
  if (!takesX && !takesY) return false;
  if (dragging_) return true;
  cg::Point lo = minimumContentOffset(), hi = maximumContentOffset();
  cg::Point base = contentOffset();
  // Further steps while one eases add to where it is going.
  if (motion_ == Motion::Wheel) base = {axisX_.target, axisY_.target};
  cg::Point target = base;
  if (takesX) target.x = clampTo(base.x + event.deltaX * kWheelStep, lo.x, hi.x);
  if (takesY) target.y = clampTo(base.y + event.deltaY * kWheelStep, lo.y, hi.y);
  if (event.precise) {
    stopMotion();
    applyOffset(target);
    hideIndicatorsLater();
  } else {
    easeTo(target, kWheelDuration, 0, AnimationCurve::EaseOut, Motion::Wheel);
  }
  return true;
}

// --- scroll to top ---------------------------------------------------------------------

static void collectScrollsToTop(View& view, std::vector<ScrollView*>& found) {
  if (view.isHidden() || view.alpha() <= 0.01f) return;
  if (auto* sv = dynamic_cast<ScrollView*>(&view); sv && sv->scrollsToTop()) found.push_back(sv);
  for (auto& sub : view.subviews()) collectScrollsToTop(*sub, found);
}

void ScrollView::scrollToTopFromStatusBar(View& root) {
  std::vector<ScrollView*> found;
  collectScrollsToTop(root, found);
  if (found.size() != 1) return;
  ScrollView* sv = found.front();
  auto keep = sv->shared_from_this();
  auto d = sv->liveDelegate();
  if (d && !d->scrollViewShouldScrollToTop(sv)) return;
  cg::Point top{sv->contentOffset().x, sv->minimumContentOffset().y};
  if (top == sv->contentOffset()) {
    if (d) d->scrollViewDidScrollToTop(sv);
    return;
  }
  sv->scrollingToTop_ = true;
  sv->easeTo(top, kAnimatedScrollDuration, 0, AnimationCurve::EaseInOut, Motion::Animation);
}

// --- indicators --------------------------------------------------------------------------

void ScrollView::flashScrollIndicators() {
  indicatorsShown_ = true;
  updateIndicators();
  hideIndicatorsLater();
}

void ScrollView::hideIndicatorsLater() {
  auto& loop = ns::RunLoop::main();
  loop.cancelPreviousPerformRequests(this, "hideIndicators");
  std::weak_ptr<View> weak = weak_from_this();
  if (weak.expired()) return;
  loop.performAfter(this, "hideIndicators", kIndicatorLinger, [weak, this] {
    if (weak.expired() || dragging_ || motion_ != Motion::None) return;
    indicatorsShown_ = false;
    updateIndicators();
  });
}

void ScrollView::updateIndicators() {
  if (!verticalIndicator_) return;
  bool moving = dragging_ || motion_ != Motion::None;
  if (moving) indicatorsShown_ = true;
  cg::Rect b = bounds();
  cg::Point lo = minimumContentOffset(), hi = maximumContentOffset();
  auto place = [&](View& ind, bool show, bool vertical) {
    if (!show) {
      ind.setHidden(true);
      return;
    }
    if (ind.superview() != this) addSubview(std::static_pointer_cast<View>(ind.shared_from_this()));
    const auto& in = indicatorInsets_;
    float track = vertical ? b.height() - in.top - in.bottom : b.width() - in.left - in.right;
    float content = vertical ? contentSize_.height + contentInset_.top + contentInset_.bottom
                             : contentSize_.width + contentInset_.left + contentInset_.right;
    float visible = vertical ? b.height() : b.width();
    float len = content > 0 ? std::max(kIndicatorMinLength, track * visible / content) : track;
    float span = vertical ? hi.y - lo.y : hi.x - lo.x;
    float offset = vertical ? b.y() - lo.y : b.x() - lo.x;
    float pos = span > 0 ? clampTo(offset / span, 0, 1) * (track - len) : 0;
    if (vertical)
      ind.setFrame(cg::Rect(b.maxX() - kIndicatorThickness - in.right, b.y() + in.top + pos,
                            kIndicatorThickness, len));
    else
      ind.setFrame(cg::Rect(b.x() + in.left + pos, b.maxY() - kIndicatorThickness - in.bottom, len,
                            kIndicatorThickness));
    ind.setHidden(false);
  };
  place(*verticalIndicator_, indicatorsShown_ && showsVertical_ && hi.y > lo.y, true);
  place(*horizontalIndicator_, indicatorsShown_ && showsHorizontal_ && hi.x > lo.x, false);
}

}  // namespace ui
