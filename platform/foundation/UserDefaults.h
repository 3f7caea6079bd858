#pragma once
// The standard user-defaults store: values persisted as JSON in the config
// directory ("defaults.json"), over a volatile registration domain that only
// fills gaps. Thread-safe.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/foundation/Value.h"

namespace ns {

// The platform's preferred languages, from the locale environment (LANGUAGE, then
// the first of LC_ALL, LC_MESSAGES and LANG that is set): "ar_SA.UTF-8" gives
// "ar"; ["en"] when nothing there names a language.
Array preferredLanguagesFromEnvironment();

class UserDefaults {
 public:
  using Validator = std::function<bool(const Value&)>;

  static UserDefaults& standardUserDefaults();

  // Registration domain: lowest priority, never written to disk.
  void registerDefaults(const Dictionary& defaults);

  // Persisted value, else the platform's own (AppleLanguages from the
  // environment), else the registered value, else null. A persisted value
  // that fails the key's validator reads as the registered value.
  Value objectForKey(const std::string& key) const;
  std::string stringForKey(const std::string& key) const;  // "" when absent
  std::int64_t integerForKey(const std::string& key) const;
  bool boolForKey(const std::string& key) const;
  double doubleForKey(const std::string& key) const;
  float floatForKey(const std::string& key) const;
  Array arrayForKey(const std::string& key) const;            // empty when absent or no array
  Dictionary dictionaryForKey(const std::string& key) const;  // same
  std::optional<Date> dateForKey(const std::string& key) const;

  void setObject(const Value& value, const std::string& key);  // null removes
  void setInteger(std::int64_t value, const std::string& key);
  void setBool(bool value, const std::string& key);
  void setDouble(double value, const std::string& key);
  void setFloat(float value, const std::string& key) { setDouble(value, key); }
  void removeObjectForKey(const std::string& key);

  // Writes the persisted values atomically to the file; false on failure.
  // Within a turn of the main run loop the write is made once, as the turn
  // ends, for every change of the turn (the answer then tells whether the
  // last write succeeded; a failure of the coming one is reported as any).
  // A file that could not be read is first moved aside under a dated name
  // (never overwritten); when that fails nothing is written.
  bool synchronize();
  // Where an unreadable settings file was moved ("" when none was).
  std::string setAsidePath() const;
  // The file and the reason when the last synchronize could not write ("" after a success).
  std::string lastWriteError() const;
  // Hears every write that fails, with the file and the reason as
  // lastWriteError gives them, on the thread that wrote. Null removes it.
  using WriteFailureHandler = std::function<void(const std::string& error)>;
  void setWriteFailureHandler(WriteFailureHandler handler);

  // A check applied when the key is read; see objectForKey.
  void setValidator(const std::string& key, Validator validator);

  // The file the store persists to (defaults to <configDirectory>/defaults.json).
  std::string filePath() const;
  // Points the store at another file and loads it (a restart, for tests).
  void setFilePath(const std::string& path);
  // Drops the in-memory values and reads the file again.
  void reload();
  // Forgets everything (values, registration, validators): the store starts
  // empty without reading any file, and persists to the default path again.
  void resetForTesting();

  UserDefaults();
  UserDefaults(const UserDefaults&) = delete;
  UserDefaults& operator=(const UserDefaults&) = delete;

 private:
  void loadIfNeededLocked() const;
  bool writeNow();
  bool setAsideUnreadableFile(const std::string& path, std::string& error);
  bool recordWriteError(const std::string& path, const std::string& reason);
  std::string pathLocked() const;

  mutable std::mutex mutex_;
  std::mutex writeMutex_;  // one write at a time, so the newest snapshot lands last
  std::atomic<bool> writePending_{false};  // a write waits for the end of the turn
  std::string path_;  // empty: the default path
  mutable bool loaded_ = false;
  mutable Dictionary persistent_;
  mutable bool unreadable_ = false;  // the file exists but held no settings
  std::string setAsidePath_;
  std::string lastWriteError_;
  WriteFailureHandler writeFailureHandler_;
  Dictionary registered_;
  std::map<std::string, Validator> validators_;
};

}  // namespace ns
