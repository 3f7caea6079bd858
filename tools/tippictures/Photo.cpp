#include "tools/tippictures/Photo.h"

#include <cairo.h>

#include <cmath>

namespace tippictures {

std::shared_ptr<cg::Image> framed(const cg::Image& snapshot, cg::Rect crop, cg::Size size, int scale) {
  float s = snapshot.scale();
  cg::Size whole = snapshot.size();
  if (crop.x() < 0 || crop.y() < 0 || crop.maxX() > whole.width + 0.5f || crop.maxY() > whole.height + 0.5f ||
      crop.width() <= 0 || crop.height() <= 0)
    return nullptr;
  int w = int(std::lround(size.width * scale)), h = int(std::lround(size.height * scale));
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(out);
  // Points of the crop to pixels of the output; the snapshot's pixels are
  // `s` to a point.
  cairo_scale(cr, double(w) / (crop.width() * s), double(h) / (crop.height() * s));
  cairo_set_source_surface(cr, snapshot.surface(), -crop.x() * s, -crop.y() * s);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BEST);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(out);
  auto image = cg::Image::fromSurface(out, float(scale));
  cairo_surface_destroy(out);  // the image holds its own reference
  return image;
}

std::string checkPicture(const cg::Image& picture, cg::Size size, int scale) {
  int w = int(std::lround(size.width * scale)), h = int(std::lround(size.height * scale));
  if (picture.width() != w || picture.height() != h)
    return "is " + std::to_string(picture.width()) + "x" + std::to_string(picture.height()) + " pixels";
  cg::RGBA first = picture.pixelAt(0, 0);
  for (int y = 0; y < h; y += 7)
    for (int x = 0; x < w; x += 7) {
      cg::RGBA p = picture.pixelAt(x, y);
      if (p.r != first.r || p.g != first.g || p.b != first.b) return "";
    }
  return "shows one colour only";
}

}  // namespace tippictures
