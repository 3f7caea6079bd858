#include "platform/ui/Animator.h"

#include <algorithm>
#include <cmath>
#include <variant>

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/TransitionView.h"

namespace ui {

namespace {

constexpr double kFrameInterval = 1.0 / 60;

using Value = std::variant<cg::Rect, float, cg::AffineTransform>;

struct Change {
  std::weak_ptr<View> view;
  AnimatedProperty property;
  Value from;
  Value to;
};

struct PageTransition {
  std::weak_ptr<View> view;
  TransitionView::Kind kind;
  std::shared_ptr<cg::Image> before;
  std::shared_ptr<TransitionView> overlay;
};

struct Block {
  std::string name;
  void* context = nullptr;
  double duration = 0.2;
  double delay = 0;
  AnimationCurve curve = AnimationCurve::EaseInOut;
  std::weak_ptr<const void> delegate;
  bool hasDelegate = false;
  AnimationDidStop didStop;
  std::vector<Change> changes;
  bool held = false;  // runs its time with no changes of its own
  std::vector<PageTransition> transitions;
};

struct Running {
  Block block;
  double start = 0;
};

float lerp(float a, float b, float t) { return a + (b - a) * t; }

Value interpolate(const Value& from, const Value& to, float t) {
  if (auto* a = std::get_if<float>(&from)) return lerp(*a, std::get<float>(to), t);
  if (auto* r = std::get_if<cg::Rect>(&from)) {
    const auto& q = std::get<cg::Rect>(to);
    return cg::Rect(lerp(r->x(), q.x(), t), lerp(r->y(), q.y(), t), lerp(r->width(), q.width(), t),
                    lerp(r->height(), q.height(), t));
  }
  const auto& m = std::get<cg::AffineTransform>(from);
  const auto& n = std::get<cg::AffineTransform>(to);
  return cg::AffineTransform{lerp(m.a, n.a, t),  lerp(m.b, n.b, t),  lerp(m.c, n.c, t),
                             lerp(m.d, n.d, t),  lerp(m.tx, n.tx, t), lerp(m.ty, n.ty, t)};
}

float ease(AnimationCurve curve, float t) {
  switch (curve) {
    case AnimationCurve::Linear: return t;
    case AnimationCurve::EaseIn: return t * t;
    case AnimationCurve::EaseOut: return 1 - (1 - t) * (1 - t);
    case AnimationCurve::EaseInOut: return t * t * (3 - 2 * t);
  }
  return t;
}

Value presentationValue(const View& v, AnimatedProperty p) {
  switch (p) {
    case AnimatedProperty::Frame: return v.presentationFrame();
    case AnimatedProperty::Alpha: return v.presentationAlpha();
    case AnimatedProperty::Transform: return v.presentationTransform();
  }
  return 0.0f;
}

Value modelValue(const View& v, AnimatedProperty p) {
  switch (p) {
    case AnimatedProperty::Frame: return v.frame();
    case AnimatedProperty::Alpha: return v.alpha();
    case AnimatedProperty::Transform: return v.transform();
  }
  return 0.0f;
}

bool sameTarget(const Change& c, const View* v, AnimatedProperty p) {
  return c.property == p && c.view.lock().get() == v;
}

}  // namespace

struct AnimatorState {
  std::vector<Block> open;
  std::vector<std::shared_ptr<Running>> running;
  ns::Timer timer;
  bool enabled = true;

  static AnimatorState& get() {
    static AnimatorState state;
    return state;
  }

  static void show(View& v, AnimatedProperty p, const Value* value) {
    v.damageDrawnArea();
    switch (p) {
      case AnimatedProperty::Frame:
        Animator::setFrame(v, value ? &std::get<cg::Rect>(*value) : nullptr);
        break;
      case AnimatedProperty::Alpha:
        Animator::setAlpha(v, value ? &std::get<float>(*value) : nullptr);
        break;
      case AnimatedProperty::Transform:
        Animator::setTransform(v, value ? &std::get<cg::AffineTransform>(*value) : nullptr);
        break;
    }
    v.damageDrawnArea();
  }

  // Forgets a running animation of the property; the view shows its model value.
  void dropRunning(const View* v, AnimatedProperty p) {
    for (auto& r : running) {
      auto& list = r->block.changes;
      list.erase(std::remove_if(list.begin(), list.end(),
                                [&](const Change& c) { return sameTarget(c, v, p); }),
                 list.end());
    }
  }

  static void callDidStop(const Block& b, bool finished) {
    if (!b.didStop) return;
    if (b.hasDelegate && b.delegate.expired()) return;
    b.didStop(b.name, finished, b.context);
  }

  void tick() {
    double now = ns::Clock::current().now();
    std::vector<std::shared_ptr<Running>> done;
    for (auto& r : running) {
      double elapsed = now - r->start;
      double t = r->block.duration > 0 ? elapsed / r->block.duration : 1;
      if (elapsed < 0) continue;
      t = std::clamp(t, 0.0, 1.0);
      float e = ease(r->block.curve, float(t));
      for (auto& c : r->block.changes) {
        auto view = c.view.lock();
        if (!view) continue;
        if (t >= 1) {
          show(*view, c.property, nullptr);
        } else {
          Value v = interpolate(c.from, c.to, e);
          show(*view, c.property, &v);
        }
      }
      for (auto& tr : r->block.transitions)
        if (tr.overlay) tr.overlay->setProgress(e);
      if (t >= 1) {
        for (auto& tr : r->block.transitions)
          if (tr.overlay) tr.overlay->removeFromSuperview();
        done.push_back(r);
      }
    }
    for (auto& r : done) running.erase(std::find(running.begin(), running.end(), r));
    if (running.empty()) timer.invalidate();
    for (auto& r : done) callDidStop(r->block, true);
  }

