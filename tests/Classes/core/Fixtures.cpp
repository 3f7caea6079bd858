#include "Fixtures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Database.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"

namespace fixtures {

namespace fs = std::filesystem;

std::string makeTempDir() {
  static std::atomic<int> counter{0};
  const char* base = std::getenv("ZARVEL_TEST_TMP");
  fs::path root = base ? fs::path(base) : fs::temp_directory_path() / "zarvel-test";
  fs::path dir = root / ns::format("store-%d-%d", static_cast<int>(getpid()), counter++);
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

namespace {
const char* kWords[] = {"mercy", "light", "darkness", "sun", "moon", "merciful", "o'brien", "100%", "snake_case",
                        "back\\slash"};
}

std::string verseText(int trans, int surah, int verse) {
  if (trans == 10) return ns::format("bismi <b>%d</b> %d", surah, verse);
  return ns::format("Verse %d of surah %d in translation %d speaks of %s", verse, surah, trans,
                    kWords[(surah * 7 + verse) % 10]);
}

std::string arabicText(int surah, int verse) {
  // "Lord of mercy" as the Uthmani text writes it (alef wasla, vowel marks),
  // then the position; trans0fts holds it in the standard spelling.
  return ns::format("\u0631\u064E\u0628\u0651\u064F \u0671\u0644\u0631\u0651\u064E\u062D\u0652\u0645\u064E\u0629\u0650 %d %d",
                    surah, verse);
}

std::string glyphCodes(int surah, int verse) {
  return std::string{static_cast<char>(82 + surah % 100), ' ', static_cast<char>(82 + verse % 150), '\n'};
}

void exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "") << "\n" << sql.substr(0, 200);
  sqlite3_free(error);
}

std::string scalar(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* stmt = nullptr;
  std::string value;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW &&
      sqlite3_column_text(stmt, 0))
    value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
  sqlite3_finalize(stmt);
  return value;
}

int scalarInt(sqlite3* db, const std::string& sql) { return std::atoi(scalar(db, sql).c_str()); }

namespace {
sqlite3* open(const std::string& path, int flags) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open " << path << ": " << sqlite3_errmsg(db);
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 5000);
  return db;
}

sqlite3* create(const std::string& path) {
  fs::remove(path);
  sqlite3* db = open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  if (db) sqlite3_exec(db, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
  return db;
}

// Inserts rows through one prepared statement; bind() fills one row.
template <typename Bind>
void insertRows(sqlite3* db, const std::string& sql, Bind bind) {
  sqlite3_stmt* stmt = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  for (int surah : kFixtureSurahs) {
    for (int verse = 1; verse <= ChapterInfo::getVersesFromNumber(surah); ++verse) {
      bind(stmt, surah, verse);
      EXPECT_EQ(sqlite3_step(stmt), SQLITE_DONE) << sqlite3_errmsg(db);
      sqlite3_reset(stmt);
      sqlite3_clear_bindings(stmt);
    }
  }
  sqlite3_finalize(stmt);
}

void bindText(sqlite3_stmt* stmt, int index, const std::string& text) {
  sqlite3_bind_text(stmt, index, text.c_str(), -1, SQLITE_TRANSIENT);
}
}  // namespace

int quarterOf(int surah, int verse) {
  int quarter = 1;
  for (int q = 1; q <= 240; ++q) {
    int s, v;
    ChapterInfo::setSurahVerseForHizb(s, v, q);
    if (std::make_pair(s, v) <= std::make_pair(surah, verse)) quarter = q;
  }
  return quarter;
}

