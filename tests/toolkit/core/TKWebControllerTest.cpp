// The in-application web page on a scripted web view, headless on the
// virtual clock: presented as the application presents it, its loading
// states, the addresses it loads, refuses or hands out, failures, sharing,
// saved state and the header.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/foundation/Clock.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"
#include "tests/support/ScriptedWebView.h"
#include "tests/toolkit/core/TKTestClasses.h"
#include "toolkit/core/TKNavigator.h"
#include "toolkit/core/TKURLRequestQueue.h"
#include "toolkit/core/TKWebController.h"
#include "toolkit/core/Toolbar+TKCategory.h"

using testing_support::ScriptedWebView;

namespace {

const cg::Color kApplicationTint = cg::Color::fromRGB255(51, 33, 18);

class TKWebControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tktest::useTemporaryDefaults(::testing::UnitTest::GetInstance()->current_test_info()->name());
    clock = ns::VirtualClock::install();
    ScriptedWebView::install();
    ScriptedWebView::pages() = {
        {"http://pages.test/one", {"One", std::nullopt}},
        {"http://pages.test/two", {"Two", std::nullopt}},
        {"http://pages.test/down", {"", ns::Error{ns::kURLErrorDomain, ns::kURLErrorCannotConnectToHost, "refused"}}},
    };
    ui::URLOpener::setLauncher([this](const std::string& url) {
      launched.push_back(url);
      return true;
    });
    TKNavigator::setNavigator(std::make_unique<TKNavigator>());
    window = std::make_shared<ui::Window>(cg::Rect(0, 0, 1024, 768));
    presenter = std::make_shared<ui::ViewController>();
    window->setRootViewController(presenter);
    window->makeKeyAndVisible();
    TKURLRequestQueue::mainQueue().setSuspended(false);
  }
  void TearDown() override {
    ui::Animator::finishAll();
    ScriptedWebView::uninstall();
    ScriptedWebView::pages().clear();
    TKNavigator::setNavigator(nullptr);
    ui::URLOpener::setLauncher(nullptr);
    TKURLRequestQueue::mainQueue().setSuspended(false);
  }

  // As the index and information screens open a page.
  std::shared_ptr<TKWebController> present(const std::string& url) {
    auto page = std::make_shared<TKWebController>();
    stack = ui::NavigationController::withRoot(page);
    stack->navigationBar()->setBarStyle(1);
    stack->navigationBar()->setTintColor(kApplicationTint);
    page->openRequest(url);
    stack->setModalPresentationStyle(ui::ModalPresentationStyle::FormSheet);
    presenter->presentModalViewController(stack, true);
    settle();
    return page;
  }
  void settle() {
    ns::RunLoop::main().runUntilIdle();
    clock->advance(1);
  }
  ScriptedWebView& web() { return *ScriptedWebView::last(); }
  // The toolbar slot of the refresh and stop buttons.
  std::shared_ptr<ui::BarButtonItem> slot(TKWebController& page) { return page.toolbar()->items()[4]; }

  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<ui::Window> window;
  std::shared_ptr<ui::ViewController> presenter;
  std::shared_ptr<ui::NavigationController> stack;
  std::vector<std::string> launched;
};

