#include "platform/foundation/UserDefaults.h"

#include <algorithm>
#include <cstdlib>

#include "platform/foundation/Calendar.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/String.h"

namespace ns {

namespace {

constexpr std::uint64_t kMaxDefaultsFileBytes = 16 * 1024 * 1024;
constexpr const char* kAppleLanguages = "AppleLanguages";

// "ar_EG.UTF-8" -> "ar"; "" for "C", "POSIX" or anything that names no language.
std::string languageOfLocale(std::string_view locale) {
  std::string code(locale.substr(0, locale.find_first_of("_.@-")));
  const bool letters = std::all_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'z'; });
  return letters && code.size() >= 2 && code.size() <= 3 ? code : std::string();
}

}  // namespace

Array preferredLanguagesFromEnvironment() {
  Array languages;
  auto add = [&](std::string_view locale) {
    std::string code = languageOfLocale(locale);
    if (code.empty()) return;
    for (const Value& v : languages) {
      if (v.string() == code) return;
    }
    languages.emplace_back(std::move(code));
  };
  if (const char* list = std::getenv("LANGUAGE")) {
    for (const std::string& part : componentsSeparatedByString(list, ":")) add(part);
  }
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(var);
    if (v && *v) {
      add(v);
      break;
    }
  }
  if (languages.empty()) languages.emplace_back("en");
  return languages;
}

UserDefaults& UserDefaults::standardUserDefaults() {
  // Never destroyed, so workers still running at exit can read settings.
  static UserDefaults* defaults = new UserDefaults;
  return *defaults;
}

UserDefaults::UserDefaults() = default;

std::string UserDefaults::pathLocked() const {
  return path_.empty() ? pathJoin(configDirectory(), "defaults.json") : path_;
}

void UserDefaults::loadIfNeededLocked() const {
  if (loaded_) return;
  loaded_ = true;
  persistent_.clear();
  unreadable_ = false;
  std::string path = pathLocked();
  if (!fileExists(path)) return;
  auto bytes = readFile(path, kMaxDefaultsFileBytes);
  std::optional<Value> parsed;
  if (bytes) parsed = Value::fromJSON(stringFromData(*bytes));
  if (!parsed || !parsed->isDictionary()) {
    log("UserDefaults: ignoring unreadable defaults file " + path);
    unreadable_ = true;
    return;
  }
  persistent_ = parsed->dictionary();
}

void UserDefaults::registerDefaults(const Dictionary& defaults) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& [key, value] : defaults) registered_[key] = value;
}

Value UserDefaults::objectForKey(const std::string& key) const {
  Value stored, registered;
  Validator validator;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    loadIfNeededLocked();
    if (auto it = persistent_.find(key); it != persistent_.end()) stored = it->second;
    if (auto it = registered_.find(key); it != registered_.end()) registered = it->second;
    if (auto it = validators_.find(key); it != validators_.end()) validator = it->second;
  }
  // The validator runs outside the lock, so it may itself read defaults.
  if (!stored.isNull() && (!validator || validator(stored))) return stored;
  if (key == kAppleLanguages) return Value(preferredLanguagesFromEnvironment());
  return registered;
}

std::string UserDefaults::stringForKey(const std::string& key) const {
  return objectForKey(key).stringValue();
}

std::int64_t UserDefaults::integerForKey(const std::string& key) const {
  return objectForKey(key).integerValue();
}

bool UserDefaults::boolForKey(const std::string& key) const { return objectForKey(key).boolValue(); }

double UserDefaults::doubleForKey(const std::string& key) const {
  return objectForKey(key).doubleValue();
}

float UserDefaults::floatForKey(const std::string& key) const {
  return objectForKey(key).floatValue();
}

Array UserDefaults::arrayForKey(const std::string& key) const { return objectForKey(key).array(); }

Dictionary UserDefaults::dictionaryForKey(const std::string& key) const {
  return objectForKey(key).dictionary();
}

std::optional<Date> UserDefaults::dateForKey(const std::string& key) const {
  return objectForKey(key).date();
}

void UserDefaults::setObject(const Value& value, const std::string& key) {
  std::lock_guard<std::mutex> lock(mutex_);
  loadIfNeededLocked();
  if (value.isNull()) {
    persistent_.erase(key);
  } else {
    persistent_[key] = value;
  }
}

