#include "Classes/index/IndexAudioStatus.h"

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Database.h"

IndexAudioStatus IndexAudioStatus::read(sqlite3* db) {
  IndexAudioStatus status;
  if (!db) return status;
  store::Guard guard(store::lock());
  auto valid = [](int reciter, int surah) { return known(reciter) && surah >= 1 && surah <= 114; };
  store::Statement verses(db, "SELECT reciter, surah FROM recitations", "refreshInstalledAudioCache");
  while (verses && verses.next()) {
    int reciter = verses.columnInt(0), surah = verses.columnInt(1);
    if (valid(reciter, surah)) status.perVerse_[reciter][surah] = true;
  }
  store::Statement parts(db, "SELECT reciter, surah, ishq FROM contrecitations", "refreshInstalledAudioCache");
  while (parts && parts.next()) {
    int reciter = parts.columnInt(0), surah = parts.columnInt(1), hq = parts.columnInt(2);
    if (!valid(reciter, surah)) continue;
    if (hq == 1) status.continuousHQ_[reciter][surah] = true;
    else if (hq == 0) status.continuous_[reciter][surah] = true;
  }
  return status;
}

bool IndexAudioStatus::isInstalled(int surah, int reciter) const {
  if (surah < 1 || surah > 114) return false;
  int hq = ChapterInfo::getRemoteReciterHQCode(reciter);
  return (known(reciter) && perVerse_[reciter][surah]) || (known(hq) && perVerse_[hq][surah]);
}

bool IndexAudioStatus::isContinuous(int surah, int reciter) const {
  if (surah < 1 || surah > 114) return false;
  int hq = ChapterInfo::getRemoteReciterHQCode(reciter);
  return (known(hq) && continuousHQ_[hq][surah]) || (known(reciter) && continuous_[reciter][surah]);
}

std::vector<int> IndexAudioStatus::codesForReciter(int reciter) const {
  int hq = ChapterInfo::getRemoteReciterHQCode(reciter);
  int count = ChapterInfo::getTotalRecitersCount();
  auto has = [this](int surah, int r) {
    return (ChapterInfo::doesReciterSupportContRecitation(r) && isContinuous(surah, r)) || isInstalled(surah, r);
  };
  std::vector<int> codes(114, 0);
  for (int surah = 1; surah <= 114; ++surah) {
    bool others = false;
    for (int r = 0; r < count && !others; ++r)
      if (r != reciter && r != hq) others = has(surah, r);
    bool current = has(surah, reciter);
    codes[surah - 1] = current ? (others ? 3 : 1) : (others ? 2 : 0);
  }
  return codes;
}
