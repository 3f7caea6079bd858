// ChapterInfo: the fixed Quran reference tables (no database, no lock).
#include <algorithm>
#include <iterator>

#include "Classes/core/ChapterInfo+Internal.h"
#include "Classes/core/ChapterInfo+Tables.h"
#include "Classes/core/ChapterInfo.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"

using chapterinfo_detail::localized;
using namespace quran_tables;

namespace {
bool validSurah(int surah) { return surah >= 1 && surah <= 114; }

template <size_t N>
bool containsPair(const std::pair<int, int> (&table)[N], int surah, int verse) {
  return std::find(std::begin(table), std::end(table), std::make_pair(surah, verse)) != std::end(table);
}

const AltName* altName(int surah) {
  for (const AltName& entry : kAltNames)
    if (entry.surah == surah) return &entry;
  return nullptr;
}

std::string surahVerseText(const std::pair<int, int>& start) {
  return ns::format("%03i:%i", start.first, start.second);
}
}  // namespace

std::string ChapterInfo::getNameFromNumber(int surah) {
  return localized(kNames[validSurah(surah) ? surah - 1 : 0]);
}

std::string ChapterInfo::getMeaningFromNumber(int surah) { return validSurah(surah) ? kMeanings[surah - 1] : ""; }

std::string ChapterInfo::getAltNameFromNumber(int surah) {
  const AltName* entry = altName(surah);
  return entry ? localized(entry->name) : "";
}

std::string ChapterInfo::getAltMeaningFromNumber(int surah) {
  const AltName* entry = altName(surah);
  return entry ? localized(entry->meaning) : "";
}

std::string ChapterInfo::getCityFromNumber(int surah) {
  bool madina = std::find(std::begin(kMadina), std::end(kMadina), surah) != std::end(kMadina);
  return localized(madina ? "Madina" : "Makkah");
}

std::string ChapterInfo::getExtraChronoFromNumber(int surah) {
  if (!validSurah(surah) || !kExtraChrono[surah - 1]) return "";
  return localized(kExtraChrono[surah - 1]);
}

int ChapterInfo::getVersesFromNumber(int surah) { return validSurah(surah) ? kVerseCounts[surah - 1] : 0; }

int ChapterInfo::getChronoOrderForChapter(int surah) { return validSurah(surah) ? kChronoOrder[surah - 1] : 0; }

int ChapterInfo::getSurahNameOffsetForAlignment(int surah) {
  return validSurah(surah) ? kNameOffsets[surah - 1] : 0;
}

bool ChapterInfo::isSajda(int surah, int verse) { return containsPair(kSajdas, surah, verse); }

bool ChapterInfo::isJuz(int surah, int verse) { return containsPair(kJuzStarts, surah, verse); }

int ChapterInfo::juzFrom(int surah, int verse) {
  for (int juz = 2; juz <= 30; ++juz)
    if (kJuzStarts[juz - 1] == std::make_pair(surah, verse)) return juz;
  return 1;
}

int ChapterInfo::nearestjuzFrom(int surah, int verse) {
  // The last juz starting at or before the verse; a header row (verse 0) comes before verse 1.
  int juz = 1;
  for (int n = 1; n <= 30; ++n)
    if (kJuzStarts[n - 1] <= std::make_pair(surah, verse)) juz = n;
  return juz;
}

bool ChapterInfo::isHizb(int surah, int verse) { return containsPair(kQuarterStarts, surah, verse); }

int ChapterInfo::getHizbForJuz(int juz) { return juz >= 1 && juz <= 30 ? 8 * juz - 7 : 1; }

void ChapterInfo::setSurahVerseForJuz(int& surah, int& verse, int juz) {
  std::pair<int, int> start = juz >= 1 && juz <= 30 ? kJuzStarts[juz - 1] : std::make_pair(1, 1);
  surah = start.first;
  verse = start.second;
}

void ChapterInfo::setSurahVerseForHizb(int& surah, int& verse, int quarter) {
  std::pair<int, int> start = quarter >= 1 && quarter <= 240 ? kQuarterStarts[quarter - 1] : std::make_pair(1, 1);
  surah = start.first;
  verse = start.second;
}

std::string ChapterInfo::getSurahVerseForJuz(int juz) {
  return surahVerseText(juz >= 1 && juz <= 30 ? kJuzStarts[juz - 1] : std::make_pair(1, 1));
}

std::string ChapterInfo::getSurahVerseForHizb(int quarter) {
  return surahVerseText(quarter >= 1 && quarter <= 240 ? kQuarterStarts[quarter - 1] : std::make_pair(1, 1));
}

std::string ChapterInfo::getArabicNumbersFrom(const std::string& digits) {
  std::string out;
  for (char c : digits)
    if (c >= '0' && c <= '9') ns::appendUtf8(out, U'\u0660' + (c - '0'));
  return out;
}

std::string ChapterInfo::getTwoDigitNumberFromInt(int n) { return ns::format(n > 9 ? "%i" : "0%i", n); }

std::string ChapterInfo::getThreeDigitNumberFromInt(int n) {
  return ns::format(n >= 100 ? "%i" : n >= 10 ? "0%i" : "00%i", n);
}
