#pragma once
// What the delegate's category files share: process-wide state, the tags that
// route the answers of the delegate's alerts and sheets, and the lookup of
// their texts.
#include <string>

#include "Classes/core/Language.h"

namespace app_state {

// The Friday alert was shown (cleared on any day that is not a Friday).
extern bool gFridayAlertShown;

// Tags of the delegate's alerts and sheets.
inline constexpr int kRatePromptTag = -10;
inline constexpr int kFridayAlertTag = 1;
inline constexpr int kSlicedWarningTag = 10908;
inline constexpr int kUserDatabaseMovedTag = 10909;
inline constexpr int kCancelDownloadSheetTag = 191919;
// The per-surah download sheet is tagged 1000 + surah.
inline constexpr int kSurahSheetTagBase = 1000;

// A text of the interface: the English text is key and fallback.
inline std::string text(const char* english) { return Language::get(english, english); }

}  // namespace app_state
