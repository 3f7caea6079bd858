#include "platform/ui/ProgressView.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"
#include "platform/ui/ControlDrawing.h"

namespace ui {

namespace {
float heightFor(ProgressViewStyle style) { return style == ProgressViewStyle::Bar ? 11 : 9; }
}  // namespace

ProgressView::ProgressView(ProgressViewStyle style) : View(cg::Rect(0, 0, 150, heightFor(style))), style_(style) {
  setOpaque(false);
}

void ProgressView::setProgressViewStyle(ProgressViewStyle style) {
  style_ = style;
  setNeedsDisplay();
}

void ProgressView::setProgress(float progress) {
  progress_ = std::isnan(progress) ? 0 : std::clamp(progress, 0.0f, 1.0f);
  setNeedsDisplay();
}

void ProgressView::drawRect(cg::Context& context, cg::Rect) {
  cg::Rect b = bounds().insetBy(0.5f, 0.5f);
  float radius = b.height() / 2;
  bool bar = style_ == ProgressViewStyle::Bar;
  fillRoundedRect(context, b, radius, bar ? cg::Color::gray(0.25f) : cg::Color::white());
  cg::Rect filled(b.x(), b.y(), std::max(b.height(), b.width() * progress_), b.height());
  if (progress_ > 0) {
    cg::Color top = bar ? cg::Color::gray(0.95f) : cg::Color::fromRGB255(111, 165, 245);
    cg::Color bottom = bar ? cg::Color::gray(0.7f) : cg::Color::fromRGB255(37, 98, 213);
    fillRoundedRectWithGradient(context, filled, radius, top, bottom);
  }
  strokeRoundedRect(context, b, radius, bar ? cg::Color::black() : cg::Color::gray(0.5f));
}

}  // namespace ui
