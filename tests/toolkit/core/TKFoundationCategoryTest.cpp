// The toolkit's string, date and colour additions and the markup stripper.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "platform/foundation/Calendar.h"
#include "platform/foundation/Clock.h"
#include "toolkit/core/Color+TKCategory.h"
#include "toolkit/core/Date+TKCalendarAdditions.h"
#include "toolkit/core/Date+TKCategory.h"
#include "toolkit/core/String+TKCategory.h"

namespace {

TEST(TKStringCategory, QueryParsingKeepsOnlyPairsWithOneEqualsSign) {
  ns::Dictionary q = ns::queryDictionary("a=1&b&c=2=3;d=%20x");
  EXPECT_EQ(q, (ns::Dictionary{{"a", "1"}, {"d", " x"}}));

  struct Case {
    const char* query;
    ns::Dictionary expected;
  } cases[] = {
      {"", {}},
      {"&&;;", {}},
      {"a=1&a=2", {{"a", "2"}}},  // a later pair wins
      {"=v", {{"", "v"}}},
      {"k=", {{"k", ""}}},
      {"%E2%9C%93=%zz", {{"\xE2\x9C\x93", "%zz"}}},  // a malformed escape stays as it is
      {"x=%FF", {{"x", "\xEF\xBF\xBD"}}},               // bytes that are no UTF-8 become U+FFFD
  };
  for (const auto& c : cases) EXPECT_EQ(ns::queryDictionary(c.query), c.expected) << c.query;
}

TEST(TKStringCategory, QueryBuildingEncodesKeysAndValuesSoTheyReadBack) {
  EXPECT_EQ(ns::stringByAddingQueryDictionary("x://h", {{"a", "1"}}), "x://h?a=1");
  EXPECT_EQ(ns::stringByAddingQueryDictionary("x://h?z=0", {{"a", "1"}}), "x://h?z=0&a=1");
  EXPECT_EQ(ns::stringByAddingQueryDictionary("x://h", {{"q", "a?b=c"}}), "x://h?q=a%3Fb%3Dc");

  ns::Dictionary hostile{{"k&ey", "v&a#l%u+e s=?"}, {"two words", "caf\xC3\xA9"}};
  std::string url = ns::stringByAddingQueryDictionary("x://h", hostile);
  EXPECT_EQ(url.find(' '), std::string::npos);
  EXPECT_EQ(url.find('#'), std::string::npos);
  EXPECT_EQ(ns::queryDictionary(url.substr(url.find('?') + 1)), hostile);
}

TEST(TKStringCategory, WhitespaceTests) {
  struct Case {
    const char* text;
    bool whitespace, emptyOrWhitespace;
  } cases[] = {
      {"", true, true},     {" \t", true, true},   {"\n", true, false},
      {" x ", false, false}, {"\xC2\xA0", true, true},  // no-break space
      {"\r\n ", true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ns::isWhitespace(std::string_view(c.text)), c.whitespace) << '"' << c.text << '"';
    EXPECT_EQ(ns::isEmptyOrWhitespace(c.text), c.emptyOrWhitespace) << '"' << c.text << '"';
  }
}

TEST(TKStringCategory, MarkupStripperResolvesEntitiesAndKeepsTextAfterErrors) {
  struct Case {
    const char* markup;
    const char* text;
  } cases[] = {
      {"<b>bold</b> &amp; <i>it</i>", "bold & it"},
      {"&lt;tag&gt; &quot;q&quot;&nbsp;x", "<tag> \"q\" x"},
      {"a&unknown;b", "ab"},
      {"&#65;&#x42;", "AB"},
      {"<p>one<br/>two</p>", "onetwo"},
      {"<!-- note -->shown", "shown"},
      // Malformed: a stray "<" or "&", a tag that never closes, mismatched tags.
      {"1 < 2 & 3", "1 < 2 & 3"},
      {"<b>kept</i> after", "kept after"},
      {"text <b unclosed", "text <b unclosed"},
      {"before <!-- unclosed", "before  unclosed"},
      {"&#0;&#xFFFFFFFF;&#55296;ok", "ok"},
  };
  for (const auto& c : cases) EXPECT_EQ(ns::stringByRemovingHTMLTags(c.markup), c.text) << c.markup;
}

class TKDateCategory : public ::testing::Test {
 protected:
  void SetUp() override {
    ns::Calendar::setTimeZoneForTesting("UTC");
    clock = ns::VirtualClock::install(1767225600.0 + 12 * 3600);  // 2026-01-01 12:00 UTC, a Thursday
  }
  void TearDown() override { ns::Calendar::setTimeZoneForTesting(""); }
  ns::Date ago(double seconds) { return ns::Date(clock->now() - seconds); }
  std::shared_ptr<ns::VirtualClock> clock;
};

TEST_F(TKDateCategory, RelativeTimeByElapsedSeconds) {
  struct Case {
    double seconds;
    std::string text;
  } cases[] = {
      {0, "just a moment ago"},       {1, "just a moment ago"},    {2, "2 seconds ago"},
      {59, "59 seconds ago"},         {60, "about a minute ago"},  {119, "about a minute ago"},
      {120, "2 minutes ago"},         {3599, "59 minutes ago"},    {3600, "about an hour ago"},
      {5399, "about an hour ago"},    {5400, "2 hours ago"},       {86399, "24 hours ago"},
      {86400, "Wed 12:00 PM"},        {-300, "5 minutes ago"},     {8 * 86400, "Dec 24 12:00 PM"},
  };
  for (const auto& c : cases) EXPECT_EQ(ns::formatRelativeTime(ago(c.seconds)), c.text) << c.seconds;
}

TEST_F(TKDateCategory, ShortFormatsAndDays) {
  EXPECT_EQ(ns::formatTime(ago(0)), "12:00 PM");
  EXPECT_EQ(ns::formatDate(ago(0)), "Thursday, January 1, 2026");
  EXPECT_EQ(ns::formatShortTime(ago(2 * 86400)), "Tuesday");
  EXPECT_EQ(ns::formatShortTime(ago(30 * 86400)), "12/2/25");
  EXPECT_EQ(ns::formatDatePattern(ago(12 * 3600), "yyyy-MM-dd HH:mm:ss 'at' h a"), "2026-01-01 00:00:00 at 12 AM");

  ns::DateComponents today = ns::Calendar::components(ago(0));
  ns::DateComponents yesterday = ns::Calendar::components(ago(86400));
  EXPECT_EQ(ns::formatDay(ago(3600), today, yesterday), "Today");
  EXPECT_EQ(ns::formatDay(ago(86400), today, yesterday), "Yesterday");
  EXPECT_EQ(ns::formatDay(ago(3 * 86400), today, yesterday), "December 29");
}

TEST_F(TKDateCategory, DayBoundsComeFromCalendarComponents) {
  EXPECT_EQ(ns::dateAtMidnight(ago(0)).timeIntervalSince1970(), 1767225600.0);
  EXPECT_EQ(ns::dateWithToday().timeIntervalSince1970(), 1767225600.0);
  EXPECT_EQ(ns::dateJustBeforeEndOfDay(ago(0)).timeIntervalSince1970(), 1767225600.0 + 86399);

  // In Sao Paulo the clocks went forward at 00:00 on 4 November 2018: that
  // day starts at 01:00.
  ns::Calendar::setTimeZoneForTesting("America/Sao_Paulo");
  ns::Date noon = ns::Calendar::dateFromComponents({2018, 11, 4, 12, 0, 0, 0});
  ns::Date start = ns::dateAtMidnight(noon);
  ns::DateComponents c = ns::Calendar::components(start);
  EXPECT_EQ((std::vector<int>{c.year, c.month, c.day, c.hour, c.minute}), (std::vector<int>{2018, 11, 4, 1, 0}));
  EXPECT_LT(start, noon);
  EXPECT_EQ(ns::dateJustAtStartOfDay(noon), start);
}

TEST(TKColorCategory, HSVConversions) {
  struct ToHSV {
    float r, g, b, h, s, v;
  } toHSV[] = {
      {0, 0, 0, -1, 0, 0},     {1, 0, 0, 0, 1, 1},   {0, 1, 0, 120, 1, 1},
      {0, 0, 1, 240, 1, 1},    {0.5f, 0.5f, 0.5f, 0, 0, 0.5f},  // a grey: hue 0, not NaN
      {1, 1, 1, 0, 0, 1},      {1, 0, 1, 300, 1, 1},
  };
  for (const auto& c : toHSV) {
    float h, s, v;
    TKColorRGBToHSV(c.r, c.g, c.b, &h, &s, &v);
    EXPECT_FALSE(std::isnan(h));
    EXPECT_FLOAT_EQ(h, c.h) << c.r << "," << c.g << "," << c.b;
    EXPECT_FLOAT_EQ(s, c.s);
    EXPECT_FLOAT_EQ(v, c.v);
  }
  struct ToRGB {
    float h, s, v, r, g, b;
  } toRGB[] = {
      {120, 1, 1, 0, 1, 0}, {0, 1, 1, 1, 0, 0},   {360, 1, 1, 1, 0, 0},  // 360 wraps to red
      {720, 1, 1, 1, 0, 0}, {-120, 1, 1, 0, 0, 1}, {NAN, 1, 1, 1, 0, 0},
      {INFINITY, 1, 0.5f, 0.5f, 0, 0}, {200, 0, 0.3f, 0.3f, 0.3f, 0.3f},
  };
  for (const auto& c : toRGB) {
    float r, g, b;
    TKColorHSVToRGB(&r, &g, &b, c.h, c.s, c.v);
    EXPECT_NEAR(r, c.r, 1e-5) << c.h;
    EXPECT_NEAR(g, c.g, 1e-5) << c.h;
    EXPECT_NEAR(b, c.b, 1e-5) << c.h;
  }
  // Huge hues stay in the circle: every component a colour value.
  for (float h : {1e30f, -1e30f, 3.4e38f}) {
    float r, g, b;
    TKColorHSVToRGB(&r, &g, &b, h, 1, 1);
    for (float x : {r, g, b}) EXPECT_TRUE(x >= 0 && x <= 1) << h;
  }
}

TEST(TKColorCategory, HighlightAndShadowKeepHueAndAlpha) {
  cg::Color base = cg::colorWithHue(200, 0.5f, 0.5f, 0.7f);
  cg::Color light = cg::highlight(base), dark = cg::shadow(base);
  EXPECT_NEAR(cg::hue(light), 200, 1e-3);
  EXPECT_NEAR(cg::saturation(light), 0.2f, 1e-5);
  EXPECT_NEAR(cg::value(light), 0.6f, 1e-5);
  EXPECT_NEAR(cg::saturation(dark), 0.3f, 1e-5);
  EXPECT_NEAR(cg::value(dark), 0.3f, 1e-5);
  EXPECT_FLOAT_EQ(light.a, 0.7f);
  EXPECT_FLOAT_EQ(cg::copyWithAlpha(base, 0.1f).a, 0.1f);
  EXPECT_FLOAT_EQ(cg::addHue(base, 170, 0, 0).r, cg::colorWithHue(10, 0.5f, 0.5f, 1).r);  // round the circle
}

}  // namespace

