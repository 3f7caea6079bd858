// Turning the reading screen with the window: the top verse kept, the open
// popover brought back at its verse once and not after the reader closed it;
// the idle timer's hold on the display; the two-finger watch.
#include "Classes/reading/SurahVerseView.h"
#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/VerseOptionsPanel.h"
#include "ReadingFixture.h"
#include "platform/ui/Button.h"

namespace readingtest {
void openPanel(SurahViewController& screen, int verse, float topInDisplay);

namespace {

class RotationTest : public ReadingTest {
 protected:
  void SetUp() override {
    ReadingTest::SetUp();
    if (IsSkipped()) return;
    setTranslation(1);
    launch();
    open(2, 40);
  }
  void turn(ui::InterfaceOrientation o) {
    ASSERT_TRUE(ui::Window::keyWindow()->rotateToInterfaceOrientation(o));
    settle(1.5);
  }
  std::optional<ui::IndexPath> topRow() {
    auto& t = *screen().tblVerses;
    return t.indexPathForRowAtPoint(t.contentOffset());
  }
  bool popoverShown() { return screen().popoverView && screen().popoverView->isPopoverVisible(); }
  // The popover's arrow tip in the display's coordinates.
  cg::Point arrowTip() {
    return screen().viewSurahDisplay->convertPointFromView(screen().popoverView->placement().arrowTip, nullptr);
  }
  cg::Rect rowOf(int verse) {
    auto path = ui::IndexPath::indexPathForRow(screen().verseToRow(verse), 0);
    auto& t = *screen().tblVerses;
    return t.convertRectToView(t.rectForRowAtIndexPath(path), screen().viewSurahDisplay.get());
  }
};

TEST_F(RotationTest, TheTopVerseStaysOnTopThroughTurns) {
  auto before = topRow();
  ASSERT_TRUE(before);
  EXPECT_EQ(screen().rowToVerse(before->row), 40);
  turn(ui::InterfaceOrientation::Portrait);
  EXPECT_EQ(topRow(), before);
  EXPECT_FALSE(screen().IsInLandscape());
  EXPECT_FALSE(screen().isRotating());
  EXPECT_EQ(screen().tblVerses->alpha(), 1);  // hidden while the rows changed, shown again
  turn(ui::InterfaceOrientation::LandscapeLeft);
  EXPECT_EQ(topRow(), before);
  EXPECT_TRUE(screen().IsInLandscape());
}

TEST_F(RotationTest, AnOpenPanelComesBackAtItsVerseOnceAndNotAfterItWasClosed) {
  openPanel(screen(), 42, 120);
  settle();
  ASSERT_TRUE(popoverShown());
  turn(ui::InterfaceOrientation::Portrait);
  EXPECT_TRUE(popoverShown());
  EXPECT_TRUE(screen().showingDialControl());
  EXPECT_FALSE(screen().reShowPopover);
  cg::Rect row = rowOf(42);
  cg::Point tip = arrowTip();
  EXPECT_GE(tip.y, row.minY() - 25);
  EXPECT_LE(tip.y, row.maxY() + 25);
  backend().screenshot(shotPath("options-panel-turned.png"));

  screen().optionsPanel()->dialCancelledPressed();
  settle();
  EXPECT_FALSE(popoverShown());
  turn(ui::InterfaceOrientation::LandscapeRight);
  EXPECT_FALSE(popoverShown());
  turn(ui::InterfaceOrientation::Portrait);
  EXPECT_FALSE(popoverShown());
}

TEST_F(RotationTest, APopoverClosedByATapOutsideStaysClosed) {
  screen().btnReciterPressed();
  settle();
  ASSERT_TRUE(popoverShown());
  turn(ui::InterfaceOrientation::Portrait);
  ASSERT_TRUE(popoverShown());  // back at the reciter button
  screen().popoverView->touchedOutside();
  settle();
  EXPECT_FALSE(popoverShown());
  turn(ui::InterfaceOrientation::LandscapeRight);
  EXPECT_FALSE(popoverShown());
}

TEST_F(RotationTest, TheDisplaySleepsOnlyAfterThreeMinutesWithoutReading) {
  EXPECT_FALSE(ZarvelSDKAppDelegate::isSleepEnabled());
  settle(150);
  EXPECT_FALSE(ZarvelSDKAppDelegate::isSleepEnabled());
  settle(60);  // a tick after 180 s
  EXPECT_TRUE(ZarvelSDKAppDelegate::isSleepEnabled());

  // A touch that selects a verse is reading again: the next tick takes the hold.
  auto cell = screen().tblVerses->cellForRowAtIndexPath(ui::IndexPath::indexPathForRow(screen().verseToRow(41), 0));
  ASSERT_TRUE(cell);
  backend().tap(cell->convertPointToView(cg::Point{500, 20}, nullptr));
  settle(31);
  EXPECT_EQ(screen().selectedVerse(), 41);
  EXPECT_FALSE(ZarvelSDKAppDelegate::isSleepEnabled());
}

TEST_F(RotationTest, TwoFingersOnTheVersesAreWatchedUntilOneLifts) {
  auto cell = screen().tblVerses->cellForRowAtIndexPath(ui::IndexPath::indexPathForRow(screen().verseToRow(41), 0));
  ASSERT_TRUE(cell);
  cg::Point a = cell->convertPointToView(cg::Point{300, 20}, nullptr);
  cg::Point b = cell->convertPointToView(cg::Point{600, 20}, nullptr);
  backend().touchDown(a, 0);
  backend().touchDown(b, 1);
  EXPECT_TRUE(screen().pinchZoomBegan());
  backend().touchMove(cg::Point{b.x + 150, b.y}, 1);
  EXPECT_TRUE(screen().pinchZoomBegan());
  backend().touchUp(cg::Point{b.x + 150, b.y}, 1);
  EXPECT_FALSE(screen().pinchZoomBegan());
  backend().touchUp(a, 0);
  settle();

  // Two fingers on the header are not watched.
  cg::Point h1 = screen().btnReciter->convertPointToView(cg::Point{5, 5}, nullptr);
  backend().touchDown(h1, 0);
  backend().touchDown(cg::Point{h1.x - 200, h1.y}, 1);
  EXPECT_FALSE(screen().pinchZoomBegan());
  backend().touchUp(h1, 0);
  backend().touchUp(cg::Point{h1.x - 200, h1.y}, 1);
}

}  // namespace
}  // namespace readingtest
