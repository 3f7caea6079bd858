// ChapterInfo: bookmarks, notes, sections, groups, saved searches and search marks.
#include <gtest/gtest.h>

#include "Classes/core/ChapterInfo.h"
#include "Fixtures.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"

namespace {

class BookmarksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ns::UserDefaults::standardUserDefaults().resetForTesting();
    ns::UserDefaults::standardUserDefaults().setFilePath(store.dir + "/defaults.json");
    ns::UserDefaults::standardUserDefaults().setInteger(1, "CurrentTranslationv22");
  }
  void TearDown() override { ns::UserDefaults::standardUserDefaults().resetForTesting(); }

  void add(int surah, int verse, const std::string& note = "", int group = 0) {
    ASSERT_TRUE(ChapterInfo::insertBookmark(store.user, surah, verse, false, group, note));
  }
  // "S" for a section with its count, "s:v" for a bookmark, "*" after the last in its section.
  std::string describe(const std::vector<BookmarkPtr>& list) {
    std::string out;
    for (const auto& b : list) {
      if (b->IsSurahSection())
        out += ns::format("S%d(%d) ", b->surah(), b->SectionBookmarkCount());
      else
        out += ns::format("%d:%d%s ", b->surah(), b->verse(), b->IsLastInSection() ? "*" : "");
    }
    return out;
  }
  fixtures::Store store;
};

TEST_F(BookmarksTest, BookmarkAndNoteTests) {
  add(2, 5, "a note");
  add(2, 6, "   ");
  add(2, 7);
  ASSERT_TRUE(ChapterInfo::insertBookmarkNote(store.user, 2, 7, std::nullopt));
  struct Case {
    int verse;
    bool bookmarked, hasNote;
    std::string note;
  };
  const Case cases[] = {{5, true, true, "a note"}, {6, true, false, "   "}, {7, true, false, ""}, {8, false, false, ""}};
  for (const Case& c : cases) {
    EXPECT_EQ(ChapterInfo::isBookmarked(store.user, 2, c.verse), c.bookmarked) << c.verse;
    EXPECT_EQ(ChapterInfo::hasBookmarkNote(store.user, 2, c.verse), c.hasNote) << c.verse;
    EXPECT_EQ(ChapterInfo::getBookmarkNote(store.user, 2, c.verse), c.note) << c.verse;
  }
  // A note on a verse without a bookmark creates nothing.
  ASSERT_TRUE(ChapterInfo::insertBookmarkNote(store.user, 3, 1, std::string("lost")));
  EXPECT_FALSE(ChapterInfo::isBookmarked(store.user, 3, 1));
  ASSERT_TRUE(ChapterInfo::deleteBookmarkNote(store.user, 2, 5));
  EXPECT_FALSE(ChapterInfo::hasBookmarkNote(store.user, 2, 5));
  EXPECT_TRUE(ChapterInfo::isBookmarked(store.user, 2, 5));

  Bookmark loaded;
  loaded.setSurah(2);
  loaded.setVerse(6);
  ChapterInfo::loadBookmarkNote(store.user, loaded);
  EXPECT_EQ(loaded.BookmarkedNote(), "   ");
  loaded.setVerse(99);
  ChapterInfo::loadBookmarkNote(store.user, loaded);
  EXPECT_EQ(loaded.BookmarkedNote(), "   ");  // untouched without a row

  ASSERT_TRUE(ChapterInfo::deleteBookmark(store.user, 2, 6, true));
  EXPECT_TRUE(ChapterInfo::isBookmarked(store.user, 2, 6));  // is_audio differs
  ASSERT_TRUE(ChapterInfo::deleteBookmark(store.user, 2, 6, false));
  EXPECT_FALSE(ChapterInfo::isBookmarked(store.user, 2, 6));
}

TEST_F(BookmarksTest, ReplaceKeepsOneRowPerVerse) {
  add(2, 5, "first", 1);
  add(2, 5, "second", 3);
  EXPECT_EQ(ChapterInfo::getBookmarkCount(store.user, -1, 0), 1);
  EXPECT_EQ(ChapterInfo::getBookmarkNote(store.user, 2, 5), "second");
}

