// The headless backend: launch and life cycle, synthetic taps, and the
// environment-driven run that stops after virtual time and writes a screenshot.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Image.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Animator.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

using namespace ui;

namespace {

// A small application: a green root screen, an alert two seconds after launch.
struct DemoApp : ApplicationDelegate, std::enable_shared_from_this<DemoApp> {
  std::shared_ptr<Window> window;
  std::vector<std::string> trace;
  int taps = 0;
  void applicationDidFinishLaunching(Application&) override {
    trace.push_back("launch");
    window = std::make_shared<Window>(cg::Rect(0, 0, 1024, 768));
    auto root = std::make_shared<ViewController>();
    window->setRootViewController(root);
    root->view()->setBackgroundColor(cg::Color(0.2f, 0.6f, 0.3f));
    struct Tappable : View {
      DemoApp* app;
      Tappable(cg::Rect r, DemoApp* a) : View(r), app(a) {}
      void touchesEnded(const TouchSet&, const Event&) override { ++app->taps; }
    };
    root->view()->addSubview(std::make_shared<Tappable>(cg::Rect(0, 0, 100, 100), this));
    window->makeKeyAndVisible();
    ns::RunLoop::main().performAfter(this, "alert", 2.0, [this] {
      std::make_shared<AlertView>("Reminder", "Today is Friday. Read surah Al-Kahf?",
                                  std::weak_ptr<AlertViewDelegate>(), "No",
                                  std::vector<std::string>{"Yes"})
          ->show();
    });
  }
  void applicationDidBecomeActive(Application&) override { trace.push_back("active"); }
  void applicationWillResignActive(Application&) override { trace.push_back("resign"); }
  void applicationDidEnterBackground(Application&) override { trace.push_back("background"); }
  void applicationWillEnterForeground(Application&) override { trace.push_back("foreground"); }
  void applicationWillTerminate(Application&) override { trace.push_back("terminate"); }
  bool handleOpenURL(Application&, const std::string& url) override {
    trace.push_back("open " + url);
    return true;
  }
};

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* base = std::getenv("ZARVEL_TEST_TMP");
    dir = ns::pathJoin(base ? base : "/tmp", "headless");
    ns::createDirectory(dir);
    setenv("ZARVEL_HOME", dir.c_str(), 1);
    ns::UserDefaults::standardUserDefaults().resetForTesting();
    ns::UserDefaults::standardUserDefaults().setFilePath(ns::pathJoin(dir, "defaults.json"));
    Application::shared().resetForTesting();
  }
  void TearDown() override {
    Animator::finishAll();
    ButtonPanel::resetForTesting();
    Application::shared().resetForTesting();
    unsetenv("ZARVEL_STOP_AFTER");
    unsetenv("ZARVEL_SCREENSHOT");
    unsetenv("ZARVEL_HOME");
  }
  std::string dir;
};

}  // namespace

TEST_F(HeadlessTest, LifeCycleFollowsFocusMinimiseAndClose) {
  HeadlessBackend backend(1767225600.0);
  auto app = std::make_shared<DemoApp>();
  backend.launch(app);
  backend.loseFocus();
  backend.gainFocus();
  backend.minimise();
  backend.minimise();
  backend.restore();
  backend.close();
  backend.close();
  EXPECT_EQ(app->trace, (std::vector<std::string>{"launch", "active", "resign", "active", "resign",
                                                   "background", "foreground", "active",
                                                   "terminate"}));
}

TEST_F(HeadlessTest, SyntheticTapsReachTheWindow) {
  HeadlessBackend backend(1767225600.0);
  auto app = std::make_shared<DemoApp>();
  backend.launch(app);
  backend.tap({50, 50});
  backend.tap({500, 500});
  EXPECT_EQ(app->taps, 1);
  backend.advance(2.5);
  EXPECT_NE(ButtonPanel::visiblePanel(), nullptr);
  backend.tap({50, 50});  // the alert covers the window now
  EXPECT_EQ(app->taps, 1);
}

TEST_F(HeadlessTest, EnvironmentRunStopsAfterVirtualTimeAndWritesTheScreenshot) {
  std::string path = ns::pathJoin(dir, "run.png");
  ns::removeItem(path);
  setenv("ZARVEL_STOP_AFTER", "3", 1);
  setenv("ZARVEL_SCREENSHOT", path.c_str(), 1);
  auto app = std::make_shared<DemoApp>();
  EXPECT_EQ(HeadlessBackend::runFromEnvironment(app, "zarvel://2:255"), 0);
  EXPECT_EQ(app->trace, (std::vector<std::string>{"launch", "active", "open zarvel://2:255", "terminate"}));
  auto image = cg::Image::fromFile(path);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width(), 1024);
  EXPECT_EQ(image->height(), 768);
  // The green screen, dimmed behind the alert, and the alert's blue in the middle.
  cg::RGBA corner = image->pixelAt(1000, 700);
  EXPECT_GT(corner.g, corner.r);
  EXPECT_LT(corner.g, 0.6 * 255);
  cg::RGBA centre = image->pixelAt(400, 384);
  EXPECT_GT(centre.b, centre.g);
}

TEST_F(HeadlessTest, EnvironmentRunWithoutAlertTimeShowsNoAlert) {
  std::string path = ns::pathJoin(dir, "early.png");
  setenv("ZARVEL_STOP_AFTER", "1.5", 1);
  setenv("ZARVEL_SCREENSHOT", path.c_str(), 1);
  EXPECT_EQ(HeadlessBackend::runFromEnvironment(std::make_shared<DemoApp>()), 0);
  auto image = cg::Image::fromFile(path);
  ASSERT_TRUE(image);
  cg::RGBA centre = image->pixelAt(400, 384);
  EXPECT_GT(centre.g, centre.b);  // plain green, no alert
}
