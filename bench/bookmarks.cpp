// The bookmarks screen of the shell the application builds, over 2,000
// bookmarks with their Arabic and translated texts (the build's content
// database): the screen's own load, from the request to the rows shown,
// next to the same statements run straight on SQLite (on the calling thread,
// and on a thread started for them as the screen starts one); and the keys
// typed into the filter, the first after a load and those after it, in CPU
// time of every thread. The ratios and the figures are printed at the end.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Classes/bookmarks/BookmarksViewController.h"
#include "Classes/core/ChapterInfo.h"
#include "bench/BenchSupport.h"
#include "bench/ShellScene.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Animator.h"

namespace {

// 2,000 bookmarks over surahs 2 onwards, a third with a note, in four groups;
// every fifth surah's section folded.
void addBookmarks(sqlite3* db) {
  int n = 0;
  for (int surah = 2; surah <= 114 && n < 2000; ++surah) {
    if (surah % 5 == 0) bench::exec(db, ns::format("INSERT INTO bookmarksections VALUES (%d, 1)", surah));
    for (int verse = 1; verse <= ChapterInfo::getVersesFromNumber(surah) && n < 2000; verse += 2, ++n)
      bench::exec(db, ns::format("INSERT INTO bookmarks (surah, verse, is_audio, note, bkgroup) VALUES (%d, %d, 0, '%s', %d)",
                                 surah, verse, n % 3 ? "" : "a note", n % 4));
  }
}

// The application with its Bookmarks tab open.
struct Scene : bench::ShellScene {
  Scene() : bench::ShellScene("bookmarks", addBookmarks) {
    auto& defaults = ns::UserDefaults::standardUserDefaults();
    defaults.setInteger(1, "CurrentTranslationv22");
    defaults.setInteger(1, "CurrentTranslationPrimary");
    launch(2);
    settle();
  }
  BookmarksViewController* list() const { return visible<BookmarksViewController>(); }
  // The list with the filter given the text; every benchmark leaves it empty,
  // since the runs of all of them are shuffled together.
  void filter(const std::string& text) {
    list()->txtSearchBar()->setText(text);
    settle();
  }
  // Until the load asked for has reached the screen.
  void settle() {
    do {
      ns::Thread::waitForDetachedThreads();
      ns::RunLoop::main().runUntilIdle();
    } while (list() && list()->loadingBookmarks());
    ui::Animator::finishAll();
  }
};

Scene& scene() {
  static Scene s;
  return s;
}

size_t shownRows(const BookmarksViewController& list) {
  size_t rows = 0;
  for (const auto& section : list.arrSectionedBookmarks()) rows += section->AllBookmarks()->size();
  return rows;
}

// The screen's load: the worker's query and sections, the hand-over, the
// header rows and the table reloaded.
void BM_BookmarksScreen_Load(benchmark::State& state) {
  Scene& s = scene();
  BookmarksViewController* list = s.list();
  if (!list) return state.SkipWithError("no bookmarks screen");
  for (auto _ : state) {
    list->setupBookmarkRows();
    s.settle();
  }
  state.counters["rows"] = double(shownRows(*list));
}
BENCHMARK(BM_BookmarksScreen_Load)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
// The same, its CPU time the main thread's only: what the reader could feel.
BENCHMARK(BM_BookmarksScreen_Load)->Name("BM_BookmarksScreen_Load_MainThread")->Unit(benchmark::kMillisecond)->UseRealTime();

// The same statements straight on SQLite, each prepared once and reset per
// row, the texts copied into plain records in one read transaction, as the
// store reads them, and the records put in sections of one surah with their
// fold state: the rows the screen reads, into the sections it shows.
class RawReader {
 public:
  RawReader(sqlite3* user, sqlite3* content) : content_(content) {
    sqlite3_prepare_v2(user,
                       "SELECT surah, verse, is_audio, trim(note) as nn, bkgroup FROM bookmarks ORDER BY surah, verse, "
                       "is_audio",
                       -1, &list_, nullptr);
    sqlite3_prepare_v2(content, "SELECT translation FROM simplearabic WHERE surah = ? AND verse = ?", -1, &arabic_,
                       nullptr);
    sqlite3_prepare_v2(content, "SELECT translation FROM trans1 WHERE surah = ? AND verse = ?", -1, &translation_,
                       nullptr);
    sqlite3_prepare_v2(user, "SELECT collapsed FROM bookmarksections WHERE surah = ?", -1, &folded_, nullptr);
  }
  ~RawReader() {
    for (sqlite3_stmt* st : {list_, arabic_, translation_, folded_}) sqlite3_finalize(st);
  }
  bool ready() const { return list_ && arabic_ && translation_ && folded_; }