TEST_F(TKWebControllerTest, PresentedAsTheApplicationDoesItTakesTheSheetsLookAndThePagesTitle) {
  ui::Application::shared().setStatusBarStyle(2);
  auto page = present("http://pages.test/one");
  EXPECT_EQ(stack->navigationBar()->barStyle(), 0);
  EXPECT_EQ(stack->navigationBar()->tintColor(), TKViewController::kDefaultNavigationBarTint);
  EXPECT_EQ(page->toolbar()->tintColor(), TKViewController::kDefaultNavigationBarTint);
  EXPECT_EQ(ui::Application::shared().statusBarStyle(), 0);
  EXPECT_EQ(page->title(), "One");
  EXPECT_EQ(page->URL(), "http://pages.test/one");
  EXPECT_EQ(page->closeButton()->title(), "Close");
  EXPECT_FALSE(page->backButton()->isEnabled());
  EXPECT_FALSE(page->forwardButton()->isEnabled());
  // back, space, forward, space, refresh, space, action
  ASSERT_EQ(page->toolbar()->items().size(), 7u);
  EXPECT_EQ(page->toolbar()->items()[0], page->backButton());
  EXPECT_EQ(page->toolbar()->items()[2], page->forwardButton());
  EXPECT_EQ(slot(*page), page->refreshButton());
  EXPECT_TRUE(page->shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation::PortraitUpsideDown));
  // The page fills the sheet between the bar and the toolbar.
  cg::Rect sheet = page->view()->bounds();
  EXPECT_EQ(page->webView()->frame().maxY(), page->toolbar()->frame().minY());
  EXPECT_EQ(page->toolbar()->frame().maxY(), sheet.maxY());
  EXPECT_EQ(page->webView()->frame().width(), sheet.width());

  page->closeButton()->sendAction();
  settle();
  EXPECT_EQ(presenter->modalViewController(), nullptr);
}

TEST_F(TKWebControllerTest, TheToolbarAndTitleFollowEachLoad) {
  auto page = present("http://pages.test/one");
  web().holdLoads(true);
  web().clickLink("http://pages.test/two");
  ns::RunLoop::main().runUntilIdle();
  EXPECT_EQ(page->title(), "Loading...");
  EXPECT_EQ(slot(*page), page->stopButton());
  EXPECT_EQ(page->URL(), "http://pages.test/two");
  web().finishLoad();
  EXPECT_EQ(page->title(), "Two");
  EXPECT_EQ(slot(*page), page->refreshButton());
  EXPECT_EQ(page->URL(), "http://pages.test/two");
  EXPECT_TRUE(page->backButton()->isEnabled());
  EXPECT_FALSE(page->forwardButton()->isEnabled());

  web().holdLoads(false);
  page->backAction();
  ns::RunLoop::main().runUntilIdle();
  EXPECT_EQ(page->title(), "One");
  EXPECT_TRUE(page->forwardButton()->isEnabled());
  page->forwardAction();
  ns::RunLoop::main().runUntilIdle();
  EXPECT_EQ(page->title(), "Two");

  // A stopped load is no failure: the page's own title comes back.
  web().holdLoads(true);
  page->refreshAction();
  ns::RunLoop::main().runUntilIdle();
  EXPECT_EQ(slot(*page), page->stopButton());
  page->stopAction();
  EXPECT_EQ(page->title(), "Two");
  EXPECT_EQ(slot(*page), page->refreshButton());

  // A script's new title shows once the page is idle.
  web().setPageTitle("Renamed");
  EXPECT_EQ(page->title(), "Renamed");
}

TEST_F(TKWebControllerTest, AFailedLoadSaysWhyInTheTitle) {
  auto page = present("http://pages.test/down");
  EXPECT_EQ(page->title(), "Connection Error");
  EXPECT_EQ(slot(*page), page->refreshButton());
  EXPECT_EQ(page->URL(), "");

  // Without an engine the page says why too.
  ScriptedWebView::uninstall();
  auto bare = present("http://pages.test/one");
  EXPECT_EQ(bare->title(), "Connection Error");
}

