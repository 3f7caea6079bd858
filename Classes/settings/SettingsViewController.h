#pragma once
// The settings table the More menu pushes: the interface language, the
// Arabic font size, the tajweed options, the Al-Kahf reminders, hiding the
// translations in full screen, asking for a bookmark group, where the data
// lies for a backup, one row per reciter with installed recitations, and,
// when per-verse audio of a gapless reciter is installed, the offer to
// download it again for gapless playback. Every switch acts at once. Main
// thread only.
#include <memory>
#include <vector>

#include "Classes/audio/ManageSurahAudioController.h"
#include "Classes/settings/SettingsScreen.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class SettingsViewController : public SettingsScreen {
 public:
  // The sections, in order; the last two show only with installed audio.
  enum Section { Language = 0, General, Bookmarking, Backup, ManageRecitations, UpgradeAudio };

  // initWithNibName:bundle: ("SettingsView").
  SettingsViewController();

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void reloadView();
  void create_UISwitch();
  void switchKahfAction();
  void switchAskForBookmarkGroupsPressed();
  void switchHideTransFullScreenAction();
  // The answer to the gapless upgrade offer.
  void clickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;

  int numberOfSectionsInTableView(ui::TableView*) override;
  int numberOfRowsInSection(ui::TableView*, int section) override;
  std::string titleForHeaderInSection(ui::TableView*, int section) override;
  std::string titleForFooterInSection(ui::TableView*, int section) override;
  // The footers wrap: their texts are longer than one line of the column.
  float heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override { return 44; }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;

  const std::vector<int>& allReciters() const { return allReciters_; }
  // The text of the Backup alert: where the user database lies.
  static std::string backupMessage();

  std::shared_ptr<ui::Switch> switchKahf, switchAskForBookmarkGroups, switchHideTransFullScreen;
  // The recitations manager last pushed.
  std::shared_ptr<ManageSurahAudioController> managesurahController;

 private:
  void readInstalledReciters();
  void pushDetail(int setting);
  std::vector<int> allReciters_;
  std::shared_ptr<ui::AlertView> upgradeAlert_;
};
