#pragma once
// Colours as four floats in 0..1, not premultiplied.
#include <algorithm>

#include "platform/graphics/Geometry.h"

namespace cg {

struct Color {
  Float r = 0, g = 0, b = 0, a = 1;

  constexpr Color() = default;
  constexpr Color(Float red, Float green, Float blue, Float alpha = 1)
      : r(red), g(green), b(blue), a(alpha) {}

  // From 0-255 components, the way colour tables are written.
  static constexpr Color fromRGB255(int red, int green, int blue, Float alpha = 1) {
    return Color(red / Float(255), green / Float(255), blue / Float(255), alpha);
  }
  static constexpr Color gray(Float white, Float alpha = 1) { return Color(white, white, white, alpha); }

  static constexpr Color black() { return Color(0, 0, 0, 1); }
  static constexpr Color white() { return Color(1, 1, 1, 1); }
  static constexpr Color clear() { return Color(0, 0, 0, 0); }
  static constexpr Color red() { return Color(1, 0, 0, 1); }
  static constexpr Color green() { return Color(0, 1, 0, 1); }
  static constexpr Color blue() { return Color(0, 0, 1, 1); }
  static constexpr Color yellow() { return Color(1, 1, 0, 1); }
  static constexpr Color cyan() { return Color(0, 1, 1, 1); }
  static constexpr Color magenta() { return Color(1, 0, 1, 1); }
  static constexpr Color orange() { return Color(1, Float(0.5), 0, 1); }
  static constexpr Color purple() { return Color(Float(0.5), 0, Float(0.5), 1); }
  static constexpr Color brown() { return Color(Float(0.6), Float(0.4), Float(0.2), 1); }
  static constexpr Color grayColor() { return gray(Float(0.5)); }
  static constexpr Color lightGray() { return gray(Float(2) / 3); }
  static constexpr Color darkGray() { return gray(Float(1) / 3); }

  constexpr Color withAlpha(Float alpha) const { return Color(r, g, b, alpha); }
  constexpr bool isClear() const { return a <= 0; }

  friend constexpr bool operator==(const Color&, const Color&) = default;
};

}  // namespace cg
