// ChapterInfo: statement conventions, scripture texts and the translation catalogue.
#include "Classes/core/ChapterInfo.h"

#include <gtest/gtest.h>

#include <thread>

#include "Classes/core/Database.h"
#include "Fixtures.h"
#include "platform/foundation/Log.h"

namespace {

int liveStatements(sqlite3* db) {
  int count = 0;
  for (sqlite3_stmt* s = sqlite3_next_stmt(db, nullptr); s; s = sqlite3_next_stmt(db, s)) ++count;
  return count;
}

class ChapterInfoTest : public ::testing::Test {
 protected:
  fixtures::Store store;
};

TEST_F(ChapterInfoTest, CachedStatementIsPreparedOnceAndAgainAfterFinalize) {
  for (int verse = 1; verse <= 286; ++verse) ASSERT_EQ(ChapterInfo::hezbFromSurah(store.content, 2, verse) > 0, true);
  EXPECT_EQ(liveStatements(store.content), 1);
  ChapterInfo::finalizeStatements();
  EXPECT_EQ(liveStatements(store.content), 0);
  EXPECT_EQ(ChapterInfo::hezbFromSurah(store.content, 2, 26), 2);
  EXPECT_EQ(liveStatements(store.content), 1);
}

TEST_F(ChapterInfoTest, CachedStatementRunsOnTheConnectionOfEachCall) {
  ASSERT_TRUE(ChapterInfo::insertBookmark(store.installer, 2, 5, false, 0, ""));
  EXPECT_TRUE(ChapterInfo::isBookmarked(store.installer, 2, 5));
  // A user database elsewhere: the cached statement must not answer from the first file.
  std::string other = fixtures::makeTempDir() + "/other.db";
  fixtures::buildUserDatabase(other, fixtures::UserSchema::Shipped);
  sqlite3* otherDb = fixtures::openReadWrite(other);
  EXPECT_FALSE(ChapterInfo::isBookmarked(otherDb, 2, 5));
  EXPECT_TRUE(ChapterInfo::isBookmarked(store.user, 2, 5));
  ChapterInfo::finalizeStatements();
  sqlite3_close(otherDb);
}

TEST_F(ChapterInfoTest, NestedLockedCallsDoNotDeadlock) {
  store::Guard outer(store::lock());
  ChapterInfo::insertBookmark(store.user, 3, 1, false, 0, "n");
  EXPECT_EQ(ChapterInfo::getAllBookmarks(store.user, true, -1, std::nullopt).size(), 2u);
}

TEST_F(ChapterInfoTest, MissingTableGivesEmptyValueAndOneLogLine) {
  std::string path = fixtures::makeTempDir() + "/empty.db";
  sqlite3* empty = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &empty), SQLITE_OK);
  ns::LogCapture capture;
  capture.setEcho(false);
  struct Case {
    const char* label;
    std::function<bool()> emptyAnswer;
  };
  const Case cases[] = {
      {"getVerseData", [&] { return ChapterInfo::getVerseData(empty, 1, 1).empty(); }},
      {"hezbFromSurah", [&] { return ChapterInfo::hezbFromSurah(empty, 1, 1) == 0; }},
      {"isBookmarked", [&] { return !ChapterInfo::isBookmarked(empty, 1, 1); }},
      {"getBookmarkNote", [&] { return ChapterInfo::getBookmarkNote(empty, 1, 1).empty(); }},
      {"hasBookmarkNote", [&] { return !ChapterInfo::hasBookmarkNote(empty, 1, 1); }},
      {"isReflectedSearch", [&] { return !ChapterInfo::isReflectedSearch(empty, 1, 1); }},
      {"getAllBookmarks", [&] { return ChapterInfo::getAllBookmarks(empty, true, -1, std::nullopt).empty(); }},
      {"getBookmarkCount", [&] { return ChapterInfo::getBookmarkCount(empty, -1, 0) == 0; }},
      {"getInstalledAudios", [&] { return ChapterInfo::getInstalledAudios(empty, 1).empty(); }},
      {"isSurahAudioCont", [&] { return !ChapterInfo::isSurahAudioContinuous(empty, 1, 1); }},
      {"getMP3Recitation", [&] { return ChapterInfo::getMP3Recitation(empty, 1, 1, 1).empty(); }},
  };
  for (const Case& c : cases) {
    capture.clear();
    EXPECT_TRUE(c.emptyAnswer()) << c.label;
    EXPECT_LE(capture.lines().size(), 2u) << c.label;
    EXPECT_EQ(capture.count(ns::format("[%s] Error: failed to prepare statement with message 'no such table", c.label)),
              1)
        << c.label;
  }
  // Silent readers.
  capture.clear();
  EXPECT_EQ(ChapterInfo::getTranslationFor(empty, 1, 1, 1), "");
  EXPECT_EQ(ChapterInfo::getArabicVerseFor(empty, 1, 1), "");
  EXPECT_TRUE(ChapterInfo::getTranslationDataFor(empty, 1, 1).empty());
  EXPECT_EQ(ChapterInfo::getSavedSearch(empty).size(), 0u);
  EXPECT_EQ(ChapterInfo::getFirstSavedSearch(empty, 1, 1)->iSavedID(), 0);
  EXPECT_EQ(ChapterInfo::getMP3RecitationSize(empty, 1, 0), 0);
  EXPECT_TRUE(capture.lines().empty());
  ChapterInfo::finalizeStatements();
  sqlite3_close(empty);
}

