// The reading screen on surah 2 (286 verses) with the English translation,
// headless at 1024 x 748, on the real content database:
//  - opening the surah, from the rebuild to the first drawn frame (glyph
//    heights measured, as on a first open, and kept, as on a later one),
//    beside pango measuring all 286 verses and their translations from
//    Unicode with Amiri Quran and drawing those on the first screen;
//  - the worst frame of a flick from the top to the bottom, beside pango
//    shaping and drawing the verses visible in each frame;
//  - the top offset of the last row, cold and warm.
// The ratios are printed at the end.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "Classes/app/ReadingRootViewController.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/glyphs/ArabicFont.h"
#include "Classes/reading/VerseHeightCache.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Window.h"
#include "tools/contentdb/QuranText.h"

namespace {

constexpr int kVerses = 286;
constexpr float kFrameStep = 50;  // a fast flick: 3000 points a second at 60 frames

using Clock = std::chrono::steady_clock;
double seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

struct Reading {
  std::unique_ptr<ui::HeadlessBackend> backend;
  std::shared_ptr<ZarvelSDKAppDelegate> delegate;
  std::shared_ptr<ReadingRootViewController> root;
  std::vector<std::string> arabic, translation;
  bool ready = false;
  SurahViewController& screen() { return *root->reading(); }
  ui::Window& window() { return *ui::Window::keyWindow(); }
};

Reading& reading() {
  static Reading r = [] {
    Reading s;
    const std::string resources = ZARVEL_RESOURCE_DIR;
    if (!std::filesystem::exists(resources + "/zarvel.db") || !std::filesystem::exists(resources + "/zarveldyn.db"))
      return s;
    auto home = std::filesystem::temp_directory_path() / "bench-reading";
    std::filesystem::remove_all(home);
    setenv("ZARVEL_HOME", home.c_str(), 1);
    s.backend = std::make_unique<ui::HeadlessBackend>(1.8e9 + 5 * 86400);
    ZarvelSDKAppDelegate::initialize();
    auto& d = ns::UserDefaults::standardUserDefaults();
    d.setInteger(1, "CurrentTranslationPrimary");
    d.setInteger(1, "CurrentTranslationv22");
    d.setObject(ns::Value(std::string("2")), "LastSurah");
    s.delegate = std::make_shared<ZarvelSDKAppDelegate>();
    s.root = std::make_shared<ReadingRootViewController>();
    s.delegate->setIpadRootViewController(s.root);
    s.backend->launch(s.delegate);
    s.backend->advance(1);
    ns::RunLoop::main().runUntilIdle();
    try {
      for (const auto& verse : contentdb::loadVerses(ZARVEL_QURAN_JSON, "text"))
        if (verse.surah == 2) s.arabic.push_back(verse.text);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "no Uthmani text: %s\n", e.what());
    }
    s.translation = ChapterInfo::getTranslationDataFor(s.delegate->dbConnectionStatic(), 1, 2);
    s.ready = s.arabic.size() == size_t(kVerses) && s.translation.size() == size_t(kVerses);
    return s;
  }();
  return r;
}

// One frame: the window drawn into a surface kept from frame to frame, as a
// backend keeps its window's.
void drawFrame(Reading& r) {
  static cg::Context surface = cg::Context::bitmap(1024, 1024);
  r.backend->advance(1.0 / 60);  // a frame's time passes: running animations move on
  r.window().render(surface);
}

void openSurah2(Reading& r) {
  r.screen().setupBasicSurah(2, 1, false);
  r.screen().setupSurah(2, 1, false);
}

void BM_ReadingOpenSurah2Cold(benchmark::State& state) {
  Reading& r = reading();
  if (!r.ready) return state.SkipWithError("the content database or quran-json is missing");
  for (auto _ : state) {
    VerseHeightCache::shared().clear();
    openSurah2(r);
    drawFrame(r);
  }
}
BENCHMARK(BM_ReadingOpenSurah2Cold)->Unit(benchmark::kMillisecond);

void BM_ReadingOpenSurah2Warm(benchmark::State& state) {
  Reading& r = reading();
  if (!r.ready) return state.SkipWithError("the content database or quran-json is missing");
  openSurah2(r);
  for (auto _ : state) {
    openSurah2(r);
    drawFrame(r);
  }
}
BENCHMARK(BM_ReadingOpenSurah2Warm)->Unit(benchmark::kMillisecond);

