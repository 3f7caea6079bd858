#include "toolkit/tables/TKScrollView.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/foundation/Clock.h"
#include "toolkit/core/TKGlobal.h"

namespace {

constexpr double kFlickDuration = 0.4;
constexpr double kBounceDuration = 0.5;
constexpr double kZoomDuration = 0.5;
constexpr double kDoubleTapZoomDuration = 0.4;
constexpr double kRotateDuration = 0.3;
constexpr float kResistance = 0.1f;
constexpr float kDoubleTapZoom = 0.75f;  // of the page width on each side: 2.5 times in all

cg::EdgeInsets zeroEdges() { return {0, 0, 0, 0}; }

cg::EdgeInsets addEdges(const cg::EdgeInsets& a, const cg::EdgeInsets& b, float t = 1) {
  return {a.top + b.top * t, a.left + b.left * t, a.bottom + b.bottom * t, a.right + b.right * t};
}

// Grows a bounding box by a point; an unset (0) side takes the point.
cg::EdgeInsets stretchTouchEdges(cg::EdgeInsets e, cg::Point p) {
  if (e.left == 0 || p.x < e.left) e.left = p.x;
  if (e.right == 0 || p.x > e.right) e.right = p.x;
  if (e.top == 0 || p.y < e.top) e.top = p.y;
  if (e.bottom == 0 || p.y > e.bottom) e.bottom = p.y;
  return e;
}

cg::EdgeInsets touchEdgesForPoint(cg::Point p) { return stretchTouchEdges(zeroEdges(), p); }

// The cubic ease-out of the settling animations.
double tween(double t, double b, double c, double d) {
  double x = t / d - 1;
  return c * (x * x * x + 1) + b;
}

// Puts a page where it covers `frame` on the screen once turned: a page
// turned a quarter has its own bounds the other way round.
void placePage(ui::View& page, cg::Rect frame, const cg::AffineTransform& turn) {
  bool quarter = std::fabs(turn.b) > 0.5f;
  cg::Size size = quarter ? cg::Size(frame.height(), frame.width()) : frame.size;
  page.setTransform(turn);
  page.setFrame(cg::Rect(frame.midX() - size.width / 2, frame.midY() - size.height / 2, size.width, size.height));
}

}  // namespace

TKScrollView::TKScrollView(cg::Rect frame) : ui::View(frame), pages_(kMaxPages) {
  setClipsToBounds(true);
  setMultipleTouchEnabled(true);
  setUserInteractionEnabled(true);
  // The pages start upright in the interface: on the desktop the device is
  // the window, which turns the whole interface with it. They follow the
  // device's own turns when it reports them.
  orientation_ = 1;
  orientationObserver_ = ns::NotificationCenter::defaultCenter().addObserver(
      kDeviceOrientationDidChangeNotification, [this](const ns::Value&) { deviceOrientationDidChange(); });
}

TKScrollView::~TKScrollView() {
  delegate_.reset();
  animationTimer_.invalidate();
  tapTimer_.invalidate();
  holdingTimer_.invalidate();
}

// --- pages ---------------------------------------------------------------------------

void TKScrollView::setDataSource(std::weak_ptr<TKScrollViewDataSource> dataSource) {
  dataSource_ = std::move(dataSource);
  reloadData();
}

int TKScrollView::numberOfPages() const {
  auto source = dataSource();
  return source ? source->numberOfPagesInScrollView(const_cast<TKScrollView&>(*this)) : 0;
}

int TKScrollView::arrayIndexForPageIndex(int pageIndex, int relativeTo) const {
  int count = numberOfPages();
  if (count == 0 || pageIndex < 0 || pageIndex >= count || std::abs(pageIndex - relativeTo) > 1) return -1;
  int slot = pageArrayIndex_ + (pageIndex - relativeTo);
  if (slot < 0) slot += kMaxPages;
  else if (slot >= kMaxPages) slot -= kMaxPages;
  return slot;
}

