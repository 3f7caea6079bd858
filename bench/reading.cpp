// Reading surah 2 (286 verses) with the English translation in the shell the
// program builds (loadMainInterface), headless, on the real content database:
//  - every frame of a flick from the top of the surah to its bottom, in the
//    main thread's CPU time, at scale 1 and at scale 2: the median, the 95th
//    percentile and the worst frame, beside pango shaping and drawing the
//    verses visible in each frame at the same scale; and apart, the idle
//    work run after each frame (rows drawn ahead), alone and with its frame;
//  - opening surah 2 again in the running shell, beside pango measuring all
//    286 verses and their translations and drawing the first screen;
//  - opening surah 2 from a cold start: a new process launches the shell on
//    a data folder used before and runs until the first frame is drawn (cold
//    glyph images, database pages and measurers), beside a new process in
//    which pango shapes and draws the verses of that first screen;
//  - the top offset of the last row, cold and warm.
// The ratios are printed at the end.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "Classes/app/MainInterface.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/glyphs/ArabicFont.h"
#include "Classes/reading/SurahViewController.h"
#include "Classes/reading/VerseHeightCache.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Animator.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "bench/BenchSupport.h"

extern char** environ;

namespace {

constexpr int kVerses = 286;
constexpr float kFrameStep = 50;  // a fast flick: 3000 points a second at 60 frames
constexpr double kWednesday = 1.8e9 + 5 * 86400;  // no Friday reminder over the screen

double threadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double wallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool contentAvailable() {
  return !bench::builtContentDatabase().empty() &&
         std::filesystem::exists(ns::builtResourceDirectory() + "/zarveldyn.db");
}

// The data folder every shell of this run uses (and the cold starts reuse).
const std::filesystem::path& home() {
  static const std::filesystem::path path = [] {
    auto p = std::filesystem::temp_directory_path() / ("bench-reading-" + std::to_string(getpid()));
    std::filesystem::remove_all(p);
    setenv("ZARVEL_HOME", p.c_str(), 1);
    return p;
  }();
  return path;
}

struct HomeRemover {
  ~HomeRemover() {
    std::error_code ignored;
    if (!home().empty()) std::filesystem::remove_all(home(), ignored);
  }
};

// Surah 2 with the first English translation beside it, as a reader left it.
void storeReadingPlace() {
  ZarvelSDKAppDelegate::initialize();
  auto& d = ns::UserDefaults::standardUserDefaults();
  d.setBool(true, "TipsHaveShownHD");
  d.setInteger(1, "CurrentTranslationPrimary");
  d.setInteger(1, "CurrentTranslationv22");
  d.setInteger(2, "CurrentlyShowingSurah");
  d.setObject(ns::Value(std::string("2")), "LastSurah");
  d.synchronize();
}

// Launches the shell on surah 2 and lets its set-up run.
std::shared_ptr<ZarvelSDKAppDelegate> launchShell(ui::HeadlessBackend& backend) {
  storeReadingPlace();
  auto delegate = loadMainInterface();
  backend.launch(delegate);
  if (ui::Window* w = ui::Window::keyWindow()) w->setShowsStatusBar(true);
  return delegate;
}

SurahViewController* readingScreen(const std::shared_ptr<ZarvelSDKAppDelegate>& delegate) {
  iPadRootViewController* root = delegate ? delegate->ipadRootViewController() : nullptr;
  return root ? root->viewContSurah().get() : nullptr;
}

bool showsSurah2(const std::shared_ptr<ZarvelSDKAppDelegate>& delegate) {
  SurahViewController* s = readingScreen(delegate);
  return s && s->iCurrentSurah() == 2 && s->tblVerses && !s->tblVerses->visibleCells().empty();
}

// The shell at one scale; another scale closes it and launches again.
struct Shell {
  float scale = 0;
  std::unique_ptr<ui::HeadlessBackend> backend;
  std::shared_ptr<ZarvelSDKAppDelegate> delegate;
  std::vector<std::string> arabic, translation;
  std::unique_ptr<cg::Context> surface;  // kept from frame to frame, as a backend keeps its window's
  bool ready = false;
  SurahViewController& screen() { return *readingScreen(delegate); }
  ui::Window& window() { return *ui::Window::keyWindow(); }

