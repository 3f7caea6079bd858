#include "toolkit/styled/TKStyledTextLabel.h"

#include "platform/graphics/Context.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/Responder.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/styled/TKStyle.h"
#include "toolkit/styled/TKStyledFrame.h"
#include "toolkit/styled/TKStyledNode.h"

TKStyledTextLabel::TKStyledTextLabel(cg::Rect frame) : ui::View(frame) {
  auto sheet = TKStyleSheet::globalStyleSheet();
  font_ = sheet->font();
  setBackgroundColor(sheet->backgroundColor());
}

TKStyledTextLabel::~TKStyledTextLabel() {
  if (text_) text_->setDelegate(nullptr);
}

void TKStyledTextLabel::setText(std::shared_ptr<TKStyledText> text) {
  if (text == text_) return;
  forgetPress();
  if (text_) text_->setDelegate(nullptr);
  text_ = std::move(text);
  if (text_) {
    text_->setDelegate(this);
    text_->setFont(font_);
  }
  setNeedsLayout();
  setNeedsDisplay();
}

void TKStyledTextLabel::forgetPress() {
  // The frames are about to be laid out anew: nothing of the press survives.
  highlightedNode_ = nullptr;
  highlightedFrame_ = nullptr;
  pressedText_.reset();
}

void TKStyledTextLabel::setHtml(const std::string& html) {
  setText(html.empty() ? nullptr : TKStyledText::textFromXHTML(html));
}

std::string TKStyledTextLabel::html() const { return text_ ? text_->description() : ""; }

void TKStyledTextLabel::setFont(const ui::Font& font) {
  if (font == font_) return;
  font_ = font;
  forgetPress();
  if (text_) text_->setFont(font);
  setNeedsLayout();
}

cg::Color TKStyledTextLabel::textColor() {
  if (!textColor_) textColor_ = TKStyleSheet::globalStyleSheet()->textColor();
  return *textColor_;
}

void TKStyledTextLabel::setTextColor(const cg::Color& color) {
  if (textColor_ == color) return;
  textColor_ = color;
  setNeedsDisplay();
}

cg::Color TKStyledTextLabel::highlightedTextColor() {
  if (!highlightedTextColor_) highlightedTextColor_ = TKStyleSheet::globalStyleSheet()->highlightedTextColor();
  return *highlightedTextColor_;
}

void TKStyledTextLabel::setHighlightedTextColor(const cg::Color& color) {
  if (highlightedTextColor_ == color) return;
  highlightedTextColor_ = color;
  setNeedsDisplay();
}

void TKStyledTextLabel::setHighlightedNode(TKStyledElement* element) {
  if (element == highlightedNode_) return;
  if (element) {
    highlightedNode_ = element;
  } else {
    setHighlightedFrame(nullptr);
    highlightedNode_ = nullptr;
  }
}

TKStyledTextLabelHost* TKStyledTextLabel::host() {
  for (ui::View* v = superview(); v; v = v->superview())
    if (auto* h = dynamic_cast<TKStyledTextLabelHost*>(v)) return h;
  return nullptr;
}

void TKStyledTextLabel::setHighlightedFrame(TKStyledBoxFrame* frame) {
  if (frame == highlightedFrame_) return;
  TKStyledBoxFrame* concerned = frame ? frame : highlightedFrame_;
  TKStyledElement* element = concerned->element();
  std::string name = element ? element->className : "";
  if (name.empty() && dynamic_cast<TKStyledLinkNode*>(element)) name = "linkText:";
  if (name.find(':') == std::string::npos) return;
  auto sheet = TKStyleSheet::globalStyleSheet();
  if (frame) {
    // A frame that takes the press from another gives the other back its normal style.
    if (highlightedFrame_) setHighlightedFrame(nullptr);
    setStyleForFrame(sheet->styleWithSelector(name, 1), frame);
    highlightedFrame_ = frame;
    highlightedNode_ = element;
    pressedText_ = text_;
    if (auto* h = host()) h->setHighlightedLabel(std::static_pointer_cast<TKStyledTextLabel>(shared_from_this()));
  } else {
    setStyleForFrame(sheet->styleWithSelector(name, 0), highlightedFrame_);
    highlightedFrame_ = nullptr;
    highlightedNode_ = nullptr;
    pressedText_.reset();
    // Only the label the host holds lets it go (the host may be moving on to another).
    if (auto* h = host(); h && h->highlightedLabel() == this) h->setHighlightedLabel(nullptr);
  }
  setNeedsDisplay();
}

