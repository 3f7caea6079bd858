// ChapterInfo: bookmarks, their groups and notes, and folded bookmark sections.
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/ChapterInfo+Internal.h"
#include "Classes/core/Database.h"
#include "Classes/core/String+More.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"

using store::CachedStatement;
using store::Guard;
using store::Slot;
using store::Statement;

namespace {

bool containsText(const std::string& haystack, const std::string& needle) {
  return !haystack.empty() && ns::doesContain(haystack, needle);
}

// Reads a bookmark row of "surah, verse, is_audio, trim(note), bkgroup".
BookmarkPtr bookmarkFromRow(const store::Query& q) {
  auto bookmark = std::make_shared<Bookmark>();
  bookmark->setSurah(q.columnInt(0));
  bookmark->setVerse(q.columnInt(1));
  bookmark->setIsAudio(q.columnInt(2) == 1);
  auto note = q.columnText(3);
  bookmark->setHasNote(note && !note->empty());
  bookmark->setBookmarkGroup(q.columnInt(4));
  return bookmark;
}

}  // namespace

bool ChapterInfo::isBookmarked(sqlite3* db, int surah, int verse) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::IsBookmarked, "SELECT surah FROM bookmarks WHERE surah = ? AND verse = ?",
                    "isBookmarked");
  return q && q.bind(surah, verse).next();
}

bool ChapterInfo::hasBookmarkNote(sqlite3* db, int surah, int verse) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::HasBookmarkNote,
                    "SELECT note FROM bookmarks WHERE surah = ? AND verse = ? AND trim(note) != ''", "hasBookmarkNote");
  return q && q.bind(surah, verse).next();
}

std::string ChapterInfo::getBookmarkNote(sqlite3* db, int surah, int verse) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::GetBookmarkNote, "SELECT note FROM bookmarks WHERE surah = ? AND verse = ?",
                    "getBookmarkNote");
  if (!q || !q.bind(surah, verse).next()) return "";
  return q.columnTextOr(0, "");
}

void ChapterInfo::loadBookmarkNote(sqlite3* db, Bookmark& bookmark) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::LoadBookmarkNote, "SELECT note FROM bookmarks WHERE surah = ? AND verse = ?", nullptr);
  if (q && q.bind(bookmark.surah(), bookmark.verse()).next()) bookmark.setBookmarkedNote(q.columnTextOr(0, ""));
}

bool ChapterInfo::hasBookmarkSectionCollapsed(sqlite3* db, int surah) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::SectionCollapsed, "SELECT collapsed FROM bookmarksections WHERE surah = ?",
                    "hasBookmarkSectionCollapsed");
  return q && q.bind(surah).next();
}

bool ChapterInfo::insertBookmark(sqlite3* db, int surah, int verse, bool isAudio, int bkgroup,
                                 const std::string& note) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::InsertBookmark,
                    "REPLACE INTO bookmarks (surah, verse, is_audio, note, bkgroup) VALUES (?, ?, ?, ?, ?)",
                    "insertBookmark");
  return q && q.bind(surah, verse, isAudio, note, bkgroup).run("insertBookmark");
}

bool ChapterInfo::insertBookmarkNote(sqlite3* db, int surah, int verse, const std::optional<std::string>& note) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::InsertBookmarkNote, "UPDATE bookmarks SET note = ? WHERE surah = ? AND verse = ?",
                    "insertBookmarkNote");
  return q && q.bind(note, surah, verse).run("insertBookmarkNote");
}

bool ChapterInfo::deleteBookmarkNote(sqlite3* db, int surah, int verse) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::DeleteBookmarkNote, "UPDATE bookmarks SET note = NULL WHERE surah = ? AND verse = ?",
                    "deleteBookmarkNote");
  return q && q.bind(surah, verse).run("deleteBookmarkNote");
}

bool ChapterInfo::deleteBookmark(sqlite3* db, int surah, int verse, bool isAudio) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::DeleteBookmark, "DELETE FROM bookmarks WHERE surah = ? AND verse = ? AND is_audio = ?",
                    "deleteBookmark");
  return q && q.bind(surah, verse, isAudio).run("deleteBookmark");
}

