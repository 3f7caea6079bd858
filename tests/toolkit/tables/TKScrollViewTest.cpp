// The paged scroll view on the virtual clock: pages in three slots and their
// reuse, flicks and bounces, the rubber band at the ends, flipped page order,
// taps, double taps and pinches (the second finger as the desktop's Ctrl+mouse
// gives it), holding and rotation.
#include <gtest/gtest.h>

#include "platform/ui/Application.h"
#include "tests/toolkit/tables/TKTablesTestSupport.h"
#include "toolkit/tables/TKScrollView.h"

namespace {

using ui::TouchPhase;

// Pages of a colour each, reusing the pages the view puts aside.
struct Pages : TKScrollViewDataSource, TKScrollViewDelegate {
  int count = 10;
  int made = 0, reused = 0;
  std::vector<int> gaps;  // indices that get no page
  std::optional<cg::Size> size;
  std::vector<std::string> log;
  bool allowZoom = true;
  int numberOfPagesInScrollView(TKScrollView&) override { return count; }
  std::shared_ptr<ui::View> pageAtIndex(TKScrollView& view, int index) override {
    if (std::find(gaps.begin(), gaps.end(), index) != gaps.end()) return nullptr;
    auto page = view.dequeueReusablePage();
    if (page) ++reused;
    else {
      page = std::make_shared<ui::View>();
      ++made;
    }
    page->setTag(index);
    page->setBackgroundColor(cg::Color::gray(float(index) / float(count)));
    return page;
  }
  std::optional<cg::Size> sizeOfPageAtIndex(TKScrollView&, int) override { return size; }
  void didMoveToPageAtIndex(TKScrollView&, int index) override { log.push_back("page " + std::to_string(index)); }
  void scrollViewDidEndDecelerating(TKScrollView&) override { log.push_back("rest"); }
  void touchedUpInside(TKScrollView&, const ui::Touch&) override { log.push_back("up"); }
  void tapped(TKScrollView&, const ui::Touch&) override { log.push_back("tap"); }
  void scrollViewDidBeginZooming(TKScrollView&) override { log.push_back("zoom"); }
  void scrollViewDidEndZooming(TKScrollView&) override { log.push_back("unzoom"); }
  void scrollViewDidBeginHolding(TKScrollView&) override { log.push_back("hold"); }
  void scrollViewDidEndHolding(TKScrollView&) override { log.push_back("release"); }
  void scrollViewWillRotate(TKScrollView&, int o) override { log.push_back("rotate " + std::to_string(o)); }
  bool scrollViewShouldZoom(TKScrollView&) override { return allowZoom; }
};

using Log = std::vector<std::string>;

class TKScrollViewTest : public tktables::TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    ui::Application::shared().setStatusBarOrientation(ui::InterfaceOrientation::Portrait);
    view = std::make_shared<TKScrollView>(cg::Rect(0, 0, 320, 480));
    window->addSubview(view);
    view->setDelegate(pages);
    view->setDataSource(pages);
    window->layoutIfNeeded();
    pages->log.clear();
  }
  void drag(float dx, int fingers = 1) {
    cg::Point from{160, 240};
    for (int f = 0; f < fingers; ++f) touch(TouchPhase::Began, {from.x, from.y + 40.0f * float(f)}, f);
    for (int i = 1; i <= 10; ++i) {
      clock->advance(1.0 / 60);
      touch(TouchPhase::Moved, {from.x + dx * float(i) / 10, from.y}, 0);
    }
    clock->advance(0.1);
    for (int f = fingers - 1; f >= 0; --f) touch(TouchPhase::Ended, {from.x + (f ? 0 : dx), from.y + 40.0f * float(f)}, f);
  }
  ui::View* page(int index) { return view->pageAtIndex(index).get(); }

  std::shared_ptr<Pages> pages = std::make_shared<Pages>();
  std::shared_ptr<TKScrollView> view;
};

