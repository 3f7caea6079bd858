#include "toolkit/core/TKMarkupStripper.h"

#include <cctype>
#include <map>

#include "platform/foundation/String.h"

namespace {

const std::map<std::string, std::string, std::less<>>& entityTable() {
  static const std::map<std::string, std::string, std::less<>> table = {
      {"nbsp", " "}, {"amp", "&"}, {"quot", "\""}, {"apos", "'"}, {"lt", "<"}, {"gt", ">"}};
  return table;
}

constexpr std::size_t kLongestEntity = 32;

bool isNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '#';
}

}  // namespace

void TKMarkupStripper::appendEntity(std::string_view name) {
  if (name.size() > 1 && name[0] == '#') {
    bool hex = name[1] == 'x' || name[1] == 'X';
    std::string_view digits = name.substr(hex ? 2 : 1);
    long code = 0;
    for (char c : digits) {
      int d = hex ? ns::hexDigitValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
      if (d < 0 || code > 0x10FFFF) return;
      code = code * (hex ? 16 : 10) + d;
    }
    if (digits.empty() || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return;
    std::string out;
    ns::appendUtf8(out, static_cast<char32_t>(code));
    _strings.push_back(out);
    return;
  }
  auto it = entityTable().find(name);
  if (it != entityTable().end()) _strings.push_back(it->second);
}

std::string TKMarkupStripper::parse(std::string_view text) {
  _strings.clear();
  std::string run;
  auto flush = [&] {
    if (!run.empty()) _strings.push_back(std::move(run));
    run.clear();
  };
  std::size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '<') {
      if (text.substr(i, 4) == "<!--") {
        std::size_t end = text.find("-->", i + 4);
        if (end == std::string_view::npos) {  // unclosed comment: keep what follows
          run.append(text.substr(i + 4));
          break;
        }
        i = end + 3;
        continue;
      }
      if (text.substr(i, 9) == "<![CDATA[") {
        std::size_t end = text.find("]]>", i + 9);
        std::size_t stop = end == std::string_view::npos ? text.size() : end;
        run.append(text.substr(i + 9, stop - i - 9));
        i = end == std::string_view::npos ? text.size() : end + 3;
        continue;
      }
      std::size_t end = text.find('>', i + 1);
      bool looksLikeTag = i + 1 < text.size() &&
                          (std::isalpha(static_cast<unsigned char>(text[i + 1])) || text[i + 1] == '/' ||
                           text[i + 1] == '!' || text[i + 1] == '?');
      if (end == std::string_view::npos || !looksLikeTag) {  // a stray "<" is text
        run.push_back(c);
        ++i;
        continue;
      }
      i = end + 1;
      continue;
    }
    if (c == '&') {
      std::size_t j = i + 1;
      while (j < text.size() && j - i <= kLongestEntity && isNameCharacter(text[j])) ++j;
      if (j < text.size() && text[j] == ';' && j > i + 1) {
        flush();
        appendEntity(text.substr(i + 1, j - i - 1));
        i = j + 1;
        continue;
      }
      run.push_back(c);  // a stray "&" is text
      ++i;
      continue;
    }
    run.push_back(c);
    ++i;
  }
  flush();
  std::string joined;
  for (auto& s : _strings) joined += s;
  return ns::sanitizeUtf8(joined);
}
