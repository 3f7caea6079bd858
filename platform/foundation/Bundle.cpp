#include "platform/foundation/Bundle.h"

#include <algorithm>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/String.h"

namespace ns {

namespace {

constexpr std::uint64_t kMaxStringsFileBytes = 8 * 1024 * 1024;

// Strings files may be UTF-16 with a byte-order mark, or UTF-8 with or without one.
std::string decodeStringsFile(const Data& bytes) {
  if (bytes.size() >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
    bool little = bytes[0] == 0xFF;
    std::u16string units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      units.push_back(static_cast<char16_t>(little ? bytes[i] | (bytes[i + 1] << 8)
                                                   : (bytes[i] << 8) | bytes[i + 1]));
    }
    return utf16ToUtf8(units);
  }
  std::string text = stringFromData(bytes);
  if (hasPrefix(text, "\xEF\xBB\xBF")) text.erase(0, 3);
  return text;
}

class StringsParser {
 public:
  StringsParser(std::string_view text, const std::string& name) : s_(text), name_(name) {}

  std::map<std::string, std::string> parse() {
    std::map<std::string, std::string> entries;
    for (;;) {
      if (!skipSpaceAndComments() || pos_ >= s_.size()) break;
      std::size_t entryStart = pos_;
      auto key = quoted();
      if (!key) {
        if (!skipMalformed(entryStart)) break;
        continue;
      }
      skipSpaceAndComments();
      std::optional<std::string> value;
      if (pos_ < s_.size() && s_[pos_] == ';') {
        value = *key;  // "key"; stands for "key" = "key";
      } else if (pos_ < s_.size() && s_[pos_] == '=') {
        ++pos_;
        skipSpaceAndComments();
        value = quoted();
        skipSpaceAndComments();
      }
      if (!value || pos_ >= s_.size() || s_[pos_] != ';') {
        if (!skipMalformed(entryStart)) break;
        continue;
      }
      ++pos_;
      entries[*key] = std::move(*value);
    }
    return entries;
  }

 private:
  std::size_t lineOf(std::size_t at) const {
    return 1 + static_cast<std::size_t>(std::count(s_.begin(), s_.begin() + static_cast<long>(at), '\n'));
  }

  // Logs the entry and moves past the end of its line; false at the end of the text.
  bool skipMalformed(std::size_t entryStart) {
    log(format("StringTable: skipping malformed entry in %s at line %zu", name_.c_str(), lineOf(entryStart)));
    std::size_t nl = s_.find('\n', std::max(entryStart, pos_ > entryStart ? pos_ - 1 : pos_));
    if (nl == std::string_view::npos) return false;
    pos_ = nl + 1;
    return true;
  }

  // False when a block comment never ends.
  bool skipSpaceAndComments() {
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
        ++pos_;
      } else if (s_.substr(pos_, 2) == "//") {
        std::size_t nl = s_.find('\n', pos_);
        pos_ = nl == std::string_view::npos ? s_.size() : nl + 1;
      } else if (s_.substr(pos_, 2) == "/*") {
        std::size_t end = s_.find("*/", pos_ + 2);
        if (end == std::string_view::npos) {
          log(format("StringTable: unterminated comment in %s at line %zu", name_.c_str(), lineOf(pos_)));
          pos_ = s_.size();
          return false;
        }
        pos_ = end + 2;
      } else {
        break;
      }
    }
    return true;
  }

  // A double-quoted string with escapes; nullopt when there is none here or it
  // does not end on its line.
  std::optional<std::string> quoted() {
    return readQuotedString(
        s_, pos_, [](unsigned char c) { return c == '\n'; },
        [this](char e, std::size_t& pos, std::string& out) {
          switch (e) {
            case 'n': out.push_back('\n'); break;
            case 't': out.push_back('\t'); break;
            case 'r': out.push_back('\r'); break;
            case 'U':
            case 'u': return appendUnicodeEscape(s_, pos, out, "uU");
            default: out.push_back(e); break;  // \" \\ \' and any other escaped character
          }
          return true;
        });
  }

  std::string_view s_;
  std::string name_;
  std::size_t pos_ = 0;
};

}  // namespace

StringTable StringTable::parse(std::string_view text, const std::string& nameForLog) {
  StringTable table;
  std::string valid = sanitizeUtf8(text);
  table.entries_ = StringsParser(valid, nameForLog).parse();
  return table;
}

std::optional<StringTable> StringTable::load(const std::string& path) {
  auto bytes = readFile(path, kMaxStringsFileBytes);
  if (!bytes) return std::nullopt;
  return parse(decodeStringsFile(*bytes), path);
}

std::optional<std::string> StringTable::lookup(const std::string& key) const {
  auto it = entries_.find(key);
  if (it == entries_.end()) return std::nullopt;
  return it->second;
}

Bundle& Bundle::main() {
  static Bundle bundle(resourceDirectory());
  return bundle;
}

Bundle::Bundle(std::string path) : path_(std::move(path)) {}

std::string Bundle::pathForResource(const std::string& name, const std::string& type) const {
  std::string file = type.empty() ? name : name + "." + type;
  if (name.empty() || file.find('\0') != std::string::npos) return {};
  // Names may reach into sub-folders ("Toolkit.bundle/x") but never above the bundle.
  for (const std::string& part : componentsSeparatedByString(file, "/")) {
    if (!isSafePathComponent(part)) return {};
  }
  std::string path = pathJoin(path_, file);
  return fileExists(path) ? path : std::string();
}

std::shared_ptr<Bundle> Bundle::languageBundle(const std::string& language) const {
  std::string path = pathForResource(language, "lproj");
  if (path.empty() || !isDirectory(path)) return nullptr;
  return std::make_shared<Bundle>(path);
}

std::string Bundle::localizedString(const std::string& key, const std::string& fallback) const {
  return localizedString(key, fallback, "Localizable");
}

std::string Bundle::localizedString(const std::string& key, const std::string& fallback,
                                    const std::string& table) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto lookupIn = [&](const std::string& relativePath) -> std::optional<std::string> {
    auto it = tables_.find(relativePath);
    if (it == tables_.end()) {
      std::string path = pathForResource(relativePath, "strings");
      std::optional<StringTable> loaded;
      if (!path.empty()) loaded = StringTable::load(path);
      it = tables_.emplace(relativePath, std::move(loaded)).first;
    }
    return it->second ? it->second->lookup(key) : std::nullopt;
  };
  if (auto text = lookupIn(table)) return *text;
  // The main bundle answers from its development language too.
  if (this == &main()) {
    if (auto text = lookupIn("en.lproj/" + table)) return *text;
  }
  return fallback;
}

}  // namespace ns
