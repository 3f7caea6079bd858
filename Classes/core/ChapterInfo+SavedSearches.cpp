// ChapterInfo: the search history and the verses its searches mark.
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Database.h"

using store::CachedStatement;
using store::Guard;
using store::Slot;
using store::Statement;

namespace {
// Reads "savesearch_id, searchword, hitcount, translation, isuse, datesearched".
SavedSearchPtr savedSearchFromRow(const store::Query& q, const char* missingText) {
  auto search = std::make_shared<SavedSearch>();
  search->setISavedID(q.columnInt(0));
  search->setStrSearchText(q.columnTextOr(1, missingText));
  search->setIHitCount(q.columnInt(2));
  search->setITranslation(q.columnInt(3));
  search->setIsReflectedInSurah(q.columnInt(4) != 0);
  search->setDateSearched(ns::Date(q.columnDouble(5)));
  return search;
}
}  // namespace

std::vector<SavedSearchPtr> ChapterInfo::getSavedSearch(sqlite3* db) {
  std::vector<SavedSearchPtr> list;
  Guard guard(store::lock());
  CachedStatement q(db, Slot::GetSavedSearch,
                    "SELECT savesearch_id, searchword, hitcount, translation, isuse, datesearched FROM savedsearches "
                    "ORDER BY datesearched DESC",
                    nullptr);
  while (q.next()) list.push_back(savedSearchFromRow(q, "Good"));
  return list;
}

int ChapterInfo::addSavedSearch(sqlite3* db, SavedSearch& search) {
  Guard guard(store::lock());
  search.setDateSearched(ns::Date::now());
  CachedStatement q(db, Slot::AddSavedSearch,
                    "REPLACE INTO savedsearches (searchword, hitcount, translation, isuse, datesearched) VALUES (?, ?, "
                    "?, ?, ?)",
                    nullptr);
  if (!q) return -1;
  q.bind(search.strSearchText(), search.iHitCount(), search.iTranslation(), search.isReflectedInSurah(),
         search.DateSearched()->timeIntervalSince1970());
  if (!q.run("addSavedSearch")) return -1;
  return static_cast<int>(sqlite3_last_insert_rowid(db));
}

bool ChapterInfo::updateSavedSearch(sqlite3* db, SavedSearch& search) {
  Guard guard(store::lock());
  search.setDateSearched(ns::Date::now());
  Statement q(db, "UPDATE savedsearches SET isuse = ?, datesearched = ? WHERE savesearch_id = ?", nullptr);
  return q &&
         q.bind(search.isReflectedInSurah(), search.DateSearched()->timeIntervalSince1970(), search.iSavedID())
             .run("updateSavedSearch");
}

bool ChapterInfo::deleteSavedSearch(sqlite3* db, const SavedSearch& search) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::DeleteSavedSearch, "DELETE FROM savedsearches WHERE savesearch_id = ?", nullptr);
  return q && q.bind(search.iSavedID()).run("deleteSavedSearch");
}

bool ChapterInfo::reflectSearchedVerses(sqlite3* db, int surah, int verse, int savedID) {
  Guard guard(store::lock());
  Statement q(db, "INSERT INTO searchmatches (surah, verse, savesearch_id) VALUES (?, ?, ?)", "reflectSearchedVerses");
  return q && q.bind(surah, verse, savedID).run("reflectSearchedVerses", /*prepareWording=*/true);
}

bool ChapterInfo::removeReflecttionOnSearchedVerses(sqlite3* db, int savedID) {
  Guard guard(store::lock());
  Statement q(db, "DELETE FROM searchmatches WHERE savesearch_id = ?", "removeReflectionOnSearched");
  return q && q.bind(savedID).run("removeReflectionOnSearched", /*prepareWording=*/true);
}

bool ChapterInfo::isReflectedSearch(sqlite3* db, int surah, int verse) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::IsReflectedSearch, "SELECT surah FROM searchmatches WHERE surah = ? AND verse = ?",
                    "isReflectedSearch");
  return q && q.bind(surah, verse).next();
}

SavedSearchPtr ChapterInfo::getFirstSavedSearch(sqlite3* db, int surah, int verse) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::FirstSavedSearch,
                    "SELECT a.savesearch_id, a.searchword, a.hitcount, a.translation, a.isuse, a.datesearched FROM "
                    "savedsearches as a, searchmatches as b WHERE a.savesearch_id = b.savesearch_id AND b.surah = ? "
                    "AND b.verse = ? ORDER BY b.savesearch_id DESC",
                    nullptr);
  if (!q || !q.bind(surah, verse).next()) return std::make_shared<SavedSearch>();
  return savedSearchFromRow(q, "-");
}
