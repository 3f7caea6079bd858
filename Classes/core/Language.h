#pragma once
// The interface language: lookups of the application's texts (the English text
// is the key and the fallback) in the chosen language's string table.
#include <string>

class Language {
 public:
  // Selects the language once per process, from the preferred language, before
  // the first lookup. get() calls it; calling it again does nothing.
  static void initialize();

  // Selects the string table of the language code ("ar", "en") and stores the
  // choice (PrefLang, and AppleLanguages holding only the code). A code without
  // a table makes every lookup answer its fallback.
  static void setLanguage(const std::string& code);

  // The text for the key in the selected table; the fallback when missing.
  static std::string get(const std::string& key, const std::string& alter);

  // Item 0 of AppleLanguages; when that is missing or empty, the first
  // language of the locale environment (LANG "ar_EG.UTF-8" gives "ar"); else "en".
  static std::string preferredLanguage();

  // Forgets the selection so the next lookup initialises again (tests).
  static void resetForTesting();
};
