#pragma once
// A view that shows one styled text at its own width less a content inset,
// and lets the reader press links: a pressed link (or an element whose style
// name takes a control state) shows its highlighted style until the finger
// lifts; lifting inside it runs the element's default action. The label is
// its text's delegate and redraws when the text's pictures arrive. Main
// thread only.
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/text/Font.h"
#include "platform/ui/View.h"
#include "toolkit/styled/TKStyledText.h"

class TKStyle;
class TKStyledElement;
class TKStyledBoxFrame;
class TKStyledFrame;
class TKStyledTextLabel;

// A view above labels that runs their pressed links itself (the toolkit's
// table view): a label inside one tells it which label is pressed, and
// leaves the action of the pressed link to it.
class TKStyledTextLabelHost {
 public:
  virtual ~TKStyledTextLabelHost() = default;
  virtual TKStyledTextLabel* highlightedLabel() const = 0;
  virtual void setHighlightedLabel(std::shared_ptr<TKStyledTextLabel> label) = 0;
};

class TKStyledTextLabel : public ui::View, public TKStyledTextDelegate {
 public:
  explicit TKStyledTextLabel(cg::Rect frame = {});
  ~TKStyledTextLabel() override;

  const std::shared_ptr<TKStyledText>& text() const { return text_; }
  void setText(std::shared_ptr<TKStyledText> text);
  // Markup with automatic links; an empty string clears the label.
  void setHtml(const std::string& html);
  std::string html() const;

  const ui::Font& font() const { return font_; }
  void setFont(const ui::Font& font);
  cg::Color textColor();
  void setTextColor(const cg::Color& color);
  cg::Color highlightedTextColor();
  void setHighlightedTextColor(const cg::Color& color);
  int textAlignment() const { return textAlignment_; }
  void setTextAlignment(int alignment) { textAlignment_ = alignment; }
  cg::EdgeInsets contentInset() const { return contentInset_; }
  void setContentInset(cg::EdgeInsets inset) { contentInset_ = inset; }
  bool isHighlighted() const { return highlighted_; }
  void setHighlighted(bool highlighted) { highlighted_ = highlighted; }

  TKStyledElement* highlightedNode() const { return highlightedNode_; }
  // Null clears the pressed element and restores its normal style.
  void setHighlightedNode(TKStyledElement* element);
  TKStyledBoxFrame* highlightedFrame() const { return highlightedFrame_; }
  void setHighlightedFrame(TKStyledBoxFrame* frame);
  // Whether the touch is inside a piece of the pressed element.
  bool highlightedNodeContainsTouch(const ui::TouchSet& touches) const;
  // Restyles every piece of an inline element broken over lines.
  static void setStyleForFrame(const std::shared_ptr<TKStyle>& style, TKStyledBoxFrame* frame);

  void layoutSubviews() override;
  cg::Size sizeThatFits(cg::Size size) const override;
  void drawRect(cg::Context& context, cg::Rect rect) override;

  void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;

  // Puts the text, without its markup, on the general pasteboard.
  void copy();

  void styledTextNeedsDisplay(TKStyledText& text) override;

 private:
  void forgetPress();
  // The enclosing view that runs pressed links, if any.
  TKStyledTextLabelHost* host();
  cg::Point textPoint(const ui::TouchSet& touches) const;
  // Whether the point (in text coordinates) lies in a piece of the pressed element.
  bool pressedFramesContain(cg::Point p) const;

  std::shared_ptr<TKStyledText> text_;
  ui::Font font_;
  std::optional<cg::Color> textColor_, highlightedTextColor_;
  int textAlignment_ = 0;
  cg::EdgeInsets contentInset_;
  bool highlighted_ = false;
  TKStyledElement* highlightedNode_ = nullptr;
  TKStyledBoxFrame* highlightedFrame_ = nullptr;
  // Keeps the pressed element alive while it is pressed.
  std::shared_ptr<TKStyledText> pressedText_;
};
