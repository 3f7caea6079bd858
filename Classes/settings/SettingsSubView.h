#pragma once
// One of four settings detail screens, chosen when it is made: Sharing,
// Language (calligraphic surah names and the interface language), Font Size
// (the Arabic and translation sizes) and Tajweed (the colour legend, the five
// rules and coloured stop signs). Each change is stored at once and announced
// ("ArabicFontChanged", "TajweedBarDisplayToggled", "ArabicLanguageChanged");
// a new interface language starts the application again. Main thread only.
#include <memory>
#include <optional>
#include <string>

#include "Classes/settings/SettingsScreen.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class SettingsSubView : public SettingsScreen {
 public:
  static constexpr int kSharing = 1, kLanguage = 2, kFontSize = 3, kTajweed = 4;
  static constexpr int kQuitAlertTag = 898;

  // initWithNibName:bundle:forSetting: ("SettingsView").
  explicit SettingsSubView(int setting);

  int ThisSetting() const { return ThisSetting_; }

  void viewDidLoad() override;

  void switchArabicTitlesAction();
  void switchLegendAction();
  void switchGHunnaAction() { ruleSwitched(*switchGHunna, "TajweedGhunna"); }
  void switchIkhfaAction() { ruleSwitched(*switchIkhfa, "TajweedIkhfa"); }
  void switchIdghamAction() { ruleSwitched(*switchIdgham, "TajweedIdgham"); }
  void switchIqlabAction() { ruleSwitched(*switchIqlab, "TajweedIqlab"); }
  void switchQalqalaAction() { ruleSwitched(*switchQalqala, "TajweedQalqala"); }
  void switchStopSignsAction();
  // Keeps the legend switch in step with the rules: with fewer than two rules
  // on there is nothing to tell apart, so the legend goes off.
  void checkLegendStatus();

  // Closes the data and starts the application again in the chosen language.
  // While a recitation downloads or installs it says to wait and does
  // nothing; a failure to close is said before the restart.
  void quitApp();
  void clickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;

  int numberOfSectionsInTableView(ui::TableView*) override;
  int numberOfRowsInSection(ui::TableView*, int section) override;
  std::string titleForHeaderInSection(ui::TableView*, int section) override;
  std::string titleForFooterInSection(ui::TableView*, int section) override;
  // The footers wrap: their texts are longer than one line of the column.
  float heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;

  std::shared_ptr<ui::Switch> switchArabicTitles, switchLegend, switchGHunna, switchIkhfa, switchIdgham, switchIqlab,
      switchQalqala, switchStopSigns;

 private:
  void ruleSwitched(ui::Switch& control, const char* key);
  void chooseFontSize(ui::TableView* tableView, const ui::IndexPath& indexPath, const char* key);
  void chooseLanguage(ui::TableView* tableView, const ui::IndexPath& indexPath);
  // The ending of the process after the language change: close the data, then start again.
  void relaunch();
  std::shared_ptr<ui::AlertView> showAlert(const std::string& title, const std::string& message,
                                           const std::string& button, int tag);

  int ThisSetting_;
};
