#include "platform/backend/sdl/WindowPixels.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>

namespace ui {

namespace {

PixelArea clipped(int x0, int y0, int x1, int y1, const PixelArea& bounds) {
  x0 = std::max(x0, bounds.x), y0 = std::max(y0, bounds.y);
  x1 = std::min(x1, bounds.x + bounds.width), y1 = std::min(y1, bounds.y + bounds.height);
  if (x1 <= x0 || y1 <= y0) return {};
  return {x0, y0, x1 - x0, y1 - y0};
}

// Paints the areas of the window from the screen scaled into `dest`, with
// bilinear filtering as a GPU's linear scaling does.
void paintScaled(cairo_surface_t* screen, const WindowPixels& window, const PixelArea& dest,
                 const std::vector<PixelArea>& areas) {
  cairo_surface_t* target =
      cairo_image_surface_create_for_data(window.data, CAIRO_FORMAT_RGB24, window.width, window.height, window.stride);
  cairo_t* cr = cairo_create(target);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(screen);
  cairo_matrix_t m;
  cairo_matrix_init_scale(&m, double(cairo_image_surface_get_width(screen)) / dest.width,
                          double(cairo_image_surface_get_height(screen)) / dest.height);
  cairo_matrix_translate(&m, -dest.x, -dest.y);
  cairo_pattern_set_matrix(pattern, &m);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);  // no dark seam at the screen's edges
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source(cr, pattern);
  for (const PixelArea& a : areas) cairo_rectangle(cr, a.x, a.y, a.width, a.height);
  cairo_fill(cr);
  cairo_pattern_destroy(pattern);
  cairo_destroy(cr);
  cairo_surface_flush(target);
  cairo_surface_destroy(target);
}

void copyUnscaled(cairo_surface_t* screen, const WindowPixels& window, const PixelArea& dest,
                  const std::vector<PixelArea>& areas) {
  const unsigned char* pixels = cairo_image_surface_get_data(screen);
  int stride = cairo_image_surface_get_stride(screen);
  for (const PixelArea& a : areas)
    for (int y = a.y; y < a.y + a.height; ++y)
      std::memcpy(window.data + std::size_t(y) * window.stride + std::size_t(a.x) * 4,
                  pixels + std::size_t(y - dest.y) * stride + std::size_t(a.x - dest.x) * 4, std::size_t(a.width) * 4);
}

// The scaler steps along a row from the area's left edge, so the same pixel
// comes out a shade different when an area starts elsewhere: scaled areas
// take the screen's whole rows (overlapping ones merged), which always start
// at its left edge, and equal a whole paint.
std::vector<PixelArea> fullRows(std::vector<PixelArea> areas, const PixelArea& visible) {
  std::sort(areas.begin(), areas.end(), [](const PixelArea& a, const PixelArea& b) { return a.y < b.y; });
  std::vector<PixelArea> rows;
  for (const PixelArea& a : areas) {
    if (!rows.empty() && a.y <= rows.back().y + rows.back().height) {
      rows.back().height = std::max(rows.back().height, a.y + a.height - rows.back().y);
      continue;
    }
    rows.push_back({visible.x, a.y, visible.width, a.height});
  }
  return rows;
}

void paintBlack(const WindowPixels& window, const PixelArea& a) {
  for (int y = a.y; y < a.y + a.height; ++y)
    std::memset(window.data + std::size_t(y) * window.stride + std::size_t(a.x) * 4, 0, std::size_t(a.width) * 4);
}

}  // namespace

std::vector<PixelArea> copyToWindow(cairo_surface_t* screen, float scale, const std::vector<cg::Rect>& changed,
                                    const WindowPixels& window, cg::Rect shown, bool whole) {
  PixelArea all{0, 0, window.width, window.height};
  int sw = cairo_image_surface_get_width(screen), sh = cairo_image_surface_get_height(screen);
  int dx = int(std::floor(shown.x())), dy = int(std::floor(shown.y()));
  PixelArea dest{dx, dy, int(std::lround(shown.width())), int(std::lround(shown.height()))};
  if (!window.data || dest.width <= 0 || dest.height <= 0 || sw <= 0 || sh <= 0) return {};
  bool unscaled = dest.width == sw && dest.height == sh;
  PixelArea visible = clipped(dest.x, dest.y, dest.x + dest.width, dest.y + dest.height, all);
  if (visible.width == 0) return {};

  std::vector<PixelArea> areas;
  if (whole) {
    // The bars: above, below, left and right of the screen.
    for (const PixelArea& bar : {clipped(0, 0, window.width, visible.y, all),
                                 clipped(0, visible.y + visible.height, window.width, window.height, all),
                                 clipped(0, visible.y, visible.x, visible.y + visible.height, all),
                                 clipped(visible.x + visible.width, visible.y, window.width,
                                         visible.y + visible.height, all)})
      if (bar.width > 0) paintBlack(window, bar);
    areas.push_back(visible);
  } else {
    double fx = double(dest.width) / sw, fy = double(dest.height) / sh;
    // The window's pixels that source pixels [s0, s1) reach: one to one, or
    // scaled, those whose centre maps within a source pixel of them (a
    // bilinear sample blends the two nearest), and one more for the scaler's
    // fixed-point rounding.
    auto reach = [unscaled](double s0, double s1, double f, int& d0, int& d1) {
      if (unscaled) {
        d0 = int(s0), d1 = int(s1);
        return;
      }
      d0 = int(std::ceil((s0 - 0.5) * f - 0.5)) - 1;
      d1 = int(std::ceil((s1 + 0.5) * f - 0.5)) + 1;
    };
    for (const cg::Rect& r : changed) {
      double sx0 = std::clamp(std::floor(r.minX() * scale), 0.0f, float(sw));
      double sy0 = std::clamp(std::floor(r.minY() * scale), 0.0f, float(sh));
      double sx1 = std::clamp(std::ceil(r.maxX() * scale), 0.0f, float(sw));
      double sy1 = std::clamp(std::ceil(r.maxY() * scale), 0.0f, float(sh));
      if (sx1 <= sx0 || sy1 <= sy0) continue;
      int x0, x1, y0, y1;
      reach(sx0, sx1, fx, x0, x1);
      reach(sy0, sy1, fy, y0, y1);
      PixelArea a = clipped(dest.x + x0, dest.y + y0, dest.x + x1, dest.y + y1, visible);
      if (a.width > 0) areas.push_back(a);
    }
    if (areas.empty()) return {};
    if (!unscaled) areas = fullRows(std::move(areas), visible);
  }
  if (unscaled) copyUnscaled(screen, window, dest, areas);
  else paintScaled(screen, window, dest, areas);
  if (whole) return {all};
  return areas;
}

bool rendersInSoftware(std::string_view sdlRenderer, std::string_view glRenderer) {
  if (sdlRenderer == "software") return true;
  std::string gl(glRenderer);
  std::transform(gl.begin(), gl.end(), gl.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  for (const char* rasteriser : {"llvmpipe", "softpipe", "swrast", "software"})
    if (gl.find(rasteriser) != std::string::npos) return true;
  return false;
}

}  // namespace ui
