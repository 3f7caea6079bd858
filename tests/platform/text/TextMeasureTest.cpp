#include "platform/text/TextMeasure.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <thread>
#include <vector>

using namespace ui;

namespace {
const std::string kVerse =
    "In the name of God, the Most Gracious, the Most Merciful. Praise be to God, Lord of the worlds.";
const std::string kArabic = "\xD8\xA8\xD8\xB3\xD9\x85 \xD8\xA7\xD9\x84\xD9\x84\xD9\x87";
}  // namespace

TEST(Font, MapsThePlatformNamesToInstalledFaces) {
  struct Case {
    const char* name;
    const char* family;
    bool bold;
  } cases[] = {
      {"Helvetica", "Liberation Sans", false},
      {"Helvetica-Bold", "Liberation Sans", true},
      {"Arial-BoldMT", "Liberation Sans", true},
      {"Georgia", "Liberation Serif", false},
      {"Courier", "Liberation Mono", false},
      {"GeezaPro", "Amiri", false},
      {"GeezaPro-Bold", "Amiri", true},
      {"Unknown Face", "Liberation Sans", false},
  };
  for (const auto& c : cases) {
    Font f = Font::fontWithName(c.name, 17);
    EXPECT_EQ(f.familyName(), c.family) << c.name;
    EXPECT_EQ(f.isBold(), c.bold) << c.name;
    EXPECT_EQ(f.fontName(), c.name);
    EXPECT_EQ(f.pointSize(), 17);
  }
  EXPECT_EQ(Font::systemFontOfSize(12).familyName(), "Liberation Sans");
  EXPECT_EQ(Font::boldSystemFontOfSize(12).familyName(), "Liberation Sans");
  EXPECT_TRUE(Font::boldSystemFontOfSize(12).isBold());
  EXPECT_EQ(Font::systemFontOfSize(12).fontWithSize(20).pointSize(), 20);
}

TEST(Font, MetricsScaleWithTheSize) {
  Font small = Font::systemFontOfSize(10), large = Font::systemFontOfSize(20);
  EXPECT_GT(small.ascender(), 5);
  EXPECT_LT(small.descender(), 0);
  EXPECT_NEAR(small.lineHeight(), small.ascender() - small.descender(), 1e-4);
  EXPECT_NEAR(large.lineHeight(), 2 * small.lineHeight(), 0.5);
}

TEST(PangoMeasurer, WidthsGrowWithTheTextAndTheSize) {
  PangoMeasurer m;
  Font f = Font::systemFontOfSize(15);
  float abc = m.width("abc", f);
  EXPECT_GT(abc, 0);
  EXPECT_GT(m.width("abcabc", f), abc * 1.9f);
  EXPECT_NEAR(m.width("abc", f.fontWithSize(30)), 2 * abc, 0.5);
  EXPECT_GT(m.width(kArabic, Font::fontWithName("GeezaPro", 20)), 0);
  EXPECT_EQ(m.width("", f), 0);
  EXPECT_GT(m.width("bad \xFF utf8", f), 0);
}

TEST(PangoMeasurer, WrappedHeightGrowsAsTheWidthNarrows) {
  PangoMeasurer m;
  Font f = Font::systemFontOfSize(15);
  float oneLine = m.heightForWidth("abc", f, 1000);
  float wide = m.heightForWidth(kVerse, f, 2000);
  float narrow = m.heightForWidth(kVerse, f, 200);
  float narrower = m.heightForWidth(kVerse, f, 80);
  EXPECT_NEAR(wide, oneLine, 0.5);
  EXPECT_EQ(m.heightForWidth(kVerse, f, FLT_MAX), m.heightForWidth(kVerse, f, 0));  // "no limit"
  EXPECT_GT(narrow, wide);
  EXPECT_GT(narrower, narrow);
  cg::Size s = m.sizeForWidth(kVerse, f, 200, LineBreakMode::WordWrap);
  EXPECT_LE(s.width, 200);
  // Modes that do not wrap keep one line.
  EXPECT_NEAR(m.heightForWidth(kVerse, f, 80, LineBreakMode::TruncateTail), oneLine, 0.5);
  // A word longer than the line is still broken, not left overflowing.
  EXPECT_GT(m.heightForWidth(std::string(60, 'w'), f, 100), oneLine * 2);
}

TEST(PangoMeasurer, MeasuresFromSeveralThreadsAtOnce) {
  Font f = Font::systemFontOfSize(14);
  float expected = PangoMeasurer().heightForWidth(kVerse, f, 150);
  std::vector<std::thread> threads;
  std::vector<int> mismatches(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      PangoMeasurer m;
      for (int i = 0; i < 50; ++i) {
        if (m.heightForWidth(kVerse, f, 150) != expected) ++mismatches[static_cast<std::size_t>(t)];
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int n : mismatches) EXPECT_EQ(n, 0);
}

TEST(FixedAdvanceMeasurer, CountsUtf16UnitsAndWrapsAtSpaces) {
  FixedAdvanceMeasurer m(10, 20);
  Font f;
  EXPECT_EQ(m.width("abc", f), 30);
  EXPECT_EQ(m.width("ab\nabcd", f), 40);
  EXPECT_EQ(m.width("a\xF0\x9F\x98\x80", f), 30);  // a non-BMP character is two units
  struct Case {
    const char* text;
    float width;
    LineBreakMode mode;
    cg::Size size;
  } cases[] = {
      {"aaa bbb ccc", 75, LineBreakMode::WordWrap, {70, 40}},     // "aaa bbb" / "ccc"
      {"aaa bbb ccc", 1000, LineBreakMode::WordWrap, {110, 20}},
      {"aaa bbb ccc", FLT_MAX, LineBreakMode::WordWrap, {110, 20}},  // "no limit"
      {"aaa bbb ccc", INFINITY, LineBreakMode::CharacterWrap, {110, 20}},
      {"aaaaaaaaaa", 45, LineBreakMode::WordWrap, {40, 60}},      // a long word is cut
      {"aaa bbb", 50, LineBreakMode::CharacterWrap, {50, 40}},    // "aaa b" / "bb"
      {"aaa bbb ccc", 35, LineBreakMode::TruncateTail, {35, 20}},
      {"ab\n\ncd", 100, LineBreakMode::WordWrap, {20, 60}},       // empty paragraph keeps a line
      {"", 100, LineBreakMode::WordWrap, {0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(m.sizeForWidth(c.text, f, c.width, c.mode), c.size) << c.text << " @" << c.width;
  }
}

TEST(TextMeasure, TheCurrentMeasurerCanBeSwappedForAScope) {
  Font f = Font::systemFontOfSize(15);
  {
    ScopedMeasurer fixed(std::make_shared<FixedAdvanceMeasurer>(8, 10));
    EXPECT_EQ(sizeWithFont("abcd", f), (cg::Size{32, 10}));
    EXPECT_EQ(sizeWithFont("abcd efgh", f, cg::Size{40, 1000}), (cg::Size{32, 20}));
    EXPECT_EQ(sizeWithFont("abcd efgh", f, cg::Size{40, 15}), (cg::Size{32, 15}));
  }
  EXPECT_NE(dynamic_cast<PangoMeasurer*>(&currentMeasurer()), nullptr);
  EXPECT_GT(sizeWithFont("abc", f).width, 0);
}
