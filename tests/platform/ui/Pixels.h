#pragma once
// Measuring what a test drew: pixels, and the box of the pixels that differ
// from a background.
#include <cstdlib>
#include <memory>

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Image.h"

namespace testpixels {

inline std::shared_ptr<ui::Image> solidImage(cg::Color color, cg::Size size) {
  cg::Context ctx = cg::Context::bitmap(size.width, size.height);
  ctx.setFillColor(color);
  ctx.fillRect(cg::Rect(0, 0, size.width, size.height));
  return ui::Image::imageWithCGImage(ctx.makeImage());
}

inline bool near(cg::RGBA a, cg::RGBA b, int tolerance = 8) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

// The box of pixels inside `area` that differ from `background` by more than
// the tolerance; empty when none do.
inline cg::Rect inkBox(const cg::Image& image, cg::Rect area, cg::RGBA background, int tolerance = 40) {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
  for (int y = int(area.minY()); y < int(area.maxY()); ++y)
    for (int x = int(area.minX()); x < int(area.maxX()); ++x)
      if (!near(image.pixelAt(x, y), background, tolerance)) {
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
      }
  if (x1 < 0) return {};
  return cg::Rect(float(x0), float(y0), float(x1 - x0 + 1), float(y1 - y0 + 1));
}

}  // namespace testpixels
