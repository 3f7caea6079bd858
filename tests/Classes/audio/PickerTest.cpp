// The reciter picker opened from the reading screen: rows in their order,
// icons by what is installed, a choice stored and announced, the upgrade
// proposed for per-verse audio of a reciter with continuous audio.
#include "Classes/audio/PickReciterController.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PopoverController.h"
#include "tests/Classes/audio/AudioFixture.h"

namespace audiotest {
namespace {

PickReciterController* shownReciterPicker(SurahViewController& screen) {
  if (!screen.popoverView || !screen.popoverView->isPopoverVisible()) return nullptr;
  auto nav = std::dynamic_pointer_cast<ui::NavigationController>(screen.popoverView->contentViewController());
  return nav ? dynamic_cast<PickReciterController*>(nav->topViewController()) : nullptr;
}

TEST_F(AudioTest, ReciterPickerShowsWhatIsInstalledAndStoresTheChoice) {
  launch();
  open(103);
  installContinuous();                                               // reciter 2: surah 112 continuous
  ChapterInfo::markAudioAsInstalled(user(), 103, 4);                 // reciter 4: surah 103 per verse
  ChapterInfo::markContAudioAsInstalled(user(), 103, 5, false);      // reciter 5: surah 103 continuous
  useReciter(5);
  reading().btnReciter->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  settle(0.5);
  auto* picker = shownReciterPicker(reading());
  ASSERT_TRUE(picker);
  EXPECT_EQ(picker->reciters(), (std::vector<int>{0, 4, 2, 5, 3, 6, 8, 1}));
  auto* table = picker->table.get();
  auto cell = [&](int row) { return table->cellForRowAtIndexPath(ui::IndexPath::indexPathForRow(row, 0)); };
  EXPECT_EQ(cell(3)->accessoryType(), ui::TableViewCellAccessoryType::Checkmark);
  EXPECT_EQ(cell(3)->imageView()->image(), ui::Image::imageNamed("Reciter-icon-updated.png"));
  EXPECT_EQ(cell(1)->imageView()->image(), ui::Image::imageNamed("Reciter-icon-updated.png"));  // installed
  EXPECT_EQ(cell(0)->imageView()->image(), ui::Image::imageNamed("Reciter-download-updated.png"));
  ASSERT_TRUE(backend().screenshot(shotPath("reciter-picker.png")));

  int changes = 0;
  auto observer = ns::NotificationCenter::defaultCenter().addObserver("ReciterDidChange", [&](const ns::Value&) { ++changes; });
  picker->didSelectRowAtIndexPath(table, ui::IndexPath::indexPathForRow(0, 0));
  EXPECT_EQ(defaults().integerForKey("CurrentReciterv22"), 0);
  EXPECT_EQ(changes, 1);
  settle(0.5);
  EXPECT_FALSE(reading().popoverView->isPopoverVisible());  // the screen closes it on the change
}

TEST_F(AudioTest, ChoosingPerVerseAudioOfAContinuousReciterProposesTheUpgrade) {
  launch();
  open(103);
  installVerses(103, 0.3, 4);  // reciter 4 has surah 103 per verse
  useReciter(0);
  reading().btnReciter->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  settle(0.5);
  auto* picker = shownReciterPicker(reading());
  ASSERT_TRUE(picker);
  int changes = 0;
  auto observer = ns::NotificationCenter::defaultCenter().addObserver("ReciterDidChange", [&](const ns::Value&) { ++changes; });
  picker->didSelectRowAtIndexPath(picker->table.get(), ui::IndexPath::indexPathForRow(1, 0));  // reciter 4
  EXPECT_EQ(changes, 0);
  auto* alert = dynamic_cast<ui::AlertView*>(ui::ButtonPanel::visiblePanel());
  ASSERT_TRUE(alert);
  alert->tapButtonAtIndex(1);  // "Yes"
  settle(0.5);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(ChapterInfo::isSurahAudioInstalled(user(), 103, 4));  // withdrawn for a new download
}

}  // namespace
}  // namespace audiotest
