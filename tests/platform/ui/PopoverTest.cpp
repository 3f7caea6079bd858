// Popovers: placement at a rectangle near each edge, taps outside and on
// pass-through views, dismissal in code, content sizes and content swaps, on
// the virtual clock.
#include <gtest/gtest.h>

#include "platform/foundation/Clock.h"
#include "platform/ui/Animator.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/Window.h"
#include "tests/platform/ui/ControllerLog.h"

using namespace ui;
using ui::test::CallLog;
using ui::test::LoggingController;

namespace {

class Delegate : public PopoverControllerDelegate {
 public:
  explicit Delegate(std::shared_ptr<CallLog> log) : log_(std::move(log)) {}
  bool answer = true;
  bool popoverControllerShouldDismissPopover(PopoverController&) override {
    log_->push_back("should dismiss");
    return answer;
  }
  void popoverControllerDidDismissPopover(PopoverController&) override { log_->push_back("did dismiss"); }

 private:
  std::shared_ptr<CallLog> log_;
};

class PopoverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = ns::VirtualClock::install();
    window = std::make_shared<Window>(cg::Rect(0, 0, 1024, 768));
    window->makeKeyAndVisible();
    host = std::make_shared<View>(cg::Rect(0, 20, 1024, 748));
    window->addSubview(host);
    content = std::make_shared<LoggingController>("Content", log);
    content->setContentSizeForViewInPopover({320, 357});
    popover = std::make_shared<PopoverController>(content);
    popover->setDelegate(delegate);
  }
  void TearDown() override { Animator::finishAll(); }
  void tap(cg::Point p) {
    window->sendTouch(0, TouchPhase::Began, p);
    window->sendTouch(0, TouchPhase::Ended, p);
  }
  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<Window> window;
  std::shared_ptr<View> host;
  std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
  std::shared_ptr<Delegate> delegate = std::make_shared<Delegate>(log);
  std::shared_ptr<LoggingController> content;
  std::shared_ptr<PopoverController> popover;
};

// The screen's area for popovers: below the status bar, 10 points off the edges.
const cg::Rect kArea(10, 30, 1004, 728);

}  // namespace

