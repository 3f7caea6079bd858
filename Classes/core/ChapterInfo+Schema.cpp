// ChapterInfo: the user database's version row and its schema upgrade steps.
// Each step creates only what the database lacks, judged from its own schema,
// and commits as one transaction: a failed step changes nothing and is not recorded.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Database.h"
#include "platform/foundation/Log.h"

using store::CachedStatement;
using store::Guard;
using store::Slot;
using store::Statement;

namespace {

bool schemaHas(sqlite3* db, const char* type, const std::string& name) {
  Statement q(db, "SELECT 1 FROM sqlite_master WHERE type = ? AND name = ?", nullptr);
  return q && q.bind(type, name).next();
}

bool tableExists(sqlite3* db, const std::string& table) { return schemaHas(db, "table", table); }
bool indexExists(sqlite3* db, const std::string& index) { return schemaHas(db, "index", index); }

bool columnExists(sqlite3* db, const std::string& table, const std::string& column) {
  Statement q(db, "SELECT 1 FROM pragma_table_info(?) WHERE name = ?", nullptr);
  return q && q.bind(table, column).next();
}

// The index's columns in order, joined with ", ".
std::string indexColumns(sqlite3* db, const std::string& index) {
  Statement q(db, "SELECT name FROM pragma_index_info(?) ORDER BY seqno", nullptr);
  std::string columns;
  q.bind(index);
  while (q.next()) columns += (columns.empty() ? "" : ", ") + q.columnTextOr(0, "");
  return columns;
}

using Check = std::function<bool(sqlite3*)>;

Check tableMissing(std::string table) {
  return [table](sqlite3* db) { return !tableExists(db, table); };
}
// The column is missing from a table that exists.
Check columnMissing(std::string table, std::string column) {
  return [table, column](sqlite3* db) { return tableExists(db, table) && !columnExists(db, table, column); };
}
// The index is missing, and the table has every column it needs.
Check indexCreatable(std::string index, std::string table, std::vector<std::string> columns) {
  return [=](sqlite3* db) {
    if (indexExists(db, index) || !tableExists(db, table)) return false;
    for (const std::string& column : columns)
      if (!columnExists(db, table, column)) return false;
    return true;
  };
}
// True when a unique index of the table covers exactly these columns, in this order.
bool hasUniqueKey(sqlite3* db, const std::string& table, const std::string& columns) {
  Statement q(db, "SELECT name FROM pragma_index_list(?) WHERE \"unique\" = 1", nullptr);
  std::vector<std::string> unique;
  q.bind(table);
  while (q.next()) unique.push_back(q.columnTextOr(0, ""));
  for (const std::string& index : unique)
    if (indexColumns(db, index) == columns) return true;
  return false;
}

// The table has these columns but no unique key over them.
Check uniqueKeyMissing(std::string table, std::vector<std::string> columns) {
  return [=](sqlite3* db) {
    if (!tableExists(db, table)) return false;
    std::string joined;
    for (const std::string& column : columns) {
      if (!columnExists(db, table, column)) return false;
      joined += (joined.empty() ? "" : ", ") + column;
    }
    return !hasUniqueKey(db, table, joined);
  };
}
// The key is missing and an index of its name is in the way.
Check keyNameTaken(std::string index, std::string table, std::vector<std::string> columns) {
  Check missing = uniqueKeyMissing(table, columns);
  return [=](sqlite3* db) { return missing(db) && indexExists(db, index); };
}
// The index exists over other columns than these.
Check indexOutdated(std::string index, std::string columns) {
  return [=](sqlite3* db) { return indexExists(db, index) && indexColumns(db, index) != columns; };
}
Check always() {
  return [](sqlite3*) { return true; };
}

struct Action {
  Check needed;
  std::string sql;
  std::string prepareMessage;  // one %s: the engine's message
  std::string runMessage;      // %s the date text (when dated), %s the engine's message
  bool dated = true;
};

// Gives the table a unique key over the columns: keeps the newest row of each
// key (the one the last install wrote), drops a plain index of the key's name,
// and creates the unique index. Messages are numbered from `first`.
std::vector<Action> uniqueKeyActions(const std::string& table, const std::string& index,
                                     const std::vector<std::string>& columns, int first) {
  std::string list;
  for (const std::string& column : columns) list += (list.empty() ? "" : ", ") + column;
  auto message = [](int n) { return ns::format("[%d] Keys Schema ERROR: message '%%s'.", n); };
  auto dated = [](int n) { return ns::format("ERROR - [%%s] [%d] Keys Schema ERROR: message '%%s'.", n); };
  Check missing = uniqueKeyMissing(table, columns);
  return {
      {missing, "DELETE FROM " + table + " WHERE rowid NOT IN (SELECT MAX(rowid) FROM " + table + " GROUP BY " + list + ")",
       message(first), dated(first)},
      {keyNameTaken(index, table, columns), "DROP INDEX " + index, message(first + 1), dated(first + 1)},
      {missing, "CREATE UNIQUE INDEX " + index + " ON " + table + " (" + list + ")", message(first + 2),
       dated(first + 2)},
  };
}

const char* kOptimizedColumns = "translation, surah, verse, islandscape, potraitwidth, landscapewidth, isipad, fontscale, isfullscreen";
const char* kCreateOptimizedAll =
    "CREATE UNIQUE INDEX optimizedtrans_all ON optimizedtrans (translation, surah, verse, islandscape, potraitwidth, "
    "landscapewidth, isipad, fontscale, isfullscreen)";
const std::vector<std::string> kOptimizedIndexColumns{"translation", "surah", "verse", "islandscape", "potraitwidth",
                                                      "landscapewidth", "isipad", "fontscale", "isfullscreen"};

bool runStatement(sqlite3* db, const Action& action) {
  Statement q(db, action.sql, nullptr);
  if (!q) {
    ns::logf(action.prepareMessage.c_str(), q.error().c_str());
    return false;
  }
  int rc = sqlite3_step(q.handle());
  if (rc == SQLITE_ROW || rc == SQLITE_DONE) return true;
  if (action.dated) ns::logf(action.runMessage.c_str(), ns::logTimestamp().c_str(), sqlite3_errmsg(db));
  else ns::logf(action.runMessage.c_str(), sqlite3_errmsg(db));
  return false;
}

bool exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

// Runs the needed actions and then `finish` in one transaction.
bool runStep(sqlite3* db, const std::vector<Action>& actions, const std::function<bool()>& finish = {}) {
  Guard guard(store::lock());
  // A step with nothing to do takes no write lock (the key step is judged at every launch).
  if (db && !finish && std::none_of(actions.begin(), actions.end(), [db](const Action& a) { return a.needed(db); }))
    return true;
  if (!db || !exec(db, "BEGIN IMMEDIATE TRANSACTION")) {
    if (db) ns::logf("Schema ERROR: message '%s'.", sqlite3_errmsg(db));
    return false;
  }
  bool ok = true;
  for (const Action& action : actions) {
    if (action.needed(db) && !runStatement(db, action)) {
      ok = false;
      break;
    }
  }
  if (ok && finish) ok = finish();
  if (ok && exec(db, "COMMIT TRANSACTION")) return true;
  if (ok) ns::logf("Schema ERROR: message '%s'.", sqlite3_errmsg(db));
  exec(db, "ROLLBACK TRANSACTION");
  return false;
}

}  // namespace

