#pragma once
// A view whose text is drawn entirely by its style chain: the chain's text
// step asks the label for the text, so one label can be a plain line, a
// bubble or a badge by the style it is given. Without a style it draws
// nothing and needs no room. Main thread only.
#include <optional>
#include <string>

#include "platform/text/Font.h"
#include "toolkit/tables/TKView.h"

class TKLabel : public TKView {
 public:
  explicit TKLabel(cg::Rect frame = {});
  explicit TKLabel(const std::string& text);

  const std::string& text() const { return text_; }
  // The same text again does not redraw.
  void setText(const std::string& text);
  // The style sheet's font until one is set (kept once read).
  ui::Font font();
  void setFont(const ui::Font& font);

  void drawRect(cg::Context& context, cg::Rect rect) override;
  // The style chain's size for the text within the offered size.
  cg::Size sizeThatFits(cg::Size size) const override;

  bool answersTextForLayer() const override { return true; }
  std::optional<std::string> textForLayerWithStyle(TKStyle& style) override;

 private:
  std::string text_;
  std::optional<ui::Font> font_;
};
