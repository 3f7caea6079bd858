#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <limits>
#include <optional>
#include <type_traits>
#include <utility>

#include "platform/foundation/Clock.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/RenderPass.h"
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

namespace {

// At most this many separate changed areas are kept; more become their union.
constexpr std::size_t kMaxDamageRects = 12;


// Two areas are kept as one when their union is hardly larger than both.
bool worthMerging(const cg::Rect& a, const cg::Rect& b) {
  bool touch = a.minX() <= b.maxX() && b.minX() <= a.maxX() && a.minY() <= b.maxY() && b.minY() <= a.maxY();
  if (!touch) return false;
  cg::Rect u = a.unionWith(b);
  return u.width() * u.height() <= 1.25f * (a.width() * a.height() + b.width() * b.height());
}

// Whole pixels of a context at the scale, as window points.
cg::Rect outerPixelsInPoints(const cg::Rect& r, float scale) {
  float x0 = std::floor(r.minX() * scale), y0 = std::floor(r.minY() * scale);
  float x1 = std::ceil(r.maxX() * scale), y1 = std::ceil(r.maxY() * scale);
  return cg::Rect(x0 / scale, y0 / scale, (x1 - x0) / scale, (y1 - y0) / scale);
}

struct PixelBox {
  int x0, y0, x1, y1;
};

// Copies a box of pixels from one ARGB surface of the same size to another.
void copyPixels(cairo_surface_t* from, cairo_surface_t* to, const PixelBox& b) {
  const unsigned char* src = cairo_image_surface_get_data(from);
  unsigned char* dst = cairo_image_surface_get_data(to);
  int ss = cairo_image_surface_get_stride(from), ds = cairo_image_surface_get_stride(to);
  for (int y = b.y0; y < b.y1; ++y)
    std::memcpy(dst + std::size_t(y) * std::size_t(ds) + std::size_t(b.x0) * 4,
                src + std::size_t(y) * std::size_t(ss) + std::size_t(b.x0) * 4, std::size_t(b.x1 - b.x0) * 4);
}

}  // namespace

bool Window::needsRedraw() const {
  return whollyDamaged_ || !damage_.empty() || !scrolls_.empty() ||
         (showsStatusBar_ && statusBarState() != shownStatusBar_);
}

void Window::setNeedsRedraw() {
  whollyDamaged_ = true;
  damage_.clear();
  scrolls_.clear();
}

void Window::addDamage(cg::Rect r) {
  if (whollyDamaged_) return;
  cg::Rect all(0, 0, frame().width(), frame().height());
  r = r.intersection(all);
  if (r.isEmpty()) return;
  for (bool merged = true; merged;) {
    merged = false;
    for (auto it = damage_.begin(); it != damage_.end(); ++it) {
      if (it->contains(r)) return;
      if (worthMerging(*it, r)) {
        r = r.unionWith(*it);
        damage_.erase(it);
        merged = true;
        break;
      }
    }
  }
  if (r.contains(all)) return setNeedsRedraw();
  damage_.push_back(r);
  // Too many: the two whose union adds least become one.
  while (damage_.size() > kMaxDamageRects) {
    std::size_t a = 0, b = 1;
    float best = std::numeric_limits<float>::max();
    for (std::size_t i = 0; i < damage_.size(); ++i)
      for (std::size_t j = i + 1; j < damage_.size(); ++j) {
        cg::Rect u = damage_[i].unionWith(damage_[j]);
        float added = u.width() * u.height() - damage_[i].width() * damage_[i].height() -
                      damage_[j].width() * damage_[j].height();
        if (added < best) best = added, a = i, b = j;
      }
    cg::Rect u = damage_[a].unionWith(damage_[b]);
    damage_.erase(damage_.begin() + long(b));
    damage_.erase(damage_.begin() + long(a));
    if (u.contains(all)) return setNeedsRedraw();
    addDamage(u);
  }
}

