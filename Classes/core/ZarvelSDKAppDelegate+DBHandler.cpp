#include "Classes/core/ZarvelSDKAppDelegate+DBHandler.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Database.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"

namespace {

// Milliseconds a user connection waits for the other one to finish writing.
constexpr int kBusyTimeoutMs = 10000;

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
  sqlite3_busy_timeout(*out, kBusyTimeoutMs);
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
  // The shipped copy already has the 3.0 schema.
  defaults().setInteger(1, schemaVersion3_0());
  defaults().synchronize();
  return std::nullopt;
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
}

void DBHandler::closeDatabases() {
  if (!dbConnection_ && !dbConnectionAudioDownload_ && !dbConnectionStatic_) return;
  store::Guard guard(store::lock());
  ChapterInfo::finalizeStatements();
  if (store::contentConnection() == dbConnectionStatic_) store::setContentConnection(nullptr);
  for (sqlite3** db : {&dbConnection_, &dbConnectionAudioDownload_, &dbConnectionStatic_}) {
    if (*db && sqlite3_close(*db) != SQLITE_OK) {
      ns::logf("Error: failed to close database with message '%s'.", sqlite3_errmsg(*db));
      // A statement still open keeps the connection busy: let the engine close
      // it once that statement is finalized, so the handle never leaks.
      sqlite3_close_v2(*db);
    }
    *db = nullptr;
  }
}
