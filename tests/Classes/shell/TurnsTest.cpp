// Turning the screen in the shell a reader uses: the verse at the top stays
// at the top through any number of turns, beside the panes and in full
// screen, and the panes stay level with the reading table.
#include "Classes/core/ChapterInfo.h"
#include "platform/ui/Button.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

using Orientation = ui::InterfaceOrientation;

class TurnsTest : public ShellTest {
 protected:
  void openSurah2() {
    defaults().setInteger(1, "CurrentTranslationPrimary");
    defaults().setInteger(8, "CurrentTranslationSecondary");
    defaults().setInteger(5, "CurrentTranslationv22");
    defaults().setInteger(2, "CurrentlyShowingSurah");
    launch(Orientation::LandscapeRight);
    settle();
  }

  // The verse's first row exactly at the table's top edge.
  void putOnTop(int verse) {
    ui::TableView& table = *reading().tblVerses;
    float y = table.rectForRowAtIndexPath({0, reading().verseToRow(verse)}).y();
    table.setContentOffset(cg::Point{0, y}, false);
    settle(0.5);
    ASSERT_EQ(table.contentOffset().y, y);
  }

  // The verse whose rows hold the table's top edge.
  int topVerse() {
    ui::TableView& table = *reading().tblVerses;
    auto path = table.indexPathForRowAtPoint(cg::Point{10, table.contentOffset().y});
    return path ? reading().rowToVerse(path->row) : -1;
  }

  void turn(Orientation to) {
    delegate->window()->rotateToInterfaceOrientation(to);
    settle();
    delegate->window()->layoutIfNeeded();  // as the next frame draws it
  }

  // The verse stays on top through four turns; the panes keep its place.
  void expectTopVerseKeptThroughTurns(int verse, const std::string& where) {
    putOnTop(verse);
    for (Orientation o : {Orientation::Portrait, Orientation::LandscapeLeft, Orientation::PortraitUpsideDown,
                          Orientation::LandscapeRight}) {
      turn(o);
      std::string at = where + (ui::isLandscape(o) ? " after a turn to landscape" : " after a turn upright");
      EXPECT_EQ(topVerse(), verse) << at;
      ui::TableView& table = *reading().tblVerses;
      EXPECT_EQ(table.contentOffset().y, table.rectForRowAtIndexPath({0, reading().verseToRow(verse)}).y()) << at;
      if (!root->isFloatingViewExpanded()) {
        EXPECT_EQ(primary().tblTransView()->contentOffset().y, table.contentOffset().y) << at;
      }
    }
  }
};

TEST_F(TurnsTest, TheTopVerseStaysOnTopBesideThePanes) {
  openSurah2();
  for (int verse : {177, 100, 255, 1}) expectTopVerseKeptThroughTurns(verse, "2:" + std::to_string(verse));
}

TEST_F(TurnsTest, TheTopVerseStaysOnTopInFullScreen) {
  defaults().setBool(false, "HideTransInFullScreen");
  openSurah2();
  root->expandFloatingView(true);
  settle(2);
  ASSERT_TRUE(root->isFloatingViewExpanded());
  for (int verse : {177, 100, 255}) expectTopVerseKeptThroughTurns(verse, "full screen 2:" + std::to_string(verse));
}

// The header's translation button names the translation its rows show; the
// reciter button's arrow stays inside it, clear of the play button, turn after turn.
TEST_F(TurnsTest, TheHeaderInFullScreen) {
  defaults().setBool(false, "HideTransInFullScreen");
  openSurah2();
  root->expandFloatingView(true);
  settle(2);
  ASSERT_EQ(reading().iCurrentTranslation(), 1);
  EXPECT_EQ(reading().btnTranslation->titleForState(ui::ControlStateNormal), ChapterInfo::getTranslationNameForNumber(1));
  for (Orientation o : {Orientation::Portrait, Orientation::LandscapeRight, Orientation::Portrait}) {
    turn(o);
    ui::Button& reciter = *reading().btnReciter;
    ASSERT_TRUE(reading().imgDownArrowReciter);
    ui::View* arrow = reading().imgDownArrowReciter.get();
    cg::Rect a = arrow->convertRectToView(arrow->bounds(), reading().btnPlay->superview());
    EXPECT_LE(a.maxX(), reciter.frame().maxX());
    EXPECT_LE(a.maxX(), reading().btnPlay->frame().x());
  }
}

}  // namespace
}  // namespace shelltest
