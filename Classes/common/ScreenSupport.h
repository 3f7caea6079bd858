#pragma once
// What the note, bookmark and reading screens reach for alike: the
// application's two database connections, a bundle image made stretchable,
// and a text of the interface (the English text is key and fallback).
#include <sqlite3.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"

namespace screens {

// The user database (bookmarks, notes); null without an application.
inline sqlite3* userDatabase() {
  auto app = ZarvelSDKAppDelegate::GetInstance();
  return app ? app->dbConnection() : nullptr;
}

// The content database (verses, translations); null without an application.
inline sqlite3* contentDatabase() {
  auto app = ZarvelSDKAppDelegate::GetInstance();
  return app ? app->dbConnectionStatic() : nullptr;
}

inline std::shared_ptr<ui::Image> stretchedImage(const std::string& name, int leftCap, int topCap) {
  auto image = ui::Image::imageNamed(name);
  return image ? image->stretchableImage(leftCap, topCap) : nullptr;
}

inline std::string localized(const std::string& key) { return Language::get(key, key); }

// The text with its "%@" placeholders filled with the values, in order.
inline std::string withValues(std::string text, std::initializer_list<std::string> values) {
  size_t from = 0;
  for (const std::string& value : values) {
    size_t at = text.find("%@", from);
    if (at == std::string::npos) break;
    text.replace(at, 2, value);
    from = at + value.size();
  }
  return text;
}

// A number as the interface writes it: Arabic-Indic digits in the Arabic
// interface.
inline std::string numberText(int n) {
  std::string digits = std::to_string(n);
  return ZarvelSDKAppDelegate::IsLanguageArabic() ? ChapterInfo::getArabicNumbersFrom(digits) : digits;
}

// A button whose title is centred across its whole width: a short title is
// never cut to an ellipsis by a fraction of a point of measuring.
inline void centreTitleAcrossButton(ui::Button& button) {
  button.setContentHorizontalAlignment(ui::ControlContentHorizontalAlignment::Fill);
  button.titleLabel()->setTextAlignment(ui::TextAlignment::Center);
}

}  // namespace screens
