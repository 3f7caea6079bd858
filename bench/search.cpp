// The search screen of the shell the application builds, on the build's
// content database: a plain search typed into the screen, from the pause's
// timer to the results shown, next to the same statements run straight on
// SQLite (the word pass, the full-text pass and each hit's verse); and ten
// keys typed quickly, which run one query. The ratio is printed at the end.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <set>
#include <string>

#include "Classes/core/ChapterInfo.h"
#include "Classes/search/SearchViewController.h"
#include "bench/BenchSupport.h"
#include "bench/ShellScene.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Animator.h"

namespace {

// The application with its Search tab open on the English translation, one
// search run to warm it.
struct Scene : bench::ShellScene {
  Scene() : bench::ShellScene("search", [](sqlite3*) {}) {
    auto& defaults = ns::UserDefaults::standardUserDefaults();
    defaults.setInteger(1, "CurrentTranslationPrimary");
    defaults.setInteger(1, "LastTranslationSearched");
    defaults.setInteger(1, "FirstTimeInstall");
    launch(1);
    settle();
    type("mercy");
  }
  SearchViewController* screen() const { return visible<SearchViewController>(); }
  // Until the query asked for has reached the screen.
  void settle() {
    do {
      ns::Thread::waitForDetachedThreads();
      ns::RunLoop::main().runUntilIdle();
    } while (screen() && screen()->loadingResults());
    ui::Animator::finishAll();
  }
  // The text typed, the pause passed, the results shown.
  void type(const std::string& text) {
    screen()->txtSearchBar()->setText(text);
    backend->advance(0.2);
    settle();
  }
};

Scene& scene() {
  static Scene s;
  return s;
}

// "mercy" and "Mercy" in turn (the same verses; the screen runs each): the
// query and its snippets on the worker, the sections and the table shown.
void BM_SearchScreen_PlainSearch(benchmark::State& state) {
  Scene& s = scene();
  SearchViewController* screen = s.screen();
  if (!screen) return state.SkipWithError("no search screen");
  bool capital = false;
  for (auto _ : state) {
    state.PauseTiming();
    screen->txtSearchBar()->setText((capital = !capital) ? "Mercy" : "mercy");
    state.ResumeTiming();
    s.backend->advance(0.2);  // the pause's timer fires
    s.settle();
  }
  state.counters["hits"] = screen->totalVerses();
}
BENCHMARK(BM_SearchScreen_PlainSearch)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// The same statements straight on SQLite: the word pass (the verse folded by
// the store's function, matched by the word and by the whole text), the
// full-text pass, and each hit's verse for its snippet.
void BM_SearchScreen_RawSQLite(benchmark::State& state) {
  Scene& s = scene();
  sqlite3* content = s.delegate->dbConnectionStatic();
  sqlite3_stmt *word = nullptr, *fullText = nullptr, *verse = nullptr;
  sqlite3_prepare_v2(content,
                     "SELECT surah, verse FROM trans1fts WHERE translation  LIKE '$+qwertyuiop+$'  OR "
                     "foldcase(translation) LIKE ? ESCAPE '\\'  OR foldcase(translation) LIKE ? ESCAPE '\\'  ORDER BY "
                     "CAST(surah AS INTEGER), CAST(verse AS INTEGER) LIMIT 200",
                     -1, &word, nullptr);
  sqlite3_prepare_v2(content,
                     "SELECT surah, verse FROM trans1fts WHERE trans1fts MATCH ? ORDER BY CAST(surah AS INTEGER), "
                     "CAST(verse AS INTEGER) LIMIT 200",
                     -1, &fullText, nullptr);
  sqlite3_prepare_v2(content, "SELECT translation FROM trans1 WHERE surah = ? AND verse = ?", -1, &verse, nullptr);
  if (!word || !fullText || !verse) return state.SkipWithError("the statements did not prepare");
  size_t found = 0;
  for (auto _ : state) {
    std::set<std::pair<int, int>> hits;
    for (int i = 1; i <= 2; ++i) sqlite3_bind_text(word, i, "%mercy%", -1, SQLITE_STATIC);
    while (sqlite3_step(word) == SQLITE_ROW) hits.insert({sqlite3_column_int(word, 0), sqlite3_column_int(word, 1)});
    sqlite3_reset(word);
    sqlite3_bind_text(fullText, 1, "mercy", -1, SQLITE_STATIC);
    while (sqlite3_step(fullText) == SQLITE_ROW)
      hits.insert({sqlite3_column_int(fullText, 0), sqlite3_column_int(fullText, 1)});
    sqlite3_reset(fullText);
    std::vector<std::string> texts;
    for (auto [surah, v] : hits) {
      sqlite3_bind_int(verse, 1, surah);
      sqlite3_bind_int(verse, 2, v);
      if (sqlite3_step(verse) == SQLITE_ROW) texts.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(verse, 0)));
      sqlite3_reset(verse);
    }
    benchmark::DoNotOptimize(texts.data());
    found = hits.size();
  }
  for (sqlite3_stmt* st : {word, fullText, verse}) sqlite3_finalize(st);
  state.counters["hits"] = double(found);
}
BENCHMARK(BM_SearchScreen_RawSQLite)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// Ten keys typed 0.05 s apart, then the pause: one query runs.
void BM_SearchScreen_TenKeysTypedQuickly(benchmark::State& state) {
  Scene& s = scene();
  SearchViewController* screen = s.screen();
  if (!screen) return state.SkipWithError("no search screen");
  const std::string word = "patiences ";
  int bursts = 0, queries = 0;
  for (auto _ : state) {
    int before = SearchViewController::queriesRun();
    std::string text = bursts % 2 ? "" : " ";
    for (char c : word) {
      text += c;
      screen->txtSearchBar()->setText(text);
      s.backend->advance(0.05);
    }
    s.backend->advance(0.2);
    s.settle();
    queries += SearchViewController::queriesRun() - before;
    ++bursts;
  }
  state.counters["queries_per_ten_keys"] = bursts ? double(queries) / bursts : 0;
}
BENCHMARK(BM_SearchScreen_TenKeysTypedQuickly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return bench::runOnContentDatabase(
      argc, argv,
      [](const bench::TimeKeeper& t) {
        bench::printRatio(t, "plain search in the screen / raw SQLite", "BM_SearchScreen_PlainSearch",
                          "BM_SearchScreen_RawSQLite", 1.3);
        std::printf("queries run for ten keys typed quickly: %.0f (goal 1)\n", t.counter("queries_per_ten_keys"));
      },
      9);
}