void buildContentDatabase(const std::string& path) {
  sqlite3* db = create(path);
  ASSERT_NE(db, nullptr);
  exec(db, "BEGIN");
  for (int trans = 1; trans <= 38; ++trans) {
    if (trans == 10) continue;
    exec(db, ns::format("CREATE TABLE trans%d (surah INTEGER, verse INTEGER, translation TEXT)", trans));
    insertRows(db, ns::format("INSERT INTO trans%d VALUES (?, ?, ?)", trans), [trans](sqlite3_stmt* s, int su, int v) {
      sqlite3_bind_int(s, 1, su);
      sqlite3_bind_int(s, 2, v);
      if (trans == 2 && su == 1 && v == 3) sqlite3_bind_null(s, 3);
      else bindText(s, 3, verseText(trans, su, v));
    });
  }
  exec(db, "CREATE TABLE transliterationdata (surah TEXT, verse TEXT, translation TEXT)");
  insertRows(db, "INSERT INTO transliterationdata VALUES (?, ?, ?)", [](sqlite3_stmt* s, int su, int v) {
    bindText(s, 1, std::to_string(su));
    bindText(s, 2, std::to_string(v));
    bindText(s, 3, verseText(10, su, v));
  });
  for (int trans = 0; trans <= 38; ++trans) {
    exec(db, ns::format("CREATE VIRTUAL TABLE trans%dfts USING fts4 (surah, verse, translation)", trans));
    insertRows(db, ns::format("INSERT INTO trans%dfts VALUES (?, ?, ?)", trans), [trans](sqlite3_stmt* s, int su, int v) {
      bindText(s, 1, std::to_string(su));
      bindText(s, 2, std::to_string(v));
      bindText(s, 3, trans == 0 ? ns::format("\u0631\u0628 \u0627\u0644\u0631\u062D\u0645\u0629 %d %d", su, v)
                                : verseText(trans, su, v));
    });
  }
  exec(db, "CREATE TABLE simplearabic (surah INTEGER, verse INTEGER, translation TEXT)");
  insertRows(db, "INSERT INTO simplearabic VALUES (?, ?, ?)", [](sqlite3_stmt* s, int su, int v) {
    sqlite3_bind_int(s, 1, su);
    sqlite3_bind_int(s, 2, v);
    bindText(s, 3, arabicText(su, v));
  });
  exec(db, "CREATE TABLE surahdata (surah INTEGER, verse INTEGER, data BLOB)");
  insertRows(db, "INSERT INTO surahdata VALUES (?, ?, ?)", [](sqlite3_stmt* s, int su, int v) {
    sqlite3_bind_int(s, 1, su);
    sqlite3_bind_int(s, 2, v);
    if (su == 112 && v == 4) return;  // NULL blob
    std::string codes = glyphCodes(su, v);
    sqlite3_bind_blob(s, 3, codes.data(), static_cast<int>(codes.size()), SQLITE_TRANSIENT);
  });
  exec(db, "CREATE TABLE hezbmeta (surah INTEGER, verse INTEGER, hezb INTEGER)");
  insertRows(db, "INSERT INTO hezbmeta VALUES (?, ?, ?)", [](sqlite3_stmt* s, int su, int v) {
    sqlite3_bind_int(s, 1, su);
    sqlite3_bind_int(s, 2, v);
    sqlite3_bind_int(s, 3, quarterOf(su, v));
  });
  exec(db, "CREATE TABLE glyphs (style INTEGER, glyph INTEGER, data BLOB);"
           "INSERT INTO glyphs VALUES (0, 0, x'89504E47');"
           "CREATE TABLE audioparts (reciter INTEGER, surah INTEGER, verse INTEGER, part INTEGER);"
           "CREATE TABLE audiotimings (reciter INTEGER, surah INTEGER, verse INTEGER, beginsat DOUBLE);"
           "CREATE TABLE recitationmp3sizes (reciter INTEGER, surah INTEGER, size INTEGER);"
           "INSERT INTO recitationmp3sizes VALUES (0, 1, 123456), (7, 2, 98765432);");
  insertRows(db, "INSERT INTO audioparts VALUES (3, ?, ?, ?)", [](sqlite3_stmt* s, int su, int v) {
    sqlite3_bind_int(s, 1, su);
    sqlite3_bind_int(s, 2, v);
    sqlite3_bind_int(s, 3, 1 + (v - 1) / 8);
  });
  insertRows(db, "INSERT INTO audiotimings VALUES (3, ?, ?, ?)", [](sqlite3_stmt* s, int su, int v) {
    sqlite3_bind_int(s, 1, su);
    sqlite3_bind_int(s, 2, v);
    sqlite3_bind_double(s, 3, (v - 1) * 2.1);
  });
  exec(db, "COMMIT");
  sqlite3_close(db);
}

