// ChapterInfo: the statement conventions, transactions, and the scripture texts
// and translation catalogue.
#include "Classes/core/ChapterInfo.h"

#include <vector>

#include "Classes/core/ChapterInfo+Internal.h"
#include "Classes/core/Database.h"
#include "Classes/core/Language.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"

using store::CachedStatement;
using store::Guard;
using store::Slot;
using store::Statement;

namespace chapterinfo_detail {
std::string localized(const std::string& key) { return Language::get(key, key); }
}  // namespace chapterinfo_detail

using chapterinfo_detail::localized;

// --- Conventions -------------------------------------------------------------------

namespace {
bool runFixed(sqlite3* db, Slot slot, const char* sql, const char* label) {
  CachedStatement q(db, slot, sql, label);
  if (!q) return false;
  return q.run(label);
}

bool rollback(sqlite3* db) { return runFixed(db, Slot::RollbackTrans, "ROLLBACK TRANSACTION", "rollbackTrans"); }

// Ends this thread's innermost beginTrans and releases its lock. Only a
// transaction that BEGIN started is committed or rolled back: after a failed
// BEGIN (say, inside a transaction already open) nothing else is ended.
bool endTransaction(sqlite3* db, bool commit) {
  std::vector<bool>& tTransactions = store::threadTransactions();
  if (tTransactions.empty()) return false;
  bool began = tTransactions.back();
  bool ok = false;
  {
    Guard guard(store::lock());
    if (began && commit) {
      ok = runFixed(db, Slot::CommitTrans, "COMMIT TRANSACTION", "commitTrans");
      if (!ok && db && !sqlite3_get_autocommit(db)) rollback(db);
    } else if (began) {
      ok = !db || sqlite3_get_autocommit(db) || rollback(db);
    } else {
      ok = !commit;  // rolling back a BEGIN that failed leaves nothing to undo
    }
  }
  tTransactions.pop_back();
  store::lock().unlock();
  return ok;
}
}  // namespace

void ChapterInfo::finalizeStatements() { store::finalizeAll(); }

void ChapterInfo::finalizeDynamicQueries() {}

bool ChapterInfo::beginTrans(sqlite3* db) {
  // Kept until commitTrans/rollbackTrans, even when BEGIN fails, so the pair stays balanced.
  store::lock().lock();
  bool began = runFixed(db, Slot::BeginTrans, "BEGIN EXCLUSIVE TRANSACTION", "beginTrans");
  store::threadTransactions().push_back(began);
  return began;
}

bool ChapterInfo::commitTrans(sqlite3* db) { return endTransaction(db, true); }

bool ChapterInfo::rollbackTrans(sqlite3* db) { return endTransaction(db, false); }

bool ChapterInfo::vacuumDB(sqlite3* db) {
  Guard guard(store::lock());
  return runFixed(db, Slot::Vacuum, "VACUUM", "vacuumDB");
}

// --- Scripture texts -----------------------------------------------------------------

namespace chapterinfo_detail {
// 0 and 10 keep surah and verse as text.
std::string translationForSql(int trans) {
  if (trans == 0)
    return "SELECT translation FROM trans0fts WHERE CAST(surah AS INTEGER) = ? AND CAST(verse AS INTEGER) = ?";
  if (trans == 10)
    return "SELECT translation FROM transliterationdata WHERE CAST(surah AS INTEGER) = ? AND CAST(verse AS INTEGER) = ?";
  return ns::format("SELECT translation FROM trans%i WHERE surah = ? AND verse = ?", trans);
}
}  // namespace chapterinfo_detail

std::string ChapterInfo::getTranslationFor(sqlite3* db, int trans, int surah, int verse) {
  if (trans < 0 || trans > 38) return "";
  Guard guard(store::lock());
  // One cached statement per translation number: the reading rows ask for every verse.
  std::string sql = chapterinfo_detail::translationForSql(trans);
  CachedStatement q(db, Slot::TranslationFor, trans, sql.c_str(), nullptr);
  if (!q || !q.bind(surah, verse).next()) return "";
  return q.columnTextOr(0, "");
}

