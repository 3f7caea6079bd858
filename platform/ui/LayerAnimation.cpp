#include "platform/ui/LayerAnimation.h"

#include <algorithm>
#include <limits>

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Animator.h"
#include "platform/ui/TransitionView.h"

namespace ui {

namespace {

constexpr double kFrameInterval = 1.0 / 60;

bool knownKeyPath(const std::string& k) {
  return k == "position" || k == "position.x" || k == "position.y" || k == "opacity";
}

// One running animation on one view.
struct Entry {
  std::weak_ptr<View> view;
  const View* target = nullptr;  // identity, for lookups after the view is gone
  std::string key;
  std::shared_ptr<KeyframeAnimation> animation;  // null for a fade transition
  std::shared_ptr<TransitionView> fade;
  double fadeDuration = 0;
  double start = 0;
};

struct Runner {
  std::vector<std::shared_ptr<Entry>> entries;
  ns::Timer timer;

  static Runner& get() {
    static Runner r;
    return r;
  }

  static void show(View& v, const KeyframeAnimation& a, double progress) {
    const std::string& k = a.keyPath();
    if (k == "opacity") {
      float alpha = std::clamp(float(a.valueAtProgress(progress)), 0.0f, 1.0f);
      Animator::presentAlpha(v, &alpha);
      return;
    }
    cg::Rect f = v.frame();
    cg::Point c{f.midX(), f.midY()};
    if (k == "position") c = a.pointAtProgress(progress);
    else if (k == "position.x") c.x = float(a.valueAtProgress(progress));
    else c.y = float(a.valueAtProgress(progress));
    cg::Rect moved(c.x - f.width() / 2, c.y - f.height() / 2, f.width(), f.height());
    Animator::presentFrame(v, &moved);
  }

  static void clear(const Entry& e) {
    if (e.fade) e.fade->removeFromSuperview();
    auto v = e.view.lock();
    if (!v || !e.animation) return;
    if (e.animation->keyPath() == "opacity") Animator::presentAlpha(*v, nullptr);
    else Animator::presentFrame(*v, nullptr);
  }

  void tick() {
    double now = ns::Clock::current().now();
    std::vector<std::shared_ptr<Entry>> ended;
    for (auto& e : entries) {
      auto v = e->view.lock();
      double elapsed = now - e->start;
      if (!v) {
        ended.push_back(e);
        continue;
      }
      if (e->fade) {
        double p = e->fadeDuration > 0 ? elapsed / e->fadeDuration : 1;
        e->fade->setProgress(float(p));
        if (p >= 1) ended.push_back(e);
        continue;
      }
      if (elapsed >= e->animation->activeDuration()) {
        ended.push_back(e);
        continue;
      }
      show(*v, *e->animation, e->animation->progressAt(elapsed));
    }
    for (auto& e : ended) finish(e, true);
  }

  void finish(const std::shared_ptr<Entry>& e, bool finished) {
    auto it = std::find(entries.begin(), entries.end(), e);
    if (it == entries.end()) return;
    entries.erase(it);
    if (entries.empty()) timer.invalidate();
    clear(*e);
    if (e->animation && e->animation->didStop) e->animation->didStop(finished);
  }

  void add(std::shared_ptr<Entry> e) {
    // Left from before the run loop was reset (tests): drop without telling.
    if (!timer.isValid()) {
      for (auto& stale : entries) clear(*stale);
      entries.clear();
    }
    entries.push_back(std::move(e));
    if (!timer.isValid())
      timer = ns::RunLoop::main().scheduleTimer(kFrameInterval, true, [this] { tick(); });
    tick();
  }

