#include "Classes/core/String+More.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/text/TextMeasure.h"

namespace ns {

bool isArabicAccent(char32_t c) {
  if (c >= 0x064B && c <= 0x0656) return true;  // harakat, tanween, shadda, sukun, maddah, marks
  if (c == 0x0670) return true;                 // superscript alef
  if (c >= 0xFC5E && c <= 0xFC63) return true;  // shadda ligatures
  switch (c) {
    case 0xFE70: case 0xFE71: case 0xFE72: case 0xFE76: case 0xFE77: case 0xFE78:
    case 0xFE79: case 0xFE7C: case 0xFE7D: case 0xFE7E: case 0xFE7F: case 0xFE80:
      return true;
    default:
      return false;
  }
}

namespace {

// Text put into markup: its "&", "<" and ">" written as entities.
std::string escapeMarkup(std::string_view text) {
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

bool isWordBoundary(char16_t c) { return isWhitespaceOrNewline(c) || isPunctuation(c); }

float widthOf(std::string_view text, const ui::Font& font) {
  return ui::currentMeasurer().width(text, font);
}

std::string prefix16(const std::u16string& text, std::size_t length) {
  return utf16ToUtf8(std::u16string_view(text).substr(0, length));
}

// The first case-insensitive occurrence of the token that starts at a word
// boundary (and, when asked, ends at one); occurrences that fail are skipped.
Range findWholeWordHit(std::string_view text, const std::u16string& text16,
                       std::string_view token, bool searchWordEnd) {
  const std::size_t length = text16.size();
  std::size_t from = 0;
  while (from < length) {
    const Range r = rangeOfString(text, token, CaseInsensitiveSearch, Range{from, length - from});
    if (!r.found() || r.length == 0) return {};
    const bool startsWord = r.location == 0 || isWordBoundary(text16[r.location - 1]);
    const bool endsWord = r.end() >= length || isWordBoundary(text16[r.end()]);
    if (startsWord && (!searchWordEnd || endsWord)) return r;
    from = r.end();
  }
  return {};
}

// The fallback hit when no whole-word occurrence exists: the token with a space
// on both sides, after it, before it, or alone; the hit is the token itself.
Range findSpacedHit(std::string_view text, std::string_view token) {
  const std::string t(token);
  const std::pair<std::string, std::size_t> patterns[] = {
      {" " + t + " ", 1}, {t + " ", 0}, {" " + t, 1}, {t, 0}};
  for (const auto& [pattern, offset] : patterns) {
    const Range r = rangeOfString(text, pattern, CaseInsensitiveSearch);
    if (r.found()) return Range{r.location + offset, length16(token)};
  }
  return {};
}

}  // namespace

std::string searchReplace(std::string_view text, std::string_view search,
                          std::string_view replacement) {
  if (search.empty()) return std::string(text);
  return replaceAll(text, search, replacement);
}

bool doesContain(std::string_view text, std::string_view needle) {
  return contains(lowercase(text), lowercase(needle));
}

std::string escapeForSearch(std::string_view text) { return searchReplace(text, "'", "''"); }

std::vector<std::string> explode(std::string_view text, std::string_view separator) {
  if (separator.empty()) return {std::string(text)};
  return componentsSeparatedByString(text, separator);
}

std::string getTimeElapsedFrom(double seconds) {
  if (!(seconds >= 0)) seconds = 0;  // negatives and NaN
  if (seconds > INT_MAX / 2) seconds = INT_MAX / 2;
  int minutes = static_cast<int>(seconds / 60);
  int rest = minutes == 0 ? static_cast<int>(std::ceil(seconds))
                          : static_cast<int>(seconds - 60.0 * minutes);
  // Rounding up below a minute can reach 60: carry it into the minutes.
  minutes += rest / 60;
  rest %= 60;
  return format("%02i:%02i", minutes, rest);
}

std::string escapeAllForMail(std::string_view text) {
  if (text.empty()) return std::string(text);
  static const std::pair<const char*, const char*> kEscapes[] = {
      {"&", "%26"}, {"+", "%2B"}, {",", "%2C"}, {"/", "%2F"}, {":", "%3A"}, {";", "%3B"},
      {"=", "%3D"}, {"?", "%3F"}, {"@", "%40"}, {" ", "%20"}, {"\t", "%09"}, {"#", "%23"},
      {"<", "%3C"}, {">", "%3E"}, {"\"", "%22"}, {"\n", "%0A"}};
  std::string out = percentEscape(text);
  for (const auto& [from, to] : kEscapes) out = searchReplace(out, from, to);
  return out;
}

std::string cleanArabicAccents(std::string_view text) {
  std::u32string kept;
  for (char32_t c : utf8ToUtf32(text)) {
    if (!isArabicAccent(c)) kept += c;
  }
  return utf32ToUtf8(kept);
}

std::string getFirstSearchToken(std::string_view text) {
  if (contains(text, " ") || hasPrefix(text, "\"")) {
    if (hasPrefix(text, "\"")) {
      const std::size_t close = indexOf16(text, "\"", 1);
      if (close != NotFound) return substring16(text, 1, close - 1);
    }
    // The first piece before a white-space character (empty when the text starts with one).
    const std::u32string text32 = utf8ToUtf32(text);
    std::size_t end = 0;
    while (end < text32.size() && !isWhitespace(text32[end])) ++end;
    return utf32ToUtf8(std::u32string_view(text32).substr(0, end));
  }
  if (hasSuffix(text, "*")) return searchReplace(text, "*", "");
  return std::string(text);
}

std::string stringByTruncatingToWidth(std::string_view text, float width, const ui::Font& font) {
  if (widthOf(text, font) <= width) return std::string(text);
  const float room = width - widthOf(kEllipsis, font);
  // The longest prefix that fits with the ellipsis; widths grow with the prefix.
  const std::u16string text16 = utf8ToUtf16(text);
  std::size_t fits = 0;
  std::size_t tooLong = text16.size();
  while (tooLong - fits > 1) {
    const std::size_t mid = fits + (tooLong - fits) / 2;
    if (widthOf(prefix16(text16, mid), font) <= room) {
      fits = mid;
    } else {
      tooLong = mid;
    }
  }
  if (fits == 0) return kEllipsis;
  // The last character that fits gives way to the ellipsis.
  return prefix16(text16, fits - 1) + kEllipsis;
}

std::string getPartialStringForSearchKeyword(std::string_view text, std::string_view /*keyword*/,
                                             const ui::Font& font, float maxWidth,
                                             bool withReplaced, bool searchWordEnd,
                                             std::string_view firstSearchToken, int ellipsesW) {
  // With the markup the snippet is markup: the verse's own "&" and "<" are escaped
  // before the hit is wrapped, so they show as written and cannot break it.
  auto out = [withReplaced](std::string_view piece) { return withReplaced ? escapeMarkup(piece) : std::string(piece); };
  const std::u16string text16 = utf8ToUtf16(text);
  Range hit;
  if (!firstSearchToken.empty()) {
    hit = findWholeWordHit(text, text16, firstSearchToken, searchWordEnd);
    if (!hit.found() && withReplaced) hit = findSpacedHit(text, firstSearchToken);
  }
  if (!hit.found()) return out(stringByTruncatingToWidth(text, maxWidth, font));

  const float room = maxWidth - 2.0f * static_cast<float>(ellipsesW);
  if (widthOf(text, font) <= room) return out(text);

  // The snippet grows by one character on each side (while there is one) until
  // it fills the room. Growing only widens it, so the number of steps is found
  // by halving rather than by measuring every step.
  const std::size_t first = hit.location, last = hit.end();
  const std::size_t steps = std::max(first, text16.size() - last);
  auto beginAt = [&](std::size_t k) { return first - std::min(first, k); };
  auto endAt = [&](std::size_t k) { return std::min(text16.size(), last + k); };
  auto fills = [&](std::size_t k) {
    auto piece = utf16ToUtf8(std::u16string_view(text16).substr(beginAt(k), endAt(k) - beginAt(k)));
    return std::trunc(widthOf(piece, font)) >= room;
  };
  std::size_t lo = 0, hi = steps;  // the first step that fills, or every step
  while (lo < hi) {
    std::size_t mid = lo + (hi - lo) / 2;
    if (fills(mid)) hi = mid;
    else lo = mid + 1;
  }
  const std::size_t begin = beginAt(lo), end = endAt(lo);

  const std::u16string_view all(text16);
  const std::string hitText = utf16ToUtf8(all.substr(hit.location, hit.length));
  std::string snippet = kEllipsis;
  snippet += out(utf16ToUtf8(all.substr(begin, hit.location - begin)));
  snippet += withReplaced ? std::string(kSearchHitOpen) + out(hitText) + kSearchHitClose : hitText;
  snippet += out(utf16ToUtf8(all.substr(hit.end(), end - hit.end())));
  if (end < text16.size()) snippet += kEllipsis;
  return snippet;
}

}  // namespace ns
