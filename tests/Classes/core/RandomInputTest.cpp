// Random and hostile input through the readers of outside data in the data
// store: gzip and zlib streams, Base64 text, search texts and damaged user
// database files. Fixed seeds and bounded case counts; nothing may crash or
// trip a sanitizer, and bad input gets an empty answer with a log line.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>

#include "Classes/core/Array+Plus.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Data+Bzip2.h"
#include "Classes/core/Data+MBBase64.h"
#include "Classes/core/ZarvelSDKAppDelegate+DBHandler.h"
#include "Fixtures.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"

namespace {

ns::Data randomData(std::mt19937& rng, std::size_t maxLength) {
  ns::Data data(std::uniform_int_distribution<std::size_t>(0, maxLength)(rng));
  for (auto& b : data) b = static_cast<std::uint8_t>(rng());
  return data;
}

// A few bytes changed, dropped or the stream cut short.
ns::Data mutated(std::mt19937& rng, ns::Data data) {
  if (data.empty()) return data;
  std::uniform_int_distribution<std::size_t> at(0, data.size() - 1);
  switch (rng() % 3) {
    case 0:
      for (int i = 0; i < 1 + static_cast<int>(rng() % 4); ++i) data[at(rng)] ^= static_cast<std::uint8_t>(1 + rng() % 255);
      break;
    case 1: data.erase(data.begin() + static_cast<std::ptrdiff_t>(at(rng))); break;
    default: data.resize(at(rng)); break;
  }
  return data;
}

class QuietLog : public ::testing::Test {
 protected:
  QuietLog() { log.setEcho(false); }
  ns::LogCapture log;
};

using RandomCodecs = QuietLog;

TEST_F(RandomCodecs, GzipAndZlibStreamsRoundTripAndDamagedOnesGiveEmptyData) {
  std::mt19937 rng(1108);
  for (int i = 0; i < 600; ++i) {
    ns::Data input = randomData(rng, 3000);
    // Repeated runs compress, so the streams have real back references to damage.
    if (i % 2) input.insert(input.end(), input.begin(), input.end());
    ns::Data gzip = ns::gzipDeflate(input), zlib = ns::zlibDeflate(input);
    ASSERT_EQ(ns::gzipInflate(gzip), input);
    ASSERT_EQ(ns::gzipInflate(zlib), input);  // the header tells the framing
    ASSERT_EQ(ns::zlibInflate(zlib), input);

    for (const ns::Data& bad : {mutated(rng, gzip), mutated(rng, zlib), randomData(rng, 200)}) {
      log.clear();
      ns::Data out = ns::gzipInflate(bad);
      ns::Data outZlib = ns::zlibInflate(bad);
      // A damaged stream may still be a valid one by chance; a refused one says so.
      if (out.empty() && !bad.empty()) {
        EXPECT_FALSE(log.lines().empty());
      }
      EXPECT_LE(out.size(), ns::kInflateOutputCap);
      EXPECT_LE(outZlib.size(), ns::kInflateOutputCap);
    }
  }
}

TEST_F(RandomCodecs, Base64RoundTripsAndTextOutsideTheAlphabetIsRefused) {
  std::mt19937 rng(4648);
  const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const std::string noise = alphabet + "= \t\r\n-_.*\xD8\xA8\xFF";
  for (int i = 0; i < 3000; ++i) {
    ns::Data bytes = randomData(rng, 96);
    std::string text = ns::base64Encoding(bytes);
    EXPECT_EQ(text.size() % 4, 0u);
    EXPECT_EQ(ns::dataWithBase64EncodedString(text), bytes);

    std::string random(std::uniform_int_distribution<int>(0, 64)(rng), ' ');
    for (char& c : random) c = noise[rng() % noise.size()];
    auto decoded = ns::dataWithBase64EncodedString(random);
    std::size_t letters = 0;
    bool foreign = false;
    for (char c : random) {
      if (alphabet.find(c) != std::string::npos) ++letters;
      else if (c != '=' && c != ' ' && c != '\t' && c != '\r' && c != '\n') foreign = true;
    }
    // Whitespace and "=" are skipped; anything else outside the alphabet, or a
    // lone final character, refuses the whole text.
    EXPECT_EQ(decoded.has_value(), !foreign && letters % 4 != 1) << random;
    if (decoded) {
      EXPECT_EQ(decoded->size(), letters / 4 * 3 + (letters % 4 ? letters % 4 - 1 : 0)) << random;
    }
  }
}

using RandomSearch = QuietLog;

TEST_F(RandomSearch, AnySearchTextGivesSortedHitsInsideTheQuran) {
  fixtures::Store store;
  std::mt19937 rng(1113);
  const std::vector<std::string> pieces = {"mercy", "lord", "\"", "*", "-", " ", "OR", "AND", "NEAR", "NOT", "(",
                                           ")", "'", "%", "_", "\\", ":", "^", "\xD8\xB1\xD8\xAD", "\xFF", "\t",
                                           "trans1fts", "MATCH", ";", "--", "0", "surah"};
  for (int i = 0; i < 300; ++i) {
    std::string text;
    for (int n = std::uniform_int_distribution<int>(0, 6)(rng); n > 0; --n) text += pieces[rng() % pieces.size()];
    int trans = std::array<int, 4>{0, 1, 10, 38}[i % 4];
    bool limit = false;
    auto results = ChapterInfo::getSearchResults(store.content, trans, text, &limit);
    EXPECT_LE(results.size(), 200u) << text;
    for (std::size_t r = 0; r < results.size(); ++r) {
      EXPECT_TRUE(results[r]->surah() >= 1 && results[r]->surah() <= 114) << text;
      EXPECT_GE(results[r]->verse(), 1) << text;
      if (r) {
        EXPECT_LT(compareSearchResults(*results[r - 1], *results[r]), 0) << text;
      }
    }
  }
}

// A user database as a broken disk or an interrupted copy leaves it.
class DamagedUserDatabase : public QuietLog {
 protected:
  void SetUp() override {
    dir = fixtures::makeTempDir();
    documents = dir + "/Documents";
    resources = dir + "/resources";
    std::filesystem::create_directories(documents);
    std::filesystem::create_directories(resources);
    fixtures::buildUserDatabase(resources + "/zarveldyn.db", fixtures::UserSchema::Shipped);
    fixtures::buildContentDatabase(resources + "/zarvel.db");
    sqlite3* db = fixtures::openReadWrite(resources + "/zarveldyn.db");
    fixtures::exec(db, "PRAGMA synchronous = OFF");
    for (int verse = 1; verse <= 200; ++verse)
      ChapterInfo::insertBookmark(db, 2, verse, false, verse % 3, std::string(300, 'n'));
    ChapterInfo::finalizeStatements();
    sqlite3_close(db);
    good = *ns::readFile(resources + "/zarveldyn.db", 1 << 26);
    ns::UserDefaults::standardUserDefaults().resetForTesting();
    ns::UserDefaults::standardUserDefaults().setFilePath(dir + "/defaults.json");
  }
  void TearDown() override {
    ns::UserDefaults::standardUserDefaults().resetForTesting();
    std::filesystem::remove_all(dir);
  }

