#include "Classes/core/ZarvelSDKAppDelegate+DBHandler.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <set>
#include <vector>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Database.h"
#include "platform/foundation/Calendar.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"

namespace {

std::string openFailure(const std::string& message) {
  return ns::format("Failed to open database with message '%s'.", message.c_str());
}

// Opens the file without ever creating it; the engine's message on failure.
std::optional<std::string> openExisting(const std::string& path, int flags, sqlite3** out) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_FULLMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    return openFailure(message + " (" + path + ")");
  }
  *out = db;
  return std::nullopt;
}

std::optional<std::string> openUserDatabase(const std::string& path, sqlite3** out) {
  if (auto error = openExisting(path, SQLITE_OPEN_READWRITE, out)) return error;
  store::waitWhenBusy(*out);
  return std::nullopt;
}

// The content database must be there, be a database and hold the verse tables.
std::optional<std::string> openContentDatabase(const std::string& path, sqlite3** out) {
  sqlite3* db = nullptr;
  if (auto error = openExisting(path, SQLITE_OPEN_READONLY, &db)) return error;
  sqlite3_stmt* stmt = nullptr;
  std::string problem;
  if (sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'surahdata'", -1, &stmt,
                         nullptr) != SQLITE_OK)
    problem = sqlite3_errmsg(db);  // not a database at all
  else if (sqlite3_step(stmt) != SQLITE_ROW)
    problem = "not a content database";
  sqlite3_finalize(stmt);
  if (!problem.empty()) {
    sqlite3_close(db);
    return openFailure(problem + " (" + path + ")");
  }
  *out = db;
  return std::nullopt;
}

// The tables of the user database that no schema step creates.
const char* const kBaseTables[] = {"bookmarks", "savedsearches", "searchmatches", "recitations", "recitationmp3s"};
// The small ones, checked page by page at each launch: they hold what the person wrote.
const char* const kCheckedTables[] = {"bookmarks", "savedsearches", "searchmatches", "recitations"};

enum class UserFile { Usable, Empty, Unusable };

bool unreadable(int rc) {
  int primary = rc & 0xFF;
  return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

// What the user database file is. Only what the engine calls "not a database"
// or "corrupt" (its own checks included) makes it unusable, and a database of
// other tables, not ours: a missing, locked or unreadable file is left to the
// open that follows.
UserFile probeUserDatabase(const std::string& path, std::string& problem) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return UserFile::Usable;
  }
  UserFile verdict = UserFile::Usable;
  auto fail = [&](const std::string& why) {
    verdict = UserFile::Unusable;
    problem = why;
  };
  // Steps the statement through its rows; an unreadable file fails the probe.
  // True when every row was read.
  auto query = [&](const std::string& sql, const std::function<void(const std::string&)>& row) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    if (rc == SQLITE_OK)
      while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        row(text ? text : "");
      }
    if (unreadable(rc)) fail(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
  };
  std::set<std::string> tables;
  bool listed =
      query("SELECT name FROM sqlite_master WHERE type = 'table'", [&](const std::string& name) { tables.insert(name); });
  if (!listed && verdict == UserFile::Usable) {  // busy, say: not for the probe to judge
    sqlite3_close(db);
    return UserFile::Usable;
  }
  if (verdict == UserFile::Usable && tables.empty()) verdict = UserFile::Empty;
  for (const char* table : kBaseTables)
    if (verdict == UserFile::Usable && !tables.count(table)) fail(ns::format("no table %s", table));
  for (const char* table : kCheckedTables) {
    if (verdict != UserFile::Usable) break;
    query(ns::format("PRAGMA quick_check(%s)", table), [&](const std::string& result) {
      if (result != "ok" && verdict == UserFile::Usable) fail(table + (": " + result));
    });
  }
  sqlite3_close(db);
  return verdict;
}

