#include "platform/ui/ImageView.h"

#include <algorithm>
#include <typeinfo>

namespace ui {

cg::Rect rectForContentMode(ContentMode mode, cg::Size c, cg::Rect b) {
  float left = b.x(), top = b.y();
  float right = b.maxX() - c.width, bottom = b.maxY() - c.height;
  float midX = b.x() + (b.width() - c.width) / 2, midY = b.y() + (b.height() - c.height) / 2;
  switch (mode) {
    case ContentMode::ScaleToFill:
    case ContentMode::Redraw: return b;
    case ContentMode::ScaleAspectFit:
    case ContentMode::ScaleAspectFill: {
      if (c.width <= 0 || c.height <= 0) return b;
      float sx = b.width() / c.width, sy = b.height() / c.height;
      float k = mode == ContentMode::ScaleAspectFit ? std::min(sx, sy) : std::max(sx, sy);
      float w = c.width * k, h = c.height * k;
      return cg::Rect(b.x() + (b.width() - w) / 2, b.y() + (b.height() - h) / 2, w, h);
    }
    case ContentMode::Center: return cg::Rect(midX, midY, c.width, c.height);
    case ContentMode::Top: return cg::Rect(midX, top, c.width, c.height);
    case ContentMode::Bottom: return cg::Rect(midX, bottom, c.width, c.height);
    case ContentMode::Left: return cg::Rect(left, midY, c.width, c.height);
    case ContentMode::Right: return cg::Rect(right, midY, c.width, c.height);
    case ContentMode::TopLeft: return cg::Rect(left, top, c.width, c.height);
    case ContentMode::TopRight: return cg::Rect(right, top, c.width, c.height);
    case ContentMode::BottomLeft: return cg::Rect(left, bottom, c.width, c.height);
    case ContentMode::BottomRight: return cg::Rect(right, bottom, c.width, c.height);
  }
  return b;
}

ImageView::ImageView() : ImageView(cg::Rect()) {}

ImageView::ImageView(cg::Rect frame) : View(frame) {
  setUserInteractionEnabled(false);
  setOpaque(false);
}

ImageView::ImageView(std::shared_ptr<Image> image)
    : ImageView(cg::Rect(cg::Point{}, image ? image->size() : cg::Size{})) {
  image_ = std::move(image);
}

void ImageView::setImage(std::shared_ptr<Image> image) {
  if (image_ == image) return;
  image_ = std::move(image);
  setNeedsDisplay();
}

void ImageView::setHighlightedImage(std::shared_ptr<Image> image) {
  highlightedImage_ = std::move(image);
  setNeedsDisplay();
}

void ImageView::setHighlighted(bool highlighted) {
  if (highlighted_ == highlighted) return;
  highlighted_ = highlighted;
  setNeedsDisplay();
}

const std::shared_ptr<Image>& ImageView::currentImage() const {
  return highlighted_ && highlightedImage_ ? highlightedImage_ : image_;
}

cg::Size ImageView::sizeThatFits(cg::Size) const {
  return image_ ? image_->size() : cg::Size{};
}

// Where the image is drawn in the bounds: a stretchable image fills them
// whatever the mode (its caps are for that).
static cg::Rect imageRect(const Image& image, ContentMode mode, cg::Rect bounds) {
  bool stretches = image.leftCapWidth() > 0 || image.topCapHeight() > 0;
  return stretches ? bounds : rectForContentMode(mode, image.size(), bounds);
}

// One image, or one colour, painted once.
bool ImageView::drawsInOnePaint() const {
  if (typeid(*this) != typeid(ImageView)) return false;
  const auto& image = currentImage();
  bool background = backgroundColor() && !backgroundColor()->isClear();
  if (!image) return true;
  return !background && image->leftCapWidth() <= 0 && image->topCapHeight() <= 0;
}

// An image larger than the bounds, placed by a mode that does not clip it.
float ImageView::drawingReach() const {
  if (typeid(*this) != typeid(ImageView)) return View::drawingReach();
  const auto& image = currentImage();
  if (!image || contentMode() == ContentMode::ScaleAspectFill) return 0;
  cg::Rect b = bounds(), r = imageRect(*image, contentMode(), b);
  return std::max({0.0f, b.minX() - r.minX(), b.minY() - r.minY(), r.maxX() - b.maxX(), r.maxY() - b.maxY()});
}

void ImageView::drawRect(cg::Context& context, cg::Rect) {
  const auto& image = currentImage();
  if (!image) return;
  cg::Rect r = imageRect(*image, contentMode(), bounds());
  if (contentMode() == ContentMode::ScaleAspectFill) {
    context.save();
    context.clipToRect(bounds());
    image->drawInRect(context, r);
    context.restore();
    return;
  }
  image->drawInRect(context, r);
}

}  // namespace ui
