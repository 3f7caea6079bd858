#include "platform/ui/Image+Normalize.h"

#include <cmath>

namespace ui {

std::shared_ptr<Image> normalize(const Image& image, cg::Float scale) {
  if (!(scale > 0)) return nullptr;
  cg::Size s = image.size();
  cg::Float w = std::round(s.width * scale), h = std::round(s.height * scale);
  if (w <= 0 || h <= 0) return nullptr;
  cg::Context ctx = cg::Context::bitmap(w, h, 1);
  ctx.drawImage(*image.cgImage(), cg::Rect(0, 0, w, h));
  return Image::imageWithCGImage(ctx.makeImage(), scale);
}

std::shared_ptr<Image> copyImageWithColor(const Image& image, const cg::Color& color) {
  cg::Size s = image.size();
  cg::Context ctx = cg::Context::bitmap(s.width, s.height, 1);
  if (ctx.pixelWidth() <= 0 || ctx.pixelHeight() <= 0) return nullptr;
  cg::Rect r(0, 0, s.width, s.height);
  // Drawn upright: the mask is placed with its top at the top, as we draw images.
  ctx.setFillColor(color);
  ctx.setBlendMode(cg::BlendMode::Copy);
  ctx.save();
  ctx.clipToMask(r, *image.cgImage());
  ctx.fillRect(r);
  ctx.restore();
  return Image::imageWithCGImage(ctx.makeImage(), 1);
}

}  // namespace ui
