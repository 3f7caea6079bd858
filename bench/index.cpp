// The recitation status of the surah index (114 surahs for nine reciters),
// read in two statements, next to the same statements on SQLite (the ratio)
// and to the query per surah and reciter it replaced; and the index shown from
// cold in each mode (in sectioned mode also the 240 quarter texts), a figure of
// its own beside the time of its queries alone on SQLite. The databases are
// generated here: every verse's Arabic and translated text, and recitations of
// every reciter over a third of the surahs.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/RegisteredDefaults.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/index/IndexAudioStatus.h"
#include "Classes/index/IndexViewController.h"
#include "bench/BenchSupport.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Window.h"

namespace {

namespace fs = std::filesystem;

void exec(sqlite3* db, const std::string& sql) { sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr); }

void buildContent(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  exec(db, "PRAGMA synchronous = OFF; BEGIN;"
           "CREATE TABLE trans1 (surah INTEGER, verse INTEGER, translation TEXT);"
           "CREATE INDEX trans1_sv ON trans1 (surah, verse);"
           "CREATE TABLE simplearabic (surah INTEGER, verse INTEGER, translation TEXT);"
           "CREATE INDEX simplearabic_sv ON simplearabic (surah, verse);"
           "CREATE TABLE surahdata (surah INTEGER, verse INTEGER, data BLOB);");
  sqlite3_stmt* ins[2];
  sqlite3_prepare_v2(db, "INSERT INTO trans1 VALUES (?1, ?2, ?3)", -1, &ins[0], nullptr);
  sqlite3_prepare_v2(db, "INSERT INTO simplearabic VALUES (?1, ?2, ?4)", -1, &ins[1], nullptr);
  const std::string arabic = "\u0625\u0646 \u0627\u0644\u0644\u0647 \u0644\u0627 \u064A\u0633\u062A\u062D\u064A";
  for (int surah = 1; surah <= 114; ++surah)
    for (int verse = 1; verse <= ChapterInfo::getVersesFromNumber(surah); ++verse) {
      std::string text = ns::format("Verse %d of surah %d, which the quarter rows show cut to their width", verse, surah);
      for (sqlite3_stmt* s : ins) {
        sqlite3_bind_int(s, 1, surah);
        sqlite3_bind_int(s, 2, verse);
        sqlite3_bind_text(s, 3, text.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 4, arabic.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(s);
        sqlite3_reset(s);
      }
    }
  for (sqlite3_stmt* s : ins) sqlite3_finalize(s);
  exec(db, "COMMIT");
  sqlite3_close(db);
}

// The shipped schema, with each reciter's recitations over a third of the
// surahs, per verse or continuous (high quality for reciter 7).
void buildUser(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  std::ifstream in(ns::sourceDirectory() + "/resources/zarveldyn.sql");
  std::stringstream schema;
  schema << in.rdbuf();
  exec(db, "PRAGMA synchronous = OFF; BEGIN;");
  exec(db, schema.str());
  for (int reciter = 0; reciter < 9; ++reciter)
    for (int surah = 1; surah <= 114; ++surah) {
      if ((surah + reciter) % 3) continue;
      if (surah % 2)
        exec(db, ns::format("INSERT INTO recitations VALUES (%d, %d)", reciter, surah));
      else
        exec(db, ns::format("INSERT INTO contrecitations VALUES (%d, %d, %d)", reciter, surah, reciter == 7));
    }
  exec(db, "COMMIT");
  sqlite3_close(db);
}

// What the index asks of a reading screen, answered by none.
class IdleReading : public IndexReadingScreen {
 public:
  bool settingUpSurah() const override { return false; }
  int iCurrentSurah() const override { return 2; }
  int iCurrentVerse() const override { return 30; }
  void setupBasicSurah(int, int, bool) override {}
  void asyncSurahReload() override {}
  void highlightVerse(int, bool, bool, bool, bool) override {}
  void refreshTheme() override {}
  void setRequiresReload(bool) override {}
  void updateReciterLabel() override {}
};

// A headless application whose delegate has the generated databases open.
struct Scene {
  Scene() {
    dir = fs::temp_directory_path() / ns::format("zarvel-bench-index-%d", static_cast<int>(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "resources");
    buildContent((dir / "resources" / "zarvel.db").string());
    buildUser((dir / "resources" / "zarveldyn.db").string());
    for (const char* shared : {"images", "en.lproj"})
      if (fs::exists(fs::path(ns::builtResourceDirectory()) / shared))
        fs::create_directory_symlink(fs::path(ns::builtResourceDirectory()) / shared, dir / "resources" / shared);
    setenv("ZARVEL_HOME", (dir / "home").c_str(), 1);
    setenv("ZARVEL_RESOURCES", (dir / "resources").c_str(), 1);
    backend = std::make_unique<ui::HeadlessBackend>(1.8e9);
    ZarvelSDKAppDelegate::initialize();
    auto& defaults = ns::UserDefaults::standardUserDefaults();
    defaults.setInteger(1, kCurrentReciter);
    defaults.setInteger(1, kCurrentTranslationPrimary);
    defaults.setInteger(2, kCurrentlyShowingSurah);
    delegate = std::make_shared<ZarvelSDKAppDelegate>();
    delegate->createEditableCopyOfDatabaseIfNeeded();
    delegate->initializeDatabase();
    ui::Application::shared().setDelegate(delegate);
    window = std::make_shared<ui::Window>(cg::Rect(0, 0, 1024, 768));
    window->makeKeyAndVisible();
  }
  ~Scene() {
    delegate->finalizeView();
    fs::remove_all(dir);
  }

  fs::path dir;
  std::unique_ptr<ui::HeadlessBackend> backend;
  std::shared_ptr<ZarvelSDKAppDelegate> delegate;
  std::shared_ptr<ui::Window> window;
};

Scene& scene() {
  static Scene s;
  return s;
}

// The index made, loaded and put on screen in a mode, with its rows laid out.
void BM_ShowIndex(benchmark::State& state) {
  Scene& s = scene();
  ns::UserDefaults::standardUserDefaults().setBool(state.range(0) != 0, kIsShowingSections);
  auto reading = std::make_shared<IdleReading>();
  for (auto _ : state) {
    auto index = std::make_shared<IndexViewController>();
    index->setReadingScreenForTesting(reading);
    index->view()->setFrame(cg::Rect(0, 0, 364, 768));
    s.window->addSubview(index->view());
    index->viewWillAppear(false);
    index->viewDidAppear(false);
    s.window->layoutIfNeeded();
    benchmark::DoNotOptimize(index->surahListTable()->visibleCells().size());
    index->view()->removeFromSuperview();
  }
}
BENCHMARK(BM_ShowIndex)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The codes from the two tables, as the index computes them.
std::vector<int> codesFrom(const std::array<std::array<bool, 115>, 9>& verses,
                           const std::array<std::array<bool, 115>, 9>& parts,
                           const std::array<std::array<bool, 115>, 9>& hq, int reciter) {
  auto has = [&](int surah, int r) {
    int twin = r == 1 ? 7 : r;
    return hq[twin][surah] || parts[r][surah] || verses[r][surah] || verses[twin][surah];
  };
  int twin = reciter == 1 ? 7 : reciter;
  std::vector<int> codes(114);
  for (int surah = 1; surah <= 114; ++surah) {
    bool others = false;
    for (int r = 0; r < 9 && !others; ++r)
      if (r != reciter && r != twin) others = has(surah, r);
    bool current = has(surah, reciter);
    codes[surah - 1] = current ? (others ? 3 : 1) : (others ? 2 : 0);
  }
  return codes;
}

// The same statements straight on SQLite: the status, and in sectioned mode
// the 240 quarter texts through one prepared statement.
void BM_IndexQueriesOnSQLite(benchmark::State& state) {
  Scene& s = scene();
  sqlite3* user = s.delegate->dbConnection();
  sqlite3* content = s.delegate->dbConnectionStatic();
  bool sections = state.range(0) != 0;
  for (auto _ : state) {
    std::array<std::array<bool, 115>, 9> verses{}, parts{}, hq{};
    sqlite3_stmt* q = nullptr;
    sqlite3_prepare_v2(user, "SELECT reciter, surah FROM recitations", -1, &q, nullptr);
    while (sqlite3_step(q) == SQLITE_ROW) verses[sqlite3_column_int(q, 0)][sqlite3_column_int(q, 1)] = true;
    sqlite3_finalize(q);
    sqlite3_prepare_v2(user, "SELECT reciter, surah, ishq FROM contrecitations", -1, &q, nullptr);
    while (sqlite3_step(q) == SQLITE_ROW)
      (sqlite3_column_int(q, 2) ? hq : parts)[sqlite3_column_int(q, 0)][sqlite3_column_int(q, 1)] = true;
    sqlite3_finalize(q);
    benchmark::DoNotOptimize(codesFrom(verses, parts, hq, 1));
    if (!sections) continue;
    sqlite3_prepare_v2(content, "SELECT translation FROM trans1 WHERE surah = ? AND verse = ?", -1, &q, nullptr);
    std::vector<std::string> titles;
    titles.reserve(240);
    for (int quarter = 1; quarter <= 240; ++quarter) {
      int surah = 1, verse = 1;
      ChapterInfo::setSurahVerseForHizb(surah, verse, quarter);
      sqlite3_bind_int(q, 1, surah);
      sqlite3_bind_int(q, 2, verse);
      if (sqlite3_step(q) == SQLITE_ROW) titles.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(q, 0)));
      sqlite3_reset(q);
    }
    sqlite3_finalize(q);
    benchmark::DoNotOptimize(titles.data());
  }
}
BENCHMARK(BM_IndexQueriesOnSQLite)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_AudioStatus(benchmark::State& state) {
  sqlite3* user = scene().delegate->dbConnection();
  for (auto _ : state) benchmark::DoNotOptimize(IndexAudioStatus::read(user).codesForReciter(1));
}
BENCHMARK(BM_AudioStatus)->Unit(benchmark::kMicrosecond);

