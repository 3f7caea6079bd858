// The navigator, the controller tables, the base and model view controllers,
// headless on the virtual clock.
#include <gtest/gtest.h>

#include "platform/foundation/Clock.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Application.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/Animator.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"
#include "tests/toolkit/core/TKTestClasses.h"
#include "toolkit/core/Object+TKCategory.h"
#include "toolkit/core/TKGlobal.h"
#include "toolkit/core/TKNavigator.h"
#include "toolkit/core/TKPopupViewController.h"
#include "toolkit/core/TKURLRequestModel.h"
#include "toolkit/core/TKURLRequestQueue.h"
#include "toolkit/core/ViewController+TKCategory.h"

using namespace tktest;

namespace {

class TKNavigatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registerTestClasses();
    useTemporaryDefaults(::testing::UnitTest::GetInstance()->current_test_info()->name());
    clock = ns::VirtualClock::install();
    ui::URLOpener::setLauncher([this](const std::string& url) {
      launched.push_back(url);
      return true;
    });
    TKNavigator::setNavigator(std::make_unique<TKNavigator>());
    window = std::make_shared<ui::Window>(cg::Rect(0, 0, 1024, 768));
    window->makeKeyAndVisible();
    TKURLRequestQueue::mainQueue().setSuspended(false);
  }
  void TearDown() override {
    ui::Animator::finishAll();
    TKNavigator::setNavigator(nullptr);
    ui::URLOpener::setLauncher(nullptr);
    TKURLRequestQueue::mainQueue().setSuspended(false);
  }
  TKNavigator& nav() { return TKNavigator::navigator(); }

  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<ui::Window> window;
  std::vector<std::string> launched;
};

TEST_F(TKNavigatorTest, WithTheEmptyMapOnlySystemURLsLeave) {
  struct Case {
    const char* url;
    std::vector<std::string> launched;
  } cases[] = {
      {"http://example.com/page", {}},             // a web URL opens nothing
      {"mailto:someone@example.com", {"mailto:someone@example.com"}},
      {"example.com", {}},                         // read as "http://example.com": a web URL
      {"zarvel://2:255", {}},                      // no one opens it
      {"", {}},
      {"javascript:alert(1)", {}},
      {"file:///etc/passwd", {}},
      {"has spaces://x", {}},
  };
  for (const auto& c : cases) {
    launched.clear();
    EXPECT_FALSE(nav().openURL(c.url, true)) << c.url;
    EXPECT_EQ(launched, c.launched) << c.url;
  }
  EXPECT_FALSE(nav().rootViewController());
  EXPECT_FALSE(nav().openURLs({}));
  EXPECT_EQ(ns::URLValue(Item()), "");
  EXPECT_FALSE(ns::objectValue("tt://anything"));

  // Handing unclaimed URLs out is the caller's choice, and still goes
  // through the opener's allow-list; a bare host becomes a web address.
  nav().setOpensExternalURLs(true);
  launched.clear();
  nav().openURL("example.com", true);
  nav().openURL("ftp://example.com", true);
  EXPECT_EQ(launched, (std::vector<std::string>{"http://example.com"}));

  // A scheme the map registers is this application's: never handed out.
  nav().setOpensExternalURLs(false);
  nav().URLMap().fromToObject("mailto://(make)", TKURLTarget::forClass("Item"));
  launched.clear();
  EXPECT_FALSE(nav().openURL("mailto:someone@example.com", true));
  EXPECT_TRUE(launched.empty());
}