TEST_F(BookmarksTest, ListWithSectionsAndATextFilter) {
  add(2, 5, "patience");
  add(2, 9);
  add(3, 1, "PATIENCE again");
  add(3, 4);
  add(103, 2);
  ASSERT_TRUE(ChapterInfo::setBookmarkSectionCollapsed(store.user, 3, true));

  auto all = ChapterInfo::getAllBookmarks(store.user, true, -1, std::nullopt);
  EXPECT_EQ(describe(all), "S2(2) 2:5 2:9* S3(2) 3:1 3:4* S103(1) 103:2* ");
  EXPECT_FALSE(all[0]->IsSectionCollapsed());
  EXPECT_TRUE(all[3]->IsSectionCollapsed());
  EXPECT_TRUE(all[1]->HasExtraDetails());
  EXPECT_TRUE(all[1]->hasNote());
  EXPECT_EQ(all[1]->Translation(), fixtures::verseText(1, 2, 5));
  EXPECT_EQ(all[1]->ArabicVerse(), fixtures::arabicText(2, 5));
  EXPECT_EQ(all[1]->BookmarkedNote(), "");  // notes load only with a filter
  for (const auto& b : all) {  // every row reads its own texts, not those of the row before
    if (b->IsSurahSection() || b->surah() == 3) continue;  // the fixture has no surah 3
    EXPECT_EQ(b->Translation(), fixtures::verseText(1, b->surah(), b->verse()));
    EXPECT_EQ(b->ArabicVerse(), fixtures::arabicText(b->surah(), b->verse()));
  }

  auto filtered = ChapterInfo::getAllBookmarks(store.user, true, -1, std::string("patience"));
  EXPECT_EQ(describe(filtered), "S2(1) 2:5* S3(1) 3:1* ");
  EXPECT_EQ(filtered[1]->BookmarkedNote(), "patience");

  // The Arabic text matches in the standard spelling a reader types, which
  // the drawn text (with alef wasla) does not hold.
  auto arabic = ChapterInfo::getAllBookmarks(store.user, false, -1, std::string("\u0627\u0644\u0631\u062D\u0645\u0629 103"));
  EXPECT_EQ(describe(arabic), "103:2* ");
  // Typed with its vowel marks, it matches alike.
  auto vowelled = ChapterInfo::getAllBookmarks(
      store.user, false, -1, std::string("\u0627\u0644\u0631\u0651\u064E\u062D\u0652\u0645\u064E\u0629\u0650 103"));
  EXPECT_EQ(describe(vowelled), "103:2* ");

  auto flat = ChapterInfo::getAllBookmarks(store.user, -1);
  EXPECT_EQ(describe(flat), "2:5 2:9 3:1 3:4 103:2* ");
}

TEST_F(BookmarksTest, NotesOnlyAndGroups) {
  add(1, 1, "note", 2);
  add(1, 2, "", 2);
  add(1, 3, "  ", 0);
  add(1, 4);
  ASSERT_TRUE(ChapterInfo::insertBookmarkNote(store.user, 1, 4, std::nullopt));
  add(2, 1, "other group", 5);

  EXPECT_EQ(describe(ChapterInfo::getAllBookmarks(store.user, false, -1, std::nullopt, true)), "1:1 2:1* ");
  EXPECT_EQ(describe(ChapterInfo::getAllBookmarks(store.user, false, 2, std::nullopt, true)), "1:1* ");
  EXPECT_EQ(describe(ChapterInfo::getAllBookmarks(store.user, false, 2, std::nullopt)), "1:1 1:2* ");

  auto surah1 = ChapterInfo::getAllBookmarks(store.user, 1, -1);
  ASSERT_EQ(surah1.size(), 4u);
  EXPECT_FALSE(surah1[0]->HasExtraDetails());
  EXPECT_TRUE(surah1[0]->hasNote());
  EXPECT_FALSE(surah1[2]->hasNote());
  EXPECT_EQ(surah1[0]->BookmarkGroup(), 2);
  EXPECT_EQ(ChapterInfo::getAllBookmarks(store.user, 1, 2).size(), 2u);

  struct Count {
    int surah, group, expected;
  };
  for (Count c : {Count{-1, 0, 5}, Count{-1, -1, 5}, Count{1, 0, 4}, Count{1, 2, 2}, Count{2, 2, 0}, Count{-1, 5, 1}})
    EXPECT_EQ(ChapterInfo::getBookmarkCount(store.user, c.surah, c.group), c.expected) << c.surah << " " << c.group;
}