  // The rows read.
  size_t read() {
    std::vector<Row> bookmarks;
    sqlite3_exec(content_, "BEGIN", nullptr, nullptr, nullptr);
    while (sqlite3_step(list_) == SQLITE_ROW) {
      Row row{sqlite3_column_int(list_, 0), sqlite3_column_int(list_, 1), sqlite3_column_int(list_, 4),
              sqlite3_column_int(list_, 2) == 1, !text(list_, 3).empty(), {}, {}};
      for (auto [stmt, out] : {std::pair{arabic_, &row.arabic}, std::pair{translation_, &row.translation}}) {
        sqlite3_bind_int(stmt, 1, row.surah);
        sqlite3_bind_int(stmt, 2, row.verse);
        if (sqlite3_step(stmt) == SQLITE_ROW) *out = text(stmt, 0);
        sqlite3_reset(stmt);
      }
      bookmarks.push_back(std::move(row));
    }
    sqlite3_reset(list_);
    sqlite3_exec(content_, "COMMIT", nullptr, nullptr, nullptr);
    std::vector<Section> sections;
    for (size_t i = 0; i < bookmarks.size(); ++i) {
      if (sections.empty() || bookmarks[i].surah != sections.back().surah) {
        sqlite3_bind_int(folded_, 1, bookmarks[i].surah);
        sections.push_back({bookmarks[i].surah, sqlite3_step(folded_) == SQLITE_ROW, {}});
        sqlite3_reset(folded_);
      }
      sections.back().rows.push_back(&bookmarks[i]);
    }
    benchmark::DoNotOptimize(sections.data());
    return bookmarks.size();
  }

 private:
  struct Row {
    int surah, verse, group;
    bool isAudio, hasNote;
    std::string arabic, translation;
  };
  struct Section {
    int surah;
    bool folded;
    std::vector<const Row*> rows;
  };
  static std::string text(sqlite3_stmt* st, int col) {
    const unsigned char* t = sqlite3_column_text(st, col);
    return t ? std::string(reinterpret_cast<const char*>(t), sqlite3_column_bytes(st, col)) : std::string();
  }

  sqlite3* content_;
  sqlite3_stmt *list_ = nullptr, *arabic_ = nullptr, *translation_ = nullptr, *folded_ = nullptr;
};

void BM_BookmarksScreen_RawSQLite(benchmark::State& state) {
  Scene& s = scene();
  RawReader reader(s.delegate->dbConnection(), s.delegate->dbConnectionStatic());
  if (!reader.ready()) return state.SkipWithError("the statements did not prepare");
  size_t rows = 0;
  for (auto _ : state) rows = reader.read();
  state.counters["rows"] = double(rows);
}
BENCHMARK(BM_BookmarksScreen_RawSQLite)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// The same on a thread started for each read, as the screen starts one for
// each load so that the main thread never waits for the store: a new thread
// mostly runs on another core than the last, away from the caches it warmed.
void BM_BookmarksScreen_RawSQLiteOnAThread(benchmark::State& state) {
  Scene& s = scene();
  RawReader reader(s.delegate->dbConnection(), s.delegate->dbConnectionStatic());
  if (!reader.ready()) return state.SkipWithError("the statements did not prepare");
  size_t rows = 0;
  for (auto _ : state) ns::Thread("rawBookmarks", [&] { rows = reader.read(); }).join();
  state.counters["rows"] = double(rows);
}
BENCHMARK(BM_BookmarksScreen_RawSQLiteOnAThread)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// The first key typed into the filter after the list has loaded: the texts
// the filter compares are made then, once per load. Each run is one key on a
// list loaded afresh (outside the time), so the figure is the median of keys
// that a reader meets first.
void BM_BookmarksScreen_FirstFilterKeystroke(benchmark::State& state) {
  Scene& s = scene();
  BookmarksViewController* list = s.list();
  if (!list) return state.SkipWithError("no bookmarks screen");
  list->setupBookmarkRows();
  s.settle();
  for (auto _ : state) s.filter("merc");
  state.counters["rows"] = double(shownRows(*list));
  s.filter("");
}
BENCHMARK(BM_BookmarksScreen_FirstFilterKeystroke)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->Iterations(1)
    ->Repetitions(21);

// Every key after it ("mercy" and back to "merc"): the bookmarks read last
// narrowed again and shown.
void BM_BookmarksScreen_FilterKeystroke(benchmark::State& state) {
  Scene& s = scene();
  BookmarksViewController* list = s.list();
  if (!list) return state.SkipWithError("no bookmarks screen");
  s.filter("merc");
  bool longer = false;
  for (auto _ : state) s.filter((longer = !longer) ? "mercy" : "merc");
  s.filter("");
}
BENCHMARK(BM_BookmarksScreen_FilterKeystroke)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace

// The load's real time carries the waits for the worker thread, which a busy
// machine stretches; its CPU time (every thread's) is the work done. Each
// benchmark runs several times, shuffled together; the figures are medians.
int main(int argc, char** argv) {
  return bench::runOnContentDatabase(
      argc, argv,
      [](const bench::TimeKeeper& t) {
        bench::printRatio(t, "bookmarks screen load / raw SQLite", "BM_BookmarksScreen_Load",
                          "BM_BookmarksScreen_RawSQLite", 1.3);
        bench::printRatio(t, "bookmarks screen load / raw SQLite on a thread of its own", "BM_BookmarksScreen_Load",
                          "BM_BookmarksScreen_RawSQLiteOnAThread", 1.3);
        const auto cpu = bench::TimeKeeper::Clock::Cpu;
        std::printf("the first key in the filter after a load: %.2f ms of CPU (goal under 16)\n",
                    t.seconds("BM_BookmarksScreen_FirstFilterKeystroke", cpu) * 1e3);
        std::printf("every key after it: %.2f ms of CPU (goal under 16)\n",
                    t.seconds("BM_BookmarksScreen_FilterKeystroke", cpu) * 1e3);
      },
      9);
}
