#include "toolkit/core/TKURL.h"

#include <cctype>

#include "platform/foundation/String.h"

namespace {

bool isURLByte(unsigned char c) {
  if (c <= 0x20 || c >= 0x7F) return false;
  switch (c) {
    case '"': case '<': case '>': case '\\': case '^': case '`': case '{': case '|': case '}':
      return false;
    default:
      return true;
  }
}

bool isScheme(std::string_view s) {
  if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0]))) return false;
  for (unsigned char c : s)
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  return true;
}

}  // namespace

std::optional<TKURL> TKURL::parse(std::string_view text) {
  for (unsigned char c : text)
    if (!isURLByte(c)) return std::nullopt;
  TKURL url;
  url.absoluteString = std::string(text);
  std::string_view rest = text;
  std::size_t colon = rest.find(':');
  std::size_t firstStop = rest.find_first_of("/?#");
  if (colon != std::string_view::npos && (firstStop == std::string_view::npos || colon < firstStop) &&
      isScheme(rest.substr(0, colon))) {
    url.scheme = std::string(rest.substr(0, colon));
    rest.remove_prefix(colon + 1);
  }
  std::size_t hash = rest.find('#');
  if (hash != std::string_view::npos) {
    url.hasFragment = true;
    url.fragment = std::string(rest.substr(hash + 1));
    rest = rest.substr(0, hash);
  }
  std::size_t question = rest.find('?');
  if (question != std::string_view::npos) {
    url.hasQuery = true;
    url.query = std::string(rest.substr(question + 1));
    rest = rest.substr(0, question);
  }
  if (rest.substr(0, 2) == "//") {
    rest.remove_prefix(2);
    std::size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos) authority.remove_prefix(at + 1);
    if (!authority.empty() && authority[0] == '[') {
      std::size_t close = authority.find(']');
      authority = close == std::string_view::npos ? authority : authority.substr(0, close + 1);
    } else if (std::size_t port = authority.find(':'); port != std::string_view::npos) {
      authority = authority.substr(0, port);
    }
    url.host = std::string(authority);
    url.hasHost = !url.host.empty();
  }
  url.path = std::string(rest);
  return url;
}

std::vector<std::string> TKURL::pathComponents() const {
  std::vector<std::string> out;
  if (path.empty()) return out;
  if (path[0] == '/') out.push_back("/");
  for (const std::string& piece : ns::componentsSeparatedByString(path, "/"))
    if (!piece.empty()) out.push_back(ns::sanitizeUtf8(ns::percentUnescape(piece)));
  return out;
}
