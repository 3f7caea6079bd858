#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "platform/foundation/Clock.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextDrawing.h"
#include "platform/ui/ViewController.h"

namespace ui {

namespace {
constexpr double kMultiTapInterval = 0.35;
constexpr float kMultiTapDistance = 20;

Window* gKeyWindow = nullptr;
// Never destroyed: a window released during the process's exit still finds it.
std::vector<Window*>& liveWindows() {
  static auto* windows = new std::vector<Window*>;
  return *windows;
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
  // A finger on the status bar belongs to it; lifting it there is its tap.
  if (phase == TouchPhase::Began && location.y >= 0 && location.y < statusBarHeight() &&
      !touches_.count(id)) {
    statusBarTouches_[id] = true;
    return;
  }
  if (auto sb = statusBarTouches_.find(id); sb != statusBarTouches_.end()) {
    if (phase == TouchPhase::Ended || phase == TouchPhase::Cancelled) {
      statusBarTouches_.erase(sb);
      if (phase == TouchPhase::Ended && location.y < statusBarHeight())
        ns::NotificationCenter::defaultCenter().postNotificationName(StatusBarTappedNotification);
    }
    return;
  }
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
  for (auto& [other, t] : touches_) {
    // The other fingers held still while this one changed.
    if (other != id && (t.touch->phase_ == TouchPhase::Began || t.touch->phase_ == TouchPhase::Moved))
      t.touch->phase_ = TouchPhase::Stationary;
    event.allTouches.push_back(t.touch);
  }
  // Keep the entry alive while delivering: a handler may send further touches.
  TrackedTouch keep = tracked;
  auto hook = interceptor_;
  if (!hook || !hook(event)) deliver(keep, phase, event);
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
  if (auto subtype = remoteControlSubtypeForKey(key, true)) {
    bool seeking = *subtype == EventSubtype::RemoteControlBeginSeekingBackward ||
                   *subtype == EventSubtype::RemoteControlBeginSeekingForward;
    if (seeking) {
      if (!seekKey_.empty()) return;  // held down: the key repeats, the seek goes on
      seekKey_ = key.key;
      seekEnd_ = *subtype == EventSubtype::RemoteControlBeginSeekingBackward
                     ? EventSubtype::RemoteControlEndSeekingBackward
                     : EventSubtype::RemoteControlEndSeekingForward;
    }
    sendRemoteControlEvent(*subtype);
    return;
  }
  Responder* target = firstResponder_ ? firstResponder_ : static_cast<Responder*>(this);
  if (!key.text.empty() && key.key.empty()) target->insertText(key.text);
  else target->keyDown(key);
}

void Window::sendMarkedText(const std::string& text, int cursor) {
  Responder* target = firstResponder_ ? firstResponder_ : static_cast<Responder*>(this);
  target->setMarkedText(text, cursor);
}

// A seek ends when its key comes up, whatever modifiers are still held.
void Window::sendKeyUp(const KeyEvent& key) {
  if (seekKey_.empty() || key.key != seekKey_) return;
  seekKey_.clear();
  sendRemoteControlEvent(seekEnd_);
}

// Media keys as the desktop names them; Alt with an arrow held down seeks.
std::optional<EventSubtype> Window::remoteControlSubtypeForKey(const KeyEvent& key, bool down) {
  const std::string& k = key.key;
  bool seekShortcut = (key.modifiers & KeyModifierAlt) && !(key.modifiers & KeyModifierControl);
  if (k == "AudioRewind" || (seekShortcut && k == "Left"))
    return down ? EventSubtype::RemoteControlBeginSeekingBackward : EventSubtype::RemoteControlEndSeekingBackward;
  if (k == "AudioFastForward" || (seekShortcut && k == "Right"))
    return down ? EventSubtype::RemoteControlBeginSeekingForward : EventSubtype::RemoteControlEndSeekingForward;
  if (!down) return std::nullopt;
  // The desktop's play key is a play/pause key.
  if (k == "AudioPlay") return EventSubtype::RemoteControlTogglePlayPause;
  if (k == "AudioPause") return EventSubtype::RemoteControlPause;
  if (k == "AudioStop") return EventSubtype::RemoteControlStop;
  if (k == "AudioNext") return EventSubtype::RemoteControlNextTrack;
  if (k == "AudioPrev") return EventSubtype::RemoteControlPreviousTrack;
  return std::nullopt;
}

bool Window::sendRemoteControlEvent(EventSubtype subtype) {
  if (!Application::shared().isReceivingRemoteControlEvents()) return false;
  Event event{ns::Clock::current().now(), {}, EventType::RemoteControl, subtype};
  if (auto hook = interceptor_; hook && hook(event)) return false;
  Responder* target = firstResponder_ ? firstResponder_ : static_cast<Responder*>(this);
  target->remoteControlReceivedWithEvent(event);
  return true;
}

// --- rotation ------------------------------------------------------------------

// The root controller and the controllers it presents, front-most last.
std::vector<ViewController*> Window::rotationTargets() const {
  ViewController* root = rootViewController_.get();
  if (!root)
    for (auto& sub : subviews())
      if ((root = sub->viewController())) break;
  std::vector<ViewController*> list;
  for (ViewController* c = root; c; c = c->modalViewController()) list.push_back(c);
  return list;
}

bool Window::rotateToInterfaceOrientation(InterfaceOrientation to, bool animated) {
  auto& app = Application::shared();
  InterfaceOrientation from = app.statusBarOrientation();
  if (to == from || rotating_) return false;
  auto targets = rotationTargets();
  if (!targets.empty() && !targets.front()->shouldAutorotateToInterfaceOrientation(to)) return false;
  rotating_ = true;
  cancelAllTouches();
  double duration = isLandscape(from) == isLandscape(to) ? 2 * kRotationDuration : kRotationDuration;
  animated = animated && View::areAnimationsEnabled();
  PopoverController::hideVisiblePopoversForRotation();
  for (ViewController* c : targets) c->willRotateToInterfaceOrientation(to, duration);

  app.setStatusBarOrientation(to);
  cg::Size size = screenSizeForOrientation(to);
  Screen::main().setBounds(cg::Rect(0, 0, size.width, size.height));
  auto done = [weak = weak_from_this(), from, targets] {
    auto self = std::static_pointer_cast<Window>(weak.lock());
    if (!self) return;
    self->rotating_ = false;
    // The controllers may be gone by the end of the turn: ask again.
    for (ViewController* c : self->rotationTargets()) c->didRotateFromInterfaceOrientation(from);
    PopoverController::showPopoversAfterRotation();
    self->setNeedsRedraw();
  };
  if (animated) {
    View::beginAnimations("Rotation");
    View::setAnimationDuration(duration);
    View::setAnimationDidStopSelector([done](const std::string&, bool, void*) { done(); });
  }
  setFrame(cg::Rect(0, 0, size.width, size.height));
  for (ViewController* c : targets) c->willAnimateRotationToInterfaceOrientation(to, duration);
  if (animated) View::commitAnimations();
  else done();
  Keyboard::shared().screenDidTurn(*this);
  setNeedsRedraw();
  return true;
}

// --- drawing -------------------------------------------------------------------

void Window::render(cg::Context& context) {
  layoutIfNeeded();
  context.save();
  context.setFillColor(cg::Color::black());
  context.fillRect(cg::Rect(0, 0, frame().width(), frame().height()));
  context.restore();
  bool wasHidden = isHidden();
  if (!wasHidden) {
    renderTree(context, true);
    drawStatusBar(context);
  }
  needsRedraw_ = false;
}

void Window::setShowsStatusBar(bool shows) {
  showsStatusBar_ = shows;
  setNeedsRedraw();
}

float Window::statusBarHeight() const { return showsStatusBar_ ? Screen::main().statusBarHeight() : 0; }

// The tablet's black status bar: the application's name, the time, the battery,
// and the spinner while the network is busy.
void Window::drawStatusBar(cg::Context& ctx) {
  float h = statusBarHeight();
  if (h <= 0) return;
  float w = frame().width();
  ctx.save();
  ctx.drawLinearGradient({cg::Color::gray(0.22f), cg::Color::gray(0.02f)}, {0, 1}, {0, 0}, {0, h});
  Font font = Font::boldSystemFontOfSize(13);
  float textY = std::floor((h - font.lineHeight()) / 2);
  cg::Color ink = cg::Color::gray(0.92f);
  cg::Size name = drawTextAtPoint(ctx, "Zarvel", {6, textY}, font, ink);
  if (Application::shared().isNetworkActivityIndicatorVisible()) {
    cg::Point c{6 + name.width + 14, h / 2};
    ctx.setLineWidth(1.6f);
    for (int i = 0; i < 12; ++i) {
      float a = float(i) * 3.14159265f / 6;
      ctx.setStrokeColor(ink.withAlpha(0.25f + 0.75f * float(i) / 11));
      ctx.beginPath();
      ctx.moveTo({c.x + 3.5f * std::cos(a), c.y + 3.5f * std::sin(a)});
      ctx.lineTo({c.x + 7 * std::cos(a), c.y + 7 * std::sin(a)});
      ctx.strokePath();
    }
  }
  std::time_t now = static_cast<std::time_t>(ns::Clock::current().now());
  std::tm local{};
  localtime_r(&now, &local);
  char clock[16];
  std::strftime(clock, sizeof clock, "%H:%M", &local);
  drawTextInRect(ctx, clock, cg::Rect(0, textY, w, h), font, ink, TextAlignment::Center);
  // The battery: a full outline with its cap.
  cg::Rect battery(w - 34, (h - 10) / 2, 24, 10);
  ctx.setStrokeColor(ink);
  ctx.setLineWidth(1);
  ctx.strokeRect(battery.insetBy(0.5f, 0.5f));
  ctx.setFillColor(ink);
  ctx.fillRect(cg::Rect(battery.maxX(), battery.midY() - 2.5f, 2, 5));
  ctx.fillRect(battery.insetBy(2, 2));
  ctx.restore();
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