TEST_F(ChapterInfoTest, WritersReportFailure) {
  ns::LogCapture capture;
  capture.setEcho(false);
  // The content database is read-only: every writer fails and says so.
  EXPECT_FALSE(ChapterInfo::insertBookmark(store.content, 1, 1, false, 0, ""));
  EXPECT_TRUE(capture.contains("[insertBookmark] Error:"));
  SavedSearch search;
  search.setStrSearchText("x");
  EXPECT_EQ(ChapterInfo::addSavedSearch(store.content, search), -1);
  ChapterInfo::finalizeStatements();
  // A read-only connection to the user file: the insert fails at the step, -1, not a stale id.
  sqlite3* readOnly = fixtures::openReadOnly(store.dir + "/zarveldyn.db");
  EXPECT_GT(ChapterInfo::addSavedSearch(store.user, search), 0);
  EXPECT_EQ(ChapterInfo::addSavedSearch(readOnly, search), -1);
  ChapterInfo::finalizeStatements();
  sqlite3_close(readOnly);
}

TEST_F(ChapterInfoTest, VacuumRuns) {
  ns::LogCapture capture;
  capture.setEcho(false);
  EXPECT_TRUE(ChapterInfo::vacuumDB(store.user));
  EXPECT_TRUE(capture.lines().empty());
  EXPECT_FALSE(ChapterInfo::vacuumDB(store.content));  // read-only: logged
  EXPECT_TRUE(capture.contains("[vacuumDB] Error:"));
}

TEST_F(ChapterInfoTest, TransactionRollsBackAndReleasesTheLock) {
  ASSERT_TRUE(ChapterInfo::beginTrans(store.user));
  ChapterInfo::insertBookmark(store.user, 1, 2, false, 0, "");
  ASSERT_TRUE(ChapterInfo::rollbackTrans(store.user));
  EXPECT_FALSE(ChapterInfo::isBookmarked(store.user, 1, 2));
  // Another thread can take the lock again.
  std::thread other([&] { EXPECT_FALSE(ChapterInfo::isBookmarked(store.user, 1, 2)); });
  other.join();
  ASSERT_TRUE(ChapterInfo::beginTrans(store.user));
  ChapterInfo::insertBookmark(store.user, 1, 2, false, 0, "");
  EXPECT_TRUE(ChapterInfo::commitTrans(store.user));
  EXPECT_TRUE(ChapterInfo::isBookmarked(store.installer, 1, 2));
}

// A COMMIT the engine refuses leaves the transaction open: it is rolled back,
// so nothing of it stays, and the connection and the lock are free again.
TEST_F(ChapterInfoTest, AFailedCommitRollsBack) {
  fixtures::exec(store.user,
                 "PRAGMA foreign_keys = ON;"
                 "CREATE TABLE parent (id INTEGER PRIMARY KEY);"
                 "CREATE TABLE child (p INTEGER REFERENCES parent (id) DEFERRABLE INITIALLY DEFERRED);");
  ns::LogCapture capture;
  capture.setEcho(false);
  ASSERT_TRUE(ChapterInfo::beginTrans(store.user));
  ASSERT_TRUE(ChapterInfo::insertBookmark(store.user, 1, 4, false, 0, "in the failed transaction"));
  fixtures::exec(store.user, "INSERT INTO child VALUES (99)");  // refused only at COMMIT
  EXPECT_FALSE(ChapterInfo::commitTrans(store.user));
  EXPECT_TRUE(capture.contains("[commitTrans] Error:"));
  ASSERT_EQ(sqlite3_get_autocommit(store.user), 1);
  EXPECT_FALSE(ChapterInfo::isBookmarked(store.user, 1, 4));
  std::thread other([&] { EXPECT_TRUE(ChapterInfo::insertBookmark(store.installer, 1, 5, false, 0, "")); });
  other.join();
  EXPECT_TRUE(ChapterInfo::isBookmarked(store.user, 1, 5));
}

