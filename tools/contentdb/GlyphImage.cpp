#include "tools/contentdb/GlyphImage.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

namespace contentdb {

InkRows inkRows(const AlphaImage& img, int threshold) {
  InkRows r;
  for (int y = 0; y < img.height; ++y) {
    for (int x = 0; x < img.width; ++x) {
      if (img.at(x, y) >= threshold) {
        if (!r.any) r.top = y;
        r.bottom = y;
        r.any = true;
        break;
      }
    }
  }
  return r;
}

InkColumns inkColumns(const AlphaImage& img, int threshold) {
  InkColumns c;
  for (int x = 0; x < img.width; ++x) {
    for (int y = 0; y < img.height; ++y) {
      if (img.at(x, y) >= threshold) {
        if (!c.any) c.left = x;
        c.right = x;
        c.any = true;
        break;
      }
    }
  }
  return c;
}

AlphaImage crop(const AlphaImage& img, int x0, int y0, int w, int h) {
  AlphaImage out(std::max(w, 0), std::max(h, 0));
  for (int y = 0; y < out.height; ++y) {
    int sy = y0 + y;
    if (sy < 0 || sy >= img.height) continue;
    for (int x = 0; x < out.width; ++x) {
      int sx = x0 + x;
      if (sx >= 0 && sx < img.width) out.at(x, y) = img.at(sx, sy);
    }
  }
  return out;
}

AlphaImage padLeft(const AlphaImage& img, int columns) {
  return crop(img, -columns, 0, img.width + columns, img.height);
}

namespace {

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

struct ReadState {
  const std::string* bytes;
  size_t pos;
};

cairo_status_t readBytes(void* closure, unsigned char* data, unsigned int length) {
  auto* s = static_cast<ReadState*>(closure);
  if (s->pos + length > s->bytes->size()) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, s->bytes->data() + s->pos, length);
  s->pos += length;
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::string encodePng(const AlphaImage& img) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, img.width, img.height);
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < img.height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < img.width; ++x) row[x] = static_cast<uint32_t>(img.at(x, y)) << 24;  // black
  }
  cairo_surface_mark_dirty(s);
  std::string png;
  cairo_surface_write_to_png_stream(s, appendBytes, &png);
  cairo_surface_destroy(s);
  return png;
}

bool decodePng(const std::string& png, AlphaImage& out) {
  ReadState state{&png, 0};
  cairo_surface_t* s = cairo_image_surface_create_from_png_stream(readBytes, &state);
  bool ok = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS;
  if (ok) {
    cairo_format_t format = cairo_image_surface_get_format(s);
    int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    out = AlphaImage(w, h);
    for (int y = 0; y < h; ++y) {
      auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
      for (int x = 0; x < w; ++x)
        out.at(x, y) = format == CAIRO_FORMAT_ARGB32 ? static_cast<uint8_t>(row[x] >> 24) : 255;
    }
  }
  cairo_surface_destroy(s);
  return ok;
}

}  // namespace contentdb
