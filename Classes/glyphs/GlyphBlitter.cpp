#include "Classes/glyphs/GlyphBlitter.h"

#include <cairo.h>
#include <pixman.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "platform/graphics/Context.h"

namespace {

bool whole(double v) { return std::abs(v - std::round(v)) < 1e-4; }

}  // namespace

GlyphBlitter::GlyphBlitter(cg::Context& context, Sources& sources) : context_(context), sources_(sources) {
  cairo_t* cr = context.cairo();
  if (!cr || context.alpha() < 1 || context.blendMode() != cg::BlendMode::Normal || context.castsShadow() ||
      cairo_get_operator(cr) != CAIRO_OPERATOR_OVER)
    return;
  cairo_surface_t* surface = cairo_get_group_target(cr);
  if (cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return;
  pixman_format_code_t format;
  switch (cairo_image_surface_get_format(surface)) {
    case CAIRO_FORMAT_ARGB32: format = PIXMAN_a8r8g8b8; break;
    case CAIRO_FORMAT_RGB24: format = PIXMAN_x8r8g8b8; break;
    default: return;
  }
  double deviceScaleX, deviceScaleY, offsetX, offsetY;
  cairo_surface_get_device_scale(surface, &deviceScaleX, &deviceScaleY);
  cairo_surface_get_device_offset(surface, &offsetX, &offsetY);
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  if (deviceScaleX != 1 || deviceScaleY != 1 || m.xy != 0 || m.yx != 0 || m.xx != m.yy || !(m.xx > 0)) return;
  scale_ = m.xx;
  originX_ = m.x0 + offsetX;
  originY_ = m.y0 + offsetY;

  // The clip, within the surface: one rectangle on whole pixels, or none of this.
  const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
  cairo_rectangle_list_t* clips = cairo_copy_clip_rectangle_list(cr);
  bool usable = clips->status == CAIRO_STATUS_SUCCESS && clips->num_rectangles <= 1;
  clipX1_ = clipY1_ = 0;  // nothing shows without a rectangle
  if (usable && clips->num_rectangles == 1) {
    const cairo_rectangle_t& r = clips->rectangles[0];
    double x0 = r.x * scale_ + originX_, y0 = r.y * scale_ + originY_;
    double x1 = (r.x + r.width) * scale_ + originX_, y1 = (r.y + r.height) * scale_ + originY_;
    usable = whole(x0) && whole(y0) && whole(x1) && whole(y1);
    clipX0_ = std::max(0, int(std::lround(x0)));
    clipY0_ = std::max(0, int(std::lround(y0)));
    clipX1_ = std::min(width, int(std::lround(x1)));
    clipY1_ = std::min(height, int(std::lround(y1)));
  }
  cairo_rectangle_list_destroy(clips);
  if (!usable) return;

  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  if (!data) return;
  target_ = pixman_image_create_bits(format, width, height, reinterpret_cast<uint32_t*>(data),
                                     cairo_image_surface_get_stride(surface));
  if (target_) surface_ = cairo_surface_reference(surface);
}

GlyphBlitter::~GlyphBlitter() {
  handBack();
  if (target_) pixman_image_unref(target_);
  if (surface_) cairo_surface_destroy(surface_);
}

GlyphBlitter::Sources::~Sources() {
  for (auto& [surface, source] : sources_)
    if (source.pixels) pixman_image_unref(source.pixels);
}

const GlyphBlitter::Sources::Source& GlyphBlitter::Sources::sourceFor(const std::shared_ptr<cg::Image>& image) {
  cairo_surface_t* surface = image->surface();
  auto found = sources_.find(surface);
  if (found != sources_.end()) return found->second;
  Source source{image};
  if (cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE &&
      cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32) {
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    source.pixels = pixman_image_create_bits(PIXMAN_a8r8g8b8, width, height, reinterpret_cast<uint32_t*>(data), stride);
    // The box of the pixels with any alpha: the rest would add nothing.
    source.x0 = width;
    source.y0 = height;
    for (int y = 0; y < height; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(data + std::size_t(y) * std::size_t(stride));
      for (int x = 0; x < width; ++x) {
        if ((row[x] >> 24) == 0) continue;
        source.x0 = std::min(source.x0, x);
        source.x1 = std::max(source.x1, x + 1);
        source.y0 = std::min(source.y0, y);
        source.y1 = std::max(source.y1, y + 1);
      }
    }
  }
  return sources_.emplace(surface, std::move(source)).first->second;
}

bool GlyphBlitter::blit(const std::shared_ptr<cg::Image>& image, float x, float y, float w, float h) {
  if (!target_) return false;
  const int iw = image->width(), ih = image->height();
  if (std::abs(w * scale_ - iw) > 1e-4 || std::abs(h * scale_ - ih) > 1e-4) return false;
  const double px = x * scale_ + originX_, py = y * scale_ + originY_;
  if (!whole(px) || !whole(py)) return false;
  const Sources::Source& source = sources_.sourceFor(image);
  if (!source.pixels) return false;
  const int dx = int(std::lround(px)), dy = int(std::lround(py));
  const int x0 = std::max(dx + source.x0, clipX0_), y0 = std::max(dy + source.y0, clipY0_);
  const int x1 = std::min(dx + source.x1, clipX1_), y1 = std::min(dy + source.y1, clipY1_);
  if (x0 >= x1 || y0 >= y1) return true;  // no ink, or none inside the clip
  pixman_image_composite32(PIXMAN_OP_OVER, source.pixels, nullptr, target_, x0 - dx, y0 - dy, 0, 0, x0, y0,
                           x1 - x0, y1 - y0);
  dirtyX0_ = std::min(dirtyX0_, x0);
  dirtyY0_ = std::min(dirtyY0_, y0);
  dirtyX1_ = std::max(dirtyX1_, x1);
  dirtyY1_ = std::max(dirtyY1_, y1);
  return true;
}

void GlyphBlitter::draw(const std::shared_ptr<cg::Image>& image, float x, float y, float w, float h) {
  if (!image || !(w > 0) || !(h > 0)) return;
  if (blit(image, x, y, w, h)) return;
  // Through the context: it gets the pixels as written so far, and hands them back.
  handBack();
  context_.drawImage(*image, cg::Rect(x, y, w, h));
  if (surface_) cairo_surface_flush(surface_);
}

void GlyphBlitter::handBack() {
  if (surface_ && dirtyX1_ > dirtyX0_ && dirtyY1_ > dirtyY0_)
    cairo_surface_mark_dirty_rectangle(surface_, dirtyX0_, dirtyY0_, dirtyX1_ - dirtyX0_, dirtyY1_ - dirtyY0_);
  dirtyX0_ = dirtyY0_ = INT32_MAX;
  dirtyX1_ = dirtyY1_ = -1;
}
