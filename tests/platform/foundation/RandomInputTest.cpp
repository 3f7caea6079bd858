// Random and mutated inputs through every parser of outside text (JSON,
// string tables, UTF-8, settings files): nothing may crash, hang or produce
// invalid UTF-8 (the sanitizer build checks memory).
#include <gtest/gtest.h>

#include <random>

#include "TempDir.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/foundation/Value.h"

namespace {

std::string randomBytes(std::mt19937& rng, const std::string& alphabet) {
  std::uniform_int_distribution<std::size_t> length(0, 64), pick(0, alphabet.size() - 1);
  std::string s(length(rng), '\0');
  for (char& c : s) c = alphabet[pick(rng)];
  return s;
}

std::string allBytes() {
  std::string s;
  for (int b = 0; b < 256; ++b) s.push_back(static_cast<char>(b));
  return s;
}

}  // namespace

TEST(RandomInput, JsonAndStringsFilesNeverCrashAndStayValidUtf8) {
  ns::LogCapture quiet;
  quiet.setEcho(false);
  std::mt19937 rng(20261209);
  const std::string json = "{}[],:\"\\/ btnfru0123456789-+.eE$datea\xD8\xA8\xFF";
  const std::string strings = "\"\\=;/*\n ab\xD8\xA8\xFFUu0";
  const std::string bytes = allBytes();
  for (int i = 0; i < 5000; ++i) {
    std::string j = randomBytes(rng, i % 2 ? json : bytes);
    if (auto v = ns::Value::fromJSON(j)) {
      // Whatever parses writes back out and reads the same again.
      EXPECT_EQ(ns::Value::fromJSON(v->toJSON()), v) << j;
    }
    ns::StringTable t = ns::StringTable::parse(randomBytes(rng, i % 2 ? strings : bytes));
    for (const auto& [key, value] : t.entries()) {
      EXPECT_TRUE(ns::isValidUtf8(key));
      EXPECT_TRUE(ns::isValidUtf8(value));
    }
  }
}

TEST(RandomInput, Utf16IndexingOfInvalidTextStaysInBounds) {
  std::mt19937 rng(7);
  const std::string bytes = allBytes();
  for (int i = 0; i < 3000; ++i) {
    std::string s = randomBytes(rng, bytes);
    std::size_t n = ns::length16(s);
    EXPECT_EQ(ns::utf8ToUtf16(s).size(), n);
    std::uniform_int_distribution<std::size_t> at(0, n + 2);
    std::string sub = ns::substring16(s, at(rng), at(rng));
    EXPECT_TRUE(ns::isValidUtf8(sub));
    EXPECT_LE(ns::length16(sub), n);
    EXPECT_TRUE(ns::isValidUtf8(ns::lowercase(s)));
    EXPECT_EQ(ns::percentUnescape(ns::percentEscape(s)), ns::sanitizeUtf8(s));
    (void)ns::rangeOfString(s, randomBytes(rng, bytes).substr(0, 3), ns::CaseInsensitiveSearch);
    (void)ns::doubleValue(s);
  }
}

// A settings file edited by hand, damaged or replaced by junk: every read
// answers a value of its type, and the first write keeps a file that did not
// parse aside, byte for byte, instead of overwriting it.
TEST(RandomInput, SettingsFilesAreReadSafelyAndAnUnreadableOneIsKeptAside) {
  ns::LogCapture quiet;
  quiet.setEcho(false);
  testing_support::TempDir dir;
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  const std::string good =
      R"({"LastSurah": "36", "ArabicFontSize": 3, "AlKahfReminders": false, "AppleLanguages": ["ar"],)"
      R"( "LastFridayRead": {"$date": 1765500000}, "Nested": {"a": [1, 2.5, null, true]}})";
  std::mt19937 rng(1103);
  const std::string junk = "{}[],:\"\\ 0123456789-.eE$dateturnfl\xD8\xA8\xFF";
  for (int i = 0; i < 150; ++i) {
    std::string file = good;
    for (int e = 1 + static_cast<int>(rng() % 3); e > 0; --e) {
      std::size_t at = rng() % file.size();
      if (rng() % 2) file[at] = junk[rng() % junk.size()];
      else file.insert(at, 1, junk[rng() % junk.size()]);
    }
    if (i % 10 == 0) file = randomBytes(rng, allBytes());
    std::string path = dir.file("defaults-" + std::to_string(i) + ".json");
    ASSERT_TRUE(ns::writeFileAtomically(path, std::string_view(file)));
    defaults.resetForTesting();
    defaults.setFilePath(path);
    for (const char* key : {"LastSurah", "ArabicFontSize", "AlKahfReminders", "AppleLanguages", "LastFridayRead",
                            "Nested", "Missing"}) {
      (void)defaults.integerForKey(key);
      (void)defaults.boolForKey(key);
      (void)defaults.dateForKey(key);
      EXPECT_TRUE(ns::isValidUtf8(defaults.stringForKey(key)));
      (void)defaults.arrayForKey(key);
    }
    const bool parses = ns::Value::fromJSON(file) && ns::Value::fromJSON(file)->isDictionary();
    defaults.setInteger(i, "Written");
    ASSERT_TRUE(defaults.synchronize());
    if (parses) {
      EXPECT_EQ(defaults.setAsidePath(), "");
    } else {
      auto kept = ns::readFile(defaults.setAsidePath(), 1 << 20);
      ASSERT_TRUE(kept) << file;
      EXPECT_EQ(std::string(kept->begin(), kept->end()), file);
    }
  }
  defaults.resetForTesting();
}
