// Scroll views on the virtual clock: the delegate's order for drags, flicks
// and programmatic scrolls, deceleration to rest, the rubber band, paging,
// scroll to top and the mouse wheel.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/ui/ScrollView.h"
#include "tests/platform/ui/WindowFixture.h"

using namespace ui;

namespace {

// Writes down what the delegate hears; runs of did-scroll count as one entry.
class ScrollLog : public ScrollViewDelegate {
 public:
  std::vector<std::string> events;
  int scrolls = 0;
  bool allowTop = true;
  bool draggingAtEveryScrollWhileDragging = true;

  void scrollViewDidScroll(ScrollView*) override {
    ++scrolls;
    if (events.empty() || events.back() != "scroll") events.push_back("scroll");
  }
  void scrollViewWillBeginDragging(ScrollView* s) override {
    EXPECT_TRUE(s->isDragging());
    events.push_back("beginDrag");
  }
  void scrollViewDidEndDragging(ScrollView* s, bool decelerate) override {
    EXPECT_FALSE(s->isDragging());
    EXPECT_EQ(s->isDecelerating(), decelerate);
    events.push_back(decelerate ? "endDrag(decelerate)" : "endDrag");
  }
  void scrollViewWillBeginDecelerating(ScrollView*) override { events.push_back("beginDecelerate"); }
  void scrollViewDidEndDecelerating(ScrollView* s) override {
    EXPECT_FALSE(s->isDecelerating());
    events.push_back("endDecelerate");
  }
  void scrollViewDidEndScrollingAnimation(ScrollView*) override { events.push_back("endAnimation"); }
  bool scrollViewShouldScrollToTop(ScrollView*) override {
    events.push_back("shouldTop");
    return allowTop;
  }
  void scrollViewDidScrollToTop(ScrollView*) override { events.push_back("didTop"); }
};

using Events = std::vector<std::string>;

class ScrollViewTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    scroll = std::make_shared<ScrollView>(cg::Rect(100, 100, 400, 600));
    scroll->setContentSize({400, 3000});
    scroll->setDelegate(log);
    window->addSubview(scroll);
  }
  float offsetY() const { return scroll->contentOffset().y; }

  std::shared_ptr<ScrollView> scroll;
  std::shared_ptr<ScrollLog> log = std::make_shared<ScrollLog>();
};

}  // namespace

TEST_F(ScrollViewTest, ASlowDragFollowsTheFingerAndStopsWhereItIsLeft) {
  script().drag({300, 600}, {300, 400}, 0.3);
  EXPECT_EQ(log->events, (Events{"beginDrag", "scroll", "endDrag"}));
  // The content follows the finger from where the drag began (one frame's step in).
  EXPECT_NEAR(offsetY(), 200 - 200.0f / 18, 0.01);
  EXPECT_FALSE(scroll->isDragging());
  EXPECT_FALSE(scroll->isDecelerating());
  clock->advance(2);
  EXPECT_EQ(log->events.size(), 3u);
}

TEST_F(ScrollViewTest, AFlickCarriesOnSlowsAndComesToRestAtThePredictedPoint) {
  script().flick({300, 600}, {300, 400}, 1500);
  float released = offsetY();
  EXPECT_EQ(log->events, (Events{"beginDrag", "scroll", "endDrag(decelerate)", "beginDecelerate"}));
  EXPECT_TRUE(scroll->isDecelerating());
  EXPECT_FALSE(scroll->isDragging());

  clock->advance(0.25);
  float early = offsetY() - released;
  clock->advance(0.25);
  float later = offsetY() - released - early;
  EXPECT_GT(early, later);  // it slows down
  EXPECT_TRUE(scroll->isDecelerating());

  clock->advance(5);
  EXPECT_FALSE(scroll->isDecelerating());
  EXPECT_EQ(log->events, (Events{"beginDrag", "scroll", "endDrag(decelerate)", "beginDecelerate",
                                 "scroll", "endDecelerate"}));
  // v0 / (1000 ln(1/0.998)): about half a second's worth of the release speed.
  EXPECT_NEAR(offsetY() - released, 1500 / (1000 * -std::log(0.998)), 3);
  EXPECT_EQ(offsetY(), std::round(offsetY()));
}

