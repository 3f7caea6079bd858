// Line breaking, line records and verse heights.
#include <gtest/gtest.h>

#include <vector>

#include "Classes/glyphs/ArabicFont.h"
#include "GlyphFixture.h"

namespace {

using glyphfixture::verseOf;

ns::Data repeated(const ns::Data& word, int times) {
  return verseOf(std::vector<ns::Data>(times, word));
}

struct Font {
  ArabicFont font;
  explicit Font(unsigned style, float scale = 1)
      : font((glyphfixture::resetDefaults(false), style), false, glyphfixture::sharedDatabase(), scale) {}

  int layout(const ns::Data& v, int width, int first = 0, int last = -1) {
    font.initCurrentVerseMetaData(1, width);
    if (last < 0) last = int(v.size()) - 1;
    return font.GetHeightOfVerseImage(1, false, &v, first, last, width, true);
  }
  const VerseMetaData& meta() { return *font.currVerseMetaData(); }
};

// A few words shaped like real ones: letters with vowels, shadda, sukun.
const ns::Data kBismi = {178, 248, 195, 252, 222, 248};
const ns::Data kAllah = {115, 220, 220, 250, 244, 226, 248};
const ns::Data kSamee = {195, 244, 222, 248, 232, 205, 254, 175};
const ns::Data kAna = {167, 244, 224, 244, 175, 103};

TEST(ArabicFontLayout, OneLineVerse) {
  Font f(4);
  const ns::Data v = verseOf({kBismi, kSamee});
  const int height = f.layout(v, 2000);
  EXPECT_EQ(height, f.font.lineHeight());
  EXPECT_EQ(f.meta().arrLineIndexes[0], VerseMetaData::lineWord(0, int(v.size()) - 1));
  EXPECT_EQ(f.meta().arrLineIndexes[1], -1);
  EXPECT_EQ(f.meta().arrLineStartYOffsets[0], f.font.TASHKIL_HEIGHT + f.font.TOP_TASHKIL_LETTER_PADDING);
}

TEST(ArabicFontLayout, EmptyOrMissingInputMeasuresNothing) {
  Font f(0);
  const ns::Data v = verseOf({kBismi});
  EXPECT_EQ(f.font.GetHeightOfVerseImage(1, false, nullptr, 0, 5, 300, true), 0);
  EXPECT_EQ(f.font.GetHeightOfVerseImage(1, false, &v, 3, 3, 300, true), 0);
  EXPECT_EQ(f.font.GetHeightOfVerseImage(1, false, &v, 4, 2, 300, true), 0);
  const ns::Data empty;
  EXPECT_EQ(f.font.GetHeightOfVerseImage(1, false, &empty, 0, 10, 300, true), 0);
  // A last index past the bytes is held to the bytes.
  EXPECT_EQ(f.font.GetHeightOfVerseImage(1, false, &v, 0, 5000, 300, false),
            f.font.GetHeightOfVerseImage(1, false, &v, 0, int(v.size()) - 1, 300, false));
}

// Every line ends after a space, lines follow each other, and a line's
// recorded width is exactly what its own bytes measure.
void expectSoundLines(Font& f, const ns::Data& v, int width) {
  const int height = f.layout(v, width);
  const VerseMetaData meta = f.meta();
  const int lines = meta.lineCount();
  ASSERT_GT(lines, 0);
  EXPECT_GE(height, lines * f.font.lineHeight());
  int expectedStart = 0;
  for (int i = 0; i < lines; ++i) {
    const int start = VerseMetaData::lineStart(meta.arrLineIndexes[i]);
    const int end = start + VerseMetaData::lineLength(meta.arrLineIndexes[i]);
    EXPECT_EQ(start, expectedStart) << "line " << i;
    if (i + 1 < lines) {
      EXPECT_EQ(v[end], 32) << "line " << i << " breaks after a space";
    }
    expectedStart = end + 1;
    EXPECT_EQ(meta.arrLineStartYOffsets[i] >= meta.arrLineStartYOffsets[std::max(0, i - 1)], true);
    // The same bytes measured on their own, with the same neighbours.
    ArabicFont alone(f.font.FONT_RESOLUTION, false, glyphfixture::sharedDatabase(), f.font.SCALE_FACTOR);
    alone.initCurrentVerseMetaData(1, 100000);
    alone.GetHeightOfVerseImage(1, false, &v, start, end, 100000, true);
    EXPECT_EQ(meta.arrLineActualWidth[i], alone.currVerseMetaData()->arrLineActualWidth[0])
        << "width of line " << i << " at " << width;
  }
  EXPECT_EQ(expectedStart, int(v.size()));
}

TEST(ArabicFontLayout, LinesBreakAfterSpacesAtSeveralWidthsAndStyles) {
  const ns::Data v = verseOf({kBismi, kAllah, kSamee, kAna, kBismi, kAllah, kSamee, kAna, kBismi,
                              kSamee, kAllah, kAna});
  for (unsigned style : {0u, 1u, 4u, 5u, 6u, 9u}) {
    Font f(style, style >= 5 ? 2 : 1);
    int previousLines = 1000;
    for (int width : {90, 150, 250, 400, 700, 1500}) {
      SCOPED_TRACE(testing::Message() << "style " << style << " width " << width);
      expectSoundLines(f, v, width);
      const int lines = f.meta().lineCount();
      EXPECT_LE(lines, previousLines) << "wider lines never need more of them";
      previousLines = lines;
    }
    EXPECT_EQ(previousLines, 1);
  }
}

TEST(ArabicFontLayout, HeightIsOneLineHeightPerLineWithoutStackedMarks) {
  const ns::Data word = {178, 244, 181, 248, 175};
  const ns::Data v = repeated(word, 30);
  for (unsigned style : {0u, 4u}) {
    Font f(style);
    for (int width : {100, 300, 600}) {
      const int height = f.layout(v, width);
      EXPECT_EQ(height, f.meta().lineCount() * f.font.lineHeight()) << style << " " << width;
      EXPECT_EQ(f.font.GetHeightOfVerseImage(1, false, &v, 0, int(v.size()) - 1, width, false), height);
    }
  }
}

TEST(ArabicFontLayout, StackedMarksAboveTheBandGrowTheLine) {
  Font f(0);
  const ns::Data plain = verseOf({{175, 244}});
  const ns::Data stacked = verseOf({{175, 250, 244, 245, 122}});
  EXPECT_EQ(f.layout(plain, 300), f.font.lineHeight());
  const int tall = f.layout(stacked, 300);
  EXPECT_GT(tall, f.font.lineHeight());
  EXPECT_EQ(f.meta().arrLineStartYOffsets[0],
            f.font.TASHKIL_HEIGHT + f.font.TOP_TASHKIL_LETTER_PADDING + tall - f.font.lineHeight());
}

TEST(ArabicFontLayout, MeasuringAgainGivesTheSameLayoutAndWithoutRecordingChangesNothing) {
  Font f(4);
  const ns::Data v = repeated(kAllah, 25);
  f.layout(v, 300);
  const VerseMetaData first = f.meta();
  f.layout(v, 300);
  EXPECT_TRUE(f.meta() == first);
  f.font.GetHeightOfVerseImage(1, false, &v, 0, int(v.size()) - 1, 120, false);
  EXPECT_TRUE(f.meta() == first);
}

TEST(ArabicFontLayout, VerseEndInsideTheRangeStopsThere) {
  Font f(0);
  const ns::Data v = {178, 175, 10, 178, 178, 32, 178, 178, 10};
  EXPECT_EQ(f.layout(v, 300), f.font.lineHeight());
  EXPECT_EQ(f.meta().arrLineIndexes[0], VerseMetaData::lineWord(0, 2));
  EXPECT_EQ(f.meta().arrLineIndexes[1], -1);
}

TEST(ArabicFontLayout, WordWiderThanTheLineStandsOnItsOwnLine) {
  Font f(0);
  const ns::Data wide(40, 178);
  const ns::Data v = verseOf({{178, 178}, wide, {178, 175}});
  f.layout(v, 100);
  const auto& m = f.meta();
  ASSERT_EQ(m.lineCount(), 3);
  EXPECT_EQ(m.arrLineIndexes[0], VerseMetaData::lineWord(0, 2));
  EXPECT_EQ(m.arrLineIndexes[1], VerseMetaData::lineWord(3, 40));
  EXPECT_EQ(m.arrLineIndexes[2], VerseMetaData::lineWord(44, 2));
}

TEST(ArabicFontLayout, LimitsNeverOverflowTheRecord) {
  Font f(4);
  // Far more lines than the record holds: it keeps 119 and the end mark.
  const ns::Data many = repeated({178, 178}, 600);
  const int height = f.layout(many, 30);
  EXPECT_EQ(f.meta().lineCount(), 119);
  EXPECT_EQ(f.meta().arrLineIndexes[119], -1);
  EXPECT_EQ(height, 119 * f.font.lineHeight());

  // One line of more bytes than 10 bits of length: it is cut into lines.
  ns::Data endless;
  for (int i = 0; i < 1500; ++i) endless.insert(endless.end(), {178, 244});
  endless.push_back(10);
  f.layout(endless, 1000000);
  const auto& m = f.meta();
  int covered = 0;
  for (int i = 0; i < m.lineCount(); ++i) {
    EXPECT_EQ(VerseMetaData::lineStart(m.arrLineIndexes[i]), covered);
    EXPECT_LE(VerseMetaData::lineLength(m.arrLineIndexes[i]), VerseMetaData::kMaxLineLength);
    covered += VerseMetaData::lineLength(m.arrLineIndexes[i]) + 1;
  }
  EXPECT_EQ(covered, int(endless.size()));

  // A line cut at the length limit with more opportunities than its count
  // byte holds keeps the largest count instead of wrapping.
  f.layout(repeated({178, 178}, 400), 1000000);
  ASSERT_GE(f.meta().lineCount(), 2);
  EXPECT_EQ(f.meta().arrLineKashidaCount[0], 255);
}

TEST(ArabicFontLayout, KashidaOpportunitiesAtMostOnePerWord) {
  Font f(0);
  // ba-ba pairs offer a kashida; alef-alef pairs do not.
  const ns::Data v = verseOf({{178, 178, 178}, {175, 175}, {181, 178}, {175, 175}});
  f.layout(v, 2000);
  EXPECT_EQ(f.meta().arrLineKashidaCount[0], 2);
  const ns::Data none = verseOf({{175, 175}, {175, 192}});
  f.layout(none, 2000);
  EXPECT_EQ(f.meta().arrLineKashidaCount[0], 0);
}

TEST(ArabicFontLayout, KashidaMatrixIsReadFromThePrecedingLetterToTheFollowingOne) {
  // Pairs the matrix allows one way only.
  Font f(0);
  const struct {
    ns::Data word;
    int count;
  } cases[] = {{{178, 175}, 1}, {{175, 178}, 0}, {{214, 178}, 1}, {{178, 214}, 0}};
  for (const auto& c : cases) {
    f.layout(verseOf({c.word}), 2000);
    EXPECT_EQ(f.meta().arrLineKashidaCount[0], c.count) << int(c.word[0]) << " then " << int(c.word[1]);
  }
}

TEST(ArabicFontLayout, StackedMarksGrowEveryLineTheyStandOn) {
  Font f(0);
  const ns::Data plain = {178, 178, 178};
  const ns::Data stacked = {175, 250, 244, 245, 122};
  const int lh = f.font.lineHeight(), letterTop = f.font.TASHKIL_HEIGHT + f.font.TOP_TASHKIL_LETTER_PADDING;
  const int growth = f.layout(verseOf({stacked}), 300) - lh;
  ASSERT_GT(growth, 0);
  // One word a line: the stacked word on the first line, the last, or both.
  const struct {
    std::vector<ns::Data> words;
    int firstGrowth, secondGrowth;
  } cases[] = {{{stacked, plain}, growth, 0}, {{plain, stacked}, 0, growth}, {{stacked, stacked}, growth, growth}};
  for (const auto& c : cases) {
    const int height = f.layout(verseOf(c.words), 10);
    ASSERT_EQ(f.meta().lineCount(), 2);
    EXPECT_EQ(height, 2 * lh + c.firstGrowth + c.secondGrowth);
    EXPECT_EQ(f.meta().arrLineStartYOffsets[0], letterTop + c.firstGrowth);
    EXPECT_EQ(f.meta().arrLineStartYOffsets[1], letterTop + lh + c.firstGrowth + c.secondGrowth);
  }
}

TEST(ArabicFontLayout, SmallLetterWithMaddaAfterAJoiningLetterTakesTheMaddaWidth) {
  Font f(4);
  // lam, fatha, dagger alef + madda, ya-hamza: the dagger alef is letter-like.
  const ns::Data withMadda = verseOf({{220, 244, 245, 251, 173}});
  const ns::Data alone = verseOf({{220, 244, 173}});
  f.layout(withMadda, 2000);
  const int wide = f.meta().arrLineActualWidth[0];
  f.layout(alone, 2000);
  EXPECT_EQ(wide - f.meta().arrLineActualWidth[0], std::max(f.font.charWidth(245), f.font.charWidth(251)));
}

TEST(ArabicFontLayout, ASmallLetterOpeningAWordDoesNotJoinTheWordBefore) {
  Font f(4);
  // The word before ends in a forward-joining form (final ba) or not (final
  // alef); the dagger alef with madda that opens the next word advances the
  // same either way, as the drawer, which starts every word afresh, draws it.
  const ns::Data opening = {245, 251, 178};
  auto added = [&](const ns::Data& before) {
    f.layout(verseOf({before, opening}), 2000);
    const int both = f.meta().arrLineActualWidth[0];
    f.layout(verseOf({before}), 2000);
    return both - f.meta().arrLineActualWidth[0];
  };
  ASSERT_LT(f.font.charWidth(245), f.font.charWidth(251));
  EXPECT_EQ(added({178, 178}), added({175, 175}));
}

TEST(ArabicFontLayout, TheAlefAfterLamHamzaTakesNoRoomWhateverMarksStandBetween) {
  Font f(0);
  // lam, hamza, alef is drawn as two pieces; a mark on the hamza (a vowel,
  // or the hamza-above sign 107, whose code lies among the letters) is not
  // taken for the swallowed alef.
  f.layout(verseOf({{220, 164, 175}}), 2000);
  const int pieces = f.meta().arrLineActualWidth[0];
  for (int mark : {244, 107, 121}) {
    f.layout(verseOf({{220, 164, std::uint8_t(mark), 175}}), 2000);
    EXPECT_EQ(f.meta().arrLineActualWidth[0], pieces) << mark;
  }
}

}  // namespace