namespace {

TEST_F(TKDateCategory, CalendarSteps) {
  ns::Date mid = ns::cc_dateForDay(15, 1, 2026);  // a Thursday
  EXPECT_EQ(ns::Calendar::components(ns::cc_dateByMovingToFirstDayOfTheMonth(mid)).day, 1);
  ns::DateComponents previous = ns::Calendar::components(ns::cc_dateByMovingToFirstDayOfThePreviousMonth(mid));
  EXPECT_EQ((std::vector<int>{previous.year, previous.month, previous.day}), (std::vector<int>{2025, 12, 1}));
  EXPECT_EQ(ns::cc_numberOfDaysInMonth(ns::cc_dateForDay(3, 2, 2024)), 29);
  EXPECT_EQ(ns::cc_numberOfDaysInMonth(mid), 31);

  // 1 February 2026 is a Sunday: asking for Sunday gives that day, Saturday the 7th.
  ns::Date following = ns::cc_dateByMovingToFirstDayOfTheFollowingMonth(mid);
  EXPECT_EQ(ns::cc_dateByMovingToFirstDayOfTheFollowingMonthWithWeekday(mid, 1), following);
  EXPECT_EQ(ns::cc_day(ns::cc_dateByMovingToFirstDayOfTheFollowingMonthWithWeekday(mid, 7)), 7);

  EXPECT_TRUE(ns::cc_isToday(ago(3600)));
  EXPECT_FALSE(ns::cc_isToday(ago(13 * 3600)));  // yesterday, within a day
  EXPECT_FALSE(ns::cc_isToday(ago(-86401)));
}

}  // namespace
