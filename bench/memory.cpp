// The process's memory in long reading: the real shell, headless, opens every
// surah in turn and scrolls its verses end to end, drawing each screen as the
// window would. The caches of verse heights, glyph images and translation
// measures are bounded, so what the process holds after the whole Quran
// stays near what it holds after the first surahs. Reported as counters (in
// megabytes): the resident size after the launch, after the first ten surahs
// and after all 114, and the growth over the last 104 as a ratio of the first
// ten's. Run alone: bench/bench_memory.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "Classes/app/MainInterface.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/reading/VerseHeightCache.h"
#include "Classes/shell/iPadRootViewController.h"
#include "BenchSupport.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Application.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace {

// The resident set of the process, in megabytes, after returning what the
// allocator keeps free to the system (so the figure is what is held).
double residentMegabytes() {
  malloc_trim(0);
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

struct Reader {
  ui::HeadlessBackend backend{1.8e9};
  std::shared_ptr<ZarvelSDKAppDelegate> delegate;
  cairo_surface_t* surface = nullptr;
  float scale;

  explicit Reader(float drawingScale) : scale(drawingScale) {
    auto home = std::filesystem::temp_directory_path() / ("zarvel-bench-memory-" + std::to_string(getpid()));
    std::filesystem::remove_all(home);
    setenv("ZARVEL_HOME", home.c_str(), 1);
    ns::UserDefaults::standardUserDefaults().setBool(true, "TipsHaveShownHD");
    ns::UserDefaults::standardUserDefaults().setInteger(1, "CurrentTranslationv22");  // a translation beside the Arabic
    ns::UserDefaults::standardUserDefaults().setInteger(1, "CurrentTranslationPrimary");
    ui::Screen::main().setScale(scale);  // a window with twice the screen's pixels draws at 2
    delegate = loadMainInterface();
    backend.launch(delegate);
    settle(1.5);
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(1024 * scale), int(768 * scale));
  }
  ~Reader() {
    cairo_surface_destroy(surface);
    ui::Application::shared().terminate();
    ui::Application::shared().setDelegate(nullptr);
    std::filesystem::remove_all(std::filesystem::path(ns::documentsDirectory()).parent_path());
  }

  void settle(double seconds) {
    backend.advance(seconds);
    ns::Thread::waitForDetachedThreads();
    ns::RunLoop::main().runUntilIdle();
  }

  void draw() {
    if (ui::Window* w = ui::Window::keyWindow()) {
      cg::Context ctx(surface, scale);
      w->render(ctx);
    }
  }

  // Opens the surah and scrolls its verses from the first to the last, half
  // a screen at a time, drawing every step.
  void readThrough(int surah) {
    delegate->showSurahView(surah, 1, false, false);
    settle(1.0);
    auto reading = delegate->ipadRootViewController()->viewContSurah();
    ui::TableView& table = *reading->tblVerses;
    float step = std::max(100.0f, table.bounds().height() / 2);
    for (float y = 0;; y += step) {
      float bottom = std::max(0.0f, table.contentSize().height - table.bounds().height());
      table.setContentOffset(cg::Point{0, std::min(y, bottom)});
      table.layoutIfNeeded();
      draw();
      if (y >= bottom) break;
    }
    settle(0.5);
  }
};

void BM_ReadEverySurahEndToEnd(benchmark::State& state) {
  if (bench::builtContentDatabase().empty()) {
    state.SkipWithError("the content database is not built");
    return;
  }
  for (auto _ : state) {
    Reader reader(float(state.range(0)));
    double launched = residentMegabytes();
    for (int surah = 1; surah <= 10; ++surah) reader.readThrough(surah);
    double firstTen = residentMegabytes();
    for (int surah = 11; surah <= 114; ++surah) {
      reader.readThrough(surah);
      if (surah % 19 == 0)
        std::fprintf(stderr, "after surah %d: %.1f MB resident, %.1f MB allocated, %zu verse heights\n", surah,
                     residentMegabytes(), double(mallinfo2().uordblks) / (1024.0 * 1024.0),
                     VerseHeightCache::shared().size());
    }
    double all = residentMegabytes();
    // And back through the first ten, which the bounded caches have let go.
    for (int surah = 1; surah <= 10; ++surah) reader.readThrough(surah);
    double again = residentMegabytes();
    state.counters["MB_launched"] = launched;
    state.counters["MB_first_10_surahs"] = firstTen;
    state.counters["MB_all_114"] = all;
    state.counters["MB_first_10_again"] = again;
    state.counters["growth_ratio_114_vs_10"] = (all - launched) / std::max(1.0, firstTen - launched);
    std::printf("scale %g: resident: %.1f MB launched, %.1f MB after surahs 1-10, %.1f MB after all 114, %.1f MB after 1-10 "
                "again; growth through all 114 surahs %.2f times the growth through the first 10 (the last 104 add %.1f MB)\n",
                reader.scale, launched, firstTen, all, again, (all - launched) / std::max(1.0, firstTen - launched),
                all - firstTen);
  }
}
// At scale 1, and at scale 2 (a window with twice the pixels, glyphs of the large styles).
BENCHMARK(BM_ReadEverySurahEndToEnd)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
