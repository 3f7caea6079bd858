// ChapterInfo: the fixed Quran reference tables.
#include <gtest/gtest.h>

#include "Classes/core/ChapterInfo.h"

namespace {

TEST(QuranReference, VerseCountsAndSurahFacts) {
  int total = 0;
  for (int surah = 1; surah <= 114; ++surah) total += ChapterInfo::getVersesFromNumber(surah);
  EXPECT_EQ(total, 6236);
  EXPECT_EQ(ChapterInfo::getVersesFromNumber(2), 286);
  for (int surah : {103, 108, 110}) EXPECT_EQ(ChapterInfo::getVersesFromNumber(surah), 3);
  EXPECT_EQ(ChapterInfo::getVersesFromNumber(0), 0);
  EXPECT_EQ(ChapterInfo::getVersesFromNumber(115), 0);

  EXPECT_EQ(ChapterInfo::getNameFromNumber(114), "An-Nas");
  EXPECT_EQ(ChapterInfo::getNameFromNumber(0), "Al-Fatiha");
  EXPECT_EQ(ChapterInfo::getMeaningFromNumber(2), "The Cow");
  EXPECT_EQ(ChapterInfo::getMeaningFromNumber(115), "");
  EXPECT_EQ(ChapterInfo::getAltNameFromNumber(9), "Bara'at");
  EXPECT_EQ(ChapterInfo::getAltMeaningFromNumber(111), "The [Father of] Flame");
  EXPECT_EQ(ChapterInfo::getAltNameFromNumber(10), "");
  EXPECT_EQ(ChapterInfo::getCityFromNumber(13), "Makkah");
  EXPECT_EQ(ChapterInfo::getCityFromNumber(99), "Madina");
  EXPECT_EQ(ChapterInfo::getCityFromNumber(500), "Makkah");
  EXPECT_EQ(ChapterInfo::getExtraChronoFromNumber(1), "");
  EXPECT_EQ(ChapterInfo::getExtraChronoFromNumber(110), "last one from Mina on last Hajj");
  EXPECT_EQ(ChapterInfo::getChronoOrderForChapter(96), 1);
  EXPECT_EQ(ChapterInfo::getChronoOrderForChapter(0), 0);
  EXPECT_EQ(ChapterInfo::getSurahNameOffsetForAlignment(22), 20);
  EXPECT_EQ(ChapterInfo::getSurahNameOffsetForAlignment(4), 13);
  EXPECT_EQ(ChapterInfo::getSurahNameOffsetForAlignment(0), 0);
}

TEST(QuranReference, JuzDivisions) {
  struct Case {
    int surah, verse, nearest;
  };
  const Case cases[] = {{2, 141, 1}, {2, 142, 2}, {18, 74, 15}, {18, 75, 16}, {114, 6, 30}, {15, 0, 13},
                        {15, 1, 14}, {1, 0, 1},   {79, 1, 30},  {78, 0, 29}};
  for (const Case& c : cases) EXPECT_EQ(ChapterInfo::nearestjuzFrom(c.surah, c.verse), c.nearest) << c.surah << ":" << c.verse;
  EXPECT_EQ(ChapterInfo::juzFrom(78, 1), 30);
  EXPECT_EQ(ChapterInfo::juzFrom(78, 2), 1);
  EXPECT_EQ(ChapterInfo::juzFrom(1, 1), 1);
  EXPECT_TRUE(ChapterInfo::isJuz(1, 1));
  EXPECT_FALSE(ChapterInfo::isJuz(2, 143));
  int s = 0, v = 0;
  ChapterInfo::setSurahVerseForJuz(s, v, 3);
  EXPECT_EQ(std::make_pair(s, v), std::make_pair(2, 253));
  ChapterInfo::setSurahVerseForJuz(s, v, 0);
  EXPECT_EQ(std::make_pair(s, v), std::make_pair(1, 1));
  EXPECT_EQ(ChapterInfo::getSurahVerseForJuz(2), "002:142");
  EXPECT_EQ(ChapterInfo::getSurahVerseForJuz(31), "001:1");
}

TEST(QuranReference, QuarterHizbDivisions) {
  int s = 0, v = 0;
  const std::tuple<int, int, int> starts[] = {{2, 2, 26}, {240, 100, 9}, {226, 68, 1}, {0, 1, 1}, {241, 1, 1}};
  for (auto [quarter, surah, verse] : starts) {
    ChapterInfo::setSurahVerseForHizb(s, v, quarter);
    EXPECT_EQ(std::make_pair(s, v), std::make_pair(surah, verse)) << quarter;
  }
  // Every juz starts its first quarter, and the quarter test agrees with the table everywhere.
  for (int juz = 1; juz <= 30; ++juz) {
    EXPECT_EQ(ChapterInfo::getHizbForJuz(juz), 8 * juz - 7);
    ChapterInfo::setSurahVerseForJuz(s, v, juz);
    int qs = 0, qv = 0;
    ChapterInfo::setSurahVerseForHizb(qs, qv, 8 * juz - 7);
    EXPECT_EQ(std::make_pair(s, v), std::make_pair(qs, qv)) << juz;
  }
  for (int quarter = 1; quarter <= 240; ++quarter) {
    ChapterInfo::setSurahVerseForHizb(s, v, quarter);
    EXPECT_TRUE(ChapterInfo::isHizb(s, v)) << quarter;
  }
  EXPECT_TRUE(ChapterInfo::isHizb(68, 1));
  EXPECT_FALSE(ChapterInfo::isHizb(68, 19));
  EXPECT_EQ(ChapterInfo::getSurahVerseForHizb(226), "068:1");
}

TEST(QuranReference, ProstrationVerses) {
  int count = 0;
  for (int surah = 1; surah <= 114; ++surah)
    for (int verse = 1; verse <= ChapterInfo::getVersesFromNumber(surah); ++verse) count += ChapterInfo::isSajda(surah, verse);
  EXPECT_EQ(count, 15);
  EXPECT_TRUE(ChapterInfo::isSajda(96, 19));
  EXPECT_FALSE(ChapterInfo::isSajda(96, 0));
}

TEST(QuranReference, NumberTexts) {
  EXPECT_EQ(ChapterInfo::getArabicNumbersFrom("286"), "\u0662\u0668\u0666");
  EXPECT_EQ(ChapterInfo::getArabicNumbersFrom("2a"), "\u0662");
  EXPECT_EQ(ChapterInfo::getArabicNumbersFrom(""), "");
  EXPECT_EQ(ChapterInfo::getTwoDigitNumberFromInt(7), "07");
  EXPECT_EQ(ChapterInfo::getTwoDigitNumberFromInt(10), "10");
  EXPECT_EQ(ChapterInfo::getThreeDigitNumberFromInt(7), "007");
  EXPECT_EQ(ChapterInfo::getThreeDigitNumberFromInt(42), "042");
  EXPECT_EQ(ChapterInfo::getThreeDigitNumberFromInt(100), "100");
}

}  // namespace
