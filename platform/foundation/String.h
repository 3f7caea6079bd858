#pragma once
// Text helpers over UTF-8 std::string that count and index in UTF-16 units,
// as the platform's strings did. Invalid UTF-8 reads as U+FFFD; nothing here
// throws or crashes on bad input.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ns {

// A range of UTF-16 units; location == NotFound when nothing was found.
inline constexpr std::size_t NotFound = static_cast<std::size_t>(-1);
struct Range {
  std::size_t location = NotFound;
  std::size_t length = 0;
  bool found() const { return location != NotFound; }
  std::size_t end() const { return location + length; }
  friend bool operator==(const Range&, const Range&) = default;
};

// ---- encodings ----------------------------------------------------------------
std::u16string utf8ToUtf16(std::string_view s);
std::string utf16ToUtf8(std::u16string_view s);
std::u32string utf8ToUtf32(std::string_view s);
std::string utf32ToUtf8(std::u32string_view s);
void appendUtf8(std::string& out, char32_t c);
// The text with every invalid UTF-8 sequence replaced by U+FFFD.
std::string sanitizeUtf8(std::string_view s);
bool isValidUtf8(std::string_view s);

// ---- counting and indexing in UTF-16 units ------------------------------------
std::size_t length16(std::string_view s);
// The unit at the index, 0 when out of range.
char16_t characterAt16(std::string_view s, std::size_t index);
// Clamped to the text: never fails. A surrogate pair cut in half becomes U+FFFD.
std::string substring16(std::string_view s, std::size_t start, std::size_t length);
std::string substringFrom16(std::string_view s, std::size_t start);
std::string substringTo16(std::string_view s, std::size_t end);
inline std::string substring16(std::string_view s, Range r) {
  return substring16(s, r.location, r.length);
}

// ---- searching -----------------------------------------------------------------
enum SearchOptions : unsigned {
  CaseInsensitiveSearch = 1,
  BackwardsSearch = 4,
  AnchoredSearch = 8,
};
// Finds the needle in s within searchRange (UTF-16 units; the whole text by default).
// An empty needle is never found.
Range rangeOfString(std::string_view s, std::string_view needle, unsigned options = 0);
Range rangeOfString(std::string_view s, std::string_view needle, unsigned options, Range searchRange);
// UTF-16 index of the first occurrence at or after `from`, or NotFound.
std::size_t indexOf16(std::string_view s, std::string_view needle, std::size_t from = 0,
                      bool caseInsensitive = false);
bool contains(std::string_view s, std::string_view needle, bool caseInsensitive = false);
bool hasPrefix(std::string_view s, std::string_view prefix);
bool hasSuffix(std::string_view s, std::string_view suffix);

// ---- editing -------------------------------------------------------------------
// Every occurrence replaced, scanning on after each inserted replacement.
std::string replaceAll(std::string_view s, std::string_view search, std::string_view replacement);
// Replaces the UTF-16 range (clamped) with the replacement.
std::string replaceRange16(std::string_view s, Range range, std::string_view replacement);

// ---- case ----------------------------------------------------------------------
// Simple one-to-one case mapping: Latin, Latin-1, Latin Extended-A, Greek, Cyrillic,
// Armenian and fullwidth Latin. Other scripts (Arabic) pass through.
char32_t toLower(char32_t c);
char32_t toUpper(char32_t c);
std::string lowercase(std::string_view s);
std::string uppercase(std::string_view s);
// -1, 0 or 1 comparing code point by code point after lower-casing.
int caseInsensitiveCompare(std::string_view a, std::string_view b);

// ---- character classes (BMP approximations of the Unicode categories) -----------
bool isWhitespace(char32_t c);             // Zs and tab
bool isNewline(char32_t c);                // LF, VT, FF, CR, NEL, LS, PS
bool isWhitespaceOrNewline(char32_t c);
bool isPunctuation(char32_t c);            // P*
bool isDecimalDigit(char32_t c);           // Nd (ASCII and Arabic-Indic digits and others)
bool isLetter(char32_t c);                 // L* (approximation)

// ---- trimming and splitting ------------------------------------------------------
std::string trim(std::string_view s);  // whitespace and newlines, both ends
std::string trimCharacters(std::string_view s, const std::function<bool(char32_t)>& inSet);
// The pieces between runs of whitespace/newline characters, without empty pieces.
std::vector<std::string> splitAtWhitespace(std::string_view s);
// The pieces between single characters of the set, empty pieces kept
// (" a" gives "" and "a").
std::vector<std::string> componentsSeparatedByCharacters(std::string_view s,
                                                         const std::function<bool(char32_t)>& inSet);
// The components between each occurrence of the separator (empty pieces kept);
// an empty separator does not split.
std::vector<std::string> componentsSeparatedByString(std::string_view s, std::string_view separator);
std::string componentsJoinedByString(const std::vector<std::string>& parts, std::string_view separator);

// ---- numbers ---------------------------------------------------------------------
// Leading-number parses as the platform's: leading whitespace, optional sign,
// digits; anything after is ignored; no digits gives 0; overflow clamps.
int intValue(std::string_view s);
std::int64_t integerValue(std::string_view s);
double doubleValue(std::string_view s);
// YES for a leading "Y", "y", "T", "t" or a non-zero number after optional
// whitespace and sign/zeros, as the platform read strings as bools.
bool boolValue(std::string_view s);

// Value of one hexadecimal digit, -1 for any other character.
int hexDigitValue(char c);
// The value of `count` hex digits at text[pos], moving pos past them; -1 when
// they are not all hex digits or the text ends first.
long hexNumber(std::string_view text, std::size_t& pos, int count);

// ---- quoted strings -----------------------------------------------------------------
// Reads the four hex digits of a "\u" escape at text[pos] (just past the letter)
// and appends the character, joining a high surrogate with a "\<letter>XXXX" low
// surrogate right after it (letter one of escapeLetters); a lone surrogate
// becomes U+FFFD. False when the four digits are not there.
bool appendUnicodeEscape(std::string_view text, std::size_t& pos, std::string& out,
                         std::string_view escapeLetters = "u");
// Reads the double-quoted string whose opening quote is at text[pos] and moves pos
// past its closing quote. After a backslash, unescape(e, pos, out) appends what
// the character e (and what follows from pos) stands for, or answers false for a
// malformed escape; a raw character that refuses() names is malformed. nullopt
// when malformed or unterminated.
std::optional<std::string> readQuotedString(
    std::string_view text, std::size_t& pos, bool (*refuses)(unsigned char c),
    const std::function<bool(char e, std::size_t& pos, std::string& out)>& unescape);

// ---- URL escaping ------------------------------------------------------------------
// The platform's standard escaping of a URL string: unreserved and reserved URL
// characters stay (A-Z a-z 0-9 - _ . ~ ! * ' ( ) ; : @ & = + $ , / ? # [ ]);
// every other byte of the UTF-8 text, "%" included, becomes %XX.
std::string percentEscape(std::string_view s);
// %XX sequences decoded back to bytes; malformed sequences stay as they are.
std::string percentUnescape(std::string_view s);

}  // namespace ns
