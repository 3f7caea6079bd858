#include "Classes/reading/PickTranslationController.h"

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/common/OptionsTopBar.h"
#include "Classes/common/ScreenSupport.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"

namespace {

constexpr auto text = screens::localized;

const cg::Color kDetailInk = cg::Color::fromRGB255(101, 100, 94);

const char* slotKey(bool primary) { return primary ? "CurrentTranslationPrimary" : "CurrentTranslationSecondary"; }

}  // namespace

PickTranslationController::PickTranslationController() = default;

std::string PickTranslationController::imageNameForTranslation(int n) {
  static const char* const kFlags[] = {
      "translation-none.png", "UK.png", "UK.png", "UK.png", "UK.png", "Indonesia.png", "Malaysia.png",
      "Germany.png", "France.png", "Spain.png", "UK.png", "Turkey.png", "UK.png", "Russia.png", "Bosnia.png",
      "Pakistan.png", "Iran.png", "Netherlands.png", "Italy.png", "Albania.png", "Romania.png", "Japan.png",
      "Bangladesh.png", "Azerbaijan.png", "China.png", "Bulgaria.png", "India.png", "SaudiArabia.png",
      "SouthKorea.png", "Czech.png", "Sweden.png", "Thailand.png", "Poland.png", "Portugal.png", "Norway.png",
      "Uzbekistan.png", "Iran.png", "Spain.png", "SaudiArabia.png"};
  if (n == 1000) return "trnslation-note.png";
  if (n < 0 || n > 38) return "";
  return kFlags[n];
}

// ---- the layout ("SurahOptions"): a top bar over a plain table ----------------------------------

void PickTranslationController::loadView() {
  cg::Size size = contentSizeForViewInPopover();
  auto root = screens::makeOptionsRoot(size);
  screens::addOptionsTopBar(*root, size.width, this, [this] { btnBackPressed(); }, imgTopBar, lblTopTitle, btnBack);

  table = std::make_shared<ui::TableView>(
      cg::Rect(0, screens::kOptionsTopBarHeight, size.width, size.height - screens::kOptionsTopBarHeight), ui::TableViewStyle::Plain);
  table->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  auto self = std::static_pointer_cast<PickTranslationController>(shared_from_this());
  table->setDataSource(self);
  table->setDelegate(self);
  root->addSubview(table);
  setView(root);
}

void PickTranslationController::setupNormalPicker() {
  iCurrentTranslation_ = static_cast<int>(ns::UserDefaults::standardUserDefaults().integerForKey("HUDTranslation"));
  isNormalPickerMode_ = true;
  auto weak = std::weak_ptr<PickTranslationController>(
      std::static_pointer_cast<PickTranslationController>(shared_from_this()));
  navigationItem()->setRightBarButtonItem(
      std::make_shared<ui::BarButtonItem>(text("Cancel"), ui::BarButtonItemStyle::Bordered, [weak](ui::BarButtonItem&) {
        if (auto self = weak.lock()) self->dismissCont();
      }));
  if (isViewLoaded()) viewDidLoad();
}

void PickTranslationController::viewDidLoad() {
  if (!isNormalPickerMode_)
    iCurrentTranslation_ =
        static_cast<int>(ns::UserDefaults::standardUserDefaults().integerForKey(slotKey(IsPrimaryTranslation_)));
  setTitle(text("Show"));
  std::string title = isNormalPickerMode_ ? text("Pick Translation") : text("Show");
  std::string back = isNormalPickerMode_ ? text("Cancel") : text("Back");
  screens::styleOptionsTopBar(*imgTopBar, *lblTopTitle, *btnBack, title, back);
}

void PickTranslationController::viewWillAppear(bool) {
  arrTranslations = ChapterInfo::getTranslationsWithText(screens::contentDatabase(), !isNormalPickerMode_);
  table->reloadData();
  if (!arrTranslations.empty())
    table->scrollToRowAtIndexPath(ui::IndexPath::indexPathForRow(indexOfTranslation(iCurrentTranslation_), 0),
                                  ui::TableViewScrollPosition::Middle, false);
}

// ---- rows and the choice ---------------------------------------------------------------------------

std::shared_ptr<ui::TableViewCell> PickTranslationController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                                    const ui::IndexPath& indexPath) {
  auto cell = tableView->dequeueReusableCellWithIdentifier("VerseCell");
  if (!cell) {
    cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Subtitle, "VerseCell");
    cell->textLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", 16));
    cell->detailTextLabel()->setFont(ui::Font::fontWithName("Helvetica", 13));
    cell->detailTextLabel()->setTextColor(kDetailInk);
  }
  if (indexPath.row < 0 || indexPath.row >= static_cast<int>(arrTranslations.size())) return cell;
  int n = arrTranslations[static_cast<size_t>(indexPath.row)];
  cell->textLabel()->setText(ChapterInfo::getTranslationFullNameForNumber(n));
  cell->setAccessoryType(n == iCurrentTranslation_ ? ui::TableViewCellAccessoryType::Checkmark
                                                   : ui::TableViewCellAccessoryType::None);
  std::string image = imageNameForTranslation(n);
  if (!image.empty()) cell->imageView()->setImage(ui::Image::imageNamed(image));
  return cell;
}

void PickTranslationController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  tableView->deselectRowAtIndexPath(indexPath, true);
  if (indexPath.row < 0 || indexPath.row >= static_cast<int>(arrTranslations.size())) return;
  int chosen = arrTranslations[static_cast<size_t>(indexPath.row)];
  for (size_t row = 0; row < arrTranslations.size(); ++row) {
    if (arrTranslations[row] != iCurrentTranslation_) continue;
    if (auto previous = tableView->cellForRowAtIndexPath(ui::IndexPath::indexPathForRow(static_cast<int>(row), 0)))
      previous->setAccessoryType(ui::TableViewCellAccessoryType::None);
  }
  if (auto cell = tableView->cellForRowAtIndexPath(indexPath))
    cell->setAccessoryType(ui::TableViewCellAccessoryType::Checkmark);
  iCurrentTranslation_ = chosen;

  auto& defaults = ns::UserDefaults::standardUserDefaults();
  if (isNormalPickerMode_) {
    defaults.setInteger(chosen, "HUDTranslation");
    defaults.synchronize();
    if (auto d = delegate()) d->translationPickerPicked(chosen);
    return;
  }
  defaults.setInteger(chosen, slotKey(IsPrimaryTranslation_));
  defaults.synchronize();
  ns::NotificationCenter::defaultCenter().postNotificationName("TranslationDidChange");
}

int PickTranslationController::indexOfTranslation(int translation) const {
  for (size_t i = 0; i < arrTranslations.size(); ++i)
    if (arrTranslations[i] == translation) return static_cast<int>(i);
  return 0;
}

// A picker with a delegate (the panel's, or a pane's in its popover) is
// closed by it; a picker presented on its own closes itself.
void PickTranslationController::btnBackPressed() {
  if (auto d = delegate()) {
    d->translationPickerCancelled();
    return;
  }
  if (!isNormalPickerMode_) dismissCont();
}

void PickTranslationController::segmentPressed() {
  if (!isNormalPickerMode_) ns::NotificationCenter::defaultCenter().postNotificationName("TranslationDidChange");
  table->reloadData();
}

void PickTranslationController::dismissCont() { dismissModalViewControllerAnimated(true); }
