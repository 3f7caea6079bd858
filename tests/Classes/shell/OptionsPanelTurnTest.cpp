// The verse options panel across a turn, in the shell a reader uses: the
// table shifts so the verse has room, the panel points at the verse, and it
// stays on the screen with its buttons in reach.
#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/VerseOptionsPanel.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

using Orientation = ui::InterfaceOrientation;

class OptionsPanelTurnTest : public ShellTest {
 protected:
  // The panel wholly on the screen, its arrow on the verse's row.
  void expectPanelAtVerse(int verse, const std::string& where) {
    ui::PopoverController& popover = *reading().popoverView;
    ASSERT_TRUE(popover.isPopoverVisible()) << where;
    const ui::PopoverPlacement& p = popover.placement();
    cg::Rect screen = delegate->window()->bounds();
    EXPECT_GE(p.frame.minY(), screen.minY()) << where;
    EXPECT_LE(p.frame.maxY(), screen.maxY()) << where;
    EXPECT_GE(p.frame.height(), VerseOptionsPanel::kHeight) << where;  // every button in reach
    EXPECT_NE(p.arrowDirection, ui::PopoverArrowDirectionUnknown) << where;
    ui::TableView& table = *reading().tblVerses;
    cg::Rect row = table.rectForRowAtIndexPath({0, reading().verseToRow(verse)});
    cg::Rect inWindow = table.convertRectToView(row, nullptr);
    EXPECT_GE(p.arrowTip.y, inWindow.minY()) << where;
    EXPECT_LE(p.arrowTip.y, inWindow.maxY()) << where;
    EXPECT_EQ(reading().selectedVerse(), verse) << where;
  }
};

TEST_F(OptionsPanelTurnTest, APanelOpenedNearTheBottomStaysOnScreenAfterATurn) {
  defaults().setInteger(2, "CurrentlyShowingSurah");
  defaults().setInteger(1, "CurrentTranslationPrimary");
  launch(Orientation::Portrait);
  settle();
  float displayHeight = reading().tblVerses->bounds().height();
  longPressVerse(20, displayHeight - 100);
  expectPanelAtVerse(20, "opened upright");
  delegate->window()->rotateToInterfaceOrientation(Orientation::LandscapeRight);
  settle();
  expectPanelAtVerse(20, "after a turn to landscape");
  delegate->window()->rotateToInterfaceOrientation(Orientation::Portrait);
  settle();
  expectPanelAtVerse(20, "after a turn back upright");
}

}  // namespace
}  // namespace shelltest
