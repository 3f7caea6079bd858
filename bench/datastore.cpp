// The data store: the reading screen's per-row queries for all 286 verses of
// surah 2 and the bookmarks screen's list of 2,000 bookmarks through
// ChapterInfo, each next to the same statements run straight on SQLite; a
// worst-case plain search and long pasted search texts; reading a 5 MB stored
// MP3. The databases are generated here, with every surah's verses (6,236 rows
// per table). The ratios of the store to raw SQLite are printed at the end.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Database.h"
#include "bench/BenchSupport.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"

namespace {

const char* kWords[] = {"mercy", "light", "darkness", "guidance", "patience", "reward", "earth", "heavens",
                        "believers", "messenger", "prayer", "charity"};

void exec(sqlite3* db, const std::string& sql) { sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr); }

std::string verseText(int surah, int verse) {
  std::string text = ns::format("Verse %d of surah %d:", verse, surah);
  for (int i = 0; i < 24; ++i) text += std::string(" ") + kWords[(surah * 31 + verse * 7 + i * 5) % 12];
  return text;
}

struct Databases {
  std::string dir;
  sqlite3* content = nullptr;
  sqlite3* user = nullptr;

  Databases() {
    dir = (std::filesystem::temp_directory_path() / ns::format("zarvel-bench-%d", static_cast<int>(getpid()))).string();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    buildContent(dir + "/zarvel.db");
    buildUser(dir + "/zarveldyn.db");
    sqlite3_open_v2((dir + "/zarvel.db").c_str(), &content, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_open_v2((dir + "/zarveldyn.db").c_str(), &user, SQLITE_OPEN_READWRITE, nullptr);
    exec(user, "PRAGMA synchronous = OFF");
    store::setContentConnection(content);
  }

  static void buildContent(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    exec(db, "PRAGMA synchronous = OFF; BEGIN;"
             "CREATE TABLE trans1 (surah INTEGER, verse INTEGER, translation TEXT);"
             "CREATE INDEX trans1_sv ON trans1 (surah, verse);"
             "CREATE VIRTUAL TABLE trans1fts USING fts4 (surah, verse, translation);"
             "CREATE TABLE simplearabic (surah INTEGER, verse INTEGER, translation TEXT);"
             "CREATE INDEX simplearabic_sv ON simplearabic (surah, verse);"
             "CREATE TABLE surahdata (surah INTEGER, verse INTEGER, data BLOB);"
             "CREATE INDEX surahdata_sv ON surahdata (surah, verse);"
             "CREATE TABLE hezbmeta (surah INTEGER, verse INTEGER, hezb INTEGER);"
             "CREATE INDEX hezbmeta_sv ON hezbmeta (surah, verse);");
    sqlite3_stmt* ins[5];
    const char* sql[5] = {"INSERT INTO trans1 VALUES (?1, ?2, ?3)", "INSERT INTO trans1fts VALUES (?1, ?2, ?3)",
                          "INSERT INTO simplearabic VALUES (?1, ?2, ?3)", "INSERT INTO surahdata VALUES (?1, ?2, ?4)",
                          "INSERT INTO hezbmeta VALUES (?1, ?2, ?5)"};
    for (int i = 0; i < 5; ++i) sqlite3_prepare_v2(db, sql[i], -1, &ins[i], nullptr);
    int quarter = 1;
    for (int surah = 1; surah <= 114; ++surah) {
      for (int verse = 1; verse <= ChapterInfo::getVersesFromNumber(surah); ++verse) {
        if (ChapterInfo::isHizb(surah, verse) && !(surah == 1 && verse == 1)) ++quarter;
        std::string text = verseText(surah, verse);
        std::string codes(120, static_cast<char>(82 + verse % 100));
        for (sqlite3_stmt* s : ins) {
          sqlite3_bind_int(s, 1, surah);
          sqlite3_bind_int(s, 2, verse);
          sqlite3_bind_text(s, 3, text.c_str(), -1, SQLITE_TRANSIENT);
          sqlite3_bind_blob(s, 4, codes.data(), static_cast<int>(codes.size()), SQLITE_TRANSIENT);
          sqlite3_bind_int(s, 5, quarter);
          sqlite3_step(s);
          sqlite3_reset(s);
        }
      }
    }
    for (sqlite3_stmt* s : ins) sqlite3_finalize(s);
    exec(db, "COMMIT");
    sqlite3_close(db);
  }

  static void buildUser(const std::string& path) {
    std::ifstream in(ns::sourceDirectory() + "/resources/zarveldyn.sql");
    std::stringstream schema;
    schema << in.rdbuf();
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    exec(db, schema.str());
    sqlite3_close(db);
  }

  ~Databases() {
    ChapterInfo::finalizeStatements();
    sqlite3_close(content);
    sqlite3_close(user);
    std::filesystem::remove_all(dir);
  }
};

Databases& dbs() {
  static Databases databases;
  return databases;
}

// A few bookmarks, notes and search marks in surah 2, as a reader would have.
void seedSurah2() {
  static bool seeded = false;
  if (seeded) return;
  seeded = true;
  for (int verse = 1; verse <= 286; verse += 9) ChapterInfo::insertBookmark(dbs().user, 2, verse, false, 0, "note");
  for (int verse = 3; verse <= 286; verse += 13) ChapterInfo::reflectSearchedVerses(dbs().user, 2, verse, 1);
}

void BM_ReadingRows_ChapterInfo(benchmark::State& state) {
  seedSurah2();
  sqlite3* content = dbs().content;
  sqlite3* user = dbs().user;
  for (auto _ : state) {
    for (int verse = 1; verse <= 286; ++verse) {
      benchmark::DoNotOptimize(ChapterInfo::getTranslationFor(content, 1, 2, verse));
      benchmark::DoNotOptimize(ChapterInfo::isBookmarked(user, 2, verse));
      benchmark::DoNotOptimize(ChapterInfo::hasBookmarkNote(user, 2, verse));
      benchmark::DoNotOptimize(ChapterInfo::isReflectedSearch(user, 2, verse));
      benchmark::DoNotOptimize(ChapterInfo::hezbFromSurah(content, 2, verse));
      benchmark::DoNotOptimize(ChapterInfo::getVerseData(content, 2, verse));
    }
  }
  state.SetItemsProcessed(state.iterations() * 286);
}
BENCHMARK(BM_ReadingRows_ChapterInfo);

// The same six statements prepared once and reset after each row, no lock, no cache lookup.
void BM_ReadingRows_RawSQLite(benchmark::State& state) {
  seedSurah2();
  struct Q {
    sqlite3* db;
    const char* sql;
    sqlite3_stmt* stmt = nullptr;
  } queries[] = {
      {dbs().content, "SELECT translation FROM trans1 WHERE surah = ? AND verse = ?"},
      {dbs().user, "SELECT surah FROM bookmarks WHERE surah = ? AND verse = ?"},
      {dbs().user, "SELECT note FROM bookmarks WHERE surah = ? AND verse = ? AND trim(note) != ''"},
      {dbs().user, "SELECT surah FROM searchmatches WHERE surah = ? AND verse = ?"},
      {dbs().content, "SELECT hezb FROM hezbmeta WHERE surah = ? AND verse = ?"},
      {dbs().content, "SELECT data FROM surahdata WHERE surah = ? AND verse = ?"},
  };
  for (Q& q : queries) sqlite3_prepare_v2(q.db, q.sql, -1, &q.stmt, nullptr);
  for (auto _ : state) {
    for (int verse = 1; verse <= 286; ++verse) {
      for (int i = 0; i < 6; ++i) {
        sqlite3_stmt* s = queries[i].stmt;
        sqlite3_bind_int(s, 1, 2);
        sqlite3_bind_int(s, 2, verse);
        if (sqlite3_step(s) == SQLITE_ROW) {
          if (i == 0) benchmark::DoNotOptimize(std::string(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))));
          if (i == 5) {
            const auto* p = static_cast<const std::uint8_t*>(sqlite3_column_blob(s, 0));
            benchmark::DoNotOptimize(ns::Data(p, p + sqlite3_column_bytes(s, 0)));
          }
          if (i == 4) benchmark::DoNotOptimize(sqlite3_column_int(s, 0));
        }
        sqlite3_reset(s);
      }
    }
  }
  for (Q& q : queries) sqlite3_finalize(q.stmt);
  state.SetItemsProcessed(state.iterations() * 286);
}
BENCHMARK(BM_ReadingRows_RawSQLite);

