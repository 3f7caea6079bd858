#pragma once
// Text helpers of the application: search and replace, the search-result
// snippet, truncation to a width, elapsed-time text and mail escaping.
// Characters are counted in UTF-16 units.
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/Font.h"

namespace ns {

// The ellipsis put where text was cut.
inline constexpr char kEllipsis[] = "\u2026";
// The markup wrapped around a search hit in a snippet.
inline constexpr char kSearchHitOpen[] = "<span class=\"yellowBox\">";
inline constexpr char kSearchHitClose[] = "</span>";

// Every occurrence of search replaced, scanning on after each inserted
// replacement. An empty search text matches nothing.
std::string searchReplace(std::string_view text, std::string_view search,
                          std::string_view replacement);

// Whether the lower-cased text contains the lower-cased needle (an empty needle never).
bool doesContain(std::string_view text, std::string_view needle);

// Every "'" doubled, for SQL text literals.
std::string escapeForSearch(std::string_view text);

// The components between the separators. An empty separator does not split.
std::vector<std::string> explode(std::string_view text, std::string_view separator);

// "mm:ss" of the seconds: below a minute the seconds are rounded up, so 59.2
// reads "01:00"; negative or invalid times read "00:00".
std::string getTimeElapsedFrom(double seconds);

// The text percent-escaped for a mail or message link.
std::string escapeAllForMail(std::string_view text);

// The text without Arabic vowel marks and other diacritics.
std::string cleanArabicAccents(std::string_view text);
// Whether cleanArabicAccents leaves the character out.
bool isArabicAccent(char32_t c);

// The first term of a search text: a quoted phrase without its quotes, else
// the first word; a single word's "*" wildcards are removed.
std::string getFirstSearchToken(std::string_view text);

// A one-line snippet of the text around the first hit of the token that fits
// maxWidth in the font, with ellipses where text was cut. withReplaced wraps
// the hit in the search-hit markup, and the snippet is then markup: the text's
// own "&", "<" and ">" are escaped. searchWordEnd asks that the hit end at a
// word boundary. The keyword is not used (the token is searched for).
std::string getPartialStringForSearchKeyword(std::string_view text, std::string_view keyword,
                                             const ui::Font& font, float maxWidth,
                                             bool withReplaced, bool searchWordEnd,
                                             std::string_view firstSearchToken, int ellipsesW);

// The text shortened with an ellipsis at the end to fit the width; the
// ellipsis alone when not even one character fits with it.
std::string stringByTruncatingToWidth(std::string_view text, float width, const ui::Font& font);

}  // namespace ns
