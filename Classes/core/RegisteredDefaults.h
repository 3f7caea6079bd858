#pragma once
// The settings keys shared between parts of the application, and the default
// values registered for them at start (all as strings, read through the
// store's converting accessors).
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/UserDefaults.h"

// ---- registered keys ------------------------------------------------------------
inline constexpr char kCurrentReciter[] = "CurrentReciterv22";
inline constexpr char kCurrentTafsir[] = "CurrentTafsir";
inline constexpr char kLastSurah[] = "LastSurah";
inline constexpr char kIsShowingTranslation[] = "IsShowingTranslation";
inline constexpr char kAlKahfReminders[] = "AlKahfReminders";
inline constexpr char kPlayOptionsEnabled[] = "PlayOptionsEnabled";
inline constexpr char kLastVerse[] = "LastVerse";
inline constexpr char kCurrentTranslation[] = "CurrentTranslationv22";
inline constexpr char kHUDTranslation[] = "HUDTranslation";
inline constexpr char kColoredStopSigns[] = "ColoredStopSigns";
inline constexpr char kColoredTranslation[] = "ColoredTranslation";
inline constexpr char kCurrentTranslationPrimary[] = "CurrentTranslationPrimary";
inline constexpr char kCurrentTranslationSecondary[] = "CurrentTranslationSecondary";
inline constexpr char kLastAudioSurah[] = "LastAudioSurah";
inline constexpr char kLastAudioVerse[] = "LastAudioVerse";
inline constexpr char kIndexInArabic[] = "IndexInArabic";
inline constexpr char kPrefLang[] = "PrefLang";
inline constexpr char kShowTajweedBar[] = "ShowTajweedBar";
inline constexpr char kTajweedQalqala[] = "TajweedQalqala";
inline constexpr char kTajweedIqlab[] = "TajweedIqlab";
inline constexpr char kTajweedIdgham[] = "TajweedIdgham";
inline constexpr char kTajweedIkhfa[] = "TajweedIkhfa";
inline constexpr char kTajweedGhunna[] = "TajweedGhunna";
inline constexpr char kArabicFontSize[] = "ArabicFontSize";
inline constexpr char kResizeTranslations[] = "ResizeTranslations";
inline constexpr char kTranslationFontSize[] = "TranslationFontSize";

// ---- shared keys without a registered value (the store's zero value applies) ----
inline constexpr char kAskForBookmarkGroup[] = "AskForBookmarkGroup";
inline constexpr char kAyahRepeatCounter[] = "AyahRepeatCounter";
inline constexpr char kSurahRepeatCounter[] = "SurahRepeatCounter";
inline constexpr char kPlayVerseRange[] = "PlayVerseRange";
inline constexpr char kCurrentlyShowingSurah[] = "CurrentlyShowingSurah";
inline constexpr char kCurrentlyShowingVerse[] = "CurrentlyShowingVerse";
inline constexpr char kHideTransInFullScreen[] = "HideTransInFullScreen";
inline constexpr char kIsShowingSections[] = "IsShowingSections";
inline constexpr char kUpdatedSchema[] = "UpdatedSchemav3.054";
inline constexpr char kCheckedSlicedAudio[] = "CheckedSlicedAudio";
inline constexpr char kDisableDeviceSleep[] = "DisableDeviceSleep";
inline constexpr char kAppInstallDate[] = "AppInstallDate";
inline constexpr char kDontNagMe[] = "DontNagMe";
inline constexpr char kLastAlKahfSet[] = "LastAlKahfSet";
inline constexpr char kLastFridayRead[] = "LastFridayRead";
inline constexpr char kSocialAuth[] = "SocialAuth1.9";
inline constexpr char kAppleLanguages[] = "AppleLanguages";

// Font sizes are indexes 0 to 4; both sizes are registered as 1.
inline constexpr int kMinFontSize = 0;
inline constexpr int kMaxFontSize = 4;
inline constexpr int kRegisteredFontSize = 1;

class RegisteredDefaults {
 public:
  using Row = std::pair<std::string, std::string>;

  // The registration table in registration order (27 rows, one key twice);
  // the interface-language rows follow `arabic`.
  static std::vector<Row> table(bool arabic);
  // The table as the dictionary that is registered (a repeated key keeps its
  // last value).
  static ns::Dictionary dictionary(bool arabic);
  // Registers the dictionary and the checks that make a stored value of the
  // wrong type, or a font size out of range, read as the registered value.
  static void registerWith(ns::UserDefaults& defaults, bool arabic);

  // Whether a stored value is a usable font size index.
  static bool isFontSizeValue(const ns::Value& value);
};
