#include "platform/ui/Label.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"

namespace ui {

Label::Label() : Label(cg::Rect()) {}

Label::Label(cg::Rect frame) : View(frame) {
  setUserInteractionEnabled(false);
  setBackgroundColor(cg::Color::white());
}

void Label::setText(const std::string& text) {
  if (text_ == text) return;
  text_ = text;
  setNeedsDisplay();
}

void Label::setFont(const Font& font) { font_ = font; setNeedsDisplay(); }
void Label::setTextColor(cg::Color color) { textColor_ = color; setNeedsDisplay(); }
void Label::setHighlightedTextColor(std::optional<cg::Color> color) { highlightedTextColor_ = color; setNeedsDisplay(); }
void Label::setHighlighted(bool h) { highlighted_ = h; setNeedsDisplay(); }
void Label::setEnabled(bool e) { enabled_ = e; setNeedsDisplay(); }
void Label::setTextAlignment(TextAlignment a) { alignment_ = a; setNeedsDisplay(); }
void Label::setLineBreakMode(LineBreakMode m) { lineBreakMode_ = m; setNeedsDisplay(); }
void Label::setNumberOfLines(int lines) { numberOfLines_ = std::max(0, lines); setNeedsDisplay(); }
void Label::setShadowColor(std::optional<cg::Color> c) { shadowColor_ = c; setNeedsDisplay(); }
void Label::setShadowOffset(cg::Size o) { shadowOffset_ = o; setNeedsDisplay(); }

// The text's size at the width, limited to the lines (0: unlimited).
cg::Size Label::textSize(float width, int lines) const {
  if (text_.empty()) return {};
  if (lines == 1) return sizeWithFont(text_, font_);
  LineBreakMode wrap = lineBreakMode_ == LineBreakMode::CharacterWrap ? LineBreakMode::CharacterWrap
                                                                      : LineBreakMode::WordWrap;
  cg::Size size = currentMeasurer().sizeForWidth(text_, font_, width, wrap);
  if (lines > 1) size.height = std::min(size.height, std::ceil(font_.lineHeight() * lines));
  return size;
}

cg::Rect Label::textRectForBounds(cg::Rect bounds, int lines) const {
  cg::Size s = textSize(bounds.width(), lines);
  s.width = std::min(s.width, bounds.width());
  s.height = std::min(s.height, bounds.height());
  float x = bounds.x();
  if (alignment_ == TextAlignment::Center) x += (bounds.width() - s.width) / 2;
  if (alignment_ == TextAlignment::Right) x += bounds.width() - s.width;
  return cg::Rect(x, bounds.y() + std::floor((bounds.height() - s.height) / 2), s.width, s.height);
}

cg::Size Label::sizeThatFits(cg::Size size) const {
  float width = size.width > 0 ? size.width : 0;
  cg::Size s = textSize(numberOfLines_ == 1 ? 0 : width, numberOfLines_);
  return {std::ceil(s.width), std::ceil(s.height)};
}

// A minimum of 0 is the font's own size: nothing shrinks.
Font Label::fontForDrawing() const {
  if (!adjustsFontSize_ || numberOfLines_ != 1 || text_.empty()) return font_;
  float width = bounds().width();
  float size = font_.pointSize();
  float smallest = std::max(1.0f, std::min(minimumFontSize_ > 0 ? minimumFontSize_ : size, size));
  Font font = font_;
  while (size > smallest && sizeWithFont(text_, font).width > width) {
    size = std::max(smallest, size - 1);
    font = font_.fontWithSize(size);
  }
  return font;
}

// The text keeps to the bounds (a line that fits may take one point more) but
// for its shadow; in a label with no room it is drawn whole from the origin.
float Label::drawingReach() const {
  float shadow = shadowColor_ && !shadowColor_->isClear()
                     ? std::max(std::fabs(shadowOffset_.width), std::fabs(shadowOffset_.height))
                     : 0;
  cg::Rect b = bounds();
  if (text_.empty()) return 0;
  if (b.width() <= 0 || b.height() <= 0) {
    cg::Size s = sizeWithFont(text_, font_);
    return std::max(s.width, s.height) + shadow + 1;
  }
  return 1 + shadow;
}

void Label::drawRect(cg::Context& context, cg::Rect) {
  if (text_.empty()) return;
  drawText(context, fontForDrawing());
}

void Label::drawText(cg::Context& context, const Font& font) {
  cg::Rect b = bounds();
  cg::Rect t = textRectForBounds(b, numberOfLines_);
  if (!(font == font_)) {  // shrunk: its own smaller line, centred
    float h = std::ceil(font.lineHeight());
    t = cg::Rect(t.x(), b.y() + std::floor((b.height() - h) / 2), t.width(), h);
  }
  // Drawn across the whole width so the alignment places each line.
  cg::Rect area(b.x(), t.y(), b.width(), b.maxY() - t.y());
  cg::Color color = highlighted_ && highlightedTextColor_ ? *highlightedTextColor_ : textColor_;
  if (!enabled_) color = color.withAlpha(color.a * 0.45f);
  TextLayoutSpec spec = textLinesSpec(text_, area.width(), font, alignment_, lineBreakMode_, numberOfLines_);
  if (!laidOut_ || !(laidOut_->spec() == spec)) laidOut_ = std::make_unique<LaidOutText>(std::move(spec));
  if (shadowColor_ && !shadowColor_->isClear()) {
    cg::Rect shadow = area.offsetBy(shadowOffset_.width, shadowOffset_.height);
    laidOut_->draw(context, shadow.origin, shadow.height(), *shadowColor_);
  }
  laidOut_->draw(context, area.origin, area.height(), color);
}

}  // namespace ui
