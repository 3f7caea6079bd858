#include "Classes/settings/SupplicationsDetailsController.h"

#include <algorithm>

#include "Classes/common/ScreenSupport.h"
#include "Classes/search/SearchCellView.h"
#include "Classes/search/SearchViewCell.h"
#include "Classes/settings/SupplicationsViewController.h"
#include "platform/foundation/String.h"

namespace {

using screens::localized;

constexpr float kRowHeight = 44;

}  // namespace

// "SupplicationDetailController": the column with the legend's footer, which
// the prostration list puts under its table.
void SupplicationsDetailsController::loadView() {
  buildColumn(tblTable);
  float w = tblTable->bounds().width();
  viewBottomFooter = std::make_shared<ui::View>(cg::Rect(0, 0, w, 50));
  viewBottomFooter->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewBottomFooter->setBackgroundColor(cg::Color::clear());
  lblBottomLegend = std::make_shared<ui::Label>(cg::Rect(10, 0, w - 20, 50));
  lblBottomLegend->setFont(ui::Font::fontWithName("Helvetica", 13));
  lblBottomLegend->setTextColor(cg::Color::fromRGB255(22, 129, 1));
  lblBottomLegend->setTextAlignment(ui::TextAlignment::Center);
  lblBottomLegend->setBackgroundColor(cg::Color::clear());
  lblBottomLegend->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewBottomFooter->addSubview(lblBottomLegend);
}

void SupplicationsDetailsController::viewDidLoad() { setUpScreen(SupplicationsViewController::themeVerses(isection_)); }

void SupplicationsDetailsController::setUpScreen(const std::vector<std::string>& references) {
  setUpColumn(*tblTable, strHeader_, localized("Back"), cg::Color::clear());
  createSectionForArray(references);
  tblTable->reloadData();
  rethemeUI();
}

void SupplicationsDetailsController::createSectionForArray(const std::vector<std::string>& references) {
  arrSectionViews_.clear();
  arrSectionedResults_.clear();
  sqlite3* db = screens::contentDatabase();
  SearchResultPtr open;
  auto close = [&] {
    if (!open || open->AllResults()->empty()) return;
    open->setSectionResultCount(int(open->AllResults()->size()));
    open->AllResults()->back()->setIsLastInSection(true);
  };
  for (size_t i = 0; i < references.size(); ++i) {
    auto parts = ns::componentsSeparatedByString(references[i], ":");
    int surah = ns::intValue(parts[0]), verse = parts.size() > 1 ? ns::intValue(parts[1]) : 0;
    auto record = std::make_shared<SearchResult>();
    record->setTranslator(0);
    record->setSurah(surah);
    record->setVerse(verse);
    prepareVerse(*record, i);
    if (!open || open->surah() != surah) {
      close();
      open = std::make_shared<SearchResult>();
      open->setSurah(surah);
      open->setTranslator(0);
      open->setIsSurahSection(true);
      arrSectionedResults_.push_back(open);
    }
    record->setVerseText(db ? ChapterInfo::getArabicVerseFor(db, surah, verse) : "");
    open->AllResults()->push_back(record);
  }
  close();
  auto host = std::dynamic_pointer_cast<SupplicationsDetailsController>(shared_from_this());
  for (const auto& section : arrSectionedResults_) {
    auto header = std::make_shared<SearchCellView>(cg::Rect(0, 0, 320, kRowHeight));
    header->setDuaMode();
    header->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleRightMargin);
    header->setThisSearchResult(section);
    header->setViewController(host);
    arrSectionViews_.push_back(header);
  }
}

int SupplicationsDetailsController::numberOfRowsInSection(ui::TableView*, int section) {
  if (section < 0 || section >= int(arrSectionedResults_.size())) return 0;
  const SearchResultPtr& s = arrSectionedResults_[size_t(section)];
  return s->IsSectionCollapsed() ? 0 : int(s->AllResults()->size());
}

std::shared_ptr<ui::View> SupplicationsDetailsController::viewForHeaderInSection(ui::TableView*, int section) {
  if (section < 0 || section >= int(arrSectionViews_.size())) return nullptr;
  return arrSectionViews_[size_t(section)];
}

std::optional<float> SupplicationsDetailsController::heightForHeaderInSection(ui::TableView*, int section) {
  return section >= 0 && section < int(arrSectionViews_.size()) ? kRowHeight : 0.0f;
}

float SupplicationsDetailsController::heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) {
  int s = indexPath.section;
  if (s >= 0 && s < int(arrSectionedResults_.size()) && arrSectionedResults_[size_t(s)]->IsSectionCollapsed()) return 0;
  return kRowHeight;
}

SearchResultPtr SupplicationsDetailsController::verseAt(const ui::IndexPath& indexPath) const {
  int s = indexPath.section, r = indexPath.row;
  if (s < 0 || s >= int(arrSectionedResults_.size())) return nullptr;
  const auto& verses = *arrSectionedResults_[size_t(s)]->AllResults();
  return r >= 0 && r < int(verses.size()) ? verses[size_t(r)] : nullptr;
}

std::shared_ptr<ui::TableViewCell> SupplicationsDetailsController::cellForRowAtIndexPath(
    ui::TableView* tableView, const ui::IndexPath& indexPath) {
  auto cell = std::dynamic_pointer_cast<SearchViewCell>(tableView->dequeueReusableCellWithIdentifier("VerseCell"));
  if (!cell) {
    cell = std::make_shared<SearchViewCell>(ui::TableViewCellStyle::Default, "VerseCell");
    cell->cellView()->setDuaMode();
    cell->cellView()->setViewController(std::dynamic_pointer_cast<SupplicationsDetailsController>(shared_from_this()));
  }
  int s = indexPath.section;
  bool folded = s >= 0 && s < int(arrSectionedResults_.size()) && arrSectionedResults_[size_t(s)]->IsSectionCollapsed();
  cell->cellView()->setThisSearchResult(folded ? nullptr : verseAt(indexPath));
  return cell;
}

void SupplicationsDetailsController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  tableView->deselectRowAtIndexPath(indexPath, true);
  SearchResultPtr verse = verseAt(indexPath);
  if (!verse || verse->IsSurahSection()) return;
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->showSurahView(verse->surah(), verse->verse(), false, false);
}

void SupplicationsDetailsController::sectionWithRow(const SearchResultPtr& section, bool willCollapse) {
  auto it = std::find(arrSectionedResults_.begin(), arrSectionedResults_.end(), section);
  if (it == arrSectionedResults_.end() || !tblTable) return;
  int s = int(it - arrSectionedResults_.begin());
  std::vector<ui::IndexPath> rows;
  for (int r = 0; r < int(section->AllResults()->size()); ++r) rows.push_back({s, r});
  if (willCollapse) tblTable->deleteRowsAtIndexPaths(rows, ui::TableViewRowAnimation::Fade);
  else tblTable->insertRowsAtIndexPaths(rows, ui::TableViewRowAnimation::Fade);
}
