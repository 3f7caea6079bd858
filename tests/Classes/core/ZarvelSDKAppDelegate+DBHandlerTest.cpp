// The user database's first-run copy, connections and schema upgrades.
#include "Classes/core/ZarvelSDKAppDelegate+DBHandler.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <atomic>
#include <csignal>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <thread>

#include "Classes/core/ChapterInfo.h"
#include "Fixtures.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"

namespace {

using fixtures::UserSchema;

// "table.column" for every column and "index(col, col)" for every index, "unique " before a unique one.
std::set<std::string> schemaOf(sqlite3* db) {
  std::set<std::string> items;
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT m.name || '.' || p.name FROM sqlite_master m, pragma_table_info(m.name) p "
                     "WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite_%' UNION ALL "
                     "SELECT CASE WHEN m.sql LIKE 'CREATE UNIQUE%' THEN 'unique ' ELSE '' END || m.name || '(' || "
                     "group_concat(p.name, ', ') || ')' FROM sqlite_master m, "
                     "pragma_index_info(m.name) p WHERE m.type = 'index' AND m.sql IS NOT NULL GROUP BY m.name",
                     -1, &stmt, nullptr);
  while (sqlite3_step(stmt) == SQLITE_ROW) items.insert(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
  sqlite3_finalize(stmt);
  return items;
}

class DBHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fixtures::makeTempDir();
    documents = dir + "/Documents";
    resources = dir + "/resources";
    std::filesystem::create_directories(resources);
    fixtures::buildUserDatabase(resources + "/zarveldyn.db", UserSchema::Shipped);
    fixtures::buildContentDatabase(resources + "/zarvel.db");
    defaults().resetForTesting();
    defaults().setFilePath(dir + "/defaults.json");
  }
  void TearDown() override { defaults().resetForTesting(); }

  static ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }
  int marker() { return static_cast<int>(defaults().integerForKey("UpdatedSchemav3.054")); }

  // Places a user database of the given schema in Documents, as an older installation left it.
  void installOld(UserSchema schema, int markerValue) {
    std::filesystem::create_directories(documents);
    fixtures::buildUserDatabase(documents + "/zarveldyn.db", schema);
    defaults().setInteger(markerValue, "UpdatedSchemav3.054");
  }

  std::string dir, documents, resources;

  // With another process holding the file for 250 ms, a first read and a first
  // write on the chosen connection of a freshly opened store both wait for it.
  void handlerFor(const std::function<sqlite3*(DBHandler&)>& connection) {
    std::filesystem::remove_all(documents);
    DBHandler handler(documents, resources);
    handler.createEditableCopyOfDatabaseIfNeeded();
    for (int step = 0; step < 2; ++step) {
      SCOPED_TRACE(step == 0 ? "read" : "write");
      ASSERT_EQ(handler.tryInitializeDatabase(), std::nullopt);
      sqlite3* other = fixtures::openReadWrite(documents + "/zarveldyn.db");
      fixtures::exec(other, ns::format("BEGIN EXCLUSIVE; INSERT INTO bookmarks (surah, verse) VALUES (3, %d)", 3 + step));
      std::thread holder([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        fixtures::exec(other, "COMMIT");
      });
      ns::LogCapture capture;
      capture.setEcho(false);
      if (step == 0)
        EXPECT_TRUE(ChapterInfo::isBookmarked(connection(handler), 3, 3));
      else
        EXPECT_TRUE(ChapterInfo::insertMP3Blob(connection(handler), 1, 1, 1, ns::dataFromString("mp3")));
      holder.join();
      sqlite3_close(other);
      EXPECT_FALSE(capture.contains("stayed busy"));
      handler.closeDatabases();
    }
    ASSERT_EQ(handler.tryInitializeDatabase(), std::nullopt);
    EXPECT_EQ(ns::stringFromData(ChapterInfo::getMP3Recitation(handler.dbConnection(), 1, 1, 1)), "mp3");
  }
};