TEST_F(ChapterInfoTest, ATransactionBegunInsideAnotherEndsNothingButItself) {
  ChapterInfo::insertBookmark(store.user, 1, 1, false, 0, "");
  auto list = ChapterInfo::getAllBookmarks(store.user, 1, -1);
  ns::LogCapture capture;
  capture.setEcho(false);
  ASSERT_TRUE(ChapterInfo::beginTrans(store.user));
  ASSERT_TRUE(ChapterInfo::insertBookmark(store.user, 1, 5, false, 0, "outer"));
  // Its BEGIN fails inside the open transaction: the move fails, and must not end the outer one.
  EXPECT_FALSE(ChapterInfo::moveBookmarks(store.user, list, 2));
  EXPECT_FALSE(ChapterInfo::beginTrans(store.user));
  EXPECT_FALSE(ChapterInfo::commitTrans(store.user));
  EXPECT_TRUE(ChapterInfo::commitTrans(store.user));
  EXPECT_EQ(ChapterInfo::getBookmarkNote(store.installer, 1, 5), "outer");
  EXPECT_EQ(ChapterInfo::getBookmarkCount(store.installer, 1, 2), 0);
  // The lock is free again for other threads.
  std::thread other([&] { EXPECT_TRUE(ChapterInfo::isBookmarked(store.user, 1, 1)); });
  other.join();
}

// --- Texts ----------------------------------------------------------------------

