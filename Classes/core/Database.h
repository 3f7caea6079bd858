#pragma once
// The data store's SQLite plumbing: the one re-entrant lock, statements cached
// per connection and slot, per-call statements, and typed bind/step/column helpers.
#include <sqlite3.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Data.h"

namespace store {

// Serialises every statement of the data store, on any connection. Re-entrant;
// it knows how many times the calling thread holds it, so that a statement
// waiting for a busy file can let it go whole and take it back.
class StoreLock {
 public:
  void lock();
  void unlock();
  bool try_lock();
  // How many times the calling thread holds the lock.
  static int heldByThisThread();

 private:
  std::recursive_mutex mutex_;
};
StoreLock& lock();
using Guard = std::lock_guard<StoreLock>;

// This thread's beginTrans calls still open, innermost last: whether each BEGIN
// started a transaction. Each holds the store lock once.
std::vector<bool>& threadTransactions();

// How long one statement waits for a user database file that another process
// (or a backup tool) holds. The first bound applies where the store lock is let
// go while waiting (preparing or a first step, outside any transaction); the
// second where it cannot be (inside a transaction, the schema steps), so every
// other thread waits too.
constexpr int kBusyWaitMs = 500;
constexpr int kBusyWaitInLockMs = 100;
// Installs the store's waiting on a connection to the user database.
void waitWhenBusy(sqlite3* db);

// One slot per fixed statement. A slot keeps one prepared statement per connection.
enum class Slot : int {
  DbVersion, SetDbVersion, BeginTrans, CommitTrans, RollbackTrans, Vacuum,
  ArabicVerse, VerseData, AllVerseData, Hezb,
  IsBookmarked, HasBookmarkNote, GetBookmarkNote, LoadBookmarkNote, SectionCollapsed,
  SectionDelete, SectionInsert, InsertBookmark, InsertBookmarkNote, DeleteBookmarkNote,
  DeleteBookmark, MoveBookmark,
  GetSavedSearch, AddSavedSearch, DeleteSavedSearch, IsReflectedSearch, FirstSavedSearch,
  InstalledAudios, InstalledReciters, AudioInstalled, AudioHQInstalled, AudioContinuous,
  MarkAudio, MarkContAudio, InsertMP3, InsertContMP3, DeleteAudio, DeleteAudioMP3,
  DeleteContAudio, DeleteContAudioMP3, MP3Recitation, ContMP3Recitation, ContMP3Part,
  ContMP3Begins, MP3Size, TranslationFor,
  Count
};

// Finalizes every cached statement on every connection (before connections close).
void finalizeAll();

// The label format of a failed prepare: "[label] Error: failed to prepare statement with message '%s'."
void logPrepareFailure(const char* label, sqlite3* db);

// Common bind/step/column operations over one statement handle.
class Query {
 public:
  explicit operator bool() const { return stmt_ != nullptr; }
  sqlite3_stmt* handle() const { return stmt_; }

  // Binds the arguments by position from 1: ints (and bools as 1/0), doubles,
  // text (copied by the engine), optional text (NULL when empty) and blobs (not copied).
  template <typename... Args>
  Query& bind(const Args&... args) {
    int index = 1;
    (bindOne(index++, args), ...);
    return *this;
  }

  // True when the step produced a row. The first step of a statement that finds
  // the file busy waits for it, with the store lock let go when that is sound.
  bool next();
  // Steps a writer once: true when it ran to completion; otherwise logs
  // "[label] Error: failed to execute statement with message '%s'." (or the
  // prepare wording, which two writers use) and returns false.
  bool run(const char* label, bool prepareWording = false);
  // Steps an insert whose row may be there already: a row that the table's
  // unique key refuses counts as stored, silently.
  bool runKeepingExisting(const char* label);
  // The engine's last step result.
  int lastResult() const { return lastResult_; }
  // Readies the statement to step again from its first row (the bindings stay
  // until bound again).
  void reset();

  int columnInt(int col) const;
  double columnDouble(int col) const;
  std::optional<std::string> columnText(int col) const;
  std::string columnTextOr(int col, const std::string& fallback) const;
  ns::Data columnBlob(int col) const;

 protected:
  Query(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
  void bindOne(int index, int value);
  void bindOne(int index, bool value) { bindOne(index, value ? 1 : 0); }
  void bindOne(int index, double value);
  void bindOne(int index, const std::string& value);
  void bindOne(int index, const char* value);
  void bindOne(int index, const std::optional<std::string>& value);
  void bindOne(int index, const ns::Data& value);
  // True when the last step completed; otherwise logs the failure.
  bool finishRun(const char* label, bool prepareWording);
  // One step, waiting for a busy file as next() says.
  int step();

  sqlite3* db_;
  sqlite3_stmt* stmt_;
  int lastResult_ = SQLITE_OK;
  bool stepped_ = false;
};

// A fixed statement: prepared once per (connection, slot), reset when the scope ends.
// A null label makes a failed prepare silent. No method keeps one in the middle of
// its rows while it calls another locked method: a statement waiting for a busy
// file lets the lock go, and then other threads may take any statement left in
// the cache (its own it takes out of the cache while it waits).
class CachedStatement : public Query {
 public:
  CachedStatement(sqlite3* db, Slot slot, const char* sql, const char* label);
  // A family of fixed statements (one per translation number): slot plus index.
  CachedStatement(sqlite3* db, Slot slot, int index, const char* sql, const char* label);
  ~CachedStatement();
  CachedStatement(const CachedStatement&) = delete;
  CachedStatement& operator=(const CachedStatement&) = delete;
};

// A statement whose text varies per call: prepared here, finalized when the scope ends.
class Statement : public Query {
 public:
  Statement(sqlite3* db, const std::string& sql, const char* label);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  // The engine's prepare error when preparing failed.
  const std::string& error() const { return error_; }

 private:
  std::string error_;
};

// The content database connection the records read glyph codes and verse texts
// from when the caller does not pass one (the delegate's static connection).
sqlite3* contentConnection();
void setContentConnection(sqlite3* db);

}  // namespace store
