#pragma once
// The data store: every query of the screens, on the content database
// ("zarvel.db") and the user database ("zarveldyn.db"), plus the fixed Quran
// reference tables. Class methods only. Every database method takes the
// connection first, runs under one process-wide re-entrant lock and answers
// the empty value of its type on failure; nothing throws.
#include <sqlite3.h>

#include <optional>
#include <string>
#include <vector>

#include "Classes/core/Bookmark.h"
#include "Classes/core/SavedSearch.h"
#include "Classes/core/SearchResult.h"
#include "platform/foundation/Data.h"

class ChapterInfo {
 public:
  ChapterInfo() = delete;

  // --- Conventions ---------------------------------------------------------
  // Finalizes every cached statement (before the connections close).
  static void finalizeStatements();
  static void finalizeDynamicQueries();
  // BEGIN EXCLUSIVE on the connection. The calling thread holds the store lock
  // until commitTrans or rollbackTrans, so no other thread's statement falls
  // into the transaction. Never wait for the main thread in between.
  static bool beginTrans(sqlite3* db);
  // Commits; a failed commit rolls back. Releases the lock taken by beginTrans.
  // After a beginTrans whose BEGIN failed, commit and rollback only release it.
  static bool commitTrans(sqlite3* db);
  static bool rollbackTrans(sqlite3* db);
  // Compacts the database file.
  static bool vacuumDB(sqlite3* db);

  // --- Schema version and upgrade steps --------------------------------------
  // The highest version row; 1.0 when there is none.
  static double dbVersion(sqlite3* db);
  static bool setDBVersion(sqlite3* db, double version);
  // Each step creates only what the database lacks and commits as one
  // transaction (3.1 and 3.24 together with their version row); false when
  // the step failed and was rolled back.
  static bool updateDatabase3_0(sqlite3* db);
  static bool updateDatabase3_1(sqlite3* db);
  static bool updateDatabase3_2(sqlite3* db);
  // Gives recitationmp3s (reciter, surah, verse) and contrecitations (reciter,
  // surah, ishq) their unique keys, keeping the newest row of each key; a file
  // that has them is left as it is. One transaction; false when it failed.
  static bool updateRecitationKeys(sqlite3* db);
  // True when the database still lacks the 3.0 schema (no bookmarks.bkgroup).
  static bool needsSchema3_0(sqlite3* db);

  // --- Scripture texts (content database) -------------------------------------
  static std::string getTranslationFor(sqlite3* db, int trans, int surah, int verse);
  static std::string getArabicVerseFor(sqlite3* db, int surah, int verse);
  static std::vector<std::string> getTranslationDataFor(sqlite3* db, int trans, int surah);
  static ns::Data getVerseData(sqlite3* db, int surah, int verse);
  // Index 0 holds the null placeholder, then one blob per verse.
  static std::vector<std::optional<ns::Data>> getAllVerseData(sqlite3* db, int surah);
  static int hezbFromSurah(sqlite3* db, int surah, int verse);

  // --- Translation catalogue ----------------------------------------------------
  static std::vector<int> getAvailableTranslations(bool withNotes);
  // The offered translations that have text in the content database.
  static std::vector<int> getTranslationsWithText(sqlite3* db, bool withNotes);
  static bool isTranslationRTL(int trans);
  static bool isTextRTL(const std::string& text);
  static std::string getTranslationAbbrNameForNumber(int trans);
  static std::string getTranslationNameForNumber(int trans);
  static std::string getTranslationFullNameForNumber(int trans);
  static int getWebsiteTransCodeFrom(int trans);

  // --- Quran reference tables --------------------------------------------------
  static std::string getNameFromNumber(int surah);
  static std::string getMeaningFromNumber(int surah);
  static std::string getAltNameFromNumber(int surah);
  static std::string getAltMeaningFromNumber(int surah);
  static std::string getCityFromNumber(int surah);
  // Empty for the surahs without a note.
  static std::string getExtraChronoFromNumber(int surah);
  static int getVersesFromNumber(int surah);
  static int getChronoOrderForChapter(int surah);
  static int getSurahNameOffsetForAlignment(int surah);
  static bool isSajda(int surah, int verse);
  static bool isJuz(int surah, int verse);
  static int juzFrom(int surah, int verse);
  static int nearestjuzFrom(int surah, int verse);
  static bool isHizb(int surah, int verse);
  static int getHizbForJuz(int juz);
  static void setSurahVerseForJuz(int& surah, int& verse, int juz);
  static void setSurahVerseForHizb(int& surah, int& verse, int quarter);
  static std::string getSurahVerseForJuz(int juz);
  static std::string getSurahVerseForHizb(int quarter);
  static std::string getArabicNumbersFrom(const std::string& digits);
  static std::string getTwoDigitNumberFromInt(int n);
  static std::string getThreeDigitNumberFromInt(int n);

  // --- Search (content database) --------------------------------------------------
  // Hits in surah and verse order; sets *limitReached when more than 199.
  static std::vector<SearchResultPtr> getSearchResults(sqlite3* db, int trans, const std::string& text,
                                                       bool* limitReached);

