// Navigation stacks, their bars and bar button items, toolbars, and the
// unloading of hidden views on a memory warning, on the virtual clock.
#include <gtest/gtest.h>

#include "platform/foundation/Clock.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"
#include "tests/platform/ui/ControllerLog.h"

using namespace ui;
using ui::test::CallLog;
using ui::test::LoggingController;

namespace {

class NavigationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = ns::VirtualClock::install();
    window = std::make_shared<Window>(cg::Rect(0, 0, 1024, 768));
    window->makeKeyAndVisible();
  }
  void TearDown() override { Animator::finishAll(); }
  std::shared_ptr<LoggingController> controller(const std::string& name) {
    return std::make_shared<LoggingController>(name, log);
  }
  // The stack's view in the window, its appearance calls sent by hand as a
  // container does, and the log cleared.
  std::shared_ptr<NavigationController> onScreen(std::shared_ptr<ViewController> root) {
    auto nav = NavigationController::withRoot(root);
    nav->view()->setFrame(cg::Rect(0, 20, 400, 600));
    window->addSubview(nav->view());
    nav->viewWillAppear(false);
    nav->viewDidAppear(false);
    log->clear();
    return nav;
  }
  void tap(View* v) {
    cg::Point p = v->convertPointToView({v->bounds().midX(), v->bounds().midY()}, nullptr);
    window->sendTouch(0, TouchPhase::Began, p);
    window->sendTouch(0, TouchPhase::Ended, p);
  }
  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<Window> window;
  std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
};

}  // namespace

TEST_F(NavigationTest, AddingAControllersViewAsASubviewSendsNoAppearanceCalls) {
  auto a = controller("A");
  window->addSubview(a->view());
  a->view()->removeFromSuperview();
  EXPECT_EQ(*log, (CallLog{"A viewDidLoad"}));
}

TEST_F(NavigationTest, PushAndPopSendTheAppearanceCallsInOrder) {
  for (bool animated : {false, true}) {
    SCOPED_TRACE(animated ? "animated" : "not animated");
    auto a = controller("A");
    auto b = controller("B");
    auto nav = onScreen(a);
    nav->pushViewController(b, animated);
    clock->advance(1);
    EXPECT_EQ(*log, (CallLog{"B viewDidLoad", "A viewWillDisappear", "B viewWillAppear", "A viewDidDisappear",
                             "B viewDidAppear"}));
    EXPECT_EQ(nav->topViewController(), b.get());
    EXPECT_EQ(b->navigationController(), nav.get());
    EXPECT_FALSE(a->view()->superview());
    EXPECT_EQ(b->view()->frame(), cg::Rect(0, 44, 400, 556));
    log->clear();
    EXPECT_EQ(nav->popViewControllerAnimated(animated), b);
    clock->advance(1);
    EXPECT_EQ(*log, (CallLog{"B viewWillDisappear", "A viewWillAppear", "B viewDidDisappear", "A viewDidAppear"}));
    EXPECT_EQ(b->navigationController(), nullptr);
    EXPECT_EQ(nav->popViewControllerAnimated(animated), nullptr);  // the root stays
    nav->view()->removeFromSuperview();
    log->clear();
  }
}

TEST_F(NavigationTest, DuringTheSlideBothViewsMoveAndASecondPushEndsTheFirst) {
  auto a = controller("A");
  auto nav = onScreen(a);
  nav->pushViewController(controller("B"), true);
  clock->advance(0.1);
  auto* b = nav->topViewController();
  float bx = b->view()->presentationFrame().x();
  EXPECT_GT(bx, 0);
  EXPECT_LT(bx, 400);
  EXPECT_LT(a->view()->presentationFrame().x(), 0);
  nav->pushViewController(controller("C"), true);  // B's arrival completes first
  clock->advance(1);
  EXPECT_EQ(*log, (CallLog{"B viewDidLoad", "A viewWillDisappear", "B viewWillAppear", "A viewDidDisappear",
                           "B viewDidAppear", "C viewDidLoad", "B viewWillDisappear", "C viewWillAppear",
                           "B viewDidDisappear", "C viewDidAppear"}));
  EXPECT_EQ(nav->viewControllers().size(), 3u);
}

TEST_F(NavigationTest, BackButtonCarriesThePreviousTitleAndPops) {
  auto a = controller("Index");
  auto nav = onScreen(a);
  nav->pushViewController(controller("Detail"), false);
  NavigationBar* bar = nav->navigationBar();
  EXPECT_EQ(bar->topItem()->title(), "Detail");
  ASSERT_TRUE(bar->backButtonView());
  EXPECT_EQ(bar->backButtonView()->item()->title(), "Index");
  tap(bar->backButtonView());
  clock->advance(1);
  EXPECT_EQ(nav->topViewController(), a.get());
  EXPECT_FALSE(bar->backButtonView());
}