bool ChapterInfo::updateRecitationKeys(sqlite3* db) {
  // Files upgraded from before 3.24 got these tables without their unique keys,
  // so a re-installed verse added a row instead of replacing the old one.
  static const std::vector<Action> actions = [] {
    std::vector<Action> all = uniqueKeyActions("recitationmp3s", "recitationmp3s_recsurverse", {"reciter", "surah", "verse"}, 1);
    std::vector<Action> cont = uniqueKeyActions("contrecitations", "contrecitsurahrecit", {"reciter", "surah", "ishq"}, 4);
    all.insert(all.end(), cont.begin(), cont.end());
    return all;
  }();
  return runStep(db, actions);
}

double ChapterInfo::dbVersion(sqlite3* db) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::DbVersion, "SELECT version FROM dbversion ORDER BY version DESC LIMIT 1", nullptr);
  if (!q || !q.next()) return 1.0;
  return q.columnDouble(0);
}

bool ChapterInfo::setDBVersion(sqlite3* db, double version) {
  Guard guard(store::lock());
  CachedStatement q(db, Slot::SetDbVersion, "REPLACE INTO dbversion (version) VALUES (?)", nullptr);
  return q && q.bind(version).run("setDBVersion");
}

bool ChapterInfo::needsSchema3_0(sqlite3* db) {
  Guard guard(store::lock());
  return !columnExists(db, "bookmarks", "bkgroup");
}