TEST_F(TKNavigatorTest, OpeningAURLPresentsItsControllerAndFragmentsActOnIt) {
  nav().URLMap().fromToViewController("tt://item/(initWithItem)", "ItemController");
  nav().URLMap().fromToSharedViewController("tt://shared", "ItemController");

  auto first = nav().openURL("tt://item/1", false);
  ASSERT_TRUE(first);
  EXPECT_TRUE(dynamic_cast<ui::NavigationController*>(nav().rootViewController()));
  EXPECT_EQ(nav().topViewController(), first.get());
  EXPECT_EQ(nav().URL(), "tt://item/1");

  auto second = nav().openURL("tt://shared", false);
  EXPECT_EQ(nav().topViewController(), second.get());
  EXPECT_EQ(ui::previousViewController(*second), first.get());
  EXPECT_EQ(ui::nextViewController(*second), nullptr);
  EXPECT_EQ(ui::previousViewController(*first), nullptr);

  // The same shared URL again is already open: nothing new is pushed.
  EXPECT_EQ(nav().openURL("tt://shared", false), second);
  auto* stack = dynamic_cast<ui::NavigationController*>(nav().rootViewController());
  EXPECT_EQ(stack->viewControllers().size(), 2u);
  EXPECT_EQ(ui::keyForSubcontroller(*stack, *second), "1");
  EXPECT_EQ(ui::subcontrollerForKey(*stack, "1"), second.get());
  for (const char* key : {"5", "-1", "x", ""}) EXPECT_EQ(ui::subcontrollerForKey(*stack, key), nullptr) << key;

  // A fragment of the current URL runs a registered action on the top controller.
  nav().openURL("#highlight", false);
  nav().openURL("#close", false);
  auto* top = dynamic_cast<ItemController*>(second.get());
  EXPECT_EQ(top->highlights, 1);
  EXPECT_EQ(top->closes, 0);
}

TEST_F(TKNavigatorTest, DelayedOpeningUsesTheInterstitialModelUntilTheDelayEnds) {
  nav().URLMap().fromToViewController("tt://delayed", "DelayController");
  auto opened = std::dynamic_pointer_cast<DelayController>(nav().openURL("tt://delayed", "", nullptr, nullptr,
                                                                          false, 0, true));
  ASSERT_TRUE(opened);
  EXPECT_TRUE(nav().isDelayed());
  auto interstitial = opened->model();
  EXPECT_EQ(opened->createdModels, 0);

  nav().endDelay();
  EXPECT_FALSE(nav().isDelayed());
  EXPECT_EQ(opened->createdModels, 1);
  EXPECT_NE(opened->model(), interstitial);

  // Ending or cancelling without a delay does nothing.
  nav().endDelay();
  nav().cancelDelay();
  EXPECT_FALSE(nav().isDelayed());
  EXPECT_EQ(opened->createdModels, 1);
}

TEST_F(TKNavigatorTest, AFreedControllerClearsItsEntries) {
  nav().URLMap().fromToSharedViewController("tt://shared", "ItemController");
  std::size_t before = ui::TKControllerTableCount();
  {
    auto c = std::dynamic_pointer_cast<ui::ViewController>(nav().URLMap().objectForURL("tt://shared"));
    auto super = std::make_shared<ui::ViewController>();
    ui::setOriginalNavigatorURL(*c, "tt://shared");
    ui::setSuperController(*c, super);
    ui::setPopupViewController(*super, c);
    EXPECT_EQ(ui::superController(*c), super.get());
    EXPECT_EQ(ui::TKControllerTableCount(), before + 2);
  }
  EXPECT_EQ(ui::TKControllerTableCount(), before);

  // A controller made later, perhaps at the same address, starts clean.
  for (int i = 0; i < 8; ++i) {
    auto fresh = std::make_shared<ItemController>();
    EXPECT_EQ(ui::originalNavigatorURL(*fresh), "");
    EXPECT_EQ(ui::superController(*fresh), nullptr);
  }
}

TEST_F(TKNavigatorTest, APopWithATransitionRunsItsInverseAndPausesTheQueue) {
  nav().URLMap().fromToViewController("tt://item/(initWithItem)", "ItemController");
  nav().URLMap().fromToViewController("tt://flip/(initWithItem)", "ItemController", "", 1);
  nav().openURL("tt://item/1", false);
  auto flipped = nav().openURL("tt://flip/2", true);
  ASSERT_TRUE(flipped);
  EXPECT_TRUE(TKURLRequestQueue::mainQueue().suspended());
  clock->advance(ui::kTransitionDuration / 2);
  EXPECT_TRUE(TKURLRequestQueue::mainQueue().suspended());
  clock->advance(ui::kTransitionDuration / 2 + 0.1);
  EXPECT_FALSE(TKURLRequestQueue::mainQueue().suspended());

  auto* stack = dynamic_cast<ui::NavigationController*>(nav().rootViewController());
  EXPECT_EQ(stack->popViewControllerAnimated(true), flipped);
  EXPECT_TRUE(TKURLRequestQueue::mainQueue().suspended());
  clock->advance(ui::kTransitionDuration + 0.1);
  EXPECT_FALSE(TKURLRequestQueue::mainQueue().suspended());

  for (int t : {0, 5, -1}) EXPECT_EQ(ui::invertTransition(t), 0);

  window->setShowsStatusBar(true);
  ui::showBars(*stack, false, false);
  EXPECT_FALSE(window->showsStatusBar());
  EXPECT_EQ(stack->navigationBar()->alpha(), 0);
  ui::showBars(*stack, true, true);
  EXPECT_TRUE(window->showsStatusBar());
  EXPECT_EQ(stack->navigationBar()->alpha(), 1);
  EXPECT_EQ(ui::invertTransition(3), 4);
}

