#include "Classes/core/Language.h"

#include <fstream>
#include <map>
#include <set>

#include "Classes/core/RegisteredDefaults.h"
#include "CoreTestEnvironment.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"

namespace {

using LanguageTest = CoreSettingsTest;

const std::string kFridayText = "You haven't read Al-Kahf today. Would you like to read it now?";

TEST_F(LanguageTest, LooksTextsUpInTheChosenTable) {
  Language::setLanguage("ar");
  EXPECT_EQ(Language::get("Yes", "Yes"), "نعم");
  EXPECT_EQ(Language::get(kFridayText, kFridayText), "لم تقرأ سورة الكهف اليوم. هل تودّ قراءتها الآن؟");
  // Keys with escapes in the table.
  const std::string review = Language::get(
      "Review Zarvel\n\nWe hope you are enjoying Zarvel. Please kindly take a moment out to rate "
      "Zarvel on the app store. Your positive feedback encourages us in coming out with frequent "
      "free updates.",
      "");
  EXPECT_EQ(review.rfind("تقييم Zarvel\n\n", 0), 0u);
  EXPECT_EQ(Language::get("Not in any table", "Not in any table"), "Not in any table");

  Language::setLanguage("en");
  EXPECT_EQ(Language::get("Yes", "Yes"), "Yes");
  EXPECT_EQ(Language::get(kFridayText, "fallback"), kFridayText);
}

TEST_F(LanguageTest, EveryArabicKeyHasAnEnglishEntry) {
  const auto english = ns::StringTable::load(ns::sourceDirectory() + "/resources/en.lproj/Localizable.strings");
  const auto arabic = ns::StringTable::load(ns::sourceDirectory() + "/resources/ar.lproj/Localizable.strings");
  ASSERT_TRUE(english && arabic);
  EXPECT_EQ(english->size(), arabic->size());
  // Every entry is one line, and a key given twice would silently lose one
  // of its texts (the last wins): two branches adding the same key merge
  // without a conflict.
  for (const char* table : {"en", "ar"}) {
    std::ifstream in(ns::sourceDirectory() + "/resources/" + table + ".lproj/Localizable.strings");
    std::size_t lines = 0;
    for (std::string line; std::getline(in, line);) lines += line.rfind('"', 0) == 0;
    EXPECT_EQ(lines, english->size()) << table << ": a key is given twice";
  }
  // The English text is the key, but for the keys that name a place in the
  // code: the notes entry, the font sizes' section headers, the tajweed
  // guide's explanations and the texts of the tips' pages.
  const std::map<std::string, std::string> namedPlaces = {
      {"NotesPicker", "My Notes"}, {"Al-Surah", "Surah"}, {"Al-Translation", "Translation"}};
  const std::set<std::string> guideTexts = {"GhunnaInfoText", "IkhfaInfoText", "IdghamInfoText",
                                            "IdghamWGInfoText", "QalbInfoText", "QalqalaInfoText"};
  for (const auto& [key, value] : arabic->entries()) {
    auto place = namedPlaces.find(key);
    if (key.rfind("HDTIP", 0) == 0) EXPECT_GT(english->lookup(key).value_or("").size(), 20u) << key;
    else if (guideTexts.count(key)) EXPECT_FALSE(english->lookup(key).value_or("").empty()) << key;
    else EXPECT_EQ(english->lookup(key), place != namedPlaces.end() ? place->second : key) << key;
    EXPECT_NE(value, key) << key;
  }
}

TEST_F(LanguageTest, SettingALanguageStoresTheChoiceForTheNextStart) {
  ns::LogCapture capture;
  capture.setEcho(false);
  Language::setLanguage("fr");  // no table: English fallbacks
  EXPECT_TRUE(capture.contains("preferredLang: fr"));
  EXPECT_EQ(Language::get("Yes", "Yes"), "Yes");
  EXPECT_EQ(defaults().stringForKey(kPrefLang), "fr");
  EXPECT_EQ(defaults().objectForKey(kAppleLanguages), ns::Value(ns::Array{"fr"}));

  restart();  // the choice was synchronised to disk
  EXPECT_EQ(defaults().objectForKey(kAppleLanguages), ns::Value(ns::Array{"fr"}));
  EXPECT_EQ(Language::preferredLanguage(), "fr");
}

TEST_F(LanguageTest, TheStartSelectsThePreferredLanguageWithoutALogLine) {
  ns::LogCapture capture;
  capture.setEcho(false);
  defaults().setObject(ns::Value(ns::Array{"ar"}), kAppleLanguages);
  EXPECT_EQ(Language::get("Yes", "Yes"), "نعم");
  EXPECT_FALSE(capture.contains("preferredLang"));
}

TEST_F(LanguageTest, CodesThatAreNoFolderNameFallBackToEnglish) {
  for (const char* code : {"../ar", "ar/..", "", ".."}) {
    Language::setLanguage(code);
    EXPECT_EQ(Language::get("Yes", "Yes"), "Yes") << code;
  }
}

TEST_F(LanguageTest, FirstLookupSelectsThePreferredLanguage) {
  defaults().setObject(ns::Value(ns::Array{"ar", "en"}), kAppleLanguages);
  EXPECT_EQ(Language::get("Cancel", "Cancel"), "إلغاء");
  EXPECT_EQ(defaults().stringForKey(kPrefLang), "ar");
}

TEST_F(LanguageTest, EmptyOrMissingLanguageListFallsBackToTheEnvironmentThenEnglish) {
  struct Case {
    const char* name;
    ns::Value stored;  // null: not stored
    const char* lang;  // nullptr: unset
    const char* expected;
  };
  const Case cases[] = {
      {"stored list wins", ns::Value(ns::Array{"ar"}), "en_US.UTF-8", "ar"},
      {"missing, LANG Arabic", ns::Value(), "ar_EG.UTF-8", "ar"},
      {"empty list, LANG Arabic", ns::Value(ns::Array{}), "ar_EG.UTF-8", "ar"},
      {"empty first item", ns::Value(ns::Array{"", "ar"}), "ar_EG.UTF-8", "ar"},
      {"not a list", ns::Value("garbage"), "ar", "ar"},
      {"first item not text", ns::Value(ns::Array{ns::Value(7)}), "de_DE", "de"},
      {"empty list, C locale", ns::Value(ns::Array{}), "C.UTF-8", "en"},
      {"empty list, no LANG", ns::Value(ns::Array{}), nullptr, "en"},
      {"missing, no LANG", ns::Value(), nullptr, "en"},
  };
  for (const auto& c : cases) {
    restart();
    setLocale(c.lang);
    defaults().setObject(c.stored, kAppleLanguages);
    EXPECT_EQ(Language::preferredLanguage(), c.expected) << c.name;
    EXPECT_EQ(ZarvelSDKAppDelegate::IsLanguageArabic(), std::string(c.expected) == "ar") << c.name;
    // The start does not fail, and the lookups answer in that language.
    Language::initialize();
    EXPECT_EQ(Language::get("No", "No"), std::string(c.expected) == "ar" ? "لا" : "No") << c.name;
  }
}

TEST_F(LanguageTest, ArabicCheckIsCachedUntilReset) {
  Language::setLanguage("en");
  EXPECT_FALSE(ZarvelSDKAppDelegate::IsLanguageArabic());
  Language::setLanguage("ar");
  EXPECT_FALSE(ZarvelSDKAppDelegate::IsLanguageArabic());
  ZarvelSDKAppDelegate::ResetArabicCheck();
  EXPECT_TRUE(ZarvelSDKAppDelegate::IsLanguageArabic());
}

}  // namespace

namespace {

TEST_F(LanguageTest, TheEnvironmentFallbackReadsTheLocaleVariablesInTheirOrder) {
  defaults().setObject(ns::Value(ns::Array{}), kAppleLanguages);
  setenv("LC_ALL", "ar_SA.UTF-8", 1);  // overrides LANG, as for every program
  EXPECT_EQ(Language::preferredLanguage(), "ar");
  setenv("LANGUAGE", "fr_FR:ar", 1);  // the list of preferences comes first
  EXPECT_EQ(Language::preferredLanguage(), "fr");
  unsetenv("LANGUAGE");
  unsetenv("LC_ALL");
}

}  // namespace