TEST_F(BookmarksTest, SectionsFoldAndUnfold) {
  ASSERT_TRUE(ChapterInfo::setBookmarkSectionCollapsed(store.user, 4, true));
  ASSERT_TRUE(ChapterInfo::setBookmarkSectionCollapsed(store.user, 4, true));
  EXPECT_EQ(fixtures::scalarInt(store.user, "SELECT count(*) FROM bookmarksections WHERE surah = 4"), 1);
  EXPECT_TRUE(ChapterInfo::hasBookmarkSectionCollapsed(store.user, 4));
  ASSERT_TRUE(ChapterInfo::setBookmarkSectionCollapsed(store.user, 4, false));
  EXPECT_FALSE(ChapterInfo::hasBookmarkSectionCollapsed(store.user, 4));

  add(4, 1);
  add(4, 2);
  ChapterInfo::setBookmarkSectionCollapsed(store.user, 4, true);
  ASSERT_TRUE(ChapterInfo::deleteAllBookmarks(store.user, 4));
  EXPECT_EQ(ChapterInfo::getBookmarkCount(store.user, 4, 0), 0);
  EXPECT_FALSE(ChapterInfo::hasBookmarkSectionCollapsed(store.user, 4));
}

TEST_F(BookmarksTest, MovingBookmarksKeepsNotesAndDoesNotResurrect) {
  add(1, 1, "kept");
  add(1, 2);
  ASSERT_TRUE(ChapterInfo::insertBookmarkNote(store.user, 1, 2, std::nullopt));
  add(1, 3, "three");
  auto list = ChapterInfo::getAllBookmarks(store.user, 1, -1);
  // Meanwhile a note changes and a bookmark goes away.
  ChapterInfo::insertBookmarkNote(store.user, 1, 3, std::string("edited"));
  ChapterInfo::deleteBookmark(store.user, 1, 1, false);

  ASSERT_TRUE(ChapterInfo::moveBookmarks(store.user, list, 2));
  EXPECT_FALSE(ChapterInfo::isBookmarked(store.user, 1, 1));
  EXPECT_EQ(ChapterInfo::getBookmarkNote(store.user, 1, 3), "edited");
  EXPECT_EQ(fixtures::scalar(store.user, "SELECT quote(note) FROM bookmarks WHERE verse = 2"), "NULL");
  EXPECT_EQ(ChapterInfo::getBookmarkCount(store.user, 1, 2), 2);
}

// --- Saved searches ----------------------------------------------------------------

class SavedSearchTest : public BookmarksTest {};

SavedSearch makeSearch(const std::string& text, int hits = 3, int trans = 1) {
  SavedSearch s;
  s.setStrSearchText(text);
  s.setIHitCount(hits);
  s.setITranslation(trans);
  return s;
}

