#include "toolkit/styled/TKStyledLayout.h"

#include <fribidi.h>

#include <cfloat>

#include "platform/foundation/String.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Image.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/styled/TKLaidOutText.h"
#include "toolkit/styled/TKStyle.h"
#include "toolkit/styled/TKStyledFrame.h"
#include "toolkit/styled/TKStyledNode.h"

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// A run longer than this is set in pieces of whole lines: one pango layout of
// a very long paragraph reports no lines at all, and a document drawn in part
// draws only the pieces it shows.
constexpr std::size_t kPieceBytes = 4096;

// A word with its trailing space, at its own height: on one line when it fits
// (so the space counts), else wrapped within the width (and `wraps` is set).
cg::Size measureWord(std::string_view word, const ui::Font& f, float width, bool& wraps) {
  const bool pango = TKLaidOutText::measuresWithPango();
  cg::Size one = pango ? TKLaidOutText::measure(word, f)
                       : cg::Size{ui::currentMeasurer().width(word, f), ui::sizeWithFont(word, f).height};
  wraps = one.width > width;
  if (!wraps) return one;
  return pango ? TKLaidOutText::measure(word, f, width)
               : ui::sizeWithFont(word, f, {width, FLT_MAX}, ui::LineBreakMode::WordWrap);
}

// The direction pango gives a paragraph: that of its first strong character.
std::optional<bool> firstStrongIsRightToLeft(std::string_view text) {
  for (char32_t c : ns::utf8ToUtf32(text)) {
    FriBidiCharType type = fribidi_get_bidi_type(static_cast<FriBidiChar>(c));
    if (FRIBIDI_IS_STRONG(type) && FRIBIDI_IS_LETTER(type)) return FRIBIDI_IS_RTL(type);
  }
  return std::nullopt;
}

// The direction of the text of a chain of nodes, read in document order.
std::optional<bool> chainIsRightToLeft(TKStyledNode* node) {
  for (TKStyledNode* n = node; n; n = n->nextSibling().get()) {
    if (auto* text = dynamic_cast<TKStyledTextNode*>(n)) {
      if (auto rtl = firstStrongIsRightToLeft(text->text)) return rtl;
    } else if (auto* element = dynamic_cast<TKStyledElement*>(n)) {
      if (auto rtl = chainIsRightToLeft(element->firstChild().get())) return rtl;
    }
  }
  return std::nullopt;
}

// Mirrors a frame and what it holds within the line box [left, left + width].
void mirrorFrame(TKStyledFrame* frame, float left, float width) {
  frame->setX(2 * left + width - frame->x() - frame->width());
  if (auto* box = dynamic_cast<TKStyledInlineFrame*>(frame)) {
    for (TKStyledFrame* f = box->firstChildFrame().get(); f; f = f->nextFrame().get()) mirrorFrame(f, left, width);
  }
}

std::shared_ptr<TKStyle> styleNamed(const std::string& name) {
  if (name.empty()) return nullptr;
  return TKStyleSheet::globalStyleSheet()->styleWithSelector(name);
}

TKBoxStyle* boxOf(const std::shared_ptr<TKStyle>& style) {
  return style ? style->firstStyleOfClass<TKBoxStyle>() : nullptr;
}

}  // namespace

TKStyledLayout::TKStyledLayout(float x, float width, float height) : x_(x), height_(height), minX_(x) {
  setWidth(width);
}

TKStyledLayout::~TKStyledLayout() = default;

// --- fonts and styles --------------------------------------------------------------

ui::Font TKStyledLayout::font() {
  if (!font_) font_ = TKStyleSheet::globalStyleSheet()->font();
  return *font_;
}

void TKStyledLayout::setFont(const ui::Font& font) {
  if (font_ && *font_ == font) return;
  font_ = font;
  boldFont_.reset();
  italicFont_.reset();
}

ui::Font TKStyledLayout::boldFont() {
  if (!boldFont_) boldFont_ = boldVersionOfFont(font());
  return *boldFont_;
}