bool ChapterInfo::updateDatabase3_0(sqlite3* db) {
  ns::log("Running Schema 3.0 Update");
  static const std::vector<Action> actions = {
      {tableMissing("optimizedtrans"),
       "CREATE TABLE optimizedtrans (translation INTEGER NOT NULL, surah INTEGER NOT NULL, verse INTEGER NOT NULL, "
       "height INTEGER NOT NULL, islandscape INTEGER NOT NULL DEFAULT 0, potraitwidth INTEGER NOT NULL, landscapewidth "
       "INTEGER NOT NULL, devicescale DOUBLE NOT NULL DEFAULT 1, isipad INTEGER NOT NULL DEFAULT 0, fontscale INTEGER "
       "NOT NULL DEFAULT 0, isfullscreen INTEGER NOT NULL DEFAULT 0)",
       "[1] 3.0 Schema ERROR: message '%s'.", "ERROR - [%s] [1] 3.0 Schema ERROR: message '%s'."},
      {indexCreatable("optimizedtrans_all", "optimizedtrans", kOptimizedIndexColumns), kCreateOptimizedAll,
       "[1.1] 3.0 Schema ERROR: message '%s'.", "ERROR - [%s] [1.1] 3.0 Schema ERROR: message '%s'."},
      // A unique index needs unique pairs: repeated install marks carry nothing.
      {indexCreatable("recitations_recsur", "recitations", {"reciter", "surah"}),
       "DELETE FROM recitations WHERE rowid NOT IN (SELECT MIN(rowid) FROM recitations GROUP BY reciter, surah)",
       "[1] 3.0 Schema ERROR: message '%s'.", "[2] 3.0 Schema ERROR: message '%s'.", false},
      {indexCreatable("recitations_recsur", "recitations", {"reciter", "surah"}),
       "CREATE UNIQUE INDEX recitations_recsur ON recitations (reciter, surah)", "[1] 3.0 Schema ERROR: message '%s'.",
       "[2] 3.0 Schema ERROR: message '%s'.", false},
      {tableMissing("bookmarksections"),
       "CREATE TABLE bookmarksections (surah INTEGER NOT NULL DEFAULT 1, collapsed INTEGER NOT NULL DEFAULT 1)",
       "[1] 3.0 Schema ERROR: message '%s'.", "ERROR - [%s] [3] 3.0 Schema ERROR: message '%s'."},
      {indexCreatable("bookmarksections_surah", "bookmarksections", {"surah"}),
       "CREATE INDEX bookmarksections_surah ON bookmarksections (surah)", "[1] 3.0 Schema ERROR: message '%s'.",
       "ERROR - [%s] [4] 3.0 Schema ERROR: message '%s'."},
      {columnMissing("bookmarks", "bkgroup"), "ALTER TABLE bookmarks ADD COLUMN bkgroup INTEGER NOT NULL DEFAULT 0",
       "[1] 3.0 Schema ERROR: message '%s'.", "ERROR - [%s] [5] 3.0 Schema ERROR: message '%s'."},
      {columnMissing("savedsearches", "datesearched"),
       "ALTER TABLE savedsearches ADD COLUMN datesearched DOUBLE NOT NULL DEFAULT 0",
       "[1] 3.0 Schema ERROR: message '%s'.", "ERROR - [%s] [6] 3.0 Schema ERROR: message '%s'."},
  };
  return runStep(db, actions);
}