TEST_F(ChapterInfoTest, TranslationForChoosesTheTableByNumber) {
  struct Case {
    int trans, surah, verse;
    std::string expected;
  };
  const Case cases[] = {
      {1, 2, 255, fixtures::verseText(1, 2, 255)},
      {38, 112, 1, fixtures::verseText(38, 112, 1)},
      {10, 1, 7, fixtures::verseText(10, 1, 7)},
      {0, 1, 1, "\u0631\u0628 \u0627\u0644\u0631\u062D\u0645\u0629 1 1"},
      {2, 1, 3, ""},  // NULL text
      {1, 1, 8, ""},  // no row
      {1000, 1, 1, ""},
      {39, 1, 1, ""},
      {-1, 1, 1, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChapterInfo::getTranslationFor(store.content, c.trans, c.surah, c.verse), c.expected) << c.trans;
}

TEST_F(ChapterInfoTest, TranslationDataForASurah) {
  auto verses = ChapterInfo::getTranslationDataFor(store.content, 1, 1);
  ASSERT_EQ(verses.size(), 7u);
  EXPECT_EQ(verses[0], fixtures::verseText(1, 1, 1));
  EXPECT_EQ(ChapterInfo::getTranslationDataFor(store.content, 1, 2).size(), 286u);

  ns::LogCapture capture;
  capture.setEcho(false);
  auto withNull = ChapterInfo::getTranslationDataFor(store.content, 2, 1);
  ASSERT_EQ(withNull.size(), 7u);
  EXPECT_EQ(withNull[2], "");
  EXPECT_TRUE(capture.contains("VERSE IS NIL AT INDEX: 2"));

  auto transliteration = ChapterInfo::getTranslationDataFor(store.content, 10, 103);
  ASSERT_EQ(transliteration.size(), 3u);
  EXPECT_EQ(transliteration[2], fixtures::verseText(10, 103, 3));
  EXPECT_TRUE(ChapterInfo::getTranslationDataFor(store.content, 0, 1).empty());
  EXPECT_TRUE(ChapterInfo::getTranslationDataFor(store.content, 1000, 1).empty());
}

TEST_F(ChapterInfoTest, VerseDataAndArabicText) {
  ns::Data codes = ChapterInfo::getVerseData(store.content, 2, 286);
  EXPECT_EQ(ns::stringFromData(codes), fixtures::glyphCodes(2, 286));
  EXPECT_EQ(ChapterInfo::getArabicVerseFor(store.content, 112, 2), fixtures::arabicText(112, 2));
  EXPECT_EQ(ChapterInfo::getArabicVerseFor(store.content, 112, 9), "");

  ns::LogCapture capture;
  capture.setEcho(false);
  EXPECT_TRUE(ChapterInfo::getVerseData(store.content, 1, 8).empty());
  EXPECT_TRUE(capture.contains("DATA FOR VERSE NOT FOUND: 8"));

  auto all = ChapterInfo::getAllVerseData(store.content, 112);
  ASSERT_EQ(all.size(), 4u);  // placeholder + 3 blobs (verse 4's blob is NULL)
  EXPECT_FALSE(all[0].has_value());
  EXPECT_EQ(ns::stringFromData(*all[1]), fixtures::glyphCodes(112, 1));
}

TEST_F(ChapterInfoTest, HezbFromTheTable) {
  EXPECT_EQ(ChapterInfo::hezbFromSurah(store.content, 2, 25), 1);
  EXPECT_EQ(ChapterInfo::hezbFromSurah(store.content, 2, 26), 2);
  EXPECT_EQ(ChapterInfo::hezbFromSurah(store.content, 5, 1), 0);
}

// --- Catalogue --------------------------------------------------------------------

TEST(TranslationCatalogue, AvailableTranslations) {
  auto without = ChapterInfo::getAvailableTranslations(false);
  auto with = ChapterInfo::getAvailableTranslations(true);
  ASSERT_EQ(without.size(), 38u);
  ASSERT_EQ(with.size(), 39u);
  EXPECT_EQ(std::vector<int>(without.begin(), without.begin() + 5), (std::vector<int>{0, 27, 38, 10, 3}));
  EXPECT_EQ(std::vector<int>(with.begin(), with.begin() + 3), (std::vector<int>{0, 1000, 27}));
  EXPECT_EQ(std::count(with.begin(), with.end(), 12), 0);
}

TEST(TranslationCatalogue, DirectionAndCodes) {
  for (int trans = -1; trans <= 1001; ++trans) {
    bool rtl = trans == 0 || trans == 15 || trans == 16 || trans == 27 || trans == 36 || trans == 38;
    EXPECT_EQ(ChapterInfo::isTranslationRTL(trans), rtl) << trans;
  }
  const std::pair<int, int> codes[] = {{0, 0}, {1, 5}, {2, 2}, {3, 3}, {5, 10}, {6, 11}, {7, 12},
                                       {8, 8}, {9, 9}, {10, 6}, {11, 18}, {12, 5}, {1000, 0}, {77, 5}};
  for (auto [trans, code] : codes) EXPECT_EQ(ChapterInfo::getWebsiteTransCodeFrom(trans), code) << trans;
}

TEST(TranslationCatalogue, TextDirection) {
  EXPECT_TRUE(ChapterInfo::isTextRTL("  \u0627\u0644"));
  EXPECT_TRUE(ChapterInfo::isTextRTL("\t\n\u05D0"));
  EXPECT_FALSE(ChapterInfo::isTextRTL(""));
  EXPECT_FALSE(ChapterInfo::isTextRTL("   "));
  EXPECT_FALSE(ChapterInfo::isTextRTL("Al \u0627"));
}

TEST(TranslationCatalogue, Labels) {
  EXPECT_EQ(ChapterInfo::getTranslationAbbrNameForNumber(10), "Tr");
  EXPECT_EQ(ChapterInfo::getTranslationNameForNumber(10), "Trans.");
  EXPECT_EQ(ChapterInfo::getTranslationFullNameForNumber(10), "Transliteration");
  EXPECT_EQ(ChapterInfo::getTranslationFullNameForNumber(5), "Indonesian");
  EXPECT_EQ(ChapterInfo::getTranslationAbbrNameForNumber(9), ChapterInfo::getTranslationAbbrNameForNumber(37));
  EXPECT_NE(ChapterInfo::getTranslationFullNameForNumber(9), ChapterInfo::getTranslationFullNameForNumber(37));
  EXPECT_EQ(ChapterInfo::getTranslationAbbrNameForNumber(1000), "My Notes");  // the English of "NotesPicker"
  EXPECT_EQ(ChapterInfo::getTranslationNameForNumber(0), "No Translation");
  EXPECT_EQ(ChapterInfo::getTranslationAbbrNameForNumber(55), "None");
}

}  // namespace