std::shared_ptr<ui::View> TKScrollView::pageAtIndex(int index, bool create) {
  int slot = arrayIndexForPageIndex(index, centerPageIndex_);
  if (slot < 0) return nullptr;
  auto& page = pages_[size_t(slot)];
  if (!page && create) {
    auto source = dataSource();
    // A data source that gives no page leaves the slot empty.
    std::shared_ptr<ui::View> made = source ? source->pageAtIndex(*this, index) : nullptr;
    if (made) {
      made->setMultipleTouchEnabled(true);
      made->setUserInteractionEnabled(true);
      addSubview(made);
      pages_[size_t(slot)] = made;
    }
  }
  return pages_[size_t(slot)];
}

std::vector<std::pair<int, std::shared_ptr<ui::View>>> TKScrollView::visiblePages() {
  std::vector<std::pair<int, std::shared_ptr<ui::View>>> pages;
  for (int index : {centerPageIndex_ - 1, centerPageIndex_, centerPageIndex_ + 1})
    if (auto page = pageAtIndex(index, true)) pages.push_back({index, page});
  return pages;
}

std::shared_ptr<ui::View> TKScrollView::dequeueReusablePage() {
  if (pageQueue_.empty()) return nullptr;
  auto page = std::move(pageQueue_.back());
  pageQueue_.pop_back();
  return page;
}

void TKScrollView::enqueuePageAtIndex(int pageIndex) {
  int slot = arrayIndexForPageIndex(pageIndex, centerPageIndex_);
  if (slot < 0 || !pages_[size_t(slot)]) return;
  auto page = std::move(pages_[size_t(slot)]);
  page->removeFromSuperview();
  pageQueue_.push_back(std::move(page));
}

void TKScrollView::enqueueAllPages() {
  for (auto& page : pages_) {
    if (!page) continue;
    page->removeFromSuperview();
    pageQueue_.push_back(std::move(page));
    page.reset();
  }
}

void TKScrollView::reloadData() {
  if (!dataSource()) return;
  enqueueAllPages();
  visiblePageIndex_ = -1;
  pageEdges_ = pageStartEdges_ = zeroEdges();
  stopAnimation(true);
  stopDragging(false);
  updateZooming(zeroEdges());
  touch1_.reset();
  touch2_.reset();
  touchCount_ = 0;
  setNeedsLayout();
}

void TKScrollView::setCenterPageIndex(int index) { moveToPageAtIndex(index, touchCount_ == 0); }

void TKScrollView::moveToPageAtIndex(int index, bool resetEdges) {
  if (resetEdges) {
    pageEdges_ = pageStartEdges_ = zeroEdges();
    updateZooming(zeroEdges());
    setNeedsLayout();
  } else if (index != centerPageIndex_) {
    adjustPageEdgesForPageAtIndex(index);
    updateZooming(zeroEdges());
  }
  if (index == centerPageIndex_) return;
  int distance = index - centerPageIndex_;
  if (std::abs(distance) > 1) reloadData();
  else if (distance > 0) enqueuePageAtIndex(centerPageIndex_ - 1);
  else enqueuePageAtIndex(centerPageIndex_ + 1);
  // After a jump no slot is taken: the new centre goes where the wrap puts it.
  pageArrayIndex_ = arrayIndexForPageIndex(index, centerPageIndex_);
  if (pageArrayIndex_ < 0) pageArrayIndex_ = kMaxPages - 1;
  centerPageIndex_ = index;
}

// --- geometry ---------------------------------------------------------------------------

float TKScrollView::pageWidth() const {
  return orientation_ == 3 || orientation_ == 4 ? frame().height() : frame().width();
}

float TKScrollView::pageHeight() const {
  return orientation_ == 3 || orientation_ == 4 ? frame().width() : frame().height();
}

bool TKScrollView::pulled() const {
  return pageEdges_.left > 0 || pageEdges_.top > 0 || pageEdges_.right < 0 || pageEdges_.bottom < 0;
}

float TKScrollView::zoomFactor() const {
  float w = pageWidth();
  return w > 0 ? (w - pageEdges_.left + pageEdges_.right) / w : 1;
}

bool TKScrollView::flicked() const {
  float left = pageEdges_.left, right = pageEdges_.right;
  if (!flipped()) return (left > kFlickDistance && !isFirstPage()) || (right < -kFlickDistance && !isLastPage());
  return (left > kFlickDistance && !isLastPage()) || (right < -kFlickDistance && !isFirstPage());
}