TEST_F(TKNavigatorTest, AppearingPausesTheQueueAndTintsTheBarUnlessAPopupShows) {
  auto page = std::make_shared<ItemController>();
  auto stack = ui::NavigationController::withRoot(page);
  stack->navigationBar()->setTintColor(cg::Color::fromRGB255(51, 33, 18));
  page->viewWillAppear(false);
  EXPECT_TRUE(page->isViewAppearing());
  EXPECT_TRUE(TKURLRequestQueue::mainQueue().suspended());
  EXPECT_EQ(stack->navigationBar()->tintColor(), TKViewController::kDefaultNavigationBarTint);
  page->viewDidAppear(false);
  EXPECT_FALSE(TKURLRequestQueue::mainQueue().suspended());

  auto popup = std::make_shared<TKPopupViewController>();
  ui::setPopupViewController(*page, popup);
  stack->navigationBar()->setTintColor(cg::Color::fromRGB255(51, 33, 18));
  page->viewWillAppear(false);
  EXPECT_TRUE(TKURLRequestQueue::mainQueue().suspended());
  EXPECT_EQ(stack->navigationBar()->tintColor(), cg::Color::fromRGB255(51, 33, 18));
  page->viewDidAppear(false);
  EXPECT_FALSE(TKURLRequestQueue::mainQueue().suspended());
}

TEST_F(TKNavigatorTest, AMemoryWarningFreezesOnlyAHiddenScreen) {
  struct Saving : TKViewController {
    bool persistView(ns::Dictionary& state) override {
      state["offset"] = 12;
      return true;
    }
  };
  auto c = std::make_shared<Saving>();
  c->viewWillAppear(false);
  c->didReceiveMemoryWarning();
  EXPECT_FALSE(c->frozenState());
  c->viewWillDisappear(false);
  c->didReceiveMemoryWarning();
  ASSERT_TRUE(c->frozenState());
  EXPECT_EQ((*c->frozenState()).at("offset"), ns::Value(12));
  EXPECT_FALSE(c->hasViewAppeared());
}

TEST_F(TKNavigatorTest, KeyboardHooksRunWhileAppearing) {
  struct Keyed : TKViewController {
    std::vector<std::string> calls;
    void keyboardWillAppear(bool animated, cg::Rect b) override {
      calls.push_back("will " + std::to_string(animated) + " " + std::to_string(int(b.height())));
    }
    void keyboardDidAppear(bool animated, cg::Rect) override { calls.push_back("did " + std::to_string(animated)); }
  };
  auto c = std::make_shared<Keyed>();
  c->setAutoresizesForKeyboard(true);
  c->setAutoresizesForKeyboard(true);
  ns::Value info(ns::Dictionary{{TKKeyboardBoundsUserInfoKey, ns::Array{0, 0, 1024, 352}},
                                {TKKeyboardCenterBeginUserInfoKey, ns::Array{512, 700}},
                                {TKKeyboardCenterEndUserInfoKey, ns::Array{512, 700}}});
  ns::NotificationCenter::defaultCenter().postNotificationName(TKKeyboardWillShowNotification, info);
  EXPECT_TRUE(c->calls.empty());  // not appearing
  c->viewWillAppear(false);
  ns::NotificationCenter::defaultCenter().postNotificationName(TKKeyboardWillShowNotification, info);
  EXPECT_EQ(c->calls, (std::vector<std::string>{"will 0 352"}));  // registered once; begin = end: not animated
  clock->advance(0.3);
  EXPECT_EQ(c->calls, (std::vector<std::string>{"will 0 352", "did 1"}));
  ns::NotificationCenter::defaultCenter().postNotificationName(TKKeyboardWillHideNotification, info);
}

