#include "Classes/shell/AccelerationAnimation.h"

#include <cmath>

ExponentialDecayEvaluator::ExponentialDecayEvaluator(double coefficient)
    : coeff(coefficient), offset(std::exp(-coefficient)), scale(1.0 / (1.0 - std::exp(-coefficient))) {}

double ExponentialDecayEvaluator::evaluateAt(double t) const {
  return 1.0 - scale * (std::exp(-coeff * t) - offset);
}

double BezierEvaluator::evaluateAt(double t) const {
  double u = 1.0 - t;
  return 3 * t * u * u * firstControlPoint + 3 * t * t * u * secondControlPoint + t * t * t;
}

double SecondOrderResponseEvaluator::evaluateAt(double t) const {
  double d = std::sqrt(1.0 - zeta * zeta);
  return 1.0 - (1.0 / d) * std::exp(-zeta * omega * t) * std::sin(d * omega * t + std::atan(d / zeta));
}

std::vector<double> AccelerationAnimation::calculateKeyFrames(const Evaluator& evaluator, double start, double end,
                                                              unsigned steps) {
  std::vector<double> values;
  values.reserve(steps + 2);
  double t = 0.0, dt = 1.0 / (steps + 1);
  for (unsigned i = 0; i < steps + 2; ++i, t += dt) values.push_back(start + evaluator.evaluateAt(t) * (end - start));
  return values;
}

std::shared_ptr<ui::KeyframeAnimation> AccelerationAnimation::animationWithKeyPath(const std::string& keyPath,
                                                                                   double start, double end,
                                                                                   const Evaluator& evaluator,
                                                                                   unsigned steps) {
  auto animation = ui::KeyframeAnimation::animationWithKeyPath(keyPath);
  animation->values = calculateKeyFrames(evaluator, start, end, steps);
  return animation;
}