// Pango at the size whose line is as tall as the glyph renderer's.
struct PangoText {
  PangoFontDescription* arabic = nullptr;
  PangoFontDescription* latin = nullptr;
  int arabicWidth = 0, latinWidth = 0;
};

PangoText pangoText(Reading& r) {
  PangoText t;
  t.arabic = pango_font_description_from_string("Amiri Quran");
  float line = r.screen().fontLoader() ? float(r.screen().fontLoader()->lineHeight()) : 57.0f;
  pango_font_description_set_absolute_size(t.arabic, double(line) / 2.0 * PANGO_SCALE);
  t.latin = pango_font_description_from_string("Helvetica");
  pango_font_description_set_absolute_size(t.latin, 14 * PANGO_SCALE);
  float width = r.screen().tblVerses->frame().width();
  t.arabicWidth = int(width - 70);
  t.latinWidth = int(width - 80);
  return t;
}

// Lays one text out (and draws it at y when a context is given); its height.
int pangoRow(cairo_t* cr, const std::string& text, PangoFontDescription* font, int width, bool rtl, double y) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_width(layout, width * PANGO_SCALE);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
  if (rtl) {
    pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
    pango_layout_set_justify(layout, true);
  }
  pango_layout_set_text(layout, text.c_str(), -1);
  int w, h;
  pango_layout_get_pixel_size(layout, &w, &h);
  if (y >= 0) {
    cairo_move_to(cr, rtl ? 10 : 65, y);
    pango_cairo_show_layout(cr, layout);
  }
  g_object_unref(layout);
  return h;
}

// Draws the rows of both texts that meet [top, top + height); the rows'
// heights come from heights (measured when empty).
void pangoScreen(cairo_t* cr, Reading& r, PangoText& t, std::vector<int>& heights, double top, double height) {
  bool measure = heights.empty();
  if (measure)
    for (int v = 0; v < kVerses; ++v) {
      heights.push_back(pangoRow(cr, r.arabic[size_t(v)], t.arabic, t.arabicWidth, true, -1));
      heights.push_back(pangoRow(cr, r.translation[size_t(v)], t.latin, t.latinWidth, false, -1) + 15);
    }
  double y = 0;
  for (size_t row = 0; row < heights.size(); ++row) {
    double h = heights[row];
    if (y + h > top && y < top + height) {
      size_t v = row / 2;
      if (row % 2 == 0) pangoRow(cr, r.arabic[v], t.arabic, t.arabicWidth, true, y - top);
      else pangoRow(cr, r.translation[v], t.latin, t.latinWidth, false, y - top);
    }
    y += h;
  }
}

void BM_PangoOpenSurah2(benchmark::State& state) {
  Reading& r = reading();
  if (!r.ready) return state.SkipWithError("the content database or quran-json is missing");
  PangoText t = pangoText(r);
  cg::Rect frame = r.window().bounds();
  cg::Context ctx = cg::Context::bitmap(int(frame.width()), int(frame.height()));
  for (auto _ : state) {
    std::vector<int> heights;
    pangoScreen(ctx.cairo(), r, t, heights, 0, frame.height());
    benchmark::DoNotOptimize(heights);
  }
}
BENCHMARK(BM_PangoOpenSurah2)->Unit(benchmark::kMillisecond);

