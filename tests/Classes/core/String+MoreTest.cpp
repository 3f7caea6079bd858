#include "Classes/core/String+More.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Classes/core/Array+Plus.h"
#include "platform/text/TextMeasure.h"

namespace {

TEST(StringMore, TimeElapsedCarriesARoundedUpMinute) {
  const std::pair<double, const char*> cases[] = {
      {75.4, "01:15"}, {59.2, "01:00"}, {0, "00:00"},    {0.3, "00:01"},
      {59.0, "00:59"}, {60.0, "01:00"}, {119.9, "01:59"}, {3600, "60:00"},
      {-5, "00:00"},   {std::nan(""), "00:00"},
  };
  for (const auto& [seconds, expected] : cases) {
    EXPECT_EQ(ns::getTimeElapsedFrom(seconds), expected) << seconds;
  }
}

TEST(StringMore, FirstSearchToken) {
  const std::pair<const char*, const char*> cases[] = {
      {"\"mercy of god\" and more", "mercy of god"},
      {"forg*iv*", "forgiv"},
      {"mercy forgiv*", "mercy"},
      {"word", "word"},
      {"word*", "word"},
      {" leading", ""},
      {"\"unclosed phrase", "\"unclosed"},
      {"\"\"", ""},
      {"", ""},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ns::getFirstSearchToken(text), expected) << text;
  }
}

TEST(StringMore, CleanArabicAccentsRemovesOnlyTheMarks) {
  const std::pair<const char*, const char*> cases[] = {
      {"بِسْمِ اللَّهِ", "بسم الله"},
      {"ًٌٍَُِّْ", ""},
      {"abc كتاب", "abc كتاب"},
      {"", ""},
      {"\u0670\u0656\u0657", "\u0657"},                // superscript alef and U+0656 go
      {"\uFE70\uFE73\uFE74\uFE7A\uFE7F\uFE80", "\uFE73\uFE74\uFE7A"},
      {"\uFC5E\uFC63\uFC64", "\uFC64"},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ns::cleanArabicAccents(text), expected) << text;
  }
}

TEST(StringMore, EmptySeparatorsAndSearchTextsMatchNothing) {
  EXPECT_EQ(ns::explode("abc", ""), std::vector<std::string>{"abc"});
  EXPECT_EQ(ns::explode("zarvel://2:255", "//"), (std::vector<std::string>{"zarvel:", "2:255"}));
  EXPECT_EQ(ns::explode("a,,b", ","), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(ns::searchReplace("abc", "", "x"), "abc");
  EXPECT_EQ(ns::searchReplace("aaa", "a", "aa"), "aaaaaa");  // scans on past each replacement
  EXPECT_EQ(ns::searchReplace("abcb", "b", ""), "ac");
  EXPECT_EQ(ns::escapeForSearch("it's Noah's"), "it''s Noah''s");
  EXPECT_TRUE(ns::doesContain("The Mercy", "MERCY"));
  EXPECT_FALSE(ns::doesContain("The Mercy", ""));
  EXPECT_EQ(ns::implode({"1", "2", "3"}, ", "), "1, 2, 3");
  EXPECT_EQ(ns::implode({}, ","), "");
}

TEST(StringMore, MailEscapes) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"a&b+c,d/e:f;g=h?i@j k\tl#m<n>o\"p\nq",
       "a%26b%2Bc%2Cd%2Fe%3Af%3Bg%3Dh%3Fi%40j%20k%09l%23m%3Cn%3Eo%22p%0Aq"},
      {"سلام", "%D8%B3%D9%84%D8%A7%D9%85"},
      {"plain", "plain"},
      {"100% sure", "100%25%20sure"},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ns::escapeAllForMail(text), expected) << text;
  }
}

// Every UTF-16 unit is 10 points wide, the ellipsis too.
class FixedWidth : public ::testing::Test {
 protected:
  ui::ScopedMeasurer measurer{std::make_shared<ui::FixedAdvanceMeasurer>(10)};
  ui::Font font = ui::Font::fontWithName("Helvetica", 13);
};

TEST_F(FixedWidth, TruncationToAWidth) {
  struct Case {
    const char* text;
    float width;
    const char* expected;
  };
  const Case cases[] = {
      {"hello", 50, "hello"},          // fits
      {"hello world", 50, "hel…"},     // the last fitting character gives way
      {"hello", 20, "…"},              // one character fits, and gives way
      {"hello", 15, "…"},              // only the ellipsis fits
      {"hello", 5, "…"},               // not even the ellipsis
      {"", 0, ""},
      {"سلام عليكم", 60, "سلام…"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ns::stringByTruncatingToWidth(c.text, c.width, font), c.expected)
        << c.text << " @ " << c.width;
  }
}

TEST_F(FixedWidth, SnippetAroundTheFirstWholeWordHit) {
  struct Case {
    const char* name;
    const char* text;
    const char* token;
    bool withReplaced;
    bool searchWordEnd;
    float maxWidth;
    const char* expected;
  };
  const Case cases[] = {
      {"grows evenly", "The mercy of God is near to those who do good", "mercy", true, true, 100,
       "…e <span class=\"yellowBox\">mercy</span> o…"},
      {"no markup", "The mercy of God is near to those who do good", "mercy", false, true, 100,
       "…e mercy o…"},
      {"fits whole", "The mercy", "mercy", true, true, 200, "The mercy"},
      {"word end skips a prefix hit", "godly men fear god always", "god", true, true, 100,
       "…ar <span class=\"yellowBox\">god</span> al…"},
      {"prefix hit allowed", "godly men fear god always", "god", true, false, 100,
       "…<span class=\"yellowBox\">god</span>ly me…"},
      {"case-insensitive", "godly men fear God always", "GOD", false, true, 100, "…ar God al…"},
      {"start inside a word skipped", "god od is here and more", "od", false, true, 100,
       "…od od is…"},
      {"punctuation bounds a word", "(god) is near, very near", "god", false, true, 60,
       "…(god)…"},
      {"fallback inside a word", "ungodly people", "god", true, true, 100,
       "…un<span class=\"yellowBox\">god</span>ly …"},
      {"no hit, no markup: truncated", "ungodly people", "god", false, true, 100, "ungodly …"},
      {"absent token: truncated", "ungodly people", "mercy", true, true, 100, "ungodly …"},
      {"empty token: truncated", "ungodly people", "", true, true, 100, "ungodly …"},
      {"hit at the end", "those who do good", "good", false, true, 80, "…o good"},
      {"markup escaped before the hit is wrapped", "Bread & <wine> of mercy", "mercy", true, true, 200,
       "… &amp; &lt;wine&gt; of <span class=\"yellowBox\">mercy</span>"},
      {"markup escaped in a whole text", "Bread & mercy", "mercy", true, true, 200, "Bread &amp; mercy"},
      {"markup escaped without a hit", "A & B <c>", "mercy", true, true, 200, "A &amp; B &lt;c&gt;"},
      {"no markup, nothing escaped", "Bread & <wine> of mercy", "mercy", false, true, 200,
       "… & <wine> of mercy"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ns::getPartialStringForSearchKeyword(c.text, "ignored", font, c.maxWidth,
                                                   c.withReplaced, c.searchWordEnd, c.token, 10),
              c.expected)
        << c.name;
  }
}

}  // namespace