// A plain search of many words: both passes run, the word pass testing every
// LIKE term (16 words and the whole text) against every verse.
void BM_Search_WorstCasePlain(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 15; ++i) text += ns::format("qz%d ", i);
  text += "mercy";
  size_t hits = 0;
  for (auto _ : state) {
    bool limit = false;
    hits = ChapterInfo::getSearchResults(dbs().content, 1, text, &limit).size();
  }
  state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_Search_WorstCasePlain)->Unit(benchmark::kMillisecond);

void BM_Search_SingleWord(benchmark::State& state) {
  for (auto _ : state) {
    bool limit = false;
    benchmark::DoNotOptimize(ChapterInfo::getSearchResults(dbs().content, 1, "patience", &limit));
  }
}
BENCHMARK(BM_Search_SingleWord)->Unit(benchmark::kMillisecond);

// A pasted text: `bytes` of verse-like prose, words and punctuation as a page of
// a book has them.
std::string pastedText(size_t bytes) {
  std::string text;
  for (int i = 0; text.size() < bytes; ++i) {
    text += kWords[(i * 7) % 12];
    text += i % 11 == 10 ? ". " : i % 5 == 4 ? ", " : " ";
  }
  text.resize(bytes);
  return text;
}

// Measures, from another thread, how long the store lock stays taken: the probe
// takes and releases it in a loop and keeps the longest wait for it.
class LockProbe {
 public:
  LockProbe() : thread_([this] { run(); }) {}
  ~LockProbe() { stop(); }
  // Ends the probe; the longest wait in milliseconds.
  double stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return longest_.load();
  }

 private:
  void run() {
    while (!stop_) {
      auto asked = std::chrono::steady_clock::now();
      { store::Guard guard(store::lock()); }
      double waited = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - asked).count();
      if (waited > longest_) longest_ = waited;
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
  }
  std::atomic<bool> stop_{false};
  std::atomic<double> longest_{0};
  std::thread thread_;
};

