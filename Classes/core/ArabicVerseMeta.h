#pragma once
// The Arabic record of one verse row: its glyph codes, loaded on first read.
#include <optional>

#include "platform/foundation/Data.h"

class ArabicVerseMeta {
 public:
  // initForSurah:andVerse:
  ArabicVerseMeta(int surah, int verse) : ThisSurah_(surah), ThisVerse_(verse) {}

  int ThisSurah() const { return ThisSurah_; }
  int ThisVerse() const { return ThisVerse_; }
  // The verse's glyph codes from the content database, read once and kept;
  // empty data for a missing verse.
  const ns::Data& VerseData();

 private:
  int ThisSurah_;
  int ThisVerse_;
  std::optional<ns::Data> VerseData_;
};
