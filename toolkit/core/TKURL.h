#pragma once
// A URL string taken apart as the URL map reads it: scheme, host, path (and
// its components), query and fragment. Text with spaces, control characters,
// non-ASCII bytes or unsafe punctuation is no URL.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TKURL {
  static std::optional<TKURL> parse(std::string_view text);

  std::string absoluteString;
  std::string scheme;  // "" when none
  std::string host;    // "" when none
  std::string path;
  std::string query;
  std::string fragment;
  bool hasHost = false;
  bool hasQuery = false;
  bool hasFragment = false;

  // "/" first when the path is absolute, then its non-empty pieces, decoded.
  std::vector<std::string> pathComponents() const;
};
