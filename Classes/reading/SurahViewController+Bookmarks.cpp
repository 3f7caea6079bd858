// The surah's bookmarks as the rows show them, and the bookmark toggle.
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/TranslationMeta.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/common/ScreenSupport.h"
#include "Classes/reading/SurahVerseView.h"
#include "Classes/reading/SurahViewController.h"
#include "platform/foundation/Log.h"
#include "platform/ui/AlertView.h"

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

bool SurahViewController::addOrRemoveBookmarkForVerse(int verse) { return addOrRemoveBookmarkForVerse(verse, -1); }

// A verse shows as bookmarked whatever kind of row marks it, so removing it
// removes the verse row and the audio row alike: the mark never stays. A
// write that fails (a full or read-only disk) leaves the verse as the store
// has it and says so.
bool SurahViewController::addOrRemoveBookmarkForVerse(int verse, int group) {
  if (verse <= 0) return false;
  sqlite3* db = userDatabase();
  if (!db) return false;
  bool stored;
  if (ChapterInfo::isBookmarked(db, iCurrentSurah_, verse)) {
    stored = ChapterInfo::deleteBookmark(db, iCurrentSurah_, verse, false);
    stored = ChapterInfo::deleteBookmark(db, iCurrentSurah_, verse, true) && stored;
  } else {
    stored = ChapterInfo::insertBookmark(db, iCurrentSurah_, verse, false, group, "");
  }
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->refreshIndexSurahRow(iCurrentSurah_);
  reloadBookmarksMap();
  ns::NotificationCenter::defaultCenter().postNotificationName("BookmarkDidChange");
  if (!stored) {
    ns::logf("ERROR - [%s] The bookmark of %i:%i could not be stored", ns::logTimestamp().c_str(), iCurrentSurah_,
             verse);
    auto alert = std::make_shared<ui::AlertView>(
        screens::localized("Bookmark Not Saved"),
        screens::localized("The bookmark could not be saved, so the verse stays as it was. Please try again."),
        std::weak_ptr<ui::AlertViewDelegate>(), screens::localized("OK"));
    alert->show();
  }
  return stored;
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