std::string shippedSchemaSql() {
  std::ifstream in(ns::sourceDirectory() + "/resources/zarveldyn.sql");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

namespace {
// The user tables as they were before 3.0, with a few rows.
const char* kBefore3_0 =
    "CREATE TABLE bookmarks (surah INTEGER, verse INTEGER, is_audio INTEGER DEFAULT 0, note TEXT,"
    " UNIQUE (surah, verse, is_audio));"
    "CREATE TABLE savedsearches (savesearch_id INTEGER PRIMARY KEY AUTOINCREMENT, searchword TEXT,"
    " hitcount INTEGER, translation INTEGER, isuse INTEGER DEFAULT 0);"
    "CREATE TABLE searchmatches (surah INTEGER, verse INTEGER, savesearch_id INTEGER);"
    "CREATE TABLE recitations (reciter INTEGER, surah INTEGER);"
    "CREATE TABLE recitationmp3s (reciter INTEGER, surah INTEGER, verse INTEGER, mp3 BLOB);"
    "INSERT INTO bookmarks VALUES (2, 255, 0, 'old note'), (1, 1, 0, NULL);"
    "INSERT INTO savedsearches (searchword, hitcount, translation, isuse) VALUES ('mercy', 3, 1, 1);"
    "INSERT INTO searchmatches VALUES (2, 5, 1);"
    "INSERT INTO recitations VALUES (1, 2), (1, 2), (4, 18);"  // an old duplicate install mark
    "INSERT INTO recitationmp3s VALUES (1, 2, 1, x'00'), (1, 2, 1, x'01');";  // re-installed: the newer row last

// 3.0 as it shipped then: heights table without the later columns.
const char* k3_0 =
    "ALTER TABLE bookmarks ADD COLUMN bkgroup INTEGER NOT NULL DEFAULT 0;"
    "ALTER TABLE savedsearches ADD COLUMN datesearched DOUBLE NOT NULL DEFAULT 0;"
    "CREATE TABLE optimizedtrans (translation INTEGER NOT NULL, surah INTEGER NOT NULL, verse INTEGER NOT NULL,"
    " height INTEGER NOT NULL, islandscape INTEGER NOT NULL DEFAULT 0, potraitwidth INTEGER NOT NULL,"
    " landscapewidth INTEGER NOT NULL, devicescale DOUBLE NOT NULL DEFAULT 1);"
    "CREATE UNIQUE INDEX optimizedtrans_all ON optimizedtrans (translation, surah, verse, islandscape, potraitwidth,"
    " landscapewidth);"
    "DELETE FROM recitations WHERE rowid = 2;"
    "CREATE UNIQUE INDEX recitations_recsur ON recitations (reciter, surah);"
    "CREATE TABLE bookmarksections (surah INTEGER NOT NULL DEFAULT 1, collapsed INTEGER NOT NULL DEFAULT 1);"
    "CREATE INDEX bookmarksections_surah ON bookmarksections (surah);"
    "INSERT INTO bookmarks VALUES (3, 7, 0, 'grouped', 2);"
    "INSERT INTO bookmarksections VALUES (3, 1);";

// 3.1 as it shipped then: continuous recitations without the high-quality flag.
const char* k3_1 =
    "CREATE INDEX searchmatches_surahverse ON searchmatches (surah, verse);"
    "CREATE TABLE dbversion ('version' double);"
    "CREATE UNIQUE INDEX dbver ON dbversion (version);"
    "REPLACE INTO dbversion (version) VALUES (3.1);"
    "CREATE TABLE contrecitations ('reciter' integer, 'surah' integer);"
    "CREATE INDEX contrecitsurahrecit ON contrecitations (reciter, surah);"
    "CREATE TABLE contrecitationmp3s ('reciter' integer, 'surah' integer, 'part' integer, 'mp3' BLOB);"
    "CREATE INDEX contrecitationmp3s_recitersurah ON contrecitationmp3s (reciter, surah);"
    "CREATE UNIQUE INDEX contrecitationmp3s_recitersurahpart ON contrecitationmp3s (reciter, surah, part);"
    "INSERT INTO contrecitations VALUES (2, 36), (2, 36);"
    "INSERT INTO contrecitationmp3s VALUES (2, 36, 1, x'00');";
}  // namespace

void buildUserDatabase(const std::string& path, UserSchema schema) {
  sqlite3* db = create(path);
  ASSERT_NE(db, nullptr);
  if (schema == UserSchema::Shipped) {
    exec(db, shippedSchemaSql());
  } else {
    exec(db, kBefore3_0);
    if (schema != UserSchema::Before3_0) exec(db, k3_0);
    if (schema == UserSchema::At3_1) exec(db, k3_1);
  }
  sqlite3_close(db);
}

sqlite3* openReadOnly(const std::string& path) { return open(path, SQLITE_OPEN_READONLY); }
sqlite3* openReadWrite(const std::string& path) { return open(path, SQLITE_OPEN_READWRITE); }

namespace {
// The content database is the same for every test: built once per process.
const std::string& sharedContentPath() {
  static const std::string path = [] {
    std::string file = makeTempDir() + "/zarvel.db";
    buildContentDatabase(file);
    return file;
  }();
  return path;
}
}  // namespace

Store::Store() : dir(makeTempDir()) {
  content = openReadOnly(sharedContentPath());
  buildUserDatabase(dir + "/zarveldyn.db", UserSchema::Shipped);
  user = openReadWrite(dir + "/zarveldyn.db");
  installer = openReadWrite(dir + "/zarveldyn.db");
  // Durability is not under test here; syncing every commit only slows the suite.
  exec(user, "PRAGMA synchronous = OFF");
  exec(installer, "PRAGMA synchronous = OFF");
  // Busy files are waited for as the application's connections wait.
  store::waitWhenBusy(user);
  store::waitWhenBusy(installer);
  store::setContentConnection(content);
}

Store::~Store() {
  ChapterInfo::finalizeStatements();
  store::setContentConnection(nullptr);
  sqlite3_close(content);
  sqlite3_close(user);
  sqlite3_close(installer);
  fs::remove_all(dir);
}

}  // namespace fixtures
