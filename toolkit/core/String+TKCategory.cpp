#include "toolkit/core/String+TKCategory.h"

#include "platform/foundation/String.h"
#include "toolkit/core/TKMarkupStripper.h"

namespace ns {

bool isWhitespace(std::string_view s) {
  for (char32_t c : utf8ToUtf32(s))
    if (!isWhitespaceOrNewline(c)) return false;
  return true;
}

bool isEmptyOrWhitespace(std::string_view s) {
  for (char32_t c : utf8ToUtf32(s))
    if (!isWhitespace(c)) return false;
  return true;
}

std::string stringByRemovingHTMLTags(std::string_view s) { return TKMarkupStripper().parse(s); }

Dictionary queryDictionary(std::string_view query) {
  Dictionary pairs;
  for (const std::string& pair : componentsSeparatedByCharacters(query, [](char32_t c) { return c == U'&' || c == U';'; })) {
    if (pair.empty()) continue;
    std::vector<std::string> parts = componentsSeparatedByString(pair, "=");
    if (parts.size() != 2) continue;
    pairs[sanitizeUtf8(percentUnescape(parts[0]))] = sanitizeUtf8(percentUnescape(parts[1]));
  }
  return pairs;
}

std::string escapeQueryComponent(std::string_view s) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                      c == '.' || c == '_' || c == '~';
    if (unreserved) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(hex[c >> 4]);
      out.push_back(hex[c & 15]);
    }
  }
  return out;
}

std::string stringByAddingQueryDictionary(std::string_view url, const Dictionary& query) {
  std::vector<std::string> pairs;
  for (const auto& [key, value] : query)
    pairs.push_back(escapeQueryComponent(key) + "=" + escapeQueryComponent(value.stringValue()));
  std::string out(url);
  out += url.find('?') != std::string_view::npos ? "&" : "?";
  return out + componentsJoinedByString(pairs, "&");
}

}  // namespace ns
