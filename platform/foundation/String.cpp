#include "platform/foundation/String.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace ns {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the code point at s[i] and moves i past it. An invalid sequence
// (bad lead, truncated, overlong, surrogate, beyond U+10FFFF) gives U+FFFD
// and consumes only its valid prefix, so decoding always makes progress.
char32_t decodeUtf8(std::string_view s, std::size_t& i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char b0 = byte(i);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int extra;
  char32_t cp;
  char32_t minimum;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    extra = 1, cp = b0 & 0x1F, minimum = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    extra = 2, cp = b0 & 0x0F, minimum = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    extra = 3, cp = b0 & 0x07, minimum = 0x10000;
  } else {
    ++i;
    return kReplacement;
  }
  std::size_t k = i + 1;
  for (int n = 0; n < extra; ++n, ++k) {
    if (k >= s.size() || (byte(k) & 0xC0) != 0x80) {
      i = k;
      return kReplacement;
    }
    cp = (cp << 6) | (byte(k) & 0x3F);
  }
  i = k;
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
  return cp;
}

template <class F>
void forEachCodePoint(std::string_view s, F&& f) {
  for (std::size_t i = 0; i < s.size();) f(decodeUtf8(s, i));
}

std::u16string foldedUtf16(std::string_view s, bool caseInsensitive) {
  std::u16string u = utf8ToUtf16(s);
  if (caseInsensitive) {
    for (auto& c : u) {
      if (c < 0xD800 || c > 0xDFFF) c = static_cast<char16_t>(toLower(c));
    }
  }
  return u;
}

bool inRanges(char32_t c, std::initializer_list<std::pair<char32_t, char32_t>> ranges) {
  for (auto [lo, hi] : ranges) {
    if (c >= lo && c <= hi) return true;
  }
  return false;
}

// Pairs laid out upper, lower, upper, lower... in [lo, hi], with upper at the
// even (or odd) offset.
bool inPairBlock(char32_t c, char32_t lo, char32_t hi) { return c >= lo && c <= hi; }

}  // namespace

// ---- encodings ------------------------------------------------------------------

void appendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::u16string utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  forEachCodePoint(s, [&](char32_t c) {
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  });
  return out;
}

std::string utf16ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    }
    appendUtf8(out, c);  // a lone surrogate becomes U+FFFD
  }
  return out;
}

std::u32string utf8ToUtf32(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  forEachCodePoint(s, [&](char32_t c) { out.push_back(c); });
  return out;
}

std::string utf32ToUtf8(std::u32string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char32_t c : s) appendUtf8(out, c);
  return out;
}

std::string sanitizeUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  forEachCodePoint(s, [&](char32_t c) { appendUtf8(out, c); });
  return out;
}

bool isValidUtf8(std::string_view s) { return sanitizeUtf8(s) == s; }

// ---- counting and indexing ---------------------------------------------------------

std::size_t length16(std::string_view s) {
  std::size_t n = 0;
  forEachCodePoint(s, [&](char32_t c) { n += c >= 0x10000 ? 2 : 1; });
  return n;
}

char16_t characterAt16(std::string_view s, std::size_t index) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size();) {
    char32_t c = decodeUtf8(s, i);
    if (c >= 0x10000) {
      if (index == n) return static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      if (index == n + 1) return static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
      n += 2;
    } else {
      if (index == n) return static_cast<char16_t>(c);
      n += 1;
    }
  }
  return 0;
}

std::string substring16(std::string_view s, std::size_t start, std::size_t length) {
  std::u16string u = utf8ToUtf16(s);
  if (start >= u.size()) return {};
  return utf16ToUtf8(std::u16string_view(u).substr(start, length));
}

std::string substringFrom16(std::string_view s, std::size_t start) {
  return substring16(s, start, NotFound);
}

std::string substringTo16(std::string_view s, std::size_t end) { return substring16(s, 0, end); }

// ---- searching ------------------------------------------------------------------------

Range rangeOfString(std::string_view s, std::string_view needle, unsigned options) {
  return rangeOfString(s, needle, options, Range{0, NotFound});
}

