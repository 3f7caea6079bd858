// Pictures of the reading a person does in the shell, to look at: 2:255 and
// 9:1-5 beside both panes in both orientations, and full screen before and
// after two turns (the same verse on top each time).
#include "platform/foundation/Log.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

using Orientation = ui::InterfaceOrientation;

class ReaderPicturesTest : public ShellTest {
 protected:
  void open(int surah, int verse, Orientation o) {
    defaults().setInteger(1, "CurrentTranslationPrimary");
    defaults().setInteger(8, "CurrentTranslationSecondary");
    defaults().setInteger(1, "CurrentTranslationv22");
    defaults().setBool(false, "HideTransInFullScreen");
    defaults().setInteger(surah, "CurrentlyShowingSurah");
    defaults().setInteger(verse, "CurrentlyShowingVerse");
    launch(o);
    settle();
  }
  int topVerse() {
    ui::TableView& table = *reading().tblVerses;
    auto path = table.indexPathForRowAtPoint(cg::Point{10, table.contentOffset().y});
    return path ? reading().rowToVerse(path->row) : -1;
  }
};

TEST_F(ReaderPicturesTest, VersesBesideBothPanes) {
  for (Orientation o : {Orientation::LandscapeRight, Orientation::Portrait}) {
    std::string side = ui::isLandscape(o) ? "landscape" : "portrait";
    for (auto [surah, verse] : {std::pair{2, 255}, std::pair{9, 1}}) {
      open(surah, verse, o);
      root->showOrHideIndex();  // the panes in view
      settle();
      EXPECT_EQ(topVerse(), verse);
      ASSERT_TRUE(backend().screenshot(shotPath(ns::format("%d-%d-%s.png", surah, verse, side.c_str()))));
      restart();
    }
  }
}

TEST_F(ReaderPicturesTest, FullScreenBeforeAndAfterTwoTurns) {
  open(2, 255, Orientation::LandscapeRight);
  root->expandFloatingView(true);
  settle(2);
  EXPECT_EQ(topVerse(), 255);
  ASSERT_TRUE(backend().screenshot(shotPath("fullscreen-0.png")));
  int turn = 0;
  for (Orientation o : {Orientation::Portrait, Orientation::LandscapeRight}) {
    delegate->window()->rotateToInterfaceOrientation(o);
    settle();
    EXPECT_EQ(topVerse(), 255);
    ASSERT_TRUE(backend().screenshot(shotPath(ns::format("fullscreen-%d.png", ++turn))));
  }
}

}  // namespace
}  // namespace shelltest
