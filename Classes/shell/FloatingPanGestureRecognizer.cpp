#include "Classes/shell/FloatingPanGestureRecognizer.h"

#include <cmath>

#include "platform/ui/Responder.h"

namespace {
constexpr float kStartDistance = 10;

cg::Point firstLocation(const ui::TouchSet& touches) {
  return touches.empty() ? cg::Point() : touches.front()->locationInView(nullptr);
}
}  // namespace

FloatingPanGestureRecognizer::FloatingPanGestureRecognizer(Handler handler, ShouldBegin shouldBegin)
    : handler_(std::move(handler)), shouldBegin_(std::move(shouldBegin)) {
  setCancelsTouchesInView(false);
}

void FloatingPanGestureRecognizer::touchesBegan(const ui::TouchSet& touches, const ui::Event& event) {
  if (tracking_ || event.allTouches.size() > 1) return;
  tracking_ = true;
  panning_ = false;
  start_ = last_ = firstLocation(touches);
  velocity_ = {};
  lastTime_ = event.timestamp;
}

void FloatingPanGestureRecognizer::touchesMoved(const ui::TouchSet& touches, const ui::Event& event) {
  if (!tracking_) return;
  cg::Point p = firstLocation(touches);
  double dt = event.timestamp - lastTime_;
  if (dt > 0) {
    // Smoothed over the last moves, so one jitter does not decide a fling.
    cg::Point v{float((p.x - last_.x) / dt), float((p.y - last_.y) / dt)};
    velocity_ = {velocity_.x * 0.3f + v.x * 0.7f, velocity_.y * 0.3f + v.y * 0.7f};
  }
  last_ = p;
  lastTime_ = event.timestamp;
  if (!panning_) {
    if (std::hypot(p.x - start_.x, p.y - start_.y) < kStartDistance) return;
    if (shouldBegin_ && !shouldBegin_()) {
      tracking_ = false;
      return;
    }
    panning_ = true;
    report(FloatingPan::State::Began);
  }
  report(FloatingPan::State::Changed);
}

void FloatingPanGestureRecognizer::touchesEnded(const ui::TouchSet& touches, const ui::Event& event) {
  if (panning_) {
    // A finger that rested before lifting flings nothing.
    if (event.timestamp - lastTime_ > 0.1) velocity_ = {};
    last_ = firstLocation(touches);
    report(FloatingPan::State::Ended);
  }
  reset();
}

void FloatingPanGestureRecognizer::touchesCancelled(const ui::TouchSet&, const ui::Event&) {
  if (panning_) report(FloatingPan::State::Cancelled);
  reset();
}

void FloatingPanGestureRecognizer::reset() {
  tracking_ = panning_ = false;
  ui::GestureRecognizer::reset();
}

void FloatingPanGestureRecognizer::report(FloatingPan::State state) {
  if (handler_) handler_({state, {last_.x - start_.x, last_.y - start_.y}, velocity_});
}
