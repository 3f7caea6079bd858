#include "Classes/audio/PlayOptionsPickers.h"

#include "Classes/common/ScreenSupport.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace {

constexpr auto text = screens::localized;

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

// Stores the setting at once and says so.
void store(const char* key, int value, const char* notification) {
  defaults().setInteger(value, key);
  defaults().synchronize();
  ns::NotificationCenter::defaultCenter().postNotificationName(notification);
}

void hideLegend(SurahOptionsReciterController& c) {
  for (ui::View* v : {static_cast<ui::View*>(c.imgLegend.get()), static_cast<ui::View*>(c.lblLegend1.get()),
                      static_cast<ui::View*>(c.lblLegend2.get())})
    v->setAlpha(0);
}

void setCheck(ui::TableViewCell& cell, bool on) {
  cell.setAccessoryType(on ? ui::TableViewCellAccessoryType::Checkmark : ui::TableViewCellAccessoryType::None);
}

}  // namespace

int playVerseRangeGroupSize(int row) {
  static const int kSizes[] = {0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 15, 20, 30, 50};
  return row >= 0 && row <= 13 ? kSizes[row] : 0;
}

// ---- Play Options ----------------------------------------------------------------------------------

void PlayNextAyasController::viewDidLoad() {
  iCurrSurahRepeat = int(defaults().integerForKey("SurahRepeatCounter"));
  iCurrVerseRange = int(defaults().integerForKey("PlayVerseRange"));
  styleTopBar(text("Play Options"));
  hideLegend(*this);
}

std::string PlayNextAyasController::titleForHeaderInSection(ui::TableView*, int section) {
  if (section == 0) return text("Surah Options");
  if (section == 1) return Language::get("Grouped verses", "Group verses");
  return "";
}

std::string PlayNextAyasController::rowText(int section, int row) {
  bool options = defaults().boolForKey("PlayOptionsEnabled");
  if (section == 0) {
    static const char* const kWith[] = {"Stop at surah / group end", "Play surah by surah", "Repeat current surah / group"};
    static const char* const kWithout[] = {"Stop at surah end", "Play surah by surah", "Repeat current surah"};
    if (row < 0 || row >= 3) return "";
    return options ? text(kWith[row]) : text(kWithout[row]);
  }
  static const char* const kGroups[] = {
      "Play verse by verse",    "Play the next 1 verse",  "Play the next 2 verses",  "Play the next 3 verses",
      "Play the next 5 verses", "Play the next 6 verses", "Play the next 7 verses",  "Play the next 8 verses",
      "Play the next 9 verses", "Play the next 10 verses", "Play the next 15 verses", "Play the next 20 verses",
      "Play the next 30 verses", "Play the next 50 verses"};
  if (row < 0 || row > 13) return "";
  if (ZarvelSDKAppDelegate::IsLanguageArabic() && row >= 5 && row <= 8)
    return text("Play the next") + " " + ChapterInfo::getArabicNumbersFrom(std::to_string(row + 1)) + " " +
           text("playverses");
  return text(kGroups[row]);
}

std::shared_ptr<ui::TableViewCell> PlayNextAyasController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                                 const ui::IndexPath& indexPath) {
  auto cell = verseCell(tableView);
  cell->textLabel()->setTextAlignment(ui::TextAlignment::Left);
  cell->textLabel()->setText(rowText(indexPath.section, indexPath.row));
  int ticked = indexPath.section == 0 ? iCurrSurahRepeat : iCurrVerseRange;
  setCheck(*cell, indexPath.row == ticked);
  return cell;
}

void PlayNextAyasController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  tableView->deselectRowAtIndexPath(indexPath, true);
  int r = indexPath.row;
  bool options = defaults().boolForKey("PlayOptionsEnabled");
  if (indexPath.section == 0 && r >= 0 && r < 3) {
    moveCheckmark(tableView, 0, iCurrSurahRepeat, r);
    iCurrSurahRepeat = r;
    store("SurahRepeatCounter", r, "SurahRepeatDidChange");
    // A group and "Play surah by surah" never hold together.
    if (r == 1 && iCurrVerseRange != 0) {
      if (options) moveCheckmark(tableView, 1, iCurrVerseRange, 0);
      iCurrVerseRange = 0;
      store("PlayVerseRange", 0, "PlayVerseRangeDidChange");
    }
  } else if (indexPath.section == 1 && r >= 0 && r < 14) {
    moveCheckmark(tableView, 1, iCurrVerseRange, r);
    iCurrVerseRange = r;
    store("PlayVerseRange", r, "PlayVerseRangeDidChange");
    if (r != 0 && iCurrSurahRepeat == 1) {
      moveCheckmark(tableView, 0, 1, 0);
      iCurrSurahRepeat = 0;
      store("SurahRepeatCounter", 0, "SurahRepeatDidChange");
    }
  }
}

void PlayNextAyasController::btnBackPressed() {
  if (auto d = delegate.lock()) d->dismissNextAyahOptionSheet();
}

// ---- Play each aya ------------------------------------------------------------------------------------

void AyaRepeatController::viewDidLoad() {
  iCurrentRepeatAyah = int(defaults().integerForKey("AyahRepeatCounter"));
  styleTopBar(text("Play each aya"));
  hideLegend(*this);
}

std::string AyaRepeatController::rowText(int row) {
  static const char* const kRows[] = {"Once", "Twice", "3 times", "4 times", "5 times", "Keep playing selected aya only"};
  return row >= 0 && row < 6 ? text(kRows[row]) : "";
}

std::shared_ptr<ui::TableViewCell> AyaRepeatController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                              const ui::IndexPath& indexPath) {
  auto cell = verseCell(tableView);
  cell->textLabel()->setText(rowText(indexPath.row));
  setCheck(*cell, indexPath.row == iCurrentRepeatAyah);
  return cell;
}

void AyaRepeatController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  if (indexPath.section != 0 || indexPath.row < 0 || indexPath.row > 5) return;
  tableView->deselectRowAtIndexPath(indexPath, true);
  moveCheckmark(tableView, 0, iCurrentRepeatAyah, indexPath.row);
  iCurrentRepeatAyah = indexPath.row;
  store("AyahRepeatCounter", indexPath.row, "AyahRepeatDidChange");
  if (auto d = delegate.lock()) d->dismissAyahRepeatOptionSheet();
}

void AyaRepeatController::btnBackPressed() {
  if (auto d = delegate.lock()) d->dismissAyahRepeatOptionSheet();
}