// Creates in the empty file every table and index of the shipped database, and
// copies the rows it holds (its version rows), in one transaction.
bool createSchemaFrom(const std::string& path, const std::string& shipped) {
  sqlite3* db = nullptr;
  bool ok = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
  auto exec = [&](const std::string& sql) {
    return ok && (ok = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK);
  };
  sqlite3_stmt* attach = nullptr;
  ok = ok && sqlite3_prepare_v2(db, "ATTACH DATABASE ? AS shipped", -1, &attach, nullptr) == SQLITE_OK;
  if (ok) sqlite3_bind_text(attach, 1, shipped.c_str(), -1, SQLITE_TRANSIENT);
  ok = ok && sqlite3_step(attach) == SQLITE_DONE;
  sqlite3_finalize(attach);
  exec("BEGIN IMMEDIATE TRANSACTION");
  std::vector<std::pair<std::string, std::string>> objects;  // name, SQL; tables first
  sqlite3_stmt* stmt = nullptr;
  if (ok && sqlite3_prepare_v2(db,
                               "SELECT name, sql FROM shipped.sqlite_master WHERE sql IS NOT NULL AND name NOT "
                               "LIKE 'sqlite_%' ORDER BY type = 'index', rowid",
                               -1, &stmt, nullptr) == SQLITE_OK) {
    while (sqlite3_step(stmt) == SQLITE_ROW)
      objects.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                           reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
  }
  sqlite3_finalize(stmt);
  ok = ok && !objects.empty();
  for (const auto& [name, sql] : objects) exec(sql);
  for (const auto& [name, sql] : objects)
    if (ns::hasPrefix(sql, "CREATE TABLE")) exec("INSERT INTO main." + name + " SELECT * FROM shipped." + name);
  if (!exec("COMMIT TRANSACTION") && db) sqlite3_exec(db, "ROLLBACK TRANSACTION", nullptr, nullptr, nullptr);
  if (db) sqlite3_exec(db, "DETACH DATABASE shipped", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return ok;
}

// A name beside the file that no file has yet: "zarveldyn-unreadable-20261209-233305.db".
std::string datedNameBeside(const std::string& path) {
  std::string stem = ns::deletingPathExtension(path) + "-unreadable-" + ns::Calendar::format(ns::Date::now(), "%Y%m%d-%H%M%S");
  std::string candidate = stem + ".db";
  for (int n = 2; ns::fileExists(candidate) || ns::fileExists(candidate + "-journal"); ++n)
    candidate = ns::format("%s-%d.db", stem.c_str(), n);
  return candidate;
}

bool syncFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

// Copies through a temporary file renamed into place, so the target is whole or
// absent. A failure names the folder and the system's reason.
std::optional<std::string> copyAtomically(const std::string& from, const std::string& to) {
  std::string tmp = to + ".tmp";
  std::string folder = ns::deletingLastPathComponent(to);
  ns::removeItem(tmp);
  if (!ns::fileExists(from)) return "The file \"" + ns::lastPathComponent(from) + "\" does not exist.";
  std::string reason;
  if (!ns::createDirectory(folder, &reason)) return "The folder " + folder + " could not be created: " + reason;
  bool copied = ns::copyItem(from, tmp, &reason);
  if (copied) ::chmod(tmp.c_str(), 0600);  // the person's notes: not the bundle's permissions
  if (copied && !syncFile(tmp)) {
    reason = std::strerror(errno);
    copied = false;
  }
  if (!copied || !ns::moveItem(tmp, to, &reason)) {
    ns::removeItem(tmp);
    return "The file \"" + ns::lastPathComponent(from) + "\" could not be copied into " + folder + ": " + reason;
  }
  return std::nullopt;
}

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

// The database now has the shipped schema, 3.0 included.
void markShippedSchema() {
  defaults().setInteger(1, DBHandler::schemaVersion3_0());
  defaults().synchronize();
}

}  // namespace

DBHandler::DBHandler() : DBHandler(ns::documentsDirectory(), ns::resourceDirectory()) {}

DBHandler::DBHandler(std::string documentsDirectory, std::string resourceDirectory)
    : documents_(std::move(documentsDirectory)), resources_(std::move(resourceDirectory)) {}

DBHandler::~DBHandler() { closeDatabases(); }

std::string DBHandler::dbFileName() { return "zarvel.db"; }
std::string DBHandler::userDbFileName() { return "zarveldyn.db"; }
std::string DBHandler::schemaVersion3_0() { return "UpdatedSchemav3.054"; }

std::string DBHandler::userDatabasePath() const { return ns::pathJoin(documents_, userDbFileName()); }
std::string DBHandler::contentDatabasePath() const { return ns::pathJoin(resources_, dbFileName()); }

std::optional<std::string> DBHandler::tryCreateEditableCopyOfDatabase() {
  std::string target = userDatabasePath();
  if (ns::fileExists(target)) return std::nullopt;
  if (auto error = copyAtomically(ns::pathJoin(resources_, userDbFileName()), target))
    return ns::format("Failed to create writable database file with message '%s'.", error->c_str());
  markShippedSchema();
  return std::nullopt;
}

