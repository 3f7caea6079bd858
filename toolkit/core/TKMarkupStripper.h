#pragma once
// Turns marked-up text into plain text: tags go, entities are resolved. It
// reads leniently: a stray "<" or "&", an unclosed tag or comment keeps the
// text around it instead of losing everything after the error.
#include <string>
#include <string_view>
#include <vector>

class TKMarkupStripper {
 public:
  // The text runs joined: tags removed, "nbsp" (a space), "amp", "quot",
  // "apos", "lt", "gt" and numeric references resolved, other entities dropped.
  std::string parse(std::string_view text);

 private:
  void appendEntity(std::string_view name);
  std::vector<std::string> _strings;
};
