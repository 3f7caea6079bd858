#include "toolkit/styled/TKStyledNode.h"

#include <vector>

#include "toolkit/core/TKNavigator.h"
#include "toolkit/core/TKURLCache.h"

// --- TKStyledNode ---------------------------------------------------------------

TKStyledNode::~TKStyledNode() { releaseChain(std::move(nextSibling_)); }

void TKStyledNode::releaseChain(std::shared_ptr<TKStyledNode> node) {
  std::vector<std::shared_ptr<TKStyledNode>> pending;
  pending.push_back(std::move(node));
  while (!pending.empty()) {
    std::shared_ptr<TKStyledNode> n = std::move(pending.back());
    pending.pop_back();
    if (!n || n.use_count() != 1) continue;  // held elsewhere: its owner releases it
    pending.push_back(std::move(n->nextSibling_));
    if (auto* e = dynamic_cast<TKStyledElement*>(n.get())) {
      e->lastChild_ = nullptr;
      pending.push_back(std::move(e->firstChild_));
    }
  }
}

void TKStyledNode::setNextSibling(std::shared_ptr<TKStyledNode> node) {
  if (node == nextSibling_) return;
  if (node) node->parentNode_ = parentNode_;
  std::shared_ptr<TKStyledNode> old = std::move(nextSibling_);
  nextSibling_ = std::move(node);
  releaseChain(std::move(old));
}

TKStyledNode* TKStyledNode::findLastSibling(TKStyledNode* node) {
  if (!node) return nullptr;
  while (node->nextSibling_) node = node->nextSibling_.get();
  return node;
}

std::string TKStyledNode::outerText() const {
  std::string out;
  for (const TKStyledNode* n = this; n; n = n->nextSibling_.get()) n->appendText(out);
  return out;
}

std::string TKStyledNode::outerHTML() const {
  std::string out;
  for (const TKStyledNode* n = this; n; n = n->nextSibling_.get()) n->appendHTML(out);
  return out;
}

// --- TKStyledElement ------------------------------------------------------------

TKStyledElement::TKStyledElement(const std::string& text, std::shared_ptr<TKStyledNode> next)
    : TKStyledNode(std::move(next)) {
  addText(text);
}

TKStyledElement::~TKStyledElement() {
  lastChild_ = nullptr;
  releaseChain(std::move(firstChild_));
}

void TKStyledElement::addChild(std::shared_ptr<TKStyledNode> node) {
  if (!node) return;
  TKStyledNode* added = node.get();
  if (!firstChild_) {
    firstChild_ = std::move(node);
  } else {
    lastChild_->setNextSibling(std::move(node));
  }
  added->parentNode_ = this;
  // Every node of the added chain now belongs to this element.
  TKStyledNode* last = added;
  for (TKStyledNode* n = added; n; n = n->nextSibling_.get()) {
    n->parentNode_ = this;
    last = n;
  }
  lastChild_ = last;
}

void TKStyledElement::addText(const std::string& text) { addChild(std::make_shared<TKStyledTextNode>(text)); }

void TKStyledElement::replaceChild(TKStyledNode* oldChild, std::shared_ptr<TKStyledNode> newChild) {
  if (!oldChild) return;
  if (oldChild == firstChild_.get()) {
    std::shared_ptr<TKStyledNode> keep = firstChild_;  // alive until the relinking is done
    std::shared_ptr<TKStyledNode> after = std::move(oldChild->nextSibling_);
    if (newChild) {
      newChild->nextSibling_ = std::move(after);
      newChild->parentNode_ = this;
      if (lastChild_ == oldChild) lastChild_ = newChild.get();
      firstChild_ = std::move(newChild);
    } else {
      firstChild_ = std::move(after);
      if (lastChild_ == oldChild) lastChild_ = nullptr;
    }
    return;
  }
  TKStyledNode* before = firstChild_.get();
  while (before && before->nextSibling_.get() != oldChild) before = before->nextSibling_.get();
  if (!before) return;
  std::shared_ptr<TKStyledNode> keep = before->nextSibling_;
  std::shared_ptr<TKStyledNode> after = std::move(oldChild->nextSibling_);
  if (newChild) {
    newChild->nextSibling_ = std::move(after);
    newChild->parentNode_ = this;
    if (lastChild_ == oldChild) lastChild_ = newChild.get();
    before->nextSibling_ = std::move(newChild);
  } else {
    before->nextSibling_ = std::move(after);
    if (lastChild_ == oldChild) lastChild_ = before;
  }
}

namespace {

// Depth-first search of a chain; an explicit stack keeps deep trees off the call stack.
TKStyledElement* findByClass(TKStyledNode* first, const std::string& name) {
  std::vector<TKStyledNode*> stack;
  if (first) stack.push_back(first);
  while (!stack.empty()) {
    TKStyledNode* n = stack.back();
    stack.pop_back();
    if (n->nextSibling()) stack.push_back(n->nextSibling().get());
    if (auto* e = dynamic_cast<TKStyledElement*>(n)) {
      if (e->className == name) return e;
      if (e->firstChild()) stack.push_back(e->firstChild().get());
    }
  }
  return nullptr;
}

}  // namespace

TKStyledElement* TKStyledElement::getElementByClassName(const std::string& name) {
  return findByClass(firstChild_.get(), name);
}

void TKStyledElement::appendText(std::string& out) const {
  if (firstChild_) out += firstChild_->outerText();
}

void TKStyledElement::appendHTML(std::string& out) const {
  if (firstChild_) {
    out += "<div>" + firstChild_->outerHTML() + "</div>";
  } else {
    out += "<div/>";
  }
}

std::string TKStyledElement::description() const { return firstChild_ ? firstChild_->description() : ""; }
std::string TKStyledBoldNode::description() const { return "*" + TKStyledElement::description() + "*"; }
std::string TKStyledItalicNode::description() const { return "/" + TKStyledElement::description() + "/"; }
std::string TKStyledLinkNode::description() const { return "<" + TKStyledElement::description() + ">"; }
std::string TKStyledButtonNode::description() const { return "<" + TKStyledElement::description() + ">"; }

void TKStyledLinkNode::performDefaultAction() {
  if (!URL.empty()) TKStyledTextOpenURL(URL);
}

void TKStyledButtonNode::performDefaultAction() {
  if (!URL.empty()) TKStyledTextOpenURL(URL);
}

// --- TKStyledImageNode ----------------------------------------------------------

void TKStyledImageNode::setURL(const std::string& url) {
  if (url == url_) return;
  url_ = url;
  image = url.empty() ? nullptr : TKURLCache::sharedCache().imageForURL(url);
}

void TKStyledImageNode::appendHTML(std::string& out) const { out += "<img src=\"" + url_ + "\"/>"; }

// Links open through the shared navigator, which hands to the system only the
// addresses the URL opener allows.
void TKStyledTextOpenURL(const std::string& url) { TKNavigatorOpenURLString(url); }