int TKScrollView::realPageIndex() const {
  if (pinched()) return centerPageIndex_;
  float left = pageEdges_.left, right = pageEdges_.right;
  if (!flipped()) {
    if (left > kFlickDistance && !isFirstPage()) return centerPageIndex_ - 1;
    if (right < -kFlickDistance && !isLastPage()) return centerPageIndex_ + 1;
  } else {
    if (left > kFlickDistance && !isLastPage()) return centerPageIndex_ + 1;
    if (right < -kFlickDistance && !isFirstPage()) return centerPageIndex_ - 1;
  }
  return centerPageIndex_;
}

cg::Rect TKScrollView::frameOfPageAtIndex(int index) const {
  cg::Size size(pageWidth(), pageHeight());
  if (auto source = dataSource())
    if (auto natural = source->sizeOfPageAtIndex(const_cast<TKScrollView&>(*this), index);
        natural && natural->width != 0 && natural->height != 0)
      size = *natural;
  float W = frame().width(), H = frame().height();
  cg::Size fitted;
  if (orientation_ == 3 || orientation_ == 4) fitted = {W, size.width / size.height * W};
  else if (size.width > size.height) fitted = {W, size.height / size.width * W};
  else fitted = {size.width / size.height * H, H};
  return cg::Rect((W - fitted.width) / 2, (H - fitted.height) / 2, fitted.width, fitted.height);
}

float TKScrollView::overflowForFrame(cg::Rect frame) const {
  float origin = orientation_ == 3 || orientation_ == 4 ? frame.y() : frame.x();
  return origin < 0 ? std::fabs(origin) : 0;
}

cg::Point TKScrollView::offsetForOrientation(float x, float y) const {
  if (orientation_ == 3 || orientation_ == 4) return {y, x};
  return {x, y};
}

cg::AffineTransform TKScrollView::transformForOrientation(int orientation) const {
  constexpr float pi = std::numbers::pi_v<float>;
  if (orientation == 3) return cg::AffineTransform::rotation(pi / 2);
  if (orientation == 4) return cg::AffineTransform::rotation(3 * pi / 2);
  if (orientation_ == 2) return cg::AffineTransform::rotation(-pi);
  return cg::AffineTransform::identity();
}

void TKScrollView::adjustPageEdgesForPageAtIndex(int index) {
  float k = overflowForFrame(frameOfPageAtIndex(centerPageIndex_)) * zoomFactor();
  float o = overflowForFrame(frameOfPageAtIndex(index));
  float sign = flipped() ? (index >= centerPageIndex_ ? 1.f : -1.f) : (index >= centerPageIndex_ ? -1.f : 1.f);
  float D = (pageWidth() + pageSpacing_ + k + o) * sign;
  float left = pageEdges_.left, right = pageEdges_.right;
  cg::EdgeInsets e = zeroEdges();
  if (flipped()) {
    e.left = (right > 0 ? right : left) - D;
    e.right = (left < 0 ? left : right) - D;
  } else {
    e.left = (left > 0 ? left : right) - D;
    e.right = (right < 0 ? right : left) - D;
  }
  pageEdges_ = pageStartEdges_ = e;
}

cg::EdgeInsets TKScrollView::reversePageEdges() const {
  return {-pageEdges_.top, -pageEdges_.left, -pageEdges_.bottom, -pageEdges_.right};
}

// --- layout -----------------------------------------------------------------------------

void TKScrollView::layoutPage() {
  auto page = pageAtIndex(centerPageIndex_, true);
  if (!page) return;
  cg::Point offset = offsetForOrientation(pageEdges_.left, pageEdges_.top);
  cg::Rect f = frameOfPageAtIndex(centerPageIndex_);
  // A zoomed page is scaled about its fitted place; its frame is what shows.
  float z = zoomed() ? zoomFactor() : 1;
  cg::Rect shown(offset.x + f.x() * z, offset.y + f.y() * z, f.width() * z, f.height() * z);
  placePage(*page, shown, transformForOrientation(orientation_));
}

