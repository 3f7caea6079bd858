#pragma once
// The application bundle: its resource folder, per-language folders
// ("<lang>.lproj") and their string tables ("Localizable.strings").
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace ns {

// A strings file: lines of "key" = "value"; with \" \\ \n \t escapes and
// /* */ and // comments. Malformed entries are skipped with a log line.
class StringTable {
 public:
  StringTable() = default;
  static StringTable parse(std::string_view text, const std::string& nameForLog = "strings");
  // nullopt when the file cannot be read.
  static std::optional<StringTable> load(const std::string& path);

  std::optional<std::string> lookup(const std::string& key) const;
  std::size_t size() const { return entries_.size(); }
  const std::map<std::string, std::string>& entries() const { return entries_; }

 private:
  std::map<std::string, std::string> entries_;
};

class Bundle {
 public:
  // The bundle of the application's resource folder (ns::resourceDirectory()).
  static Bundle& main();
  // A bundle for a folder (a language folder or another resource bundle).
  explicit Bundle(std::string path);

  const std::string& bundlePath() const { return path_; }
  // The file "<name>.<type>" in the bundle (type may be empty); "" when missing.
  std::string pathForResource(const std::string& name, const std::string& type) const;
  // The sub-bundle "<lang>.lproj" of this bundle; nullptr when the folder is missing.
  std::shared_ptr<Bundle> languageBundle(const std::string& language) const;

  // The text for the key in this bundle's "Localizable.strings" (for the main
  // bundle: its own, then the development language's "en.lproj"); the fallback
  // when the key (or the table) is missing. Tables are read once.
  std::string localizedString(const std::string& key, const std::string& fallback) const;
  // Same, from "<table>.strings".
  std::string localizedString(const std::string& key, const std::string& fallback,
                              const std::string& table) const;

 private:
  std::string path_;
  mutable std::map<std::string, std::optional<StringTable>> tables_;
  mutable std::mutex mutex_;
};

}  // namespace ns
