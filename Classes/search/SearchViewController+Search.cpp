// The search bar and what hangs on it: the 0.2 s pause after typing, the
// dimming overlay with the segment bar of what is searched, a history entry
// applied, and each search that found something added to the history.
#include "Classes/common/ScreenSupport.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/search/SearchViewController.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Window.h"

namespace {

using screens::localized;

constexpr std::size_t kHistoryLimit = 200;
constexpr float kTopBarHeight = 52;
constexpr float kSegmentHeight = 40;

bool shownTranslation(int t) { return t != 0 && t != 1000; }

int storedTranslation(const char* key) {
  return int(ns::UserDefaults::standardUserDefaults().integerForKey(key));
}

bool sameText(const std::string& a, const std::string& b) { return ns::caseInsensitiveCompare(a, b) == 0; }

}  // namespace

SavedSearchPtr SearchViewController::getCurrentSavedSearch() {
  std::string text = queryTextFrom(txtSearchBar_ ? txtSearchBar_->text() : "");
  sqlite3* db = screens::userDatabase();
  if (text.empty() || arrSectionedResults_.empty() || !db) return nullptr;
  for (const SavedSearchPtr& entry : ChapterInfo::getSavedSearch(db))
    if (sameText(entry->strSearchText(), text) && entry->iTranslation() == foundInTrans_) return entry;
  return nullptr;
}

// A screen already showing takes the entry's text into its bar and runs it:
// the bar's own text is what every query searches.
void SearchViewController::filterWithSavedSearch(SavedSearchPtr entry) {
  if (!entry) return;
  usePrevOffset = false;
  strLastSearchedWord_ = ns::trim(entry->strSearchText());
  needsToRefresh = true;
  if (lblHintTop) {
    lblHintTop->setText(localized("You can use operators:"));
    lblHintTop->setAlpha(0);
  }
  useSavedSearchFromHistory = entry;
  if (!isViewLoaded()) return;
  auto delegate = txtSearchBar_->delegate();
  txtSearchBar_->setDelegate(std::weak_ptr<ui::SearchBarDelegate>());  // no typing: no pause
  txtSearchBar_->setText(*strLastSearchedWord_);
  txtSearchBar_->setDelegate(delegate);
  needsRefresh = true;
  if (viewIsVisible) viewDidAppear(false);
}

void SearchViewController::addToRecentSearches() {
  sqlite3* db = screens::userDatabase();
  if (!db || !strLastSearchedWord_ || strLastSearchedWord_->empty() || arrSectionedResults_.empty() || loadingResults_)
    return;
  auto entries = ChapterInfo::getSavedSearch(db);
  for (const SavedSearchPtr& entry : entries)
    if (sameText(entry->strSearchText(), *strLastSearchedWord_) && entry->iTranslation() == foundInTrans_) {
      ChapterInfo::updateSavedSearch(db, *entry);  // to the top of the history
      return;
    }
  if (entries.size() >= kHistoryLimit) {
    // The oldest goes, with whatever marks it left.
    const SavedSearch& oldest = *entries.back();
    ChapterInfo::removeReflecttionOnSearchedVerses(db, oldest.iSavedID());
    ChapterInfo::deleteSavedSearch(db, oldest);
  }
  SavedSearch entry;
  entry.setStrSearchText(*strLastSearchedWord_);
  entry.setIHitCount(totalVerses_);
  entry.setITranslation(foundInTrans_);
  entry.setIsReflectedInSurah(false);
  ChapterInfo::addSavedSearch(db, entry);
}

// ---- the search bar --------------------------------------------------------------------------

void SearchViewController::textDidChange(ui::SearchBar&, const std::string&) {
  if (loadingResults_ && cancelPreviousSearch_) cancelPreviousSearch_->store(true);
  ns::RunLoop::main().cancelPreviousPerformRequests(this, "refreshViewWithRetry");
  std::weak_ptr<SearchViewController> weak = self();
  ns::RunLoop::main().performAfter(this, "refreshViewWithRetry", 0.2, [weak] {
    if (auto me = weak.lock()) me->refreshViewWithRetry();
  });
}

void SearchViewController::searchBarTextDidBeginEditing(ui::SearchBar&) {
  showOpaqueView();
  useSavedSearchFromHistory.reset();
  lastTranslationSearched = 0;
  isTextFilterResults = true;
}