void TKScrollView::layoutAdjacentPages() {
  int count = numberOfPages();
  float a = overflowForFrame(frameOfPageAtIndex(centerPageIndex_)) * zoomFactor();
  float step = pageWidth() + pageSpacing_;
  for (int direction : {-1, 1}) {
    int index = centerPageIndex_ + direction;
    if (index < 0 || index >= count) continue;
    auto page = pageAtIndex(index, true);
    if (!page) continue;
    cg::Rect f = frameOfPageAtIndex(index);
    float shift = step + a + overflowForFrame(f);
    // Not flipped, the previous page lies left of the centre page's left edge.
    bool beforeLeft = (direction < 0) != flipped();
    float x = beforeLeft ? pageEdges_.left - shift : pageEdges_.right + shift;
    cg::Point offset = offsetForOrientation(x, 0);
    placePage(*page, f.offsetBy(offset.x, offset.y), transformForOrientation(orientation_));
    page->setHidden(pinched());
  }
}

void TKScrollView::layoutSubviews() {
  layoutPage();
  layoutAdjacentPages();
  if (centerPageIndex_ != visiblePageIndex_ && pageAtIndex(centerPageIndex_, false)) {
    visiblePageIndex_ = centerPageIndex_;
    if (auto d = delegate()) d->didMoveToPageAtIndex(*this, centerPageIndex_);
  }
}

// --- zooming, dragging and rotation -------------------------------------------------------

void TKScrollView::updateZooming(cg::EdgeInsets edges) {
  if (zooming_) {
    if (!zoomed()) {
      zooming_ = false;
      if (auto page = centerPage()) page->setUserInteractionEnabled(true);
      if (auto d = delegate()) d->scrollViewDidEndZooming(*this);
    }
  } else if (zoomed() || edgesAreZoomed(edges)) {
    zooming_ = true;
    if (auto page = centerPage()) page->setUserInteractionEnabled(false);
    if (auto d = delegate()) d->scrollViewDidBeginZooming(*this);
  }
}

void TKScrollView::stopDragging(bool willDecelerate) {
  if (!dragging_) return;
  dragging_ = false;
  if (auto d = delegate()) d->scrollViewDidEndDragging(*this, willDecelerate);
}

void TKScrollView::zoomToFit() { startAnimationTo(reversePageEdges(), kZoomDuration); }

void TKScrollView::zoomToDistance(float distance) {
  startAnimationTo({distance, distance, -distance, -distance}, kZoomDuration);
}

void TKScrollView::setOrientation(int orientation, bool animated) {
  if (orientation == orientation_ || orientation < 1 || orientation > 4) return;
  if (auto d = delegate()) d->scrollViewWillRotate(*this, orientation);
  orientation_ = orientation;
  if (animated) {
    std::weak_ptr<ui::View> weak = weak_from_this();
    ui::View::beginAnimations("TKScrollViewRotation");
    ui::View::setAnimationDuration(kRotateDuration);
    ui::View::setAnimationDidStopSelector([weak, this](const std::string&, bool, void*) {
      if (!weak.expired()) rotationDidStop();
    });
    layoutPage();
    ui::View::commitAnimations();
  } else {
    rotationDidStop();
    setNeedsLayout();
  }
}

void TKScrollView::rotationDidStop() {
  if (auto d = delegate()) d->scrollViewDidRotate(*this);
}

void TKScrollView::deviceOrientationDidChange() {
  int orientation = TKCurrentDeviceOrientation();
  if (!rotateEnabled_ || holding_) return;
  if (auto d = delegate(); d && !d->shouldAutorotateToInterfaceOrientation(*this, orientation)) return;
  setOrientation(orientation);
}

void TKScrollView::didMoveToSuperview() {
  if (!superview()) stopAnimation(true);
}

// --- animation ------------------------------------------------------------------------------

void TKScrollView::startAnimationTo(cg::EdgeInsets change, double duration) {
  if (animationTimer_.isValid()) return;
  pageStartEdges_ = pageEdges_;
  updateZooming(change);
  tapTimer_.invalidate();
  animateEdges_ = change;
  animationDuration_ = duration;
  animationStartTime_ = ns::Clock::current().now();
  // The edges move on the run loop's clock; the pages are laid out once a frame.
  std::weak_ptr<ui::View> weak = weak_from_this();
  animationTimer_ = ns::RunLoop::main().scheduleTimer(kAnimationTick, true, [weak, this] {
    if (!weak.expired()) animator();
  });
}

