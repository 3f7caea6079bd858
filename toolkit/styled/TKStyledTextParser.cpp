#include "toolkit/styled/TKStyledTextParser.h"

#include <expat.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "toolkit/styled/TKStyledNode.h"

namespace {

std::string lower(const char* s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// The value of an attribute, matched exactly as written; null when missing.
const char* attribute(const char** attributes, const char* name) {
  for (int i = 0; attributes && attributes[i]; i += 2) {
    if (std::strcmp(attributes[i], name) == 0) return attributes[i + 1];
  }
  return nullptr;
}

std::shared_ptr<TKStyledElement> elementForTag(const std::string& tag, const char** attrs) {
  auto classOf = [&](TKStyledElement& e) {
    if (const char* c = attribute(attrs, "class")) e.className = c;
  };
  if (tag == "span") {
    auto e = std::make_shared<TKStyledInline>();
    classOf(*e);
    return e;
  }
  if (tag == "br") {
    auto e = std::make_shared<TKStyledLineBreakNode>();
    classOf(*e);
    return e;
  }
  if (tag == "div" || tag == "p") {
    auto e = std::make_shared<TKStyledBlock>();
    classOf(*e);
    return e;
  }
  if (tag == "b") return std::make_shared<TKStyledBoldNode>();
  if (tag == "i") return std::make_shared<TKStyledItalicNode>();
  if (tag == "a" || tag == "button") {
    const char* href = attribute(attrs, "href");
    std::string url = href ? href : "";
    if (tag == "a") return std::make_shared<TKStyledLinkNode>(url);
    return std::make_shared<TKStyledButtonNode>(url);
  }
  if (tag == "img") {
    auto e = std::make_shared<TKStyledImageNode>();
    classOf(*e);
    if (const char* src = attribute(attrs, "src")) e->setURL(src);
    if (const char* w = attribute(attrs, "width")) e->width = std::strtof(w, nullptr);
    if (const char* h = attribute(attrs, "height")) e->height = std::strtof(h, nullptr);
    return e;
  }
  return nullptr;
}

void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attrs) {
  static_cast<TKStyledTextParser*>(self)->didStartElement(name, attrs);
}
void XMLCALL onEnd(void* self, const XML_Char*) { static_cast<TKStyledTextParser*>(self)->didEndElement(); }
void XMLCALL onText(void* self, const XML_Char* s, int len) {
  static_cast<TKStyledTextParser*>(self)->foundCharacters(s, len);
}

// The parser's entities beyond XML's own: a no-break space reads as an ordinary space.
constexpr const char* kPrologue = "<!DOCTYPE x [<!ENTITY nbsp \" \">]>";

// Length of the newline at text[i] (LF, CR, NEL, LS, PS), 0 when none.
size_t newlineAt(const std::string& t, size_t i) {
  unsigned char c = t[i];
  if (c == '\n' || c == '\r' || c == 0x0B || c == 0x0C) return 1;
  if (c == 0xC2 && i + 1 < t.size() && static_cast<unsigned char>(t[i + 1]) == 0x85) return 2;
  if (c == 0xE2 && i + 2 < t.size() && static_cast<unsigned char>(t[i + 1]) == 0x80 &&
      (static_cast<unsigned char>(t[i + 2]) == 0xA8 || static_cast<unsigned char>(t[i + 2]) == 0xA9)) {
    return 3;
  }
  return 0;
}

size_t findHTTP(const std::string& t, size_t from) {
  static const char kHTTP[] = "http://";
  for (size_t i = from; i + 7 <= t.size(); ++i) {
    size_t k = 0;
    while (k < 7) {
      char c = t[i + k];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c != kHTTP[k]) break;
      ++k;
    }
    if (k == 7) return i;
  }
  return std::string::npos;
}

}  // namespace

TKStyledTextParser::TKStyledTextParser() = default;
TKStyledTextParser::~TKStyledTextParser() = default;

bool TKStyledTextParser::parseXHTML(const std::string& markup) {
  // Text without a tag, an entity or a carriage return (which XML would make
  // a newline) reads the same whether the XML parser takes it or refuses it:
  // it is taken as it stands.
  if (markup.find_first_of("<&\r") == std::string::npos) {
    if (!markup.empty()) parseText(markup);
    return true;
  }
  XML_Parser p = XML_ParserCreate("UTF-8");
  if (!p) return false;
  XML_SetUserData(p, this);
  XML_SetElementHandler(p, onStart, onEnd);
  XML_SetCharacterDataHandler(p, onText);
  std::string doc = std::string(kPrologue) + "<x>" + markup + "</x>";
  bool ok = XML_Parse(p, doc.data(), static_cast<int>(doc.size()), 1) == XML_STATUS_OK;
  XML_ParserFree(p);
  // Characters gathered since the last tag before an error are dropped.
  chars_.clear();
  return ok;
}