// A model whose state the test sets.
struct FakeModel : TKModel {
  bool loaded = false, loading = false;
  bool isLoaded() const override { return loaded; }
  bool isLoading() const override { return loading; }
};

struct OverlayController : TKModelViewController {
  std::vector<std::string> calls;
  void showEmpty(bool s) override { calls.push_back(std::string("empty ") + (s ? "on" : "off")); }
  void showLoading(bool s) override { calls.push_back(std::string("loading ") + (s ? "on" : "off")); }
  void showModel(bool s) override { calls.push_back(std::string("model ") + (s ? "on" : "off")); }
  void showError(bool s) override { calls.push_back(std::string("error ") + (s ? "on" : "off")); }
  void didShowModel(bool first) override { calls.push_back(std::string("didShow ") + (first ? "first" : "again")); }
  std::string shown() const {
    std::string s;
    if (flags().isShowingModel) s += "model ";
    if (flags().isShowingError) s += "error ";
    if (flags().isShowingLoading) s += "loading ";
    if (flags().isShowingEmpty) s += "empty ";
    return s;
  }
};

TEST_F(TKNavigatorTest, OverlaysFollowTheModelState) {
  struct Case {
    bool loaded, loading, error;
    std::string shown;
  } cases[] = {
      {false, false, false, "empty "},         {false, true, false, "loading "},
      {false, false, true, "error "},          {false, true, true, "error loading "},
      {true, false, false, "model "},          {true, true, false, "model loading "},
      {true, false, true, "model error "},     {true, true, true, "model error loading "},
  };
  for (const auto& c : cases) {
    auto controller = std::make_shared<OverlayController>();
    controller->viewWillAppear(false);
    auto model = std::make_shared<FakeModel>();
    model->loaded = c.loaded;
    model->loading = c.loading;
    controller->setModel(model);
    if (c.error) controller->setModelError(ns::Error{"test", 1, "failed"});
    controller->invalidateView();
    EXPECT_EQ(controller->shown(), c.shown) << c.loaded << c.loading << c.error;
  }
}

TEST_F(TKNavigatorTest, ModelEventsDriveTheOverlays) {
  auto controller = std::make_shared<OverlayController>();
  auto model = std::make_shared<FakeModel>();
  controller->viewWillAppear(false);
  controller->setModel(model);  // starts a load (which does nothing here); the view waits for news
  controller->invalidateView();
  EXPECT_EQ(controller->shown(), "empty ");
  controller->calls.clear();

  model->loading = true;
  model->didStartLoad();
  EXPECT_EQ(controller->calls, (std::vector<std::string>{"empty off", "loading on"}));
  controller->calls.clear();
  model->loading = false;
  model->loaded = true;
  model->didFinishLoad();
  EXPECT_EQ(controller->calls, (std::vector<std::string>{"loading off", "model on", "didShow first"}));
  controller->calls.clear();
  model->didFinishLoad();  // shown anew, without hiding first
  EXPECT_EQ(controller->calls, (std::vector<std::string>{"model on", "didShow again"}));

  // Another model's events are ignored; updates wait for the end of a batch.
  FakeModel other;
  controller->calls.clear();
  controller->modelDidFinishLoad(other);
  EXPECT_TRUE(controller->calls.empty());
  model->beginUpdates();
  model->didFailLoadWithError(ns::Error{"test", 2, "x"});
  EXPECT_TRUE(controller->calls.empty());
  model->endUpdates();
  EXPECT_EQ(controller->calls, (std::vector<std::string>{"error on"}));

  // The same model again changes nothing; no model left after invalidating
  // resets the overlays and makes the next one.
  controller->calls.clear();
  controller->setModel(model);
  EXPECT_TRUE(controller->calls.empty());
  controller->invalidateModel();
  EXPECT_NE(controller->model(), model);
  EXPECT_TRUE(model->delegates().empty());
}

}  // namespace

