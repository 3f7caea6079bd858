#pragma once
// The texts of quran-json: the Uthmani Arabic, the transliteration and the
// translations, one entry per verse, and the reference tables they must match.
#include <string>
#include <vector>

namespace contentdb {

struct VerseText {
  int surah = 0;
  int verse = 0;
  std::string text;
};

// Reads one of the package's whole-Quran files: an array of surahs, each with
// "id" and "verses" ([{"id", <field>}]). Throws InputError on a malformed file.
std::vector<VerseText> loadVerses(const std::string& path, const std::string& field);

// A translation we ship: its number, the file and the field that hold it.
struct ShippedTranslation {
  int number;
  const char* file;
  const char* language;
  const char* translator;  // as the package attributes it
};
const std::vector<ShippedTranslation>& shippedTranslations();
inline constexpr int kTransliterationNumber = 10;
inline constexpr const char* kTransliterationFile = "quran_transliteration.json";

// The verse count of every surah (index 0 = surah 1); 6236 in all.
const std::vector<int>& verseCounts();

// The first verse of each of the 240 hizb quarters, quarter 226 at 68:1.
struct QuarterStart {
  int surah;
  int verse;
};
const std::vector<QuarterStart>& quarterStarts();

// Throws InputError unless the verses are exactly those of verseCounts(), in order.
void checkVerseCounts(const std::vector<VerseText>& verses, const std::string& what);

}  // namespace contentdb