bool ChapterInfo::deleteAllBookmarks(sqlite3* db, int surah) {
  Guard guard(store::lock());
  Statement q(db, "DELETE FROM bookmarks WHERE surah = ?", "deleteAllBookmarks");
  if (!q || !q.bind(surah).run("deleteAllBookmarks")) return false;
  return setBookmarkSectionCollapsed(db, surah, false);
}

bool ChapterInfo::setBookmarkSectionCollapsed(sqlite3* db, int surah, bool collapsed) {
  Guard guard(store::lock());
  {
    CachedStatement q(db, Slot::SectionDelete, "DELETE FROM bookmarksections WHERE surah = ?",
                      "setBookmarkSectionCollapsed");
    if (!q || !q.bind(surah).run("setBookmarkSectionCollapsed")) return false;
  }
  if (!collapsed) return true;
  CachedStatement q(db, Slot::SectionInsert, "INSERT INTO bookmarksections (surah, collapsed) VALUES (?, 1)", nullptr);
  return q && q.bind(surah).run("setBookmarkSectionCollapsed");
}

bool ChapterInfo::moveBookmarks(sqlite3* db, const std::vector<BookmarkPtr>& bookmarks, int group) {
  // One UPDATE per bookmark in one transaction: a note saved meanwhile stays, and a
  // bookmark deleted meanwhile is not brought back.
  if (!beginTrans(db)) {
    rollbackTrans(db);
    return false;
  }
  bool ok = true;
  for (const BookmarkPtr& bookmark : bookmarks) {
    if (!bookmark) continue;
    CachedStatement q(db, Slot::MoveBookmark,
                      "UPDATE bookmarks SET bkgroup = ? WHERE surah = ? AND verse = ? AND is_audio = ?",
                      "moveBookmarks");
    if (!q || !q.bind(group, bookmark->surah(), bookmark->verse(), bookmark->isAudio()).run("moveBookmarks")) {
      ok = false;
      break;
    }
  }
  if (!ok) {
    rollbackTrans(db);
    return false;
  }
  return commitTrans(db);
}

