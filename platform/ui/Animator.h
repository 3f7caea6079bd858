#pragma once
// Runs the named view animations: records the drawn values of the properties
// changed inside a begin/commit block, then moves the views' presentation
// values to the new model values on a run-loop timer, and calls did-stop once.
#include "platform/ui/View.h"

namespace ui {

enum class AnimatedProperty { Frame, Alpha, Transform };

class Animator {
 public:
  // Called by a view's setter before the model value changes.
  static void willChange(View& view, AnimatedProperty property);
  // Ends every running animation at once (their did-stop calls still run).
  static void finishAll();
  // Shows a presentation value other than the model's (null: the model's);
  // the key-frame animations draw through this.
  static void presentFrame(View& v, const cg::Rect* r) {
    v.damageDrawnArea();
    setFrame(v, r);
    v.damageDrawnArea();
  }
  static void presentAlpha(View& v, const float* a) {
    setAlpha(v, a);
    v.damageDrawnArea();
  }

  // The timing of the innermost open begin/commit block, for views that
  // animate a value of their own with it (a scroll view's offset).
  struct Timing {
    double duration = 0.2;
    double delay = 0;
    AnimationCurve curve = AnimationCurve::EaseInOut;
  };
  static std::optional<Timing> openBlockTiming();
  // The open block runs its full time (and calls did-stop at its end) even
  // when no view property of its own changed.
  static void holdOpenBlock();
  // The eased progress of a curve at t in 0..1.
  static float curveValue(AnimationCurve curve, float t);

 private:
  friend class View;
  static void setFrame(View& v, const cg::Rect* r) { v.animFrame_ = r ? std::optional(*r) : std::nullopt; }
  static void setAlpha(View& v, const float* a) { v.animAlpha_ = a ? std::optional(*a) : std::nullopt; }
  static void setTransform(View& v, const cg::AffineTransform* t) {
    v.animTransform_ = t ? std::optional(*t) : std::nullopt;
  }
  friend struct AnimatorState;
};

}  // namespace ui
