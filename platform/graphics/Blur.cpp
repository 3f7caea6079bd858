#include "platform/graphics/Blur.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace cg {

namespace {

// Dividing by the window 2r + 1 as a multiplication: sums stay below 2^24.
std::uint32_t reciprocal(int r) { return (std::uint32_t(1) << 24) / std::uint32_t(2 * r + 1); }
std::uint8_t average(int sum, std::uint32_t inv) {
  return std::uint8_t(std::min<std::uint64_t>(255, (std::uint64_t(sum) * inv + (1u << 23)) >> 24));
}

// One running-sum box pass of radius r along a row of n values.
void boxPass(std::uint8_t* data, int n, int r, std::vector<std::uint8_t>& line) {
  line.assign(data, data + n);
  const std::uint32_t inv = reciprocal(r);
  int sum = 0;
  for (int i = -r; i <= r; ++i) sum += (i >= 0 && i < n) ? line[i] : 0;
  for (int i = 0; i < n; ++i) {
    data[i] = average(sum, inv);
    int out = i - r, in = i + r + 1;
    if (out >= 0) sum -= line[out];
    if (in < n) sum += line[in];
  }
}

// The same down every column at once, row by row, to stay in the cache.
void verticalPass(std::uint8_t* px, int w, int h, int stride, int r, std::vector<std::uint8_t>& copy,
                  std::vector<int>& sums) {
  copy.assign(px, px + std::size_t(stride) * h);
  sums.assign(w, 0);
  const std::uint32_t inv = reciprocal(r);
  auto row = [&](int y) { return copy.data() + std::size_t(y) * stride; };
  for (int y = 0; y <= r && y < h; ++y) {
    const std::uint8_t* in = row(y);
    for (int x = 0; x < w; ++x) sums[x] += in[x];
  }
  for (int y = 0; y < h; ++y) {
    std::uint8_t* out = px + std::size_t(y) * stride;
    for (int x = 0; x < w; ++x) out[x] = average(sums[x], inv);
    if (y - r >= 0) {
      const std::uint8_t* gone = row(y - r);
      for (int x = 0; x < w; ++x) sums[x] -= gone[x];
    }
    if (y + r + 1 < h) {
      const std::uint8_t* in = row(y + r + 1);
      for (int x = 0; x < w; ++x) sums[x] += in[x];
    }
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
    std::vector<int> sums;
    for (int pass = 0; pass < 3; ++pass) {
      for (int y = 0; y < h; ++y) boxPass(px + y * stride, w, r, line);
      verticalPass(px, w, h, stride, r, line, sums);
    }
  }
  cairo_surface_mark_dirty(out);
  double ox = 0, oy = 0;
  cairo_surface_get_device_offset(source, &ox, &oy);
  cairo_surface_set_device_offset(out, ox, oy);
  return out;
}

}  // namespace cg
