#include "Classes/settings/SettingsSubView.h"

#include "Classes/common/ScreenSupport.h"
#include "Classes/settings/SettingsCell.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"

namespace {

using screens::localized;

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

void post(const char* name) { ns::NotificationCenter::defaultCenter().postNotificationName(name); }

constexpr int kCloseFailedTag = 899;

const char* const kRuleKeys[] = {"TajweedGhunna", "TajweedIkhfa", "TajweedIdgham", "TajweedIqlab", "TajweedQalqala"};
const char* const kRuleTitles[] = {"Ghunna", "Ikhfa", "Idgham", "Iqlab", "Qalqala"};

struct FontSizeRow {
  const char* name;
  const char* preview;
  const char* selectedPreview;
  float surahHeight;
  float translationPoints, translationHeight;  // the translation section has no fifth row
};
const FontSizeRow kFontSizeRows[] = {
    {"Small", "previewsmall.png", "previewsmall_sel.png", 45, 12, 45},
    {"Normal", "previewnormal.png", "previewnormal_sel.png", 50, 14, 45},
    {"Big", "previewbig.png", "previewbig_sel.png", 60, 16, 50},
    {"Large", "previewlarge.png", "previewlarge_sel.png", 70, 19, 55},
    {"Huge", "previewhuge.png", "previewhuge_sel.png", 85, 0, 0},
};

struct LanguageRow {
  const char* title;
  const char* flag;
  const char* code;
};
const LanguageRow kLanguageRows[] = {{"Arabic", "SaudiArabia.png", "ar"}, {"English", "UK.png", "en"}};

ui::Font cellFont() { return ui::Font::fontWithName("Helvetica-Bold", 12.5f); }

}  // namespace

SettingsSubView::SettingsSubView(int setting) : ThisSetting_(setting) {}


void SettingsSubView::viewDidLoad() {
  setUpScreen();
  switch (ThisSetting_) {
    case kSharing: navigationItem()->setTitle(localized("Sharing")); break;
    case kLanguage: navigationItem()->setTitle(localized("Language")); break;
    case kFontSize: navigationItem()->setTitle(localized("Font Size")); break;
    case kTajweed: navigationItem()->setTitle(localized("Tajweed")); break;
    default: break;
  }
  lblTopLabel->setText(navigationItem()->title());

  auto on = [](const char* key) { return defaults().boolForKey(key); };
  switchArabicTitles = makeSettingSwitch(this, on("IndexInArabic"), [this] { switchArabicTitlesAction(); });
  switchLegend = makeSettingSwitch(this, on("ShowTajweedBar"), [this] { switchLegendAction(); });
  switchQalqala = makeSettingSwitch(this, on("TajweedQalqala"), [this] { switchQalqalaAction(); });
  switchIqlab = makeSettingSwitch(this, on("TajweedIqlab"), [this] { switchIqlabAction(); });
  switchIdgham = makeSettingSwitch(this, on("TajweedIdgham"), [this] { switchIdghamAction(); });
  switchIkhfa = makeSettingSwitch(this, on("TajweedIkhfa"), [this] { switchIkhfaAction(); });
  switchGHunna = makeSettingSwitch(this, on("TajweedGhunna"), [this] { switchGHunnaAction(); });
  switchStopSigns = makeSettingSwitch(this, on("ColoredStopSigns"), [this] { switchStopSignsAction(); });
  checkLegendStatus();
}


// ---- the switches ---------------------------------------------------------------------------------

void SettingsSubView::switchArabicTitlesAction() {
  defaults().setBool(switchArabicTitles->isOn(), "IndexInArabic");
  defaults().synchronize();
  post("ArabicLanguageChanged");
}

void SettingsSubView::switchLegendAction() {
  defaults().setBool(switchLegend->isOn(), "ShowTajweedBar");
  defaults().synchronize();
  post("TajweedBarDisplayToggled");
}

void SettingsSubView::ruleSwitched(ui::Switch& control, const char* key) {
  defaults().setBool(control.isOn(), key);
  defaults().synchronize();
  checkLegendStatus();
  post("ArabicFontChanged");
}

void SettingsSubView::switchStopSignsAction() {
  defaults().setBool(switchStopSigns->isOn(), "ColoredStopSigns");
  defaults().synchronize();
  post("ArabicFontChanged");
}

void SettingsSubView::checkLegendStatus() {
  int rulesOn = 0;
  for (const char* key : kRuleKeys) rulesOn += defaults().boolForKey(key) ? 1 : 0;
  bool legendWasOn = switchLegend->isOn();
  if (rulesOn < 2) {
    switchLegend->setEnabled(false);
    switchLegend->setOn(false, true);
    defaults().setBool(false, "ShowTajweedBar");
    defaults().synchronize();
  } else {
    switchLegend->setEnabled(true);
    if (legendWasOn) {
      switchLegend->setOn(true, true);
      defaults().setBool(true, "ShowTajweedBar");
      defaults().synchronize();
    }
  }
  switchLegendAction();
}