void TKScrollView::animator() {
  double elapsed = ns::Clock::current().now() - animationStartTime_;
  double p = elapsed <= 0 ? 0 : std::min(1.0, tween(elapsed, 0, elapsed, animationDuration_) / elapsed);
  pageEdges_ = addEdges(pageStartEdges_, animateEdges_, float(p));
  setNeedsLayout();
  if (p >= 1) {
    stopAnimation(false);
    if (auto d = delegate()) d->scrollViewDidEndDecelerating(*this);
  }
}

void TKScrollView::stopAnimation(bool resetEdges) {
  if (!animationTimer_.isValid()) return;
  animationTimer_.invalidate();
  animationTimer_ = ns::Timer();
  updateZooming(zeroEdges());
  int real = realPageIndex();
  if (real != centerPageIndex_ || pinched()) moveToPageAtIndex(real, resetEdges);
}

// --- gestures ------------------------------------------------------------------------------

cg::Point TKScrollView::touchLocation(const ui::Touch& touch) const {
  cg::Point p = touch.locationInView(this);
  return offsetForOrientation(p.x, p.y);
}

void TKScrollView::acquireTouch(const std::shared_ptr<ui::Touch>& touch) {
  if (!touch1_) {
    touch1_ = touch;
    ++touchCount_;
  } else if (!touch2_) {
    touch2_ = touch;
    ++touchCount_;
  }
}

std::shared_ptr<ui::Touch> TKScrollView::removeTouch(const ui::Touch* touch) {
  if (touch && touch == touch1_.get()) {
    touch1_.reset();
    --touchCount_;
    return touch2_;
  }
  if (touch && touch == touch2_.get()) {
    touch2_.reset();
    --touchCount_;
    return touch1_;
  }
  return nullptr;
}

cg::EdgeInsets TKScrollView::squareTouchEdges(cg::EdgeInsets e) const {
  if (touchCount_ < 2) return e;
  float cx = (e.left + e.right) / 2, cy = (e.top + e.bottom) / 2;
  float half = std::hypot(e.right - e.left, e.bottom - e.top) / 2;
  return {cy - half, cx - half, cy + half, cx + half};
}

float TKScrollView::resist(float from, float to, float max) const {
  float factor = max > 0 ? std::clamp((1 - std::fabs(to) / max) * kResistance, 0.0f, 1.0f) : 0;
  return from + (to - from) * factor;
}

// Beyond the first and last page, and the sides of a zoomed page, only a
// tenth (or less) of the finger's motion passes.
cg::EdgeInsets TKScrollView::resistPageEdges(cg::EdgeInsets e) const {
  float W = pageWidth(), H = pageHeight();
  const cg::EdgeInsets& now = pageEdges_;
  bool twoFingers = touchCount_ == 2;
  if (e.right - e.left < 0 || e.bottom - e.top < 0) {
    float z = zoomFactor();
    return {resist(now.top, e.top, H * z), resist(now.left, e.left, W * z), resist(now.bottom, e.bottom, H * z),
            resist(now.right, e.right, W * z)};
  }
  if (twoFingers || zoomed()) {
    bool changed = false;
    if (e.top > 0) {
      float top = resist(now.top, e.top, H);
      e.bottom = (twoFingers ? e.bottom : now.bottom) + (top - now.top);
      e.top = top;
      changed = true;
    } else if (e.bottom < 0) {
      float bottom = resist(now.bottom, e.bottom, H);
      e.top = (twoFingers ? e.top : now.top) + (bottom - now.bottom);
      e.bottom = bottom;
      changed = true;
    }
    if (changed && H > 0) {
      // The page keeps its shape: the horizontal span follows the vertical one.
      float g = (W / H * (H - e.top + e.bottom) - (W - e.left + e.right)) / 2;
      e.right += g;
      e.left -= g;
    }
  }
  bool leftPast = (e.left > 0 && !flipped()) || (e.left < 0 && flipped());
  bool rightPast = (e.right < 0 && !flipped()) || (e.right > 0 && flipped());
  if (leftPast && (isFirstPage() || zoomed())) {
    float left = resist(now.left, e.left, W);
    e.right = (twoFingers ? e.right : now.right) + (left - now.left);
    e.left = left;
  } else if (rightPast && (isLastPage() || zoomed())) {
    float right = resist(now.right, e.right, W);
    e.left = (twoFingers ? e.left : now.left) + (right - now.right);
    e.right = right;
  } else {
    return e;
  }
  if (W > 0) {
    float b = (H / W * (W - e.left + e.right) - (H - e.top + e.bottom)) / 2;
    e.bottom += b;
    e.top -= b;
  }
  return e;
}