void TKStyledTextLabel::setStyleForFrame(const std::shared_ptr<TKStyle>& style, TKStyledBoxFrame* frame) {
  auto* piece = dynamic_cast<TKStyledInlineFrame*>(frame);
  if (!piece) {
    frame->style = style;
    return;
  }
  while (piece->inlinePreviousFrame) piece = piece->inlinePreviousFrame;
  for (; piece; piece = piece->inlineNextFrame) piece->style = style;
}

void TKStyledTextLabel::layoutSubviews() {
  ui::View::layoutSubviews();
  if (!text_) return;
  float width = frame().width() - contentInset_.left - contentInset_.right;
  if (width != text_->width()) forgetPress();
  text_->setWidth(width);
}

cg::Size TKStyledTextLabel::sizeThatFits(cg::Size) const {
  const_cast<TKStyledTextLabel*>(this)->layoutIfNeeded();
  float w = text_ ? text_->width() : 0, h = text_ ? text_->height() : 0;
  return {w + contentInset_.left + contentInset_.right, h + contentInset_.top + contentInset_.bottom};
}

void TKStyledTextLabel::drawRect(cg::Context& context, cg::Rect rect) {
  if (!text_) return;
  context.save();
  context.setFillColor(highlighted_ ? highlightedTextColor() : textColor());
  text_->drawAtPoint(context, {rect.x() + contentInset_.left, rect.y() + contentInset_.top}, highlighted_);
  context.restore();
}

cg::Point TKStyledTextLabel::textPoint(const ui::TouchSet& touches) const {
  cg::Point p = touches.front()->locationInView(this);
  return {p.x - contentInset_.left, p.y - contentInset_.top};
}

bool TKStyledTextLabel::highlightedNodeContainsTouch(const ui::TouchSet& touches) const {
  return highlightedFrame_ && !touches.empty() && pressedFramesContain(textPoint(touches));
}

bool TKStyledTextLabel::pressedFramesContain(cg::Point p) const {
  auto* piece = dynamic_cast<TKStyledInlineFrame*>(highlightedFrame_);
  if (!piece) return highlightedFrame_ && highlightedFrame_->bounds.contains(p);
  while (piece->inlinePreviousFrame) piece = piece->inlinePreviousFrame;
  for (; piece; piece = piece->inlineNextFrame) {
    if (piece->bounds.contains(p)) return true;
  }
  return false;
}

void TKStyledTextLabel::touchesBegan(const ui::TouchSet& touches, const ui::Event& event) {
  if (text_ && !touches.empty()) {
    layoutIfNeeded();
    if (auto* box = dynamic_cast<TKStyledBoxFrame*>(text_->hitTest(textPoint(touches)))) setHighlightedFrame(box);
  }
  ui::View::touchesBegan(touches, event);
}

void TKStyledTextLabel::touchesEnded(const ui::TouchSet& touches, const ui::Event& event) {
  // Inside a table the table runs the pressed link when the touch reaches it.
  if (highlightedNode_ && highlightedFrame_ && !host()) {
    // The element acts only when the finger lifts inside one of its pieces.
    bool inside = !touches.empty() && pressedFramesContain(textPoint(touches));
    std::shared_ptr<TKStyledText> keep = pressedText_;
    TKStyledElement* element = highlightedNode_;
    setHighlightedFrame(nullptr);
    if (inside) element->performDefaultAction();
  }
  ui::View::touchesEnded(touches, event);
}

void TKStyledTextLabel::touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) {
  // A touch taken over by scrolling leaves nothing pressed.
  if (highlightedFrame_) setHighlightedFrame(nullptr);
  ui::View::touchesCancelled(touches, event);
}

void TKStyledTextLabel::copy() {
  std::string plain = text_ && text_->rootNode() ? text_->rootNode()->outerText() : "";
  ui::Pasteboard::generalPasteboard().setString(plain);
}

void TKStyledTextLabel::styledTextNeedsDisplay(TKStyledText&) { setNeedsDisplay(); }