// ---- the table --------------------------------------------------------------------------------------

int SettingsSubView::numberOfSectionsInTableView(ui::TableView*) {
  switch (ThisSetting_) {
    case kLanguage: case kFontSize: return 2;
    case kTajweed: return 3;
    default: return 1;
  }
}

int SettingsSubView::numberOfRowsInSection(ui::TableView*, int section) {
  switch (ThisSetting_) {
    case kLanguage: return section == 0 ? 1 : 2;
    case kFontSize: return section == 0 ? 5 : 4;
    case kTajweed: return section == 1 ? 5 : 1;
    default: return 1;
  }
}

std::string SettingsSubView::titleForHeaderInSection(ui::TableView*, int section) {
  if (ThisSetting_ == kSharing) return localized("Twitter");
  if (ThisSetting_ == kFontSize)
    return section == 0 ? Language::get("Al-Surah", "Surah") : Language::get("Al-Translation", "Translation");
  return "";
}

std::string SettingsSubView::titleForFooterInSection(ui::TableView*, int section) {
  switch (ThisSetting_) {
    case kSharing: return localized("To share a verse, tap and hold on the verse in the Surah view and tap 'Share'");
    case kLanguage:
    case kFontSize:
      return section == 0 ? localized("Font size selection will apply to the main Surah display view") : "";
    case kTajweed: return section == 2 ? localized("Red means Stop, Green means Go") : "";
    default: return "";
  }
}

float SettingsSubView::heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath& p) {
  if (ThisSetting_ != kFontSize || p.row < 0 || p.row > 4) return 45;
  const FontSizeRow& row = kFontSizeRows[p.row];
  return p.section == 0 ? row.surahHeight : row.translationHeight;
}

std::shared_ptr<ui::TableViewCell> SettingsSubView::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                         const ui::IndexPath& indexPath) {
  auto cell = std::dynamic_pointer_cast<SettingsCell>(tableView->dequeueReusableCellWithIdentifier("Cell"));
  if (!cell) {
    cell = std::make_shared<SettingsCell>(ui::TableViewCellStyle::Default, "Cell");
    cell->textLabel()->setAdjustsFontSizeToFitWidth(true);
    cell->textLabel()->setMinimumFontSize(10);
  }
  cell->setAccessoryView(nullptr);
  cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
  cell->setSelectionStyle(ui::TableViewCellSelectionStyle::Blue);
  cell->imageView()->setImage(nullptr);
  cell->imageView()->setHighlightedImage(nullptr);
  cell->setShowsImageAtItsSize(false);
  cell->textLabel()->setFont(cellFont());
  cell->textLabel()->setText("");

  auto withSwitch = [&](const std::string& text, std::shared_ptr<ui::Switch> control) {
    cell->textLabel()->setText(text);
    cell->setAccessoryView(std::move(control));
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::None);
  };
  auto ticked = [&](bool on) {
    cell->setAccessoryType(on ? ui::TableViewCellAccessoryType::Checkmark : ui::TableViewCellAccessoryType::None);
  };
  int s = indexPath.section, r = indexPath.row;
  switch (ThisSetting_) {
    case kSharing:
      cell->textLabel()->setText(localized("Twitter Account"));
      cell->imageView()->setImage(ui::Image::imageNamed("set-twitter-account.png"));
      cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
      break;
    case kLanguage:
      if (s == 0) {
        withSwitch(localized("Caligraphic Names"), switchArabicTitles);
      } else if (r >= 0 && r < 2) {
        const LanguageRow& row = kLanguageRows[r];
        cell->textLabel()->setText(localized(row.title));
        cell->imageView()->setImage(ui::Image::imageNamed(row.flag));
        ticked(defaults().stringForKey("PrefLang") == row.code);
      }
      break;
    case kFontSize:
      if (r < 0 || r > 4) break;
      if (s == 0) {
        cell->imageView()->setImage(ui::Image::imageNamed(kFontSizeRows[r].preview));
        cell->imageView()->setHighlightedImage(ui::Image::imageNamed(kFontSizeRows[r].selectedPreview));
        cell->setShowsImageAtItsSize(true);
        ticked(defaults().integerForKey("ArabicFontSize") == r);
      } else {
        cell->textLabel()->setText(localized(kFontSizeRows[r].name));
        cell->textLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", kFontSizeRows[r].translationPoints));
        ticked(defaults().integerForKey("TranslationFontSize") == r);
      }
      break;
    case kTajweed:
      if (s == 0) withSwitch(localized("Display Color Legend"), switchLegend);
      else if (s == 2) withSwitch(localized("Color Stop Signs"), switchStopSigns);
      else if (r >= 0 && r < 5) {
        const std::shared_ptr<ui::Switch> rules[] = {switchGHunna, switchIkhfa, switchIdgham, switchIqlab,
                                                     switchQalqala};
        withSwitch(localized(kRuleTitles[r]), rules[r]);
      }
      break;
    default: break;
  }
  return cell;
}

