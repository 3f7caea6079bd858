#pragma once
// The application delegate's database part: the first-run copy of the user
// database, the three connections kept for the process's life, and the schema
// upgrades run at launch. The delegate owns one DBHandler and reads the
// connections through it.
#include <sqlite3.h>

#include <optional>
#include <string>

class DBHandler {
 public:
  // Documents and the bundle's resource folder of the platform.
  DBHandler();
  DBHandler(std::string documentsDirectory, std::string resourceDirectory);
  // Closes the connections (after finalizing the data store's statements).
  ~DBHandler();
  DBHandler(const DBHandler&) = delete;
  DBHandler& operator=(const DBHandler&) = delete;

  // "zarvel.db", the content database in the bundle.
  static std::string dbFileName();
  // "zarveldyn.db", the user database in Documents (and its starting copy in the bundle).
  static std::string userDbFileName();
  // "UpdatedSchemav3.054": the defaults key set once the database has the 3.0 schema.
  static std::string schemaVersion3_0();

  // Copies the bundle's user database into Documents when none is there yet
  // (atomically: a temporary file renamed into place), and marks the 3.0 schema.
  // A failure is fatal ("Failed to create writable database file with message '...'.").
  void createEditableCopyOfDatabaseIfNeeded();
  // Replaces Documents/zarvel.db by the bundle's copy. Nothing calls it.
  void createEditableCopyOfDatabaseIfNeeded2();
  // Probes the user database first: an empty file gets the shipped tables; a file
  // that is not a database, is damaged or is not ours is moved aside under a
  // dated name beside it and replaced by the shipped copy (movedAsidePath).
  // Then opens the user database twice and the content database once (read only),
  // upgrading the user schema as needed. A failure is fatal
  // ("Failed to open database with message '...'.").
  void initializeDatabase();
  // Finalizes the store's statements and closes the three connections.
  // Finalises the statements and closes the connections; the first failure's message, if any.
  std::optional<std::string> closeDatabases();

  // The same steps, answering the failure message instead of ending the process.
  std::optional<std::string> tryCreateEditableCopyOfDatabase();
  std::optional<std::string> tryInitializeDatabase();

  sqlite3* dbConnection() const { return dbConnection_; }
  sqlite3* dbConnectionAudioDownload() const { return dbConnectionAudioDownload_; }
  sqlite3* dbConnectionStatic() const { return dbConnectionStatic_; }
  // True once this launch brought the database to version 3.24 (the update notice).
  bool hasUpgradedApp() const { return hasUpgradedApp_; }
  // Where this launch moved a user database it could not read (the person is told).
  const std::optional<std::string>& movedAsidePath() const { return movedAsidePath_; }

  // Why changes to the open user database could not be kept (its file or
  // folder cannot be written, or the engine opened it read-only), naming the
  // path; nothing when they can.
  std::optional<std::string> userDatabaseReadOnlyReason() const;

  std::string userDatabasePath() const;
  std::string contentDatabasePath() const;

 private:
  void upgradeSchema();
  std::optional<std::string> provideUsableUserDatabase();

  std::string documents_;
  std::string resources_;
  sqlite3* dbConnection_ = nullptr;
  sqlite3* dbConnectionAudioDownload_ = nullptr;
  sqlite3* dbConnectionStatic_ = nullptr;
  bool hasUpgradedApp_ = false;
  std::optional<std::string> movedAsidePath_;
};
