#include "Classes/reading/KeptTextLabel.h"

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

void KeptTextLabel::drawRect(cg::Context& context, cg::Rect rect) {
  cg::Rect b = bounds();
  if (text().empty() || b.width() <= 0 || b.height() <= 0) return;
  Key key{text(),         font().fontName(),      font().pointSize(), b.width(),   b.height(),
          context.scale(), textColor(),           int(textAlignment()), numberOfLines(), isEnabled(),
          isHighlighted()};
  if (!bitmap_ || !(key_ == key)) {
    cg::Context bitmap = cg::Context::bitmap(b.width(), b.height(), context.scale());
    bitmap.translate(-b.x(), -b.y());
    ui::Label::drawRect(bitmap, rect);
    bitmap_ = bitmap.makeImage();
    key_ = std::move(key);
  }
  if (bitmap_) context.drawImage(*bitmap_, b);
}