std::string ChapterInfo::getArabicVerseFor(sqlite3* db, int surah, int verse) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::ArabicVerse, "SELECT translation FROM simplearabic WHERE surah = ? AND verse = ?",
                    nullptr);
  if (!q || !q.bind(surah, verse).next()) return "";
  return q.columnTextOr(0, "");
}

std::vector<std::string> ChapterInfo::getTranslationDataFor(sqlite3* db, int trans, int surah) {
  std::vector<std::string> texts;
  Guard guard(store::lock());
  // The transliteration lives in its own table, with surah and verse stored as text.
  std::string sql = trans == 10 ? std::string("SELECT translation FROM transliterationdata WHERE CAST(surah AS INTEGER) = ? "
                                              "ORDER BY CAST(verse AS INTEGER)")
                                : ns::format("SELECT translation FROM trans%i WHERE surah = ? ORDER BY verse", trans);
  Statement q(db, sql, nullptr);
  if (!q) return texts;
  q.bind(surah);
  while (q.next()) {
    auto text = q.columnText(0);
    if (!text) ns::logf("VERSE IS NIL AT INDEX: %i", static_cast<int>(texts.size()));
    texts.push_back(text ? *text : "");
  }
  return texts;
}

ns::Data ChapterInfo::getVerseData(sqlite3* db, int surah, int verse) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::VerseData, "SELECT data FROM surahdata WHERE surah = ? AND verse = ?", "getVerseData");
  if (!q) return {};
  if (!q.bind(surah, verse).next()) {
    ns::logf("DATA FOR VERSE NOT FOUND: %i", verse);
    return {};
  }
  return q.columnBlob(0);
}

std::vector<std::optional<ns::Data>> ChapterInfo::getAllVerseData(sqlite3* db, int surah) {
  std::vector<std::optional<ns::Data>> all;
  Guard guard(store::lock());
  CachedStatement q(db, Slot::AllVerseData, "SELECT data FROM surahdata WHERE surah = ? ORDER BY verse ASC", nullptr);
  if (!q) return all;
  all.push_back(std::nullopt);
  q.bind(surah);
  while (q.next()) {
    if (sqlite3_column_type(q.handle(), 0) != SQLITE_NULL) all.push_back(q.columnBlob(0));
  }
  return all;
}

int ChapterInfo::hezbFromSurah(sqlite3* db, int surah, int verse) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::Hezb, "SELECT hezb FROM hezbmeta WHERE surah = ? AND verse = ?", "hezbFromSurah");
  if (!q || !q.bind(surah, verse).next()) return 0;
  return q.columnInt(0);
}

// --- Translation catalogue ---------------------------------------------------------

