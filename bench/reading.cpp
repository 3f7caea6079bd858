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

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Classes/app/ReadingRootViewController.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/glyphs/ArabicFont.h"
#include "Classes/reading/VerseHeightCache.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Window.h"
#include "bench/BenchSupport.h"

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
    if (bench::builtContentDatabase().empty() ||
        !std::filesystem::exists(ns::builtResourceDirectory() + "/zarveldyn.db"))
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
    s.arabic = bench::uthmaniVerses(2);
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

// Pango at the size whose line is as tall as the glyph renderer's: the
// verses right-aligned and justified, the translations beneath them.
struct PangoText {
  bench::PangoParagraph arabic, latin;
};

PangoText pangoText(Reading& r) {
  PangoText t;
  t.arabic.font = pango_font_description_from_string("Amiri Quran");
  float line = r.screen().fontLoader() ? float(r.screen().fontLoader()->lineHeight()) : 57.0f;
  pango_font_description_set_absolute_size(t.arabic.font, double(line) / 2.0 * PANGO_SCALE);
  t.latin.font = pango_font_description_from_string("Helvetica");
  pango_font_description_set_absolute_size(t.latin.font, 14 * PANGO_SCALE);
  float width = r.screen().tblVerses->frame().width();
  t.arabic.width = int(width - 70);
  t.arabic.rightAligned = t.arabic.justified = true;
  t.latin.width = int(width - 80);
  return t;
}

// Draws the rows of both texts that meet [top, top + height); the rows'
// heights come from heights (measured when empty).
void pangoScreen(cairo_t* cr, Reading& r, PangoText& t, std::vector<int>& heights, double top, double height) {
  bool measure = heights.empty();
  if (measure)
    for (int v = 0; v < kVerses; ++v) {
      heights.push_back(t.arabic.measure(cr, r.arabic[size_t(v)]));
      heights.push_back(t.latin.measure(cr, r.translation[size_t(v)]) + 15);
    }
  double y = 0;
  for (size_t row = 0; row < heights.size(); ++row) {
    double h = heights[row];
    if (y + h > top && y < top + height) {
      size_t v = row / 2;
      if (row % 2 == 0) t.arabic.draw(cr, r.arabic[v], 10, y - top);
      else t.latin.draw(cr, r.translation[v], 65, y - top);
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

// A flick's iteration takes the time of its worst frame; its median frame
// goes beside it.
void reportFrames(benchmark::State& state, std::vector<double>& frames) {
  state.SetIterationTime(*std::max_element(frames.begin(), frames.end()));
  std::nth_element(frames.begin(), frames.begin() + frames.size() / 2, frames.end());
  state.counters["median_ms"] = frames[frames.size() / 2] * 1e3;
}

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
    reportFrames(state, frames);
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
    reportFrames(state, frames);
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

}  // namespace

int main(int argc, char** argv) {
  return bench::runAndPrintRatios(argc, argv, [](const bench::TimeKeeper& times) {
    auto ratio = [&](const char* ours, const char* reference, const char* what) {
      if (double value = times.ratio(ours, reference)) std::printf("%s: %.3f\n", what, value);
    };
    ratio("BM_ReadingOpenSurah2Cold", "BM_PangoOpenSurah2", "opening surah 2 the first time, ours / pango");
    ratio("BM_ReadingOpenSurah2Warm", "BM_PangoOpenSurah2", "opening surah 2 again, ours / pango");
    ratio("BM_ReadingFlickWorstFrame", "BM_PangoFlickWorstFrame", "worst frame of a flick, ours / pango");
    ratio("BM_TopOffsetLastRowWarm", "BM_TopOffsetLastRowCold", "last row's offset, warm / cold");
  });
}