// A long pasted search text (a page, a megabyte): the time of the search and the
// longest time another thread waited for the store lock meanwhile.
void BM_Search_PastedText(benchmark::State& state) {
  std::string text = pastedText(static_cast<size_t>(state.range(0)));
  dbs();
  LockProbe probe;
  for (auto _ : state) {
    bool limit = false;
    benchmark::DoNotOptimize(ChapterInfo::getSearchResults(dbs().content, 1, text, &limit));
    // Lets the probe in between two searches, so its wait is one search's hold.
    state.PauseTiming();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    state.ResumeTiming();
  }
  state.counters["lock_held_ms"] = probe.stop();
}
BENCHMARK(BM_Search_PastedText)->Arg(3000)->Arg(1 << 20)->Unit(benchmark::kMillisecond)->UseRealTime();

// 2,000 bookmarks over surahs 2 onwards, a third with a note, in four groups;
// every fifth surah's section folded. The screen shows translation 1.
void seedBookmarks() {
  static bool seeded = false;
  if (seeded) return;
  seeded = true;
  ns::UserDefaults::standardUserDefaults().setFilePath(dbs().dir + "/defaults.json");  // never the person's own
  ns::UserDefaults::standardUserDefaults().setInteger(1, "CurrentTranslationv22");
  ChapterInfo::beginTrans(dbs().user);
  int n = 0;
  for (int surah = 2; surah <= 114 && n < 2000; ++surah) {
    if (surah % 5 == 0) ChapterInfo::setBookmarkSectionCollapsed(dbs().user, surah, true);
    for (int verse = 1; verse <= ChapterInfo::getVersesFromNumber(surah) && n < 2000; verse += 2, ++n)
      ChapterInfo::insertBookmark(dbs().user, surah, verse, false, n % 4, n % 3 ? "" : "a note");
  }
  ChapterInfo::commitTrans(dbs().user);
}

