#include "platform/foundation/String.h"

#include <gtest/gtest.h>

#include <climits>

using namespace ns;

namespace {
// "بسم الله" (8 units) and a non-BMP emoji (2 units).
const std::string kArabic = "\xD8\xA8\xD8\xB3\xD9\x85 \xD8\xA7\xD9\x84\xD9\x84\xD9\x87";
const std::string kEmoji = "\xF0\x9F\x98\x80";
}  // namespace

TEST(String, CountsAndIndexesInUtf16Units) {
  EXPECT_EQ(length16(""), 0u);
  EXPECT_EQ(length16(kArabic), 8u);
  EXPECT_EQ(length16("a" + kEmoji + "b"), 4u);
  EXPECT_EQ(characterAt16(kArabic, 0), u'\u0628');
  EXPECT_EQ(characterAt16(kArabic, 3), u' ');
  EXPECT_EQ(characterAt16("a" + kEmoji + "b", 1), 0xD83D);
  EXPECT_EQ(characterAt16("a" + kEmoji + "b", 2), 0xDE00);
  EXPECT_EQ(characterAt16("a" + kEmoji + "b", 3), u'b');
  EXPECT_EQ(characterAt16("abc", 3), 0);

  EXPECT_EQ(substring16(kArabic, 4, 4), "\xD8\xA7\xD9\x84\xD9\x84\xD9\x87");
  EXPECT_EQ(substring16(kArabic, 6, 100), "\xD9\x84\xD9\x87");  // clamped
  EXPECT_EQ(substring16(kArabic, 9, 1), "");
  EXPECT_EQ(substringFrom16("a" + kEmoji + "b", 1), kEmoji + "b");
  EXPECT_EQ(substringTo16("a" + kEmoji + "b", 3), "a" + kEmoji);
  // Cutting a surrogate pair in half never yields invalid UTF-8.
  EXPECT_EQ(substring16("a" + kEmoji, 1, 1), "\xEF\xBF\xBD");
}

TEST(String, InvalidUtf8BecomesReplacementCharacters) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {"a\xFF" "b", "a\xEF\xBF\xBD" "b"},
      {"\xC3", "\xEF\xBF\xBD"},                       // truncated sequence at the end
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},       // overlong "/"
      {"\xED\xA0\x80", "\xEF\xBF\xBD"},               // encoded surrogate
      {"\xE2\x82", "\xEF\xBF\xBD"},
      {"ok", "ok"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sanitizeUtf8(c.in), c.out) << c.in;
    EXPECT_EQ(length16(c.in), length16(c.out));
  }
  EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(kArabic + kEmoji)), kArabic + kEmoji);
  EXPECT_EQ(utf32ToUtf8(utf8ToUtf32(kEmoji)), kEmoji);
  EXPECT_EQ(utf16ToUtf8(std::u16string(1, 0xD800)), "\xEF\xBF\xBD");
}

TEST(String, SearchesInUtf16RangesWithAndWithoutCase) {
  std::string text = "Al-Kahf " + kEmoji + " the CAVE, the cave";
  EXPECT_EQ(rangeOfString(text, "cave"), (Range{25, 4}));
  EXPECT_EQ(rangeOfString(text, "cave", CaseInsensitiveSearch), (Range{15, 4}));
  EXPECT_EQ(rangeOfString(text, "the", BackwardsSearch), (Range{21, 3}));
  EXPECT_FALSE(rangeOfString(text, "Kahf", AnchoredSearch).found());
  EXPECT_TRUE(rangeOfString(text, "al-", AnchoredSearch | CaseInsensitiveSearch).found());
  EXPECT_FALSE(rangeOfString(text, "").found());
  EXPECT_EQ(indexOf16(text, "the", 12), 21u);
  EXPECT_FALSE(rangeOfString(text, "the", 0, Range{0, 13}).found());  // ends inside the word
  EXPECT_EQ(rangeOfString(text, "the", 0, Range{0, 14}), (Range{11, 3}));
  EXPECT_EQ(indexOf16(text, "the", 100), NotFound);
  EXPECT_EQ(rangeOfString(kArabic, "\xD8\xA7\xD9\x84\xD9\x84\xD9\x87"), (Range{4, 4}));
  EXPECT_TRUE(contains("Mercy", "MERC", true));
  EXPECT_FALSE(contains("Mercy", "MERC"));
  EXPECT_EQ(rangeOfString("\xD0\x9C\xD0\xB8\xD1\x80", "\xD0\xBC\xD0\x98\xD0\xA0", CaseInsensitiveSearch),
            (Range{0, 3}));  // Cyrillic "Мир" / "мИР"
}