void SearchViewController::searchBarTextDidEndEditing(ui::SearchBar& bar) {
  useSavedSearchFromHistory.reset();
  hideOpaqueView();
  isTextFilterResults = !bar.text().empty();
  if (isTextFilterResults) addToRecentSearches();
  takeKeysUnlessTaken();  // Up, Down and Enter then move through the hits
}

// The search runs at once, unless it has just run.
void SearchViewController::searchBarSearchButtonClicked(ui::SearchBar& bar) {
  std::string text = queryTextFrom(bar.text());
  ns::RunLoop::main().cancelPreviousPerformRequests(this, "refreshViewWithRetry");
  if (!(strLastSearchedWord_ && !text.empty() && *strLastSearchedWord_ == text)) refreshViewWithRetry();
  bar.resignFirstResponder();
  addToRecentSearches();
}

void SearchViewController::searchBarCancelButtonClicked(ui::SearchBar& bar) {
  isTextFilterResults = !bar.text().empty();
  bar.resignFirstResponder();
  refreshViewWithRetry();
}

// ---- the overlay and the segments ------------------------------------------------------------

void SearchViewController::rebuildSegments(int P, int S) {
  segmentSelector->removeAllSegments();
  segmentSelector->insertSegmentWithTitle(localized("Qur'an"), 0);
  if (shownTranslation(S)) segmentSelector->insertSegmentWithTitle(ChapterInfo::getTranslationNameForNumber(S), 0);
  if (shownTranslation(P)) segmentSelector->insertSegmentWithTitle(ChapterInfo::getTranslationNameForNumber(P), 0);
  if (segmentSelector->numberOfSegments() == 3) {
    if (lastTranslationSearched == P) segmentSelector->setSelectedSegmentIndex(0);
    else if (lastTranslationSearched == S) segmentSelector->setSelectedSegmentIndex(1);
    else if (lastTranslationSearched == 0) segmentSelector->setSelectedSegmentIndex(2);
  } else if (lastTranslationSearched == 0) {
    segmentSelector->setSelectedSegmentIndex(1);
  } else {
    segmentSelector->setSelectedSegmentIndex(ZarvelSDKAppDelegate::IsLanguageArabic() ? 1 : 0);
  }
}

void SearchViewController::showOpaqueView() {
  if (!viewOpaqueLayer) return;
  int P = storedTranslation("CurrentTranslationPrimary"), S = storedTranslation("CurrentTranslationSecondary");
  bool segments = shownTranslation(P) || shownTranslation(S);
  if (segments) rebuildSegments(P, S);
  float w = view()->bounds().width(), h = view()->bounds().height();
  ui::View::beginAnimations("Show Table");
  ui::View::setAnimationDuration(0.3);
  if (segments) {
    viewCenterContainer->setFrame(cg::Rect(0, kTopBarHeight + kSegmentHeight, w, h - kTopBarHeight - kSegmentHeight));
    viewSegment->setFrame(cg::Rect(0, kTopBarHeight, w, kSegmentHeight));
  }
  viewOpaqueLayer->setUserInteractionEnabled(true);
  viewOpaqueLayer->setBackgroundColor(cg::Color::black());
  viewOpaqueLayer->setAlpha(0.02f);
  ui::View::commitAnimations();
}

void SearchViewController::hideOpaqueView() {
  if (!viewOpaqueLayer) return;
  float w = view()->bounds().width(), h = view()->bounds().height();
  ui::View::beginAnimations("Show Table");
  ui::View::setAnimationDuration(0.3);
  viewCenterContainer->setFrame(cg::Rect(0, kTopBarHeight, w, h - kTopBarHeight));
  viewSegment->setFrame(cg::Rect(0, 0, w, kSegmentHeight));
  viewOpaqueLayer->setUserInteractionEnabled(false);
  viewOpaqueLayer->setAlpha(0);
  ui::View::commitAnimations();
  txtSearchBar_->resignFirstResponder();
}

void SearchViewController::segmentSelectorPressed() {
  needsToRefresh = true;
  useSavedSearchFromHistory.reset();
  strLastSearchedWord_.reset();
  lastTranslationSearched = 0;
  refreshViewWithRetry();
}
