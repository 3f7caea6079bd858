#pragma once
// Turns markup (a small subset of XHTML: span, div, p, br, b, i, a, button,
// img) or plain text into the node tree of a styled text. Markup is read with
// expat; newlines may become line breaks and "http://" runs links. Elements
// nest at most kMaxDepth deep: deeper tags are read as unknown ones. Used once
// per document, on the caller's thread.
#include <memory>
#include <string>
#include <vector>

class TKStyledNode;
class TKStyledElement;

class TKStyledTextParser {
 public:
  static constexpr int kMaxDepth = 64;

  TKStyledTextParser();
  ~TKStyledTextParser();
  TKStyledTextParser(const TKStyledTextParser&) = delete;
  TKStyledTextParser& operator=(const TKStyledTextParser&) = delete;

  // Parses the markup; false when it is not well formed (the nodes made up to
  // the error stay the result).
  bool parseXHTML(const std::string& markup);
  void parseText(const std::string& text);
  void parseURLs(const std::string& text);

  const std::shared_ptr<TKStyledNode>& rootNode() const { return rootNode_; }
  void setRootNode(std::shared_ptr<TKStyledNode> node) { rootNode_ = std::move(node); }
  bool parseLineBreaks() const { return parseLineBreaks_; }
  void setParseLineBreaks(bool on) { parseLineBreaks_ = on; }
  bool parsesURLs() const { return parseURLs_; }
  void setParseURLs(bool on) { parseURLs_ = on; }

  void addNode(std::shared_ptr<TKStyledNode> node);
  void pushNode(std::shared_ptr<TKStyledElement> element);
  void popNode();
  void flushCharacters();

  // Expat's callbacks.
  void didStartElement(const char* name, const char** attributes);
  void foundCharacters(const char* text, int length);
  void didEndElement();

 private:
  std::shared_ptr<TKStyledNode> rootNode_;
  TKStyledElement* topElement_ = nullptr;
  TKStyledNode* lastNode_ = nullptr;
  std::string chars_;
  std::vector<std::shared_ptr<TKStyledElement>> stack_;
  // One entry per open tag: whether it opened an element.
  std::vector<bool> opened_;
  bool parseLineBreaks_ = false;
  bool parseURLs_ = false;
};

// The text with "&", "<" and ">" escaped, for placing it into markup.
std::string TKStyledTextEscape(const std::string& text);
// Markup shown as plain text: tags removed, the parser's entities decoded.
std::string TKStyledTextStripTags(const std::string& markup);
