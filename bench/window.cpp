// Scrolling surah 2 with the mouse wheel in a real window: the shell the
// program builds, in the SDL backend, at scale 1 (a 1024 x 768 window),
// scale 2 (2048 x 1536) and scale 2 reduced to a 1536 x 1152 window, with
// wheel steps pushed into SDL's event queue as a hand on a wheel sends them
// (every 1/30 s for four seconds). Prints the frames shown a second while the
// content moves; 60 is the display's pace.
// Then the window turns with F8 again and again, at scale 2, and the
// allocator's bytes in use are printed after 10 turns and after the last.
// Needs a display big enough for the window at scale 2, e.g.
//   Xvfb :77 -screen 0 2560x1700x24 & DISPLAY=:77 build-bench/bench/bench_window
// Skipped without DISPLAY.
#include <benchmark/benchmark.h>
#include <SDL.h>
#include <malloc.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "Classes/app/MainInterface.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "platform/backend/sdl/SdlBackend.h"
#include "platform/backend/sdl/WindowGeometry.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Application.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/Screen.h"
#include "bench/BenchSupport.h"

namespace {

constexpr double kSettle = 3;        // seconds for the launch and the surah's set-up
constexpr double kScroll = 4;        // seconds of wheel steps
constexpr double kStepInterval = 1.0 / 30;

double wallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A data folder of its own, where the window opens `width` pixels wide.
std::filesystem::path prepareHome(int width) {
  auto home = std::filesystem::temp_directory_path() / ("bench-window-" + std::to_string(getpid()));
  std::filesystem::remove_all(home);
  setenv("ZARVEL_HOME", home.c_str(), 1);
  ns::createDirectory(ns::configDirectory());
  ui::WindowPlacement place;
  place.width = width;
  place.height = width * 3 / 4;
  place.hasPosition = true;
  ns::writeFileAtomically(ns::pathJoin(ns::configDirectory(), "window.conf"), ui::formatWindowPlacement(place));
  ns::UserDefaults::standardUserDefaults().resetForTesting();
  ZarvelSDKAppDelegate::ResetClassStateForTesting();
  ZarvelSDKAppDelegate::initialize();
  auto& d = ns::UserDefaults::standardUserDefaults();
  d.setBool(true, "TipsHaveShownHD");
  d.setInteger(1, "CurrentTranslationPrimary");
  d.setInteger(1, "CurrentTranslationv22");
  d.setInteger(2, "CurrentlyShowingSurah");
  d.setObject(ns::Value(std::string("2")), "LastSurah");
  d.synchronize();
  return home;
}

// False, with the reason given to the benchmark, when no window can be shown.
bool windowCanRun(benchmark::State& state) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) state.SkipWithError("no DISPLAY (run under Xvfb)");
  else if (bench::builtContentDatabase().empty()) state.SkipWithError("the content database is missing");
  else return true;
  return false;
}

// A fresh data folder for a window so wide, and a fresh application.
std::filesystem::path freshRun(int width) {
  auto home = prepareHome(width);
  ui::Application::shared().resetForTesting();
  ui::ButtonPanel::resetForTesting();
  return home;
}

// A wheel step down at the middle of a window so wide.
void pushWheelStep(int width) {
  SDL_Event e{};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.y = -1;
  e.wheel.preciseY = -1;
  e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  e.wheel.mouseX = width / 2;
  e.wheel.mouseY = width * 3 / 8;
  SDL_PushEvent(&e);
}

void BM_WindowWheelScrollSurah2(benchmark::State& state) {
  if (!windowCanRun(state)) return;
  int width = int(state.range(0));
  for (auto _ : state) {
    auto home = freshRun(width);
    int presentsBefore = 0;
    double started = 0, ended = 0;
    int presentsAfter = 0;
    auto factory = [&] {
      auto& loop = ns::RunLoop::main();
      loop.performAfter(&state, "scroll", kSettle, [&] {
        presentsBefore = ui::SdlBackend::presents();
        started = wallSeconds();
        loop.scheduleTimer(kStepInterval, true, [&, steps = 0](ns::Timer& timer) mutable {
          pushWheelStep(width);
          if (++steps < int(kScroll / kStepInterval)) return;
          timer.invalidate();
          // The last steps ease out before the count ends.
          loop.performAfter(&state, "stop", 0.15, [&] {
            presentsAfter = ui::SdlBackend::presents();
            ended = wallSeconds();
            ui::Application::shared().terminate();
          });
        });
      });
      return loadMainInterface();
    };
    int status = ui::SdlBackend::run(factory);
    std::filesystem::remove_all(home);
    if (status != 0 || ended <= started) return state.SkipWithError("the window did not run");
    double perSecond = double(presentsAfter - presentsBefore) / (ended - started);
    state.SetIterationTime(ended - started);
    state.counters["presents_per_s"] = perSecond;
    std::printf("%dx%d window, scale %d: %.1f frames a second while the wheel scrolls surah 2\n", width,
                width * 3 / 4, int(ui::Screen::main().scale()), perSecond);
  }
}
BENCHMARK(BM_WindowWheelScrollSurah2)->Arg(1024)->Arg(2048)->Arg(1536)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

constexpr double kTurnInterval = 0.6;  // a quarter turn takes 0.4 s

double bytesInUse() {
  malloc_trim(0);
  return double(mallinfo2().uordblks);
}

void pushKey(SDL_Keycode key) {
  for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    SDL_PushEvent(&e);
  }
}

void BM_WindowTurnsMemory(benchmark::State& state) {
  if (!windowCanRun(state)) return;
  int turns = int(state.range(0));
  for (auto _ : state) {
    auto home = freshRun(2048);
    double afterTen = 0, afterAll = 0;
    auto factory = [&] {
      auto& loop = ns::RunLoop::main();
      loop.performAfter(&state, "turn", kSettle, [&] {
        loop.scheduleTimer(kTurnInterval, true, [&, done = 0](ns::Timer& timer) mutable {
          if (done == 10) afterTen = bytesInUse();
          if (done == turns) {
            timer.invalidate();
            afterAll = bytesInUse();
            ui::Application::shared().terminate();
            return;
          }
          pushKey(SDLK_F8);
          ++done;
        });
      });
      return loadMainInterface();
    };
    int status = ui::SdlBackend::run(factory);
    std::filesystem::remove_all(home);
    if (status != 0 || afterAll <= 0) return state.SkipWithError("the window did not run");
    state.counters["MB_after_10"] = afterTen / 1e6;
    state.counters["MB_after_all"] = afterAll / 1e6;
    std::printf("in use after 10 turns: %.1f MB, after %d: %.1f MB\n", afterTen / 1e6, turns, afterAll / 1e6);
  }
}
BENCHMARK(BM_WindowTurnsMemory)->Arg(200)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