TEST_F(ScrollViewTest, PastTheEdgeTheRubberBandGivesWayAndSpringsBack) {
  // Down by 300 at the top: the rubber band shows (1 - 1 / (x * 0.55 / d + 1)) * d.
  window->sendTouch(0, TouchPhase::Began, {300, 200});
  for (int y = 210; y <= 500; y += 10) {
    clock->advance(1.0 / 60);
    window->sendTouch(0, TouchPhase::Moved, {300, float(y)});
  }
  // The drag begins at the first move past 10 points (y = 220).
  float excess = 280, d = 600;
  EXPECT_NEAR(offsetY(), -(1 - 1 / (excess * 0.55f / d + 1)) * d, 0.01);
  clock->advance(0.3);
  window->sendTouch(0, TouchPhase::Ended, {300, 500});
  EXPECT_EQ(log->events, (Events{"beginDrag", "scroll", "endDrag(decelerate)", "beginDecelerate"}));
  clock->advance(2);
  EXPECT_EQ(offsetY(), 0);
  EXPECT_EQ(log->events.back(), "endDecelerate");

  // Without bounces the content stops at the edge.
  scroll->setBounces(false);
  log->events.clear();
  script().drag({300, 200}, {300, 500}, 0.3);
  EXPECT_EQ(offsetY(), 0);
  EXPECT_EQ(log->events, (Events{"beginDrag", "endDrag"}));
}

TEST_F(ScrollViewTest, AFlickThatReachesTheEndBouncesAndRestsAtTheEnd) {
  scroll->setContentOffset({0, 2300});  // 100 from the end
  log->events.clear();
  script().flick({300, 600}, {300, 500}, 3000);
  clock->advance(0.2);
  EXPECT_GT(offsetY(), 2400);  // overshoots
  clock->advance(3);
  EXPECT_EQ(offsetY(), 2400);
  EXPECT_FALSE(scroll->isDecelerating());
  EXPECT_EQ(log->events.back(), "endDecelerate");
}

TEST_F(ScrollViewTest, ProgrammaticScrollsPlainAnimatedAndInsideANamedAnimation) {
  scroll->setContentOffset({0, 300});
  EXPECT_EQ(offsetY(), 300);
  EXPECT_EQ(log->scrolls, 1);
  EXPECT_EQ(log->events, (Events{"scroll"}));

  log->events.clear();
  scroll->setContentOffset({0, 900}, true);
  EXPECT_EQ(offsetY(), 300);
  clock->advance(0.15);
  EXPECT_GT(offsetY(), 300);
  EXPECT_LT(offsetY(), 900);
  EXPECT_FALSE(scroll->isDragging());
  EXPECT_FALSE(scroll->isDecelerating());
  clock->advance(0.5);
  EXPECT_EQ(offsetY(), 900);
  EXPECT_EQ(log->events, (Events{"scroll", "endAnimation"}));

  // Inside a begin/commit block the offset moves with the block, which runs
  // its whole time before its did-stop.
  log->events.clear();
  bool stopped = false;
  View::beginAnimations("ShowBottomAudioBar");
  View::setAnimationDuration(0.35);
  View::setAnimationCurve(AnimationCurve::EaseInOut);
  View::setAnimationDidStopSelector([&](const std::string& name, bool finished, void*) {
    stopped = finished && name == "ShowBottomAudioBar";
  });
  scroll->setContentOffset({0, 1000});
  View::commitAnimations();
  clock->advance(0.175);
  EXPECT_NEAR(offsetY(), 950, 5);
  EXPECT_FALSE(stopped);
  clock->advance(0.3);
  EXPECT_EQ(offsetY(), 1000);
  EXPECT_TRUE(stopped);
  EXPECT_EQ(log->events, (Events{"scroll"}));
}

