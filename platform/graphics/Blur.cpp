#include "platform/graphics/Blur.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace cg {

namespace {

// One running-sum box pass of radius r over n values spaced `step` apart.
void boxPass(std::uint8_t* data, int n, int step, int r, std::vector<std::uint8_t>& line) {
  line.resize(n);
  for (int i = 0; i < n; ++i) line[i] = data[i * step];
  int window = 2 * r + 1;
  int sum = 0;
  for (int i = -r; i <= r; ++i) sum += (i >= 0 && i < n) ? line[i] : 0;
  for (int i = 0; i < n; ++i) {
    data[i * step] = std::uint8_t((sum + window / 2) / window);
    int out = i - r, in = i + r + 1;
    if (out >= 0) sum -= line[out];
    if (in < n) sum += line[in];
  }
}

}  // namespace

cairo_surface_t* blurredAlpha(cairo_surface_t* source, Float blurPx) {
  cairo_surface_t* img = cairo_surface_map_to_image(source, nullptr);
  if (cairo_surface_status(img) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_unmap_image(source, img);
    return nullptr;
  }
  int w = cairo_image_surface_get_width(img), h = cairo_image_surface_get_height(img);
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
  if (cairo_surface_status(out) != CAIRO_STATUS_SUCCESS || w <= 0 || h <= 0) {
    cairo_surface_unmap_image(source, img);
    cairo_surface_destroy(out);
    return nullptr;
  }
  // Copy the alpha across: paint the source with the SOURCE operator into A8.
  cairo_t* cr = cairo_create(out);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, img, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_unmap_image(source, img);

  cairo_surface_flush(out);
  std::uint8_t* px = cairo_image_surface_get_data(out);
  int stride = cairo_image_surface_get_stride(out);
  int r = int(std::lround(std::max<Float>(blurPx, 0) / 2));
  if (r > 0) {
    r = std::min(r, std::max(w, h));
    std::vector<std::uint8_t> line;
    for (int pass = 0; pass < 3; ++pass) {
      for (int y = 0; y < h; ++y) boxPass(px + y * stride, w, 1, r, line);
      for (int x = 0; x < w; ++x) boxPass(px + x, h, stride, r, line);
    }
  }
  cairo_surface_mark_dirty(out);
  double ox = 0, oy = 0;
  cairo_surface_get_device_offset(source, &ox, &oy);
  cairo_surface_set_device_offset(out, ox, oy);
  return out;
}

}  // namespace cg