std::optional<std::string> DBHandler::provideUsableUserDatabase() {
  std::string path = userDatabasePath(), shipped = ns::pathJoin(resources_, userDbFileName()), problem;
  switch (probeUserDatabase(path, problem)) {
    case UserFile::Usable:
      return std::nullopt;
    case UserFile::Empty:
      // Nothing was ever written to it: it gets the tables it lacks.
      if (createSchemaFrom(path, shipped)) markShippedSchema();
      else ns::logf("ERROR - [%s] The empty user database could not be given its tables.", ns::logTimestamp().c_str());
      return std::nullopt;
    case UserFile::Unusable:
      break;
  }
  // Kept beside, with its journal (a hot journal must never be played into the fresh copy).
  std::string aside = datedNameBeside(path);
  if (!ns::moveItem(path, aside))
    return openFailure(problem + " (" + path + "); it could not be moved aside");
  for (const char* suffix : {"-journal", "-wal", "-shm"})
    if (ns::fileExists(path + suffix)) ns::moveItem(path + suffix, aside + suffix);
  ns::logf("ERROR - [%s] The user database could not be read (%s); it was moved to %s.", ns::logTimestamp().c_str(),
           problem.c_str(), aside.c_str());
  movedAsidePath_ = aside;
  return tryCreateEditableCopyOfDatabase();
}

void DBHandler::createEditableCopyOfDatabaseIfNeeded() {
  if (auto error = tryCreateEditableCopyOfDatabase()) ns::fatal(*error);
}

void DBHandler::createEditableCopyOfDatabaseIfNeeded2() {
  std::string target = ns::pathJoin(documents_, dbFileName());
  ns::removeItem(target);
  if (auto error = copyAtomically(contentDatabasePath(), target))
    ns::fatal(ns::format("Failed to create writable database file with message '%s'.", error->c_str()));
}

std::optional<std::string> DBHandler::tryInitializeDatabase() {
  closeDatabases();
  if (auto error = provideUsableUserDatabase()) return error;
  if (auto error = openUserDatabase(userDatabasePath(), &dbConnection_)) return error;
  upgradeSchema();
  if (auto error = openUserDatabase(userDatabasePath(), &dbConnectionAudioDownload_)) return error;
  if (auto error = openContentDatabase(contentDatabasePath(), &dbConnectionStatic_)) return error;
  store::setContentConnection(dbConnectionStatic_);
  return std::nullopt;
}

void DBHandler::initializeDatabase() {
  if (auto error = tryInitializeDatabase()) {
    closeDatabases();
    ns::fatal(*error);
  }
}

std::optional<std::string> DBHandler::userDatabaseReadOnlyReason() const {
  std::string path = userDatabasePath();
  // The folder too: the engine writes its journal beside the file.
  for (const std::string& item : {path, documents_}) {
    if (::access(item.c_str(), W_OK) != 0) return item + ": " + std::strerror(errno);
  }
  if (dbConnection_ && sqlite3_db_readonly(dbConnection_, "main") == 1) return path + ": opened read-only";
  return std::nullopt;
}

void DBHandler::upgradeSchema() {
  // Step 3.0 is also judged from the file itself, so a restored older copy is upgraded.
  if (defaults().integerForKey(schemaVersion3_0()) == 0 || ChapterInfo::needsSchema3_0(dbConnection_)) {
    if (ChapterInfo::updateDatabase3_0(dbConnection_)) {
      defaults().setInteger(1, schemaVersion3_0());
      defaults().synchronize();
    }
  }
  if (ChapterInfo::dbVersion(dbConnection_) < 3.1) ChapterInfo::updateDatabase3_1(dbConnection_);
  // 3.24 builds on 3.1: recording it over a failed 3.1 would skip 3.1 for good.
  double version = ChapterInfo::dbVersion(dbConnection_);
  if (version >= 3.1 && version < 3.24 && ChapterInfo::updateDatabase3_2(dbConnection_)) hasUpgradedApp_ = true;
  // Judged from the file alone: files upgraded by earlier releases are at 3.24 and still lack the keys.
  ChapterInfo::updateRecitationKeys(dbConnection_);
}

std::optional<std::string> DBHandler::closeDatabases() {
  if (!dbConnection_ && !dbConnectionAudioDownload_ && !dbConnectionStatic_) return std::nullopt;
  std::optional<std::string> failure;
  store::Guard guard(store::lock());
  ChapterInfo::finalizeStatements();
  if (store::contentConnection() == dbConnectionStatic_) store::setContentConnection(nullptr);
  for (sqlite3** db : {&dbConnection_, &dbConnectionAudioDownload_, &dbConnectionStatic_}) {
    if (*db && sqlite3_close(*db) != SQLITE_OK) {
      ns::logf("Error: failed to close database with message '%s'.", sqlite3_errmsg(*db));
      if (!failure) failure = sqlite3_errmsg(*db);
      // A statement still open keeps the connection busy: let the engine close
      // it once that statement is finalized, so the handle never leaks.
      sqlite3_close_v2(*db);
    }
    *db = nullptr;
  }
  return failure;
}
