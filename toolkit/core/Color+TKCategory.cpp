#include "toolkit/core/Color+TKCategory.h"

#include "platform/graphics/ColorHSV.h"

void TKColorRGBToHSV(float r, float g, float b, float* h, float* s, float* v) {
  cg::HSV x = cg::hsvOfColor(cg::Color(r, g, b));
  *h = x.value == 0 ? -1 : x.hue;  // black has no hue at all; other greys hue 0
  *s = x.saturation;
  *v = x.value;
}

void TKColorHSVToRGB(float* r, float* g, float* b, float h, float s, float v) {
  cg::Color c = cg::colorWithHSV(h, s, v);
  *r = c.r, *g = c.g, *b = c.b;
}

namespace cg {

Color colorWithHue(float hue, float saturation, float value, float alpha) {
  return colorWithHSV(hue, saturation, value, alpha);
}

Color multiplyHue(const Color& color, float hue, float saturation, float value) {
  return multiplyHSV(color, hue, saturation, value);
}

Color addHue(const Color& color, float hue, float saturation, float value) {
  return addHSV(color, hue, saturation, value);
}

Color highlight(const Color& color) { return multiplyHSV(color, 1, 0.4f, 1.2f); }

Color shadow(const Color& color) { return multiplyHSV(color, 1, 0.6f, 0.6f); }

Color copyWithAlpha(const Color& color, float alpha) { return Color(color.r, color.g, color.b, alpha); }

float hue(const Color& color) { return color.r == 0 && color.g == 0 && color.b == 0 ? -1 : hsvOfColor(color).hue; }
float saturation(const Color& color) { return hsvOfColor(color).saturation; }
float value(const Color& color) { return hsvOfColor(color).value; }

}  // namespace cg