Range rangeOfString(std::string_view s, std::string_view needle, unsigned options, Range searchRange) {
  bool fold = options & CaseInsensitiveSearch;
  std::u16string hay = foldedUtf16(s, fold);
  std::u16string pin = foldedUtf16(needle, fold);
  if (pin.empty() || searchRange.location == NotFound || searchRange.location > hay.size()) return {};
  std::size_t begin = searchRange.location;
  std::size_t end = searchRange.length > hay.size() - begin ? hay.size() : begin + searchRange.length;
  if (end - begin < pin.size()) return {};
  std::u16string_view window = std::u16string_view(hay).substr(begin, end - begin);
  std::size_t at;
  if (options & BackwardsSearch) {
    at = window.rfind(pin);
    if ((options & AnchoredSearch) && at != std::u16string_view::npos && at + pin.size() != window.size())
      at = std::u16string_view::npos;
  } else {
    at = window.find(pin);
    if ((options & AnchoredSearch) && at != 0) at = std::u16string_view::npos;
  }
  if (at == std::u16string_view::npos) return {};
  return Range{begin + at, pin.size()};
}

std::size_t indexOf16(std::string_view s, std::string_view needle, std::size_t from, bool caseInsensitive) {
  return rangeOfString(s, needle, caseInsensitive ? static_cast<unsigned>(CaseInsensitiveSearch) : 0u, Range{from, NotFound})
      .location;
}

bool contains(std::string_view s, std::string_view needle, bool caseInsensitive) {
  if (!caseInsensitive) return !needle.empty() && s.find(needle) != std::string_view::npos;
  return rangeOfString(s, needle, CaseInsensitiveSearch).found();
}

bool hasPrefix(std::string_view s, std::string_view prefix) {
  return !prefix.empty() && s.substr(0, prefix.size()) == prefix;
}

bool hasSuffix(std::string_view s, std::string_view suffix) {
  return !suffix.empty() && s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// ---- editing ----------------------------------------------------------------------------

std::string replaceAll(std::string_view s, std::string_view search, std::string_view replacement) {
  if (search.empty()) return std::string(s);
  std::string out;
  out.reserve(s.size());
  std::size_t pos = 0;
  for (;;) {
    std::size_t at = s.find(search, pos);
    if (at == std::string_view::npos) break;
    out.append(s.substr(pos, at - pos));
    out.append(replacement);
    pos = at + search.size();
  }
  out.append(s.substr(pos));
  return out;
}

std::string replaceRange16(std::string_view s, Range range, std::string_view replacement) {
  std::u16string u = utf8ToUtf16(s);
  std::size_t start = std::min(range.location, u.size());
  std::size_t len = std::min(range.length, u.size() - start);
  u.replace(start, len, utf8ToUtf16(replacement));
  return utf16ToUtf8(u);
}

// ---- case ---------------------------------------------------------------------------------

char32_t toLower(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x130) return 'i';
  if (c == 0x178) return 0xFF;
  if ((inPairBlock(c, 0x100, 0x137) || inPairBlock(c, 0x14A, 0x177)) && c % 2 == 0) return c + 1;
  if ((inPairBlock(c, 0x139, 0x148) || inPairBlock(c, 0x179, 0x17E)) && c % 2 == 1) return c + 1;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 37;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 63;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if ((inPairBlock(c, 0x460, 0x481) || inPairBlock(c, 0x48A, 0x4BF) || inPairBlock(c, 0x4D0, 0x52F)) &&
      c % 2 == 0)
    return c + 1;
  if (c == 0x4C0) return 0x4CF;
  if (inPairBlock(c, 0x4C1, 0x4CE) && c % 2 == 1) return c + 1;
  if (c >= 0x531 && c <= 0x556) return c + 48;
  if ((inPairBlock(c, 0x1E00, 0x1E95) || inPairBlock(c, 0x1EA0, 0x1EFF)) && c % 2 == 0) return c + 1;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
  return c;
}

