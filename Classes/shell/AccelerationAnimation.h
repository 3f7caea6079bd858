#pragma once
// The floating reading view's glide: a key-frame animation of one number
// whose frames are sampled from an easing function (an evaluator), and the
// three evaluators. Main thread only (the animation runs on the layer).
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/LayerAnimation.h"

// Eased progress for t in 0..1.
class Evaluator {
 public:
  virtual ~Evaluator() = default;
  virtual double evaluateAt(double t) const = 0;
};

// (1 - e^(-k t)) / (1 - e^(-k)): a fast start that settles gently.
class ExponentialDecayEvaluator : public Evaluator {
 public:
  explicit ExponentialDecayEvaluator(double coefficient);  // initWithCoefficient:
  double evaluateAt(double t) const override;
  double coeff, offset, scale;
};

// The cubic Bezier from 0 to 1 with two inner control values.
class BezierEvaluator : public Evaluator {
 public:
  BezierEvaluator(double first, double second) : firstControlPoint(first), secondControlPoint(second) {}
  double evaluateAt(double t) const override;
  double firstControlPoint, secondControlPoint;
};

// The step response of an under-damped second-order system (0 < zeta < 1),
// not normalised to end at 1.
class SecondOrderResponseEvaluator : public Evaluator {
 public:
  SecondOrderResponseEvaluator(double omega_, double zeta_) : omega(omega_), zeta(zeta_) {}
  double evaluateAt(double t) const override;
  double omega, zeta;
};

class AccelerationAnimation {
 public:
  // animationWithKeyPath:startValue:endValue:evaluationObject:interstitialSteps:
  static std::shared_ptr<ui::KeyframeAnimation> animationWithKeyPath(const std::string& keyPath, double start,
                                                                     double end, const Evaluator& evaluator,
                                                                     unsigned steps);
  // steps + 2 values at t = 0, 1/(steps+1), ... (t grows by repeated addition).
  static std::vector<double> calculateKeyFrames(const Evaluator& evaluator, double start, double end,
                                                unsigned steps);
};
