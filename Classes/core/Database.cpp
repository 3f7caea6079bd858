#include "Classes/core/Database.h"

#include <atomic>
#include <map>
#include <utility>

#include "platform/foundation/Log.h"

namespace store {

namespace {

using Key = std::pair<sqlite3*, int>;

// Guarded by lock(). Never destroyed, so finalizeAll stays safe from static destructors.
std::map<Key, sqlite3_stmt*>& cache() {
  static auto* statements = new std::map<Key, sqlite3_stmt*>;
  return *statements;
}

std::atomic<sqlite3*> gContent{nullptr};

}  // namespace

std::recursive_mutex& lock() {
  static auto* mutex = new std::recursive_mutex;  // lives as long as the process
  return *mutex;
}

void finalizeAll() {
  Guard guard(lock());
  for (auto& [key, stmt] : cache()) sqlite3_finalize(stmt);
  cache().clear();
}

void logPrepareFailure(const char* label, sqlite3* db) {
  if (label) ns::logf("[%s] Error: failed to prepare statement with message '%s'.", label, sqlite3_errmsg(db));
}

sqlite3* contentConnection() { return gContent.load(); }
void setContentConnection(sqlite3* db) { gContent.store(db); }

// --- Query -------------------------------------------------------------------

bool Query::next() {
  if (!stmt_) return false;
  lastResult_ = sqlite3_step(stmt_);
  return lastResult_ == SQLITE_ROW;
}

bool Query::runKeepingExisting(const char* label) {
  if (!stmt_) return false;
  lastResult_ = sqlite3_step(stmt_);
  if (lastResult_ == SQLITE_CONSTRAINT && sqlite3_extended_errcode(db_) == SQLITE_CONSTRAINT_UNIQUE) return true;
  return finishRun(label, false);
}

bool Query::run(const char* label, bool prepareWording) {
  if (!stmt_) return false;
  lastResult_ = sqlite3_step(stmt_);
  return finishRun(label, prepareWording);
}

bool Query::finishRun(const char* label, bool prepareWording) {
  if (lastResult_ == SQLITE_DONE) return true;
  ns::logf(prepareWording ? "[%s] Error: failed to prepare statement with message '%s'."
                          : "[%s] Error: failed to execute statement with message '%s'.",
           label, sqlite3_errmsg(db_));
  return false;
}

int Query::columnInt(int col) const { return sqlite3_column_int(stmt_, col); }
double Query::columnDouble(int col) const { return sqlite3_column_double(stmt_, col); }

std::optional<std::string> Query::columnText(int col) const {
  const unsigned char* text = sqlite3_column_text(stmt_, col);
  if (!text) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(stmt_, col));
}

std::string Query::columnTextOr(int col, const std::string& fallback) const {
  auto text = columnText(col);
  return text ? *text : fallback;
}

ns::Data Query::columnBlob(int col) const {
  const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, col));
  int size = sqlite3_column_bytes(stmt_, col);
  if (!bytes || size <= 0) return {};
  return ns::Data(bytes, bytes + size);
}

void Query::bindOne(int index, int value) { sqlite3_bind_int(stmt_, index, value); }
void Query::bindOne(int index, double value) { sqlite3_bind_double(stmt_, index, value); }
void Query::bindOne(int index, const std::string& value) {
  sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
}
void Query::bindOne(int index, const char* value) { sqlite3_bind_text(stmt_, index, value, -1, SQLITE_TRANSIENT); }
void Query::bindOne(int index, const std::optional<std::string>& value) {
  if (value) bindOne(index, *value);
  else sqlite3_bind_null(stmt_, index);
}
void Query::bindOne(int index, const ns::Data& value) {
  // Not copied: the data outlives the step, which runs before the scope ends.
  sqlite3_bind_blob(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
}

// --- CachedStatement -----------------------------------------------------------

namespace {
sqlite3_stmt* cachedHandle(sqlite3* db, int slot, const char* sql, const char* label) {
  if (!db) return nullptr;
  Key key{db, slot};
  auto& statements = cache();
  if (auto it = statements.find(key); it != statements.end()) return it->second;
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
    logPrepareFailure(label, db);
    sqlite3_finalize(stmt);
    return nullptr;
  }
  statements.emplace(key, stmt);
  return stmt;
}
}  // namespace

// Callers hold lock() around the whole query; the cache relies on it.
CachedStatement::CachedStatement(sqlite3* db, Slot slot, const char* sql, const char* label)
    : Query(db, cachedHandle(db, static_cast<int>(slot), sql, label)) {}

CachedStatement::CachedStatement(sqlite3* db, Slot slot, int index, const char* sql, const char* label)
    : Query(db, cachedHandle(db, static_cast<int>(Slot::Count) + static_cast<int>(slot) * 1000 + index, sql, label)) {}

CachedStatement::~CachedStatement() {
  if (stmt_) {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);  // no blob pointer outlives the call
  }
}

// --- Statement -------------------------------------------------------------------

Statement::Statement(sqlite3* db, const std::string& sql, const char* label) : Query(db, nullptr) {
  if (!db) return;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) {
    error_ = sqlite3_errmsg(db);
    logPrepareFailure(label, db);
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

}  // namespace store