TEST_F(DBHandlerTest, FirstRunCopiesAndLaterRunsDoNot) {
  DBHandler handler(documents, resources);
  ASSERT_EQ(handler.tryCreateEditableCopyOfDatabase(), std::nullopt);
  EXPECT_TRUE(ns::fileExists(documents + "/zarveldyn.db"));
  EXPECT_FALSE(ns::fileExists(documents + "/zarveldyn.db.tmp"));
  EXPECT_EQ(marker(), 1);

  ASSERT_EQ(handler.tryInitializeDatabase(), std::nullopt);
  ChapterInfo::insertBookmark(handler.dbConnection(), 2, 255, false, 0, "mine");
  handler.closeDatabases();

  defaults().setInteger(7, "UpdatedSchemav3.054");
  ASSERT_EQ(handler.tryCreateEditableCopyOfDatabase(), std::nullopt);
  EXPECT_EQ(marker(), 7);  // left as it is
  ASSERT_EQ(handler.tryInitializeDatabase(), std::nullopt);
  EXPECT_EQ(ChapterInfo::getBookmarkNote(handler.dbConnection(), 2, 255), "mine");
}

// The first-run copy is whole or absent: a copy that fails part-way (the disk
// full) leaves no file that a later launch would take for the database.
TEST_F(DBHandlerTest, AFailedCopyIsReportedAndLeavesNoFile) {
  struct Case {
    const char* name;
    std::function<void()> breakCopy, mend;
  };
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const Case cases[] = {
      {"shipped file missing",
       [this] { std::filesystem::rename(resources + "/zarveldyn.db", resources + "/moved.db"); },
       [this] { std::filesystem::rename(resources + "/moved.db", resources + "/zarveldyn.db"); }},
      {"disk full part-way",
       [] {
         signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending the process
         rlimit small = {8192, RLIM_INFINITY};
         setrlimit(RLIMIT_FSIZE, &small);
       },
       [&saved] { setrlimit(RLIMIT_FSIZE, &saved); }},
  };
  ASSERT_GT(*ns::fileSize(resources + "/zarveldyn.db"), 8192u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(documents);
    defaults().setInteger(0, "UpdatedSchemav3.054");
    DBHandler handler(documents, resources);
    c.breakCopy();
    auto error = handler.tryCreateEditableCopyOfDatabase();
    c.mend();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->rfind("Failed to create writable database file with message '", 0), 0u) << *error;
    EXPECT_FALSE(ns::fileExists(documents + "/zarveldyn.db"));
    EXPECT_FALSE(ns::fileExists(documents + "/zarveldyn.db.tmp"));
    EXPECT_EQ(marker(), 0);

    // The next launch copies it whole.
    ASSERT_EQ(handler.tryCreateEditableCopyOfDatabase(), std::nullopt);
    ASSERT_EQ(handler.tryInitializeDatabase(), std::nullopt);
    EXPECT_EQ(handler.movedAsidePath(), std::nullopt);
    EXPECT_EQ(ChapterInfo::dbVersion(handler.dbConnection()), 3.24);
  }
}

TEST_F(DBHandlerTest, FreshInstallRunsNoStepAndShowsNoNotice) {
  DBHandler handler(documents, resources);
  ns::LogCapture capture;
  capture.setEcho(false);
  ASSERT_EQ(handler.tryCreateEditableCopyOfDatabase(), std::nullopt);
  ASSERT_EQ(handler.tryInitializeDatabase(), std::nullopt);
  EXPECT_FALSE(handler.hasUpgradedApp());
  EXPECT_FALSE(capture.contains("Running Schema"));
  EXPECT_FALSE(capture.contains("Schema ERROR"));
  EXPECT_EQ(ChapterInfo::dbVersion(handler.dbConnection()), 3.24);
  EXPECT_NE(handler.dbConnectionAudioDownload(), nullptr);
  EXPECT_EQ(ChapterInfo::getVersesFromNumber(1), static_cast<int>(ChapterInfo::getTranslationDataFor(handler.dbConnectionStatic(), 1, 1).size()));
}