char32_t toUpper(char32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0xFF) return 0x178;
  if (c == 0xB5) return 0x39C;
  if (c == 0x131) return 'I';
  if (c == 0x17F) return 'S';
  if ((inPairBlock(c, 0x100, 0x137) || inPairBlock(c, 0x14A, 0x177)) && c % 2 == 1) return c - 1;
  if ((inPairBlock(c, 0x139, 0x148) || inPairBlock(c, 0x179, 0x17E)) && c % 2 == 0) return c - 1;
  if (c == 0x3C2) return 0x3A3;
  if (c >= 0x3B1 && c <= 0x3CB) return c - 32;
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 37;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 63;
  if (c >= 0x430 && c <= 0x44F) return c - 32;
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  if ((inPairBlock(c, 0x460, 0x481) || inPairBlock(c, 0x48A, 0x4BF) || inPairBlock(c, 0x4D0, 0x52F)) &&
      c % 2 == 1)
    return c - 1;
  if (c == 0x4CF) return 0x4C0;
  if (inPairBlock(c, 0x4C1, 0x4CE) && c % 2 == 0) return c - 1;
  if (c >= 0x561 && c <= 0x586) return c - 48;
  if ((inPairBlock(c, 0x1E00, 0x1E95) || inPairBlock(c, 0x1EA0, 0x1EFF)) && c % 2 == 1) return c - 1;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 32;
  return c;
}

namespace {
std::string mapCase(std::string_view s, char32_t (*f)(char32_t)) {
  std::string out;
  out.reserve(s.size());
  forEachCodePoint(s, [&](char32_t c) { appendUtf8(out, f(c)); });
  return out;
}
}  // namespace

std::string lowercase(std::string_view s) { return mapCase(s, toLower); }
std::string uppercase(std::string_view s) { return mapCase(s, toUpper); }

int caseInsensitiveCompare(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    char32_t x = toLower(decodeUtf8(a, i));
    char32_t y = toLower(decodeUtf8(b, j));
    if (x != y) return x < y ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

// ---- character classes ---------------------------------------------------------------------

bool isWhitespace(char32_t c) {
  return c == 0x20 || c == 0x09 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
         c == 0x202F || c == 0x205F || c == 0x3000;
}

bool isNewline(char32_t c) {
  return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

bool isWhitespaceOrNewline(char32_t c) { return isWhitespace(c) || isNewline(c); }

bool isPunctuation(char32_t c) {
  if (c < 0x80) {
    switch (c) {
      case '!': case '"': case '#': case '%': case '&': case '\'': case '(': case ')':
      case '*': case ',': case '-': case '.': case '/': case ':': case ';': case '?':
      case '@': case '[': case '\\': case ']': case '_': case '{': case '}':
        return true;
      default:
        return false;
    }
  }
  switch (c) {
    case 0xA1: case 0xA7: case 0xAB: case 0xB6: case 0xB7: case 0xBB: case 0xBF:
    case 0x37E: case 0x387: case 0x589: case 0x58A: case 0x5BE: case 0x5C0: case 0x5C3:
    case 0x5C6: case 0x5F3: case 0x5F4: case 0x609: case 0x60A: case 0x60C: case 0x60D:
    case 0x61B: case 0x61E: case 0x61F: case 0x6D4: case 0xFE63: case 0xFE68: case 0xFE6A:
    case 0xFE6B: case 0xFF1A: case 0xFF1B: case 0xFF1F: case 0xFF20: case 0xFF3F:
    case 0xFF5B: case 0xFF5D:
      return true;
    default:
      break;
  }
  return inRanges(c, {{0x55A, 0x55F}, {0x66A, 0x66D}, {0x964, 0x965}, {0x2010, 0x2027},
                      {0x2030, 0x2043}, {0x2045, 0x2051}, {0x2053, 0x205E}, {0x207D, 0x207E},
                      {0x208D, 0x208E}, {0x2308, 0x230B}, {0x2329, 0x232A}, {0x2768, 0x2775},
                      {0x27C5, 0x27C6}, {0x27E6, 0x27EF}, {0x2983, 0x2998}, {0x29D8, 0x29DB},
                      {0x29FC, 0x29FD}, {0x2E00, 0x2E4F}, {0x3001, 0x3003}, {0x3008, 0x3011},
                      {0x3014, 0x301F}, {0xFD3E, 0xFD3F}, {0xFE10, 0xFE19}, {0xFE30, 0xFE52},
                      {0xFE54, 0xFE61}, {0xFF01, 0xFF03}, {0xFF05, 0xFF0A}, {0xFF0C, 0xFF0F},
                      {0xFF3B, 0xFF3D}, {0xFF5F, 0xFF65}});
}

bool isDecimalDigit(char32_t c) {
  return inRanges(c, {{'0', '9'}, {0x660, 0x669}, {0x6F0, 0x6F9}, {0x7C0, 0x7C9}, {0x966, 0x96F},
                      {0x9E6, 0x9EF}, {0xE50, 0xE59}, {0xFF10, 0xFF19}});
}

bool isLetter(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (c == 0xAA || c == 0xB5 || c == 0xBA) return true;
  if (c == 0xD7 || c == 0xF7) return false;
  return inRanges(c, {{0xC0, 0x2AF}, {0x370, 0x373}, {0x376, 0x377}, {0x37B, 0x37D}, {0x386, 0x386},
                      {0x388, 0x3FF}, {0x400, 0x481}, {0x48A, 0x52F}, {0x531, 0x556}, {0x561, 0x587},
                      {0x5D0, 0x5EA}, {0x620, 0x64A}, {0x66E, 0x66F}, {0x671, 0x6D3}, {0x6D5, 0x6D5},
                      {0x6FA, 0x6FC}, {0x904, 0x939}, {0xE01, 0xE30}, {0x10A0, 0x10FF},
                      {0x1E00, 0x1FBC}, {0x3041, 0x3096}, {0x30A1, 0x30FA}, {0x4E00, 0x9FFF},
                      {0xAC00, 0xD7A3}, {0xFB50, 0xFDFB}, {0xFE70, 0xFEFC}, {0xFF21, 0xFF3A},
                      {0xFF41, 0xFF5A}}) ||
         c >= 0x10000;
}

// ---- trimming and splitting -----------------------------------------------------------------

std::string trimCharacters(std::string_view s, const std::function<bool(char32_t)>& inSet) {
  std::size_t begin = s.size(), end = 0;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t start = i;
    if (!inSet(decodeUtf8(s, i))) {
      begin = std::min(begin, start);
      end = i;
    }
  }
  if (begin >= end) return {};
  return std::string(s.substr(begin, end - begin));
}

std::string trim(std::string_view s) { return trimCharacters(s, isWhitespaceOrNewline); }

std::vector<std::string> componentsSeparatedByCharacters(std::string_view s,
                                                         const std::function<bool(char32_t)>& inSet) {
  std::vector<std::string> parts;
  std::size_t pieceStart = 0;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t start = i;
    if (inSet(decodeUtf8(s, i))) {
      parts.emplace_back(s.substr(pieceStart, start - pieceStart));
      pieceStart = i;
    }
  }
  parts.emplace_back(s.substr(pieceStart));
  return parts;
}

