// The desktop's keys in the shell follow what is on screen: Left and Right
// the ornaments (previous surah on the left), Ctrl+1..4 the tab buttons from
// left to right.
#include "platform/ui/Button.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

TEST_F(ShellTest, LeftAndRightFollowTheOrnaments) {
  defaults().setInteger(5, "CurrentlyShowingSurah");
  launch();
  settle();
  ASSERT_LT(reading().btnLeftOrnament->frame().x(), reading().btnRightOrnament->frame().x());
  backend().key("Left");
  settle();
  EXPECT_EQ(reading().iCurrentSurah(), 4);  // as the left ornament does
  backend().key("Right");
  settle();
  EXPECT_EQ(reading().iCurrentSurah(), 5);
}

TEST_F(ShellTest, ControlDigitsChooseTheTabsFromLeftToRight) {
  launch();
  settle();
  ui::Button* buttons[] = {root->btnTabIndex.get(), root->btnTabBookmark.get(), root->btnTabSearch.get(),
                           root->btnTabMore.get()};
  std::sort(std::begin(buttons), std::end(buttons),
            [](ui::Button* a, ui::Button* b) { return a->frame().x() < b->frame().x(); });
  for (int n : {2, 4, 3, 1}) {
    backend().key(std::to_string(n), ui::KeyModifierControl);
    settle();
    EXPECT_EQ(root->iSelectedBottomTab(), buttons[n - 1]->tag()) << "Ctrl+" << n;
  }
}

}  // namespace
}  // namespace shelltest
