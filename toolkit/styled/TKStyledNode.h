#pragma once
// The node tree of a styled text: text runs, block and inline elements, bold
// and italic spans, links, buttons and images. Siblings form a singly linked
// chain that owns its next node; an element owns its child chain. Back links
// (parent, last child) are plain pointers: the tree's owner outlives its
// walks. Long sibling chains are walked and released by iteration. Main thread only.
#include <memory>
#include <string>

namespace ui {
class Image;
}

class TKStyledElement;

class TKStyledNode : public std::enable_shared_from_this<TKStyledNode> {
 public:
  TKStyledNode() = default;
  explicit TKStyledNode(std::shared_ptr<TKStyledNode> next) { setNextSibling(std::move(next)); }
  virtual ~TKStyledNode();
  TKStyledNode(const TKStyledNode&) = delete;
  TKStyledNode& operator=(const TKStyledNode&) = delete;

  const std::shared_ptr<TKStyledNode>& nextSibling() const { return nextSibling_; }
  // The new sibling takes this node's parent.
  void setNextSibling(std::shared_ptr<TKStyledNode> node);
  TKStyledElement* parentNode() const { return parentNode_; }
  void setParentNode(TKStyledElement* parent) { parentNode_ = parent; }

  // The last node of the chain that starts at the node; null for null.
  static TKStyledNode* findLastSibling(TKStyledNode* node);
  template <class T>
  T* ancestorOrSelfWithClass();

  virtual void performDefaultAction() {}
  // Plain text and markup of this node and the siblings after it.
  std::string outerText() const;
  std::string outerHTML() const;
  virtual std::string description() const { return ""; }

  // This node alone, without its siblings.
  virtual void appendText(std::string& out) const { (void)out; }
  virtual void appendHTML(std::string& out) const { (void)out; }

 protected:
  // Releases chains of nodes by iteration rather than by nested destructors.
  static void releaseChain(std::shared_ptr<TKStyledNode> node);

 private:
  friend class TKStyledElement;
  std::shared_ptr<TKStyledNode> nextSibling_;
  TKStyledElement* parentNode_ = nullptr;
};

class TKStyledTextNode : public TKStyledNode {
 public:
  explicit TKStyledTextNode(std::string text, std::shared_ptr<TKStyledNode> next = nullptr)
      : TKStyledNode(std::move(next)), text(std::move(text)) {}
  std::string text;
  void appendText(std::string& out) const override { out += text; }
  // The text is written as it is, unescaped.
  void appendHTML(std::string& out) const override { out += text; }
  std::string description() const override { return text; }
};

class TKStyledElement : public TKStyledNode {
 public:
  TKStyledElement() = default;
  explicit TKStyledElement(const std::string& text, std::shared_ptr<TKStyledNode> next = nullptr);
  ~TKStyledElement() override;

  const std::shared_ptr<TKStyledNode>& firstChild() const { return firstChild_; }
  TKStyledNode* lastChild() const { return lastChild_; }
  std::string className;

  void addChild(std::shared_ptr<TKStyledNode> node);
  void addText(const std::string& text);
  // Replaces old (a child) by the new node, or removes it when the new one is null.
  void replaceChild(TKStyledNode* oldChild, std::shared_ptr<TKStyledNode> newChild);
  // Depth-first, parent before children; null when none matches.
  TKStyledElement* getElementByClassName(const std::string& name);

  void appendText(std::string& out) const override;
  void appendHTML(std::string& out) const override;
  std::string description() const override;

 private:
  friend class TKStyledNode;
  std::shared_ptr<TKStyledNode> firstChild_;
  TKStyledNode* lastChild_ = nullptr;
};

// A block element starts and ends a line.
class TKStyledBlock : public TKStyledElement {
 public:
  using TKStyledElement::TKStyledElement;
};

class TKStyledLineBreakNode : public TKStyledBlock {
 public:
  using TKStyledBlock::TKStyledBlock;
};

class TKStyledInline : public TKStyledElement {
 public:
  using TKStyledElement::TKStyledElement;
};

class TKStyledInlineBlock : public TKStyledElement {
 public:
  using TKStyledElement::TKStyledElement;
};

class TKStyledBoldNode : public TKStyledInline {
 public:
  using TKStyledInline::TKStyledInline;
  std::string description() const override;
};

class TKStyledItalicNode : public TKStyledInline {
 public:
  using TKStyledInline::TKStyledInline;
  std::string description() const override;
};

class TKStyledLinkNode : public TKStyledInline {
 public:
  TKStyledLinkNode() = default;
  explicit TKStyledLinkNode(std::string url, std::shared_ptr<TKStyledNode> next = nullptr)
      : URL(std::move(url)) {
    setNextSibling(std::move(next));
  }
  TKStyledLinkNode(const std::string& text, std::string url, std::shared_ptr<TKStyledNode> next)
      : TKStyledInline(text, std::move(next)), URL(std::move(url)) {}
  std::string URL;
  bool highlighted = false;
  // Opens the URL (nothing without one).
  void performDefaultAction() override;
  std::string description() const override;
};

class TKStyledButtonNode : public TKStyledInlineBlock {
 public:
  TKStyledButtonNode() = default;
  explicit TKStyledButtonNode(std::string url, std::shared_ptr<TKStyledNode> next = nullptr) : URL(std::move(url)) {
    setNextSibling(std::move(next));
  }
  TKStyledButtonNode(const std::string& text, std::string url, std::shared_ptr<TKStyledNode> next)
      : TKStyledInlineBlock(text, std::move(next)), URL(std::move(url)) {}
  std::string URL;
  bool highlighted = false;
  void performDefaultAction() override;
  std::string description() const override;
};

class TKStyledImageNode : public TKStyledElement {
 public:
  TKStyledImageNode() = default;
  explicit TKStyledImageNode(const std::string& url) { setURL(url); }

  const std::string& URL() const { return url_; }
  // A new URL takes its picture from the URL cache when it is there.
  void setURL(const std::string& url);
  std::shared_ptr<ui::Image> image;
  std::shared_ptr<ui::Image> defaultImage;
  float width = 0, height = 0;  // 0: the picture's own size

  void appendText(std::string&) const override {}
  void appendHTML(std::string& out) const override;
  std::string description() const override { return "(" + url_ + ")"; }

 private:
  std::string url_;
};

// Where a link or button sends its URL.
void TKStyledTextOpenURL(const std::string& url);

template <class T>
T* TKStyledNode::ancestorOrSelfWithClass() {
  for (TKStyledNode* n = this; n; n = n->parentNode()) {
    if (auto* t = dynamic_cast<T*>(n)) return t;
  }
  return nullptr;
}
