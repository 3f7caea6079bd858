#pragma once
// One pass that places a styled text's node tree into lines of a width and
// builds its frames: words are measured one at a time and placed left to
// right, a word that does not fit starts a new line, and each line's frames
// are aligned to a common baseline (and set from the right in a right-to-left
// document). Styles come from the global style sheet
// by class name; their box step gives margins, padding, minimum size and
// floats. A word wider than the whole line overflows its own line only. Used
// once and dropped; main thread only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/text/Font.h"

class TKStyle;
class TKStyledNode;
class TKStyledElement;
class TKStyledTextNode;
class TKStyledImageNode;
class TKStyledFrame;
class TKStyledBoxFrame;
class TKStyledInlineFrame;
class TKStyledTextFrame;

class TKStyledLayout {
 public:
  using ImageList = std::vector<TKStyledImageNode*>;

  TKStyledLayout() = default;
  explicit TKStyledLayout(TKStyledNode* rootNode) : rootNode_(rootNode) {}
  // A sub-layout starting at (x, height); at width 0 its words set the width.
  TKStyledLayout(float x, float width, float height);
  ~TKStyledLayout();
  TKStyledLayout(const TKStyledLayout&) = delete;
  TKStyledLayout& operator=(const TKStyledLayout&) = delete;

  // Lays out the chain that starts at the node and closes the last line.
  void layout(TKStyledNode* node);

  float width() const { return width_; }
  void setWidth(float w) { width_ = w; growsToFit_ = w == 0; }
  float height() const { return height_; }
  void setHeight(float h) { height_ = h; }
  const std::shared_ptr<TKStyledFrame>& rootFrame() const { return rootFrame_; }
  // Image nodes with a URL and no picture (not retained).
  const std::shared_ptr<ImageList>& invalidImages() const { return invalidImages_; }
  void setInvalidImages(std::shared_ptr<ImageList> list) { invalidImages_ = std::move(list); }

  ui::Font font();
  void setFont(const ui::Font& font);
  ui::Font boldFont();
  ui::Font italicFont();
  const std::shared_ptr<TKStyle>& linkStyle();
  static ui::Font boldVersionOfFont(const ui::Font& font) { return ui::Font::boldSystemFontOfSize(font.pointSize()); }
  static ui::Font italicVersionOfFont(const ui::Font& font) {
    return ui::Font::italicSystemFontOfSize(font.pointSize());
  }
  // The last node of the document (leaf of the last chain), kept once found.
  TKStyledNode* lastNode();
  static TKStyledNode* findLastNode(TKStyledNode* node);

 private:
  void layoutChain(TKStyledNode* node, TKStyledElement* container);
  void layoutElement(TKStyledElement* element);
  void layoutText(TKStyledTextNode* node, TKStyledElement* element);
  void layoutImage(TKStyledImageNode* node, TKStyledElement* element);
  void breakLine();
  void checkFloats();
  void addFrame(std::shared_ptr<TKStyledFrame> frame);
  void pushFrame(std::shared_ptr<TKStyledBoxFrame> frame);
  void popFrame();
  TKStyledFrame* addContentFrame(std::shared_ptr<TKStyledFrame> frame, float width);
  TKStyledFrame* addContentFrame(std::shared_ptr<TKStyledFrame> frame, float width, float height);
  TKStyledFrame* addAbsoluteFrame(std::shared_ptr<TKStyledFrame> frame, float width, float height);
  TKStyledInlineFrame* addInlineFrame(std::shared_ptr<TKStyle> style, TKStyledElement* element, float width,
                                      float height);
  TKStyledBoxFrame* addBlockFrame(std::shared_ptr<TKStyle> style, TKStyledElement* element, float width,
                                  float height);
  TKStyledInlineFrame* cloneInlineFrame(TKStyledInlineFrame* frame);
  TKStyledTextFrame* addFrameForText(const std::string& text, TKStyledElement* element, TKStyledTextNode* node,
                                     float width, float height);
  // The run of a one-run document, in pieces of whole lines, each kept laid out.
  void layoutPieces(const std::string& text, TKStyledElement* element, TKStyledTextNode* node);
  // The document's direction: that of its first strong character.
  bool isRightToLeft();
  void expandLineWidth(float width);
  void inflateLineHeight(float height);
  void offsetFrame(TKStyledFrame* frame, float dy);

  float x_ = 0, width_ = 0, height_ = 0, lineWidth_ = 0, lineHeight_ = 0, minX_ = 0;
  float floatLeftWidth_ = 0, floatRightWidth_ = 0, floatHeight_ = 0;
  bool growsToFit_ = false;
  std::shared_ptr<TKStyledFrame> rootFrame_;
  TKStyledFrame* lineFirstFrame_ = nullptr;
  TKStyledInlineFrame* inlineFrame_ = nullptr;
  TKStyledBoxFrame* topFrame_ = nullptr;
  TKStyledFrame* lastFrame_ = nullptr;
  std::optional<ui::Font> font_, boldFont_, italicFont_;
  std::shared_ptr<TKStyle> linkStyle_;
  bool linkStyleLooked_ = false;
  TKStyledNode* rootNode_ = nullptr;
  TKStyledNode* firstNode_ = nullptr;  // where the pass began, for its direction
  std::optional<bool> rightToLeft_;
  TKStyledNode* lastNode_ = nullptr;
  std::shared_ptr<ImageList> invalidImages_;
};
