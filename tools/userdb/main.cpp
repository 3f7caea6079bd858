// userdb <schema.sql> <out.db>: builds the shipped user database from its SQL
// schema. Writes a temporary file and renames it, so a failed run leaves no
// half-built database behind.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: userdb <schema.sql> <out.db>\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "userdb: cannot read %s\n", argv[1]);
    return 1;
  }
  std::stringstream sql;
  sql << in.rdbuf();

  const std::string out = argv[2];
  const std::string tmp = out + ".tmp";
  std::remove(tmp.c_str());
  sqlite3* db = nullptr;
  char* error = nullptr;
  bool ok = sqlite3_open_v2(tmp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK &&
            sqlite3_exec(db, "BEGIN", nullptr, nullptr, &error) == SQLITE_OK &&
            sqlite3_exec(db, sql.str().c_str(), nullptr, nullptr, &error) == SQLITE_OK &&
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, &error) == SQLITE_OK;
  if (!ok) std::fprintf(stderr, "userdb: %s\n", error ? error : sqlite3_errmsg(db));
  sqlite3_free(error);
  if (sqlite3_close(db) != SQLITE_OK) ok = false;
  if (ok && std::rename(tmp.c_str(), out.c_str()) != 0) {
    std::perror("userdb: rename");
    ok = false;
  }
  if (!ok) std::remove(tmp.c_str());
  return ok ? 0 : 1;
}