TEST_F(DBHandlerTest, UpgradeMatrixKeepsEveryRow) {
  sqlite3* shipped = fixtures::openReadOnly(resources + "/zarveldyn.db");
  std::set<std::string> shippedSchema = schemaOf(shipped);
  sqlite3_close(shipped);

  struct Case {
    UserSchema schema;
    int marker;
    bool upgraded;
  };
  const Case cases[] = {{UserSchema::Before3_0, 0, true},
                        {UserSchema::Before3_0, 1, true},  // a restored older file, marker already set
                        {UserSchema::At3_0, 1, true},
                        {UserSchema::At3_1, 1, true},
                        {UserSchema::Shipped, 1, false},
                        {UserSchema::Shipped, 0, false}};  // defaults deleted on an up-to-date file
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.schema) * 10 + c.marker);
    std::filesystem::remove_all(documents);
    installOld(c.schema, c.marker);
    DBHandler handler(documents, resources);
    ns::LogCapture capture;
    capture.setEcho(false);
    ASSERT_EQ(handler.tryInitializeDatabase(), std::nullopt);
    sqlite3* db = handler.dbConnection();
    EXPECT_FALSE(capture.contains("Schema ERROR"));
    EXPECT_EQ(handler.hasUpgradedApp(), c.upgraded);
    EXPECT_EQ(ChapterInfo::dbVersion(db), 3.24);
    EXPECT_EQ(marker(), 1);

    std::set<std::string> upgraded = schemaOf(db);
    for (const std::string& item : shippedSchema)
      if (!upgraded.count(item)) ADD_FAILURE() << "missing " << item;

    if (c.schema != UserSchema::Shipped) {
      EXPECT_EQ(ChapterInfo::getBookmarkNote(db, 2, 255), "old note");
      EXPECT_TRUE(ChapterInfo::isBookmarked(db, 1, 1));
      EXPECT_EQ(ChapterInfo::getSavedSearch(db).at(0)->strSearchText(), "mercy");
      EXPECT_TRUE(ChapterInfo::isReflectedSearch(db, 2, 5));
      EXPECT_EQ(ChapterInfo::getInstalledAudios(db, 1), (std::vector<int>{2}));
      EXPECT_EQ(ChapterInfo::getInstalledAudios(db, 4), (std::vector<int>{18}));
      // The re-installed verse keeps its newer audio only.
      EXPECT_EQ(fixtures::scalar(db, "SELECT group_concat(hex(mp3)) FROM recitationmp3s"), "01");
    }
    if (c.schema == UserSchema::At3_0 || c.schema == UserSchema::At3_1) {
      EXPECT_EQ(ChapterInfo::getAllBookmarks(db, 3, 2).size(), 1u);
      EXPECT_TRUE(ChapterInfo::hasBookmarkSectionCollapsed(db, 3));
    }
    if (c.schema == UserSchema::At3_1) {
      EXPECT_TRUE(ChapterInfo::isSurahAudioContinuous(db, 36, 2));
      EXPECT_EQ(fixtures::scalarInt(db, "SELECT count(*) FROM contrecitationmp3s"), 1);
      EXPECT_EQ(fixtures::scalarInt(db, "SELECT count(*) FROM contrecitations"), 1);
    }

    // Installing again replaces what is there, on every file.
    ns::Data first(64, 1), second(64, 2);
    ASSERT_TRUE(ChapterInfo::insertMP3Blob(db, 9, 1, 3, first));
    ASSERT_TRUE(ChapterInfo::insertMP3Blob(db, 9, 1, 3, second));
    EXPECT_EQ(ChapterInfo::getMP3Recitation(db, 9, 1, 3), second);
    EXPECT_EQ(fixtures::scalarInt(db, "SELECT count(*) FROM recitationmp3s WHERE surah = 9"), 1);
    ASSERT_TRUE(ChapterInfo::markContAudioAsInstalled(db, 9, 3, false));
    ASSERT_TRUE(ChapterInfo::markContAudioAsInstalled(db, 9, 3, false));
    EXPECT_EQ(fixtures::scalarInt(db, "SELECT count(*) FROM contrecitations WHERE surah = 9"), 1);

    // Every step run again changes nothing and reports nothing.
    capture.clear();
    std::set<std::string> before = schemaOf(db);
    EXPECT_TRUE(ChapterInfo::updateDatabase3_0(db));
    EXPECT_TRUE(ChapterInfo::updateDatabase3_1(db));
    EXPECT_TRUE(ChapterInfo::updateDatabase3_2(db));
    EXPECT_TRUE(ChapterInfo::updateRecitationKeys(db));
    EXPECT_FALSE(capture.contains("Schema ERROR"));
    EXPECT_EQ(schemaOf(db), before);
    EXPECT_EQ(ChapterInfo::dbVersion(db), 3.24);
  }
}