TEST_F(SavedSearchTest, AddListUpdateDelete) {
  auto clock = ns::VirtualClock::install(1000.0);
  SavedSearch first = makeSearch("mercy");
  int id1 = ChapterInfo::addSavedSearch(store.user, first);
  clock->setNow(2000.0);
  SavedSearch second = makeSearch("mercy", 7, 10);
  int id2 = ChapterInfo::addSavedSearch(store.user, second);
  EXPECT_GT(id1, 0);
  EXPECT_GT(id2, id1);
  EXPECT_EQ(second.DateSearched()->timeIntervalSince1970(), 2000.0);
  EXPECT_EQ(second.iSavedID(), 0);  // the id is not stored into the record

  auto list = ChapterInfo::getSavedSearch(store.user);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->iSavedID(), id2);
  EXPECT_EQ(list[0]->iHitCount(), 7);
  EXPECT_EQ(list[0]->iTranslation(), 10);

  clock->setNow(3000.0);
  first.setISavedID(id1);
  first.setIsReflectedInSurah(true);
  ASSERT_TRUE(ChapterInfo::updateSavedSearch(store.user, first));
  list = ChapterInfo::getSavedSearch(store.user);
  EXPECT_EQ(list[0]->iSavedID(), id1);
  EXPECT_TRUE(list[0]->isReflectedInSurah());
  EXPECT_EQ(list[0]->DateSearched()->timeIntervalSince1970(), 3000.0);

  ASSERT_TRUE(ChapterInfo::deleteSavedSearch(store.user, first));
  EXPECT_EQ(ChapterInfo::getSavedSearch(store.user).size(), 1u);
  ns::Clock::setCurrent(nullptr);
}

TEST_F(SavedSearchTest, MarksAndTheFirstMarkingSearch) {
  SavedSearch a = makeSearch("a"), b = makeSearch("b");
  int idA = ChapterInfo::addSavedSearch(store.user, a);
  int idB = ChapterInfo::addSavedSearch(store.user, b);
  ASSERT_TRUE(ChapterInfo::beginTrans(store.user));
  EXPECT_TRUE(ChapterInfo::reflectSearchedVerses(store.user, 2, 5, idB));
  EXPECT_TRUE(ChapterInfo::reflectSearchedVerses(store.user, 2, 5, idA));
  EXPECT_TRUE(ChapterInfo::reflectSearchedVerses(store.user, 2, 6, idA));
  ASSERT_TRUE(ChapterInfo::commitTrans(store.user));

  EXPECT_TRUE(ChapterInfo::isReflectedSearch(store.user, 2, 5));
  EXPECT_FALSE(ChapterInfo::isReflectedSearch(store.user, 2, 7));
  EXPECT_EQ(ChapterInfo::getFirstSavedSearch(store.user, 2, 5)->iSavedID(), idB);
  EXPECT_EQ(ChapterInfo::getFirstSavedSearch(store.user, 2, 5)->strSearchText(), "b");
  auto none = ChapterInfo::getFirstSavedSearch(store.user, 2, 7);
  EXPECT_EQ(none->iSavedID(), 0);
  EXPECT_FALSE(none->DateSearched().has_value());

  ASSERT_TRUE(ChapterInfo::removeReflecttionOnSearchedVerses(store.user, idA));
  EXPECT_FALSE(ChapterInfo::isReflectedSearch(store.user, 2, 6));
  EXPECT_TRUE(ChapterInfo::isReflectedSearch(store.user, 2, 5));
}

TEST_F(SavedSearchTest, NullSearchWordReadsAsGoodOrDash) {
  fixtures::exec(store.user, "INSERT INTO savedsearches (searchword, hitcount, translation, isuse, datesearched) "
                             "VALUES (NULL, 1, 1, 1, 5); INSERT INTO searchmatches VALUES (9, 9, last_insert_rowid());");
  EXPECT_EQ(ChapterInfo::getSavedSearch(store.user)[0]->strSearchText(), "Good");
  EXPECT_EQ(ChapterInfo::getFirstSavedSearch(store.user, 9, 9)->strSearchText(), "-");
}

TEST(Records, LazyListsAndDefaults) {
  SearchResult result;
  auto list = result.AllResults();
  EXPECT_TRUE(list->empty());
  EXPECT_EQ(result.AllResults().get(), list.get());
  Bookmark bookmark;
  EXPECT_EQ(bookmark.AllBookmarks().get(), bookmark.AllBookmarks().get());
  SavedSearch search;
  EXPECT_EQ(search.iSavedID(), 0);
  EXPECT_TRUE(search.strSearchText().empty());
  EXPECT_FALSE(search.DateSearched().has_value());
  std::string text = "typed";
  search.setStrSearchText(text);
  text += " more";
  EXPECT_EQ(search.strSearchText(), "typed");
}

}  // namespace
