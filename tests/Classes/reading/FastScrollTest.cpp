// The fast-scroll strip: the verse under the finger, the bubble, the jump on
// release, a flick that jumps nowhere, sliding off the strip, and the tap
// that pages the reading forward.
#include "Classes/core/ChapterInfo.h"
#include "Classes/reading/SurahFastScroll.h"
#include "ReadingFixture.h"
#include "platform/ui/Label.h"

namespace readingtest {
namespace {

TEST(FastScrollSlices, TheVerseUnderTheFinger) {
  struct Case {
    float y, height;
    int verses, verse;
  };
  const Case cases[] = {
      {170, 500, 3, 1}, {171, 500, 3, 2}, {330, 500, 3, 2}, {331, 500, 3, 3}, {10, 500, 3, 1},
      {-40, 500, 3, 1}, {490, 500, 3, 3}, {900, 500, 3, 3}, {11, 684, 286, 1}, {673, 684, 286, 286},
      {347, 684, 286, 146},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ns::format("y %.0f of %.0f, %d verses", c.y, c.height, c.verses));
    EXPECT_EQ(SurahFastScroll::verseAtY(c.y, c.height, c.verses), c.verse);
  }
}

class FastScrollTest : public ReadingTest {
 protected:
  void SetUp() override {
    ReadingTest::SetUp();
    if (IsSkipped()) return;
    launch();
    open(2, 1);
  }
  SurahFastScroll& fast() { return *screen().fastScroll(); }
  // A point of the strip in the window.
  cg::Point strip(float x, float y) {
    return fast().viewFastScroll->convertPointToView(cg::Point{x, y}, nullptr);
  }
  float displayHeight() { return screen().viewSurahDisplay->frame().height(); }
};

TEST_F(FastScrollTest, DraggingPreviewsTheVerseAndLiftingJumpsThere) {
  int expected = SurahFastScroll::verseAtY(300, displayHeight(), 286);
  backend().touchDown(strip(30, 100));
  settle(0.1);
  backend().touchMove(strip(30, 200));
  settle(0.1);
  backend().touchMove(strip(30, 300));
  settle(0.2);
  EXPECT_TRUE(fast().isShowingFastScrollView());
  EXPECT_EQ(fast().iVerseToJumpTo(), expected);
  EXPECT_EQ(fast().lblFastScrollVerse->text(), std::to_string(expected));
  EXPECT_EQ(fast().lblGotoVerse->text(), "Goto Verse");
  EXPECT_TRUE(fast().viewFastScrollBezel->superview());
  backend().screenshot(shotPath("fast-scroll-bubble.png"));

  backend().touchUp(strip(30, 300));
  settle();
  EXPECT_FALSE(fast().isShowingFastScrollView());
  EXPECT_EQ(screen().selectedVerse(), expected);
  EXPECT_FALSE(fast().viewFastScrollBezel->superview());  // faded, then taken away
}

TEST_F(FastScrollTest, AFlickOrAFingerOffTheStripJumpsNowhere) {
  backend().touchDown(strip(30, 100));
  backend().touchMove(strip(30, 400));
  settle(0.1);
  backend().touchUp(strip(30, 400));  // 0.1 s after the pan began
  settle();
  EXPECT_EQ(screen().selectedVerse(), 1);
  EXPECT_FALSE(fast().isShowingFastScrollView());
  EXPECT_EQ(fast().viewFastScrollBezel->alpha(), 0);

  backend().touchDown(strip(30, 100));
  settle(0.1);
  backend().touchMove(strip(30, 400));
  settle(0.3);
  EXPECT_TRUE(fast().isShowingFastScrollView());
  backend().touchMove(strip(80, 400));  // off to the side
  settle(0.1);
  EXPECT_FALSE(fast().isShowingFastScrollView());
  backend().touchMove(strip(40, 420));  // back: a new preview
  settle(0.1);
  EXPECT_TRUE(fast().isShowingFastScrollView());
  backend().touchMove(strip(100, 420));
  backend().touchUp(strip(100, 420));
  settle();
  EXPECT_EQ(screen().selectedVerse(), 1);
}

TEST_F(FastScrollTest, ATapPagesByTheDisplayHeightOrMovesToTheNextVerse) {
  // A tap on the strip moves the highlight to the next verse.
  backend().tap(strip(30, 300));
  settle();
  EXPECT_EQ(screen().selectedVerse(), 2);

  // A current verse that runs below the bottom edge: the page turns, the highlight stays.
  auto& table = *screen().tblVerses;
  int lastVisible = 0;
  for (const auto& path : table.indexPathsForVisibleRows()) lastVisible = std::max(lastVisible, path.row);
  int cutVerse = screen().rowToVerse(lastVisible);
  screen().highlightVerse(cutVerse, false);
  settle();
  float before = table.contentOffset().y;
  fast().fastScrollTapped();
  settle();
  EXPECT_EQ(table.contentOffset().y, std::floor(before + displayHeight() / 1.3f));
  EXPECT_EQ(screen().selectedVerse(), cutVerse);

  // The last verse of a surah stays where it is.
  open(1, 7);
  screen().highlightVerse(7, true);
  settle();
  fast().fastScrollTapped();
  settle();
  EXPECT_EQ(screen().selectedVerse(), 7);
}

}  // namespace
}  // namespace readingtest