namespace {
struct TranslationEntry {
  int id;
  bool rtl;
  const char* abbr;
  const char* shortLabel;
  const char* fullLabel;
  int webCode;
};

// Numbers 1 to 38; the row of 0 stands for every unknown number. The translations
// that ship name their translators as the source attributes them.
const TranslationEntry kTranslations[] = {
    {1, false, "SI", "Saheeh Intl.", "English: Saheeh International", 5},
    {2, false, "EB", "English B", "English: Translator B", 2},
    {3, false, "EC", "English C", "English: Translator C", 3},
    {4, false, "ED", "English D", "English: Translator D", 4},
    {5, false, "IN", "Indonesian", "Indonesian", 10},
    {6, false, "MS", "Melayu", "Melayu", 11},
    {7, false, "DE", "German", "German: Translator A", 12},
    {8, false, "FR", "French", "French: Muhammad Hamidullah", 8},
    {9, false, "ES", "Spanish", "Spanish: Muhammad Isa García", 9},
    {10, false, "Tr", "Trans.", "Transliteration", 6},
    {11, false, "TR", "Turkish", "Turkish: Diyanet", 18},
    {12, false, "EE", "English E", "English: Translator E", 5},
    {13, false, "RU", "Russian", "Russian: Elmir Kuliev", 5},
    {14, false, "BS", "Bosnian", "Bosnian: Translator A", 5},
    {15, true, "UR", "Urdu", "Urdu: Abul A'la Maududi", 5},
    {16, true, "FA", "Farsi", "Farsi: Translator A", 5},
    {17, false, "DU", "Dutch", "Dutch", 5},
    {18, false, "IT", "Italian", "Italian: Translator A", 5},
    {19, false, "AL", "Albanian", "Albanian: Translator A", 5},
    {20, false, "RO", "Romanian", "Romanian: Translator A", 5},
    {21, false, "JA", "Japanese", "Japanese", 5},
    {22, false, "BA", "Bangla", "Bangla: Muhiuddin Khan", 5},
    {23, false, "AZ", "Azerbaijani", "Azerbaijani: Translator A", 5},
    {24, false, "ZH", "Chinese", "Chinese: Muhammad Makin", 5},
    {25, false, "BR", "Bulgarian", "Bulgarian: Translator A", 5},
    {26, false, "HI", "Hindi", "Hindi: Translator A", 5},
    {27, true, "TA", "Tafsir A", "Arabic: Commentary A", 5},
    {28, false, "KO", "Korean", "Korean", 5},
    {29, false, "CZ", "Czech", "Czech: Translator A", 5},
    {30, false, "SV", "Swedish", "Swedish: Knut Bernström", 5},
    {31, false, "TH", "Thai", "Thai", 5},
    {32, false, "PO", "Polish", "Polish: Translator A", 5},
    {33, false, "PT", "Portuguese", "Portuguese: Translator A", 5},
    {34, false, "NO", "Norwegian", "Norwegian: Translator A", 5},
    {35, false, "UZ", "Uzbek", "Uzbek: Translator A", 5},
    {36, true, "FA", "Farsi", "Farsi: Translator B", 5},
    {37, false, "ES", "Spanish", "Spanish: Translator B", 5},
    {38, true, "TB", "Tafsir B", "Arabic: Commentary B", 5},
};

const TranslationEntry* translationEntry(int trans) {
  if (trans < 1 || trans > 38) return nullptr;
  return &kTranslations[trans - 1];
}
}  // namespace

std::vector<int> ChapterInfo::getAvailableTranslations(bool withNotes) {
  std::vector<int> list{0};
  if (withNotes) list.push_back(1000);
  const int offered[] = {27, 38, 10, 3, 1, 2, 4, 5, 6, 7, 8, 9, 37, 11, 13, 14, 15, 16, 36,
                         17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 28, 29, 30, 31, 32, 33, 34, 35};
  list.insert(list.end(), std::begin(offered), std::end(offered));
  return list;
}

// A translation has text when its first verse has some: a build may carry
// the tables of translations it has no text for.
std::vector<int> ChapterInfo::getTranslationsWithText(sqlite3* db, bool withNotes) {
  std::vector<int> list;
  for (int trans : getAvailableTranslations(withNotes))
    if (trans == 0 || trans == 1000 || (db && !getTranslationFor(db, trans, 1, 1).empty())) list.push_back(trans);
  return list;
}

bool ChapterInfo::isTranslationRTL(int trans) {
  if (trans == 0) return true;
  const TranslationEntry* entry = translationEntry(trans);
  return entry && entry->rtl;
}

bool ChapterInfo::isTextRTL(const std::string& text) {
  for (char32_t cp : ns::utf8ToUtf32(text)) {
    if (cp <= 0x20) continue;
    return (cp >= 0x0590 && cp <= 0x05F0) || (cp >= 0x0600 && cp <= 0x06FF) || (cp >= 0x0750 && cp <= 0x077F);
  }
  return false;
}

std::string ChapterInfo::getTranslationAbbrNameForNumber(int trans) {
  if (const TranslationEntry* entry = translationEntry(trans)) return entry->abbr;
  return localized(trans == 1000 ? "NotesPicker" : "None");
}

std::string ChapterInfo::getTranslationNameForNumber(int trans) {
  if (const TranslationEntry* entry = translationEntry(trans)) return localized(entry->shortLabel);
  return localized(trans == 1000 ? "NotesPicker" : "No Translation");
}

std::string ChapterInfo::getTranslationFullNameForNumber(int trans) {
  if (const TranslationEntry* entry = translationEntry(trans)) return localized(entry->fullLabel);
  return localized(trans == 1000 ? "NotesPicker" : "No Translation");
}

int ChapterInfo::getWebsiteTransCodeFrom(int trans) {
  if (trans == 0 || trans == 1000) return 0;
  if (const TranslationEntry* entry = translationEntry(trans)) return entry->webCode;
  return 5;
}
