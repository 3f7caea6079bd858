// The translation picker in its two modes: the list offered, the row it opens
// on, where a choice goes and who hears of it.
#include "Classes/reading/PickTranslationController.h"
#include "ReadingFixture.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

namespace readingtest {
namespace {

struct PickerDelegate : PickTranslationControllerDelegate {
  void translationPickerPicked(int n) override { calls.push_back(ns::format("picked %d", n)); }
  void translationPickerCancelled() override { calls.push_back("cancelled"); }
  std::vector<std::string> calls;
};

class PickerTest : public ReadingTest {
 protected:
  void SetUp() override {
    ReadingTest::SetUp();
    if (IsSkipped()) return;
    launch();
    changed = ns::NotificationCenter::defaultCenter().addObserver("TranslationDidChange",
                                                                  [this](const ns::Value&) { ++posts; });
  }

  std::shared_ptr<PickTranslationController> present(bool panel, bool primary = true) {
    auto picker = std::make_shared<PickTranslationController>();
    picker->setIsPrimaryTranslation(primary);
    if (panel) {
      picker->setupNormalPicker();
      picker->setDelegate(delegate);
    }
    auto nav = ui::NavigationController::withRoot(picker);
    nav->setNavigationBarHidden(true, false);
    nav->setModalPresentationStyle(ui::ModalPresentationStyle::FormSheet);
    root->presentModalViewController(nav, false);
    settle();
    return picker;
  }

  static int rowOf(PickTranslationController& p, int n) {
    auto& list = p.translations();
    return int(std::find(list.begin(), list.end(), n) - list.begin());
  }
  static bool checked(PickTranslationController& p, int n) {
    auto cell = p.table->cellForRowAtIndexPath(ui::IndexPath::indexPathForRow(rowOf(p, n), 0));
    return cell && cell->accessoryType() == ui::TableViewCellAccessoryType::Checkmark;
  }
  static void choose(PickTranslationController& p, int n) {
    p.didSelectRowAtIndexPath(p.table.get(), ui::IndexPath::indexPathForRow(rowOf(p, n), 0));
  }

  std::shared_ptr<PickerDelegate> delegate = std::make_shared<PickerDelegate>();
  int posts = 0;
  ns::Observer changed;
};

TEST_F(PickerTest, SlotModeOffersTheNotesSecondAndStaysOpenAfterEachChoice) {
  defaults().setInteger(9, "CurrentTranslationPrimary");
  auto picker = present(false);
  EXPECT_EQ(picker->lblTopTitle->text(), "Show");
  EXPECT_EQ(picker->btnBack->titleForState(ui::ControlStateNormal), "Back");
  ASSERT_GE(picker->translations().size(), 3u);
  EXPECT_EQ(picker->translations()[0], 0);
  EXPECT_EQ(picker->translations()[1], 1000);
  EXPECT_TRUE(checked(*picker, 9));
  // Opened with the current choice in the middle of the list.
  cg::Rect row = picker->table->rectForRowAtIndexPath(ui::IndexPath::indexPathForRow(rowOf(*picker, 9), 0));
  float middle = picker->table->contentOffset().y + picker->table->bounds().height() / 2;
  EXPECT_NEAR(row.midY(), middle, 23);

  choose(*picker, 15);
  EXPECT_EQ(defaults().integerForKey("CurrentTranslationPrimary"), 15);
  EXPECT_EQ(posts, 1);
  EXPECT_TRUE(checked(*picker, 15));
  EXPECT_FALSE(checked(*picker, 9));
  choose(*picker, 15);  // the same again: written and told again
  EXPECT_EQ(posts, 2);
  EXPECT_NE(root->modalViewController(), nullptr);

  backend().screenshot(shotPath("translation-picker.png"));
  picker->btnBackPressed();
  settle();
  EXPECT_EQ(root->modalViewController(), nullptr);
}

TEST_F(PickerTest, SlotModeEditsTheSecondarySlotByDefault) {
  defaults().setInteger(5, "CurrentTranslationSecondary");
  auto picker = present(false, false);
  EXPECT_TRUE(checked(*picker, 5));
  choose(*picker, 0);
  EXPECT_EQ(defaults().integerForKey("CurrentTranslationSecondary"), 0);
  EXPECT_EQ(posts, 1);
}

TEST_F(PickerTest, PanelModeEditsOnlyThePanelTranslationAndAnswersTheDelegate) {
  defaults().setInteger(8, "HUDTranslation");
  defaults().setInteger(1, "CurrentTranslationPrimary");
  auto picker = present(true);
  EXPECT_EQ(picker->lblTopTitle->text(), "Pick Translation");
  EXPECT_EQ(picker->btnBack->titleForState(ui::ControlStateNormal), "Cancel");
  auto& list = picker->translations();
  EXPECT_EQ(std::count(list.begin(), list.end(), 1000), 0);
  EXPECT_TRUE(checked(*picker, 8));
  choose(*picker, 13);
  EXPECT_EQ(defaults().integerForKey("HUDTranslation"), 13);
  EXPECT_EQ(defaults().integerForKey("CurrentTranslationPrimary"), 1);
  EXPECT_EQ(posts, 0);
  picker->btnBackPressed();
  EXPECT_EQ(delegate->calls, (std::vector<std::string>{"picked 13", "cancelled"}));
}

TEST_F(PickerTest, AnUnknownCurrentNumberChecksNothingAndOpensAtTheTop) {
  defaults().setInteger(77, "CurrentTranslationPrimary");
  auto picker = present(false);
  EXPECT_EQ(picker->indexOfTranslation(77), 0);
  EXPECT_EQ(picker->table->contentOffset().y, 0);
  for (auto& cell : picker->table->visibleCells())
    EXPECT_EQ(cell->accessoryType(), ui::TableViewCellAccessoryType::None);
  EXPECT_EQ(PickTranslationController::imageNameForTranslation(77), "");
  EXPECT_EQ(PickTranslationController::imageNameForTranslation(1000), "trnslation-note.png");
  EXPECT_EQ(PickTranslationController::imageNameForTranslation(36), "Iran.png");
}

}  // namespace
}  // namespace readingtest