// The slowest frame of a flick from the top of the surah to its bottom.
void BM_ReadingFlickWorstFrame(benchmark::State& state) {
  Reading& r = reading();
  if (!r.ready) return state.SkipWithError("the content database or quran-json is missing");
  openSurah2(r);
  auto& table = *r.screen().tblVerses;
  for (auto _ : state) {
    std::vector<double> frames;
    float bottom = table.contentSize().height - table.bounds().height();
    // The flick starts from the top as the reader sees it, already drawn.
    table.setContentOffset(cg::Point{0, 0});
    drawFrame(r);
    for (float y = kFrameStep; y <= bottom; y += kFrameStep) {
      auto start = Clock::now();
      table.setContentOffset(cg::Point{0, y});
      drawFrame(r);
      frames.push_back(seconds(start, Clock::now()));
    }
    state.SetIterationTime(*std::max_element(frames.begin(), frames.end()));
    std::nth_element(frames.begin(), frames.begin() + frames.size() / 2, frames.end());
    state.counters["median_ms"] = frames[frames.size() / 2] * 1e3;
  }
}
BENCHMARK(BM_ReadingFlickWorstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PangoFlickWorstFrame(benchmark::State& state) {
  Reading& r = reading();
  if (!r.ready) return state.SkipWithError("the content database or quran-json is missing");
  PangoText t = pangoText(r);
  cg::Rect frame = r.window().bounds();
  cg::Context ctx = cg::Context::bitmap(int(frame.width()), int(frame.height()));
  std::vector<int> heights;
  pangoScreen(ctx.cairo(), r, t, heights, 0, 0);
  double total = 0;
  for (int h : heights) total += h;
  float visible = r.screen().tblVerses->bounds().height();
  for (auto _ : state) {
    std::vector<double> frames;
    for (double y = kFrameStep; y <= total - visible; y += kFrameStep) {
      auto start = Clock::now();
      cairo_set_source_rgb(ctx.cairo(), 1, 1, 1);
      cairo_paint(ctx.cairo());
      cairo_set_source_rgb(ctx.cairo(), 0, 0, 0);
      pangoScreen(ctx.cairo(), r, t, heights, y, visible);
      frames.push_back(seconds(start, Clock::now()));
    }
    state.SetIterationTime(*std::max_element(frames.begin(), frames.end()));
    std::nth_element(frames.begin(), frames.begin() + frames.size() / 2, frames.end());
    state.counters["median_ms"] = frames[frames.size() / 2] * 1e3;
  }
}
BENCHMARK(BM_PangoFlickWorstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TopOffsetLastRowCold(benchmark::State& state) {
  Reading& r = reading();
  if (!r.ready) return state.SkipWithError("the content database or quran-json is missing");
  openSurah2(r);
  int last = r.screen().numberOfVerseRows() - 1;
  for (auto _ : state) {
    state.PauseTiming();
    VerseHeightCache::shared().clear();
    r.screen().refreshVerseHeights();
    state.ResumeTiming();
    benchmark::DoNotOptimize(r.screen().getTopOffsetForRow(last, false));
  }
}
BENCHMARK(BM_TopOffsetLastRowCold)->Unit(benchmark::kMicrosecond);

void BM_TopOffsetLastRowWarm(benchmark::State& state) {
  Reading& r = reading();
  if (!r.ready) return state.SkipWithError("the content database or quran-json is missing");
  openSurah2(r);
  int last = r.screen().numberOfVerseRows() - 1;
  r.screen().getTopOffsetForRow(last, false);
  for (auto _ : state) benchmark::DoNotOptimize(r.screen().getTopOffsetForRow(last, false));
}
BENCHMARK(BM_TopOffsetLastRowWarm)->Unit(benchmark::kNanosecond);

class TimeKeeper : public benchmark::ConsoleReporter {
 public:
  TimeKeeper() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        times[run.run_name.function_name] = run.GetAdjustedRealTime() * timeUnitSeconds(run.time_unit);
    ConsoleReporter::ReportRuns(runs);
  }
  static double timeUnitSeconds(benchmark::TimeUnit unit) {
    switch (unit) {
      case benchmark::kNanosecond: return 1e-9;
      case benchmark::kMicrosecond: return 1e-6;
      case benchmark::kMillisecond: return 1e-3;
      default: return 1;
    }
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TimeKeeper reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto ratio = [&](const char* ours, const char* reference, const char* what) {
    auto a = reporter.times.find(ours), b = reporter.times.find(reference);
    if (a != reporter.times.end() && b != reporter.times.end() && b->second > 0)
      std::printf("%s: %.3f\n", what, a->second / b->second);
  };
  ratio("BM_ReadingOpenSurah2Cold", "BM_PangoOpenSurah2", "opening surah 2 the first time, ours / pango");
  ratio("BM_ReadingOpenSurah2Warm", "BM_PangoOpenSurah2", "opening surah 2 again, ours / pango");
  ratio("BM_ReadingFlickWorstFrame", "BM_PangoFlickWorstFrame", "worst frame of a flick, ours / pango");
  ratio("BM_TopOffsetLastRowWarm", "BM_TopOffsetLastRowCold", "last row's offset, warm / cold");
  benchmark::Shutdown();
  return 0;
}
