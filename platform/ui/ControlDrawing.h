#pragma once
// Shapes the controls draw themselves with: rounded rectangles filled plain
// or with a vertical gradient, and outlined. Each leaves the context's state
// as it found it.
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"

namespace cg {
class Context;
}

namespace ui {

void fillRoundedRect(cg::Context& context, cg::Rect rect, float radius, cg::Color color);
void fillRoundedRectWithGradient(cg::Context& context, cg::Rect rect, float radius, cg::Color top, cg::Color bottom);
void strokeRoundedRect(cg::Context& context, cg::Rect rect, float radius, cg::Color color, float width = 1);
// The colour with its components multiplied (capped at 1): lighter above 1, darker below.
cg::Color scaledColor(cg::Color color, float factor);

}  // namespace ui
