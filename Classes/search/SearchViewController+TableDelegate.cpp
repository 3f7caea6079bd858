// The results table (one foldable section per surah, one row per hit, none
// while a query runs), opening a hit, the sheet of a held hit (mail, message),
// the More sheet (mail every hit, switch the marks of the search on or off),
// and the mail and message texts.
#include <algorithm>

#include "Classes/common/ScreenMail.h"
#include "Classes/common/ScreenSupport.h"
#include "Classes/common/iPadConnectionDelegate.h"
#include "Classes/notes/MailText.h"
#include "Classes/search/SearchCellView.h"
#include "Classes/search/SearchMarks.h"
#include "Classes/search/SearchViewCell.h"
#include "Classes/search/SearchViewController.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"

namespace {

using screens::localized;

constexpr int kMoreSheetTag = 2;
constexpr int kHitSheetTag = 3;

bool shownTranslation(int t) { return t != 0 && t != 1000; }

int storedTranslation(const char* key) {
  return int(ns::UserDefaults::standardUserDefaults().integerForKey(key));
}

}  // namespace

int SearchViewController::numberOfSectionsInTableView(ui::TableView*) { return int(arrSectionedResults_.size()); }

int SearchViewController::numberOfRowsInSection(ui::TableView*, int section) {
  if (loadingResults_) return 0;
  btnMore->setEnabled(!arrSectionedResults_.empty());
  if (section < 0 || section >= int(arrSectionedResults_.size())) return 0;
  const SearchResultPtr& s = arrSectionedResults_[size_t(section)];
  return s->IsSectionCollapsed() ? 0 : int(s->AllResults()->size());
}

std::shared_ptr<ui::View> SearchViewController::viewForHeaderInSection(ui::TableView*, int section) {
  if (section < 0 || section >= int(arrSectionViews_.size())) return nullptr;
  return arrSectionViews_[size_t(section)];
}

std::optional<float> SearchViewController::heightForHeaderInSection(ui::TableView* tableView, int section) {
  return viewForHeaderInSection(tableView, section) ? 44.0f : 0.0f;
}

float SearchViewController::heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) {
  int s = indexPath.section;
  if (s >= 0 && s < int(arrSectionedResults_.size()) && arrSectionedResults_[size_t(s)]->IsSectionCollapsed()) return 0;
  return 44;
}

std::shared_ptr<ui::TableViewCell> SearchViewController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                              const ui::IndexPath& indexPath) {
  auto cell = std::dynamic_pointer_cast<SearchViewCell>(tableView->dequeueReusableCellWithIdentifier("VerseCell"));
  if (!cell) {
    cell = std::make_shared<SearchViewCell>(ui::TableViewCellStyle::Default, "VerseCell");
    cell->cellView()->setViewController(self());
  }
  int s = indexPath.section;
  if (s < 0 || s >= int(arrSectionedResults_.size())) return cell;
  if (arrSectionedResults_[size_t(s)]->IsSectionCollapsed()) cell->cellView()->setThisSearchResult(nullptr);
  else if (SearchResultPtr hit = hitAt(indexPath)) cell->cellView()->setThisSearchResult(hit);
  return cell;
}

SearchResultPtr SearchViewController::hitAt(const ui::IndexPath& p) const {
  if (p.section < 0 || p.section >= int(arrSectionedResults_.size())) return nullptr;
  const auto& rows = *arrSectionedResults_[size_t(p.section)]->AllResults();
  return p.row >= 0 && p.row < int(rows.size()) ? rows[size_t(p.row)] : nullptr;
}

void SearchViewController::openHit(const SearchResult& hit) {
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->showSurahView(hit.surah(), hit.verse(), false, false);
  if (ipaddelegate_ && ipaddelegate_->IsShowingNotes())
    ipaddelegate_->showNotesForSurah(hit.surah(), hit.verse(), true, ipaddelegate_->IsViewInLandscape());
}

void SearchViewController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  tableView->deselectRowAtIndexPath(indexPath, true);
  SearchResultPtr hit = hitAt(indexPath);
  if (hit && !hit->IsSurahSection()) openHit(*hit);
}

void SearchViewController::sectionWithRow(const SearchResultPtr& section, bool willCollapse) {
  auto it = std::find(arrSectionedResults_.begin(), arrSectionedResults_.end(), section);
  if (it == arrSectionedResults_.end()) return;
  int s = int(it - arrSectionedResults_.begin());
  std::vector<ui::IndexPath> rows;
  for (int r = 0; r < int(section->AllResults()->size()); ++r) rows.push_back({s, r});
  if (willCollapse) tblSearchResults_->deleteRowsAtIndexPaths(rows, ui::TableViewRowAnimation::Fade);
  else tblSearchResults_->insertRowsAtIndexPaths(rows, ui::TableViewRowAnimation::Fade);
}

// ---- sheets ----------------------------------------------------------------------------------

void SearchViewController::removeCurrentSelection() {
  if (selectedCell) {
    tblSearchResults_->deselectRowAtIndexPath(*selectedCell, true);
    selectedCell.reset();
  }
  if (txtSearchBar_) txtSearchBar_->resignFirstResponder();
}