TEST_F(NavigationTest, BarButtonItemsShowOnTheBarAndRunTheirActions) {
  auto a = controller("Pick Translation");
  auto nav = onScreen(a);
  int cancelled = 0, saved = 0;
  auto cancel = std::make_shared<BarButtonItem>(BarButtonSystemItem::Cancel, [&](BarButtonItem&) { ++cancelled; });
  auto save = std::make_shared<BarButtonItem>("Save", BarButtonItemStyle::Bordered, [&](BarButtonItem&) { ++saved; });
  a->navigationItem()->setLeftBarButtonItem(cancel);
  a->navigationItem()->setRightBarButtonItem(save);
  NavigationBar* bar = nav->navigationBar();
  ASSERT_TRUE(bar->leftButtonView() && bar->rightButtonView());
  EXPECT_EQ(cancel->title(), "Cancel");
  EXPECT_EQ(cancel->style(), BarButtonItemStyle::Bordered);
  EXPECT_LT(bar->leftButtonView()->frame().maxX(), 200);
  EXPECT_EQ(bar->rightButtonView()->frame().maxX(), 395);
  tap(bar->leftButtonView());
  tap(bar->rightButtonView());
  save->setEnabled(false);
  tap(bar->rightButtonView());
  EXPECT_EQ(cancelled, 1);
  EXPECT_EQ(saved, 1);
  // A changed title re-lays the bar: the button grows with it.
  float before = bar->rightButtonView()->frame().width();
  save->setTitle("Save everything now");
  EXPECT_GT(bar->rightButtonView()->frame().width(), before);
  EXPECT_EQ(bar->rightButtonView()->frame().maxX(), 395);
}

TEST_F(NavigationTest, HiddenBarGivesTheContentTheWholeViewAndNoHeightInAPopover) {
  auto a = controller("A");
  a->setContentSizeForViewInPopover({320, 357});
  auto nav = onScreen(a);
  EXPECT_EQ(nav->contentSizeForViewInPopover(), (cg::Size{320, 401}));
  nav->setNavigationBarHidden(true, false);
  EXPECT_EQ(nav->contentSizeForViewInPopover(), (cg::Size{320, 357}));
  EXPECT_EQ(a->view()->frame(), cg::Rect(0, 0, 400, 600));
  EXPECT_TRUE(nav->navigationBar()->isHidden());
}

TEST_F(NavigationTest, BarTintColoursTheBarAndItsButtons) {
  auto a = controller("A");
  auto nav = onScreen(a);
  a->navigationItem()->setRightBarButtonItem(std::make_shared<BarButtonItem>(BarButtonSystemItem::Done));
  cg::Color tint = cg::Color::fromRGB255(120, 30, 30);
  nav->navigationBar()->setTintColor(tint);
  auto image = window->snapshot();
  cg::RGBA bar = image->pixelAt(100, 20 + 30);
  EXPECT_GT(bar.r, bar.g + 40);  // reddish, not the default blue-grey
  nav->navigationBar()->setTintColor(std::nullopt);
  bar = window->snapshot()->pixelAt(100, 20 + 30);
  EXPECT_GT(bar.b, bar.r);
}

TEST_F(NavigationTest, MemoryWarningUnloadsOnlyHiddenViewsWhichComeBackOnUse) {
  auto a = controller("A");
  auto nav = onScreen(a);
  nav->pushViewController(controller("B"), false);
  auto loose = controller("Loose");
  loose->view();
  log->clear();
  Application::shared().receiveMemoryWarning();
  EXPECT_FALSE(a->isViewLoaded());
  EXPECT_FALSE(loose->isViewLoaded());
  EXPECT_TRUE(nav->topViewController()->isViewLoaded());
  EXPECT_TRUE(nav->isViewLoaded());
  EXPECT_EQ(*log, (CallLog{"A viewDidUnload", "Loose viewDidUnload"}));
  log->clear();
  nav->popViewControllerAnimated(false);
  EXPECT_TRUE(a->isViewLoaded());
  EXPECT_EQ(a->view()->superview(), nav->view().get());
  EXPECT_EQ(log->front(), "A viewDidLoad");
}

TEST_F(NavigationTest, ToolbarFlexibleSpacePushesItemsToTheEdges) {
  auto toolbar = std::make_shared<Toolbar>(cg::Rect(0, 700, 600, 44));
  window->addSubview(toolbar);
  auto move = std::make_shared<BarButtonItem>("Move", BarButtonItemStyle::Bordered);
  auto flex = std::make_shared<BarButtonItem>(BarButtonSystemItem::FlexibleSpace);
  auto remove = std::make_shared<BarButtonItem>("Remove", BarButtonItemStyle::Bordered);
  int removed = 0;
  remove->setAction([&](BarButtonItem&) { ++removed; });
  toolbar->setItems({move, flex, remove});
  View* left = toolbar->viewForItem(move.get());
  View* right = toolbar->viewForItem(remove.get());
  ASSERT_TRUE(left && right);
  EXPECT_EQ(toolbar->viewForItem(flex.get()), nullptr);
  EXPECT_EQ(left->frame().x(), 12);
  EXPECT_NEAR(right->frame().maxX(), 588, 1);
  tap(right);
  EXPECT_EQ(removed, 1);
}
