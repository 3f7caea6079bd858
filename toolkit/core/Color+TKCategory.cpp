#include "toolkit/core/Color+TKCategory.h"

#include <algorithm>
#include <cmath>

void TKColorRGBToHSV(float r, float g, float b, float* h, float* s, float* v) {
  float max = std::max({r, g, b});
  float min = std::min({r, g, b});
  *v = max;
  if (max == 0) {
    *s = 0;
    *h = -1;
    return;
  }
  float delta = max - min;
  *s = delta / max;
  if (delta == 0) {  // a grey: any hue would do, 0 keeps it a number
    *h = 0;
    return;
  }
  float sector;
  if (r == max)
    sector = (g - b) / delta;
  else if (g == max)
    sector = 2 + (b - r) / delta;
  else
    sector = 4 + (r - g) / delta;
  *h = sector * 60;
  if (*h < 0) *h += 360;
}

void TKColorHSVToRGB(float* r, float* g, float* b, float h, float s, float v) {
  if (s == 0) {
    *r = *g = *b = v;
    return;
  }
  if (!std::isfinite(h)) h = 0;
  h = std::fmod(h, 360.0f);
  if (h < 0) h += 360;
  float sectorf = h / 60;
  int i = std::clamp(static_cast<int>(std::floor(sectorf)), 0, 5);
  float f = sectorf - i;
  float p = v * (1 - s);
  float q = v * (1 - s * f);
  float t = v * (1 - s * (1 - f));
  switch (i) {
    case 0: *r = v, *g = t, *b = p; break;
    case 1: *r = q, *g = v, *b = p; break;
    case 2: *r = p, *g = v, *b = t; break;
    case 3: *r = p, *g = q, *b = v; break;
    case 4: *r = t, *g = p, *b = v; break;
    default: *r = v, *g = p, *b = q; break;
  }
}

namespace cg {

namespace {
struct HSV {
  float h, s, v;
};
HSV toHSV(const Color& c) {
  HSV x;
  TKColorRGBToHSV(c.r, c.g, c.b, &x.h, &x.s, &x.v);
  return x;
}
}  // namespace

Color colorWithHue(float hue, float saturation, float value, float alpha) {
  float r, g, b;
  TKColorHSVToRGB(&r, &g, &b, hue, saturation, value);
  return Color(r, g, b, alpha);
}

Color multiplyHue(const Color& color, float hue, float saturation, float value) {
  HSV x = toHSV(color);
  return colorWithHue(x.h * hue, x.s * saturation, x.v * value, color.a);
}

Color addHue(const Color& color, float hue, float saturation, float value) {
  HSV x = toHSV(color);
  return colorWithHue(x.h + hue, x.s + saturation, x.v + value, color.a);
}

Color highlight(const Color& color) { return multiplyHue(color, 1, 0.4f, 1.2f); }

Color shadow(const Color& color) { return multiplyHue(color, 1, 0.6f, 0.6f); }

Color copyWithAlpha(const Color& color, float alpha) { return Color(color.r, color.g, color.b, alpha); }

float hue(const Color& color) { return toHSV(color).h; }
float saturation(const Color& color) { return toHSV(color).s; }
float value(const Color& color) { return toHSV(color).v; }

}  // namespace cg
