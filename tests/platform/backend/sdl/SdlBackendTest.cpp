// The window backend on SDL's offscreen driver: launch, drawing, the idle
// timer, and termination ending the loop.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <map>
#include <csignal>
#include <cstring>
#include <cstdlib>
#include <thread>

#include "platform/backend/sdl/SdlBackend.h"

#include <SDL.h>
#include <cairo.h>

#include "platform/backend/sdl/WindowGeometry.h"
#include "platform/backend/sdl/WindowPixels.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/services/InstanceLock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/services/IdleTimer.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

using namespace ui;

namespace {

// A data folder of the test's own (the program's entry locks it).
void useTestHome() {
  const char* base = std::getenv("ZARVEL_TEST_TMP");
  std::string home = ns::pathJoin(base ? base : "/tmp",
                                  "sdl-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  ns::removeItem(home);
  setenv("ZARVEL_HOME", home.c_str(), 1);
}

// A run in a window on SDL's dummy driver, which the environment asks for.
void prepareDummyWindowRun() {
  useTestHome();
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  unsetenv("ZARVEL_HEADLESS");
  Application::shared().resetForTesting();
}

struct QuickApp : ApplicationDelegate {
  std::shared_ptr<Window> window;
  std::vector<std::string> trace;
  int draws = 0;
  void applicationDidFinishLaunching(Application& app) override {
    trace.push_back("launch");
    window = std::make_shared<Window>(cg::Rect(0, 0, 1024, 768));
    struct Counting : View {
      QuickApp* app;
      Counting(cg::Rect r, QuickApp* a) : View(r), app(a) {}
      void drawRect(cg::Context&, cg::Rect) override { ++app->draws; }
    };
    window->addSubview(std::make_shared<Counting>(cg::Rect(0, 0, 10, 10), this));
    window->makeKeyAndVisible();
    IdleTimer::setDisabled(true);
    ns::RunLoop::main().performAfter(this, "quit", 0.2, [&app] { app.terminate(); });
  }
  bool handleOpenURL(Application&, const std::string& url) override {
    trace.push_back("open " + url);
    return true;
  }
  void applicationWillTerminate(Application&) override { trace.push_back("terminate"); }
};
}  // namespace

TEST(SdlBackend, RunsInAnOffscreenWindowUntilTerminated) {
  prepareDummyWindowRun();
  auto app = std::make_shared<QuickApp>();
  char arg0[] = "zarvel", arg1[] = "zarvel://18:1";
  char* argv[] = {arg0, arg1};
  int status = ApplicationMain(2, argv, [&] { return app; });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(app->trace, (std::vector<std::string>{"launch", "open zarvel://18:1", "terminate"}));
  EXPECT_GE(app->draws, 1);
  IdleTimer::setDisabled(false);
  Application::shared().resetForTesting();
}

namespace {

// Runs the program's entry with the delegate and no link; the exit status.
int runMain(const std::shared_ptr<ApplicationDelegate>& app) {
  char arg0[] = "zarvel";
  char* argv[] = {arg0};
  return ApplicationMain(1, argv, [&] { return app; });
}

// A display number no X server here has taken.
std::string unusedDisplay() {
  for (int n = 517;; ++n) {
    std::string number = std::to_string(n);
    if (!ns::fileExists("/tmp/.X11-unix/X" + number) && !ns::fileExists("/tmp/.X" + number + "-lock"))
      return ":" + number;
  }
}

struct LaunchRecorder : ApplicationDelegate {
  bool launched = false;
  void applicationDidFinishLaunching(Application& app) override {
    launched = true;
    ns::RunLoop::main().performAfter(this, "quit", 0.2, [&app] { app.terminate(); });
  }
};

}  // namespace

TEST(SdlBackend, AnUnreachableDisplayIsRefusedWithTheNoDisplayMessage) {
  useTestHome();
  unsetenv("ZARVEL_HEADLESS");
  unsetenv("SDL_VIDEODRIVER");
  unsetenv("WAYLAND_DISPLAY");
  setenv("DISPLAY", unusedDisplay().c_str(), 1);  // no server answers there
  // SDL asks for the session bus while it looks for a driver; without one the
  // bus library would start a helper on that display (and keep its buffers).
  setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
  Application::shared().resetForTesting();
  auto app = std::make_shared<LaunchRecorder>();
  testing::internal::CaptureStderr();
  int status = runMain(app);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 2);
  EXPECT_FALSE(app->launched);
  EXPECT_NE(err.find("zarvel: no display ("), std::string::npos) << err;
  EXPECT_NE(err.find("ZARVEL_HEADLESS=1"), std::string::npos) << err;

