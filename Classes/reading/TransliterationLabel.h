#pragma once
// The transliteration line: text with <b>, <i> and <u> runs, wrapped to the
// label's width. Stands where the toolkit's styled-text label goes; the
// markup is turned into pango attributes by markupToPango, the one piece to
// swap when that label is used instead.
#include <string>

#include "platform/text/Font.h"
#include "platform/ui/View.h"

// The markup with everything but the six run tags escaped, so that the text
// itself ("&", "<" in a verse) is never read as markup; tags left open are
// closed at the end and stray closing tags dropped.
std::string markupToPango(const std::string& markup);

class TransliterationLabel : public ui::View {
 public:
  using ui::View::View;
  const std::string& html() const { return html_; }
  void setHtml(const std::string& html);
  void setFont(const ui::Font& font);
  void setTextColor(cg::Color color);
  void drawRect(cg::Context& context, cg::Rect rect) override;

 private:
  std::string html_;
  ui::Font font_ = ui::Font::fontWithName("Helvetica", 15);
  cg::Color textColor_ = cg::Color::black();
};