// What the bookmarks screen loads: the flat list of every group with each row's
// Arabic text and translation, then one folded-state test per surah section.
void BM_BookmarkList_ChapterInfo(benchmark::State& state) {
  seedBookmarks();
  size_t rows = 0;
  for (auto _ : state) {
    auto bookmarks = ChapterInfo::getAllBookmarks(dbs().user, false, -1, std::string());
    int lastSurah = 0, sections = 0;
    for (const BookmarkPtr& bookmark : bookmarks) {
      if (bookmark->surah() == lastSurah) continue;
      lastSurah = bookmark->surah();
      sections += ChapterInfo::hasBookmarkSectionCollapsed(dbs().user, lastSurah) ? 1 : 0;
    }
    benchmark::DoNotOptimize(sections);
    rows = bookmarks.size();
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_BookmarkList_ChapterInfo)->Unit(benchmark::kMillisecond);

// The same statements straight on SQLite, each prepared once and reset per row,
// the texts copied into plain records.
void BM_BookmarkList_RawSQLite(benchmark::State& state) {
  seedBookmarks();
  struct Row {
    int surah, verse, group;
    bool isAudio, hasNote;
    std::string arabic, translation;
  };
  auto text = [](sqlite3_stmt* s, int col) {
    const unsigned char* t = sqlite3_column_text(s, col);
    return t ? std::string(reinterpret_cast<const char*>(t), sqlite3_column_bytes(s, col)) : std::string();
  };
  sqlite3_stmt *list = nullptr, *arabic = nullptr, *translation = nullptr, *folded = nullptr;
  sqlite3_prepare_v2(dbs().user,
                     "SELECT surah, verse, is_audio, trim(note) as nn, bkgroup FROM bookmarks  ORDER BY surah, verse, "
                     "is_audio",
                     -1, &list, nullptr);
  sqlite3_prepare_v2(dbs().content, "SELECT translation FROM simplearabic WHERE surah = ? AND verse = ?", -1, &arabic,
                     nullptr);
  sqlite3_prepare_v2(dbs().content, "SELECT translation FROM trans1 WHERE surah = ? AND verse = ?", -1, &translation,
                     nullptr);
  sqlite3_prepare_v2(dbs().user, "SELECT collapsed FROM bookmarksections WHERE surah = ?", -1, &folded, nullptr);
  size_t rows = 0;
  for (auto _ : state) {
    std::vector<Row> bookmarks;
    while (sqlite3_step(list) == SQLITE_ROW) {
      Row row{sqlite3_column_int(list, 0), sqlite3_column_int(list, 1), sqlite3_column_int(list, 4),
              sqlite3_column_int(list, 2) == 1, !text(list, 3).empty(), {}, {}};
      for (auto [stmt, out] : {std::pair{arabic, &row.arabic}, std::pair{translation, &row.translation}}) {
        sqlite3_bind_int(stmt, 1, row.surah);
        sqlite3_bind_int(stmt, 2, row.verse);
        if (sqlite3_step(stmt) == SQLITE_ROW) *out = text(stmt, 0);
        sqlite3_reset(stmt);
      }
      bookmarks.push_back(std::move(row));
    }
    sqlite3_reset(list);
    int lastSurah = 0, sections = 0;
    for (const Row& row : bookmarks) {
      if (row.surah == lastSurah) continue;
      lastSurah = row.surah;
      sqlite3_bind_int(folded, 1, lastSurah);
      sections += sqlite3_step(folded) == SQLITE_ROW ? 1 : 0;
      sqlite3_reset(folded);
    }
    benchmark::DoNotOptimize(sections);
    rows = bookmarks.size();
  }
  for (sqlite3_stmt* s : {list, arabic, translation, folded}) sqlite3_finalize(s);
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_BookmarkList_RawSQLite)->Unit(benchmark::kMillisecond);

// A 5 MB MP3 stored compressed, read back and inflated.
void BM_ReadStoredMP3_5MB(benchmark::State& state) {
  static bool stored = false;
  if (!stored) {
    stored = true;
    std::mt19937 rng(7);
    ns::Data mp3(5u << 20);
    for (size_t i = 0; i < mp3.size(); ++i) mp3[i] = static_cast<std::uint8_t>(i % 97 < 60 ? rng() : i % 251);
    ChapterInfo::insertMP3Blob(dbs().user, 2, 1, 5, mp3);
  }
  for (auto _ : state) benchmark::DoNotOptimize(ChapterInfo::getMP3Recitation(dbs().user, 2, 1, 5));
  state.SetBytesProcessed(state.iterations() * (5 << 20));
}
BENCHMARK(BM_ReadStoredMP3_5MB)->Unit(benchmark::kMillisecond);

}  // namespace

// Each benchmark runs nine times, shuffled with the others, so that a spell of
// load on the shared machine falls on both sides of a ratio; the ratios are of
// the medians, of real and of CPU time.
int main(int argc, char** argv) {
  return bench::runAndPrintRatios(
      argc, argv,
      [](const bench::TimeKeeper& times) {
        std::printf("\nThe store's median time over the same statements on raw SQLite (1.00: as fast)\n");
        std::printf("%-46s %6s %6s\n", "", "real", "CPU");
        auto ratio = [&](const char* what, const char* ours, const char* reference) {
          const double real = times.ratio(ours, reference);
          const double cpu = times.ratio(ours, reference, bench::TimeKeeper::Clock::Cpu);
          if (real > 0 && cpu > 0) std::printf("%-46s %6.2f %6.2f\n", what, real, cpu);
        };
        ratio("reading screen rows of surah 2", "BM_ReadingRows_ChapterInfo", "BM_ReadingRows_RawSQLite");
        ratio("bookmarks screen list of 2,000 bookmarks", "BM_BookmarkList_ChapterInfo", "BM_BookmarkList_RawSQLite");
      },
      9);
}