ui::Font TKStyledLayout::italicFont() {
  if (!italicFont_) italicFont_ = italicVersionOfFont(font());
  return *italicFont_;
}

const std::shared_ptr<TKStyle>& TKStyledLayout::linkStyle() {
  if (!linkStyleLooked_) {
    linkStyle_ = TKStyleSheet::globalStyleSheet()->styleWithSelector("linkText:");
    linkStyleLooked_ = true;
  }
  return linkStyle_;
}

TKStyledNode* TKStyledLayout::findLastNode(TKStyledNode* node) {
  while (node) {
    TKStyledNode* last = TKStyledNode::findLastSibling(node);
    auto* element = dynamic_cast<TKStyledElement*>(last);
    if (!element) return last;
    node = element->firstChild().get();
  }
  return nullptr;
}

TKStyledNode* TKStyledLayout::lastNode() {
  if (!lastNode_) lastNode_ = findLastNode(rootNode_);
  return lastNode_;
}

// --- walking ---------------------------------------------------------------------------

void TKStyledLayout::layout(TKStyledNode* node) {
  if (!firstNode_) firstNode_ = node;
  layoutChain(node, nullptr);
  if (lineWidth_ != 0) breakLine();
}

void TKStyledLayout::layoutChain(TKStyledNode* node, TKStyledElement* container) {
  for (TKStyledNode* n = node; n; n = n->nextSibling().get()) {
    if (auto* image = dynamic_cast<TKStyledImageNode*>(n)) {
      layoutImage(image, container);
    } else if (auto* element = dynamic_cast<TKStyledElement*>(n)) {
      layoutElement(element);
    } else if (auto* text = dynamic_cast<TKStyledTextNode*>(n)) {
      layoutText(text, container);
    }
  }
}

void TKStyledLayout::layoutText(TKStyledTextNode* node, TKStyledElement* element) {
  ui::Font f = font();
  // NUL characters take no part in measuring or drawing.
  const std::string text = TKLaidOutText::settable(node->text);
  float measureWidth = width_ == 0 ? FLT_MAX : width_;
  if (!node->nextSibling() && node == rootNode_) {
    // A document of one run is measured whole.
    if (TKLaidOutText::measuresWithPango()) {
      layoutPieces(text, element, node);
      return;
    }
    cg::Size size = ui::sizeWithFont(text, f, {measureWidth, FLT_MAX}, ui::LineBreakMode::WordWrap);
    addFrameForText(text, element, node, size.width, size.height)->wrapWidth = width_;
    height_ += size.height;
    return;
  }
  size_t i = 0, s = 0, length = text.size();
  float w = 0;
  bool runWraps = false;  // the run holds a word wider than a whole line
  auto addRun = [&](size_t end) {
    std::string run = text.substr(s, end - s);
    addFrameForText(run, element, node, w, lineHeight_ != 0 ? lineHeight_ : f.lineHeight())->wrapWidth =
        runWraps ? width_ : 0;
    runWraps = false;
  };
  while (i < length) {
    size_t j = i;
    while (j < length && !isSpace(text[j])) ++j;
    size_t wordLength = (j < length ? j + 1 : length) - i;
    bool wraps = false;
    cg::Size word = measureWord(std::string_view(text).substr(i, wordLength), f, measureWidth, wraps);
    if (lineWidth_ + word.width > width_) {
      if (i > s) addRun(i);
      if (lineWidth_ != 0) {
        breakLine();
      } else if (growsToFit_) {
        width_ = word.width;  // a sub-layout is as wide as its widest word
      }
      // Otherwise the word is wider than a whole line: it overflows that line alone.
      s = i;
      w = 0;
    }
    runWraps = runWraps || wraps;
    w += word.width;
    expandLineWidth(word.width);
    inflateLineHeight(word.height);
    i += wordLength;
    if (i >= length) {
      addRun(length);
      w = 0;
    }
  }
}

