#include "Classes/reading/KeptTextLabel.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

KeptTextLabel::Key KeptTextLabel::keyAt(float scale) const {
  cg::Rect b = bounds();
  return Key{text(),  font().fontName(), font().pointSize(), b.width(),      b.height(), scale,
             textColor(), int(textAlignment()), numberOfLines(), isEnabled(), isHighlighted()};
}

std::shared_ptr<cg::Image> KeptTextLabel::bitmapAt(float scale) {
  cg::Rect b = bounds();
  if (text().empty() || b.width() <= 0 || b.height() <= 0) return nullptr;
  Key key = keyAt(scale);
  if (bitmap_ && key_ == key) return bitmap_;
  bitmap_ = preparedSource_ ? preparedSource_(key) : nullptr;
  if (!bitmap_) {
    cg::Context bitmap = cg::Context::bitmap(b.width(), b.height(), scale);
    bitmap.translate(-b.x(), -b.y());
    ui::Label::drawRect(bitmap, b);
    bitmap_ = bitmap.makeImage();
  }
  key_ = std::move(key);
  return bitmap_;
}

void KeptTextLabel::drawRect(cg::Context& context, cg::Rect) {
  if (auto bitmap = bitmapAt(context.scale())) context.drawImage(*bitmap, bounds());
}
