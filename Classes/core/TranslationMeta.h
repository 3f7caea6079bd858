#pragma once
// The record of one translation row (or the reader's note shown in place of a
// translation): its text and its row heights, measured once per text width.
#include <functional>
#include <string>
#include <utility>
#include <vector>

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
  // -1 for the header row (surah 0) and for an empty note. Height and
  // LandscapeHeight are the heights at the tablet's fixed text widths; a row
  // whose text has another width asks for that width: a row and its label
  // must be measured at the width the label really has.
  int Height();
  int LandscapeHeight();
  int heightForWidth(float width);
  // Every height measured again on next read (font size or layout changed).
  void ResetHeights();

  // The transliteration with each markup tag counted as one wide letter ("W").
  std::string getSimpleTransliteration() const;
  // The point size for the translation text size setting; the rows, their
  // labels and the single-verse text all use it, so what is drawn is what was
  // measured.
  int getFontSize() const;
  static int fontSizeForTranslator(int translator);
  std::string description() const;

  // Whether the tablet's floating verse view is expanded to full screen (the
  // shell answers; false until it registers).
  static void setFullScreenProvider(std::function<bool()> provider);

 private:
  int measure(float width);

  int ThisSurah_;
  int ThisVerse_;
  int ThisTranslator_;
  bool usingDynamicHeights_;
  // The heights measured so far, by text width (a row has few widths: one
  // per pane and orientation, and the full screen's).
  std::vector<std::pair<float, int>> heights_;
  int Height_ = -1;
  int LandscapeHeight_ = -1;
  std::string Translation_;
};
