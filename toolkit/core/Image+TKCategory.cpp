#include "toolkit/core/Image+TKCategory.h"

#include <algorithm>
#include <cmath>

namespace ui {

cg::Rect TKImageRectForContentMode(cg::Size image, cg::Rect rect, int mode, bool* clipped) {
  float x = rect.x(), y = rect.y(), W = rect.width(), H = rect.height();
  float iw = image.width, ih = image.height;
  if (clipped) *clipped = false;
  auto centred = [&](float w, float h) {
    return cg::Rect(x + std::floor(W / 2 - w / 2), y + std::floor(H / 2 - h / 2), w, h);
  };
  bool sameSize = iw == W && ih == H;
  if (sameSize || mode < 1 || mode > 12 || mode == 3 || iw <= 0 || ih <= 0) return rect;
  if (mode == 1 || mode == 2) {
    // Fit scales by the smaller ratio of the two sides, fill by the larger.
    float sx = W / iw, sy = H / ih;
    float scale = mode == 1 ? std::min(sx, sy) : std::max(sx, sy);
    return centred(std::floor(iw * scale), std::floor(ih * scale));
  }
  if (mode == 4) return centred(iw, ih);
  if (clipped) *clipped = true;
  float midX = x + std::floor(W / 2 - iw / 2), midY = y + std::floor(H / 2 - ih / 2);
  float bottom = y + std::floor(H - ih);
  switch (mode) {
    case 5: return cg::Rect(midX, y, iw, ih);
    case 6: return cg::Rect(midX, bottom, iw, ih);
    case 7: return cg::Rect(x, midY, iw, ih);
    case 8: return cg::Rect(x + W - iw, midY, iw, ih);
    case 9: return cg::Rect(x, y, iw, ih);
    case 10: return cg::Rect(x + W - iw, y, iw, ih);
    case 11: return cg::Rect(x, bottom, iw, ih);
    default: return cg::Rect(x + W - iw, y + H - ih, iw, ih);
  }
}

void drawInRect(const Image& image, cg::Context& context, cg::Rect rect, int contentMode) {
  bool clipped = false;
  cg::Rect target = TKImageRectForContentMode(image.size(), rect, contentMode, &clipped);
  if (!clipped) {
    image.drawInRect(context, target);
    return;
  }
  context.save();
  context.clipToRect(rect);
  image.drawInRect(context, target);
  context.restore();
}

void drawInRect(const Image& image, cg::Context& context, cg::Rect rect, float radius, int contentMode) {
  context.save();
  if (radius != 0) {
    addRoundedRectToPath(context, rect, radius);
    context.clip();
  }
  drawInRect(image, context, rect, contentMode);
  context.restore();
}

void addRoundedRectToPath(cg::Context& context, cg::Rect rect, float radius) {
  context.beginPath();
  if (radius == 0) {
    context.addRect(rect);
    return;
  }
  float r = std::min({std::fabs(radius), rect.width() / 2, rect.height() / 2});
  float x0 = rect.x(), y0 = rect.y(), x1 = rect.maxX(), y1 = rect.maxY();
  context.moveTo({x1, y0 + rect.height() / 2});
  context.arcToPoint({x1, y1}, {x0 + rect.width() / 2, y1}, r);
  context.arcToPoint({x0, y1}, {x0, y0 + rect.height() / 2}, r);
  context.arcToPoint({x0, y0}, {x0 + rect.width() / 2, y0}, r);
  context.arcToPoint({x1, y0}, {x1, y0 + rect.height() / 2}, r);
  context.closePath();
}

}  // namespace ui