void SearchViewController::tapAndHoldRow(SearchViewCell& cell) {
  removeCurrentSelection();
  auto path = tblSearchResults_->indexPathForCell(&cell);
  SearchResultPtr hit = cell.cellView()->ThisSearchResult();
  if (!path || !hit) return;
  selectedCell = path;
  tblSearchResults_->selectRowAtIndexPath(*path, false, ui::TableViewScrollPosition::None);
  currTblOffset = tblSearchResults_->contentOffset();
  std::string title = ns::format("%s %s, %s %s", localized("Sura").c_str(), screens::numberText(hit->surah()).c_str(),
                                 localized("Aya").c_str(), screens::numberText(hit->verse()).c_str());
  currentSheet_ = std::make_shared<ui::ActionSheet>(title, self(), localized("Cancel"), "",
                                                    std::vector<std::string>{localized("Email"), localized("Message")});
  currentSheet_->setTag(kHitSheetTag);
  currentSheet_->showFromRect(cell.frame(), tblSearchResults_.get(), true);
}

// The highlight toggle is offered only for a search the history holds.
void SearchViewController::btnMorePressed() {
  SavedSearchPtr entry = getCurrentSavedSearch();
  std::vector<std::string> buttons{localized("Email Results")};
  moreSheetOffersToggle_ = entry != nullptr;
  if (entry) buttons.push_back(localized(entry->isReflectedInSurah() ? "Unhighlight Results" : "Highlight Results"));
  currentSheet_ = std::make_shared<ui::ActionSheet>("", self(), localized("Cancel"), "", buttons);
  currentSheet_->setTag(kMoreSheetTag);
  currentSheet_->showFromRect(btnMore->convertRectToView(btnMore->bounds(), view().get()), view().get(), true);
}

void SearchViewController::clickedButtonAtIndex(ui::ActionSheet& sheet, int index) {
  if (sheet.tag() == kHitSheetTag) {
    SearchResultPtr hit = selectedCell && tblSearchResults_->cellForRowAtIndexPath(*selectedCell) ? hitAt(*selectedCell)
                                                                                                : nullptr;
    if (hit && index == 0) emailText(verseMailBody(hit->surah(), hit->verse()));
    else if (hit && index == 1) smsText(verseMessageText(hit->surah(), hit->verse()));
    removeCurrentSelection();
    return;
  }
  if (sheet.tag() != kMoreSheetTag) return;
  if (index == 0) {
    if (screens::canSendMailOrSay()) emailText(resultsMailBody());
    return;
  }
  if (index != 1 || !moreSheetOffersToggle_) return;
  // Asked again: the text may have changed while the sheet was up.
  SavedSearchPtr entry = getCurrentSavedSearch();
  if (!entry) return;
  if (!searchmarks::reflect(screens::userDatabase(), screens::contentDatabase(), *entry, !entry->isReflectedInSurah())) {
    screens::alert(localized("Error"), localized("The marks of this search could not be changed."));
    return;
  }
  ns::NotificationCenter::defaultCenter().postNotificationName("TranslationDidChange");
}

// ---- mail and message texts -------------------------------------------------------------------

std::string SearchViewController::verseMailBody(int surah, int verse) const {
  int P = storedTranslation("CurrentTranslationPrimary"), S = storedTranslation("CurrentTranslationSecondary");
  int secondary = ipaddelegate_ && ipaddelegate_->isSecondaryTranslationVisible() ? S : 0;
  return mailtext::verseHTML(screens::contentDatabase(), surah, verse, P, secondary);
}

std::string SearchViewController::resultsMailBody() const {
  std::string html = localized("I would like to share the following Qur'anic verses with you") + ":<br><br>";
  for (const SearchResultPtr& section : arrSectionedResults_)
    for (const SearchResultPtr& hit : *section->AllResults())
      html += verseMailBody(hit->surah(), hit->verse()) + "<br><hr><br>";
  return html;
}

std::string SearchViewController::verseMessageText(int surah, int verse) const {
  sqlite3* content = screens::contentDatabase();
  int P = storedTranslation("CurrentTranslationPrimary"), S = storedTranslation("CurrentTranslationSecondary");
  std::string text = ns::format("%s %i, %s %i:\n\n", localized("Surah").c_str(), surah, localized("Verse").c_str(), verse) +
                     (content ? ChapterInfo::getArabicVerseFor(content, surah, verse) : "");
  auto translated = [&](int t) {
    return "\n\n" + (content ? ChapterInfo::getTranslationFor(content, t, surah, verse) : "") + " (" +
           ChapterInfo::getTranslationNameForNumber(t) + ")";
  };
  if (shownTranslation(P)) text += translated(P);
  if (shownTranslation(S) && S != P && ipaddelegate_ && ipaddelegate_->isSecondaryTranslationVisible())
    text += translated(S);
  return text;
}

void SearchViewController::emailText(const std::string& html) {
  if (!screens::canSendMailOrSay()) return;
  std::string body = html + "<br><br><br>" + mailtext::storeLinkHTML(localized("via Zarvel HD")) + "<br><br>";
  ui::ViewController* presenter = ipaddelegate_ ? ipaddelegate_->getViewController() : nullptr;
  mailComposer = screens::presentMail(body, self(), presenter ? *presenter : *this);
}

// The desktop has no text-message composer.
void SearchViewController::smsText(const std::string&) {
  screens::alert(localized("Cannot Send SMS"),
                 localized("Your device is not capable of sending SMS. An iPhone with iOS 4.0 or greater is required."));
}

void SearchViewController::mailComposeController(ui::MailComposeViewController&, ui::MailComposeResult result,
                                                 const std::string& error) {
  ui::ViewController* presenter = ipaddelegate_ ? ipaddelegate_->getViewController() : nullptr;
  screens::finishMail(result, error, presenter ? *presenter : *this);
  mailComposer.reset();
}
