#include "Classes/core/Database.h"

#include <atomic>
#include <chrono>
#include <map>
#include <optional>
#include <thread>
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

thread_local int tLockDepth = 0;
// Set while a step runs that waits for a busy file itself, with the lock let go.
thread_local bool tWaitsOutsideLock = false;

// The pause between two tries on a busy file. A real pause: the file is held
// by another process, which no virtual clock moves on.
constexpr int kBusyPauseMs = 10;

void pauseForBusyFile() { std::this_thread::sleep_for(std::chrono::milliseconds(kBusyPauseMs)); }

void logBusyWait(sqlite3* db, int boundMs) {
  ns::logf("DEBUG - [%s] The database %s is busy; waiting up to %d ms.", ns::logTimestamp().c_str(),
           sqlite3_db_filename(db, "main"), boundMs);
}

void logBusyGiveUp(sqlite3* db, int waitedMs) {
  ns::logf("ERROR - [%s] The database %s stayed busy for %d ms; the statement fails.", ns::logTimestamp().c_str(),
           sqlite3_db_filename(db, "main"), waitedMs);
}

// The engine's busy handler: a short wait, as the store lock is held meanwhile.
int busyHandler(void* connection, int tries) {
  if (tWaitsOutsideLock) return 0;  // the caller waits itself, after letting the lock go
  auto* db = static_cast<sqlite3*>(connection);
  if (tries == 0) logBusyWait(db, kBusyWaitInLockMs);
  if (tries * kBusyPauseMs >= kBusyWaitInLockMs) {
    logBusyGiveUp(db, tries * kBusyPauseMs);
    return 0;
  }
  pauseForBusyFile();
  return 1;
}

// Lets the store lock go whole for its scope and takes it back as deep.
class LockReleased {
 public:
  LockReleased() : depth_(StoreLock::heldByThisThread()) {
    for (int i = 0; i < depth_; ++i) lock().unlock();
  }
  ~LockReleased() {
    for (int i = 0; i < depth_; ++i) lock().lock();
  }
  LockReleased(const LockReleased&) = delete;
  LockReleased& operator=(const LockReleased&) = delete;

 private:
  int depth_;
};

// Takes a cached statement out of the cache while its thread lets the lock go,
// so that no other thread binds or resets it meanwhile; puts it back after (a
// copy another thread prepared meanwhile is not in use then, and is finalized).
class CheckedOut {
 public:
  explicit CheckedOut(sqlite3_stmt* stmt) : stmt_(stmt) {
    for (auto it = cache().begin(); it != cache().end(); ++it) {
      if (it->second != stmt) continue;
      key_ = it->first;
      cache().erase(it);
      return;
    }
  }
  ~CheckedOut() {
    if (!key_) return;
    auto [it, inserted] = cache().emplace(*key_, stmt_);
    if (!inserted) {
      sqlite3_finalize(it->second);
      it->second = stmt_;
    }
  }
  CheckedOut(const CheckedOut&) = delete;
  CheckedOut& operator=(const CheckedOut&) = delete;

 private:
  sqlite3_stmt* stmt_;
  std::optional<Key> key_;
};

// Whether a statement of this thread may let the store lock go while it waits
// for a busy file: only where nothing of this thread depends on the lock,
// outside any transaction.
bool mayLetLockGo(sqlite3* db) {
  return StoreLock::heldByThisThread() > 0 && threadTransactions().empty() && sqlite3_get_autocommit(db);
}