std::vector<BookmarkPtr> ChapterInfo::getAllBookmarks(sqlite3* db, bool withSections, int group,
                                                      const std::optional<std::string>& search, bool onlyNotes) {
  std::vector<BookmarkPtr> result;
  Guard guard(store::lock());
  const char* notesCondition = "note IS NOT NULL AND length(trim(note)) > 0";
  std::string condition = group == -1 ? (onlyNotes ? ns::format(" WHERE %s ", notesCondition) : std::string())
                                      : (onlyNotes ? ns::format(" WHERE bkgroup = %i AND %s ", group, notesCondition)
                                                   : ns::format(" WHERE bkgroup = %i ", group));
  Statement q(db,
              "SELECT surah, verse, is_audio, trim(note) as nn, bkgroup FROM bookmarks " + condition +
                  " ORDER BY surah, verse, is_audio",
              "getAllBookmarks");
  if (!q) return result;

  const int trans = static_cast<int>(ns::UserDefaults::standardUserDefaults().integerForKey("CurrentTranslationv22"));
  const bool filtering = search && !search->empty();
  // The verse text has no vowel marks: a filter typed with them is compared without them.
  const std::string bareSearch = filtering ? ns::cleanArabicAccents(*search) : std::string();
  sqlite3* content = store::contentConnection();

  // Every row reads two texts: one read transaction takes the file's lock once
  // for all of them rather than twice per row, through two statements prepared
  // once for the call.
  const bool readTransaction =
      content && sqlite3_get_autocommit(content) && sqlite3_exec(content, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
  Statement arabic(content, "SELECT translation FROM simplearabic WHERE surah = ? AND verse = ?", nullptr);
  const bool withTranslation = trans > 0 && trans <= 38;
  Statement translation(withTranslation ? content : nullptr,
                        withTranslation ? chapterinfo_detail::translationForSql(trans) : std::string(), nullptr);
  auto textOf = [](Statement& text, const Bookmark& bookmark) {
    std::string out;
    if (text && text.bind(bookmark.surah(), bookmark.verse()).next()) out = text.columnTextOr(0, "");
    text.reset();
    return out;
  };

  std::optional<int> runSurah;
  BookmarkPtr section, lastMatching;
  int count = 0;
  while (q.next()) {
    BookmarkPtr bookmark = bookmarkFromRow(q);
    bookmark->setHasExtraDetails(true);
    auto note = q.columnText(3);
    if (filtering && note) bookmark->setBookmarkedNote(*note);
    bookmark->setArabicVerse(textOf(arabic, *bookmark));
    if (withTranslation) bookmark->setTranslation(textOf(translation, *bookmark));

    bool matches = !filtering || containsText(bookmark->Translation(), *search) ||
                   containsText(bookmark->BookmarkedNote(), *search) ||
                   containsText(ns::cleanArabicAccents(bookmark->ArabicVerse()), bareSearch) ||
                   containsText(getTranslationFor(content, 0, bookmark->surah(), bookmark->verse()), bareSearch);
    if (runSurah != bookmark->surah()) {
      if (!matches) continue;  // the run's surah stays, so the next row of this surah is tested alike
      if (section) section->setSectionBookmarkCount(count);
      if (withSections) {
        if (lastMatching) lastMatching->setIsLastInSection(true);
        section = std::make_shared<Bookmark>();
        section->setSurah(bookmark->surah());
        section->setIsSurahSection(true);
        section->setIsSectionCollapsed(hasBookmarkSectionCollapsed(db, bookmark->surah()));
        result.push_back(section);
      }
      count = 0;
    }
    runSurah = bookmark->surah();
    if (!matches) continue;
    result.push_back(bookmark);
    lastMatching = bookmark;
    ++count;
  }
  if (readTransaction) sqlite3_exec(content, "COMMIT", nullptr, nullptr, nullptr);
  if (lastMatching) lastMatching->setIsLastInSection(true);
  if (section) section->setSectionBookmarkCount(count);
  return result;
}

std::vector<BookmarkPtr> ChapterInfo::getAllBookmarks(sqlite3* db, bool withSections, int group,
                                                      const std::optional<std::string>& search) {
  return getAllBookmarks(db, withSections, group, search, false);
}

std::vector<BookmarkPtr> ChapterInfo::getAllBookmarks(sqlite3* db, int group) {
  return getAllBookmarks(db, false, group, std::nullopt, false);
}

std::vector<BookmarkPtr> ChapterInfo::getAllBookmarks(sqlite3* db, int surah, int group) {
  std::vector<BookmarkPtr> result;
  Guard guard(store::lock());
  std::string condition = group == -1 ? std::string() : ns::format(" AND bkgroup = %i ", group);
  Statement q(db,
              "SELECT surah, verse, is_audio, trim(note) as nn, bkgroup FROM bookmarks WHERE surah = ? " + condition +
                  " ORDER BY surah, verse, is_audio",
              "getAllBookmarks");
  if (!q) return result;
  q.bind(surah);
  while (q.next()) result.push_back(bookmarkFromRow(q));
  return result;
}

int ChapterInfo::getBookmarkCount(sqlite3* db, int surah, int group) {
  Guard guard(store::lock());
  std::string groupCondition = group > 0 ? ns::format(" WHERE bkgroup = %i ", group) : std::string();
  std::string surahCondition = surah == -1 ? std::string()
                               : group > 0 ? ns::format(" AND surah = %i ", surah)
                                           : ns::format(" WHERE surah = %i ", surah);
  Statement q(db,
              "SELECT surah, verse, is_audio FROM bookmarks " + groupCondition + " " + surahCondition +
                  " ORDER BY surah, verse, is_audio",
              "getBookmarkCount");
  int count = 0;
  while (q.next()) ++count;
  return count;
}