bool ChapterInfo::updateDatabase3_1(sqlite3* db) {
  ns::log("Running Schema 3.1 Update");
  static const std::vector<Action> actions = {
      {indexCreatable("searchmatches_surahverse", "searchmatches", {"surah", "verse"}),
       "CREATE INDEX searchmatches_surahverse ON searchmatches (surah, verse)", "[1] 3.1 Schema ERROR: message '%s'.",
       "ERROR - [%s] [1] 3.1 Schema ERROR: message '%s'."},
      {tableMissing("dbversion"), "CREATE TABLE dbversion ('version' double)", "[1.1] 3.1 Schema ERROR: message '%s'.",
       "ERROR - [%s] [1.1] 3.1 Schema ERROR: message '%s'."},
      {indexCreatable("dbver", "dbversion", {"version"}), "CREATE UNIQUE INDEX dbver ON dbversion (version)",
       "[1.2] 3.1 Schema ERROR: message '%s'.", "ERROR - [%s] [1.2] 3.1 Schema ERROR: message '%s'."},
      {always(), "REPLACE INTO dbversion (version) VALUES (3.1)", "[1.3] 3.1 Schema ERROR: message '%s'.",
       "ERROR - [%s] [1.3] 3.1 Schema ERROR: message '%s'."},
      {tableMissing("contrecitations"),
       "CREATE TABLE contrecitations ('reciter' integer, 'surah' integer, 'ishq' integer NOT NULL DEFAULT 0)",
       "[2] 3.1 Schema ERROR: message '%s'.", "ERROR - [%s] [2] 3.1 Schema ERROR: message '%s'."},
      {indexCreatable("contrecitsurahrecit", "contrecitations", {"reciter", "surah", "ishq"}),
       "CREATE INDEX contrecitsurahrecit ON contrecitations (reciter, surah, ishq)",
       "[3] 3.1 Schema ERROR: message '%s'.", "ERROR - [%s] [3] 3.1 Schema ERROR: message '%s'."},
      {tableMissing("contrecitationmp3s"),
       "CREATE TABLE contrecitationmp3s ('reciter' integer, 'surah' integer, 'part' integer, 'mp3' BLOB)",
       "[4] 3.1 Schema ERROR: message '%s'.", "ERROR - [%s] [4] 3.1 Schema ERROR: message '%s'."},
      {indexCreatable("contrecitationmp3s_recitersurah", "contrecitationmp3s", {"reciter", "surah"}),
       "CREATE INDEX contrecitationmp3s_recitersurah ON contrecitationmp3s (reciter, surah)",
       "[5] 3.1 Schema ERROR: message '%s'.", "ERROR - [%s] [5] 3.1 Schema ERROR: message '%s'."},
      {indexCreatable("contrecitationmp3s_recitersurahpart", "contrecitationmp3s", {"reciter", "surah", "part"}),
       "CREATE UNIQUE INDEX contrecitationmp3s_recitersurahpart ON contrecitationmp3s (reciter, surah, part)",
       "[6] 3.1 Schema ERROR: message '%s'.", "ERROR - [%s] [6] 3.1 Schema ERROR: message '%s'."},
  };
  return runStep(db, actions);
}

bool ChapterInfo::updateDatabase3_2(sqlite3* db) {
  static const std::vector<Action> actions = {
      {indexOutdated("optimizedtrans_all", kOptimizedColumns), "DROP INDEX optimizedtrans_all",
       "[1.1] 3.2 Schema ERROR: message '%s'.", "ERROR - [%s] [1.1] 3.2 Schema ERROR: message '%s'."},
      {columnMissing("optimizedtrans", "isipad"), "ALTER TABLE optimizedtrans ADD COLUMN isipad INTEGER NOT NULL DEFAULT 0",
       "[1.2] 3.2 Schema ERROR: message '%s'.", "ERROR - [%s] [1.2] 3.2 Schema ERROR: message '%s'."},
      {columnMissing("contrecitations", "ishq"), "ALTER TABLE contrecitations ADD COLUMN ishq integer NOT NULL DEFAULT 0",
       "[1.3] 3.2 Schema ERROR: message '%s'.", "ERROR - [%s] [1.3] 3.2 Schema ERROR: message '%s'."},
      {indexOutdated("contrecitsurahrecit", "reciter, surah, ishq"), "DROP INDEX contrecitsurahrecit",
       "[1.3] 3.2 Schema ERROR: message '%s'.", "ERROR - [%s] [1.3] 3.2 Schema ERROR: message '%s'."},
      {indexCreatable("contrecitsurahrecit", "contrecitations", {"reciter", "surah", "ishq"}),
       "CREATE INDEX contrecitsurahrecit ON contrecitations (reciter, surah, ishq)",
       "[1.3] 3.2 Schema ERROR: message '%s'.", "ERROR - [%s] [1.3] 3.2 Schema ERROR: message '%s'."},
      {columnMissing("optimizedtrans", "fontscale"),
       "ALTER TABLE optimizedtrans ADD COLUMN fontscale INTEGER NOT NULL DEFAULT 0",
       "[1.3] 3.2 Schema ERROR: message '%s'.", "ERROR - [%s] [1.3] 3.2 Schema ERROR: message '%s'."},
      {columnMissing("optimizedtrans", "isfullscreen"),
       "ALTER TABLE optimizedtrans ADD COLUMN isfullscreen INTEGER NOT NULL DEFAULT 0",
       "[1.3] 3.2 Schema ERROR: message '%s'.", "ERROR - [%s] [1.3] 3.2 Schema ERROR: message '%s'."},
      {indexCreatable("optimizedtrans_all", "optimizedtrans", kOptimizedIndexColumns), kCreateOptimizedAll,
       "[1.4] 3.2 Schema ERROR: message '%s'.", "ERROR - [%s] [1.4] 3.2 Schema ERROR: message '%s'."},
  };
  return runStep(db, actions, [db] { return setDBVersion(db, 3.24); });
}
