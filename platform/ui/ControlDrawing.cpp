#include "platform/ui/ControlDrawing.h"

#include <algorithm>

#include "platform/graphics/Context.h"

namespace ui {

void fillRoundedRect(cg::Context& context, cg::Rect rect, float radius, cg::Color color) {
  context.save();
  context.beginPath();
  context.addRoundedRect(rect, radius);
  context.setFillColor(color);
  context.fillPath();
  context.restore();
}

void fillRoundedRectWithGradient(cg::Context& context, cg::Rect rect, float radius, cg::Color top, cg::Color bottom) {
  context.save();
  context.beginPath();
  context.addRoundedRect(rect, radius);
  context.clip();
  context.drawLinearGradient({top, bottom}, {0, 1}, {0, rect.minY()}, {0, rect.maxY()});
  context.restore();
}

void strokeRoundedRect(cg::Context& context, cg::Rect rect, float radius, cg::Color color, float width) {
  context.save();
  context.beginPath();
  context.addRoundedRect(rect, radius);
  context.setStrokeColor(color);
  context.setLineWidth(width);
  context.strokePath();
  context.restore();
}

cg::Color scaledColor(cg::Color c, float k) {
  return cg::Color(std::min(1.0f, c.r * k), std::min(1.0f, c.g * k), std::min(1.0f, c.b * k), c.a);
}

}  // namespace ui
