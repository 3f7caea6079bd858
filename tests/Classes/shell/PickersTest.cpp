// The translation pickers in the shell a reader uses: they offer the
// translations that have text, the notes entry by its name; the pane's
// picker has one top bar whose Back button closes it; and a pane that comes
// back from an empty translation stands level with the reading table.
#include "Classes/common/ScreenSupport.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/reading/ChoiceListController.h"
#include "Classes/reading/PickTranslationController.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

// Every offered translation has text, and every one with text is offered.
void expectOnlyTranslationsWithText(const std::vector<int>& offered, bool withNotes, const std::string& where) {
  sqlite3* db = screens::contentDatabase();
  ASSERT_TRUE(db);
  std::vector<int> expected{0};
  if (withNotes) expected.push_back(1000);
  for (int t : ChapterInfo::getAvailableTranslations(false))
    if (t != 0 && !ChapterInfo::getTranslationDataFor(db, t, 2).empty()) expected.push_back(t);
  std::vector<int> sortedOffered = offered;
  std::sort(sortedOffered.begin(), sortedOffered.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(sortedOffered, expected) << where;
  EXPECT_GE(offered.size(), 5u) << where;  // the built database has several
}

TEST_F(ShellTest, ThePanesPickerOffersTranslationsWithTextAndClosesWithBack) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  launch();
  settle();
  root->showOrHideIndex();
  settle();
  primary().transChangePressed();
  settle();
  ASSERT_TRUE(primary().popoverView && primary().popoverView->isPopoverVisible());
  auto nav = std::dynamic_pointer_cast<ui::NavigationController>(primary().popoverView->contentViewController());
  ASSERT_TRUE(nav);
  EXPECT_TRUE(nav->isNavigationBarHidden());  // one top bar: the picker's own
  auto* picker = dynamic_cast<PickTranslationController*>(nav->topViewController());
  ASSERT_TRUE(picker);
  expectOnlyTranslationsWithText(picker->translations(), true, "pane");
  ASSERT_EQ(picker->translations()[1], 1000);
  auto notes = picker->table->cellForRowAtIndexPath({0, 1});
  ASSERT_TRUE(notes);
  EXPECT_EQ(notes->textLabel()->text(), ChapterInfo::getTranslationFullNameForNumber(1000));
  picker->btnBack->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  settle();
  EXPECT_FALSE(primary().popoverView->isPopoverVisible());
}

TEST_F(ShellTest, TheHeaderAndPanelPickersOfferTranslationsWithText) {
  launch();
  settle();
  reading().btnTranslatorPressed();
  settle();
  auto* header = dynamic_cast<PickTranslationController*>(reading().modalViewController());
  ASSERT_TRUE(header);
  expectOnlyTranslationsWithText(header->translations(), true, "header");
  header->btnBack->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  settle();

  auto panelPicker = std::make_shared<PickTranslationController>();
  panelPicker->setupNormalPicker();
  panelPicker->view();
  panelPicker->viewWillAppear(false);
  expectOnlyTranslationsWithText(panelPicker->translations(), false, "options panel");
}

// A pane whose translation had no rows, given one with text again, takes the
// reading table's place at once.
TEST_F(ShellTest, APaneBackFromAnEmptyTranslationStandsLevelWithTheReading) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  defaults().setInteger(5, "CurrentTranslationSecondary");
  defaults().setInteger(2, "CurrentlyShowingSurah");
  defaults().setInteger(176, "CurrentlyShowingVerse");
  launch();
  settle();
  root->showOrHideIndex();
  settle();
  ui::TableView& table = *reading().tblVerses;
  ASSERT_GT(table.contentOffset().y, 1000);
  for (int translation : {2, 8}) {  // 2 has no text in the built database
    defaults().setInteger(translation, "CurrentTranslationSecondary");
    ns::NotificationCenter::defaultCenter().postNotificationName("TranslationDidChange");
    settle(2);
  }
  EXPECT_GT(table.contentOffset().y, 1000);
  EXPECT_EQ(secondary().tblTransView()->contentOffset().y, table.contentOffset().y);
  EXPECT_EQ(primary().tblTransView()->contentOffset().y, table.contentOffset().y);
}

}  // namespace
}  // namespace shelltest
