#pragma once
// Key-frame animations of a view's layer: its position ("position",
// "position.x", "position.y": the centre in the superview) and its opacity
// ("opacity"). Values with per-frame times (fractions of the duration),
// linear between frames; a duration, auto-reverse and a repeat count. They
// run on the main run loop's clock and change only what is drawn: the
// model value stays as set, so a caller sets it to the end value first.
// A cross-fade transition shows the view's old picture fading over its new
// content.
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace ui {

class KeyframeAnimation {
 public:
  static std::shared_ptr<KeyframeAnimation> animationWithKeyPath(const std::string& keyPath);
  // A two-value animation from one value to another.
  static std::shared_ptr<KeyframeAnimation> basicAnimation(const std::string& keyPath, double from, double to);

  const std::string& keyPath() const { return keyPath_; }

  // Values of a one-number key path ("position.x", "position.y", "opacity").
  std::vector<double> values;
  // Values of "position".
  std::vector<cg::Point> pointValues;
  // The time of each value as a fraction of the duration, rising from 0 to
  // 1; empty (or of another length): evenly spaced.
  std::vector<double> keyTimes;
  double duration = 0.25;  // the platform's default
  bool autoreverses = false;
  // Cycles to run (0 counts as 1); HUGE_VALF runs until removed.
  float repeatCount = 0;
  // Told once the animation ends (finished) or is removed early (not finished).
  std::function<void(bool finished)> didStop;

  // Length of one cycle (twice the duration when it reverses).
  double cycleDuration() const { return autoreverses ? 2 * duration : duration; }
  // Total running time; infinity when it repeats for ever.
  double activeDuration() const;
  // The progress through the key frames (0..1) at a time since the start.
  double progressAt(double elapsed) const;
  // The value at a progress through the key frames.
  double valueAtProgress(double progress) const;
  cg::Point pointAtProgress(double progress) const;

 private:
  explicit KeyframeAnimation(std::string keyPath) : keyPath_(std::move(keyPath)) {}
  std::pair<size_t, double> segmentAt(double progress, size_t count) const;
  std::string keyPath_;
};

// Adds the animation to the view under a key, replacing one of that key
// (which stops unfinished). An animation of an unknown key path is ignored.
void addAnimation(View& view, std::shared_ptr<KeyframeAnimation> animation, const std::string& key);
void removeAnimation(View& view, const std::string& key);
void removeAllAnimations(View& view);
KeyframeAnimation* animationForKey(const View& view, const std::string& key);

// Takes the view's picture now; what changes next appears by a cross-fade
// over the duration.
void fadeTransition(View& view, double duration);

}  // namespace ui