TEST_F(TKScrollViewTest, ThreePagesAreLaidOutSideBySide) {
  EXPECT_EQ(pages->made, 2);  // the first page and the next one
  ASSERT_TRUE(page(0));
  EXPECT_EQ(page(0)->frame(), cg::Rect(0, 0, 320, 480));
  EXPECT_EQ(page(1)->frame(), cg::Rect(360, 0, 320, 480));
  view->setCenterPageIndex(1);
  window->layoutIfNeeded();
  EXPECT_EQ(page(0)->frame(), cg::Rect(-360, 0, 320, 480));
  EXPECT_EQ(page(2)->frame(), cg::Rect(360, 0, 320, 480));
  EXPECT_EQ(pages->log, (Log{"page 1"}));
}

TEST_F(TKScrollViewTest, ANeighbourMoveRecyclesOnePageAndAJumpReloads) {
  view->setCenterPageIndex(1);
  window->layoutIfNeeded();
  int made = pages->made, reused = pages->reused;
  view->setCenterPageIndex(2);  // page 0 leaves the ring, page 3 takes its slot
  window->layoutIfNeeded();
  EXPECT_EQ(pages->made, made);
  EXPECT_EQ(pages->reused, reused + 1);
  EXPECT_EQ(page(3)->tag(), 3);
  EXPECT_FALSE(page(0));
  EXPECT_EQ(view->subviews().size(), 3u);
  view->setCenterPageIndex(7);  // a jump: all three go to the queue and come back
  window->layoutIfNeeded();
  EXPECT_EQ(pages->made, made);
  EXPECT_EQ(pages->reused, reused + 4);
  EXPECT_EQ(page(7)->frame(), cg::Rect(0, 0, 320, 480));
  EXPECT_EQ(pages->log.back(), "page 7");
}

TEST_F(TKScrollViewTest, AMissingPageLeavesItsSlotEmpty) {
  pages->gaps = {1};
  view->reloadData();
  view->setCenterPageIndex(1);
  window->layoutIfNeeded();  // no page for the centre: nothing laid out, no report
  EXPECT_FALSE(page(1));
  EXPECT_TRUE(page(0));
  EXPECT_TRUE(page(2));
  EXPECT_TRUE(pages->log.empty());
}

TEST_F(TKScrollViewTest, SixtyOnePointsFlickSixtyBounceBack) {
  drag(-61);
  EXPECT_TRUE(view->isAnimating());
  clock->advance(0.45);
  EXPECT_EQ(view->centerPageIndex(), 1);
  window->layoutIfNeeded();
  EXPECT_EQ(pages->log, (Log{"rest", "page 1"}));  // lifted after moving: no tap
  EXPECT_EQ(page(1)->frame().x(), 0);

  pages->log.clear();
  drag(-60);
  clock->advance(0.4);
  EXPECT_TRUE(view->isAnimating());  // a bounce takes 0.5 s
  clock->advance(0.2);
  EXPECT_EQ(view->centerPageIndex(), 1);
  window->layoutIfNeeded();
  EXPECT_EQ(pages->log, (Log{"rest"}));
  EXPECT_EQ(view->pageEdges(), (cg::EdgeInsets{0, 0, 0, 0}));
}

// Counts its layout passes, where the animator's ticks come to the screen.
struct CountingScrollView : TKScrollView {
  using TKScrollView::TKScrollView;
  void layoutSubviews() override {
    ++layouts;
    TKScrollView::layoutSubviews();
  }
  int layouts = 0;
};

TEST_F(TKScrollViewTest, TheAnimatorIsDrawnOncePerFrame) {
  view->removeFromSuperview();
  auto counting = std::make_shared<CountingScrollView>(cg::Rect(0, 0, 320, 480));
  view = counting;
  window->addSubview(view);
  view->setDelegate(pages);
  view->setDataSource(pages);
  window->layoutIfNeeded();
  auto screen = cg::Context::bitmap(768, 1024);
  window->display(screen);
  drag(-120);
  ASSERT_TRUE(view->isAnimating());
  int frames = 0;
  float lastEdge = view->pageEdges().left;
  while (view->isAnimating() && frames < 120) {
    int layouts = counting->layouts;
    ui::View* shown = page(view->centerPageIndex());
    cg::Rect before = shown->frame();
    // A frame holds three or four of the animator's ticks: they move the
    // edges but lay out and draw nothing until the frame is drawn.
    clock->advance(1.0 / 60);
    EXPECT_EQ(counting->layouts, layouts);
    EXPECT_EQ(shown->frame(), before);
    EXPECT_NE(view->pageEdges().left, lastEdge);
    lastEdge = view->pageEdges().left;
    EXPECT_FALSE(window->display(screen).empty());
    EXPECT_EQ(counting->layouts, layouts + 1);
    ++frames;
  }
  EXPECT_FALSE(view->isAnimating());
  EXPECT_GT(frames, 10);
  EXPECT_EQ(view->centerPageIndex(), 1);
}

