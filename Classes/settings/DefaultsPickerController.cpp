#include "Classes/settings/DefaultsPickerController.h"

#include "Classes/common/ScreenSupport.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/TextView.h"

namespace {

using screens::localized;

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

}  // namespace

void DefaultsPickerController::loadView() {
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, 320, 460));
  root->setBackgroundColor(cg::Color::white());
  root->setAutoresizesSubviews(true);
  table = std::make_shared<ui::TableView>(root->bounds(), ui::TableViewStyle::Grouped);
  table->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root->addSubview(table);
  setView(root);
}

void DefaultsPickerController::viewDidLoad() {
  setTitle(localized(choices_.title));
  auto self = std::dynamic_pointer_cast<DefaultsPickerController>(shared_from_this());
  table->setDataSource(self);
  table->setDelegate(self);
}

int DefaultsPickerController::chosenRow() const { return int(defaults().integerForKey(choices_.key)); }

std::string DefaultsPickerController::titleForHeaderInSection(ui::TableView*, int) {
  return localized(choices_.header);
}

std::shared_ptr<ui::TableViewCell> DefaultsPickerController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                                  const ui::IndexPath& indexPath) {
  auto cell = tableView->dequeueReusableCellWithIdentifier("Cell");
  if (!cell) cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, "Cell");
  int r = indexPath.row;
  if (r < 0 || r >= int(choices_.rows.size())) return cell;
  cell->textLabel()->setText(localized(choices_.rows[r]));
  cell->setAccessoryType(r == chosenRow() ? ui::TableViewCellAccessoryType::Checkmark
                                          : ui::TableViewCellAccessoryType::None);
  return cell;
}

void DefaultsPickerController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  if (indexPath.row < 0 || indexPath.row >= int(choices_.rows.size())) return;
  defaults().setObject(ns::Value(ns::format("%d", indexPath.row)), choices_.key);
  defaults().synchronize();
  tableView->reloadData();
  if (choices_.chosen) choices_.chosen();
}

// ---- the two pickers -----------------------------------------------------------------------------

ThemeController::ThemeController()
    : DefaultsPickerController({"Select Theme", "Available Themes", {"Original Theme", "Blue Theme"}, "CurrentTheme",
                                [] {
                                  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->refreshTheme();
                                }}) {}

void ThemeController::viewDidLoad() {
  DefaultsPickerController::viewDidLoad();
  auto footer = std::make_shared<ui::TextView>(cg::Rect(0, 0, 320, 35));
  footer->setBackgroundColor(cg::Color::clear());
  footer->setScrollEnabled(false);
  footer->setEditable(false);
  footer->setTextAlignment(ui::TextAlignment::Center);
  footer->setTextColor(cg::Color::gray(0.5f));
  footer->setText(localized("Note: Zarvel restart required for the change to take effect"));
  table->setTableFooterView(footer);
}

StartupScreenController::StartupScreenController()
    : DefaultsPickerController({"Startup Screen",
                                "Select Startup Screen",
                                {"Index View", "Surah View", "Bookmarks View", "Search View"},
                                "StartupScreen",
                                [] {
                                  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->refreshSettings();
                                }}) {}
