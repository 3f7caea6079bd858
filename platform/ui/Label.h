#pragma once
// A view that draws a text: font, colour (another while highlighted), screen
// alignment, a number of lines, truncation and a shadow. Text is shaped by
// pango, so Arabic joins and runs right to left. It is centred vertically in
// the bounds, as the platform's labels are. Takes no touches by default.
#include <memory>
#include <optional>
#include <string>

#include "platform/text/Font.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/TextDrawing.h"
#include "platform/ui/View.h"

namespace ui {

class Label : public View {
 public:
  Label();
  explicit Label(cg::Rect frame);

  const std::string& text() const { return text_; }
  void setText(const std::string& text);
  const Font& font() const { return font_; }
  void setFont(const Font& font);
  cg::Color textColor() const { return textColor_; }
  void setTextColor(cg::Color color);
  std::optional<cg::Color> highlightedTextColor() const { return highlightedTextColor_; }
  void setHighlightedTextColor(std::optional<cg::Color> color);
  bool isHighlighted() const { return highlighted_; }
  void setHighlighted(bool highlighted);
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);  // a disabled label draws dimmed
  TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(TextAlignment alignment);
  LineBreakMode lineBreakMode() const { return lineBreakMode_; }
  void setLineBreakMode(LineBreakMode mode);
  // 0: as many as the text needs.
  int numberOfLines() const { return numberOfLines_; }
  void setNumberOfLines(int lines);
  // One line too wide for the label is drawn in a smaller size, down to the minimum.
  bool adjustsFontSizeToFitWidth() const { return adjustsFontSize_; }
  void setAdjustsFontSizeToFitWidth(bool on) { adjustsFontSize_ = on; setNeedsDisplay(); }
  float minimumFontSize() const { return minimumFontSize_; }
  void setMinimumFontSize(float size) { minimumFontSize_ = size; setNeedsDisplay(); }
  // The font the text is drawn in now (smaller when it was shrunk to fit).
  Font fontForDrawing() const;
  std::optional<cg::Color> shadowColor() const { return shadowColor_; }
  void setShadowColor(std::optional<cg::Color> color);
  cg::Size shadowOffset() const { return shadowOffset_; }
  void setShadowOffset(cg::Size offset);

  // The rect the text takes within the bounds for the line limit.
  cg::Rect textRectForBounds(cg::Rect bounds, int numberOfLines) const;
  cg::Size sizeThatFits(cg::Size size) const override;
  void drawRect(cg::Context& context, cg::Rect rect) override;

 protected:
  float drawingReach() const override;

 private:
  cg::Size textSize(float width, int lines) const;
  void drawText(cg::Context& context, const Font& font);

  std::string text_;
  Font font_ = Font::systemFontOfSize(17);
  cg::Color textColor_ = cg::Color::black();
  std::optional<cg::Color> highlightedTextColor_;
  std::optional<cg::Color> shadowColor_;
  cg::Size shadowOffset_{0, -1};
  TextAlignment alignment_ = TextAlignment::Left;
  LineBreakMode lineBreakMode_ = LineBreakMode::TruncateTail;
  int numberOfLines_ = 1;
  bool adjustsFontSize_ = false;
  float minimumFontSize_ = 0;
  bool highlighted_ = false;
  bool enabled_ = true;
  // The text as last shaped, drawn again while its text, font and width stay.
  std::unique_ptr<LaidOutText> laidOut_;
};

}  // namespace ui
