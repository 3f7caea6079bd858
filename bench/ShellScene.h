#pragma once
// What the benchmarks of a tab's screen share: the application launched
// headless with the shell the program builds (loadMainInterface) on the
// build's content database and a user database the benchmark writes, its
// files in memory where there is room (their syncs to disk are the disk's
// cost, not the screen's); and a console report that keeps each run's real
// and CPU times and its counters for the ratios printed at the end.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "Classes/app/MainInterface.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/NavigationController.h"

namespace bench {

inline void exec(sqlite3* db, const std::string& sql) { sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr); }

class ShellScene {
 public:
  // fillUser writes the rows the benchmark needs into the new user database.
  ShellScene(const std::string& name, const std::function<void(sqlite3*)>& fillUser) {
    namespace fs = std::filesystem;
    fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    dir_ = base / ns::format("zarvel-bench-%s-%d", name.c_str(), static_cast<int>(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "resources");
    for (const char* shared : {"zarvel.db", "images", "en.lproj"})
      if (fs::exists(fs::path(ns::builtResourceDirectory()) / shared))
        fs::create_symlink(fs::path(ns::builtResourceDirectory()) / shared, dir_ / "resources" / shared);
    sqlite3* user = nullptr;
    sqlite3_open((dir_ / "resources" / "zarveldyn.db").c_str(), &user);
    std::ifstream in(ns::sourceDirectory() + "/resources/zarveldyn.sql");
    std::stringstream schema;
    schema << in.rdbuf();
    exec(user, "PRAGMA synchronous = OFF; BEGIN;");
    exec(user, schema.str());
    fillUser(user);
    exec(user, "COMMIT");
    sqlite3_close(user);
    setenv("ZARVEL_HOME", (dir_ / "home").c_str(), 1);
    setenv("ZARVEL_RESOURCES", (dir_ / "resources").c_str(), 1);
    backend = std::make_unique<ui::HeadlessBackend>(1.8e9);
    ZarvelSDKAppDelegate::initialize();
    ns::UserDefaults::standardUserDefaults().setBool(true, "TipsHaveShownHD");
  }
  ~ShellScene() { std::filesystem::remove_all(dir_); }

  // Launches with the settings made so far and opens the tab.
  void launch(int tab) {
    delegate = loadMainInterface();
    backend->launch(delegate);
    backend->advance(1.5);
    delegate->ipadRootViewController()->tabbarButtonPressed(tab);
  }
  // The screen on top of the open tab, if it is one of T.
  template <class T>
  T* visible() const {
    auto* nav = dynamic_cast<ui::NavigationController*>(delegate->ipadRootViewController()->currenController());
    return nav ? dynamic_cast<T*>(nav->visibleViewController()) : nullptr;
  }

  std::unique_ptr<ui::HeadlessBackend> backend;
  std::shared_ptr<ZarvelSDKAppDelegate> delegate;

 private:
  std::filesystem::path dir_;
};

// Prints the runs as usual and keeps each one's real and CPU times (in one
// unit) and its counters.
class RealAndCPUReporter : public benchmark::ConsoleReporter {
 public:
  RealAndCPUReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) {
      if (run.iterations <= 0 || run.error_occurred) continue;
      times_[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
      for (const auto& [name, counter] : run.counters) counters_[name] = counter.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // The first run's time over the second's (0 when either did not run).
  double ratio(const std::string& a, const std::string& b, bool cpu) const {
    auto x = times_.find(a), y = times_.find(b);
    if (x == times_.end() || y == times_.end()) return 0;
    double d = cpu ? y->second.second : y->second.first;
    return d > 0 ? (cpu ? x->second.second : x->second.first) / d : 0;
  }
  double cpu(const std::string& run) const {
    auto x = times_.find(run);
    return x == times_.end() ? 0 : x->second.second;
  }
  double counter(const std::string& name) const {
    auto x = counters_.find(name);
    return x == counters_.end() ? 0 : x->second;
  }

 private:
  std::map<std::string, std::pair<double, double>> times_;
  std::map<std::string, double> counters_;
};

// "what / reference: R in real time, C in CPU time (goal at most G)".
inline void printRatio(const RealAndCPUReporter& r, const char* what, const std::string& run,
                       const std::string& reference, double goal) {
  std::printf("\n%s: %.2f in real time, %.2f in CPU time (goal at most %.1f)\n", what, r.ratio(run, reference, false),
              r.ratio(run, reference, true), goal);
}

// Runs the benchmarks the command line selects on the build's content
// database (nothing without one), then prints with the report.
inline int runWithRealAndCPU(int argc, char** argv, const std::function<void(const RealAndCPUReporter&)>& print) {
  if (!std::filesystem::exists(ns::builtResourceDirectory() + "/zarvel.db")) {
    std::fprintf(stderr, "the content database is not built\n");
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RealAndCPUReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  print(reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench
