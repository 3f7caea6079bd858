#pragma once
// The record of one translation row (or the reader's note shown in place of a
// translation): its text and its row heights, measured once per orientation.
#include <functional>
#include <string>

class TranslationMeta {
 public:
  // initWithTranslation:translator:surah:andVerse:usingDynamicHeights:
  TranslationMeta(std::string translation, int translator, int surah, int verse, bool usingDynamicHeights);

  int ThisSurah() const { return ThisSurah_; }
  int ThisVerse() const { return ThisVerse_; }
  int ThisTranslator() const { return ThisTranslator_; }
  const std::string& Translation() const { return Translation_; }
  void setTranslation(std::string text) { Translation_ = std::move(text); }

  // Row heights in points (text plus 15 of padding), measured on first read;
  // -1 for the header row (surah 0) and for an empty note.
  int Height();
  int LandscapeHeight();
  // Both heights measured again on next read (font size or layout changed).
  void ResetHeights();

  // The transliteration with each markup tag counted as one wide letter ("W").
  std::string getSimpleTransliteration() const;
  // The point size for the translation text size setting.
  int getFontSize() const;
  std::string description() const;

  // Whether the tablet's floating verse view is expanded to full screen (the
  // shell answers; false until it registers).
  static void setFullScreenProvider(std::function<bool()> provider);

 private:
  int measure(int& cached, float width, float fullScreenWidth);

  int ThisSurah_;
  int ThisVerse_;
  int ThisTranslator_;
  bool usingDynamicHeights_;
  int Height_ = -1;
  int LandscapeHeight_ = -1;
  std::string Translation_;
};
