// The application's launch on the built content database, headless: the first
// run (the user database copied into Documents and opened, the reminders
// planned) and a later run (opened only), each ending with the shutdown that
// closes the connections; and answering an inbound verse link.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "Classes/app/MainInterface.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/ButtonPanel.h"

namespace {

// A scratch ZARVEL_HOME for this run, removed when the program ends.
struct ScratchHome {
  std::filesystem::path path;
  ~ScratchHome() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

const std::filesystem::path& home() {
  static const ScratchHome scratch = [] {
    auto p = std::filesystem::temp_directory_path() / ns::format("zarvel-bench-app-%d", static_cast<int>(getpid()));
    std::filesystem::remove_all(p);
    setenv("ZARVEL_HOME", p.c_str(), 1);
    return ScratchHome{p};
  }();
  return scratch.path;
}

// One launch and shutdown of the application.
void launchAndTerminate(ui::HeadlessBackend& backend) {
  ui::Application::shared().resetForTesting();
  ui::ButtonPanel::resetForTesting();
  auto delegate = loadMainInterface();
  backend.launch(delegate);
  ui::Application::shared().terminate();
}

void BM_FirstLaunch(benchmark::State& state) {
  home();
  ui::HeadlessBackend backend;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(ns::documentsDirectory());
    ns::UserDefaults::standardUserDefaults().resetForTesting();
    state.ResumeTiming();
    launchAndTerminate(backend);
  }
}
BENCHMARK(BM_FirstLaunch)->Unit(benchmark::kMillisecond);

void BM_LaterLaunch(benchmark::State& state) {
  home();
  ui::HeadlessBackend backend;
  launchAndTerminate(backend);
  for (auto _ : state) launchAndTerminate(backend);
}
BENCHMARK(BM_LaterLaunch)->Unit(benchmark::kMillisecond);

void BM_InboundLink(benchmark::State& state) {
  home();
  ui::HeadlessBackend backend;
  ui::Application::shared().resetForTesting();
  auto delegate = loadMainInterface();
  backend.launch(delegate);
  for (auto _ : state) benchmark::DoNotOptimize(ui::Application::shared().openInboundURL("zarvel://2:255:1"));
  ui::Application::shared().terminate();
}
BENCHMARK(BM_InboundLink);

}  // namespace

BENCHMARK_MAIN();
