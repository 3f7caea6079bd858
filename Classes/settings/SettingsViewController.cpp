#include "Classes/settings/SettingsViewController.h"

#include "Classes/audio/ManageSurahAudioController.h"
#include "Classes/common/ScreenSupport.h"
#include "Classes/settings/SettingsCell.h"
#include "Classes/settings/SettingsSubView.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/NavigationController.h"

namespace {

using screens::localized;

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

void store(bool value, const char* key) {
  defaults().setBool(value, key);
  defaults().synchronize();
}

const char* const kSizeNames[] = {"Small", "Normal", "Big", "Large", "Huge"};

}  // namespace

SettingsViewController::SettingsViewController() = default;


void SettingsViewController::viewDidLoad() {
  create_UISwitch();
  setTitle(localized("Settings"));
  lblTopLabel->setText(localized("Settings"));
  setUpScreen();
}

void SettingsViewController::readInstalledReciters() {
  sqlite3* db = screens::userDatabase();
  allReciters_ = db ? ChapterInfo::getInstalledAudioReciters(db) : std::vector<int>();
}

void SettingsViewController::viewWillAppear(bool) { readInstalledReciters(); }

void SettingsViewController::viewDidAppear(bool) { reloadView(); }

void SettingsViewController::reloadView() {
  if (myTableView) myTableView->reloadData();
}

void SettingsViewController::create_UISwitch() {
  switchKahf = makeSettingSwitch(this, defaults().boolForKey("AlKahfReminders"), [this] { switchKahfAction(); });
  switchAskForBookmarkGroups = makeSettingSwitch(this, !defaults().boolForKey("AskForBookmarkGroup"),
                                                 [this] { switchAskForBookmarkGroupsPressed(); });
  switchHideTransFullScreen = makeSettingSwitch(this, defaults().boolForKey("HideTransInFullScreen"),
                                                [this] { switchHideTransFullScreenAction(); });
}

void SettingsViewController::switchKahfAction() {
  store(switchKahf->isOn(), "AlKahfReminders");
  ZarvelSDKAppDelegate::SetupAlKahfReminders();
}

// The stored value says "do not ask": the inverse of the switch.
void SettingsViewController::switchAskForBookmarkGroupsPressed() {
  store(!switchAskForBookmarkGroups->isOn(), "AskForBookmarkGroup");
}

void SettingsViewController::switchHideTransFullScreenAction() {
  store(switchHideTransFullScreen->isOn(), "HideTransInFullScreen");
  ns::NotificationCenter::defaultCenter().postNotificationName("TranslationDidChange");
}


// ---- the table ---------------------------------------------------------------------------------

int SettingsViewController::numberOfSectionsInTableView(ui::TableView*) {
  if (allReciters_.empty()) return 4;
  auto app = ZarvelSDKAppDelegate::GetInstance();
  return app && app->hasSlicedAudioInstalled() ? 6 : 5;
}

int SettingsViewController::numberOfRowsInSection(ui::TableView*, int section) {
  switch (section) {
    case General: return ZarvelSDKAppDelegate::IsIPhoneOS4() ? 4 : 3;
    case ManageRecitations: return int(allReciters_.size());
    default: return 1;
  }
}

std::string SettingsViewController::titleForHeaderInSection(ui::TableView*, int section) {
  switch (section) {
    case Language: return localized("Language");
    case General: return localized("General");
    case Bookmarking: return localized("Bookmarking");
    case ManageRecitations: return localized("Manage Recitations");
    default: return "";
  }
}

std::string SettingsViewController::titleForFooterInSection(ui::TableView*, int section) {
  return section == General ? localized("Turn ON to show arabic script only in full-screen mode") : "";
}

std::shared_ptr<ui::TableViewCell> SettingsViewController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                                const ui::IndexPath& indexPath) {
  bool fontRow = indexPath.section == General && indexPath.row == 0;
  std::string identifier = fontRow ? "MySettingCellFont" : "MySettingCell";
  auto cell = std::dynamic_pointer_cast<SettingsCell>(tableView->dequeueReusableCellWithIdentifier(identifier));
  if (!cell) {
    cell = std::make_shared<SettingsCell>(fontRow ? ui::TableViewCellStyle::Value1 : ui::TableViewCellStyle::Subtitle,
                                          identifier);
    cell->textLabel()->setFont(ui::Font::boldSystemFontOfSize(15));
    // A long title (a reciter's full name, an Arabic title beside a switch)
    // shrinks rather than lose its end.
    cell->textLabel()->setAdjustsFontSizeToFitWidth(true);
    cell->textLabel()->setMinimumFontSize(11);
    cell->detailTextLabel()->setFont(ui::Font::fontWithName("Helvetica", 13));
  }
  if (!switchKahf) create_UISwitch();
  cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
  cell->setAccessoryView(nullptr);
  cell->detailTextLabel()->setText("");

  auto disclose = [&](const std::string& text) {
    cell->textLabel()->setText(text);
    cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
  };
  auto withSwitch = [&](const std::string& text, std::shared_ptr<ui::Switch> control) {
    cell->textLabel()->setText(text);
    cell->setAccessoryView(std::move(control));
  };
  int r = indexPath.row;
  switch (indexPath.section) {
    case Language:
      disclose(localized(defaults().stringForKey("PrefLang") == "ar" ? "Arabic" : "English"));
      break;
    case General:
      if (r == 0) {
        disclose(localized("Font Size"));
        long size = defaults().integerForKey("ArabicFontSize");
        cell->detailTextLabel()->setText(size >= 0 && size <= 4 ? localized(kSizeNames[size]) : "");
      } else if (r == 1) {
        disclose(localized("Tajweed"));
      } else if (r == 2) {
        withSwitch(localized("Al-Kahf reminders"), switchKahf);
        cell->detailTextLabel()->setText(localized("On Fridays"));
      } else {
        withSwitch(localized("Hide Translation"), switchHideTransFullScreen);
      }
      break;
    case Bookmarking: withSwitch(localized("Ask for groups"), switchAskForBookmarkGroups); break;
    case Backup: disclose(localized("Backup")); break;
    case ManageRecitations:
      if (r >= 0 && r < int(allReciters_.size()))
        disclose(ChapterInfo::getReciterFullNameFromNumber(allReciters_[size_t(r)]));
      break;
    case UpgradeAudio: disclose(localized("Upgrade Audio Data")); break;
    default: break;
  }
  return cell;
}

// Only the switches of the Al-Kahf and hide-translation rows react.
std::optional<ui::IndexPath> SettingsViewController::willSelectRowAtIndexPath(ui::TableView*,
                                                                             const ui::IndexPath& indexPath) {
  if (indexPath.section == General && (indexPath.row == 2 || indexPath.row == 3)) return std::nullopt;
  return indexPath;
}

void SettingsViewController::pushDetail(int setting) {
  if (auto* nav = navigationController()) nav->pushViewController(std::make_shared<SettingsSubView>(setting), true);
}

std::string SettingsViewController::backupMessage() {
  return screens::withValues(
      localized("Your bookmarks, notes and searches are kept in the file \"%@\" in the folder %@. To back them "
                "up, copy that file somewhere safe. To restore them, quit Zarvel and put the copy back in its place."),
      {"zarveldyn.db", ns::documentsDirectory()});
}

void SettingsViewController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  tableView->deselectRowAtIndexPath(indexPath, true);
  int r = indexPath.row;
  switch (indexPath.section) {
    case Language: pushDetail(SettingsSubView::kLanguage); break;
    case General:
      if (r == 0) pushDetail(SettingsSubView::kFontSize);
      else if (r == 1) pushDetail(SettingsSubView::kTajweed);
      break;
    case Backup: {
      auto alert = std::make_shared<ui::AlertView>(localized("Backup"), backupMessage(),
                                                   std::weak_ptr<ui::AlertViewDelegate>(), localized("OK"));
      alert->show();
      break;
    }
    case ManageRecitations: {
      if (r < 0 || r >= int(allReciters_.size())) break;
      auto manager = std::make_shared<ManageSurahAudioController>(allReciters_[size_t(r)]);
      managesurahController = manager;
      if (auto* nav = navigationController()) nav->pushViewController(manager, true);
      break;
    }
    case UpgradeAudio:
      upgradeAlert_ = std::make_shared<ui::AlertView>(
          "",
          localized("An upgrade to gapless (continuous) playback for some reciters has been detected. This will "
                    "require re-downloading audio data for all surahs. Would you like to do this now?"),
          std::static_pointer_cast<SettingsViewController>(shared_from_this()), localized("No"),
          std::vector<std::string>{localized("Yes")});
      upgradeAlert_->show();
      break;
    default: break;
  }
}

void SettingsViewController::clickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) {
  if (buttonIndex != 1) return;
  ZarvelSDKAppDelegate::upgradeToGaplessRequested();
  readInstalledReciters();
  ns::NotificationCenter::defaultCenter().postNotificationName("ReciterDidChange");
  reloadView();
  alert.dismissWithClickedButtonIndex(0, false);
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->showIndexViewAndBeginDownloading();
}