  // --- Bookmarks and notes (user database) ------------------------------------------
  static bool isBookmarked(sqlite3* db, int surah, int verse);
  static bool hasBookmarkNote(sqlite3* db, int surah, int verse);
  static std::string getBookmarkNote(sqlite3* db, int surah, int verse);
  static void loadBookmarkNote(sqlite3* db, Bookmark& bookmark);
  static bool hasBookmarkSectionCollapsed(sqlite3* db, int surah);
  static bool insertBookmark(sqlite3* db, int surah, int verse, bool isAudio, int bkgroup,
                             const std::string& note);
  // nullopt stores NULL.
  static bool insertBookmarkNote(sqlite3* db, int surah, int verse, const std::optional<std::string>& note);
  static bool deleteBookmarkNote(sqlite3* db, int surah, int verse);
  static bool deleteBookmark(sqlite3* db, int surah, int verse, bool isAudio);
  static bool deleteAllBookmarks(sqlite3* db, int surah);
  static bool setBookmarkSectionCollapsed(sqlite3* db, int surah, bool collapsed);
  // Moves every bookmark to the group in one transaction; notes are untouched.
  static bool moveBookmarks(sqlite3* db, const std::vector<BookmarkPtr>& bookmarks, int group);
  // group -1: all groups; search nullopt or empty: no filter.
  static std::vector<BookmarkPtr> getAllBookmarks(sqlite3* db, bool withSections, int group,
                                                  const std::optional<std::string>& search, bool onlyNotes);
  static std::vector<BookmarkPtr> getAllBookmarks(sqlite3* db, bool withSections, int group,
                                                  const std::optional<std::string>& search);
  static std::vector<BookmarkPtr> getAllBookmarks(sqlite3* db, int group);
  static std::vector<BookmarkPtr> getAllBookmarks(sqlite3* db, int surah, int group);
  // surah -1: all surahs; group 0 or less: all groups.
  static int getBookmarkCount(sqlite3* db, int surah, int group);

  // --- Saved searches and search marks (user database) ------------------------------
  static std::vector<SavedSearchPtr> getSavedSearch(sqlite3* db);
  // The new row id, or -1 unless the insert completed.
  static int addSavedSearch(sqlite3* db, SavedSearch& search);
  static bool updateSavedSearch(sqlite3* db, SavedSearch& search);
  static bool deleteSavedSearch(sqlite3* db, const SavedSearch& search);
  static bool reflectSearchedVerses(sqlite3* db, int surah, int verse, int savedID);
  static bool removeReflecttionOnSearchedVerses(sqlite3* db, int savedID);
  static bool isReflectedSearch(sqlite3* db, int surah, int verse);
  static SavedSearchPtr getFirstSavedSearch(sqlite3* db, int surah, int verse);

  // --- Recitation catalogue ------------------------------------------------------
  static int getTotalRecitersCount();
  static std::string getReciterShortNameFromNumber(int reciter);
  static std::string getReciterFullNameFromNumber(int reciter);
  static bool doesReciterSupportContRecitation(int reciter);
  static int getRemoteFolderNumberForReciter(int reciter);
  static int getRemoteReciterHQCode(int reciter);
  static int getTotalPartsForChapter(int surah);

  // --- Installed audio (user database) ---------------------------------------------
  static std::vector<int> getInstalledAudios(sqlite3* db, int reciter);
  static std::vector<int> getInstalledAudioReciters(sqlite3* db);
  static bool isSurahAudioInstalled(sqlite3* db, int surah, int reciter);
  static bool isSurahAudioHQInstalled(sqlite3* db, int surah, int reciter);
  static bool isSurahAudioContinuous(sqlite3* db, int surah, int reciter);
  static int getResolvedReciterCode(sqlite3* db, int reciter, int surah);
  static bool markAudioAsInstalled(sqlite3* db, int surah, int reciter);
  static bool markContAudioAsInstalled(sqlite3* db, int surah, int reciter, bool isHQ);
  static bool insertMP3Blob(sqlite3* db, int surah, int verse, int reciter, const ns::Data& mp3);
  static bool insertContMP3Blob(sqlite3* db, int surah, int part, int reciter, const ns::Data& mp3);
  static bool deleteAudio(sqlite3* db, int surah, int reciter, bool andData);
  static bool deleteAudioMP3(sqlite3* db, int surah, int reciter);
  static bool deleteContAudio(sqlite3* db, int surah, int reciter);
  static bool deleteContAudioMP3(sqlite3* db, int surah, int reciter);
  static ns::Data getMP3Recitation(sqlite3* db, int surah, int verse, int reciter);
  static ns::Data getContMP3Recitation(sqlite3* db, int surah, int part, int reciter);

  // --- Audio facts (content database) ------------------------------------------------
  static int getContMP3Part(sqlite3* db, int surah, int verse, int reciter);
  static float getContMP3BeginsTime(sqlite3* db, int surah, int verse, int reciter);
  static int getMP3RecitationSize(sqlite3* db, int surah, int reciter);
};