TEST_F(ScrollViewTest, PagingSettlesOnTheNearestPageOrTheNextOneAfterAFlick) {
  auto pages = std::make_shared<ScrollView>(cg::Rect(0, 0, 320, 357));
  pages->setContentSize({640, 357});
  pages->setPagingEnabled(true);
  auto pageLog = std::make_shared<ScrollLog>();
  pages->setDelegate(pageLog);
  window->addSubview(pages);
  struct Case {
    const char* what;
    float startX, endX;
    float velocity;  // 0: a slow drag
    float rest;
  };
  const Case cases[] = {
      {"a short slow drag springs back", 250, 150, 0, 0},
      {"a drag past half way turns the page", 300, 100, 0, 320},
      {"a short quick flick turns the page", 200, 150, 900, 320},
      {"a flick back returns to the first page", 100, 160, 900, 0},
      {"there is no page before the first", 100, 200, 900, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    pageLog->events.clear();
    if (c.velocity > 0) script().flick({c.startX, 200}, {c.endX, 200}, c.velocity);
    else script().drag({c.startX, 200}, {c.endX, 200}, 0.4);
    clock->advance(2);
    EXPECT_EQ(pages->contentOffset().x, c.rest);
    EXPECT_EQ(pages->contentOffset().y, 0);
    EXPECT_FALSE(pages->isDecelerating());
    if (pageLog->events.back() != "endDrag") {
      EXPECT_EQ(pageLog->events.back(), "endDecelerate");
    }
  }
}

TEST_F(ScrollViewTest, TheStatusBarScrollsTheOneScrollViewThatScrollsToTop) {
  scroll->setContentOffset({0, 800});
  log->events.clear();
  script().tapStatusBar();
  clock->advance(1);
  EXPECT_EQ(offsetY(), 0);
  EXPECT_EQ(log->events, (Events{"shouldTop", "scroll", "didTop"}));

  // The delegate may refuse.
  scroll->setContentOffset({0, 800});
  log->events.clear();
  log->allowTop = false;
  script().tapStatusBar();
  clock->advance(1);
  EXPECT_EQ(offsetY(), 800);
  EXPECT_EQ(log->events, (Events{"shouldTop"}));

  // With two candidates neither moves; turning one off leaves the other.
  log->allowTop = true;
  auto other = std::make_shared<ScrollView>(cg::Rect(600, 100, 300, 300));
  other->setContentSize({300, 900});
  other->setContentOffset({0, 100});
  window->addSubview(other);
  log->events.clear();
  script().tapStatusBar();
  clock->advance(1);
  EXPECT_TRUE(log->events.empty());
  EXPECT_EQ(other->contentOffset().y, 100);
  scroll->setScrollsToTop(false);
  script().tapStatusBar();
  clock->advance(1);
  EXPECT_EQ(other->contentOffset().y, 0);
  EXPECT_EQ(offsetY(), 800);
}

TEST_F(ScrollViewTest, TheWheelEasesByStepsAndATouchpadMovesDirectly) {
  script().wheel({300, 300}, 0, 3);
  EXPECT_EQ(offsetY(), 0);
  clock->advance(0.05);
  EXPECT_GT(offsetY(), 0);
  script().wheel({300, 300}, 0, 2);  // a further turn adds to where it is going
  clock->advance(0.5);
  EXPECT_EQ(offsetY(), 200);
  EXPECT_FALSE(scroll->isDragging());
  EXPECT_FALSE(scroll->isDecelerating());

  script().touchpad({300, 300}, 0, -0.25f);
  EXPECT_EQ(offsetY(), 190);
  // It never passes the ends.
  script().wheel({300, 300}, 0, -100);
  clock->advance(0.5);
  EXPECT_EQ(offsetY(), 0);
  script().touchpad({300, 300}, 0, 1000);
  EXPECT_EQ(offsetY(), 2400);

  // Outside the scroll view the wheel moves nothing.
  script().wheel({800, 300}, 0, -3);
  clock->advance(0.5);
  EXPECT_EQ(offsetY(), 2400);
}

TEST_F(ScrollViewTest, TheWheelGoesToTheInnermostScrollViewThatCanMoveThatWay) {
  // A horizontal strip inside the vertical scroll view.
  auto strip = std::make_shared<ScrollView>(cg::Rect(0, 0, 400, 100));
  strip->setContentSize({1200, 100});
  scroll->addSubview(strip);
  script().wheel({300, 150}, 0, 2);
  clock->advance(0.5);
  EXPECT_EQ(offsetY(), 80);
  EXPECT_EQ(strip->contentOffset().x, 0);
  script().touchpad({300, 110}, 0.5f, 0);  // the strip lies 80 higher now
  EXPECT_EQ(strip->contentOffset().x, 20);
  EXPECT_EQ(offsetY(), 80);
}

TEST_F(ScrollViewTest, ATouchCatchesADecelerationAndAnInnerDragLeavesTheOuterAlone) {
  script().flick({300, 600}, {300, 400}, 2000);
  clock->advance(0.1);
  ASSERT_TRUE(scroll->isDecelerating());
  window->sendTouch(0, TouchPhase::Began, {300, 400});
  EXPECT_FALSE(scroll->isDecelerating());
  EXPECT_EQ(log->events.back(), "endDecelerate");
  float caught = offsetY();
  clock->advance(1);
  window->sendTouch(0, TouchPhase::Ended, {300, 400});
  EXPECT_EQ(offsetY(), caught);

  auto strip = std::make_shared<ScrollView>(cg::Rect(0, 0, 400, 100));
  strip->setContentSize({1200, 100});
  scroll->setContentOffset({0, 0});
  scroll->addSubview(strip);
  script().drag({400, 150}, {200, 150}, 0.3);
  EXPECT_EQ(strip->contentOffset().x, 200 - 200.0f / 18);
  EXPECT_EQ(offsetY(), 0);
}

TEST_F(ScrollViewTest, InsetsWidenTheRangeTheContentRestsIn) {
  scroll->setContentInset({44, 0, 100, 0});
  EXPECT_EQ(scroll->minimumContentOffset().y, -44);
  EXPECT_EQ(scroll->maximumContentOffset().y, 3000 + 100 - 600);
  script().drag({300, 200}, {300, 400}, 0.3);
  clock->advance(2);
  EXPECT_EQ(offsetY(), -44);  // springs back to the inset, not to 0
  script().touchpad({300, 300}, 0, 1000);
  EXPECT_EQ(offsetY(), 2500);
  scroll->setContentOffset({0, 1000});
  script().tapStatusBar();
  clock->advance(1);
  EXPECT_EQ(offsetY(), -44);
}