TEST_F(TKScrollViewTest, TheFirstPageResistsADragBackAndBouncesBack) {
  touch(TouchPhase::Began, {100, 240});
  clock->advance(1.0 / 60);
  touch(TouchPhase::Moved, {200, 240});
  EXPECT_GT(view->pageEdges().left, 0);
  EXPECT_LE(view->pageEdges().left, 10);  // a tenth or less of the 100 points moved
  // Every move gives way a little more, never as far as the finger.
  for (int i = 1; i <= 10; ++i) {
    clock->advance(1.0 / 60);
    touch(TouchPhase::Moved, {200.0f + 10.0f * float(i), 240});
  }
  EXPECT_LT(view->pageEdges().left, 100);
  touch(TouchPhase::Ended, {300, 240});
  clock->advance(0.6);
  EXPECT_EQ(view->centerPageIndex(), 0);
  EXPECT_EQ(view->pageEdges().left, 0);
}

TEST_F(TKScrollViewTest, UpsideDownTheNextPageLiesToTheLeft) {
  view->setOrientation(2, false);
  view->setCenterPageIndex(1);
  window->layoutIfNeeded();
  EXPECT_EQ(page(2)->frame().x(), -360);
  pages->log.clear();
  drag(-80);
  clock->advance(0.5);
  EXPECT_EQ(view->centerPageIndex(), 0);  // a leftward drag goes back a page
}

TEST_F(TKScrollViewTest, WithoutZoomADragStaysWhereItWasLeft) {
  view->setZoomEnabled(false);
  drag(-100);
  clock->advance(1);
  EXPECT_FALSE(view->isAnimating());
  EXPECT_EQ(view->centerPageIndex(), 0);
  EXPECT_EQ(view->pageEdges().left, -100);
}

TEST_F(TKScrollViewTest, TapsAndDoubleTaps) {
  tap({100, 100});
  EXPECT_EQ(pages->log, (Log{"up"}));
  clock->advance(0.25);
  EXPECT_EQ(pages->log, (Log{"up", "tap"}));

  pages->log.clear();
  clock->advance(1);
  tap({80, 120});
  clock->advance(0.1);
  tap({80, 120});
  clock->advance(0.5);
  EXPECT_EQ(pages->log, (Log{"up", "zoom", "rest"}));
  EXPECT_NEAR(view->zoomFactor(), 2.5f, 0.001f);
  // Three quarters of a page more on each side of the tapped point.
  window->layoutIfNeeded();
  cg::Rect f = page(0)->frame();
  EXPECT_NEAR(f.x(), (160 - 80) - 240, 0.01f);
  EXPECT_NEAR(f.y(), (240 - 120 - 240) * 1.5f, 0.01f);
  EXPECT_NEAR(f.width(), 800, 0.01f);

  pages->log.clear();
  clock->advance(1);
  tap({200, 200});
  clock->advance(0.1);
  tap({200, 200});
  clock->advance(0.6);
  EXPECT_NEAR(view->zoomFactor(), 1, 0.001f);
  EXPECT_EQ(pages->log, (Log{"up", "unzoom", "rest"}));
}

