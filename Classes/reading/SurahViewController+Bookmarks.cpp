// The surah's bookmarks as the rows show them, and the bookmark toggle.
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/TranslationMeta.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/reading/SurahVerseView.h"
#include "Classes/reading/SurahViewController.h"

namespace {

sqlite3* userDatabase() {
  auto app = ZarvelSDKAppDelegate::GetInstance();
  return app ? app->dbConnection() : nullptr;
}

}  // namespace

void SurahViewController::reloadBookmarksMap() {
  std::map<int, BookmarkPtr> map;
  if (sqlite3* db = userDatabase())
    for (auto& bookmark : ChapterInfo::getAllBookmarks(db, iCurrentSurah_, -1)) map[bookmark->verse()] = bookmark;
  dictBookmarkedVerseMap = std::move(map);
}

bool SurahViewController::isVerseBookmarked(int verse) const { return dictBookmarkedVerseMap.count(verse) != 0; }

bool SurahViewController::verseHasNote(int verse) const {
  sqlite3* db = userDatabase();
  return db && ChapterInfo::hasBookmarkNote(db, iCurrentSurah_, verse);
}

bool SurahViewController::isReflectingSearch(int verse) const {
  sqlite3* db = userDatabase();
  return db && ChapterInfo::isReflectedSearch(db, iCurrentSurah_, verse);
}

void SurahViewController::addOrRemoveBookmarkForVerse(int verse) { addOrRemoveBookmarkForVerse(verse, -1); }

// A verse shows as bookmarked whatever kind of row marks it, so removing it
// removes the verse row and the audio row alike: the mark never stays.
void SurahViewController::addOrRemoveBookmarkForVerse(int verse, int group) {
  if (verse <= 0) return;
  sqlite3* db = userDatabase();
  if (!db) return;
  if (ChapterInfo::isBookmarked(db, iCurrentSurah_, verse)) {
    ChapterInfo::deleteBookmark(db, iCurrentSurah_, verse, false);
    ChapterInfo::deleteBookmark(db, iCurrentSurah_, verse, true);
  } else {
    ChapterInfo::insertBookmark(db, iCurrentSurah_, verse, false, group, "");
  }
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->refreshIndexSurahRow(iCurrentSurah_);
  reloadBookmarksMap();
  ns::NotificationCenter::defaultCenter().postNotificationName("BookmarkDidChange");
}

void SurahViewController::bookmarkDidChange() {
  reloadBookmarksMap();
  forEachVisibleRowView([](SurahVerseView& view) { view.refreshView(); });
}

void SurahViewController::updateBookmarkForVerse(int verse, int surah) {
  if (surah != iCurrentSurah_ || !tblVerses) return;
  int row = verseToRow(verse);
  if (iCurrentTranslation_ == 1000) {
    if (auto it = transHeightMeta.find(verse); it != transHeightMeta.end()) {
      it->second->ResetHeights();
      sqlite3* db = userDatabase();
      it->second->setTranslation(db ? ChapterInfo::getBookmarkNote(db, surah, verse) : std::string());
      if (size_t(verse - 1) < translationArr.size()) translationArr[size_t(verse - 1)] = it->second->Translation();
    }
    invalidateRowOffsets();
  }
  for (int r : {row, hasTranslationRows() ? row + 1 : -1}) {
    if (auto* view = rowViewAt(r)) {
      view->refreshBookmarked();
      view->updateVerseNumberColumn();
      view->updateVerseBG();
    }
  }
  if (iCurrentTranslation_ == 1000) {
    std::vector<ui::IndexPath> paths;
    for (int r : {row, row + 1})
      if (r >= 0 && r < numberOfVerseRows()) paths.push_back(ui::IndexPath::indexPathForRow(r, 0));
    tblVerses->reloadRowsAtIndexPaths(paths, ui::TableViewRowAnimation::Fade);
  }
  forEachVisibleRowView([this](SurahVerseView& view) { view.containedViewDidScroll(*tblVerses); });
}
