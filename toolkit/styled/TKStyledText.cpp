#include "toolkit/styled/TKStyledText.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"
#include "toolkit/core/TKURLCache.h"
#include "toolkit/styled/TKStyledFrame.h"
#include "toolkit/styled/TKStyledLayout.h"
#include "toolkit/styled/TKStyledNode.h"
#include "toolkit/styled/TKStyledTextParser.h"

namespace {

TKStyledImageNode* nodeOf(const TKURLRequest& request) {
  auto* node = std::any_cast<TKStyledImageNode*>(&request.userInfo());
  return node ? *node : nullptr;
}

std::shared_ptr<TKStyledText> documentFrom(TKStyledTextParser& parser) {
  if (!parser.rootNode()) return nullptr;
  return std::make_shared<TKStyledText>(parser.rootNode());
}

}  // namespace

std::shared_ptr<TKStyledText> TKStyledText::textFromXHTML(const std::string& source) {
  return textFromXHTML(source, false, true);
}

std::shared_ptr<TKStyledText> TKStyledText::textFromXHTML(const std::string& source, bool lineBreaks, bool URLs) {
  TKStyledTextParser parser;
  parser.setParseLineBreaks(lineBreaks);
  parser.setParseURLs(URLs);
  if (parser.parseXHTML(source)) return documentFrom(parser);
  // Text never disappears on a markup error: the whole input shows as plain text.
  TKStyledTextParser plain;
  plain.setParseLineBreaks(lineBreaks);
  plain.setParseURLs(URLs);
  std::string text = TKStyledTextStripTags(source);
  if (!text.empty()) plain.parseText(text);
  return documentFrom(plain);
}

std::shared_ptr<TKStyledText> TKStyledText::textWithURLs(const std::string& source, bool lineBreaks) {
  TKStyledTextParser parser;
  parser.setParseLineBreaks(lineBreaks);
  parser.setParseURLs(true);
  parser.parseText(source);
  return documentFrom(parser);
}

TKStyledText::TKStyledText(std::shared_ptr<TKStyledNode> root) : rootNode_(std::move(root)) {}

TKStyledText::~TKStyledText() {
  for (auto& request : std::vector<std::shared_ptr<TKURLRequest>>(std::move(imageRequests_))) request->cancel();
}

void TKStyledText::setDelegate(TKStyledTextDelegate* delegate) {
  if (delegate == delegate_) return;
  delegate_ = delegate;
  loadImages();
}

void TKStyledText::setRootNode(std::shared_ptr<TKStyledNode> node) {
  if (node == rootNode_) return;
  // The old tree's frames and requests point into it: both go with it.
  stopLoadingImages();
  invalidImages_.clear();
  hasInvalidImages_ = false;
  setNeedsLayout();
  rootNode_ = std::move(node);
}

void TKStyledText::setFont(const ui::Font& font) {
  if (font_ && *font_ == font) return;
  font_ = font;
  setNeedsLayout();
}

void TKStyledText::setWidth(float width) {
  if (width == width_) return;
  width_ = width;
  setNeedsLayout();
}

TKStyledFrame* TKStyledText::rootFrame() {
  layoutIfNeeded();
  return rootFrame_.get();
}

float TKStyledText::height() {
  layoutIfNeeded();
  return height_;
}

void TKStyledText::layoutIfNeeded() {
  if (!rootFrame_) layoutFrames();
}

void TKStyledText::setNeedsLayout() {
  rootFrame_.reset();
  height_ = 0;
}

void TKStyledText::layoutFrames() {
  TKStyledLayout layout(rootNode_.get());
  layout.setWidth(width_);
  if (font_) layout.setFont(*font_);
  layout.layout(rootNode_.get());
  rootFrame_ = layout.rootFrame();
  height_ = std::ceil(layout.height());
  invalidImages_.clear();
  hasInvalidImages_ = layout.invalidImages() != nullptr;
  if (layout.invalidImages()) invalidImages_ = *layout.invalidImages();
  loadImages();
}

void TKStyledText::drawAtPoint(cg::Context& ctx, cg::Point point, bool) {
  ctx.save();
  ctx.translate(point.x, point.y);
  TKStyledFrame::drawChain(ctx, rootFrame());
  ctx.restore();
}

TKStyledFrame* TKStyledText::hitTest(cg::Point point) {
  TKStyledFrame* root = rootFrame();
  return root ? root->hitTest(point) : nullptr;
}

TKStyledFrame* TKStyledText::getFrameForNode(TKStyledNode* node) { return getFrameForNode(node, rootFrame_.get()); }