// The change that settles the edges after a gesture: back to the fitted page,
// on to the next page, or back inside the limits.
cg::EdgeInsets TKScrollView::pageEdgesForAnimation() const {
  if (pinched()) return reversePageEdges();
  const cg::EdgeInsets& e = pageEdges_;
  if (flicked()) {
    float k = overflowForFrame(frameOfPageAtIndex(centerPageIndex_)) * zoomFactor();
    int target = e.left < 0 ? (flipped() ? centerPageIndex_ - 1 : centerPageIndex_ + 1)
                            : (flipped() ? centerPageIndex_ + 1 : centerPageIndex_ - 1);
    float o = overflowForFrame(frameOfPageAtIndex(target));
    float step = pageWidth() + pageSpacing_;
    float x;
    if (e.left < 0) {
      float edge = std::fabs(pageStartEdges_.left) < std::fabs(e.right) ? e.left : e.right;
      x = -(step + edge + k + o);
    } else {
      float edge = std::fabs(e.left) < std::fabs(e.right) ? e.left : e.right;
      x = step - edge + k + o;
    }
    return {0, x, 0, x};
  }
  float h = e.left > 0 ? -e.left : e.right < 0 ? -e.right : 0;
  float v = e.top > 0 ? -e.top : e.bottom < 0 ? -e.bottom : 0;
  return {v, h, v, h};
}

// A 2.5-fold zoom about the point, kept from showing space beyond the page.
cg::EdgeInsets TKScrollView::zoomPageEdgesTo(cg::Point p) const {
  float W = pageWidth(), H = pageHeight(), q = kDoubleTapZoom * W;
  float ratio = W > 0 ? H / W : 1;
  cg::EdgeInsets e{(H / 2 - p.y - q) * ratio, (W / 2 - p.x) - q, (q + H / 2 - p.y) * ratio, q + (W / 2 - p.x)};
  if (e.left > 0) {
    e.right += e.left;
    e.left = 0;
  } else if (e.right < 0) {
    e.left -= e.right;
    e.right = 0;
  }
  if (e.top > 0) {
    e.bottom += e.top;
    e.top = 0;
  } else if (e.bottom < 0) {
    e.top -= e.bottom;
    e.bottom = 0;
  }
  return e;
}

bool TKScrollView::canZoom() {
  if (!zoomEnabled_ || holding_) return false;
  if (zooming_) return true;
  auto d = delegate();
  return !d || d->scrollViewShouldZoom(*this);
}

void TKScrollView::startTapTimer(std::shared_ptr<ui::Touch> touch) {
  tapTimer_.invalidate();
  std::weak_ptr<ui::View> weak = weak_from_this();
  tapTimer_ = ns::RunLoop::main().scheduleTimer(kTapDelay, false, [weak, this, touch] {
    if (weak.expired()) return;
    tapTimer_ = ns::Timer();
    if (auto d = delegate()) d->tapped(*this, *touch);
  });
}

void TKScrollView::beginHolding() {
  holding_ = true;
  if (auto d = delegate()) d->scrollViewDidBeginHolding(*this);
}

void TKScrollView::endHolding() {
  holding_ = false;
  if (auto d = delegate()) d->scrollViewDidEndHolding(*this);
}

