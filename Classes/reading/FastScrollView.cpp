#include "Classes/reading/FastScrollView.h"

#include <cmath>

#include "platform/foundation/Clock.h"
#include "platform/ui/Responder.h"

using ui::GestureRecognizerState;

FastScrollView::FastScrollView(cg::Rect frame) : ui::View(frame) {
  setOpaque(false);
  setBackgroundColor(cg::Color::clear());
}

void FastScrollView::addGesture() { recognising_ = true; }

void FastScrollView::handleTapGesture(GestureRecognizerState state) {
  if (state != GestureRecognizerState::Ended) return;
  if (auto d = delegate_.lock()) d->fastScrollTapped();
}

void FastScrollView::handlePanGesture(GestureRecognizerState state, cg::Point p) {
  auto d = delegate_.lock();
  if (!d) return;
  bool onStrip = p.x >= kMinX && p.x <= kMaxX;
  switch (state) {
    case GestureRecognizerState::Began:
      lastTouchDate_ = ns::Date(ns::Clock::current().now());
      [[fallthrough]];
    case GestureRecognizerState::Changed:
      if (onStrip) d->updateFastScrollPreview(p);
      else d->cancelFastScrollPreview();
      break;
    case GestureRecognizerState::Ended: {
      double held = lastTouchDate_ ? ns::Clock::current().now() - lastTouchDate_->timeIntervalSince1970() : 0;
      if (onStrip && held > kFlickSeconds) d->hideFastScrollPreview();
      else d->cancelFastScrollPreview();
      break;
    }
    case GestureRecognizerState::Cancelled:
    case GestureRecognizerState::Failed:
      d->cancelFastScrollPreview();
      break;
    default:
      break;
  }
}

// ---- recognising: a tap until the finger moves off its 10 points, then a pan -------------

cg::Point FastScrollView::locationOf(const ui::TouchSet& touches) const {
  return touches.empty() ? cg::Point{} : touches.front()->locationInView(this);
}

void FastScrollView::touchesBegan(const ui::TouchSet& touches, const ui::Event&) {
  if (!recognising_ || touches.empty()) return;
  tracking_ = Tracking::Tap;
  start_ = locationOf(touches);
}

void FastScrollView::touchesMoved(const ui::TouchSet& touches, const ui::Event&) {
  if (tracking_ == Tracking::None) return;
  cg::Point p = locationOf(touches);
  if (tracking_ == Tracking::Tap) {
    if (std::hypot(p.x - start_.x, p.y - start_.y) <= kTapMovement) return;
    tracking_ = Tracking::Pan;  // the tap failed: the pan begins
    handlePanGesture(GestureRecognizerState::Began, p);
    return;
  }
  handlePanGesture(GestureRecognizerState::Changed, p);
}

void FastScrollView::touchesEnded(const ui::TouchSet& touches, const ui::Event&) {
  Tracking was = tracking_;
  tracking_ = Tracking::None;
  if (was == Tracking::Tap) handleTapGesture(GestureRecognizerState::Ended);
  else if (was == Tracking::Pan) handlePanGesture(GestureRecognizerState::Ended, locationOf(touches));
}

void FastScrollView::touchesCancelled(const ui::TouchSet& touches, const ui::Event&) {
  Tracking was = tracking_;
  tracking_ = Tracking::None;
  if (was == Tracking::Pan) handlePanGesture(GestureRecognizerState::Cancelled, locationOf(touches));
}
