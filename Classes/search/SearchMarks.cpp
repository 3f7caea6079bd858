#include "Classes/search/SearchMarks.h"

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/String+More.h"

namespace searchmarks {

std::string queryText(const SavedSearch& entry) {
  return entry.iTranslation() == 0 ? ns::cleanArabicAccents(entry.strSearchText()) : entry.strSearchText();
}

bool reflect(sqlite3* user, sqlite3* content, SavedSearch& entry, bool highlighted) {
  if (!user) return false;
  std::vector<SearchResultPtr> hits;
  if (highlighted && content) {
    bool limitReached = false;
    hits = ChapterInfo::getSearchResults(content, entry.iTranslation(), queryText(entry), &limitReached);
  }
  bool was = entry.isReflectedInSurah();
  if (!ChapterInfo::beginTrans(user)) {
    ChapterInfo::rollbackTrans(user);
    return false;
  }
  // The entry's marks go first, so marking again leaves no old ones behind.
  bool ok = ChapterInfo::removeReflecttionOnSearchedVerses(user, entry.iSavedID());
  for (const SearchResultPtr& hit : hits) {
    if (!ok) break;
    if (!hit->IsSurahSection()) ok = ChapterInfo::reflectSearchedVerses(user, hit->surah(), hit->verse(), entry.iSavedID());
  }
  entry.setIsReflectedInSurah(highlighted);
  if (ok) ok = ChapterInfo::updateSavedSearch(user, entry);
  if (ok) ok = ChapterInfo::commitTrans(user);
  else ChapterInfo::rollbackTrans(user);
  if (!ok) entry.setIsReflectedInSurah(was);
  return ok;
}

}  // namespace searchmarks