TEST(String, CaseMappingCoversEuropeanScriptsAndLeavesArabic) {
  EXPECT_EQ(lowercase("ÀÉÎÕÜ Straße"), "àéîõü straße");
  EXPECT_EQ(uppercase("àéîõü"), "ÀÉÎÕÜ");
  EXPECT_EQ(lowercase("ŁĄŻŹĆ"), "łążźć");    // Latin Extended-A
  EXPECT_EQ(uppercase("łążźćŸ"), "ŁĄŻŹĆŸ");
  EXPECT_EQ(lowercase("ΑΒΓ ΆΈ"), "αβγ άέ");     // Greek
  EXPECT_EQ(uppercase("σς"), "ΣΣ");
  EXPECT_EQ(lowercase("МОСКВА ЁЖ"), "москва ёж");  // Cyrillic
  EXPECT_EQ(uppercase("москва ёж"), "МОСКВА ЁЖ");
  EXPECT_EQ(lowercase(kArabic), kArabic);
  EXPECT_EQ(uppercase("ÿ"), "Ÿ");
  EXPECT_EQ(caseInsensitiveCompare("ÉCOLE", "école"), 0);
  EXPECT_LT(caseInsensitiveCompare("abc", "ABD"), 0);
  EXPECT_GT(caseInsensitiveCompare("abcd", "ABC"), 0);
}

TEST(String, CharacterClasses) {
  for (char32_t c : {U' ', U'\t', U'\u00A0', U'\u2003', U'\u3000'}) EXPECT_TRUE(isWhitespace(c)) << int(c);
  for (char32_t c : {U'\n', U'\r', U'\u2028', U'\u0085'}) {
    EXPECT_TRUE(isNewline(c));
    EXPECT_FALSE(isWhitespace(c));
    EXPECT_TRUE(isWhitespaceOrNewline(c));
  }
  for (char32_t c : {U'.', U',', U'!', U'?', U'"', U'\'', U'(', U'-', U'\u060C', U'\u061F', U'\u06D4',
                     U'\u201C', U'\u2026', U'\u00AB', U'\uFD3E'})
    EXPECT_TRUE(isPunctuation(c)) << int(c);
  for (char32_t c : {U'a', U'1', U'+', U'$', U'<', U'\u0628', U'\u064B', U' '})
    EXPECT_FALSE(isPunctuation(c)) << int(c);
  EXPECT_TRUE(isDecimalDigit(U'\u0663'));
  EXPECT_TRUE(isLetter(U'\u0628'));
  EXPECT_FALSE(isLetter(U'\u064E'));
}