std::vector<std::string> splitAtWhitespace(std::string_view s) {
  std::vector<std::string> parts = componentsSeparatedByCharacters(s, isWhitespaceOrNewline);
  std::erase_if(parts, [](const std::string& p) { return p.empty(); });
  return parts;
}

std::vector<std::string> componentsSeparatedByString(std::string_view s, std::string_view separator) {
  if (separator.empty()) return {std::string(s)};
  std::vector<std::string> parts;
  std::size_t pos = 0;
  for (;;) {
    std::size_t at = s.find(separator, pos);
    if (at == std::string_view::npos) break;
    parts.emplace_back(s.substr(pos, at - pos));
    pos = at + separator.size();
  }
  parts.emplace_back(s.substr(pos));
  return parts;
}

std::string componentsJoinedByString(const std::vector<std::string>& parts, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) out.append(separator);
    out.append(parts[i]);
  }
  return out;
}

// ---- numbers ----------------------------------------------------------------------------------

namespace {

// Index of the first character after leading whitespace and newlines.
std::size_t skipLeadingSpace(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t next = i;
    if (!isWhitespaceOrNewline(decodeUtf8(s, next))) break;
    i = next;
  }
  return i;
}

}  // namespace

std::int64_t integerValue(std::string_view s) {
  std::size_t i = skipLeadingSpace(s);
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  // Accumulate as a negative number so INT64_MIN is reachable.
  std::int64_t value = 0;
  bool overflow = false;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    int d = s[i] - '0';
    if (value < (std::numeric_limits<std::int64_t>::min() + d) / 10) {
      overflow = true;
      continue;
    }
    value = value * 10 - d;
  }
  if (overflow) return negative ? std::numeric_limits<std::int64_t>::min() : kMax;
  if (negative) return value;
  return value == std::numeric_limits<std::int64_t>::min() ? kMax : -value;
}

