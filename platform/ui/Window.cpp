#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/Clock.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ViewController.h"

namespace ui {

namespace {
constexpr double kMultiTapInterval = 0.35;
constexpr float kMultiTapDistance = 20;

Window* gKeyWindow = nullptr;
std::vector<Window*>& liveWindows() {
  static std::vector<Window*> windows;
  return windows;
}
}  // namespace

Window::Window(cg::Rect frame) : View(frame) {
  liveWindows().push_back(this);
  setHidden(true);
  View::setDisplayObserver([] {
    for (Window* w : liveWindows()) w->needsRedraw_ = true;
  });
}

Window::~Window() {
  Keyboard::shared().windowWillClose(this);
  if (gKeyWindow == this) gKeyWindow = nullptr;
  auto& list = liveWindows();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void Window::makeKeyAndVisible() {
  setHidden(false);
  makeKeyWindow();
}

void Window::makeKeyWindow() { gKeyWindow = this; }
bool Window::isKeyWindow() const { return gKeyWindow == this; }
Window* Window::keyWindow() { return gKeyWindow; }

void Window::setRootViewController(std::shared_ptr<ViewController> controller) {
  if (rootViewController_) rootViewController_->view()->removeFromSuperview();
  rootViewController_ = std::move(controller);
  if (!rootViewController_) return;
  auto view = rootViewController_->view();
  view->setFrame(bounds());
  view->setAutoresizingMask(ViewAutoresizingFlexibleWidth | ViewAutoresizingFlexibleHeight);
  rootViewController_->viewWillAppear(false);
  addSubview(view);
  rootViewController_->viewDidAppear(false);
}

bool Window::setFirstResponder(Responder* responder) {
  if (firstResponder_ == responder) return true;
  if (firstResponder_ && !firstResponder_->canResignFirstResponder()) return false;
  changeFirstResponder(responder);
  return true;
}

void Window::changeFirstResponder(Responder* responder) {
  Responder* old = firstResponder_;
  if (old == responder) return;
  firstResponder_ = responder;
  if (old) old->didResignFirstResponder();
  if (responder && firstResponder_ == responder) responder->didBecomeFirstResponder();
  Keyboard::shared().firstResponderChanged(*this);
}

Responder* Window::nextResponder() const { return &Application::shared(); }

// --- touches -------------------------------------------------------------------

std::vector<std::weak_ptr<GestureRecognizer>> Window::recognizersFor(View* view) const {
  std::vector<std::weak_ptr<GestureRecognizer>> result;
  for (View* v = view; v; v = v->superview())
    for (auto& r : v->gestureRecognizers())
      if (r->isEnabled()) result.push_back(r);
  return result;
}

int Window::tapCountFor(cg::Point location, double now) {
  bool again = lastTapTime_ >= 0 && now - lastTapTime_ <= kMultiTapInterval &&
               std::hypot(location.x - lastTapLocation_.x, location.y - lastTapLocation_.y) <=
                   kMultiTapDistance;
  return again ? lastTapCount_ + 1 : 1;
}

// Responders and recognisers take the same four calls.
template <class Receiver>
static void callPhase(Receiver& r, TouchPhase phase, const TouchSet& set, const Event& event) {
  switch (phase) {
    case TouchPhase::Began: r.touchesBegan(set, event); break;
    case TouchPhase::Moved:
    case TouchPhase::Stationary: r.touchesMoved(set, event); break;
    case TouchPhase::Ended: r.touchesEnded(set, event); break;
    case TouchPhase::Cancelled: r.touchesCancelled(set, event); break;
  }
}

static bool recognizedAndCancels(const GestureRecognizer& r) {
  auto s = r.state();
  return r.cancelsTouchesInView() && (s == GestureRecognizerState::Began ||
                                      s == GestureRecognizerState::Changed ||
                                      s == GestureRecognizerState::Ended);
}

void Window::deliver(TrackedTouch& tracked, TouchPhase phase, const Event& event) {
  TouchSet set{tracked.touch};
  bool cancelView = false;
  for (auto& weak : tracked.recognizers) {
    auto r = weak.lock();
    if (!r || !r->isEnabled()) continue;
    auto s = r->state();
    if (s == GestureRecognizerState::Failed || s == GestureRecognizerState::Cancelled ||
        s == GestureRecognizerState::Ended)
      continue;
    callPhase(*r, phase, set, event);
  }
  for (auto& weak : tracked.recognizers)
    if (auto r = weak.lock(); r && recognizedAndCancels(*r)) cancelView = true;

  View* view = tracked.touch->view();
  if (!view || tracked.viewCancelled) return;
  if (cancelView && phase != TouchPhase::Began) {
    tracked.viewCancelled = true;
    tracked.touch->phase_ = TouchPhase::Cancelled;
    view->touchesCancelled(set, event);
    return;
  }
  callPhase(*view, phase, set, event);
}

void Window::sendTouch(int id, TouchPhase phase, cg::Point location) {
  double now = ns::Clock::current().now();
  auto it = touches_.find(id);
  if (phase == TouchPhase::Began) {
    if (it != touches_.end()) sendTouch(id, TouchPhase::Cancelled, it->second.touch->location_);
    auto touch = std::make_shared<Touch>();
    touch->window_ = this;
    touch->location_ = touch->previous_ = location;
    touch->timestamp_ = now;
    touch->tapCount_ = tapCountFor(location, now);
    View* hit = hitTest(location);
    if (hit) touch->view_ = hit->weak_from_this();
    TrackedTouch tracked{touch, recognizersFor(hit), false,
                         location.y < Screen::main().statusBarHeight()};
    it = touches_.emplace(id, std::move(tracked)).first;
  } else {
    if (it == touches_.end()) return;
    Touch& t = *it->second.touch;
    t.previous_ = t.location_;
    t.location_ = location;
    t.timestamp_ = now;
  }
  TrackedTouch& tracked = it->second;
  tracked.touch->phase_ = phase;
  Event event{now, {}};
  for (auto& [_, t] : touches_) event.allTouches.push_back(t.touch);
  // Keep the entry alive while delivering: a handler may send further touches.
  TrackedTouch keep = tracked;
  deliver(keep, phase, event);
  it = touches_.find(id);
  if (it == touches_.end()) return;
  it->second.viewCancelled = keep.viewCancelled;
  if (location.y >= Screen::main().statusBarHeight()) it->second.startedInStatusBar = false;

  if (phase == TouchPhase::Ended || phase == TouchPhase::Cancelled) {
    bool statusBarTap = false;
    if (phase == TouchPhase::Ended) {
      lastTapTime_ = now;
      lastTapLocation_ = location;
      lastTapCount_ = keep.touch->tapCount();
      statusBarTap = it->second.startedInStatusBar;
    }
    touches_.erase(it);
    for (auto& weak : keep.recognizers) {
      auto r = weak.lock();
      if (!r) continue;
      bool stillTracked = false;
      for (auto& [_, other] : touches_)
        for (auto& w : other.recognizers)
          if (w.lock() == r) stillTracked = true;
      if (!stillTracked) r->reset();
    }
    if (statusBarTap) statusBarTapped();
  }
}

void Window::cancelAllTouches() {
  std::vector<int> ids;
  for (auto& [id, _] : touches_) ids.push_back(id);
  for (int id : ids) {
    auto it = touches_.find(id);
    if (it != touches_.end()) sendTouch(id, TouchPhase::Cancelled, it->second.touch->location_);
  }
}

void Window::sendScrollWheel(const ScrollWheelEvent& event) {
  for (View* v = hitTest(event.location); v; v = v->superview())
    if (v->scrollWheel(event)) return;
}

void Window::statusBarTapped() { ScrollView::scrollToTopFromStatusBar(*this); }

void Window::sendKey(const KeyEvent& key) {
  Responder* target = firstResponder_ ? firstResponder_ : static_cast<Responder*>(this);
  if (!key.text.empty() && key.key.empty()) target->insertText(key.text);
  else target->keyDown(key);
}

void Window::sendMarkedText(const std::string& text, int cursor) {
  Responder* target = firstResponder_ ? firstResponder_ : static_cast<Responder*>(this);
  target->setMarkedText(text, cursor);
}

// --- drawing -------------------------------------------------------------------

void Window::render(cg::Context& context) {
  layoutIfNeeded();
  context.save();
  context.setFillColor(cg::Color::black());
  context.fillRect(cg::Rect(0, 0, frame().width(), frame().height()));
  context.restore();
  bool wasHidden = isHidden();
  if (!wasHidden) renderTree(context, true);
  needsRedraw_ = false;
}

std::shared_ptr<cg::Image> Window::snapshot(float scale) {
  auto context = cg::Context::bitmap(frame().width(), frame().height(), scale);
  render(context);
  return context.makeImage();
}

bool Window::writeScreenshot(const std::string& path, float scale) {
  auto image = snapshot(scale);
  return image && image->writePNG(path);
}

}  // namespace ui