void Window::viewDidScroll(View& view, cg::Point delta) {
  if (whollyDamaged_) return;
  Window* w = nullptr;
  cg::Rect shown = screenRect(&view, view.bounds(), w);
  if (w != this || shown.isEmpty()) return;
  // What was marked inside it moves with the content.
  std::vector<cg::Rect> moved;
  for (const cg::Rect& d : damage_) {
    cg::Rect inside = d.intersection(shown);
    if (!inside.isEmpty()) moved.push_back(inside.offsetBy(-delta.x, -delta.y).intersection(shown));
  }
  for (const cg::Rect& r : moved) addDamage(r);
  for (PendingScroll& p : scrolls_)
    if (p.view.lock().get() == &view) {
      p.delta = {p.delta.x + delta.x, p.delta.y + delta.y};
      return;
    }
  scrolls_.push_back({view.weak_from_this(), delta});
}

std::vector<cg::Rect> Window::moveScrolledPixels(cg::Context& context) {
  auto scrolls = std::move(scrolls_);
  scrolls_.clear();
  std::vector<cg::Rect> moved;
  for (const PendingScroll& p : scrolls) {
    if (whollyDamaged_) return {};
    auto view = p.view.lock();
    if (!view || view->window() != this) continue;
    if (!movePixelsOf(*view, p.delta, context, moved)) {
      Window* w = nullptr;
      addDamage(screenRect(view.get(), view->bounds(), w));
    }
  }
  return moved;
}

// Moves what a scroll view shows instead of drawing it again, when the
// pixels can be moved exactly: the view paints its whole area opaquely, lies
// on whole pixels, is drawn upright and unfaded, and moves by whole pixels.
// Then only the strip that comes into view and the views drawn over it are
// drawn again.
bool Window::movePixelsOf(View& view, cg::Point delta, cg::Context& context, std::vector<cg::Rect>& moved) {
  auto bg = view.backgroundColor();
  if (!bg || bg->a < 1) return false;
  for (const View* v = &view; v && v != this; v = v->superview()) {
    if (v->isHidden() || v->presentationAlpha() < 1 || !v->presentationTransform().isIdentity() ||
        !(v->presentationFrame().size == v->bounds().size))
      return false;
    for (const PendingScroll& p : scrolls_)
      if (v != &view && p.view.lock().get() == v) return false;  // it moves inside one that moves
  }
  float scale = context.scale();
  float dx = delta.x * scale, dy = delta.y * scale;
  if (std::fabs(dx - std::round(dx)) > 1e-3f || std::fabs(dy - std::round(dy)) > 1e-3f) return false;
  Window* w = nullptr;
  cg::Rect shown = screenRect(&view, view.bounds(), w);
  if (shown.isEmpty()) return true;
  // The views drawn after it over its area; an opaque one that covers a
  // band along an edge leaves only the rest to move (the pixels it covers are
  // its own and stay).
  std::vector<const View*> over;
  for (const View* v = &view; v->superview(); v = v->superview()) {
    bool after = false;
    for (const auto& s : v->superview()->subviews()) {
      if (after && !s->isHidden() && s->presentationAlpha() > 0) over.push_back(s.get());
      if (s.get() == v) after = true;
    }
  }
  for (const View* s : over) {
    auto color = s->backgroundColor();
    if (!color || color->a < 1 || s->presentationAlpha() < 1) continue;
    cg::Rect covered = screenRect(s, s->bounds(), w);
    if (!covered.intersects(shown)) continue;
    bool fullHeight = covered.minY() <= shown.minY() && covered.maxY() >= shown.maxY();
    bool fullWidth = covered.minX() <= shown.minX() && covered.maxX() >= shown.maxX();
    if (fullHeight && covered.minX() <= shown.minX()) shown = cg::Rect(covered.maxX(), shown.y(), shown.maxX() - covered.maxX(), shown.height());
    else if (fullHeight && covered.maxX() >= shown.maxX()) shown.size.width = covered.minX() - shown.minX();
    else if (fullWidth && covered.minY() <= shown.minY()) shown = cg::Rect(shown.x(), covered.maxY(), shown.width(), shown.maxY() - covered.maxY());
    else if (fullWidth && covered.maxY() >= shown.maxY()) shown.size.height = covered.minY() - shown.minY();
    if (shown.isEmpty()) return true;
  }
  // A clip with edges between pixels makes cairo compose what it cuts a
  // little differently: only a view on whole pixels is moved.
  cg::Rect outer = outerPixelsInPoints(shown, scale);
  if (std::fabs(outer.minX() - shown.minX()) * scale > 1e-3f || std::fabs(outer.minY() - shown.minY()) * scale > 1e-3f ||
      std::fabs(outer.maxX() - shown.maxX()) * scale > 1e-3f || std::fabs(outer.maxY() - shown.maxY()) * scale > 1e-3f)
    return false;
  int x0 = int(std::lround(outer.minX() * scale)), y0 = int(std::lround(outer.minY() * scale));
  int x1 = int(std::lround(outer.maxX() * scale)), y1 = int(std::lround(outer.maxY() * scale));
  int ix = int(std::round(dx)), iy = int(std::round(dy));
  if (std::abs(ix) >= x1 - x0 || std::abs(iy) >= y1 - y0) return false;
  if (!context.shiftPixels(x0, y0, x1 - x0, y1 - y0, ix, iy)) return false;
  moved.push_back(outer);
  const cg::Rect& inner = outer;
  // What comes into view.
  if (iy > 0) addDamage(cg::Rect(inner.minX(), inner.maxY() - delta.y, inner.width(), delta.y));
  if (iy < 0) addDamage(cg::Rect(inner.minX(), inner.minY(), inner.width(), -delta.y));
  if (ix > 0) addDamage(cg::Rect(inner.maxX() - delta.x, inner.minY(), delta.x, inner.height()));
  if (ix < 0) addDamage(cg::Rect(inner.minX(), inner.minY(), -delta.x, inner.height()));
  // Views drawn after it over its area were moved with it.
  for (const View* s : over) {
    int budget = 400;
    cg::Rect r = screenRect(s, s->drawnExtent(budget), w);
    addDamage(r.intersection(outer));
    addDamage(r.offsetBy(-delta.x, -delta.y).intersection(outer));  // where its pixels went
  }
  if (showsStatusBar_) {
    cg::Rect bar(0, 0, frame().width(), statusBarHeight());
    addDamage(bar.intersection(outer));
    addDamage(bar.offsetBy(-delta.x, -delta.y).intersection(outer));
  }
  return true;
}