void TKStyledTextParser::didStartElement(const char* name, const char** attributes) {
  flushCharacters();
  std::shared_ptr<TKStyledElement> element;
  if (static_cast<int>(stack_.size()) < kMaxDepth) element = elementForTag(lower(name), attributes);
  opened_.push_back(element != nullptr);
  if (element) pushNode(std::move(element));
}

void TKStyledTextParser::foundCharacters(const char* text, int length) { chars_.append(text, length); }

void TKStyledTextParser::didEndElement() {
  flushCharacters();
  if (opened_.empty()) return;
  bool opened = opened_.back();
  opened_.pop_back();
  if (opened) popNode();
}

void TKStyledTextParser::addNode(std::shared_ptr<TKStyledNode> node) {
  if (!rootNode_) {
    lastNode_ = node.get();
    rootNode_ = std::move(node);
  } else if (topElement_) {
    topElement_->addChild(std::move(node));
  } else {
    TKStyledNode* n = node.get();
    lastNode_->setNextSibling(std::move(node));
    lastNode_ = n;
  }
}

void TKStyledTextParser::pushNode(std::shared_ptr<TKStyledElement> element) {
  TKStyledElement* e = element.get();
  addNode(element);
  stack_.push_back(std::move(element));
  topElement_ = e;
}

void TKStyledTextParser::popNode() {
  if (!stack_.empty()) stack_.pop_back();
  topElement_ = stack_.empty() ? nullptr : stack_.back().get();
}

void TKStyledTextParser::flushCharacters() {
  if (!chars_.empty()) {
    std::string text = std::move(chars_);
    parseText(text);
  }
  chars_.clear();
}

void TKStyledTextParser::parseText(const std::string& text) {
  if (!parseLineBreaks_) {
    if (parseURLs_) {
      parseURLs(text);
    } else {
      addNode(std::make_shared<TKStyledTextNode>(text));
    }
    return;
  }
  size_t start = 0;
  for (size_t i = 0; i < text.size();) {
    size_t n = newlineAt(text, i);
    if (n == 0) {
      ++i;
      continue;
    }
    parseURLs(text.substr(start, i - start));
    addNode(std::make_shared<TKStyledLineBreakNode>());
    i += n;
    start = i;
  }
  parseURLs(text.substr(start));
}

void TKStyledTextParser::parseURLs(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    size_t s = findHTTP(text, i);
    if (s == std::string::npos) {
      addNode(std::make_shared<TKStyledTextNode>(text.substr(i)));
      return;
    }
    if (s > i) addNode(std::make_shared<TKStyledTextNode>(text.substr(i, s - i)));
    size_t e = text.find(' ', s);
    std::string url = text.substr(s, e == std::string::npos ? std::string::npos : e - s);
    addNode(std::make_shared<TKStyledLinkNode>(url, url, nullptr));
    if (e == std::string::npos) return;
    i = e;
  }
}

// --- escaping and stripping ----------------------------------------------------------

std::string TKStyledTextEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string TKStyledTextStripTags(const std::string& markup) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&nbsp;", " "}, {"&amp;", "&"}, {"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&apos;", "'"}};
  std::string out;
  out.reserve(markup.size());
  for (size_t i = 0; i < markup.size();) {
    char c = markup[i];
    if (c == '<') {
      // A tag runs to its ">"; a "<" that opens no tag is kept as text.
      size_t close = markup.find('>', i);
      bool tagLike = close != std::string::npos && i + 1 < markup.size() &&
                     (std::isalpha(static_cast<unsigned char>(markup[i + 1])) || markup[i + 1] == '/' ||
                      markup[i + 1] == '!' || markup[i + 1] == '?');
      if (tagLike) {
        i = close + 1;
        continue;
      }
    } else if (c == '&') {
      bool matched = false;
      for (auto [name, value] : kEntities) {
        size_t n = std::strlen(name);
        if (markup.compare(i, n, name) == 0) {
          out += value;
          i += n;
          matched = true;
          break;
        }
      }
      if (matched) continue;
    }
    out += c;
    ++i;
  }
  return out;
}