  void close() {
    if (!backend) return;
    ui::Animator::finishAll();
    ns::Thread::waitForDetachedThreads();
    ns::RunLoop::main().runUntilIdle();
    ui::Application::shared().terminate();
    ui::Application::shared().setDelegate(nullptr);
    ui::Application::shared().resetForTesting();
    ui::ButtonPanel::resetForTesting();
    delegate.reset();
    surface.reset();
    backend.reset();
    ready = false;
  }
};

Shell& shell(float scale) {
  static Shell s;
  if (s.backend && s.scale == scale) return s;
  s.close();
  s.scale = scale;
  if (!contentAvailable()) return s;
  home();
  s.backend = std::make_unique<ui::HeadlessBackend>(kWednesday);
  ui::Screen::main().setScale(scale);
  s.delegate = launchShell(*s.backend);
  for (int i = 0; i < 4 && !showsSurah2(s.delegate); ++i) {
    s.backend->advance(0.5);
    ns::Thread::waitForDetachedThreads();
    ns::RunLoop::main().runUntilIdle();
  }
  s.backend->advance(2);
  ns::Thread::waitForDetachedThreads();
  ns::RunLoop::main().runUntilIdle();
  cg::Rect b = s.window().bounds();
  s.surface = std::make_unique<cg::Context>(cg::Context::bitmap(b.width(), b.height(), scale));
  s.arabic = bench::uthmaniVerses(2);
  s.translation = ChapterInfo::getTranslationDataFor(s.delegate->dbConnectionStatic(), 1, 2);
  s.ready = showsSurah2(s.delegate) && s.arabic.size() == size_t(kVerses) &&
            s.translation.size() == size_t(kVerses);
  return s;
}

// One frame: a frame's time passes (running animations move on), then the
// window draws what changed on the surface it keeps, as the backend has it do.
void drawFrame(Shell& s) {
  s.backend->advance(1.0 / 60);
  s.window().display(*s.surface);
}

// Frame times of one flick, kept for the ratios at the end.
struct Frames {
  double median = 0, p95 = 0, worst = 0;
};
std::map<std::string, Frames>& frameFigures() {
  static std::map<std::string, Frames> figures;
  return figures;
}

Frames summarise(std::vector<double> frames) {
  std::sort(frames.begin(), frames.end());
  Frames f;
  f.median = frames[frames.size() / 2];
  f.p95 = frames[std::min(frames.size() - 1, frames.size() * 95 / 100)];
  f.worst = frames.back();
  return f;
}

// A flick's iteration takes the time of its worst frame; the median and
// the 95th percentile go beside it. The last iteration's figures are kept.
void reportFrames(benchmark::State& state, const std::vector<double>& frames, const std::string& name) {
  Frames f = summarise(frames);
  state.SetIterationTime(f.worst);
  state.counters["median_ms"] = f.median * 1e3;
  state.counters["p95_ms"] = f.p95 * 1e3;
  state.counters["worst_ms"] = f.worst * 1e3;
  frameFigures()[name] = f;
}

std::string scaleName(const std::string& what, float scale) { return what + (scale >= 2 ? "@2x" : "@1x"); }

void BM_ShellFlick(benchmark::State& state) {
  float scale = float(state.range(0));
  Shell& s = shell(scale);
  if (!s.ready) return state.SkipWithError("the content database or quran-json is missing");
  auto& table = *s.screen().tblVerses;
  for (auto _ : state) {
    std::vector<double> frames;
    float bottom = table.contentSize().height - table.bounds().height();
    // The flick starts from the top as the reader sees it, already drawn.
    table.setContentOffset(cg::Point{0, 0});
    drawFrame(s);
    drawFrame(s);
    ns::RunLoop::main().runUntilIdle();
    std::vector<double> idle, busy;
    for (float y = kFrameStep; y <= bottom; y += kFrameStep) {
      double start = threadSeconds();
      table.setContentOffset(cg::Point{0, y});
      drawFrame(s);
      double drawn = threadSeconds();
      frames.push_back(drawn - start);
      // The idle turns after the frame, as a window's loop runs them before
      // it waits for the next event: the work put off until the frame was
      // shown (rows drawn ahead of the scroll).
      ns::RunLoop::main().runUntilIdle();
      idle.push_back(threadSeconds() - drawn);
      busy.push_back(threadSeconds() - start);
    }
    reportFrames(state, frames, scaleName("shell", scale));
    Frames i = summarise(idle), b = summarise(busy);
    state.counters["idle_median_ms"] = i.median * 1e3;
    state.counters["idle_worst_ms"] = i.worst * 1e3;
    frameFigures()[scaleName("idle", scale)] = i;
    frameFigures()[scaleName("busy", scale)] = b;
  }
}
BENCHMARK(BM_ShellFlick)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Pango at the size whose line is as tall as the glyph renderer's: the
// verses right-aligned and justified, the translations beneath them.
struct PangoText {
  bench::PangoParagraph arabic, latin;
  ~PangoText() {
    if (arabic.font) pango_font_description_free(arabic.font);
    if (latin.font) pango_font_description_free(latin.font);
  }
};

void setUpPangoText(PangoText& t, float lineHeight, float width) {
  t.arabic.font = pango_font_description_from_string("Amiri Quran");
  pango_font_description_set_absolute_size(t.arabic.font, double(lineHeight) / 2.0 * PANGO_SCALE);
  t.latin.font = pango_font_description_from_string("Helvetica");
  pango_font_description_set_absolute_size(t.latin.font, 14 * PANGO_SCALE);
  t.arabic.width = int(width - 70);
  t.arabic.rightAligned = t.arabic.justified = true;
  t.latin.width = int(width - 80);
}

// Draws the rows of both texts that meet [top, top + height); the rows'
// heights come from heights (measured, for every verse or only as far as the
// screen reaches, when empty).
void pangoScreen(cairo_t* cr, const std::vector<std::string>& arabic, const std::vector<std::string>& translation,
                 PangoText& t, std::vector<int>& heights, double top, double height, bool measureAll) {
  if (heights.empty()) {
    double y = 0;
    for (size_t v = 0; v < arabic.size() && (measureAll || y < top + height); ++v) {
      heights.push_back(t.arabic.measure(cr, arabic[v]));
      heights.push_back(t.latin.measure(cr, translation[v]) + 15);
      y += heights[heights.size() - 2] + heights.back();
    }
  }
  double y = 0;
  for (size_t row = 0; row < heights.size(); ++row) {
    double h = heights[row];
    if (y + h > top && y < top + height) {
      size_t v = row / 2;
      if (row % 2 == 0) t.arabic.draw(cr, arabic[v], 10, y - top);
      else t.latin.draw(cr, translation[v], 65, y - top);
    }
    y += h;
  }
}

float readingLineHeight(Shell& s) {
  return s.screen().fontLoader() ? float(s.screen().fontLoader()->lineHeight()) : 57.0f;
}

void BM_PangoFlick(benchmark::State& state) {
  float scale = float(state.range(0));
  Shell& s = shell(scale);
  if (!s.ready) return state.SkipWithError("the content database or quran-json is missing");
  PangoText t;
  auto& table = *s.screen().tblVerses;
  setUpPangoText(t, readingLineHeight(s), table.frame().width());
  cg::Rect frame = s.window().bounds();
  cg::Context ctx = cg::Context::bitmap(frame.width(), frame.height(), scale);
  std::vector<int> heights;
  pangoScreen(ctx.cairo(), s.arabic, s.translation, t, heights, 0, 0, true);
  double total = 0;
  for (int h : heights) total += h;
  float visible = table.bounds().height();
  for (auto _ : state) {
    std::vector<double> frames;
    for (double y = kFrameStep; y <= total - visible; y += kFrameStep) {
      double start = threadSeconds();
      cairo_set_source_rgb(ctx.cairo(), 1, 1, 1);
      cairo_paint(ctx.cairo());
      cairo_set_source_rgb(ctx.cairo(), 0, 0, 0);
      pangoScreen(ctx.cairo(), s.arabic, s.translation, t, heights, y, visible, true);
      frames.push_back(threadSeconds() - start);
    }
    reportFrames(state, frames, scaleName("pango", scale));
  }
}
BENCHMARK(BM_PangoFlick)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void openSurah2(Shell& s) {
  s.screen().setupBasicSurah(2, 1, false);
  s.screen().setupSurah(2, 1, false);
}

void BM_ShellOpenSurah2Again(benchmark::State& state) {
  Shell& s = shell(1);
  if (!s.ready) return state.SkipWithError("the content database or quran-json is missing");
  openSurah2(s);
  for (auto _ : state) {
    openSurah2(s);
    drawFrame(s);
  }
}
BENCHMARK(BM_ShellOpenSurah2Again)->Unit(benchmark::kMillisecond);

void BM_PangoOpenSurah2(benchmark::State& state) {
  Shell& s = shell(1);
  if (!s.ready) return state.SkipWithError("the content database or quran-json is missing");
  PangoText t;
  setUpPangoText(t, readingLineHeight(s), s.screen().tblVerses->frame().width());
  cg::Rect frame = s.window().bounds();
  cg::Context ctx = cg::Context::bitmap(frame.width(), frame.height());
  for (auto _ : state) {
    std::vector<int> heights;
    pangoScreen(ctx.cairo(), s.arabic, s.translation, t, heights, 0, frame.height(), true);
    benchmark::DoNotOptimize(heights);
  }
}
BENCHMARK(BM_PangoOpenSurah2)->Unit(benchmark::kMillisecond);

// --- the cold start, in new processes ----------------------------------------------

// What a cold child measures and prints: seconds from the start of its main.
constexpr const char* kColdShell = "--cold-open-shell";
constexpr const char* kColdPango = "--cold-open-pango";

// The shell launched on the data folder of the parent, to its first frame of surah 2.
int coldShellChild(double started) {
  ui::HeadlessBackend backend(kWednesday);
  auto delegate = launchShell(backend);
  // Deferred phases run on the virtual clock, which costs no real time.
  for (int i = 0; i < 40 && !showsSurah2(delegate); ++i) {
    backend.advance(0.05);
    ns::RunLoop::main().runUntilIdle();
  }
  if (!showsSurah2(delegate)) return 1;
  ui::Window& w = *ui::Window::keyWindow();
  cg::Context ctx = cg::Context::bitmap(w.bounds().width(), w.bounds().height());
  w.display(ctx);
  double seconds = wallSeconds() - started;
  std::printf("%.6f\n", seconds);
  std::fflush(stdout);
  std::_Exit(0);  // the time is taken; the shutdown is not part of it
}

// Pango's first screen: the verses and translations that fill the reading
// table's height, shaped and drawn. The parent hands over their texts in a
// file (one per line, verse then translation) and the sizes.
int coldPangoChild(double started, const char* textFile, float lineHeight, float width, float height) {
  std::vector<std::string> arabic, translation;
  FILE* in = std::fopen(textFile, "r");
  if (!in) return 1;
  char* line = nullptr;
  size_t capacity = 0;
  for (ssize_t n; (n = getline(&line, &capacity, in)) > 0;) {
    std::string text(line, size_t(n) - (line[n - 1] == '\n' ? 1 : 0));
    (arabic.size() == translation.size() ? arabic : translation).push_back(text);
  }
  std::free(line);
  std::fclose(in);
  if (arabic.empty() || arabic.size() != translation.size()) return 1;
  PangoText t;
  setUpPangoText(t, lineHeight, width);
  cg::Context ctx = cg::Context::bitmap(1024, 768);
  std::vector<int> heights;
  pangoScreen(ctx.cairo(), arabic, translation, t, heights, 0, height, false);
  double seconds = wallSeconds() - started;
  std::printf("%.6f\n", seconds);
  std::fflush(stdout);
  std::_Exit(0);
}

// Runs this program again with the arguments; the seconds it printed, or -1.
double runChild(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  static char self[] = "/proc/self/exe";
  argv.push_back(self);
  std::vector<std::string> copy = args;
  for (auto& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  pid_t pid = 0;
  int rc = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  std::string out;
  char buf[256];
  ssize_t n;
  while (rc == 0 && (n = read(pipeFds[0], buf, sizeof buf)) > 0) out.append(buf, size_t(n));
  close(pipeFds[0]);
  if (rc != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || out.empty()) return -1;
  return std::strtod(out.c_str(), nullptr);
}

constexpr int kColdRuns = 5;
std::map<std::string, double>& coldFigures() {
  static std::map<std::string, double> figures;
  return figures;
}

// The median of the children's figures is the iteration's time.
void runColdChildren(benchmark::State& state, const std::vector<std::string>& args, const std::string& name) {
  for (auto _ : state) {
    std::vector<double> runs;
    for (int i = 0; i < kColdRuns; ++i) {
      double seconds = runChild(args);
      if (seconds < 0) return state.SkipWithError("the cold start failed");
      runs.push_back(seconds);
    }
    std::sort(runs.begin(), runs.end());
    state.SetIterationTime(runs[runs.size() / 2]);
    coldFigures()[name] = runs[runs.size() / 2];
  }
}

void BM_ShellOpenSurah2Cold(benchmark::State& state) {
  Shell& s = shell(1);  // the data folder has been used once: a later launch
  if (!s.ready) return state.SkipWithError("the content database or quran-json is missing");
  s.close();
  runColdChildren(state, {kColdShell}, "shell");
}
BENCHMARK(BM_ShellOpenSurah2Cold)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PangoOpenSurah2Cold(benchmark::State& state) {
  Shell& s = shell(1);
  if (!s.ready) return state.SkipWithError("the content database or quran-json is missing");
  auto& table = *s.screen().tblVerses;
  // The first screen's verses at most (the child stops where the screen ends).
  std::string texts = (home() / "first-screen.txt").string();
  if (FILE* out = std::fopen(texts.c_str(), "w")) {
    for (int v = 0; v < 12; ++v)
      std::fprintf(out, "%s\n%s\n", s.arabic[size_t(v)].c_str(), s.translation[size_t(v)].c_str());
    std::fclose(out);
  }
  std::string line = std::to_string(readingLineHeight(s));
  std::string width = std::to_string(table.frame().width());
  std::string height = std::to_string(table.bounds().height());
  runColdChildren(state, {kColdPango, texts, line, width, height}, "pango");
}
BENCHMARK(BM_PangoOpenSurah2Cold)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TopOffsetLastRowCold(benchmark::State& state) {
  Shell& s = shell(1);
  if (!s.ready) return state.SkipWithError("the content database or quran-json is missing");
  int last = s.screen().numberOfVerseRows() - 1;
  for (auto _ : state) {
    state.PauseTiming();
    VerseHeightCache::shared().clear();
    s.screen().refreshVerseHeights();
    state.ResumeTiming();
    benchmark::DoNotOptimize(s.screen().getTopOffsetForRow(last, false));
  }
}
BENCHMARK(BM_TopOffsetLastRowCold)->Unit(benchmark::kMicrosecond);

void BM_TopOffsetLastRowWarm(benchmark::State& state) {
  Shell& s = shell(1);
  if (!s.ready) return state.SkipWithError("the content database or quran-json is missing");
  int last = s.screen().numberOfVerseRows() - 1;
  s.screen().getTopOffsetForRow(last, false);
  for (auto _ : state) benchmark::DoNotOptimize(s.screen().getTopOffsetForRow(last, false));
}
BENCHMARK(BM_TopOffsetLastRowWarm)->Unit(benchmark::kNanosecond);

void printFrameRatios() {
  auto& f = frameFigures();
  for (const char* scale : {"@1x", "@2x"}) {
    auto ours = f.find(std::string("shell") + scale), pango = f.find(std::string("pango") + scale);
    if (ours == f.end() || pango == f.end()) continue;
    const Frames& a = ours->second;
    const Frames& b = pango->second;
    std::printf("flick frames at scale %c, ms (ours / pango): median %.3f / %.3f = %.3f, p95 %.3f / %.3f = %.3f, "
                "worst %.3f / %.3f = %.3f\n",
                scale[1], a.median * 1e3, b.median * 1e3, a.median / b.median, a.p95 * 1e3, b.p95 * 1e3,
                a.p95 / b.p95, a.worst * 1e3, b.worst * 1e3, a.worst / b.worst);
    auto idle = f.find(std::string("idle") + scale), busy = f.find(std::string("busy") + scale);
    if (idle != f.end() && busy != f.end())
      std::printf("idle work after a flick frame at scale %c, ms: median %.3f, worst %.3f; frame and its idle work: "
                  "median %.3f, worst %.3f\n",
                  scale[1], idle->second.median * 1e3, idle->second.worst * 1e3, busy->second.median * 1e3,
                  busy->second.worst * 1e3);
  }
  auto& c = coldFigures();
  if (c.count("shell") && c.count("pango"))
    std::printf("opening surah 2 from a cold start, ms (ours / pango): %.1f / %.1f = %.3f\n", c["shell"] * 1e3,
                c["pango"] * 1e3, c["shell"] / c["pango"]);
}

}  // namespace

int main(int argc, char** argv) {
  double started = wallSeconds();
  if (argc >= 2 && std::strcmp(argv[1], kColdShell) == 0) return coldShellChild(started);
  if (argc >= 6 && std::strcmp(argv[1], kColdPango) == 0)
    return coldPangoChild(started, argv[2], std::strtof(argv[3], nullptr), std::strtof(argv[4], nullptr),
                          std::strtof(argv[5], nullptr));
  HomeRemover removeHomeAtExit;
  return bench::runAndPrintRatios(argc, argv, [](const bench::TimeKeeper& times) {
    auto ratio = [&](const char* ours, const char* reference, const char* what) {
      if (double value = times.ratio(ours, reference)) std::printf("%s: %.3f\n", what, value);
    };
    printFrameRatios();
    ratio("BM_ShellOpenSurah2Again", "BM_PangoOpenSurah2", "opening surah 2 again, ours / pango");
    ratio("BM_TopOffsetLastRowWarm", "BM_TopOffsetLastRowCold", "last row's offset, warm / cold");
  });
}