  unsetenv("DISPLAY");  // and none at all: the same message
  testing::internal::CaptureStderr();
  EXPECT_EQ(runMain(app), 2);
  err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("zarvel: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)"), std::string::npos) << err;
  EXPECT_FALSE(app->launched);
  Application::shared().resetForTesting();
}

TEST(SdlBackend, AnIdleWindowSleepsUntilItsTimerAndAWorkersPostWakesIt) {
  prepareDummyWindowRun();
  struct App : ApplicationDelegate {
    std::shared_ptr<Window> window;
    std::thread worker;
    std::string endedBy;
    void applicationDidFinishLaunching(Application& app) override {
      window = std::make_shared<Window>(cg::Rect(0, 0, 1024, 768));
      window->makeKeyAndVisible();
      // Half a second with nothing to do, then a worker's post ends the run;
      // the loop holds no timer meanwhile but the safety net far ahead.
      ns::RunLoop::main().performAfter(this, "idle", 0.5, [this, &app] {
        ns::RunLoop::main().performAfter(this, "safety", 30, [this, &app] {
          endedBy = "safety timer";
          app.terminate();
        });
        worker = std::thread([this, &app] {
          std::this_thread::sleep_for(std::chrono::milliseconds(100));
          ns::RunLoop::main().post([this, &app] {
            endedBy = "worker";
            app.terminate();
          });
        });
      });
    }
    void applicationWillTerminate(Application&) override { ns::RunLoop::main().cancelPreviousPerformRequests(this); }
  };
  auto app = std::make_shared<App>();
  int before = SdlBackend::wakeUps();
  EXPECT_EQ(runMain(app), 0);
  if (app->worker.joinable()) app->worker.join();
  EXPECT_EQ(app->endedBy, "worker");
  // Polling every 10 ms would wake some 60 times in these 0.6 s.
  EXPECT_LT(SdlBackend::wakeUps() - before, 15);
  Application::shared().resetForTesting();
}

// What `xdg-open zarvel://2:255` does while the reader runs: a second start of
// the program with the link, here from a worker of the running one.
TEST(SdlBackend, ASecondStartHandsItsLinkToTheRunningWindowAndEnds) {
  prepareDummyWindowRun();
  struct App : ApplicationDelegate {
    std::shared_ptr<Window> window;
    std::thread secondStart;
    int secondStatus = -1;
    std::vector<std::string> links;
    void applicationDidFinishLaunching(Application& app) override {
      window = std::make_shared<Window>(cg::Rect(0, 0, 1024, 768));
      window->makeKeyAndVisible();
      ns::RunLoop::main().performAfter(this, "safety", 30, [&app] { app.terminate(); });
      secondStart = std::thread([this] {
        char arg0[] = "zarvel", arg1[] = "zarvel://2:255";
        char* argv[] = {arg0, arg1};
        secondStatus = ApplicationMain(2, argv, [] { return std::shared_ptr<ApplicationDelegate>(); });
      });
    }
    bool handleOpenURL(Application& app, const std::string& url) override {
      links.push_back(url);
      app.terminate();
      return true;
    }
    void applicationWillTerminate(Application&) override { ns::RunLoop::main().cancelPreviousPerformRequests(this); }
  };
  auto app = std::make_shared<App>();
  EXPECT_EQ(runMain(app), 0);
  app->secondStart.join();
  EXPECT_EQ(app->secondStatus, 0);
  EXPECT_EQ(app->links, (std::vector<std::string>{"zarvel://2:255"}));
  Application::shared().resetForTesting();
}

TEST(SdlBackend, ASecondStartWithoutALinkSaysTheReaderRunsAndEnds) {
  useTestHome();
  InstanceLock::Start running = InstanceLock::acquire(ns::documentsDirectory(), "");
  ASSERT_EQ(running.outcome, InstanceLock::Outcome::Acquired);
  Application::shared().resetForTesting();
  auto app = std::make_shared<LaunchRecorder>();
  testing::internal::CaptureStderr();
  EXPECT_EQ(runMain(app), 3);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(app->launched);
  EXPECT_EQ(err, "zarvel: Zarvel is already running with the data in " + ns::documentsDirectory() + ".\n");
  Application::shared().resetForTesting();
}

