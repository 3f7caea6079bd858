// Per-verse records: glyph codes loaded once, translation heights measured once per orientation.
#include "Classes/core/TranslationMeta.h"

#include <gtest/gtest.h>

#include "Classes/core/ArabicVerseMeta.h"
#include "Classes/core/Database.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Fixtures.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/text/TextMeasure.h"

namespace {

TEST(ArabicVerseMetaTest, LoadsTheGlyphCodesOnceAndKeepsThem) {
  fixtures::Store store;
  ArabicVerseMeta meta(2, 255);
  EXPECT_EQ(meta.ThisSurah(), 2);
  EXPECT_EQ(ns::stringFromData(meta.VerseData()), fixtures::glyphCodes(2, 255));
  store::setContentConnection(nullptr);
  EXPECT_EQ(ns::stringFromData(meta.VerseData()), fixtures::glyphCodes(2, 255));
  store::setContentConnection(store.content);
  EXPECT_TRUE(ArabicVerseMeta(1, 99).VerseData().empty());
}

class TranslationMetaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fixtures::makeTempDir();
    ns::UserDefaults::standardUserDefaults().resetForTesting();
    ns::UserDefaults::standardUserDefaults().setFilePath(dir + "/defaults.json");
    ZarvelSDKAppDelegate::ResetTranslationFontSize();
  }
  void TearDown() override {
    TranslationMeta::setFullScreenProvider(nullptr);
    ns::UserDefaults::standardUserDefaults().resetForTesting();
    ZarvelSDKAppDelegate::ResetTranslationFontSize();
  }
  // Every character 10 points wide, lines 20 points high.
  ui::ScopedMeasurer measurer{std::make_shared<ui::FixedAdvanceMeasurer>(10, 20)};
  std::string dir;
};

TEST_F(TranslationMetaTest, HeightsByWidthOrientationAndFullScreen) {
  std::string text(25, 'a');  // 250 points: two lines at 230, one at 262
  TranslationMeta meta(text, 1, 2, 5, true);
  EXPECT_EQ(meta.Height(), 2 * 20 + 15);
  EXPECT_EQ(meta.LandscapeHeight(), 20 + 15);
  meta.setTranslation(std::string(80, 'a'));
  EXPECT_EQ(meta.Height(), 55);  // cached until reset
  meta.ResetHeights();
  TranslationMeta::setFullScreenProvider([] { return true; });  // 688 and 944 wide
  EXPECT_EQ(meta.Height(), 2 * 20 + 15);
  EXPECT_EQ(meta.LandscapeHeight(), 20 + 15);
}

TEST_F(TranslationMetaTest, EdgeRows) {
  TranslationMeta emptyNote("", 1000, 2, 5, true);
  EXPECT_EQ(emptyNote.Height(), -1);
  EXPECT_EQ(emptyNote.LandscapeHeight(), -1);
  TranslationMeta header("Bismillah", 1, 0, 0, true);
  EXPECT_EQ(header.Height(), -1);
  EXPECT_EQ(header.LandscapeHeight(), -1);
  TranslationMeta emptyText("", 3, 2, 5, true);
  EXPECT_EQ(emptyText.Height(), 0);  // no padding on nothing
  TranslationMeta note("my note", 1000, 2, 5, true);
  EXPECT_EQ(note.Height(), 35);
}

TEST_F(TranslationMetaTest, TransliterationTagsCountAsOneWideLetter) {
  TranslationMeta meta("<b>a</b> <i>x</i><u>y</u>", 10, 1, 1, true);
  EXPECT_EQ(meta.getSimpleTransliteration(), "WaW WxWWyW");
  TranslationMeta other("<b>a</b>", 3, 1, 1, true);
  EXPECT_EQ(other.getSimpleTransliteration(), "<b>a</b>");
}

TEST_F(TranslationMetaTest, FontSizeByTranslationAndSetting) {
  struct Case {
    int translator, setting, size;
  };
  const Case cases[] = {{15, 0, 17}, {36, 4, 26}, {22, 1, 18}, {31, 3, 22}, {27, 2, 19},
                        {38, 0, 15}, {1, 0, 12},  {10, 3, 19}, {1000, 4, 21}};
  for (const Case& c : cases) {
    ns::UserDefaults::standardUserDefaults().setInteger(c.setting, "TranslationFontSize");
    ZarvelSDKAppDelegate::ResetTranslationFontSize();
    EXPECT_EQ(TranslationMeta("t", c.translator, 1, 1, true).getFontSize(), c.size) << c.translator;
  }
}

TEST_F(TranslationMetaTest, Description) {
  TranslationMeta meta("Hi", 4, 2, 7, false);
  EXPECT_EQ(meta.description(), "Translation: Hi, Height: -1, Landscape Height: -1, Surah: 2, Verse: 7, Translator: 4");
}

}  // namespace
