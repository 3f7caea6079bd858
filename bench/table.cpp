// A table of 573 rows of varied heights (the longest surah with a
// translation) beside one of 14 rows (the shortest): reloading, scrolling one
// screen, and the worst frame of a flick through it. Only the visible rows
// should cost anything beyond the height model, so the ratios printed at the
// end should stay near 1 for scrolling and flicking.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/Clock.h"
#include "platform/graphics/Context.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"

namespace {

class VerseRows : public ui::TableViewDataSource, public ui::TableViewDelegate {
 public:
  explicit VerseRows(int rows) {
    for (int r = 0; r < rows; ++r) heights.push_back(40 + float((r * 37) % 151));
  }
  std::vector<float> heights;

  int numberOfRowsInSection(ui::TableView*, int) override { return int(heights.size()); }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* t, const ui::IndexPath& p) override {
    auto cell = t->dequeueReusableCellWithIdentifier("VerseCell");
    if (!cell) cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Subtitle, "VerseCell");
    cell->textLabel()->setText("Verse " + std::to_string(p.row + 1));
    cell->detailTextLabel()->setText("A line of translation under the verse");
    return cell;
  }
  float heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath& p) override { return heights[p.row]; }
};

struct Scene {
  explicit Scene(int rows) : clock(ns::VirtualClock::install()), data(std::make_shared<VerseRows>(rows)) {
    window = std::make_shared<ui::Window>(cg::Rect(0, 0, 1024, 768));
    window->makeKeyAndVisible();
    table = std::make_shared<ui::TableView>(cg::Rect(0, 0, 1024, 700), ui::TableViewStyle::Plain);
    table->setDataSource(data);
    table->setDelegate(data);
    window->addSubview(table);
    window->layoutIfNeeded();
  }
  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<VerseRows> data;
  std::shared_ptr<ui::Window> window;
  std::shared_ptr<ui::TableView> table;
};

void BM_ReloadData(benchmark::State& state) {
  Scene scene(int(state.range(0)));
  for (auto _ : state) scene.table->reloadData();
}
BENCHMARK(BM_ReloadData)->Arg(14)->Arg(573)->Repetitions(5)->ReportAggregatesOnly(true);

// One screen down in frame-sized steps, as a drag moves it, then back.
void BM_ScrollOneScreen(benchmark::State& state) {
  Scene scene(int(state.range(0)));
  for (auto _ : state) {
    for (int step = 1; step <= 10; ++step) scene.table->setContentOffset({0, float(step * 70)});
    scene.table->setContentOffset({0, 0});
  }
}
BENCHMARK(BM_ScrollOneScreen)->Arg(14)->Arg(573)->Repetitions(5)->ReportAggregatesOnly(true);

// The calling thread's processor time: a frame's own work, whatever else the
// machine is doing.
double threadSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// A flick from the top, frame by frame until it rests: each frame moves the
// table and draws the window. The iteration's time is its slowest frame.
void BM_FlickWorstFrame(benchmark::State& state) {
  Scene scene(int(state.range(0)));
  auto context = cg::Context::bitmap(1024, 768, 1);
  ui::GestureScript script(*scene.window, *scene.clock);
  for (auto _ : state) {
    scene.table->setContentOffset({0, 0});
    script.flick({500, 600}, {500, 300}, 3000);
    double worst = 0;
    for (int frame = 0; frame < 240 && scene.table->isDecelerating(); ++frame) {
      double start = threadSeconds();
      scene.clock->advance(ui::GestureScript::kFrame);
      scene.window->render(context);
      worst = std::max(worst, threadSeconds() - start);
    }
    state.SetIterationTime(worst);
  }
}
BENCHMARK(BM_FlickWorstFrame)
    ->Arg(14)
    ->Arg(573)
    ->UseManualTime()
    ->Iterations(20)  // each is a whole flick of a hundred frames or more
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Prints the runs as usual and keeps the median of each for the ratios (a
// worst frame is easily disturbed by a busy machine).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> seconds;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs)
      if (run.aggregate_name == "median") seconds[run.run_name.str()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n573 rows against 14 rows (ratio of the medians):\n");
  // Run names go "<function>/<rows>/repeats:5[/manual_time]".
  auto median = [&](const std::string& prefix) -> double {
    for (const auto& [run, seconds] : reporter.seconds)
      if (run.rfind(prefix, 0) == 0) return seconds;
    return 0;
  };
  for (const char* name : {"BM_ReloadData", "BM_ScrollOneScreen", "BM_FlickWorstFrame"}) {
    double big = median(std::string(name) + "/573/"), small = median(std::string(name) + "/14/");
    if (big > 0 && small > 0) std::printf("  %-20s %.2f\n", name, big / small);
  }
  benchmark::Shutdown();
  return 0;
}