  std::shared_ptr<Entry> find(const View& v, const std::string& key) const {
    for (auto& e : entries)
      if (e->target == &v && e->key == key && !e->view.expired()) return e;
    return nullptr;
  }
};

}  // namespace

// --- the animation --------------------------------------------------------------------

std::shared_ptr<KeyframeAnimation> KeyframeAnimation::animationWithKeyPath(const std::string& keyPath) {
  return std::shared_ptr<KeyframeAnimation>(new KeyframeAnimation(keyPath));
}

std::shared_ptr<KeyframeAnimation> KeyframeAnimation::basicAnimation(const std::string& keyPath, double from,
                                                                     double to) {
  auto a = animationWithKeyPath(keyPath);
  a->values = {from, to};
  return a;
}

double KeyframeAnimation::activeDuration() const {
  if (std::isinf(repeatCount)) return std::numeric_limits<double>::infinity();
  double cycles = repeatCount > 0 ? repeatCount : 1;
  return cycles * cycleDuration();
}

double KeyframeAnimation::progressAt(double elapsed) const {
  if (duration <= 0) return 1;
  double active = activeDuration();
  if (elapsed >= active) elapsed = active;  // rests on its last value
  double cycle = cycleDuration();
  double t = std::fmod(std::max(0.0, elapsed), cycle);
  if (elapsed > 0 && t == 0) t = cycle;  // the end of a cycle, not the start of the next
  if (autoreverses && t > duration) return (cycle - t) / duration;
  return std::min(1.0, t / duration);
}

// The frame to start from and the fraction of the way to the next one.
std::pair<size_t, double> KeyframeAnimation::segmentAt(double p, size_t count) const {
  if (count < 2) return {0, 0};
  p = std::clamp(p, 0.0, 1.0);
  if (keyTimes.size() == count) {
    for (size_t i = 0; i + 1 < count; ++i) {
      double a = keyTimes[i], b = keyTimes[i + 1];
      if (p <= b || i + 2 == count) {
        double span = b - a;
        return {i, span > 0 ? std::clamp((p - a) / span, 0.0, 1.0) : 1.0};
      }
    }
  }
  double scaled = p * double(count - 1);
  size_t i = std::min(count - 2, size_t(scaled));
  return {i, scaled - double(i)};
}

double KeyframeAnimation::valueAtProgress(double p) const {
  if (values.empty()) return 0;
  if (values.size() == 1) return values[0];
  auto [i, f] = segmentAt(p, values.size());
  return values[i] + (values[i + 1] - values[i]) * f;
}

cg::Point KeyframeAnimation::pointAtProgress(double p) const {
  if (pointValues.empty()) return {};
  if (pointValues.size() == 1) return pointValues[0];
  auto [i, f] = segmentAt(p, pointValues.size());
  const cg::Point& a = pointValues[i];
  const cg::Point& b = pointValues[i + 1];
  return {float(a.x + (b.x - a.x) * f), float(a.y + (b.y - a.y) * f)};
}

// --- on views ------------------------------------------------------------------------------

void addAnimation(View& view, std::shared_ptr<KeyframeAnimation> animation, const std::string& key) {
  if (!animation || !knownKeyPath(animation->keyPath()) || view.weak_from_this().expired()) return;
  auto& r = Runner::get();
  if (auto old = r.find(view, key)) r.finish(old, false);
  auto e = std::make_shared<Entry>();
  e->view = view.weak_from_this();
  e->target = &view;
  e->key = key;
  e->animation = std::move(animation);
  e->start = ns::Clock::current().now();
  r.add(std::move(e));
}

void removeAnimation(View& view, const std::string& key) {
  auto& r = Runner::get();
  if (auto e = r.find(view, key)) r.finish(e, false);
}

void removeAllAnimations(View& view) {
  auto& r = Runner::get();
  std::vector<std::shared_ptr<Entry>> mine;
  for (auto& e : r.entries)
    if (e->target == &view && e->animation) mine.push_back(e);
  for (auto& e : mine) r.finish(e, false);
}

KeyframeAnimation* animationForKey(const View& view, const std::string& key) {
  auto e = Runner::get().find(view, key);
  return e ? e->animation.get() : nullptr;
}

void fadeTransition(View& view, double duration) {
  if (view.weak_from_this().expired() || duration <= 0 || !View::areAnimationsEnabled()) return;
  auto before = TransitionView::snapshotOf(view);
  if (!before) return;
  auto& r = Runner::get();
  if (auto old = r.find(view, "transition")) r.finish(old, false);
  auto e = std::make_shared<Entry>();
  e->view = view.weak_from_this();
  e->target = &view;
  e->key = "transition";
  e->fade = std::make_shared<TransitionView>(TransitionView::Kind::Fade, before, view.bounds());
  e->fadeDuration = duration;
  e->start = ns::Clock::current().now();
  view.addSubview(e->fade);
  r.add(std::move(e));
}

}  // namespace ui