void TKStyledLayout::layoutPieces(const std::string& text, TKStyledElement* element, TKStyledTextNode* node) {
  const ui::Font f = font();
  size_t start = 0;
  do {
    size_t end = text.size();
    if (end - start > kPieceBytes) {
      end = start + kPieceBytes;
      while (end > start && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    }
    std::shared_ptr<TKLaidOutText> piece;
    size_t taken = end - start;
    size_t paragraphEnd = end < text.size() ? text.rfind('\n', end - 1) : std::string::npos;
    if (paragraphEnd != std::string::npos && paragraphEnd >= start + kPieceBytes / 2) {
      // The piece ends with a paragraph: its newline is left out, as the
      // next piece begins a new line anyway.
      taken = paragraphEnd + 1 - start;
      piece = std::make_shared<TKLaidOutText>(std::string_view(text).substr(start, taken - 1), f, width_);
    } else {
      piece = std::make_shared<TKLaidOutText>(std::string_view(text).substr(start, end - start), f, width_);
      std::vector<size_t> starts = end < text.size() ? piece->lineStarts() : std::vector<size_t>();
      if (starts.size() > 1) {
        // Inside a long paragraph the last line may be cut short: it starts the next piece.
        taken = starts.back();
        piece = std::make_shared<TKLaidOutText>(std::string_view(text).substr(start, taken), f, width_);
      }
    }
    const cg::Rect& box = piece->bounds();
    auto frame = std::make_shared<TKStyledTextFrame>(text.substr(start, taken), element, node);
    frame->font_ = f;
    frame->wrapWidth = width_;
    frame->laidOut = piece;
    float x = x_;
    x_ += box.x();
    addContentFrame(std::move(frame), box.width(), box.height());
    x_ = x;
    height_ += box.height();
    start += taken;
  } while (start < text.size());
}

void TKStyledLayout::layoutImage(TKStyledImageNode* node, TKStyledElement* element) {
  if (!node->image && !node->URL().empty()) {
    if (!invalidImages_) invalidImages_ = std::make_shared<ImageList>();
    invalidImages_->push_back(node);
  }
  std::shared_ptr<TKStyle> style = styleNamed(node->className);
  TKBoxStyle* box = boxOf(style);
  cg::Size picture = node->image ? node->image->size() : cg::Size{};
  float w = node->width != 0 ? node->width : picture.width;
  float h = node->height != 0 ? node->height : picture.height;
  float W = w, H = h;
  bool margins = box && box->position != TKPositionAbsolute;
  if (margins) {
    x_ += box->margin.left;
    W = w + box->margin.left + box->margin.right;
    H = h + box->margin.top + box->margin.bottom;
  }
  bool inFlow = !box || box->position == TKPositionStatic;
  if (inFlow && lineWidth_ + W > width_) {
    if (lineWidth_ != 0) {
      breakLine();
    } else if (growsToFit_) {
      width_ = W;
    }
  }
  auto frame = std::make_shared<TKStyledImageFrame>(element, node);
  frame->style = style;
  TKStyledFrame* placed = frame.get();
  if (inFlow) {
    addContentFrame(frame, w, h);
    expandLineWidth(W);
    inflateLineHeight(H);
  } else if (box->position == TKPositionAbsolute) {
    addAbsoluteFrame(frame, w, h);
    placed->setX(placed->x() + box->margin.left);
    placed->setY(placed->y() + box->margin.top);
  } else if (box->position == TKPositionFloatLeft) {
    addContentFrame(frame, w, h);
    placed->setX(placed->x() + floatLeftWidth_);
    floatLeftWidth_ += W;
    floatHeight_ = std::max(floatHeight_, height_ + H);
    minX_ += W;
    width_ -= W;
  } else {
    addContentFrame(frame, w, h);
    placed->setX(placed->x() + width_ - (floatRightWidth_ + W));
    floatRightWidth_ += W;
    floatHeight_ = std::max(floatHeight_, height_ + H);
    x_ -= W;
    width_ -= W;
  }
  if (margins) {
    placed->setY(placed->y() + box->margin.top);
    x_ += box->margin.right;
  }
}

void TKStyledLayout::layoutElement(TKStyledElement* element) {
  std::shared_ptr<TKStyle> style = styleNamed(element->className);
  bool isLink = dynamic_cast<TKStyledLinkNode*>(element) != nullptr;
  if (!style && isLink) style = linkStyle();

  ui::Font oldFont = font();
  TKTextStyle* textStyle = style ? style->firstStyleOfClass<TKTextStyle>() : nullptr;
  if (textStyle && textStyle->font) {
    setFont(*textStyle->font);
  } else if (isLink || dynamic_cast<TKStyledBoldNode*>(element)) {
    setFont(boldFont());
  } else if (dynamic_cast<TKStyledItalicNode*>(element)) {
    setFont(italicFont());
  }
  TKBoxStyle* box = boxOf(style);

  if (box && box->position != TKPositionStatic) {
    TKStyledBoxFrame* K = addBlockFrame(style, element, width_, height_);
    if (element->firstChild()) {
      TKStyledLayout sub(minX_, 0, height_);
      sub.setFont(font());
      sub.setInvalidImages(invalidImages_);
      sub.layout(element->firstChild().get());
      if (!invalidImages_ && sub.invalidImages()) invalidImages_ = sub.invalidImages();
      TKStyledFrame* first = sub.rootFrame().get();
      if (first) addContentFrame(sub.rootFrame(), sub.width());
      float V = sub.height() - height_;
      float T = box->margin.left + box->margin.right + sub.width();
      float U = box->margin.top + box->margin.bottom + V;
      if (box->position == TKPositionFloatLeft) {
        if (first) first->setX(first->x() + floatLeftWidth_);
        floatLeftWidth_ += T;
        floatHeight_ = std::max(floatHeight_, height_ + U);
        minX_ += T;
        width_ -= T;
      } else if (box->position == TKPositionFloatRight) {
        if (first) first->setX(first->x() + width_ - (floatRightWidth_ + T));
        floatRightWidth_ += T;
        floatHeight_ = std::max(floatHeight_, height_ + U);
        x_ -= T;
        width_ -= T;
      }
      K->setWidth(sub.width() + box->padding.left + box->padding.right);
      K->setHeight(V + box->padding.top + box->padding.bottom);
    }
    setFont(oldFont);
    popFrame();
    return;
  }

  float savedMinX = minX_, savedWidth = width_, savedLeft = floatLeftWidth_, savedRight = floatRightWidth_,
        savedFloatHeight = floatHeight_;
  bool isBlock = dynamic_cast<TKStyledBlock*>(element) != nullptr;
  TKStyledBoxFrame* K = nullptr;
  if (isBlock) {
    if (box) {
      x_ += box->margin.left;
      minX_ += box->margin.left;
      width_ -= box->margin.left + box->margin.right;
      height_ += box->margin.top;
    }
    if (lastFrame_) {
      if (lineHeight_ == 0 && dynamic_cast<TKStyledLineBreakNode*>(element)) lineHeight_ = font().lineHeight();
      breakLine();
    }
    if (style) K = addBlockFrame(style, element, width_, height_);
  } else {
    if (box) x_ += box->margin.left;
    if (style) inlineFrame_ = addInlineFrame(style, element, 0, 0);
  }
  if (box) {
    if (isBlock) minX_ += box->padding.left;
    width_ -= box->padding.left + box->padding.right;
    x_ += box->padding.left;
    expandLineWidth(box->padding.left);
    if (isBlock) height_ += box->padding.top;
  }

  if (element->firstChild()) layoutChain(element->firstChild().get(), element);

  if (isBlock) {
    minX_ = savedMinX;
    width_ = savedWidth;
    floatLeftWidth_ = savedLeft;
    floatRightWidth_ = savedRight;
    floatHeight_ = savedFloatHeight;
    breakLine();
    if (box) {
      height_ += box->padding.bottom;
      if (K) {
        K->setHeight(height_ - K->height());
        if (K->height() < box->minSize.height) {
          height_ += box->minSize.height - K->height();
          K->setHeight(box->minSize.height);
        }
      }
      height_ += box->margin.bottom;
    } else if (K) {
      K->setHeight(height_ - K->height());
    }
    setFont(oldFont);
    if (K) popFrame();
    return;
  }
  if (!style) {
    setFont(oldFont);
    return;
  }
  if (box) {
    x_ += box->padding.right + box->margin.right;
    lineWidth_ += box->padding.right + box->margin.right;
    for (TKStyledInlineFrame* f = inlineFrame_; f; f = f->inlineParentFrame()) {
      if (f != inlineFrame_) f->setWidth(f->width() + box->margin.right);
      f->setWidth(f->width() + box->padding.right);
      f->setY(f->y() - box->padding.top);
      f->setHeight(f->height() + box->padding.top + box->padding.bottom);
    }
  }
  if (inlineFrame_) inlineFrame_ = inlineFrame_->inlineParentFrame();
  setFont(oldFont);
  popFrame();
}

// --- lines and floats -------------------------------------------------------------------

void TKStyledLayout::breakLine() {
  for (TKStyledInlineFrame* f = inlineFrame_; f; f = f->inlineParentFrame()) {
    if (TKBoxStyle* box = boxOf(f->style)) {
      for (TKStyledInlineFrame* g = f; g; g = g->inlineParentFrame()) {
        g->setY(g->y() - box->padding.top);
        g->setHeight(g->height() + box->padding.top + box->padding.bottom);
      }
    }
  }
  if (lineFirstFrame_ && lineFirstFrame_->nextFrame()) {
    for (TKStyledFrame* f = lineFirstFrame_; f; f = f->nextFrame().get()) {
      if (f->height() < lineHeight_) {
        float descender = f->font() ? f->font()->descender() : font().descender();
        offsetFrame(f, lineHeight_ - (f->height() - descender));
      }
    }
  }
  // A right-to-left paragraph sets its line from the right: the first frame
  // at the right end, as pango sets the words of such a paragraph.
  if (lineFirstFrame_ && isRightToLeft()) {
    for (TKStyledFrame* f = lineFirstFrame_; f; f = f->nextFrame().get()) mirrorFrame(f, minX_, width_);
  }
  height_ += lineHeight_;
  checkFloats();
  lineWidth_ = 0;
  lineHeight_ = 0;
  x_ = minX_;
  lineFirstFrame_ = nullptr;
  if (inlineFrame_) {
    while (dynamic_cast<TKStyledInlineFrame*>(topFrame_)) popFrame();
    inlineFrame_ = cloneInlineFrame(inlineFrame_);
  }
}

void TKStyledLayout::checkFloats() {
  if (floatHeight_ != 0 && height_ > floatHeight_) {
    minX_ -= floatLeftWidth_;
    width_ += floatLeftWidth_ + floatRightWidth_;
    floatLeftWidth_ = floatRightWidth_ = floatHeight_ = 0;
  }
}

// --- frames --------------------------------------------------------------------------------

void TKStyledLayout::addFrame(std::shared_ptr<TKStyledFrame> frame) {
  TKStyledFrame* added = frame.get();
  if (!rootFrame_) {
    rootFrame_ = std::move(frame);
  } else if (topFrame_ && !topFrame_->firstChildFrame()) {
    topFrame_->setFirstChildFrame(std::move(frame));
  } else {
    lastFrame_->setNextFrame(std::move(frame));
  }
  lastFrame_ = added;
}

void TKStyledLayout::pushFrame(std::shared_ptr<TKStyledBoxFrame> frame) {
  TKStyledBoxFrame* box = frame.get();
  addFrame(std::move(frame));
  box->parentFrame = topFrame_;
  topFrame_ = box;
}

void TKStyledLayout::popFrame() {
  lastFrame_ = topFrame_;
  topFrame_ = topFrame_ ? topFrame_->parentFrame : nullptr;
}

TKStyledFrame* TKStyledLayout::addContentFrame(std::shared_ptr<TKStyledFrame> frame, float width) {
  TKStyledFrame* f = frame.get();
  addFrame(std::move(frame));
  if (!lineFirstFrame_) lineFirstFrame_ = f;
  x_ += width;
  return f;
}

TKStyledFrame* TKStyledLayout::addContentFrame(std::shared_ptr<TKStyledFrame> frame, float width, float height) {
  frame->bounds = cg::Rect(x_, height_, width, height);
  return addContentFrame(std::move(frame), width);
}

TKStyledFrame* TKStyledLayout::addAbsoluteFrame(std::shared_ptr<TKStyledFrame> frame, float width, float height) {
  frame->bounds = cg::Rect(x_, height_, width, height);
  TKStyledFrame* f = frame.get();
  addFrame(std::move(frame));
  return f;
}

TKStyledInlineFrame* TKStyledLayout::addInlineFrame(std::shared_ptr<TKStyle> style, TKStyledElement* element,
                                                    float width, float height) {
  auto frame = std::make_shared<TKStyledInlineFrame>(element);
  frame->style = std::move(style);
  frame->bounds = cg::Rect(x_, height_, width, height);
  TKStyledInlineFrame* f = frame.get();
  pushFrame(std::move(frame));
  if (!lineFirstFrame_) lineFirstFrame_ = f;
  return f;
}

TKStyledBoxFrame* TKStyledLayout::addBlockFrame(std::shared_ptr<TKStyle> style, TKStyledElement* element, float width,
                                                float height) {
  auto frame = std::make_shared<TKStyledBoxFrame>(element);
  frame->style = std::move(style);
  frame->bounds = cg::Rect(x_, height_, width, height);
  TKStyledBoxFrame* f = frame.get();
  pushFrame(std::move(frame));
  return f;
}

TKStyledInlineFrame* TKStyledLayout::cloneInlineFrame(TKStyledInlineFrame* frame) {
  if (TKStyledInlineFrame* parent = frame->inlineParentFrame()) cloneInlineFrame(parent);
  TKStyledInlineFrame* clone = addInlineFrame(frame->style, frame->element(), 0, 0);
  clone->inlinePreviousFrame = frame;
  frame->inlineNextFrame = clone;
  return clone;
}

TKStyledTextFrame* TKStyledLayout::addFrameForText(const std::string& text, TKStyledElement* element,
                                                   TKStyledTextNode* node, float width, float height) {
  auto frame = std::make_shared<TKStyledTextFrame>(text, element, node);
  frame->font_ = font();
  TKStyledTextFrame* added = frame.get();
  addContentFrame(std::move(frame), width, height);
  return added;
}

bool TKStyledLayout::isRightToLeft() {
  if (!rightToLeft_) rightToLeft_ = chainIsRightToLeft(firstNode_).value_or(false);
  return *rightToLeft_;
}

void TKStyledLayout::expandLineWidth(float width) {
  lineWidth_ += width;
  for (TKStyledInlineFrame* f = inlineFrame_; f; f = f->inlineParentFrame()) f->setWidth(f->width() + width);
}

void TKStyledLayout::inflateLineHeight(float height) {
  lineHeight_ = std::max(lineHeight_, height);
  for (TKStyledInlineFrame* f = inlineFrame_; f; f = f->inlineParentFrame()) {
    f->setHeight(std::max(f->height(), height));
  }
}

void TKStyledLayout::offsetFrame(TKStyledFrame* frame, float dy) {
  frame->setY(frame->y() + dy);
  if (auto* box = dynamic_cast<TKStyledInlineFrame*>(frame)) {
    for (TKStyledFrame* f = box->firstChildFrame().get(); f; f = f->nextFrame().get()) offsetFrame(f, dy);
  }
}
