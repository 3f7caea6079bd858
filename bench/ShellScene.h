#pragma once
// What the benchmarks of a tab's screen share: the application launched
// headless with the shell the program builds (loadMainInterface) on the
// build's content database and a user database the benchmark writes, its
// files in memory where there is room (their syncs to disk are the disk's
// cost, not the screen's); and a run of the benchmarks whose medians give the
// ratios printed at the end.
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
#include "bench/BenchSupport.h"
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

// "what / reference: R in real time, C in CPU time (goal at most G)".
inline void printRatio(const TimeKeeper& t, const char* what, const std::string& run, const std::string& reference,
                       double goal) {
  std::printf("\n%s: %.2f in real time, %.2f in CPU time (goal at most %.1f)\n", what,
              t.ratio(run, reference, TimeKeeper::Clock::Real), t.ratio(run, reference, TimeKeeper::Clock::Cpu), goal);
}

// Runs the benchmarks the command line selects on the build's content
// database (nothing without one), each `repetitions` times shuffled together
// unless the command line says otherwise, then prints with the medians.
inline int runOnContentDatabase(int argc, char** argv, const std::function<void(const TimeKeeper&)>& print,
                                int repetitions) {
  if (!std::filesystem::exists(ns::builtResourceDirectory() + "/zarvel.db")) {
    std::fprintf(stderr, "the content database is not built\n");
    return 0;
  }
  return runAndPrintRatios(argc, argv, print, repetitions);
}

}  // namespace bench
