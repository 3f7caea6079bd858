#pragma once
// A thin owner of a SQLite connection and its statements for the builder;
// every failure throws DatabaseError with the engine's message.
#include <sqlite3.h>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace contentdb {

class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(int index, int64_t value);
  Statement& bind(int index, const std::string& text);
  Statement& bindBlob(int index, const std::string& bytes);
  // Steps once: true when a row is ready.
  bool step();
  // Steps to the end and resets, for writers.
  void run();
  int64_t integer(int column) const;
  std::string text(int column) const;  // text or blob bytes

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

class Database {
 public:
  // Opens (and creates when asked) the file; read only otherwise.
  Database(const std::string& path, bool create);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void exec(const std::string& sql);
  int64_t count(const std::string& sql);  // first column of the first row
  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace contentdb
