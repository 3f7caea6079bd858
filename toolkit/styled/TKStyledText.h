#pragma once
// One document of marked-up text: a node tree, a base font and a width. Laid
// out on demand into a chain of frames, drawn at a point, hit-tested, and the
// pictures of its image nodes fetched through the URL request queue. Main
// thread only; held by shared_ptr (requests call back to it weakly).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/text/Font.h"
#include "toolkit/core/TKURLRequest.h"

namespace cg {
class Context;
}
class TKStyledNode;
class TKStyledFrame;
class TKStyledImageNode;
class TKStyledElement;
class TKStyledText;

class TKStyledTextDelegate {
 public:
  virtual ~TKStyledTextDelegate() = default;
  // A picture arrived: the document should be drawn again.
  virtual void styledTextNeedsDisplay(TKStyledText& text) = 0;
};

class TKStyledText : public TKURLRequestDelegate, public std::enable_shared_from_this<TKStyledText> {
 public:
  // Markup with automatic links; nil when it yields no node. Markup that is
  // not well formed is shown whole as plain text, its tags stripped.
  static std::shared_ptr<TKStyledText> textFromXHTML(const std::string& source);
  static std::shared_ptr<TKStyledText> textFromXHTML(const std::string& source, bool lineBreaks, bool URLs);
  static std::shared_ptr<TKStyledText> textWithURLs(const std::string& source, bool lineBreaks = false);

  TKStyledText() = default;
  explicit TKStyledText(std::shared_ptr<TKStyledNode> root);
  ~TKStyledText() override;
  TKStyledText(const TKStyledText&) = delete;
  TKStyledText& operator=(const TKStyledText&) = delete;

  TKStyledTextDelegate* delegate() const { return delegate_; }
  // A new delegate starts the image loads.
  void setDelegate(TKStyledTextDelegate* delegate);
  const std::shared_ptr<TKStyledNode>& rootNode() const { return rootNode_; }
  // Drops the old tree's layout and stops its image loads.
  void setRootNode(std::shared_ptr<TKStyledNode> node);
  const std::optional<ui::Font>& font() const { return font_; }
  void setFont(const ui::Font& font);
  float width() const { return width_; }
  void setWidth(float width);

  TKStyledFrame* rootFrame();
  float height();
  bool needsLayout() const { return !rootFrame_; }
  void layoutIfNeeded();
  void setNeedsLayout();
  void layoutFrames();

  void drawAtPoint(cg::Context& ctx, cg::Point point, bool highlighted = false);
  // The innermost box frame at the point, or null.
  TKStyledFrame* hitTest(cg::Point point);
  TKStyledFrame* getFrameForNode(TKStyledNode* node);
  static TKStyledFrame* getFrameForNode(TKStyledNode* node, TKStyledFrame* frame);

  void addChild(std::shared_ptr<TKStyledNode> node);
  void addText(const std::string& text);
  void insertChild(std::shared_ptr<TKStyledNode> node, int index);
  TKStyledElement* getElementByClassName(const std::string& name);

  const std::vector<TKStyledImageNode*>& invalidImages() const { return invalidImages_; }
  std::size_t pendingImageRequestCount() const { return imageRequests_.size(); }
  void loadImages();
  void stopLoadingImages();

  std::string description();

  void requestDidStartLoad(TKURLRequest& request) override;
  void requestDidFinishLoad(TKURLRequest& request) override;
  void requestDidFailLoadWithError(TKURLRequest& request, const ns::Error& error) override;
  void requestDidCancelLoad(TKURLRequest& request) override;

 private:
  void removeRequest(TKURLRequest& request);

  TKStyledTextDelegate* delegate_ = nullptr;
  std::shared_ptr<TKStyledNode> rootNode_;
  std::shared_ptr<TKStyledFrame> rootFrame_;
  std::optional<ui::Font> font_;
  float width_ = 0;
  float height_ = 0;
  std::vector<TKStyledImageNode*> invalidImages_;
  bool hasInvalidImages_ = false;
  std::vector<std::shared_ptr<TKURLRequest>> imageRequests_;
};
