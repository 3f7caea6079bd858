#include "Classes/audio/PickReciterController.h"

#include "Classes/common/ScreenSupport.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace {

constexpr auto text = screens::localized;
ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }
const int kOrder[] = {0, 4, 2, 5, 3, 6, 8, 1};
const cg::Color kGrey = cg::Color::fromRGB255(133, 133, 133);

}  // namespace

bool PickReciterController::isInstalled(int reciter, int surah) {
  sqlite3* db = screens::userDatabase();
  if (!db || surah < 1) return false;
  return (ChapterInfo::doesReciterSupportContRecitation(reciter) &&
          ChapterInfo::isSurahAudioContinuous(db, surah, reciter)) ||
         ChapterInfo::isSurahAudioInstalled(db, surah, reciter);
}

std::string PickReciterController::iconForReciter(int reciter, int surah) {
  bool continuous = ChapterInfo::doesReciterSupportContRecitation(reciter);
  if (surah >= 1 && isInstalled(reciter, surah)) return continuous ? "Reciter-icon-updated.png" : "Reciter-ready.png";
  return continuous ? "Reciter-download-updated.png" : "Reciter-download.png";
}

void PickReciterController::viewDidLoad() {
  iCurrentReciter_ = int(defaults().integerForKey("CurrentReciterv22"));
  imgLegend->setImage(ui::Image::imageNamed("Reciter-icon-updated.png"));
  lblLegend1->setText(text("Reciter supports gapless playback"));
  lblLegend2->setTextAlignment(ZarvelSDKAppDelegate::IsLanguageArabic() ? ui::TextAlignment::Right
                                                                        : ui::TextAlignment::Left);
  refreshSecondLegend();
  arrKeys.clear();
  arrVals.clear();
  for (int r : kOrder) {
    arrKeys.push_back(ChapterInfo::getReciterFullNameFromNumber(r));
    arrVals.push_back(r);
  }
  setTitle(text("Reciters"));
  styleTopBar(text("Pick Recitation"));
}

void PickReciterController::setSurah(int surah) {
  iCurrentSurah_ = surah;
  if (isViewLoaded()) refreshSecondLegend();
}

void PickReciterController::refreshSecondLegend() {
  int r = iCurrentReciter_;
  sqlite3* db = screens::userDatabase();
  bool perVerse = db && iCurrentSurah_ >= 1 && ChapterInfo::doesReciterSupportContRecitation(r) &&
                  !ChapterInfo::isSurahAudioContinuous(db, iCurrentSurah_, r) &&
                  ChapterInfo::isSurahAudioInstalled(db, iCurrentSurah_, r);
  lblLegend2->setText(perVerse ? text("You can also download the audio files update from settings at anytime") : "");
}

std::shared_ptr<ui::TableViewCell> PickReciterController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                                const ui::IndexPath& indexPath) {
  auto cell = verseCell(tableView);
  if (indexPath.row < 0 || indexPath.row >= int(arrVals.size())) return cell;
  int reciter = arrVals[std::size_t(indexPath.row)];
  cell->textLabel()->setText(arrKeys[std::size_t(indexPath.row)]);
  bool ready = iCurrentSurah_ >= 1 && isInstalled(reciter, iCurrentSurah_);
  cell->textLabel()->setTextColor(ready ? cg::Color::black() : kGrey);
  cell->imageView()->setImage(ui::Image::imageNamed(iconForReciter(reciter, iCurrentSurah_)));
  cell->setAccessoryType(reciter == iCurrentReciter_ ? ui::TableViewCellAccessoryType::Checkmark
                                                     : ui::TableViewCellAccessoryType::None);
  return cell;
}

void PickReciterController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  if (indexPath.row < 0 || indexPath.row >= int(arrVals.size())) return;
  for (std::size_t i = 0; i < arrVals.size(); ++i)
    if (arrVals[i] == iCurrentReciter_)
      if (auto old = tableView->cellForRowAtIndexPath(ui::IndexPath::indexPathForRow(int(i), 0)))
        old->setAccessoryType(ui::TableViewCellAccessoryType::None);
  iCurrentReciter_ = arrVals[std::size_t(indexPath.row)];
  defaults().setInteger(iCurrentReciter_, "CurrentReciterv22");
  defaults().synchronize();
  if (auto cell = tableView->cellForRowAtIndexPath(indexPath))
    cell->setAccessoryType(ui::TableViewCellAccessoryType::Checkmark);
  tableView->deselectRowAtIndexPath(indexPath, true);
  sqlite3* db = screens::userDatabase();
  if (db && iCurrentSurah_ >= 1 && ChapterInfo::doesReciterSupportContRecitation(iCurrentReciter_) &&
      ChapterInfo::isSurahAudioInstalled(db, iCurrentSurah_, iCurrentReciter_) &&
      !ChapterInfo::isSurahAudioContinuous(db, iCurrentSurah_, iCurrentReciter_)) {
    auto alert = std::make_shared<ui::AlertView>(
        "",
        text("An upgrade to gapless (continuous) playback for some reciters has been detected. This will require "
             "re-downloading audio data for all surahs. Would you like to do this now?"),
        std::static_pointer_cast<PickReciterController>(shared_from_this()), text("No"),
        std::vector<std::string>{text("Yes")});
    alert->show();
    return;
  }
  ns::NotificationCenter::defaultCenter().postNotificationName("ReciterDidChange");
}

void PickReciterController::clickedButtonAtIndex(ui::AlertView&, int buttonIndex) {
  if (buttonIndex == 1) ZarvelSDKAppDelegate::upgradeToGaplessRequested();
  ns::NotificationCenter::defaultCenter().postNotificationName("ReciterDidChange");
}

void PickReciterController::btnBackPressed() {
  if (onBack) onBack();
  else if (parentViewController()) dismissModalViewControllerAnimated(true);
}