TEST(SdlBackend, AStartMakesTheDataPrivateClearsLeftoversAndRefusesAnOverlongLink) {
  prepareDummyWindowRun();
  // What an older version and a crash left: an open folder and a temporary.
  ASSERT_TRUE(ns::createDirectory(ns::documentsDirectory()));
  ASSERT_EQ(::chmod(ns::documentsDirectory().c_str(), 0755), 0);
  std::string leftover = ns::pathJoin(ns::configDirectory(), ".defaults.json.tmp2811492");
  ASSERT_TRUE(ns::createDirectory(ns::configDirectory()));
  ASSERT_TRUE(ns::writeFileAtomically(leftover, std::string_view("{\"half\":")));
  ASSERT_TRUE(ns::setModificationDate(leftover, ns::RealClock().now() - 3600));

  auto app = std::make_shared<QuickApp>();
  std::string link = "zarvel://2:255:" + std::string(1990, '1');
  char arg0[] = "zarvel";
  char* argv[] = {arg0, link.data()};
  testing::internal::CaptureStderr();
  int status = ApplicationMain(2, argv, [&] { return app; });
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 0);
  EXPECT_EQ(app->trace, (std::vector<std::string>{"launch", "terminate"}));  // the link is not opened
  EXPECT_NE(err.find("zarvel: the link was not opened: it is too long (2005 characters; at most 2000).\n"),
            std::string::npos)
      << err;
  struct stat st {};
  ASSERT_EQ(::stat(ns::documentsDirectory().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_FALSE(ns::fileExists(leftover));
  IdleTimer::setDisabled(false);
  Application::shared().resetForTesting();
}

// A session ending (or `kill`) sends SIGTERM: the application hears
// willTerminate, as for a closed window, and the run ends normally.
TEST(SdlBackend, SigtermEndsTheRunThroughTermination) {
  prepareDummyWindowRun();
  struct App : ApplicationDelegate {
    std::shared_ptr<Window> window;
    std::vector<std::string> trace;
    void applicationDidFinishLaunching(Application& app) override {
      window = std::make_shared<Window>(cg::Rect(0, 0, 1024, 768));
      window->makeKeyAndVisible();
      ns::RunLoop::main().performAfter(this, "signal", 0.1, [] { std::raise(SIGTERM); });
      ns::RunLoop::main().performAfter(this, "safety", 20, [&app] { app.terminate(); });
    }
    void applicationWillTerminate(Application&) override {
      trace.push_back("terminate");
      ns::RunLoop::main().cancelPreviousPerformRequests(this);
    }
  };
  auto app = std::make_shared<App>();
  EXPECT_EQ(runMain(app), 0);
  EXPECT_EQ(app->trace, (std::vector<std::string>{"terminate"}));
  Application::shared().resetForTesting();
}

TEST(SdlBackend, AFatalStartIsShownInABoxOnlyWhereAPersonCanCloseIt) {
  struct Case {
    const char* name;
    std::map<std::string, std::string> env;
    bool box;
  };
  const Case cases[] = {
      {"an X session", {{"DISPLAY", ":0"}}, true},
      {"a Wayland session", {{"WAYLAND_DISPLAY", "wayland-0"}}, true},
      {"no display", {}, false},
      {"headless", {{"DISPLAY", ":0"}, {"ZARVEL_HEADLESS", "1"}}, false},
      {"SDL's dummy driver", {{"DISPLAY", ":0"}, {"SDL_VIDEODRIVER", "dummy"}}, false},
      {"SDL's offscreen driver", {{"SDL_VIDEODRIVER", "offscreen"}, {"WAYLAND_DISPLAY", "w"}}, false},
      {"CI with a display", {{"DISPLAY", ":99"}, {"CI", "true"}}, false},
      {"an empty DISPLAY", {{"DISPLAY", ""}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(showsFatalMessageBox([&c](const char* name) -> const char* {
                auto it = c.env.find(name);
                return it == c.env.end() ? nullptr : it->second.c_str();
              }),
              c.box);
  }
}

// A start whose data folder cannot be written ends at once with the message,
// also on a desktop with a display (on the dummy driver no box can block it).
TEST(SdlBackend, AFatalStartEndsWithItsMessageWithoutWaitingOnABox) {
  prepareDummyWindowRun();
  setenv("DISPLAY", ":0", 1);
  struct Failing : ApplicationDelegate {
    void applicationDidFinishLaunching(Application&) override { ns::fatal("the data folder cannot be written"); }
  };
  EXPECT_EXIT(runMain(std::make_shared<Failing>()), ::testing::ExitedWithCode(1),
              "FATAL - the data folder cannot be written");
}

namespace {

// The window the backend opened (the only one).
SDL_Window* openWindow() {
  for (Uint32 id = 1; id < 64; ++id)
    if (SDL_Window* w = SDL_GetWindowFromID(id)) return w;
  return nullptr;
}

// Where the window's pixels differ from the window's whole picture shown in
// it; "" when they do not.
std::string shownDifference(Window& window) {
  SDL_Surface* s = SDL_GetWindowSurface(openWindow());
  if (!s) return "no window surface";
  float scale = Screen::main().scale();
  auto picture = window.snapshot(scale);
  std::vector<unsigned char> expected(std::size_t(s->pitch) * s->h);
  copyToWindow(picture->surface(), scale, {}, {expected.data(), s->w, s->h, s->pitch},
               screenRectInWindow(Screen::main().bounds().size, {float(s->w), float(s->h)}), true);
  const auto* shown = static_cast<const unsigned char*>(s->pixels);
  for (int y = 0; y < s->h; ++y)
    for (int x = 0; x < s->w; ++x) {
      std::size_t at = std::size_t(y) * s->pitch + std::size_t(x) * 4;
      if (std::memcmp(shown + at, expected.data() + at, 3) != 0)
        return "a " + std::to_string(s->w) + "x" + std::to_string(s->h) + " window at scale " +
               std::to_string(int(scale)) + " differs at " + std::to_string(x) + "," + std::to_string(y);
    }
  return "";
}

}  // namespace

// The window shows the whole picture after it is resized (at the drawn size,
// scaled and letterboxed, or at the other scale) or turned, however little
// changed in the frames before.
TEST(SdlBackend, AResizedWindowShowsTheWholePictureAfterPartialFrames) {
  prepareDummyWindowRun();
  WindowPlacement place;
  place.width = 1024;
  place.height = 768;
  ASSERT_TRUE(ns::createDirectory(ns::configDirectory()));
  ASSERT_TRUE(ns::writeFileAtomically(ns::pathJoin(ns::configDirectory(), "window.conf"), formatWindowPlacement(place)));
  struct App : ApplicationDelegate {
    std::shared_ptr<Window> window;
    std::shared_ptr<View> spot;
    std::vector<std::string> problems;
    int step = 0;
    void applicationDidFinishLaunching(Application& app) override {
      window = std::make_shared<Window>(cg::Rect(0, 0, 1024, 768));
      window->setBackgroundColor(cg::Color::gray(0.5f));
      for (int i = 0; i < 6; ++i) {
        auto band = std::make_shared<View>(cg::Rect(40.0f + 150 * float(i), 60, 90, 620));
        band->setBackgroundColor(cg::Color(0.15f * float(i), 0.3f, 1 - 0.15f * float(i), 1));
        window->addSubview(band);
      }
      spot = std::make_shared<View>(cg::Rect(300.5f, 300, 17, 23));
      window->addSubview(spot);
      window->makeKeyAndVisible();
      ns::RunLoop::main().performAfter(this, "safety", 15, [&app] { app.terminate(); });
      ns::RunLoop::main().scheduleTimer(0.05, true, [this, &app](ns::Timer& timer) {
        if (window->needsRedraw()) return;  // not shown yet (the status bar's clock turned)
        if (std::string problem = shownDifference(*window); !problem.empty())
          problems.push_back("step " + std::to_string(step) + ": " + problem);
        const cg::Size sizes[] = {{800, 700}, {2048, 1536}};
        ++step;
        if (step % 3 == 0 && step / 3 <= 2) {
          cg::Size size = sizes[step / 3 - 1];
          SDL_SetWindowSize(openWindow(), int(size.width), int(size.height));
        } else if (step == 9) {
          SDL_SetWindowFullscreen(openWindow(), SDL_WINDOW_FULLSCREEN_DESKTOP);
        } else if (step == 10) {
          // Turned in a window that keeps its size: bars where the picture was.
          SDL_Event key{};
          key.type = SDL_KEYDOWN;
          key.key.keysym.sym = SDLK_F8;
          SDL_PushEvent(&key);
        } else if (step < 13) {
          spot->setBackgroundColor(cg::Color(0.1f * float(step % 10), 0.9f, 0.2f, 1));  // a small change
        } else {
          timer.invalidate();
          app.terminate();
        }
      });
    }
    void applicationWillTerminate(Application&) override { ns::RunLoop::main().cancelPreviousPerformRequests(this); }
  };
  auto app = std::make_shared<App>();
  EXPECT_EQ(runMain(app), 0);
  EXPECT_EQ(app->step, 13);
  EXPECT_TRUE(isPortrait(Application::shared().statusBarOrientation()));
  EXPECT_EQ(app->problems, std::vector<std::string>{});
  Application::shared().resetForTesting();
}