void Window::render(cg::Context& context) {
  layoutIfNeeded();
  cg::Context::beginPicture();
  context.save();
  context.setFillColor(cg::Color::black());
  context.fillRect(cg::Rect(0, 0, frame().width(), frame().height()));
  context.restore();
  if (!isHidden()) {
    renderTree(context, true);
    drawStatusBar(context);
  }
}

std::vector<cg::Rect> Window::display(cg::Context& context) {
  // What was asked for before or during this display runs after it.
  struct PostAfter {
    std::vector<std::function<void()>>& work;
    ~PostAfter() {
      for (auto& fn : std::exchange(work, {})) ns::RunLoop::main().post(std::move(fn));
    }
  } after{afterDisplay_};
  layoutIfNeeded();
  cg::Context::beginPicture();
  float scale = context.scale();
  const void* surface = cairo_get_target(context.cairo());
  if (surface != shownSurface_ || context.pixelWidth() != shownWidth_ ||
      context.pixelHeight() != shownHeight_ || scale != shownScale_)
    setNeedsRedraw();
  std::string statusBar = showsStatusBar_ ? statusBarState() : std::string();
  if (statusBar != shownStatusBar_) addDamage(cg::Rect(0, 0, frame().width(), statusBarHeight()));
  std::vector<cg::Rect> moved = moveScrolledPixels(context);
  std::vector<cg::Rect> changed;
  cg::Rect all(0, 0, frame().width(), frame().height());
  if (whollyDamaged_) changed.push_back(outerPixelsInPoints(all, scale));
  else
    for (const cg::Rect& d : damage_) changed.push_back(outerPixelsInPoints(d, scale).intersection(all));
  damage_.clear();
  scrolls_.clear();
  whollyDamaged_ = false;
  shownSurface_ = surface;
  shownWidth_ = context.pixelWidth();
  shownHeight_ = context.pixelHeight();
  shownScale_ = scale;
  shownStatusBar_ = statusBar;
  // Moved pixels changed too, though they are not drawn again.
  auto withMoved = [&changed, &moved] {
    changed.insert(changed.end(), moved.begin(), moved.end());
    return changed;
  };
  if (changed.empty()) return withMoved();

  cairo_surface_t* target = cairo_get_target(context.cairo());
  bool image = cairo_surface_get_type(target) == CAIRO_SURFACE_TYPE_IMAGE &&
               cairo_image_surface_get_format(target) == CAIRO_FORMAT_ARGB32;
  int width = context.pixelWidth(), height = context.pixelHeight();
  std::vector<PixelBox> boxes;
  std::vector<cg::Rect> regions;
  for (const cg::Rect& r : changed) {
    PixelBox b{std::clamp(int(std::lround(r.minX() * scale)), 0, width), std::clamp(int(std::lround(r.minY() * scale)), 0, height),
               std::clamp(int(std::lround(r.maxX() * scale)), 0, width), std::clamp(int(std::lround(r.maxY() * scale)), 0, height)};
    if (b.x1 <= b.x0 || b.y1 <= b.y0) continue;
    boxes.push_back(b);
    regions.emplace_back(float(b.x0), float(b.y0), float(b.x1 - b.x0), float(b.y1 - b.y0));
  }
  bool whole = boxes.size() == 1 && boxes.front().x0 == 0 && boxes.front().y0 == 0 && boxes.front().x1 == width &&
               boxes.front().y1 == height;
  if (whole || !image) {
    drawChanges(context, regions, whole);
    return withMoved();
  }
  // cairo draws a shape that a clip cuts (a curve, a turned edge, a smoothed
  // bitmap) a little differently from the same shape uncut. So what changed
  // is drawn uncut, skipping only what lies wholly outside the changes, on a
  // scratch surface, and the changed boxes are copied from there.
  if (!scratch_ || scratch_->pixelWidth() != width || scratch_->pixelHeight() != height || scratch_->scale() != scale)
    scratch_ = std::make_unique<cg::Context>(cg::Context::bitmap(frame().width(), frame().height(), scale));
  drawChanges(*scratch_, regions, true);
  cairo_surface_t* drawn = cairo_get_target(scratch_->cairo());
  cairo_surface_flush(drawn);
  cairo_surface_flush(target);
  for (const PixelBox& b : boxes) copyPixels(drawn, target, b);
  cairo_surface_mark_dirty(target);
  return withMoved();
}