TEST_F(TKScrollViewTest, ATwoFingerPinchZoomsAndAPinchInSpringsBack) {
  // Fingers 100 apart move to 200 apart.
  touch(TouchPhase::Began, {110, 240}, 0);
  touch(TouchPhase::Began, {210, 240}, 1);
  for (int i = 1; i <= 10; ++i) {
    clock->advance(1.0 / 60);
    touch(TouchPhase::Moved, {110.0f - 5 * float(i), 240}, 0);
    touch(TouchPhase::Moved, {210.0f + 5 * float(i), 240}, 1);
  }
  EXPECT_TRUE(view->zooming());
  EXPECT_GT(view->zoomFactor(), 1.2f);
  touch(TouchPhase::Ended, {60, 240}, 0);
  touch(TouchPhase::Ended, {260, 240}, 1);
  clock->advance(1);
  EXPECT_GT(view->zoomFactor(), 1.2f);  // a zoom in stays

  view->zoomToFit();
  clock->advance(1);
  pages->allowZoom = true;
  touch(TouchPhase::Began, {60, 240}, 0);
  touch(TouchPhase::Began, {260, 240}, 1);
  for (int i = 1; i <= 10; ++i) {
    clock->advance(1.0 / 60);
    touch(TouchPhase::Moved, {60.0f + 8 * float(i), 240}, 0);
    touch(TouchPhase::Moved, {260.0f - 8 * float(i), 240}, 1);
  }
  EXPECT_TRUE(view->pinched());
  window->layoutIfNeeded();
  EXPECT_TRUE(page(1)->isHidden());  // neighbours hide while the page is smaller than fitted
  touch(TouchPhase::Ended, {140, 240}, 0);
  touch(TouchPhase::Ended, {180, 240}, 1);
  clock->advance(0.6);
  EXPECT_FALSE(view->pinched());
  EXPECT_NEAR(view->zoomFactor(), 1, 0.001f);
}

TEST_F(TKScrollViewTest, ADelegateMayRefuseZooming) {
  pages->allowZoom = false;
  tap({80, 120});
  clock->advance(0.1);
  tap({80, 120});
  clock->advance(0.5);
  EXPECT_EQ(view->zoomFactor(), 1);
}

TEST_F(TKScrollViewTest, HoldingAndTurning) {
  view->setHoldsAfterTouchingForInterval(0.5);
  touch(TouchPhase::Began, {100, 100});
  clock->advance(0.6);
  EXPECT_TRUE(view->holding());
  // While holding the view does not turn.
  ui::Application::shared().setStatusBarOrientation(ui::InterfaceOrientation::LandscapeLeft);
  ns::NotificationCenter::defaultCenter().postNotificationName(TKScrollView::kDeviceOrientationDidChangeNotification);
  EXPECT_EQ(view->orientation(), 1);
  touch(TouchPhase::Ended, {100, 100});
  EXPECT_FALSE(view->holding());
  EXPECT_EQ(pages->log, (Log{"hold", "release", "up"}));

  // Face up and face down are no orientations of the pages.
  view->setOrientation(5, false);
  view->setOrientation(6, false);
  EXPECT_EQ(view->orientation(), 1);
  ns::NotificationCenter::defaultCenter().postNotificationName(TKScrollView::kDeviceOrientationDidChangeNotification);
  EXPECT_EQ(view->orientation(), int(ui::InterfaceOrientation::LandscapeLeft));
  clock->advance(0.4);
  window->layoutIfNeeded();
  // Turned a quarter, the page still covers the view.
  EXPECT_NEAR(std::fabs(page(0)->presentationTransform().b), 1, 1e-6);
  EXPECT_EQ(page(0)->frame(), cg::Rect(-80, 80, 480, 320));
  EXPECT_EQ(view->pageWidth(), 480);
}

TEST_F(TKScrollViewTest, PagesAreFittedByTheirNaturalSize) {
  pages->size = cg::Size(640, 240);  // wide: as wide as the view
  view->reloadData();
  window->layoutIfNeeded();
  EXPECT_EQ(page(0)->frame(), cg::Rect(0, 180, 320, 120));
  pages->size = cg::Size(0, 240);  // a zero side: the view's own page size
  view->reloadData();
  window->layoutIfNeeded();
  EXPECT_EQ(page(0)->frame(), cg::Rect(0, 0, 320, 480));
}

}  // namespace