// The status as it was once computed: up to two queries per reciter and surah.
void BM_AudioStatusQueryPerSurah(benchmark::State& state) {
  sqlite3* db = scene().delegate->dbConnection();
  for (auto _ : state) {
    int reciter = 1, twin = ChapterInfo::getRemoteReciterHQCode(reciter);
    auto has = [db](int surah, int r) {
      return (ChapterInfo::doesReciterSupportContRecitation(r) && ChapterInfo::isSurahAudioContinuous(db, surah, r)) ||
             ChapterInfo::isSurahAudioInstalled(db, surah, r);
    };
    std::vector<int> codes;
    for (int surah = 1; surah <= 114; ++surah) {
      bool others = false;
      for (int r = 0; r < 9 && !others; ++r)
        if (r != reciter && r != twin) others = has(surah, r);
      bool current = has(surah, reciter);
      codes.push_back(current ? (others ? 3 : 1) : (others ? 2 : 0));
    }
    benchmark::DoNotOptimize(codes.data());
  }
}
BENCHMARK(BM_AudioStatusQueryPerSurah)->Unit(benchmark::kMicrosecond);

}  // namespace

// Each benchmark runs five times, shuffled with the others; the figures are
// medians. The ratio compares like work: the status as the index reads it
// against its two statements on SQLite. Showing the screen builds, lays out
// and writes far more than its queries, so its time is a figure of its own.
int main(int argc, char** argv) {
  return bench::runAndPrintRatios(
      argc, argv,
      [](const bench::TimeKeeper& times) {
        using Clock = bench::TimeKeeper::Clock;
        std::printf("\nRatios of medians                                   real      CPU\n");
        auto ratio = [&](const char* label, const std::string& ours, const std::string& reference) {
          const double real = times.ratio(ours, reference), cpu = times.ratio(ours, reference, Clock::Cpu);
          if (real > 0 && cpu > 0) std::printf("  %-48s %8.2f %8.2f\n", label, real, cpu);
        };
        ratio("status / its statements on SQLite", "BM_AudioStatus", "BM_IndexQueriesOnSQLite/0");
        ratio("status by a query per surah / status (information)", "BM_AudioStatusQueryPerSurah", "BM_AudioStatus");
        // Showing a mode also writes the settings file (the offsets, the
        // selection): real time includes that disk work, CPU time does not.
        std::printf("\nThe index shown from cold, median in microseconds     real      CPU\n");
        auto figure = [&](const char* label, const std::string& name) {
          const double real = times.seconds(name), cpu = times.seconds(name, Clock::Cpu);
          if (real > 0) std::printf("  %-48s %8.0f %8.0f\n", label, real * 1e6, cpu * 1e6);
        };
        figure("list mode, the whole screen", "BM_ShowIndex/0");
        figure("list mode, its queries alone on SQLite", "BM_IndexQueriesOnSQLite/0");
        figure("sectioned mode, the whole screen", "BM_ShowIndex/1");
        figure("sectioned mode, its queries alone on SQLite", "BM_IndexQueriesOnSQLite/1");
      },
      5);
}