TEST(PopoverPlacement, ArrowPointsAtTheRectangleFromTheSideWithRoom) {
  constexpr unsigned kSides = PopoverArrowDirectionLeft | PopoverArrowDirectionRight;
  struct Case {
    const char* name;
    cg::Rect anchor;
    unsigned directions;
    unsigned arrow;
    cg::Point tip;
  };
  const Case cases[] = {
      {"near the top: below it", {500, 40, 5, 5}, PopoverArrowDirectionAny, PopoverArrowDirectionUp, {502.5f, 45}},
      {"near the bottom: above it", {500, 720, 5, 5}, PopoverArrowDirectionAny, PopoverArrowDirectionDown, {502.5f, 720}},
      {"arrow down asked in the middle", {500, 400, 5, 5}, PopoverArrowDirectionDown, PopoverArrowDirectionDown, {502.5f, 400}},
      {"near the left edge: right of it", {15, 380, 5, 5}, kSides, PopoverArrowDirectionLeft, {20, 382.5f}},
      {"near the right edge: left of it", {1000, 380, 5, 5}, kSides, PopoverArrowDirectionRight, {1000, 382.5f}},
      {"up asked with no room below", {500, 700, 5, 5}, PopoverArrowDirectionUp, PopoverArrowDirectionUp, {502.5f, 705}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PopoverPlacement p = PopoverController::place(c.anchor, {320, 357}, c.directions, kArea);
    EXPECT_EQ(p.arrowDirection, c.arrow);
    EXPECT_FLOAT_EQ(p.arrowTip.x, c.tip.x);
    EXPECT_FLOAT_EQ(p.arrowTip.y, c.tip.y);
    // Always on screen, and the arrow's tip on the frame's edge facing the rectangle.
    EXPECT_GE(p.frame.minX(), kArea.minX());
    EXPECT_LE(p.frame.maxX(), kArea.maxX());
    EXPECT_GE(p.frame.minY(), kArea.minY() - 1);
    EXPECT_LE(p.frame.maxY(), kArea.maxY());
    switch (p.arrowDirection) {
      case PopoverArrowDirectionUp: EXPECT_EQ(p.frame.minY(), std::round(c.anchor.maxY())); break;
      case PopoverArrowDirectionDown: EXPECT_EQ(p.frame.maxY(), c.anchor.minY()); break;
      case PopoverArrowDirectionLeft: EXPECT_EQ(p.frame.minX(), c.anchor.maxX()); break;
      case PopoverArrowDirectionRight: EXPECT_EQ(p.frame.maxX(), c.anchor.minX()); break;
    }
  }
  // With room, the whole content shows: border and arrow around it.
  PopoverPlacement p = PopoverController::place({500, 40, 5, 5}, {320, 357}, PopoverArrowDirectionAny, kArea);
  EXPECT_EQ(p.frame.size, (cg::Size{336, 393}));
  // Squeezed below, it is cut to the room there is.
  p = PopoverController::place({500, 700, 5, 5}, {320, 357}, PopoverArrowDirectionUp, kArea);
  EXPECT_EQ(p.frame.maxY(), kArea.maxY());
}

TEST_F(PopoverTest, TapOutsideAsksThenTellsTheDelegate) {
  popover->presentPopoverFromRect({500, 20, 5, 5}, host.get(), PopoverArrowDirectionUp, true);
  clock->advance(1);
  EXPECT_TRUE(popover->isPopoverVisible());
  EXPECT_EQ(popover->popoverArrowDirection(), PopoverArrowDirectionUp);
  EXPECT_TRUE(content->view()->window());
  EXPECT_EQ(popover->placement().arrowTip, (cg::Point{502.5f, 45}));
  // A tap inside is the content's.
  cg::Point inside = content->view()->convertPointToView({10, 10}, nullptr);
  tap(inside);
  EXPECT_TRUE(popover->isPopoverVisible());
  delegate->answer = false;
  tap({50, 700});
  EXPECT_TRUE(popover->isPopoverVisible());
  delegate->answer = true;
  tap({50, 700});
  EXPECT_FALSE(popover->isPopoverVisible());
  EXPECT_EQ(*log, (CallLog{"Content viewDidLoad", "Content viewWillAppear", "Content viewDidAppear", "should dismiss",
                           "should dismiss", "Content viewWillDisappear"}));
  clock->advance(1);
  EXPECT_EQ(log->back(), "did dismiss");
  EXPECT_FALSE(content->view()->window());
}

TEST_F(PopoverTest, DismissalInCodeTellsTheDelegateNothing) {
  for (bool animated : {false, true}) {
    popover->presentPopoverFromRect({500, 700, 5, 5}, host.get(), PopoverArrowDirectionAny, false);
    EXPECT_EQ(popover->popoverArrowDirection(), PopoverArrowDirectionDown);
    log->clear();
    popover->dismissPopoverAnimated(animated);
    EXPECT_FALSE(popover->isPopoverVisible());
    clock->advance(1);
    EXPECT_EQ(*log, (CallLog{"Content viewWillDisappear", "Content viewDidDisappear"}));
    EXPECT_FALSE(content->view()->window());
  }
}

TEST_F(PopoverTest, PassThroughViewsGetTheirTouchesWithThePopoverOpen) {
  struct Counter : View {
    using View::View;
    int began = 0;
    void touchesBegan(const TouchSet&, const Event&) override { ++began; }
  };
  auto bubble = std::make_shared<Counter>(cg::Rect(10, 600, 80, 40));
  host->addSubview(bubble);
  popover->setPassthroughViews({bubble});
  popover->presentPopoverFromRect({500, 20, 5, 5}, host.get(), PopoverArrowDirectionAny, false);
  tap({30, 630});
  EXPECT_EQ(bubble->began, 1);
  EXPECT_TRUE(popover->isPopoverVisible());
  EXPECT_EQ(log->size(), 3u);  // no should-dismiss
}

TEST_F(PopoverTest, ContentSizeChangesWithAnimationAndAStackAddsItsBar) {
  popover->presentPopoverFromRect({500, 20, 5, 5}, host.get(), PopoverArrowDirectionUp, false);
  EXPECT_EQ(popover->placement().frame.height(), 357 + 16 + 20);
  popover->setPopoverContentSize({320, 200}, true);
  clock->advance(0.1);
  View* frame = content->view()->superview()->superview();
  float mid = frame->presentationFrame().height();
  EXPECT_LT(mid, 393);
  EXPECT_GT(mid, 236);
  clock->advance(1);
  EXPECT_EQ(frame->presentationFrame().height(), 236);
  EXPECT_EQ(content->view()->frame().size, (cg::Size{320, 200}));

  // A navigation stack: its bar stands on top of the content's size.
  auto nav = NavigationController::withRoot(std::make_shared<LoggingController>("Picker", log));
  popover->setContentViewController(nav, false);
  EXPECT_EQ(popover->placement().frame.height(), 200 + 44 + 16 + 20);
  EXPECT_FALSE(content->view()->window());
  EXPECT_TRUE(nav->topViewController()->view()->window());
}
