#pragma once
// Measuring what a test drew: pixels, and the box of the pixels that differ
// from a background.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

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

// The box of the pixels in which two pictures differ at all; empty when they
// are the same (a huge box when their sizes differ).
inline cg::Rect differingPixels(const cg::Image& a, const cg::Image& b) {
  if (a.width() != b.width() || a.height() != b.height()) return cg::Rect(0, 0, 1e6f, 1e6f);
  cairo_surface_flush(a.surface());
  cairo_surface_flush(b.surface());
  const unsigned char* pa = cairo_image_surface_get_data(a.surface());
  const unsigned char* pb = cairo_image_surface_get_data(b.surface());
  int sa = cairo_image_surface_get_stride(a.surface()), sb = cairo_image_surface_get_stride(b.surface());
  int x0 = a.width(), y0 = a.height(), x1 = -1, y1 = -1;
  for (int y = 0; y < a.height(); ++y) {
    if (std::memcmp(pa + y * sa, pb + y * sb, std::size_t(a.width()) * 4) == 0) continue;
    for (int x = 0; x < a.width(); ++x)
      if (std::memcmp(pa + y * sa + 4 * x, pb + y * sb + 4 * x, 4) != 0) {
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
      }
  }
  if (x1 < 0) return {};
  return cg::Rect(float(x0), float(y0), float(x1 - x0 + 1), float(y1 - y0 + 1));
}

// Copies the areas (points) of one context's pixels to another's, as a
// window backend shows only the areas a display says changed.
inline void copyAreas(cg::Context& from, cg::Context& to, const std::vector<cg::Rect>& areas) {
  cairo_surface_t* source = cairo_get_target(from.cairo());
  cairo_surface_flush(source);
  cairo_t* cr = cairo_create(cairo_get_target(to.cairo()));
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, source, 0, 0);
  float scale = from.scale();
  for (const cg::Rect& r : areas) cairo_rectangle(cr, r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale);
  cairo_fill(cr);
  cairo_destroy(cr);
}

}  // namespace testpixels