namespace {

TEST(TKURLRequestModelTest, OutdatedByTheCachesInvalidationAge) {
  auto clock = ns::VirtualClock::install();
  auto request = TKURLRequest::request();
  request->setCacheKey("k");
  struct Case {
    double age;
    bool outdated;
  } cases[] = {{86399, false}, {86400, false}, {86401, true}};
  for (const auto& c : cases) {
    TKURLRequestModel model;
    EXPECT_FALSE(model.isOutdated());
    request->setTimestamp(ns::Date(clock->now() - c.age));
    model.requestDidStartLoad(*request);
    EXPECT_TRUE(model.isLoading());
    model.requestDidFinishLoad(*request);
    EXPECT_FALSE(model.isLoading());
    EXPECT_TRUE(model.isLoaded());
    EXPECT_EQ(model.cacheKey(), "k");
    EXPECT_EQ(model.isOutdated(), c.outdated) << c.age;
    model.invalidate(false);  // the key goes: outdated at once
    EXPECT_TRUE(model.isOutdated());
  }

  TKURLRequestModel paging;
  request->setTimestamp(ns::Date(clock->now()));
  paging.requestDidFinishLoad(*request);
  paging.setLoadingMore(true);
  request->setTimestamp(ns::Date(clock->now() - 5));
  request->setCacheKey("other");
  paging.requestDidFinishLoad(*request);
  EXPECT_EQ(paging.loadedTime(), ns::Date(clock->now()));
  EXPECT_EQ(paging.cacheKey(), "k");
}

}  // namespace

namespace {

// Keeps a scroll offset across a save and a restore.
struct Remembering : ItemController {
  int offset = 0;
  bool persistView(ns::Dictionary& state) override {
    state["offset"] = offset;
    return true;
  }
  void restoreView(const ns::Dictionary& state) override {
    auto it = state.find("offset");
    if (it != state.end()) offset = it->second.intValue();
  }
};

TEST_F(TKNavigatorTest, SavedControllersAreReopenedWithTheirState) {
  static const bool registered = [] {
    TKClassInfo info{.name = "Remembering", .superclass = "ItemController"};
    info.alloc = [] { return std::make_shared<Remembering>(); };
    TKClassRegistry::shared().registerClass(info);
    return true;
  }();
  (void)registered;
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  nav().resetDefaults();

  // Mode 0: termination writes nothing.
  nav().URLMap().fromToViewController("tt://page/(initWithItem)", "Remembering");
  auto first = std::dynamic_pointer_cast<Remembering>(nav().openURL("tt://page/1", false));
  auto second = std::dynamic_pointer_cast<Remembering>(nav().openURL("tt://page/2", false));
  ASSERT_TRUE(first && second);
  second->offset = 40;
  ns::NotificationCenter::defaultCenter().postNotificationName(ui::ApplicationWillTerminateNotification);
  EXPECT_TRUE(defaults.objectForKey("TKNavigatorHistory").isNull());

  EXPECT_EQ(nav().pathForObject(second.get()), "1");
  EXPECT_EQ(nav().objectForPath("1"), second.get());
  EXPECT_EQ(nav().pathForObject(nav().rootViewController()), "");
  EXPECT_EQ(nav().frontViewController(), second.get());

  nav().setPersistenceMode(2);
  ns::NotificationCenter::defaultCenter().postNotificationName(ui::ApplicationWillTerminateNotification);
  EXPECT_EQ(defaults.arrayForKey("TKNavigatorHistory").size(), 2u);

  // A new navigator reopens both, the second with its offset.
  TKNavigator::setNavigator(std::make_unique<TKNavigator>());
  nav().URLMap().fromToViewController("tt://page/(initWithItem)", "Remembering");
  auto restored = std::dynamic_pointer_cast<Remembering>(nav().restoreViewControllers());
  ASSERT_TRUE(restored);
  EXPECT_EQ(restored->itemId, 2);
  EXPECT_EQ(restored->offset, 40);
  EXPECT_EQ(nav().topViewController(), restored.get());

  // An expired history restores nothing.
  TKNavigator::setNavigator(std::make_unique<TKNavigator>());
  nav().URLMap().fromToViewController("tt://page/(initWithItem)", "Remembering");
  nav().setPersistenceExpirationAge(60);
  clock->advance(61);
  EXPECT_FALSE(nav().restoreViewControllers());
  EXPECT_FALSE(nav().rootViewController());
  nav().resetDefaults();
  EXPECT_FALSE(nav().restoreViewControllers());
}

}  // namespace
