#include "tools/contentdb/Sqlite.h"

namespace contentdb {

Statement::Statement(sqlite3* db, const std::string& sql) : db_(db) {
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK)
    throw DatabaseError(std::string(sqlite3_errmsg(db)) + " in: " + sql);
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::bind(int index, int64_t value) {
  sqlite3_bind_int64(stmt_, index, value);
  return *this;
}

Statement& Statement::bind(int index, const std::string& text) {
  sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  return *this;
}

Statement& Statement::bindBlob(int index, const std::string& bytes) {
  sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
  return *this;
}

bool Statement::step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  throw DatabaseError(sqlite3_errmsg(db_));
}

void Statement::run() {
  while (step()) {
  }
  sqlite3_reset(stmt_);
}

int64_t Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Statement::text(int column) const {
  const void* p = sqlite3_column_blob(stmt_, column);
  int n = sqlite3_column_bytes(stmt_, column);
  return p ? std::string(static_cast<const char*>(p), n) : std::string();
}

Database::Database(const std::string& path, bool create) {
  int flags = create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    std::string msg = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    throw DatabaseError("cannot open " + path + ": " + msg);
  }
}

Database::~Database() { sqlite3_close(db_); }

void Database::exec(const std::string& sql) {
  char* err = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
    std::string msg = err ? err : "unknown error";
    sqlite3_free(err);
    throw DatabaseError(msg + " in: " + sql.substr(0, 200));
  }
}

int64_t Database::count(const std::string& sql) {
  Statement s(db_, sql);
  return s.step() ? s.integer(0) : 0;
}

}  // namespace contentdb
