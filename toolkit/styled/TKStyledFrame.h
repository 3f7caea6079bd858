#pragma once
// The laid-out pieces of a styled text: text frames (a run's words on one
// line), image frames, box frames for styled blocks and positioned elements,
// and inline frames for the piece of a styled span on each line. Frames chain
// by `nextFrame` and nest under boxes; they point at their nodes weakly (the
// document keeps both alive). Long chains are walked and released by
// iteration. Main thread only.
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Geometry.h"
#include "platform/text/Font.h"
#include "toolkit/styled/TKStyleContext.h"

namespace cg {
class Context;
}
class TKStyle;
class TKStyledElement;
class TKStyledTextNode;
class TKStyledImageNode;
class TKLaidOutText;

class TKStyledFrame {
 public:
  explicit TKStyledFrame(TKStyledElement* element) : element_(element) {}
  virtual ~TKStyledFrame();
  TKStyledFrame(const TKStyledFrame&) = delete;
  TKStyledFrame& operator=(const TKStyledFrame&) = delete;

  TKStyledElement* element() const { return element_; }
  const std::shared_ptr<TKStyledFrame>& nextFrame() const { return nextFrame_; }
  void setNextFrame(std::shared_ptr<TKStyledFrame> frame) { nextFrame_ = std::move(frame); }
  cg::Rect bounds;
  float x() const { return bounds.origin.x; }
  float y() const { return bounds.origin.y; }
  float width() const { return bounds.size.width; }
  float height() const { return bounds.size.height; }
  void setX(float v) { bounds.origin.x = v; }
  void setY(float v) { bounds.origin.y = v; }
  void setWidth(float v) { bounds.size.width = v; }
  void setHeight(float v) { bounds.size.height = v; }

  virtual std::optional<ui::Font> font() const { return std::nullopt; }
  virtual void drawInRect(cg::Context& ctx, const cg::Rect& rect) { (void)ctx, (void)rect; }
  // The innermost box frame containing the point, searched in frame order from this one.
  TKStyledFrame* hitTest(cg::Point p);
  // Draws each frame of the chain that can show inside the context's clip, in its own bounds.
  static void drawChain(cg::Context& ctx, TKStyledFrame* first);
  virtual std::string description() const { return ""; }

 protected:
  static void releaseChain(std::shared_ptr<TKStyledFrame> frame);

 private:
  friend class TKStyledBoxFrame;
  TKStyledElement* element_;
  std::shared_ptr<TKStyledFrame> nextFrame_;
};

class TKStyledBoxFrame : public TKStyledFrame, public TKStyleDelegate {
 public:
  using TKStyledFrame::TKStyledFrame;
  ~TKStyledBoxFrame() override;

  TKStyledBoxFrame* parentFrame = nullptr;
  const std::shared_ptr<TKStyledFrame>& firstChildFrame() const { return firstChildFrame_; }
  void setFirstChildFrame(std::shared_ptr<TKStyledFrame> frame) { firstChildFrame_ = std::move(frame); }
  std::shared_ptr<TKStyle> style;

  void drawInRect(cg::Context& ctx, const cg::Rect& rect) override;
  void drawSubframes(cg::Context& ctx);
  std::optional<ui::Font> font() const override;
  bool answersDrawLayer() const override { return true; }
  void drawLayer(TKStyleContext& context, TKStyle& style) override;
  std::string description() const override;

 private:
  friend class TKStyledFrame;
  std::shared_ptr<TKStyledFrame> firstChildFrame_;
};

class TKStyledInlineFrame : public TKStyledBoxFrame {
 public:
  using TKStyledBoxFrame::TKStyledBoxFrame;
  TKStyledInlineFrame* inlinePreviousFrame = nullptr;
  TKStyledInlineFrame* inlineNextFrame = nullptr;
  TKStyledInlineFrame* inlineParentFrame() const { return dynamic_cast<TKStyledInlineFrame*>(parentFrame); }
};

class TKStyledTextFrame : public TKStyledFrame {
 public:
  TKStyledTextFrame(std::string text, TKStyledElement* element, TKStyledTextNode* node)
      : TKStyledFrame(element), text(std::move(text)), node(node) {}
  std::string text;
  TKStyledTextNode* node;
  std::optional<ui::Font> font_;
  std::optional<ui::Font> font() const override { return font_; }
  // The width the text wraps at (0: one line), as it was measured.
  float wrapWidth = 0;
  // The text as measured, kept for drawing; laid out on first draw otherwise.
  std::shared_ptr<TKLaidOutText> laidOut;
  // The text from the rectangle's top left, in its font and the current fill
  // colour, set as it was measured: nothing is cut.
  void drawInRect(cg::Context& ctx, const cg::Rect& rect) override;
  std::string description() const override { return text; }
};

class TKStyledImageFrame : public TKStyledFrame, public TKStyleDelegate {
 public:
  TKStyledImageFrame(TKStyledElement* element, TKStyledImageNode* node) : TKStyledFrame(element), imageNode(node) {}
  TKStyledImageNode* imageNode;
  std::shared_ptr<TKStyle> style;
  void drawInRect(cg::Context& ctx, const cg::Rect& rect) override;
  void drawImage(cg::Context& ctx, const cg::Rect& rect);
  bool answersDrawLayer() const override { return true; }
  void drawLayer(TKStyleContext& context, TKStyle& style) override;
};
