// The index column in the shell a reader uses: it marks the surah being
// read, and that surah only, after a start, a link, or a move in the reading
// screen; typing a surah's number or name there picks it.
#include "Classes/core/ChapterInfo.h"
#include "Classes/index/IndexViewController.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

class IndexMarksTest : public ShellTest {
 protected:
  IndexViewController& index() { return *root->viewContIndex(); }

  // The surahs whose rows are marked, looking at each row in turn.
  std::vector<int> markedSurahs() {
    ui::TableView& table = *index().surahListTable();
    std::vector<int> marked;
    for (int row = 0; row < table.numberOfRowsInSection(0); ++row) {
      ui::IndexPath path{0, row};
      table.scrollToRowAtIndexPath(path, ui::TableViewScrollPosition::Middle, false);
      delegate->window()->layoutIfNeeded();
      auto cell = table.cellForRowAtIndexPath(path);
      if (cell && (cell->isSelected() || cell->isHighlighted())) marked.push_back(row + 1);
    }
    return marked;
  }

  void openLink(const std::string& url) {
    EXPECT_TRUE(delegate->handleOpenURL(ui::Application::shared(), url));
    settle(2);
  }
};

TEST_F(IndexMarksTest, TheListMarksTheSurahBeingRead) {
  defaults().setInteger(2, "CurrentlyShowingSurah");
  launch();
  settle();
  ASSERT_EQ(reading().iCurrentSurah(), 2);
  EXPECT_EQ(markedSurahs(), std::vector<int>{2}) << "at the start";

  openLink("zarvel://36:1");
  ASSERT_EQ(reading().iCurrentSurah(), 36);
  EXPECT_EQ(markedSurahs(), std::vector<int>{36}) << "after a link";

  reading().showPreviousSurahNow();
  settle();
  ASSERT_EQ(reading().iCurrentSurah(), 35);
  EXPECT_EQ(markedSurahs(), std::vector<int>{35}) << "after the previous surah";
}

TEST_F(IndexMarksTest, ALinkAtTheStartIsMarked) {
  defaults().setInteger(18, "CurrentlyShowingSurah");
  launch(ui::InterfaceOrientation::LandscapeRight, 0);
  openLink("zarvel://2:255");
  ASSERT_EQ(reading().iCurrentSurah(), 2);
  EXPECT_EQ(reading().iCurrentVerse(), 255);
  EXPECT_EQ(markedSurahs(), std::vector<int>{2});
}

// The reading screen keeps the keys; what it leaves reaches the index while
// the index is in view.
TEST_F(IndexMarksTest, TypingInTheIndexPicksASurah) {
  defaults().setInteger(18, "CurrentlyShowingSurah");
  launch();
  settle();
  ASSERT_LE(root->viewFloatingVerses->frame().maxX(), root->viewIndexList->frame().x());  // the index in view
  backend().typeText("3");
  backend().typeText("6");
  backend().key("Return");
  settle();
  EXPECT_EQ(reading().iCurrentSurah(), 36);
  settle(2);  // a pause starts a new word
  for (const char* letter : {"b", "a", "q"}) backend().typeText(letter);
  backend().key("Return");
  settle();
  EXPECT_EQ(reading().iCurrentSurah(), 2);
  EXPECT_EQ(markedSurahs(), std::vector<int>{2});

  root->showOrHideIndex();  // the reading view over the index: typing picks nothing
  settle();
  ASSERT_GT(root->viewFloatingVerses->frame().maxX(), root->viewIndexList->frame().x());
  backend().typeText("9");
  backend().key("Return");
  settle();
  EXPECT_EQ(reading().iCurrentSurah(), 2);
}

}  // namespace
}  // namespace shelltest