// Runs an engine call that may find the user file busy, the engine's own short
// wait skipped: while the file stays busy, tries again every pause, with the
// store lock let go between tries, for up to kBusyWaitMs. `beforeRetry` readies
// the next try.
template <class Attempt, class BeforeRetry>
int waitingOutsideLock(sqlite3* db, Attempt attempt, BeforeRetry beforeRetry) {
  auto start = std::chrono::steady_clock::now();
  auto waitedMs = [&start] {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
  };
  auto once = [&] {
    tWaitsOutsideLock = true;
    int rc = attempt();
    tWaitsOutsideLock = false;
    return rc;
  };
  int rc = once();
  if ((rc & 0xFF) != SQLITE_BUSY) return rc;
  logBusyWait(db, kBusyWaitMs);
  while ((rc & 0xFF) == SQLITE_BUSY && waitedMs() < kBusyWaitMs) {
    beforeRetry();
    {
      LockReleased released;
      pauseForBusyFile();
    }
    rc = once();
  }
  if ((rc & 0xFF) == SQLITE_BUSY) logBusyGiveUp(db, kBusyWaitMs);
  return rc;
}

// Prepares a statement. A connection that has not read the schema yet (its
// first statement) reads it here, so preparing waits for a busy file as a first
// step does.
int prepare(sqlite3* db, const char* sql, sqlite3_stmt** stmt) {
  auto once = [&] {
    sqlite3_finalize(*stmt);
    *stmt = nullptr;
    return sqlite3_prepare_v2(db, sql, -1, stmt, nullptr);
  };
  if (!mayLetLockGo(db)) return once();
  return waitingOutsideLock(db, once, [] {});
}

}  // namespace

void StoreLock::lock() {
  mutex_.lock();
  ++tLockDepth;
}

void StoreLock::unlock() {
  --tLockDepth;
  mutex_.unlock();
}

bool StoreLock::try_lock() {
  if (!mutex_.try_lock()) return false;
  ++tLockDepth;
  return true;
}

int StoreLock::heldByThisThread() { return tLockDepth; }

StoreLock& lock() {
  static auto* storeLock = new StoreLock;  // lives as long as the process
  return *storeLock;
}

std::vector<bool>& threadTransactions() {
  thread_local std::vector<bool> transactions;
  return transactions;
}

void waitWhenBusy(sqlite3* db) {
  if (db) sqlite3_busy_handler(db, busyHandler, db);
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

int Query::step() {
  // Only a first step is tried again: a statement that gave rows has read the file already.
  bool waitsItself = !stepped_ && mayLetLockGo(db_);
  stepped_ = true;
  if (!waitsItself) return sqlite3_step(stmt_);
  // Other threads' statements (the content reads above all) run while this one waits.
  std::optional<CheckedOut> checkedOut;
  return waitingOutsideLock(db_, [this] { return sqlite3_step(stmt_); },
                            [&] {
                              if (!checkedOut) checkedOut.emplace(stmt_);
                              sqlite3_reset(stmt_);  // the bindings stay
                            });
}

bool Query::next() {
  if (!stmt_) return false;
  lastResult_ = step();
  return lastResult_ == SQLITE_ROW;
}

void Query::reset() {
  if (stmt_) sqlite3_reset(stmt_);
  stepped_ = false;
}

bool Query::runKeepingExisting(const char* label) {
  if (!stmt_) return false;
  lastResult_ = step();
  if (lastResult_ == SQLITE_CONSTRAINT && sqlite3_extended_errcode(db_) == SQLITE_CONSTRAINT_UNIQUE) return true;
  return finishRun(label, false);
}

bool Query::run(const char* label, bool prepareWording) {
  if (!stmt_) return false;
  lastResult_ = step();
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
  return text ? std::move(*text) : fallback;
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
  if (prepare(db, sql, &stmt) != SQLITE_OK) {
    logPrepareFailure(label, db);
    sqlite3_finalize(stmt);
    return nullptr;
  }
  // Another thread may have prepared the slot while this one waited with the lock let go.
  auto [it, inserted] = statements.emplace(key, stmt);
  if (!inserted) sqlite3_finalize(stmt);
  return it->second;
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
  if (prepare(db, sql.c_str(), &stmt_) != SQLITE_OK) {
    error_ = sqlite3_errmsg(db);
    logPrepareFailure(label, db);
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

}  // namespace store