int intValue(std::string_view s) {
  std::int64_t v = integerValue(s);
  return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

double doubleValue(std::string_view s) {
  std::size_t i = skipLeadingSpace(s);
  std::size_t start = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t e = i + 1;
    if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
    if (e < s.size() && s[e] >= '0' && s[e] <= '9') {
      while (e < s.size() && s[e] >= '0' && s[e] <= '9') ++e;
      i = e;
    }
  }
  std::string_view number = s.substr(start, i - start);
  bool negative = number.front() == '-';
  if (number.front() == '+' || negative) number.remove_prefix(1);
  double value = 0;
  auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  (void)ptr;
  if (ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone on range errors: clamp by hand.
    bool tiny = number.find_first_of("eE") != std::string_view::npos &&
                number.find('-', number.find_first_of("eE")) != std::string_view::npos;
    value = tiny ? 0.0 : std::numeric_limits<double>::max();
  }
  return negative ? -value : value;
}

bool boolValue(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && isWhitespace(static_cast<unsigned char>(s[i]))) ++i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  while (i < s.size() && s[i] == '0') ++i;
  if (i >= s.size()) return false;
  char c = s[i];
  return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

// ---- quoted strings ------------------------------------------------------------------------------

bool appendUnicodeEscape(std::string_view text, std::size_t& pos, std::string& out,
                         std::string_view escapeLetters) {
  long unit = hexNumber(text, pos, 4);
  if (unit < 0) return false;
  char32_t cp = static_cast<char32_t>(unit);
  if (cp >= 0xD800 && cp <= 0xDBFF && pos + 2 <= text.size() && text[pos] == '\\' &&
      escapeLetters.find(text[pos + 1]) != std::string_view::npos) {
    std::size_t next = pos + 2;
    long low = hexNumber(text, next, 4);
    if (low >= 0xDC00 && low <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
      pos = next;
    }
  }
  appendUtf8(out, cp);  // lone surrogates become U+FFFD
  return true;
}

std::optional<std::string> readQuotedString(
    std::string_view text, std::size_t& pos, bool (*refuses)(unsigned char c),
    const std::function<bool(char e, std::size_t& pos, std::string& out)>& unescape) {
  if (pos >= text.size() || text[pos] != '"') return std::nullopt;
  ++pos;
  std::string out;
  while (pos < text.size()) {
    char c = text[pos++];
    if (c == '"') return out;
    if (refuses(static_cast<unsigned char>(c))) return std::nullopt;
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (pos >= text.size()) return std::nullopt;
    char e = text[pos++];
    if (!unescape(e, pos, out)) return std::nullopt;
  }
  return std::nullopt;
}

// ---- URL escaping -------------------------------------------------------------------------------

std::string percentEscape(std::string_view s) {
  static constexpr std::string_view kKept = "-_.~!*'();:@&=+$,/?#[]";
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(s.size());
  for (unsigned char c : sanitizeUtf8(s)) {
    bool alnum = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (alnum || (c < 0x80 && c != 0 && kKept.find(static_cast<char>(c)) != std::string_view::npos)) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 0xF]);
    }
  }
  return out;
}

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

long hexNumber(std::string_view text, std::size_t& pos, int count) {
  if (pos + static_cast<std::size_t>(count) > text.size()) return -1;
  long v = 0;
  for (int k = 0; k < count; ++k) {
    int d = hexDigitValue(text[pos + static_cast<std::size_t>(k)]);
    if (d < 0) return -1;
    v = v * 16 + d;
  }
  pos += static_cast<std::size_t>(count);
  return v;
}

std::string percentUnescape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    std::size_t next = i + 1;
    long byte = s[i] == '%' ? hexNumber(s, next, 2) : -1;
    if (byte >= 0) {
      out.push_back(static_cast<char>(byte));
      i = next - 1;
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

}  // namespace ns
