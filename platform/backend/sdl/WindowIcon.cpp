#include "platform/backend/sdl/WindowIcon.h"

#include <cairo.h>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"

namespace ui {

std::optional<IconPixels> loadIconPixels(const std::string& pngPath) {
  cairo_surface_t* png = cairo_image_surface_create_from_png(pngPath.c_str());
  if (cairo_surface_status(png) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(png);
    return std::nullopt;
  }
  // Drawn onto a surface of a known format, whatever the file held.
  int w = cairo_image_surface_get_width(png), h = cairo_image_surface_get_height(png);
  cairo_surface_t* argb = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(argb);
  cairo_set_source_surface(cr, png, 0, 0);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(png);
  cairo_surface_flush(argb);

  IconPixels icon{w, h, {}};
  icon.argb.reserve(std::size_t(w) * std::size_t(h));
  const unsigned char* data = cairo_image_surface_get_data(argb);
  int stride = cairo_image_surface_get_stride(argb);
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
    for (int x = 0; x < w; ++x) {
      std::uint32_t p = row[x], a = p >> 24;
      auto straight = [a](std::uint32_t c) { return a ? std::min<std::uint32_t>(255, (c * 255 + a / 2) / a) : 0; };
      icon.argb.push_back(a << 24 | straight((p >> 16) & 255) << 16 | straight((p >> 8) & 255) << 8 |
                          straight(p & 255));
    }
  }
  cairo_surface_destroy(argb);
  return icon;
}

std::string windowIconPath() {
  for (const char* name : {"zarvel-icon-128.png", "zarvel-icon.png"}) {
    std::string path = ns::pathJoin(ns::resourceDirectory(), name);
    if (ns::fileExists(path)) return path;
  }
  return {};
}

}  // namespace ui