void SettingsSubView::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  if (ThisSetting_ == kFontSize) {
    chooseFontSize(tableView, indexPath, indexPath.section == 0 ? "ArabicFontSize" : "TranslationFontSize");
  } else if (ThisSetting_ == kLanguage && indexPath.section == 1) {
    chooseLanguage(tableView, indexPath);
  } else {
    tableView->deselectRowAtIndexPath(indexPath, true);
  }
}

// The checkmark moves at once, without reloading the table.
void SettingsSubView::chooseFontSize(ui::TableView* tableView, const ui::IndexPath& indexPath, const char* key) {
  int rows = numberOfRowsInSection(tableView, indexPath.section);
  if (indexPath.row < 0 || indexPath.row >= rows) return;
  int current = int(defaults().integerForKey(key));
  if (auto old = tableView->cellForRowAtIndexPath(ui::IndexPath{indexPath.section, current}))
    old->setAccessoryType(ui::TableViewCellAccessoryType::None);
  if (auto cell = tableView->cellForRowAtIndexPath(indexPath))
    cell->setAccessoryType(ui::TableViewCellAccessoryType::Checkmark);
  defaults().setInteger(indexPath.row, key);
  defaults().synchronize();
  if (indexPath.section == 0) {
    navigationItem()->setTitle(localized(kFontSizeRows[indexPath.row].name));
    lblTopLabel->setText(navigationItem()->title());
    ZarvelSDKAppDelegate::ResetArabicFontSize();
  } else {
    ZarvelSDKAppDelegate::ResetTranslationFontSize();
  }
  tableView->deselectRowAtIndexPath(indexPath, true);
  post("ArabicFontChanged");
}

// Also the language already chosen asks to start again.
void SettingsSubView::chooseLanguage(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  tableView->deselectRowAtIndexPath(indexPath, true);
  if (indexPath.row < 0 || indexPath.row > 1) return;
  if (auto other = tableView->cellForRowAtIndexPath(ui::IndexPath{1, 1 - indexPath.row}))
    other->setAccessoryType(ui::TableViewCellAccessoryType::None);
  if (auto cell = tableView->cellForRowAtIndexPath(indexPath))
    cell->setAccessoryType(ui::TableViewCellAccessoryType::Checkmark);
  std::string code = kLanguageRows[indexPath.row].code;
  defaults().setObject(ns::Value(code), "PrefLang");
  defaults().synchronize();
  Language::setLanguage(code);
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->resetTabbarLabels();
  ZarvelSDKAppDelegate::ResetArabicCheck();
  showAlert("", localized("Tap 'Quit' and relaunch app to take affect"), localized("Quit"), kQuitAlertTag);
}

// ---- starting again ------------------------------------------------------------------------------------

std::shared_ptr<ui::AlertView> SettingsSubView::showAlert(const std::string& title, const std::string& message,
                                                          const std::string& button, int tag) {
  auto alert = std::make_shared<ui::AlertView>(title, message,
                                               std::static_pointer_cast<SettingsSubView>(shared_from_this()), button);
  alert->setTag(tag);
  alert->show();
  return alert;
}

void SettingsSubView::clickedButtonAtIndex(ui::AlertView& alert, int) {
  if (alert.tag() == kQuitAlertTag) quitApp();
  else if (alert.tag() == kCloseFailedTag) relaunch();
}

void SettingsSubView::quitApp() {
  auto app = ZarvelSDKAppDelegate::GetInstance();
  // A download, an installation or a removal of recitations would be cut
  // off: the reader waits for it.
  if (app && (app->isDownloading() || app->settingUpSurah() ||
              app->bgDeletingAudio != ui::BackgroundTaskInvalid)) {
    showAlert(localized("Please Wait"),
              localized("Zarvel can start again in the new language once the recitation being downloaded, "
                        "installed or removed is done. Choose the language again then."),
              localized("OK"), 0);
    return;
  }
  if (app) {
    std::string failure;
    if (!app->finalizeView(&failure)) {
      if (app->dbConnection()) {
        // Still open: a task did not stop. Nothing is lost; the reader can try again.
        showAlert(localized("Zarvel Could Not Close Its Data"),
                  screens::withValues(localized("A task that reads the data did not stop (%@). Try again in a "
                                                "moment."),
                                      {failure}),
                  localized("OK"), 0);
        return;
      }
      showAlert(localized("Zarvel Could Not Close Its Data"),
                screens::withValues(localized("The data was not closed cleanly (%@). Zarvel starts again now; what "
                                              "was saved is kept."),
                                    {failure}),
                localized("OK"), kCloseFailedTag);
      return;
    }
  }
  relaunch();
}

void SettingsSubView::relaunch() {
  auto& application = ui::Application::shared();
  application.requestRelaunch();
  application.terminate();
}
