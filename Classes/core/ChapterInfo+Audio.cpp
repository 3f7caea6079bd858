// ChapterInfo: the reciter catalogue, installed recitations and their stored MP3s.
#include <algorithm>

#include "Classes/core/ChapterInfo+Internal.h"
#include "Classes/core/ChapterInfo+Tables.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Data+Bzip2.h"
#include "Classes/core/Database.h"
#include "platform/foundation/Log.h"

using chapterinfo_detail::localized;
using store::CachedStatement;
using store::Guard;
using store::Slot;

namespace {
struct ReciterLabels {
  const char* shortName;
  const char* fullName;
};

// Numbers 0 to 8; 7 is the high-quality continuous set of 1 and shares its labels.
const ReciterLabels kReciters[] = {
    {"Reciter A", "Reciter A"}, {"Reciter B", "Reciter B"}, {"Reciter C", "Reciter C"},
    {"Reciter D", "Reciter D"}, {"Reciter E", "Reciter E"}, {"Reciter F", "Reciter F"},
    {"Reciter G", "Reciter G"}, {"Reciter B", "Reciter B"}, {"Reciter H", "Reciter H"},
};

const ReciterLabels& reciterLabels(int reciter) { return kReciters[reciter >= 1 && reciter <= 8 ? reciter : 0]; }

// Expands a stored MP3; bytes that do not inflate read as empty data.
ns::Data inflateStored(const ns::Data& stored, const char* label) {
  if (stored.empty()) return {};
  ns::Data mp3 = ns::gzipInflate(stored);
  if (mp3.empty()) ns::logf("[%s] Error: stored MP3 data does not inflate.", label);
  return mp3;
}

bool storeCompressed(sqlite3* db, Slot slot, const char* sql, const char* label, int reciter, int surah, int index,
                     const ns::Data& mp3) {
  ns::Data compressed = ns::gzipDeflate(mp3);
  if (compressed.empty() && !mp3.empty()) {
    ns::logf("[%s] Error: MP3 data could not be compressed.", label);
    return false;
  }
  Guard guard(store::lock());
  CachedStatement q(db, slot, sql, label);
  return q && q.bind(reciter, surah, index, compressed).run(label);
}

bool runWriter(sqlite3* db, Slot slot, const char* sql, const char* label, int a, int b, int c) {
  Guard guard(store::lock());
  CachedStatement q(db, slot, sql, label);
  return q && q.bind(a, b, c).run(label);
}
}  // namespace

int ChapterInfo::getTotalRecitersCount() { return 9; }

std::string ChapterInfo::getReciterShortNameFromNumber(int reciter) {
  return localized(reciterLabels(reciter).shortName);
}

std::string ChapterInfo::getReciterFullNameFromNumber(int reciter) {
  return localized(reciterLabels(reciter).fullName);
}

bool ChapterInfo::doesReciterSupportContRecitation(int reciter) { return reciter >= 0 && reciter <= 8; }

int ChapterInfo::getRemoteFolderNumberForReciter(int reciter) {
  if (reciter == 1) return 7;
  return reciter >= 2 && reciter <= 8 ? reciter : 0;
}

int ChapterInfo::getRemoteReciterHQCode(int reciter) { return reciter == 1 ? 7 : reciter; }

int ChapterInfo::getTotalPartsForChapter(int surah) {
  return surah >= 1 && surah <= 114 ? quran_tables::kParts[surah - 1] : 0;
}

std::vector<int> ChapterInfo::getInstalledAudios(sqlite3* db, int reciter) {
  std::vector<int> surahs;
  Guard guard(store::lock());
  // Each surah once, also when both twins have it.
  CachedStatement q(db, Slot::InstalledAudios,
                    "SELECT DISTINCT surah FROM recitations WHERE (reciter = ? OR reciter = ?) ORDER BY surah",
                    "getInstalledAudios");
  if (!q) return surahs;
  q.bind(reciter, getRemoteReciterHQCode(reciter));
  while (q.next()) surahs.push_back(q.columnInt(0));
  return surahs;
}

std::vector<int> ChapterInfo::getInstalledAudioReciters(sqlite3* db) {
  std::vector<int> reciters;
  Guard guard(store::lock());
  CachedStatement q(db, Slot::InstalledReciters, "SELECT DISTINCT reciter FROM recitations ORDER BY reciter",
                    "getInstalledAudioReciters");
  while (q.next()) {
    int reciter = q.columnInt(0);
    bool twin = reciter == 1 || reciter == 7;
    if (twin && std::find(reciters.begin(), reciters.end(), 1) != reciters.end()) continue;
    reciters.push_back(reciter);
  }
  return reciters;
}

bool ChapterInfo::isSurahAudioInstalled(sqlite3* db, int surah, int reciter) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::AudioInstalled,
                    "SELECT surah FROM recitations WHERE (reciter = ? OR reciter = ?) AND surah = ? LIMIT 1",
                    "isSurahAudioInstalled");
  return q && q.bind(reciter, getRemoteReciterHQCode(reciter), surah).next();
}

bool ChapterInfo::isSurahAudioHQInstalled(sqlite3* db, int surah, int reciter) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::AudioHQInstalled,
                    "SELECT ishq FROM contrecitations WHERE reciter = ? AND surah = ? AND ishq = 1 LIMIT 1",
                    "isSurahAudioInstalled");
  return q && q.bind(getRemoteReciterHQCode(reciter), surah).next() && q.columnInt(0) == 1;
}

bool ChapterInfo::isSurahAudioContinuous(sqlite3* db, int surah, int reciter) {
  Guard guard(store::lock());
  if (isSurahAudioHQInstalled(db, surah, reciter)) return true;
  CachedStatement q(db, Slot::AudioContinuous,
                    "SELECT surah FROM contrecitations WHERE reciter = ? AND surah = ? AND ishq = 0 LIMIT 1",
                    "isSurahAudioCont");
  return q && q.bind(reciter, surah).next();
}