  // Opens the file as the launch does and uses it as the screens would.
  void openAndUse(const ns::Data& file) {
    {
      std::ofstream out(documents + "/zarveldyn.db", std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
      ASSERT_TRUE(out.good());
    }
    ns::removeItem(documents + "/zarveldyn.db-journal");
    DBHandler handler(documents, resources);
    if (handler.tryInitializeDatabase()) return;  // refused with its message
    sqlite3* db = handler.dbConnection();
    ChapterInfo::getAllBookmarks(db, true, -1, std::nullopt);
    ChapterInfo::getAllBookmarks(db, 2, 1);
    ChapterInfo::getBookmarkNote(db, 2, 5);
    ChapterInfo::getSavedSearch(db);
    ChapterInfo::insertBookmark(db, 18, 10, false, 0, "after the damage");
    ChapterInfo::isBookmarked(db, 18, 10);
    ChapterInfo::getBookmarkCount(db, -1, 0);
    handler.closeDatabases();
  }

  std::string dir, documents, resources;
  ns::Data good;
};

TEST_F(DamagedUserDatabase, RandomBytesAreNoDatabaseAndSaySo) {
  std::mt19937 rng(1102);
  for (int i = 0; i < 20; ++i) {
    log.clear();
    openAndUse(randomData(rng, 64 * 1024));
    EXPECT_TRUE(log.contains("not a database") || log.contains("malformed")) << i;
  }
}

TEST_F(DamagedUserDatabase, TruncatedCopiesAndFlippedPagesNeverCrash) {
  std::mt19937 rng(4096);
  const std::size_t page = 4096;
  ASSERT_GT(good.size(), 8 * page);
  for (int i = 0; i < 40; ++i) {
    ns::Data damaged = good;
    if (i % 2) {
      damaged.resize(std::uniform_int_distribution<std::size_t>(0, good.size() - 1)(rng));
    } else {
      // One or more whole pages overwritten with noise, or a few bits flipped in them.
      for (int n = 1 + static_cast<int>(rng() % 3); n > 0; --n) {
        std::size_t first = (rng() % (good.size() / page)) * page;
        for (std::size_t b = first; b < first + page && b < damaged.size(); ++b)
          damaged[b] = i % 4 ? static_cast<std::uint8_t>(rng()) : damaged[b] ^ static_cast<std::uint8_t>(rng() % 2);
      }
    }
    openAndUse(damaged);
  }
  // The good copy still works through the same road.
  log.clear();
  openAndUse(good);
  EXPECT_FALSE(log.contains("Error")) << ns::implode(log.lines(), "\n");
}

}  // namespace
