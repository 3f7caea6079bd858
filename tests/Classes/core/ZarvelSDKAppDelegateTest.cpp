#include "Classes/core/ZarvelSDKAppDelegate.h"

#include <filesystem>
#include <fstream>

#include "Classes/core/RegisteredDefaults.h"
#include "CoreTestEnvironment.h"
#include "platform/foundation/Paths.h"

namespace {

using RegisteredDefaultsTest = CoreSettingsTest;

TEST_F(RegisteredDefaultsTest, TableKeepsItsOrderAndTheRepeatedRow) {
  const auto rows = RegisteredDefaults::table(false);
  ASSERT_EQ(rows.size(), 27u);
  EXPECT_EQ(rows[0], (RegisteredDefaults::Row{"CurrentReciterv22", "1"}));
  EXPECT_EQ(rows[15], (RegisteredDefaults::Row{"IndexInArabic", "NO"}));
  EXPECT_EQ(rows[16], (RegisteredDefaults::Row{"PrefLang", "en"}));
  EXPECT_EQ(rows[23], (RegisteredDefaults::Row{"CurrentTranslationSecondary", "10"}));
  EXPECT_EQ(rows[26], (RegisteredDefaults::Row{"TranslationFontSize", "1"}));
  EXPECT_EQ(RegisteredDefaults::dictionary(false).size(), 26u);
  for (const auto& [key, value] : RegisteredDefaults::dictionary(true)) {
    EXPECT_TRUE(value.isString()) << key;  // every registered value is text
  }
}

TEST_F(RegisteredDefaultsTest, FreshInstallationReadsTheRegisteredValues) {
  ZarvelSDKAppDelegate::initialize();
  EXPECT_EQ(defaults().integerForKey(kCurrentReciter), 1);
  EXPECT_EQ(defaults().integerForKey(kCurrentTranslation), 1);
  EXPECT_EQ(defaults().integerForKey(kHUDTranslation), 10);
  EXPECT_EQ(defaults().integerForKey(kCurrentTafsir), 0);
  EXPECT_TRUE(defaults().boolForKey(kAlKahfReminders));
  EXPECT_TRUE(defaults().boolForKey(kTajweedGhunna));
  EXPECT_FALSE(defaults().boolForKey(kDontNagMe));  // not registered
  EXPECT_EQ(ZarvelSDKAppDelegate::ArabicFontSize(), 1);
  EXPECT_EQ(ZarvelSDKAppDelegate::TranslationFontSize(), 1);
}

TEST_F(RegisteredDefaultsTest, InterfaceLanguageRowsFollowTheFirstPreferredLanguage) {
  const std::tuple<ns::Value, bool, const char*> cases[] = {
      {ns::Value(ns::Array{"ar", "en"}), true, "ar"},
      {ns::Value(ns::Array{"ar-SA"}), true, "ar"},
      {ns::Value(ns::Array{"en", "ar"}), false, "en"},
      {ns::Value(ns::Array{"fr"}), false, "en"},
  };
  for (const auto& [languages, arabic, prefLang] : cases) {
    restart();
    defaults().setObject(languages, kAppleLanguages);
    ZarvelSDKAppDelegate::initialize();
    EXPECT_EQ(defaults().boolForKey(kIndexInArabic), arabic) << languages.description();
    EXPECT_EQ(defaults().stringForKey(kIndexInArabic), arabic ? "YES" : "NO");
    EXPECT_EQ(defaults().stringForKey(kPrefLang), prefLang) << languages.description();
  }
}

TEST_F(RegisteredDefaultsTest, StoredValuesAreNeverReplaced) {
  defaults().setInteger(7, kCurrentReciter);
  defaults().setObject(ns::Value("NO"), kAlKahfReminders);
  defaults().setInteger(3, kArabicFontSize);
  defaults().synchronize();
  restart();
  ZarvelSDKAppDelegate::initialize();
  ZarvelSDKAppDelegate::initialize();  // once per process
  EXPECT_EQ(defaults().integerForKey(kCurrentReciter), 7);
  EXPECT_FALSE(defaults().boolForKey(kAlKahfReminders));
  EXPECT_EQ(ZarvelSDKAppDelegate::ArabicFontSize(), 3);
}

TEST_F(RegisteredDefaultsTest, FontSizesAreCachedUntilReset) {
  ZarvelSDKAppDelegate::initialize();
  EXPECT_EQ(ZarvelSDKAppDelegate::ArabicFontSize(), 1);
  EXPECT_EQ(ZarvelSDKAppDelegate::TranslationFontSize(), 1);
  defaults().setInteger(4, kArabicFontSize);
  defaults().setInteger(0, kTranslationFontSize);
  EXPECT_EQ(ZarvelSDKAppDelegate::ArabicFontSize(), 1);
  EXPECT_EQ(ZarvelSDKAppDelegate::TranslationFontSize(), 1);
  ZarvelSDKAppDelegate::ResetArabicFontSize();
  EXPECT_EQ(ZarvelSDKAppDelegate::ArabicFontSize(), 4);
  EXPECT_EQ(ZarvelSDKAppDelegate::TranslationFontSize(), 1);
  ZarvelSDKAppDelegate::ResetTranslationFontSize();
  EXPECT_EQ(ZarvelSDKAppDelegate::TranslationFontSize(), 0);
}

TEST_F(RegisteredDefaultsTest, BadStoredValuesReadAsTheRegisteredValue) {
  // A settings file edited by hand or written by a faulty version.
  {
    const std::filesystem::path path = defaults().filePath();
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path);
    file << R"({
      "ArabicFontSize": 9,
      "TranslationFontSize": [2],
      "CurrentReciterv22": {"a": 1},
      "LastSurah": "eighteen",
      "LastVerse": "12",
      "PrefLang": 5,
      "AlKahfReminders": [true],
      "ColoredStopSigns": "NO"
    })";
  }
  restart();
  ZarvelSDKAppDelegate::initialize();
  EXPECT_EQ(ZarvelSDKAppDelegate::ArabicFontSize(), 1);
  EXPECT_EQ(ZarvelSDKAppDelegate::TranslationFontSize(), 1);
  EXPECT_EQ(defaults().integerForKey(kCurrentReciter), 1);
  EXPECT_EQ(defaults().integerForKey(kLastSurah), 1);
  EXPECT_EQ(defaults().integerForKey(kLastVerse), 12);  // usable text stays
  EXPECT_EQ(defaults().stringForKey(kPrefLang), "en");
  EXPECT_TRUE(defaults().boolForKey(kAlKahfReminders));
  EXPECT_FALSE(defaults().boolForKey(kColoredStopSigns));
}

TEST_F(RegisteredDefaultsTest, FontSizeValues) {
  const std::pair<ns::Value, bool> cases[] = {
      {ns::Value(0), true},      {ns::Value(4), true},     {ns::Value("2"), true},
      {ns::Value(" 3 "), true},  {ns::Value(2.0), true},   {ns::Value(5), false},
      {ns::Value(-1), false},    {ns::Value("-1"), false}, {ns::Value("2x"), false},
      {ns::Value(2.5), false},   {ns::Value(true), false}, {ns::Value(), false},
      {ns::Value(ns::Array{}), false},
  };
  for (const auto& [value, usable] : cases) {
    EXPECT_EQ(RegisteredDefaults::isFontSizeValue(value), usable) << value.description();
  }
}

}  // namespace