TEST_F(TKWebControllerTest, AddressesLoadInThePageGoToTheMailProgramOrAreRefused) {
  // Resources of the test's own, with one page.
  const char* scratch = std::getenv("ZARVEL_TEST_TMP");
  std::string resources = ns::pathJoin(scratch ? scratch : "/tmp", "web-controller-resources");
  ns::createDirectory(ns::pathJoin(resources, "Toolkit.bundle"));
  { std::ofstream(ns::pathJoin(resources, "Toolkit.bundle", "web-test page.html")) << "<title>Local</title>"; }
  ::setenv("ZARVEL_RESOURCES", resources.c_str(), 1);
  std::string localURL = TKWebController::localPageURL("Toolkit.bundle/web-test page.html");
  EXPECT_EQ(localURL, "file://" + ns::pathInsideFolder(ns::resourceDirectory(), ".").value() +
                          "/Toolkit.bundle/web-test%20page.html");
  auto page = present("http://pages.test/one");
  struct Case {
    std::string url;
    bool loads;
    std::vector<std::string> launched;
  } cases[] = {
      {"https://pages.test/secure", true, {}},
      {"HTTP://pages.test/upper", true, {}},
      {"about:blank", true, {}},
      {localURL, true, {}},
      {localURL + "#part", true, {}},
      {"mailto:someone@example.org?subject=Salam", false, {"mailto:someone@example.org?subject=Salam"}},
      {"file:///etc/passwd", false, {}},
      {"file://" + ns::resourceDirectory() + "/../CMakeCache.txt", false, {}},
      {"javascript:alert(1)", false, {}},
      {"data:text/html,<b>x</b>", false, {}},
      {"ftp://pages.test/file", false, {}},
      {"zarvel://2:255", false, {}},
  };
  for (const auto& c : cases) {
    launched.clear();
    size_t before = web().loadedURLs().size();
    web().clickLink(c.url);
    ns::RunLoop::main().runUntilIdle();
    EXPECT_EQ(web().loadedURLs().size() > before, c.loads) << c.url;
    EXPECT_EQ(launched, c.launched) << c.url;
  }
  // A refused address leaves the page and its address as they were.
  web().clickLink("javascript:alert(1)");
  EXPECT_EQ(page->URL(), web().currentURL());

  // The toolkit's "bundle://" addresses open the shipped file.
  page->openRequest("bundle://Toolkit.bundle/web-test page.html");
  ns::RunLoop::main().runUntilIdle();
  EXPECT_EQ(web().loadedURLs().back(), localURL);
  page->openLocalPage("../outside.html");
  EXPECT_EQ(page->title(), "Error");
  ::unsetenv("ZARVEL_RESOURCES");
}

TEST_F(TKWebControllerTest, ShareOffersTheBrowserAndStateKeepsTheAddress) {
  auto page = present("http://pages.test/one");
  page->shareAction();
  ui::ActionSheet sheet("", std::weak_ptr<ui::ActionSheetDelegate>(), "", "");
  page->clickedButtonAtIndex(sheet, 1);
  EXPECT_TRUE(launched.empty());
  page->clickedButtonAtIndex(sheet, 0);
  EXPECT_EQ(launched, std::vector<std::string>{"http://pages.test/one"});

  ns::Dictionary state;
  EXPECT_TRUE(page->persistView(state));
  EXPECT_EQ(state["URL"].stringValue(), "http://pages.test/one");

  for (const char* url : {"", "about:blank"}) {
    size_t before = web().loadedURLs().size();
    page->restoreView({{"URL", ns::Value(url)}});
    EXPECT_EQ(web().loadedURLs().size(), before) << url;
  }
  page->restoreView({{"URL", ns::Value("http://pages.test/two")}});
  ns::RunLoop::main().runUntilIdle();
  EXPECT_EQ(page->title(), "Two");
}

TEST_F(TKWebControllerTest, CloseFollowsTheInterfaceLanguage) {
  ns::UserDefaults::standardUserDefaults().setObject(ns::Value(ns::Array{ns::Value("ar")}), "AppleLanguages");
  auto page = present("http://pages.test/one");
  EXPECT_EQ(page->closeButton()->title(), "إغلاق");
}

TEST_F(TKWebControllerTest, AHeaderMovesThePageDownOnlyWhenItComesOrGoes) {
  auto page = present("http://pages.test/one");
  cg::Rect start = page->webView()->frame();
  page->setHeaderView(std::make_shared<ui::View>(cg::Rect(0, 0, 10, 40)));
  EXPECT_EQ(page->webView()->frame().y(), start.y() + 40);
  EXPECT_EQ(page->webView()->frame().height(), start.height() - 40);
  EXPECT_EQ(page->headerView()->frame().width(), start.width());
  page->setHeaderView(std::make_shared<ui::View>(cg::Rect(0, 0, 10, 60)));
  EXPECT_EQ(page->webView()->frame().y(), start.y() + 40);
  page->setHeaderView(nullptr);
  EXPECT_EQ(page->webView()->frame(), start);
}

}  // namespace