// A version table that refuses some versions makes a step fail: it is rolled
// back whole and not recorded, and 3.24 is never recorded over a missing 3.1.
TEST_F(DBHandlerTest, AFailedStepIsRolledBackAndNotRecorded) {
  struct Case {
    UserSchema schema;
    const char* refuse;      // SQL run on the old file before launch
    double version;          // the version read afterwards
    const char* rolledBack;  // counts what the failed step must not have left behind
    const char* logged;
  };
  const Case cases[] = {
      {UserSchema::At3_1,
       "CREATE TRIGGER frozen BEFORE INSERT ON dbversion WHEN NEW.version > 3.2 "
       "BEGIN SELECT RAISE(ABORT, 'versions are frozen'); END;",
       3.1, "SELECT count(*) FROM pragma_table_info('contrecitations') WHERE name = 'ishq'", "[setDBVersion] Error:"},
      {UserSchema::At3_0,
       "CREATE TABLE dbversion ('version' double);"
       "CREATE TRIGGER frozen BEFORE INSERT ON dbversion WHEN NEW.version < 3.2 "
       "BEGIN SELECT RAISE(ABORT, 'versions are frozen'); END;",
       1.0, "SELECT count(*) FROM sqlite_master WHERE name = 'contrecitations'", "[1.3] 3.1 Schema ERROR"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    std::filesystem::remove_all(documents);
    installOld(c.schema, 1);
    sqlite3* db = fixtures::openReadWrite(documents + "/zarveldyn.db");
    fixtures::exec(db, c.refuse);
    sqlite3_close(db);

    DBHandler handler(documents, resources);
    ns::LogCapture capture;
    capture.setEcho(false);
    ASSERT_EQ(handler.tryInitializeDatabase(), std::nullopt);
    EXPECT_FALSE(handler.hasUpgradedApp());
    EXPECT_DOUBLE_EQ(ChapterInfo::dbVersion(handler.dbConnection()), c.version);
    EXPECT_EQ(fixtures::scalarInt(handler.dbConnection(), c.rolledBack), 0);
    EXPECT_TRUE(capture.contains(c.logged));
  }
}

TEST_F(DBHandlerTest, MissingOrForeignContentDatabaseIsReportedNotCreated) {
  installOld(UserSchema::Shipped, 1);
  std::filesystem::remove(resources + "/zarvel.db");
  DBHandler handler(documents, resources);
  auto missing = handler.tryInitializeDatabase();
  ASSERT_TRUE(missing.has_value());
  EXPECT_EQ(missing->rfind("Failed to open database with message '", 0), 0u) << *missing;
  EXPECT_FALSE(ns::fileExists(resources + "/zarvel.db"));

  std::ofstream(resources + "/zarvel.db") << "this is not a database at all, just some text to fill a page";
  auto garbage = handler.tryInitializeDatabase();
  ASSERT_TRUE(garbage.has_value());
  EXPECT_NE(garbage->find("Failed to open database"), std::string::npos);

  fixtures::buildUserDatabase(resources + "/zarvel.db", UserSchema::Shipped);  // a database, but not ours
  auto foreign = handler.tryInitializeDatabase();
  ASSERT_TRUE(foreign.has_value());
  EXPECT_NE(foreign->find("not a content database"), std::string::npos) << *foreign;
}

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Overwrites the first page of the table's tree with bytes no page holds.
void damageTable(const std::string& path, const char* table) {
  sqlite3* db = fixtures::openReadWrite(path);
  int page = fixtures::scalarInt(db, ns::format("SELECT rootpage FROM sqlite_master WHERE name = '%s'", table));
  int pageSize = fixtures::scalarInt(db, "PRAGMA page_size");
  sqlite3_close(db);
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(static_cast<std::streamoff>(page - 1) * pageSize);
  std::string garbage(pageSize, '\xEE');
  file.write(garbage.data(), pageSize);
}

// An empty file holds nothing: it gets the shipped tables, and no notice.
TEST_F(DBHandlerTest, AnEmptyUserDatabaseGetsTheShippedTables) {
  sqlite3* shipped = fixtures::openReadOnly(resources + "/zarveldyn.db");
  std::set<std::string> shippedSchema = schemaOf(shipped);
  sqlite3_close(shipped);
  for (const char* setup : {"", "PRAGMA user_version = 7"}) {  // 0 bytes, and a database of no tables
    SCOPED_TRACE(setup);
    std::filesystem::remove_all(documents);
    std::filesystem::create_directories(documents);
    std::ofstream(documents + "/zarveldyn.db").close();
    if (*setup) {
      sqlite3* db = fixtures::openReadWrite(documents + "/zarveldyn.db");
      fixtures::exec(db, setup);
      sqlite3_close(db);
    }
    defaults().setInteger(0, "UpdatedSchemav3.054");
    DBHandler handler(documents, resources);
    ns::LogCapture capture;
    capture.setEcho(false);
    ASSERT_EQ(handler.tryInitializeDatabase(), std::nullopt);
    EXPECT_EQ(handler.movedAsidePath(), std::nullopt);
    EXPECT_FALSE(handler.hasUpgradedApp());
    EXPECT_FALSE(capture.contains("Schema ERROR"));
    EXPECT_EQ(marker(), 1);
    EXPECT_EQ(schemaOf(handler.dbConnection()), shippedSchema);
    EXPECT_EQ(ChapterInfo::dbVersion(handler.dbConnection()), 3.24);
    EXPECT_TRUE(ChapterInfo::insertBookmark(handler.dbConnection(), 2, 255, false, 0, "kept"));
    EXPECT_EQ(ChapterInfo::getBookmarkNote(handler.dbConnectionAudioDownload(), 2, 255), "kept");
    EXPECT_EQ(std::filesystem::directory_iterator(documents)->path().filename(), "zarveldyn.db");
  }
}

// A file that is not a usable database is moved aside, whole, and the launch
// goes on with a fresh copy.
TEST_F(DBHandlerTest, AnUnreadableUserDatabaseIsMovedAsideAndReplaced) {
  struct Case {
    const char* name;
    std::function<void(const std::string&)> make;
  };
  const Case cases[] = {
      {"text", [](const std::string& path) { std::ofstream(path) << "my notes, saved as text by mistake\n"; }},
      {"damaged", [](const std::string& path) {
         fixtures::buildUserDatabase(path, UserSchema::Shipped);
         sqlite3* db = fixtures::openReadWrite(path);
         fixtures::exec(db, "WITH RECURSIVE v(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM v WHERE n < 286) "
                            "INSERT INTO bookmarks (surah, verse, note) SELECT 2, n, printf('%.200c', 'n') FROM v");
         sqlite3_close(db);
         damageTable(path, "bookmarks");
       }},
      {"not ours", [this](const std::string& path) { std::filesystem::copy_file(resources + "/zarvel.db", path); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(documents);
    std::filesystem::create_directories(documents);
    std::string path = documents + "/zarveldyn.db";
    c.make(path);
    std::string original = fileBytes(path);

    DBHandler handler(documents, resources);
    ns::LogCapture capture;
    capture.setEcho(false);
    ASSERT_EQ(handler.tryInitializeDatabase(), std::nullopt);
    ASSERT_TRUE(handler.movedAsidePath().has_value());
    const std::string& aside = *handler.movedAsidePath();
    EXPECT_EQ(ns::deletingLastPathComponent(aside), documents);
    EXPECT_EQ(ns::lastPathComponent(aside).rfind("zarveldyn-unreadable-", 0), 0u) << aside;
    EXPECT_EQ(fileBytes(aside), original);
    EXPECT_TRUE(capture.contains("it was moved to " + aside));

    EXPECT_FALSE(handler.hasUpgradedApp());
    EXPECT_EQ(ChapterInfo::dbVersion(handler.dbConnection()), 3.24);
    EXPECT_TRUE(ChapterInfo::insertBookmark(handler.dbConnection(), 1, 1, false, 0, "new"));
    EXPECT_EQ(ChapterInfo::getBookmarkCount(handler.dbConnection(), -1, 0), 1);
    handler.closeDatabases();

    // The next launch finds the new file good and moves nothing.
    DBHandler next(documents, resources);
    ASSERT_EQ(next.tryInitializeDatabase(), std::nullopt);
    EXPECT_EQ(next.movedAsidePath(), std::nullopt);
    EXPECT_EQ(ChapterInfo::getBookmarkNote(next.dbConnection(), 1, 1), "new");
  }
}

// Another process holds the user file: a write waits for it without keeping
// content reads on other threads behind it, and goes through once it is free.
TEST_F(DBHandlerTest, AWriteWaitsForABusyUserFileWhileContentReadsGoOn) {
  DBHandler handler(documents, resources);
  handler.createEditableCopyOfDatabaseIfNeeded();
  handler.initializeDatabase();
  sqlite3* other = fixtures::openReadWrite(documents + "/zarveldyn.db");
  fixtures::exec(other, "BEGIN IMMEDIATE; INSERT INTO bookmarks (surah, verse) VALUES (3, 3)");  // writing, not yet committed

  ns::LogCapture capture;
  capture.setEcho(false);
  std::atomic<bool> written{false}, done{false};
  std::thread writer([&] {
    written = ChapterInfo::insertBookmark(handler.dbConnection(), 2, 255, false, 0, "waited");
    done = true;
  });
  for (int i = 0; i < 2000 && !capture.contains("is busy; waiting up to 500 ms"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_TRUE(capture.contains("is busy; waiting up to 500 ms"));
  EXPECT_EQ(ChapterInfo::getTranslationFor(handler.dbConnectionStatic(), 1, 1, 1), fixtures::verseText(1, 1, 1));
  EXPECT_FALSE(ChapterInfo::isBookmarked(handler.dbConnection(), 3, 3));  // even on the waiting connection
  EXPECT_FALSE(done);  // the reads did not wait for the writer
  fixtures::exec(other, "COMMIT");
  writer.join();
  EXPECT_TRUE(written);
  EXPECT_EQ(ChapterInfo::getBookmarkNote(handler.dbConnection(), 2, 255), "waited");
  EXPECT_TRUE(ChapterInfo::isBookmarked(handler.dbConnection(), 3, 3));
  EXPECT_FALSE(capture.contains("stayed busy"));
  sqlite3_close(other);
}

// Each user connection waits out a short hold of the file the same way, its
// very first statement too, which must read the schema before it can prepare.
TEST_F(DBHandlerTest, EveryUserConnectionWaitsOutAShortHoldFromItsFirstStatement) {
  handlerFor([](DBHandler& h) { return h.dbConnectionAudioDownload(); });
  handlerFor([](DBHandler& h) { return h.dbConnection(); });
}

// A file that stays busy fails the statement after a short wait, logged; the
// cached statement it used works again afterwards.
TEST_F(DBHandlerTest, AUserFileThatStaysBusyFailsTheStatementAfterAShortWait) {
  DBHandler handler(documents, resources);
  handler.createEditableCopyOfDatabaseIfNeeded();
  handler.initializeDatabase();
  sqlite3* other = fixtures::openReadWrite(documents + "/zarveldyn.db");
  fixtures::exec(other, "BEGIN EXCLUSIVE");
  ns::LogCapture capture;
  capture.setEcho(false);
  EXPECT_FALSE(ChapterInfo::isBookmarked(handler.dbConnection(), 1, 1));
  EXPECT_FALSE(ChapterInfo::insertBookmark(handler.dbConnection(), 1, 1, false, 0, ""));
  EXPECT_EQ(capture.count("stayed busy for 500 ms; the statement fails."), 2);
  fixtures::exec(other, "COMMIT");
  sqlite3_close(other);
  EXPECT_TRUE(ChapterInfo::insertBookmark(handler.dbConnection(), 1, 1, false, 0, ""));
  EXPECT_TRUE(ChapterInfo::isBookmarked(handler.dbConnection(), 1, 1));

  // Inside a transaction of its own on the other connection the lock cannot go:
  // the wait is shorter still, and the transaction is left as it was.
  ASSERT_TRUE(ChapterInfo::beginTrans(handler.dbConnectionAudioDownload()));
  EXPECT_TRUE(ChapterInfo::deleteBookmark(handler.dbConnectionAudioDownload(), 1, 1, false));
  EXPECT_FALSE(ChapterInfo::insertBookmark(handler.dbConnection(), 1, 2, false, 0, ""));
  EXPECT_EQ(capture.count("stayed busy for 100 ms"), 1);
  EXPECT_TRUE(ChapterInfo::rollbackTrans(handler.dbConnectionAudioDownload()));
  EXPECT_TRUE(ChapterInfo::isBookmarked(handler.dbConnection(), 1, 1));

  // A launch that finds the file held takes it for busy, not for damaged: nothing is moved aside.
  handler.closeDatabases();
  other = fixtures::openReadWrite(documents + "/zarveldyn.db");
  fixtures::exec(other, "BEGIN EXCLUSIVE");
  ASSERT_EQ(handler.tryInitializeDatabase(), std::nullopt);
  EXPECT_EQ(handler.movedAsidePath(), std::nullopt);
  fixtures::exec(other, "COMMIT");
  sqlite3_close(other);
  EXPECT_TRUE(ChapterInfo::isBookmarked(handler.dbConnection(), 1, 1));
}

TEST_F(DBHandlerTest, MissingUserDatabaseIsNotCreatedByTheOpen) {
  DBHandler handler(documents, resources);
  std::filesystem::create_directories(documents);
  auto error = handler.tryInitializeDatabase();
  ASSERT_TRUE(error.has_value());
  EXPECT_FALSE(ns::fileExists(documents + "/zarveldyn.db"));
}

TEST_F(DBHandlerTest, ContentDatabaseIsReadOnly) {
  DBHandler handler(documents, resources);
  handler.createEditableCopyOfDatabaseIfNeeded();
  handler.initializeDatabase();
  EXPECT_EQ(sqlite3_db_readonly(handler.dbConnectionStatic(), "main"), 1);
  EXPECT_EQ(sqlite3_db_readonly(handler.dbConnection(), "main"), 0);
}

TEST_F(DBHandlerTest, AFailedCloseIsLoggedAndTheOtherConnectionsStillClose) {
  DBHandler handler(documents, resources);
  handler.createEditableCopyOfDatabaseIfNeeded();
  handler.initializeDatabase();
  // A statement left open by someone else keeps the main connection busy.
  sqlite3_stmt* open = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(handler.dbConnection(), "SELECT 1", -1, &open, nullptr), SQLITE_OK);
  ns::LogCapture log;
  log.setEcho(false);
  handler.closeDatabases();
  EXPECT_EQ(log.count("Error: failed to close database with message '"), 1);
  EXPECT_EQ(handler.dbConnection(), nullptr);
  EXPECT_EQ(handler.dbConnectionAudioDownload(), nullptr);
  EXPECT_EQ(handler.dbConnectionStatic(), nullptr);
  sqlite3_finalize(open);  // the engine finishes closing the connection here
}

}  // namespace