void UserDefaults::setInteger(std::int64_t value, const std::string& key) { setObject(Value(value), key); }
void UserDefaults::setBool(bool value, const std::string& key) { setObject(Value(value), key); }
void UserDefaults::setDouble(double value, const std::string& key) { setObject(Value(value), key); }
void UserDefaults::removeObjectForKey(const std::string& key) { setObject(Value(), key); }

// Inside a turn of the main loop the write waits for the turn's end, so the
// many changes a launch or a screen makes are written once; elsewhere (other
// threads, a program's shutdown) it happens now.
bool UserDefaults::synchronize() {
  RunLoop& loop = RunLoop::main();
  if (!RunLoop::isMainThread() || !loop.isInTurn()) return writeNow();
  if (!writePending_.exchange(true))
    loop.atEndOfTurn([this] {
      writePending_ = false;
      writeNow();
    });
  return lastWriteError().empty();
}

bool UserDefaults::writeNow() {
  std::lock_guard<std::mutex> writing(writeMutex_);
  std::string path, json;
  bool setAside = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    loadIfNeededLocked();
    path = pathLocked();
    json = Value(persistent_).toJSON(true);
    setAside = unreadable_;
  }
  std::string error;
  if (setAside && !setAsideUnreadableFile(path, error)) return recordWriteError(path, error);
  std::string dir = deletingLastPathComponent(path);
  if (!dir.empty() && !createDirectory(dir, &error)) return recordWriteError(dir, error);
  if (!writeFileAtomically(path, json + "\n", &error)) return recordWriteError(path, error);
  std::lock_guard<std::mutex> lock(mutex_);
  lastWriteError_.clear();
  return true;
}

bool UserDefaults::setAsideUnreadableFile(const std::string& path, std::string& error) {
  std::string moved;
  if (fileExists(path)) {
    // <name>-unreadable-<local date and time>.json, numbered when taken.
    DateComponents now = Calendar::components(Date::now());
    std::string stem = deletingPathExtension(path) + format("-unreadable-%04d%02d%02d-%02d%02d%02d", now.year,
                                                            now.month, now.day, now.hour, now.minute, now.second);
    moved = stem + ".json";
    for (int n = 2; fileExists(moved); ++n) moved = stem + format("-%d.json", n);
    if (!moveItem(path, moved, &error)) {
      error = "the unreadable file could not be moved aside: " + error;
      return false;
    }
    log("UserDefaults: the unreadable defaults file was moved to " + moved);
  }
  std::lock_guard<std::mutex> lock(mutex_);
  unreadable_ = false;
  if (!moved.empty()) setAsidePath_ = moved;
  return true;
}

bool UserDefaults::recordWriteError(const std::string& path, const std::string& reason) {
  log("UserDefaults: cannot write " + path + ": " + reason);
  WriteFailureHandler handler;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    lastWriteError_ = path + ": " + reason;
    handler = writeFailureHandler_;
  }
  if (handler) handler(path + ": " + reason);
  return false;
}

void UserDefaults::setWriteFailureHandler(WriteFailureHandler handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  writeFailureHandler_ = std::move(handler);
}

std::string UserDefaults::setAsidePath() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return setAsidePath_;
}

std::string UserDefaults::lastWriteError() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastWriteError_;
}

void UserDefaults::setValidator(const std::string& key, Validator validator) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (validator) {
    validators_[key] = std::move(validator);
  } else {
    validators_.erase(key);
  }
}

std::string UserDefaults::filePath() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return pathLocked();
}

void UserDefaults::setFilePath(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  path_ = path;
  loaded_ = false;
  loadIfNeededLocked();
}

void UserDefaults::reload() {
  std::lock_guard<std::mutex> lock(mutex_);
  loaded_ = false;
  loadIfNeededLocked();
}

void UserDefaults::resetForTesting() {
  std::lock_guard<std::mutex> lock(mutex_);
  path_.clear();
  unreadable_ = false;
  setAsidePath_.clear();
  lastWriteError_.clear();
  writeFailureHandler_ = nullptr;
  persistent_.clear();
  registered_.clear();
  validators_.clear();
  loaded_ = true;
}

}  // namespace ns