// Draws the tree where the regions (the context's pixels) show: over a black
// ground, skipping the views that miss them or that opaque views cover.
void Window::drawChanges(cg::Context& context, const std::vector<cg::Rect>& regions, bool uncut) {
  cg::Rect box = regions.front();
  for (const cg::Rect& r : regions) box = box.unionWith(r);
  context.save();
  cairo_t* cr = context.cairo();
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_new_path(cr);
  for (const cg::Rect& r : regions) cairo_rectangle(cr, r.x(), r.y(), r.width(), r.height());
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_fill(cr);
  cairo_restore(cr);
  if (!uncut) context.clipToPixelRect(int(box.x()), int(box.y()), int(box.width()), int(box.height()));
  context.setPixelLimit(regions);
  if (!isHidden()) {
    RenderPass(context, true, box, regions).draw(*this, true);
    drawStatusBar(context);
  }
  context.setPixelLimit({});
  context.restore();
}

// What the status bar shows; it is drawn again when this changes.
std::string Window::statusBarState() const {
  std::time_t now = static_cast<std::time_t>(ns::Clock::current().now());
  std::tm local{};
  localtime_r(&now, &local);
  char clock[16];
  std::strftime(clock, sizeof clock, "%H:%M", &local);
  return std::string(clock) + (Application::shared().isNetworkActivityIndicatorVisible() ? "+" : "-");
}

void Window::setShowsStatusBar(bool shows) {
  if (showsStatusBar_ == shows) return;
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
    // It turns a spoke every twelfth of a second: the window is drawn again then.
    int turn = int(std::fmod(ns::Clock::current().now() * 12, 12.0));
    std::weak_ptr<View> weak = weak_from_this();
    ns::RunLoop::main().performAfter(this, "networkSpinner", 1.0 / 12, [weak] {
      if (auto self = std::static_pointer_cast<Window>(weak.lock())) self->setNeedsRedraw();
    });
    for (int i = 0; i < 12; ++i) {
      float a = float(i + turn) * 3.14159265f / 6;
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