TEST(String, TrimSplitAndJoin) {
  EXPECT_EQ(trim(" \t\n Al-Fatiha \u00A0\r\n"), "Al-Fatiha");
  EXPECT_EQ(trim(" \n "), "");
  EXPECT_EQ(trimCharacters("..!word?!", isPunctuation), "word");
  EXPECT_EQ(splitAtWhitespace("  in the\tname \n of "), (std::vector<std::string>{"in", "the", "name", "of"}));
  EXPECT_TRUE(splitAtWhitespace("   ").empty());
  EXPECT_EQ(componentsSeparatedByCharacters(" a b", isWhitespace), (std::vector<std::string>{"", "a", "b"}));
  EXPECT_EQ(componentsSeparatedByString("1:2::3", ":"), (std::vector<std::string>{"1", "2", "", "3"}));
  EXPECT_EQ(componentsSeparatedByString("abc", ""), (std::vector<std::string>{"abc"}));
  EXPECT_EQ(componentsSeparatedByString("", ","), (std::vector<std::string>{""}));
  EXPECT_EQ(componentsJoinedByString({"a", "b", "c"}, ", "), "a, b, c");
  EXPECT_TRUE(hasPrefix("zarvel://18:1", "zarvel://"));
  EXPECT_FALSE(hasPrefix("abc", ""));
  EXPECT_TRUE(hasSuffix("word*", "*"));
  EXPECT_FALSE(hasSuffix("a", "ab"));
}

TEST(String, ReplaceAllScansOnAfterEachReplacement) {
  EXPECT_EQ(replaceAll("it's", "'", "''"), "it''s");
  EXPECT_EQ(replaceAll("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(replaceRange16("a" + kEmoji + "b", Range{1, 2}, "-"), "a-b");
}

TEST(String, LeadingNumbersParseAsThePlatformDid) {
  struct Case {
    const char* text;
    int i;
    long long ll;
    bool b;
  } cases[] = {
      {"42", 42, 42, true},
      {"  -17abc", -17, -17, true},
      {"+5", 5, 5, true},
      {"\n\t 8 apples", 8, 8, false},  // bools skip spaces only, numbers newlines too
      {"abc", 0, 0, false},
      {"", 0, 0, false},
      {"-", 0, 0, false},
      {"3.9", 3, 3, true},
      {"0", 0, 0, false},
      {"007", 7, 7, true},
      {"YES", 0, 0, true},
      {"yes", 0, 0, true},
      {"true", 0, 0, true},
      {"NO", 0, 0, false},
      {"false", 0, 0, false},
      {"99999999999", INT_MAX, 99999999999LL, true},
      {"-99999999999", INT_MIN, -99999999999LL, true},
      {"99999999999999999999999", INT_MAX, LLONG_MAX, true},
      {"-99999999999999999999999", INT_MIN, LLONG_MIN, true},
      {"-9223372036854775808", INT_MIN, LLONG_MIN, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(intValue(c.text), c.i) << c.text;
    EXPECT_EQ(integerValue(c.text), c.ll) << c.text;
    EXPECT_EQ(boolValue(c.text), c.b) << c.text;
  }
  EXPECT_DOUBLE_EQ(doubleValue(" 2.5kg"), 2.5);
  EXPECT_DOUBLE_EQ(doubleValue("-1e3x"), -1000);
  EXPECT_DOUBLE_EQ(doubleValue(".5"), 0.5);
  EXPECT_DOUBLE_EQ(doubleValue("1e"), 1);
  EXPECT_DOUBLE_EQ(doubleValue("0x10"), 0);
  EXPECT_DOUBLE_EQ(doubleValue("abc"), 0);
  EXPECT_GT(doubleValue("1e999"), 1e300);
}

TEST(String, PercentEscapingKeepsUrlCharacters) {
  EXPECT_EQ(percentEscape("a b\"<>%"), "a%20b%22%3C%3E%25");
  EXPECT_EQ(percentEscape("zarvel://18:10?x=1&y=2#top"), "zarvel://18:10?x=1&y=2#top");
  EXPECT_EQ(percentEscape("\xD8\xA8"), "%D8%A8");
  EXPECT_EQ(percentEscape("line\nbreak"), "line%0Abreak");
  EXPECT_EQ(percentUnescape("a%20b%2"), "a b%2");
  EXPECT_EQ(percentUnescape(percentEscape(kArabic)), kArabic);
}
