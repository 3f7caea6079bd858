#include "toolkit/tables/TKLabel.h"

#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/styled/TKStyle.h"

TKLabel::TKLabel(cg::Rect frame) : TKView(frame) {}

TKLabel::TKLabel(const std::string& text) : TKView(cg::Rect()) { setText(text); }

void TKLabel::setText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  setNeedsDisplay();
}

ui::Font TKLabel::font() {
  if (!font_) font_ = TKStyleSheet::globalStyleSheet()->font();
  return *font_;
}

void TKLabel::setFont(const ui::Font& font) {
  if (font_ == font) return;
  font_ = font;
  setNeedsDisplay();
}

void TKLabel::drawRect(cg::Context& context, cg::Rect) {
  TKStyleContext styleContext = this->styleContext(&context, bounds());
  styleContext.setFont(font_);
  if (auto style = this->style()) style->draw(styleContext);
  if (!styleContext.didDrawContent()) drawContent(context, bounds());
}

cg::Size TKLabel::sizeThatFits(cg::Size size) const {
  auto style = this->style();
  if (!style) return {};
  TKStyleContext context = styleContext(nullptr, cg::Rect(0, 0, size.width, size.height));
  context.setFont(font_);
  return style->addToSize({}, context);
}

std::optional<std::string> TKLabel::textForLayerWithStyle(TKStyle&) { return text_; }