void TKScrollView::touchesBegan(const ui::TouchSet& touches, const ui::Event& event) {
  ui::View::touchesBegan(touches, event);
  if (touchCount_ == 2) return;
  stopAnimation(false);
  for (const auto& touch : touches) {
    acquireTouch(touch);
    if (touch == touch2_) {
      if (scrollEnabled_ && !holding_) {
        touchEdges_ = squareTouchEdges(stretchTouchEdges(touchEdges_, touchLocation(*touch)));
        touchStartEdges_ = touchEdges_;
        pageStartEdges_ = pageEdges_;
      }
    } else if (touch == touch1_) {
      if (auto d = delegate()) d->touchedDown(*this, *touch);
      if (holdsAfterTouchingForInterval_ != 0) {
        std::weak_ptr<ui::View> weak = weak_from_this();
        holdingTimer_ = ns::RunLoop::main().scheduleTimer(holdsAfterTouchingForInterval_, false, [weak, this] {
          if (weak.expired()) return;
          holdingTimer_ = ns::Timer();
          beginHolding();
        });
      }
      if (scrollEnabled_ && !holding_) {
        touchEdges_ = touchStartEdges_ = touchEdgesForPoint(touchLocation(*touch));
        pageStartEdges_ = pageEdges_;
      }
    }
    // A double tap reports no single tap.
    if (touch->tapCount() == 2) tapTimer_.invalidate();
  }
}

void TKScrollView::touchesMoved(const ui::TouchSet& touches, const ui::Event& event) {
  ui::View::touchesMoved(touches, event);
  holdingTimer_.invalidate();
  if (!scrollEnabled_ || holding_ || touchCount_ == 0 || animationTimer_.isValid()) return;
  if (!dragging_) {
    dragging_ = true;
    tapTimer_.invalidate();
    if (auto d = delegate()) d->scrollViewWillBeginDragging(*this);
  }
  cg::EdgeInsets box = zeroEdges();
  for (const auto& touch : event.allTouches)
    if (isTracked(touch.get())) box = stretchTouchEdges(box, touchLocation(*touch));
  // Touches of this event only, when the event lists none of them.
  if (box == zeroEdges())
    for (const auto& touch : touches)
      if (isTracked(touch.get())) box = stretchTouchEdges(box, touchLocation(*touch));
  cg::EdgeInsets S = squareTouchEdges(box);
  cg::EdgeInsets e = pageEdges_;
  e.left = pageStartEdges_.left + (S.left - touchStartEdges_.left);
  e.right = pageStartEdges_.right + (S.right - touchStartEdges_.right);
  if ((touchCount_ == 2 || zoomed()) && zoomEnabled_ && !holding_) {
    float r = pageWidth() > 0 ? pageHeight() / pageWidth() : 1;
    e.top = pageStartEdges_.top + (S.top - touchStartEdges_.top) * r;
    e.bottom = pageStartEdges_.bottom + (S.bottom - touchStartEdges_.bottom) * r;
  }
  cg::EdgeInsets resisted = resistPageEdges(e);
  if (edgesAreZoomed(resisted) && !canZoom()) return;
  pageEdges_ = resisted;
  updateZooming(resisted);
  setNeedsLayout();
}

void TKScrollView::touchesEnded(const ui::TouchSet& touches, const ui::Event& event) {
  ui::View::touchesEnded(touches, event);
  holdingTimer_.invalidate();
  if (holding_) endHolding();
  for (const auto& touch : touches) {
    if (!isTracked(touch.get())) continue;
    std::shared_ptr<ui::Touch> other = removeTouch(touch.get());
    if (touchCount_ == 0) {
      if (touch->tapCount() == 1 && !dragging_) {
        if (auto d = delegate()) d->touchedUpInside(*this, *touch);
        startTapTimer(touch);
      } else if (touch->tapCount() == 2 && canZoom()) {
        if (zoomed()) zoomToFit();
        else startAnimationTo(zoomPageEdgesTo(touchLocation(*touch)), kDoubleTapZoomDuration);
      }
      stopDragging(true);
    } else if (touchCount_ == 1 && other) {
      touchEdges_ = touchStartEdges_ = touchEdgesForPoint(touchLocation(*other));
      pageStartEdges_ = pageEdges_;
    }
    if ((pinched() || (touchCount_ == 0 && pulled())) && zoomEnabled_)
      startAnimationTo(pageEdgesForAnimation(), flicked() ? kFlickDuration : kBounceDuration);
  }
}

void TKScrollView::touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) {
  ui::View::touchesCancelled(touches, event);
  holdingTimer_.invalidate();
  for (const auto& touch : touches) removeTouch(touch.get());
  if (touchCount_ > 0) return;
  stopAnimation(true);
  stopDragging(false);
  updateZooming(zeroEdges());
  pageEdges_ = zeroEdges();
  setNeedsLayout();
}
