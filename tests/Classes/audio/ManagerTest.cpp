// The installed-recitations manager: the surahs of a reciter, deleted one at
// a time behind the progress display, freeing their rows (and the twin's
// continuous audio), closing once nothing is left.
#include "Classes/audio/ManageSurahAudioController.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "tests/Classes/audio/AudioFixture.h"

namespace audiotest {
namespace {

TEST_F(AudioTest, DeletingInstalledSurahsFreesTheirRowsAndClosesWhenNoneIsLeft) {
  launch();
  installVerses(103, 0.3, 1);                                         // reciter 1, per verse
  ASSERT_TRUE(ChapterInfo::insertContMP3Blob(user(), 104, 1, 7, tones::verseMp3(1, 0.3)));
  ASSERT_TRUE(ChapterInfo::markAudioAsInstalled(user(), 104, 1));
  ASSERT_TRUE(ChapterInfo::markContAudioAsInstalled(user(), 104, 7, true));  // its twin's continuous set
  auto manager = std::make_shared<ManageSurahAudioController>(1);
  auto first = std::make_shared<ui::ViewController>();
  auto nav = std::make_shared<ui::NavigationController>(first);
  nav->setNavigationBarHidden(true, false);
  nav->pushViewController(manager, false);
  nav->setModalPresentationStyle(ui::ModalPresentationStyle::FormSheet);
  root()->presentModalViewController(nav, false);
  settle(0.5);
  ASSERT_EQ(manager->numberOfRowsInSection(nullptr, 0), 2);
  EXPECT_EQ(ManageSurahAudioController::rowText(103), "103 Al-Asr");
  EXPECT_TRUE(manager->myTableView->isEditing());
  EXPECT_EQ(manager->lblTopLabel->text(), ChapterInfo::getReciterFullNameFromNumber(1));
  ASSERT_TRUE(backend().screenshot(shotPath("manager.png")));

  int changes = 0;
  auto observer = ns::NotificationCenter::defaultCenter().addObserver("ReciterDidChange", [&](const ns::Value&) { ++changes; });
  manager->commitEditingStyle(manager->myTableView.get(), ui::TableViewCellEditingStyle::Delete,
                              ui::IndexPath::indexPathForRow(0, 0));
  ASSERT_TRUE(manager->progressHUD);
  EXPECT_EQ(manager->progressHUD->labelText(), "Please wait...");
  backend().advance(0.1);
  ASSERT_TRUE(backend().screenshot(shotPath("manager-deleting.png")));
  ns::RunLoop::main().runUntil([&] { return changes == 1; }, 10.0);
  settle(0.5);
  EXPECT_EQ(manager->numberOfRowsInSection(nullptr, 0), 1);
  EXPECT_EQ(fixtures::scalarInt(user(), "SELECT count(*) FROM recitationmp3s WHERE surah = 103"), 0);
  EXPECT_FALSE(manager->progressHUD);  // gone once hidden

  manager->commitEditingStyle(manager->myTableView.get(), ui::TableViewCellEditingStyle::Delete,
                              ui::IndexPath::indexPathForRow(0, 0));
  ns::RunLoop::main().runUntil([&] { return changes == 2; }, 10.0);
  settle(0.5);
  EXPECT_EQ(fixtures::scalarInt(user(), "SELECT count(*) FROM contrecitationmp3s WHERE surah = 104"), 0);
  EXPECT_EQ(fixtures::scalarInt(user(), "SELECT count(*) FROM contrecitations WHERE surah = 104"), 0);
  EXPECT_NE(nav->topViewController(), manager.get());  // nothing left: the screen closed
  root()->dismissModalViewControllerAnimated(false);
}

}  // namespace
}  // namespace audiotest
