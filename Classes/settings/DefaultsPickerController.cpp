#include "Classes/settings/DefaultsPickerController.h"

#include "Classes/common/ScreenSupport.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/TextView.h"

namespace {

using screens::localized;

struct Picker {
  const char* title;
  const char* header;
  const char* rows[4];
  int rowCount;
};
const Picker kPickers[2] = {
    {"Select Theme", "Available Themes", {"Original Theme", "Blue Theme"}, 2},
    {"Startup Screen", "Select Startup Screen", {"Index View", "Surah View", "Bookmarks View", "Search View"}, 4},
};
// The defaults key of each list.
const char* const kKeys[2] = {"CurrentTheme", "StartupScreen"};

int pickerIndex(DefaultsPickerController::List list) { return list == DefaultsPickerController::List::Theme ? 0 : 1; }
const Picker& picker(DefaultsPickerController::List list) { return kPickers[pickerIndex(list)]; }

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

}  // namespace

DefaultsPickerController::DefaultsPickerController(List list, std::function<void()> chosen)
    : list_(list), chosen_(std::move(chosen)) {
  if (chosen_) return;
  chosen_ = [list] {
    auto app = ZarvelSDKAppDelegate::GetInstance();
    if (!app) return;
    if (list == List::Theme) app->refreshTheme();
    else app->refreshSettings();
  };
}

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
  setTitle(localized(picker(list_).title));
  auto self = std::dynamic_pointer_cast<DefaultsPickerController>(shared_from_this());
  table->setDataSource(self);
  table->setDelegate(self);
}

int DefaultsPickerController::chosenRow() const { return int(defaults().integerForKey(kKeys[pickerIndex(list_)])); }

int DefaultsPickerController::numberOfRowsInSection(ui::TableView*, int) { return picker(list_).rowCount; }

std::string DefaultsPickerController::titleForHeaderInSection(ui::TableView*, int) {
  return localized(picker(list_).header);
}

std::shared_ptr<ui::TableViewCell> DefaultsPickerController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                                  const ui::IndexPath& indexPath) {
  auto cell = tableView->dequeueReusableCellWithIdentifier("Cell");
  if (!cell) cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, "Cell");
  int r = indexPath.row;
  if (r < 0 || r >= picker(list_).rowCount) return cell;
  cell->textLabel()->setText(localized(kPickers[pickerIndex(list_)].rows[r]));
  cell->setAccessoryType(r == chosenRow() ? ui::TableViewCellAccessoryType::Checkmark
                                          : ui::TableViewCellAccessoryType::None);
  return cell;
}

void DefaultsPickerController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  if (indexPath.row < 0 || indexPath.row >= picker(list_).rowCount) return;
  defaults().setObject(ns::Value(ns::format("%d", indexPath.row)), kKeys[pickerIndex(list_)]);
  defaults().synchronize();
  tableView->reloadData();
  if (chosen_) chosen_();
}

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