  void ensureTimer() {
    if (timer.isValid()) return;
    timer = ns::RunLoop::main().scheduleTimer(kFrameInterval, true, [this] { tick(); });
  }

  void commit(Block block) {
    // With no valid timer, anything still listed was left from before the run
    // loop was reset (tests): drop it without its did-stop call, whose
    // captures may be gone.
    if (!timer.isValid()) {
      for (auto& stale : running)
        for (auto& tr : stale->block.transitions)
          if (tr.overlay) tr.overlay->removeFromSuperview();
      for (auto& stale : running)
        for (auto& c : stale->block.changes)
          if (auto v = c.view.lock()) show(*v, c.property, nullptr);
      running.clear();
    }
    bool animate = enabled && block.duration > 0 &&
                   (!block.changes.empty() || block.held || !block.transitions.empty());
    if (!animate) {
      for (auto& c : block.changes)
        if (auto v = c.view.lock()) show(*v, c.property, nullptr);
      if (block.didStop) {
        auto shared = std::make_shared<Block>(std::move(block));
        ns::RunLoop::main().post([shared] { callDidStop(*shared, true); });
      }
      return;
    }
    for (auto& c : block.changes) {
      auto view = c.view.lock();
      if (!view) continue;
      dropRunning(view.get(), c.property);
      c.to = modelValue(*view, c.property);
      show(*view, c.property, &c.from);
    }
    // The old picture goes over the changed view until the turn is done.
    for (auto& tr : block.transitions) {
      auto view = tr.view.lock();
      if (!view || !tr.before) continue;
      tr.overlay = std::make_shared<TransitionView>(tr.kind, tr.before, view->bounds());
      view->addSubview(tr.overlay);
    }
    auto r = std::make_shared<Running>();
    r->start = ns::Clock::current().now() + block.delay;
    r->block = std::move(block);
    running.push_back(r);
    ensureTimer();
  }
};

void Animator::willChange(View& view, AnimatedProperty property) {
  auto& s = AnimatorState::get();
  auto self = view.weak_from_this();
  if (s.open.empty() || self.expired()) {
    // A change outside a block ends that property's animation at once.
    if (!s.running.empty()) {
      s.dropRunning(&view, property);
      AnimatorState::show(view, property, nullptr);
    }
    return;
  }
  auto& changes = s.open.back().changes;
  for (auto& c : changes)
    if (sameTarget(c, &view, property)) return;
  changes.push_back({self, property, presentationValue(view, property), {}});
}

void Animator::finishAll() {
  auto& s = AnimatorState::get();
  double now = ns::Clock::current().now();
  for (auto& r : s.running) {
    r->block.duration = 0;
    r->start = std::min(r->start, now);  // a delayed one ends too
  }
  if (!s.running.empty()) s.tick();
}

template <class F>
static void withOpenBlock(F&& f) {
  auto& s = AnimatorState::get();
  if (!s.open.empty()) f(s.open.back());
}

std::optional<Animator::Timing> Animator::openBlockTiming() {
  auto& s = AnimatorState::get();
  if (s.open.empty()) return std::nullopt;
  const Block& b = s.open.back();
  if (!s.enabled) return Timing{0, 0, b.curve};
  return Timing{b.duration, b.delay, b.curve};
}

void Animator::holdOpenBlock() {
  withOpenBlock([](Block& b) { b.held = true; });
}

float Animator::curveValue(AnimationCurve curve, float t) { return ease(curve, std::clamp(t, 0.0f, 1.0f)); }

// --- the View's animation block API ---------------------------------------------

void View::beginAnimations(const std::string& name, void* context) {
  Block b;
  b.name = name;
  b.context = context;
  AnimatorState::get().open.push_back(std::move(b));
}

void View::commitAnimations() {
  auto& s = AnimatorState::get();
  if (s.open.empty()) return;
  Block b = std::move(s.open.back());
  s.open.pop_back();
  s.commit(std::move(b));
}

void View::setAnimationDuration(double seconds) {
  withOpenBlock([&](Block& b) { b.duration = std::max(0.0, seconds); });
}
void View::setAnimationDelay(double seconds) {
  withOpenBlock([&](Block& b) { b.delay = std::max(0.0, seconds); });
}
void View::setAnimationCurve(AnimationCurve curve) {
  withOpenBlock([&](Block& b) { b.curve = curve; });
}
void View::setAnimationDelegate(std::weak_ptr<const void> delegate) {
  withOpenBlock([&](Block& b) {
    b.delegate = delegate;
    b.hasDelegate = true;
  });
}
void View::setAnimationDidStopSelector(AnimationDidStop didStop) {
  withOpenBlock([&](Block& b) { b.didStop = std::move(didStop); });
}
void View::setAnimationTransition(AnimationTransition transition, View* view, bool) {
  if (!view || (transition != AnimationTransition::CurlUp && transition != AnimationTransition::CurlDown)) return;
  withOpenBlock([&](Block& b) {
    auto kind = transition == AnimationTransition::CurlUp ? TransitionView::Kind::CurlUp : TransitionView::Kind::CurlDown;
    b.transitions.push_back({view->weak_from_this(), kind, TransitionView::snapshotOf(*view), nullptr});
  });
}

void View::setAnimationsEnabled(bool enabled) { AnimatorState::get().enabled = enabled; }
bool View::areAnimationsEnabled() { return AnimatorState::get().enabled; }
size_t View::runningAnimationCount() { return AnimatorState::get().running.size(); }

}  // namespace ui
