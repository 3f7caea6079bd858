#pragma once
// Hue, saturation and value of a colour, and colours built from them: the
// drawing styles lighten, darken and tint their colours in HSV. Hue in
// degrees (0..360), saturation and value in 0..1.
#include <algorithm>
#include <cmath>

#include "platform/graphics/Color.h"

namespace cg {

struct HSV {
  Float hue = 0, saturation = 0, value = 0;
};

inline HSV hsvOfColor(const Color& c) {
  Float mx = std::max({c.r, c.g, c.b}), mn = std::min({c.r, c.g, c.b});
  Float delta = mx - mn;
  HSV out;
  out.value = mx;
  out.saturation = mx > 0 ? delta / mx : 0;
  if (delta <= 0) return out;
  Float h;
  if (mx == c.r) {
    h = (c.g - c.b) / delta;
  } else if (mx == c.g) {
    h = 2 + (c.b - c.r) / delta;
  } else {
    h = 4 + (c.r - c.g) / delta;
  }
  h *= 60;
  if (h < 0) h += 360;
  out.hue = h;
  return out;
}

// Values outside 0..1 are clamped, as the platform's colour constructor does.
inline Color colorWithHSV(Float hue, Float saturation, Float value, Float alpha = 1) {
  Float s = std::clamp(saturation, Float(0), Float(1));
  Float v = std::clamp(value, Float(0), Float(1));
  // A hue that is no finite number counts as 0, so no NaN reaches the
  // integer conversion of its sector below.
  Float h = std::isfinite(hue) ? std::fmod(hue, Float(360)) : Float(0);
  if (h < 0) h += 360;
  if (s <= 0) return Color(v, v, v, alpha);
  h /= 60;
  int i = static_cast<int>(std::floor(h)) % 6;
  Float f = h - std::floor(h);
  Float p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
  switch (i) {
    case 0: return Color(v, t, p, alpha);
    case 1: return Color(q, v, p, alpha);
    case 2: return Color(p, v, t, alpha);
    case 3: return Color(p, q, v, alpha);
    case 4: return Color(t, p, v, alpha);
    default: return Color(v, p, q, alpha);
  }
}

// The colour with its hue, saturation and value multiplied (alpha kept).
inline Color multiplyHSV(const Color& c, Float h, Float s, Float v) {
  HSV x = hsvOfColor(c);
  return colorWithHSV(x.hue * h, x.saturation * s, x.value * v, c.a);
}

// The colour with hue (degrees), saturation and value added (alpha kept).
inline Color addHSV(const Color& c, Float h, Float s, Float v) {
  HSV x = hsvOfColor(c);
  return colorWithHSV(x.hue + h, x.saturation + s, x.value + v, c.a);
}

}  // namespace cg
