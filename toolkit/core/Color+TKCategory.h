#pragma once
// Colour arithmetic in HSV space (on the graphics layer's HSV conversions):
// hue in degrees 0..360, the rest 0..1.
#include "platform/graphics/Color.h"

// Black gives hue -1; any other grey hue 0 (never not-a-number).
void TKColorRGBToHSV(float r, float g, float b, float* h, float* s, float* v);
// Any hue is taken round the circle (360 is red again); a hue that is no
// finite number counts as 0; saturation and value are clamped to 0..1.
void TKColorHSVToRGB(float* r, float* g, float* b, float h, float s, float v);

namespace cg {

Color colorWithHue(float hue, float saturation, float value, float alpha);
// The colour's hue, saturation and value multiplied by (added to) the
// factors; alpha kept.
Color multiplyHue(const Color& color, float hue, float saturation, float value);
Color addHue(const Color& color, float hue, float saturation, float value);
Color highlight(const Color& color);  // saturation x 0.4, value x 1.2
Color shadow(const Color& color);     // saturation and value x 0.6
Color copyWithAlpha(const Color& color, float alpha);
float hue(const Color& color);
float saturation(const Color& color);
float value(const Color& color);

}  // namespace cg