int ChapterInfo::getResolvedReciterCode(sqlite3* db, int reciter, int surah) {
  if (reciter != 1) return reciter;
  Guard guard(store::lock());
  if (isSurahAudioContinuous(db, surah, 1) && !isSurahAudioHQInstalled(db, surah, 1)) return 1;
  return getRemoteReciterHQCode(1);
}

bool ChapterInfo::markAudioAsInstalled(sqlite3* db, int surah, int reciter) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::MarkAudio, "INSERT INTO recitations (reciter, surah) VALUES (?, ?)",
                    "markAudioAsInstalled");
  // A surah marked already is installed: not a failure.
  return q && q.bind(reciter, surah).runKeepingExisting("markAudioAsInstalled");
}

bool ChapterInfo::markContAudioAsInstalled(sqlite3* db, int surah, int reciter, bool isHQ) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::MarkContAudio, "INSERT INTO contrecitations (reciter, surah, ishq) VALUES (?, ?, ?)",
                    "markContAudioAsInstalled");
  return q && q.bind(reciter, surah, isHQ).runKeepingExisting("markContAudioAsInstalled");
}

bool ChapterInfo::insertMP3Blob(sqlite3* db, int surah, int verse, int reciter, const ns::Data& mp3) {
  return storeCompressed(db, Slot::InsertMP3, "REPLACE INTO recitationmp3s (reciter, surah, verse, mp3) VALUES (?, ?, ?, ?)",
                         "insertMP3Blob", reciter, surah, verse, mp3);
}

bool ChapterInfo::insertContMP3Blob(sqlite3* db, int surah, int part, int reciter, const ns::Data& mp3) {
  return storeCompressed(db, Slot::InsertContMP3,
                         "REPLACE INTO contrecitationmp3s (reciter, surah, part, mp3) VALUES (?, ?, ?, ?)",
                         "insertContMP3", reciter, surah, part, mp3);
}

bool ChapterInfo::deleteAudio(sqlite3* db, int surah, int reciter, bool andData) {
  Guard guard(store::lock());
  if (!runWriter(db, Slot::DeleteAudio, "DELETE FROM recitations WHERE surah = ? AND (reciter = ? OR reciter = ?)",
                 "deleteAudio", surah, reciter, getRemoteReciterHQCode(reciter)))
    return false;
  return !andData || deleteAudioMP3(db, surah, reciter);
}

bool ChapterInfo::deleteAudioMP3(sqlite3* db, int surah, int reciter) {
  return runWriter(db, Slot::DeleteAudioMP3,
                   "DELETE FROM recitationmp3s WHERE surah = ? AND (reciter = ? OR reciter = ?)", "deleteAudioMP3",
                   surah, reciter, getRemoteReciterHQCode(reciter));
}

bool ChapterInfo::deleteContAudio(sqlite3* db, int surah, int reciter) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::DeleteContAudio, "DELETE FROM contrecitations WHERE surah = ? AND reciter = ?",
                    "deleteContAudio");
  if (!q || !q.bind(surah, reciter).run("deleteContAudio")) return false;
  return deleteContAudioMP3(db, surah, reciter);
}

bool ChapterInfo::deleteContAudioMP3(sqlite3* db, int surah, int reciter) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::DeleteContAudioMP3, "DELETE FROM contrecitationmp3s WHERE surah = ? AND reciter = ?",
                    "deleteContAudioMP3");
  return q && q.bind(surah, reciter).run("deleteContAudioMP3");
}

ns::Data ChapterInfo::getMP3Recitation(sqlite3* db, int surah, int verse, int reciter) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::MP3Recitation, "SELECT mp3 FROM recitationmp3s WHERE surah = ? AND verse = ? AND reciter = ?",
                    "getMP3Recitation");
  if (!q || !q.bind(surah, verse, reciter).next()) return {};
  return inflateStored(q.columnBlob(0), "getMP3Recitation");
}

ns::Data ChapterInfo::getContMP3Recitation(sqlite3* db, int surah, int part, int reciter) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::ContMP3Recitation,
                    "SELECT mp3 FROM contrecitationmp3s WHERE surah = ? AND part = ? AND reciter = ?",
                    "getContMP3Recitation");
  if (!q) return {};
  if (!q.bind(surah, part, reciter).next()) {
    ns::logf("MP3 NOT FOUND FOR: %i:%i", surah, part);
    return {};
  }
  return inflateStored(q.columnBlob(0), "getContMP3Recitation");
}

int ChapterInfo::getContMP3Part(sqlite3* db, int surah, int verse, int reciter) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::ContMP3Part, "SELECT part FROM audioparts WHERE reciter = ? AND surah = ? AND verse = ?",
                    nullptr);
  if (!q || !q.bind(reciter, surah, verse).next()) return 0;
  return q.columnInt(0);
}

float ChapterInfo::getContMP3BeginsTime(sqlite3* db, int surah, int verse, int reciter) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::ContMP3Begins,
                    "SELECT beginsat FROM audiotimings WHERE reciter = ? AND surah = ? AND verse = ?", nullptr);
  if (!q || !q.bind(reciter, surah, verse).next()) return 0;
  return static_cast<float>(q.columnDouble(0));
}

int ChapterInfo::getMP3RecitationSize(sqlite3* db, int surah, int reciter) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::MP3Size, "SELECT size FROM recitationmp3sizes WHERE reciter = ? AND surah = ?", nullptr);
  if (!q || !q.bind(reciter, surah).next()) return 0;
  return q.columnInt(0);
}
