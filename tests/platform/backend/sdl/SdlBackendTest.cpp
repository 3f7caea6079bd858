// The window backend on SDL's offscreen driver: launch, drawing, the idle
// timer, and termination ending the loop.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/backend/sdl/SdlBackend.h"
#include "platform/foundation/RunLoop.h"
#include "platform/services/IdleTimer.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

using namespace ui;

namespace {
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
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  unsetenv("ZARVEL_HEADLESS");
  Application::shared().resetForTesting();
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
