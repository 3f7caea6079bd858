#include "platform/ui/GestureRecognizer.h"

#include <cmath>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/View.h"

namespace ui {

namespace {
constexpr float kTapMovement = 10;

float distance(cg::Point a, cg::Point b) { return std::hypot(a.x - b.x, a.y - b.y); }
}  // namespace

GestureRecognizer::GestureRecognizer(Action action) {
  if (action) actions_.push_back(std::move(action));
}

GestureRecognizer::~GestureRecognizer() = default;

void GestureRecognizer::addTarget(Action action) {
  if (action) actions_.push_back(std::move(action));
}

void GestureRecognizer::setEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled) {
    if (isActive()) setState(GestureRecognizerState::Cancelled);
    reset();
  }
}

cg::Point GestureRecognizer::locationInView(const View* view) const {
  return view ? view->convertPointFromView(location_, nullptr) : location_;
}

void GestureRecognizer::rememberLocation(const TouchSet& touches) {
  if (touches.empty()) return;
  float x = 0, y = 0;
  for (auto& t : touches) {
    x += t->locationInWindow().x;
    y += t->locationInWindow().y;
  }
  location_ = {x / touches.size(), y / touches.size()};
}

void GestureRecognizer::setState(GestureRecognizerState state) {
  state_ = state;
  if (state == GestureRecognizerState::Began || state == GestureRecognizerState::Changed ||
      state == GestureRecognizerState::Ended) {
    auto actions = actions_;  // an action may add targets
    for (auto& a : actions) a(*this);
  }
}

void GestureRecognizer::touchesBegan(const TouchSet& touches, const Event&) {
  rememberLocation(touches);
  start_ = location_;
}
void GestureRecognizer::touchesMoved(const TouchSet& touches, const Event&) {
  rememberLocation(touches);
}
void GestureRecognizer::touchesEnded(const TouchSet& touches, const Event&) {
  rememberLocation(touches);
}
void GestureRecognizer::touchesCancelled(const TouchSet&, const Event&) {
  if (isActive()) setState(GestureRecognizerState::Cancelled);
  else if (state_ == GestureRecognizerState::Possible) state_ = GestureRecognizerState::Failed;
}
void GestureRecognizer::reset() { state_ = GestureRecognizerState::Possible; }

// --- tap ---------------------------------------------------------------------

void TapGestureRecognizer::touchesMoved(const TouchSet& touches, const Event& event) {
  GestureRecognizer::touchesMoved(touches, event);
  if (state() == GestureRecognizerState::Possible &&
      distance(startLocation(), lastLocation()) > kTapMovement)
    setState(GestureRecognizerState::Failed);
}

void TapGestureRecognizer::touchesEnded(const TouchSet& touches, const Event& event) {
  GestureRecognizer::touchesEnded(touches, event);
  if (state() != GestureRecognizerState::Possible) return;
  if (distance(startLocation(), lastLocation()) > kTapMovement) {
    setState(GestureRecognizerState::Failed);
    return;
  }
  int taps = touches.empty() ? 1 : touches.front()->tapCount();
  if (taps >= tapsRequired_) setState(GestureRecognizerState::Ended);
}

// --- long press ----------------------------------------------------------------

LongPressGestureRecognizer::~LongPressGestureRecognizer() { cancelTimer(); }

void LongPressGestureRecognizer::cancelTimer() {
  ns::RunLoop::main().cancelPreviousPerformRequests(this, "longPress");
}

void LongPressGestureRecognizer::touchesBegan(const TouchSet& touches, const Event& event) {
  GestureRecognizer::touchesBegan(touches, event);
  if (state() != GestureRecognizerState::Possible) return;
  cancelTimer();
  ns::RunLoop::main().performAfter(this, "longPress", minimumPressDuration_, [this] {
    if (state() == GestureRecognizerState::Possible && isEnabled())
      setState(GestureRecognizerState::Began);
  });
}

void LongPressGestureRecognizer::touchesMoved(const TouchSet& touches, const Event& event) {
  GestureRecognizer::touchesMoved(touches, event);
  if (state() == GestureRecognizerState::Possible) {
    if (distance(startLocation(), lastLocation()) > allowableMovement_) {
      cancelTimer();
      setState(GestureRecognizerState::Failed);
    }
  } else if (isActive()) {
    setState(GestureRecognizerState::Changed);
  }
}

void LongPressGestureRecognizer::touchesEnded(const TouchSet& touches, const Event& event) {
  GestureRecognizer::touchesEnded(touches, event);
  cancelTimer();
  if (isActive()) setState(GestureRecognizerState::Ended);
  else if (state() == GestureRecognizerState::Possible) setState(GestureRecognizerState::Failed);
}

void LongPressGestureRecognizer::touchesCancelled(const TouchSet& touches, const Event& event) {
  cancelTimer();
  GestureRecognizer::touchesCancelled(touches, event);
}

void LongPressGestureRecognizer::reset() {
  cancelTimer();
  GestureRecognizer::reset();
}

}  // namespace ui