TKStyledFrame* TKStyledText::getFrameForNode(TKStyledNode* node, TKStyledFrame* frame) {
  for (TKStyledFrame* f = frame; f; f = f->nextFrame().get()) {
    if (auto* box = dynamic_cast<TKStyledBoxFrame*>(f)) {
      if (box->element() == node) return box;
      if (TKStyledFrame* hit = getFrameForNode(node, box->firstChildFrame().get())) return hit;
    } else if (auto* text = dynamic_cast<TKStyledTextFrame*>(f)) {
      if (text->node == node) return text;
    } else if (auto* image = dynamic_cast<TKStyledImageFrame*>(f)) {
      if (image->imageNode == node) return image;
    }
  }
  return nullptr;
}

// --- the tree ---------------------------------------------------------------------

void TKStyledText::addChild(std::shared_ptr<TKStyledNode> node) {
  if (!rootNode_) {
    rootNode_ = std::move(node);
  } else {
    TKStyledNode::findLastSibling(rootNode_.get())->setNextSibling(std::move(node));
  }
}

void TKStyledText::addText(const std::string& text) { addChild(std::make_shared<TKStyledTextNode>(text)); }

void TKStyledText::insertChild(std::shared_ptr<TKStyledNode> node, int index) {
  if (!node) return;
  if (!rootNode_) {
    rootNode_ = std::move(node);
    return;
  }
  if (index == 0) {
    node->setNextSibling(std::move(rootNode_));
    rootNode_ = std::move(node);
    return;
  }
  // The node goes to position `index` (after index nodes), or to the end.
  TKStyledNode* before = rootNode_.get();
  for (int i = 1; (index < 0 || i < index) && before->nextSibling(); ++i) before = before->nextSibling().get();
  std::shared_ptr<TKStyledNode> after = before->nextSibling();
  before->setNextSibling(nullptr);
  node->setNextSibling(std::move(after));
  before->setNextSibling(std::move(node));
}

TKStyledElement* TKStyledText::getElementByClassName(const std::string& name) {
  // The top-level chain is searched as the children of an element would be.
  for (TKStyledNode* n = rootNode_.get(); n; n = n->nextSibling().get()) {
    auto* e = dynamic_cast<TKStyledElement*>(n);
    if (!e) continue;
    if (e->className == name) return e;
    if (TKStyledElement* hit = e->getElementByClassName(name)) return hit;
  }
  return nullptr;
}

std::string TKStyledText::description() {
  layoutIfNeeded();
  std::string out;
  for (TKStyledFrame* f = rootFrame_.get(); f; f = f->nextFrame().get()) out += f->description();
  return out;
}

// --- pictures ----------------------------------------------------------------------

void TKStyledText::loadImages() {
  stopLoadingImages();
  if (!delegate_ || !hasInvalidImages_) return;
  bool fromCache = false;
  std::vector<TKStyledImageNode*> nodes = std::move(invalidImages_);
  invalidImages_.clear();
  hasInvalidImages_ = false;
  for (TKStyledImageNode* node : nodes) {
    if (node->URL().empty()) continue;
    if (auto image = TKURLCache::sharedCache().imageForURL(node->URL())) {
      node->image = image;
      fromCache = true;
      continue;
    }
    auto self = weak_from_this().lock();
    if (!self) break;  // only a shared document can be called back
    auto request = TKURLRequest::requestWithURL(node->URL(), self);
    request->setUserInfo(node);
    request->setResponse(std::make_shared<TKURLImageResponse>());
    request->send();
  }
  if (fromCache && delegate_) delegate_->styledTextNeedsDisplay(*this);
}

void TKStyledText::stopLoadingImages() {
  if (imageRequests_.empty()) return;
  std::vector<std::shared_ptr<TKURLRequest>> requests = std::move(imageRequests_);
  imageRequests_.clear();
  hasInvalidImages_ = true;
  for (auto& request : requests) {
    if (TKStyledImageNode* node = nodeOf(*request)) invalidImages_.push_back(node);
    request->cancel();
  }
}

void TKStyledText::requestDidStartLoad(TKURLRequest& request) {
  imageRequests_.push_back(request.shared_from_this());
}

void TKStyledText::requestDidFinishLoad(TKURLRequest& request) {
  auto response = std::dynamic_pointer_cast<TKURLImageResponse>(request.response());
  if (TKStyledImageNode* node = nodeOf(request); node && response) node->image = response->image();
  removeRequest(request);
  if (delegate_) delegate_->styledTextNeedsDisplay(*this);
}

void TKStyledText::requestDidFailLoadWithError(TKURLRequest& request, const ns::Error&) { removeRequest(request); }

void TKStyledText::requestDidCancelLoad(TKURLRequest& request) { removeRequest(request); }

void TKStyledText::removeRequest(TKURLRequest& request) {
  std::erase_if(imageRequests_, [&](const std::shared_ptr<TKURLRequest>& r) { return r.get() == &request; });
}
