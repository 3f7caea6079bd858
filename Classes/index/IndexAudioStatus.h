#pragma once
// The recitation status of every surah for the index, read from the user
// database in two statements (one per table of installed recitations) in
// place of a query per surah and reciter, and answered exactly as the data
// store's per-surah checks would answer.
#include <sqlite3.h>

#include <array>
#include <vector>

class IndexAudioStatus {
 public:
  static constexpr int kReciters = 9;

  // Reads both tables under the data store's lock; a table that cannot be
  // read counts as empty.
  static IndexAudioStatus read(sqlite3* db);

  // As ChapterInfo::isSurahAudioInstalled and isSurahAudioContinuous.
  bool isInstalled(int surah, int reciter) const;
  bool isContinuous(int surah, int reciter) const;

  // The code of each surah (index surah − 1) for the current reciter: 0 none
  // installed, 1 the current reciter's only, 2 other reciters' only, 3 both.
  std::vector<int> codesForReciter(int reciter) const;

 private:
  static bool known(int reciter) { return reciter >= 0 && reciter < kReciters; }
  using SurahFlags = std::array<bool, 115>;
  std::array<SurahFlags, kReciters> perVerse_{};       // recitations rows
  std::array<SurahFlags, kReciters> continuous_{};     // contrecitations rows, ishq = 0
  std::array<SurahFlags, kReciters> continuousHQ_{};   // contrecitations rows, ishq = 1
};
