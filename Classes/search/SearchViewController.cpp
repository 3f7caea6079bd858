#include "Classes/search/SearchViewController.h"

#include <algorithm>
#include <cmath>

#include "Classes/common/ScreenSupport.h"
#include "Classes/common/iPadConnectionDelegate.h"
#include "Classes/core/DatabaseWorkers.h"
#include "Classes/core/String+More.h"
#include "Classes/search/SearchCellView.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/String.h"
#include "platform/foundation/Thread.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"

namespace {

using screens::localized;

std::atomic<int> gQueriesRun{0};

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

bool shownTranslation(int t) { return t != 0 && t != 1000; }

// The worker's part: the store's hits as sections of one surah each, every
// hit with its verse (Arabic) or its snippet (a translation), stopped at the
// next hit once the flag is raised.
SearchViewController::Results findResults(sqlite3* content, int trans, const std::string& text, float maxWidth,
                                          const std::atomic<bool>& stop) {
  SearchViewController::Results out;
  out.text = text;
  out.foundInTrans = trans;
  bool limit = false;
  ++gQueriesRun;
  auto hits = ChapterInfo::getSearchResults(content, trans, trans == 0 ? ns::cleanArabicAccents(text) : text, &limit);
  out.limitReached = limit;
  const ui::Font font = ui::Font::fontWithName("Helvetica", 13);
  bool wordEnd = ns::contains(text, " ") || !ns::hasSuffix(text, "*");
  std::string token = ns::getFirstSearchToken(text);
  int ellipsis = int(std::trunc(ui::currentMeasurer().width(ns::kEllipsis, font)));
  bool markup = trans != 0 && !ChapterInfo::isTranslationRTL(trans);
  SearchResultPtr section, previous;
  for (const SearchResultPtr& hit : hits) {
    if (stop.load()) break;
    if (!section || hit->surah() != section->surah()) {
      if (section) section->setSectionResultCount(int(section->AllResults()->size()));
      if (previous) previous->setIsLastInSection(true);
      section = std::make_shared<SearchResult>();
      section->setIsSurahSection(true);
      section->setSurah(hit->surah());
      section->setIsSectionCollapsed(false);  // every new result set starts unfolded
      out.sections.push_back(section);
      ++out.totalSurahs;
    }
    ++out.totalVerses;
    if (hit->translator() != 0) {
      std::string verse = ChapterInfo::getTranslationFor(content, hit->translator(), hit->surah(), hit->verse());
      hit->setVerseText(ns::getPartialStringForSearchKeyword(verse, text, font, maxWidth, markup, wordEnd, token, ellipsis));
    } else {
      hit->setVerseText(ChapterInfo::getArabicVerseFor(content, hit->surah(), hit->verse()));
    }
    section->AllResults()->push_back(hit);
    previous = hit;
  }
  if (previous) previous->setIsLastInSection(true);
  if (section) section->setSectionResultCount(int(section->AllResults()->size()));
  if (stop.load()) {
    out.stopped = true;
    out.sections.clear();
    out.totalSurahs = out.totalVerses = 0;
  }
  return out;
}

}  // namespace

int SearchViewController::queriesRun() { return gQueriesRun.load(); }

SearchViewController::SearchViewController() = default;

SearchViewController::~SearchViewController() {
  ns::RunLoop::main().cancelPreviousPerformRequests(this);
  if (cancelPreviousSearch_) cancelPreviousSearch_->store(true);  // a worker still running stops at its next hit
}

std::shared_ptr<SearchViewController> SearchViewController::self() {
  return std::static_pointer_cast<SearchViewController>(shared_from_this());
}

std::string SearchViewController::queryTextFrom(const std::string& typed) {
  // A pasted page must not reach the store whole: its first words, its first characters.
  std::string text = ns::trim(typed);
  auto space = [&text](std::size_t i) { return std::isspace(static_cast<unsigned char>(text[i])) != 0; };
  std::size_t words = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (space(i)) {
      ++i;
      continue;
    }
    if (++words > kMaxQueryWords) {
      text = ns::trim(text.substr(0, i));
      break;
    }
    while (i < text.size() && !space(i)) ++i;
  }
  if (ns::length16(text) > kMaxQueryLength) text = ns::trim(ns::substring16(text, 0, kMaxQueryLength));
  return text;
}

// ---- view life -----------------------------------------------------------------------------------

void SearchViewController::viewDidLoad() {
  auto& center = ns::NotificationCenter::defaultCenter();
  std::weak_ptr<SearchViewController> weak = self();
  observers_.push_back(center.addObserver("TranslationDidChange", [weak](const ns::Value&) {
    if (auto me = weak.lock()) me->translationDidChange();
  }));
  observers_.push_back(center.addObserver("ArabicLanguageChanged", [weak](const ns::Value&) {
    if (auto me = weak.lock()) me->arabicLanguageChanged();
  }));
  lblHintTitle->setTextAlignment(ZarvelSDKAppDelegate::IsLanguageArabic() ? ui::TextAlignment::Right
                                                                          : ui::TextAlignment::Left);
  btnSavedSearches->setBackgroundImage(screens::stretchedImage("ipad-button-arrow-left.png", 19, 0),
                                       ui::ControlStateNormal);
  btnSavedSearches->setBackgroundImage(screens::stretchedImage("ipad-button-arrow-left-t.png", 19, 0),
                                       ui::ControlStateHighlighted);
  makeOpaqueLayer();
  if (!needsToRefresh) {
    usePrevOffset = true;
    currTblOffset = cg::Point(0, float(defaults().integerForKey("LastSearchYOffset")));
    std::string last = defaults().stringForKey("LastSearchString");
    strLastSearchedWord_ = last.empty() ? std::nullopt : std::optional<std::string>(last);
    lastTranslationSearched = int(defaults().integerForKey("LastTranslationSearched"));
  }
  rebuildSegments(int(defaults().integerForKey("CurrentTranslationPrimary")),
                  int(defaults().integerForKey("CurrentTranslationSecondary")));
  txtSearchBar_->setText(strLastSearchedWord_.value_or(""));
  txtSearchBar_->setDelegate(self());  // after the text: restoring it is no typing
  tblSearchResults_->setDataSource(self());
  tblSearchResults_->setDelegate(self());
  viewFrame = view()->frame();
  refreshTheme();
  needsRefresh = true;
}

void SearchViewController::viewWillAppear(bool) {
  auto& center = ns::NotificationCenter::defaultCenter();
  std::weak_ptr<SearchViewController> weak = self();
  keyboardObservers_.clear();
  keyboardObservers_.push_back(center.addObserver(ui::KeyboardWillShowNotification, [weak](const ns::Value& info) {
    if (auto me = weak.lock()) me->keyboardWillShow(info);
  }));
  keyboardObservers_.push_back(center.addObserver(ui::KeyboardWillHideNotification, [weak](const ns::Value& info) {
    if (auto me = weak.lock()) me->keyboardWillHide(info);
  }));
  viewIsVisible = true;
  checkLandscape();
}

void SearchViewController::viewDidAppear(bool) {
  viewIsVisible = true;
  if (needsRefresh) {
    setupResults();
    needsRefresh = false;
  }
}

void SearchViewController::viewWillDisappear(bool) {
  // The window holds its first responder without owning it: the screen gives
  // up the keys while its view is still in the window.
  if (isFirstResponder()) resignFirstResponder();
  keyboardObservers_.clear();
  usePrevOffset = true;
  currTblOffset = tblSearchResults_->contentOffset();
  if (loadingResults_ && cancelPreviousSearch_) cancelPreviousSearch_->store(true);
  defaults().setInteger(int(currTblOffset.y), "LastSearchYOffset");
  defaults().synchronize();
  viewIsVisible = false;
  if (keyboardIsShowing) showHideKeyboard(false);
}

void SearchViewController::viewDidUnload() {
  observers_.clear();
  keyboardObservers_.clear();
  arrSectionViews_.clear();
  arrSectionedResults_.clear();
  strLastSearchedWord_.reset();
  needsRefresh = true;
}

bool SearchViewController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) {
  if (currentSheet_ && currentSheet_->isVisible()) currentSheet_->dismissWithClickedButtonIndex(3, false);
  currentSheet_.reset();
  removeCurrentSelection();
  return true;
}

// The snippets are cut for the width: the query runs again.
void SearchViewController::willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation, double) {
  usePrevOffset = true;
  currTblOffset = tblSearchResults_->contentOffset();
  refreshViewWithRetry();
  checkLandscape();
}

void SearchViewController::translationDidChange() {
  needsRefresh = true;
  strLastSearchedWord_.reset();
  lastTranslationSearched = 0;
  int P = int(defaults().integerForKey("CurrentTranslationPrimary"));
  int S = int(defaults().integerForKey("CurrentTranslationSecondary"));
  if (segmentSelector && shownTranslation(P) && shownTranslation(S) && segmentSelector->numberOfSegments() >= 2) {
    segmentSelector->setTitle(ChapterInfo::getTranslationNameForNumber(P), 0);
    segmentSelector->setTitle(ChapterInfo::getTranslationNameForNumber(S), 1);
  }
  refreshViewWithRetry();
}

void SearchViewController::btnSavedSearchesPressed() {
  if (auto* nav = navigationController()) nav->popViewControllerAnimated(true);
}

// ---- the query -----------------------------------------------------------------------------------

void SearchViewController::refreshViewWithRetry() {
  if (loadingResults_) {
    ns::RunLoop::main().cancelPreviousPerformRequests(this, "refreshViewWithRetry");
    std::weak_ptr<SearchViewController> weak = self();
    ns::RunLoop::main().performAfter(this, "refreshViewWithRetry", 0.2, [weak] {
      if (auto me = weak.lock()) me->refreshViewWithRetry();
    });
    return;
  }
  refreshView();
}

// What is searched: the segment's choice among the shown translations and the
// Arabic, unless a history entry or the last query names it.
int SearchViewController::translationToSearch() const {
  int P = int(defaults().integerForKey("CurrentTranslationPrimary"));
  int S = int(defaults().integerForKey("CurrentTranslationSecondary"));
  int T = 0;
  int segment = segmentSelector ? segmentSelector->selectedSegmentIndex() : 0;
  int segments = segmentSelector ? segmentSelector->numberOfSegments() : 0;
  if (!shownTranslation(P) && !shownTranslation(S)) T = 0;
  else if (segments == 3) T = segment == 0 ? P : segment == 1 ? S : 0;
  else if (segment == 0) T = shownTranslation(P) ? P : shownTranslation(S) ? S : 0;
  if (useSavedSearchFromHistory) T = useSavedSearchFromHistory->iTranslation();
  else if (lastTranslationSearched != 0) T = lastTranslationSearched;
  return T;
}

void SearchViewController::setupResults() {
  if (!isViewLoaded()) return;
  if (loadingResults_) {
    refreshViewWithRetry();  // after the running query
    return;
  }
  std::string text = queryTextFrom(txtSearchBar_->text());
  bool stopped = cancelPreviousSearch_ && cancelPreviousSearch_->load();
  if (!usePrevOffset && !needsToRefresh && !stopped && strLastSearchedWord_ == text && !arrSectionedResults_.empty())
    return;
  if (!isTextFilterResults) tblSearchResults_->setAlpha(0);
  activityView->startAnimating();
  viewFrame = view()->frame();
  lblResultsTitle->setText(localized("Searching..."));
  loadingResults_ = true;
  cancelPreviousSearch_ = std::make_shared<std::atomic<bool>>(false);
  auto stop = cancelPreviousSearch_;
  int trans = translationToSearch();
  // At least a point: a narrow view still gets a snippet.
  float maxWidth = std::max(1.0f, std::trunc(viewFrame.width() - 55 - 18 - 5));
  sqlite3* content = screens::contentDatabase();
  std::weak_ptr<SearchViewController> weak = self();
  ns::Thread::detachNewThread("setupResultsInBG", [weak, content, trans, text, maxWidth, stop] {
    auto pass = DatabaseWorkers::enter();
    if (!pass) return;  // the connections are closing with the application
    auto results = std::make_shared<Results>();
    if (content && !text.empty()) *results = findResults(content, trans, text, maxWidth, *stop);
    else {
      results->text = text;
      results->foundInTrans = trans;
    }
    ns::RunLoop::main().post([weak, results] {
      if (auto me = weak.lock()) me->doneLoadingResults(std::move(*results));
    });
  });
}

void SearchViewController::doneLoadingResults(Results results) {
  arrSectionedResults_ = std::move(results.sections);
  totalSurahs_ = results.totalSurahs;
  totalVerses_ = results.totalVerses;
  limitReached = results.limitReached ? 1 : 0;
  foundInTrans_ = results.foundInTrans;
  strLastSearchedWord_ = results.stopped ? std::nullopt : std::optional<std::string>(results.text);
  lastTranslationSearched = foundInTrans_;

  // One header per section; those of the last results are shown again with the new sections.
  std::weak_ptr<SearchResultCellHost> host = self();
  arrSectionViews_.resize(std::min(arrSectionViews_.size(), arrSectionedResults_.size()));
  for (size_t i = 0; i < arrSectionedResults_.size(); ++i) {
    if (i == arrSectionViews_.size()) {
      auto header = std::make_shared<SearchCellView>(cg::Rect(0, 0, 320, 44));
      header->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleRightMargin);
      header->setViewController(host);
      arrSectionViews_.push_back(header);
    }
    arrSectionViews_[i]->setThisSearchResult(arrSectionedResults_[i]);
  }
  defaults().setInteger(lastTranslationSearched, "LastTranslationSearched");
  defaults().setObject(ns::Value(strLastSearchedWord_.value_or("")), "LastSearchString");
  defaults().synchronize();

  loadingResults_ = false;
  // A stopped query makes way for the newer one: the screen keeps searching.
  if (!results.stopped) activityView->stopAnimating();
  tblSearchResults_->reloadData();
  if (isTextFilterResults) {
    tblSearchResults_->setAlpha(1);
  } else {
    ui::View::beginAnimations("Show Table");
    ui::View::setAnimationDuration(0.1);
    tblSearchResults_->setAlpha(1);
    ui::View::commitAnimations();
  }
  tblSearchResults_->setContentOffset(usePrevOffset ? currTblOffset : cg::Point(0, 0), false);
  usePrevOffset = false;
  if (results.stopped) {
    needsRefresh = true;  // what stopped it runs next, or the next appearance does
    return;
  }
  showTitle();
  lblHintTitle->setTextAlignment(ZarvelSDKAppDelegate::IsLanguageArabic() ? ui::TextAlignment::Right
                                                                          : ui::TextAlignment::Left);
  addToRecentSearches();
}

namespace {

std::string operatorHelp() {
  return localized(
      "\"an example\"\nPut between quotes to find the complete phrase\n\nexam*\nPut an asterisk anywhere in a word "
      "to find all words that contain these letters\n\ngood -bad\nPut a minus before a word to exclude results "
      "containing it\n\ngood OR bad\nUse OR to find verses containing any of the two words");
}

}  // namespace

void SearchViewController::showTitle() {
  std::string limit = limitReached == 1 ? "\n" + localized("Too many results, narrow down search") : "";
  std::string hitWord = localized(totalVerses_ <= 1 ? "result in" : "results in");
  std::string surahWord = localized(totalSurahs_ <= 1 ? "Surah" : "Surahs");
  lblHintTitle->setText("");
  lblHintTop->setAlpha(0);
  lblHintTop->setTextColor(cg::Color::fromRGB255(113, 77, 147));
  if (!arrSectionedResults_.empty()) {
    btnMore->setHidden(false);
    lblResultsTitle->setAlpha(1);
    lblHintTitle->setAlpha(0);
    lblResultsTitle->setText(screens::numberText(totalVerses_) + " " + hitWord + " " +
                             screens::numberText(totalSurahs_) + " " + surahWord + limit);
  } else if (!ns::trim(txtSearchBar_->text()).empty()) {
    btnMore->setHidden(true);
    lblResultsTitle->setAlpha(1);
    lblResultsTitle->setText(localized("No results found"));
  } else {
    btnMore->setHidden(true);
    lblResultsTitle->setAlpha(0);
    showHints();
  }
}

void SearchViewController::showHints() {
  lblHintTitle->setAlpha(1);
  lblHintTop->setText(localized("You can use operators:"));
  lblHintTop->setAlpha(1);
  lblHintTitle->setText(operatorHelp());
  // The help reads from its top, right under its heading.
  cg::Rect f = lblHintTitle->frame();
  f.size.height = lblHintTitle->sizeThatFits(cg::Size{f.width(), 10000}).height;
  lblHintTitle->setFrame(f);
}

void SearchViewController::checkLandscape() {
  if (!lblResultsTitle) return;
  if (!arrSectionedResults_.empty()) {
    lblResultsTitle->setAlpha(1);
    lblHintTop->setAlpha(0);
    lblHintTitle->setAlpha(0);
  } else if (ns::trim(txtSearchBar_->text()).empty()) {
    lblResultsTitle->setAlpha(0);
    showHints();
  } else {
    lblResultsTitle->setAlpha(1);
    lblResultsTitle->setText(localized("No results found"));
    lblHintTop->setAlpha(0);
    lblHintTitle->setAlpha(0);
  }
}

// ---- the operator keys above the keyboard ------------------------------------------------------

void SearchViewController::keybarButtonPressed(ui::Button* sender) {
  std::string add;
  if (sender == btnBarQoute.get()) add = "\"";
  else if (sender == btnBarAsterisk.get()) add = "*";
  else if (sender == btnBarMinus.get()) add = "-";
  else if (sender == btnBarOR.get()) add = " OR ";
  else return;
  txtSearchBar_->setText(txtSearchBar_->text() + add);
}

void SearchViewController::keyboardWillShow(const ns::Value& info) {
  if (!txtSearchBar_->isFirstResponder()) return;
  keyboardSize = ui::keyboardRect(info, ui::KeyboardBoundsUserInfoKey).size;
  if (keyboardIsShowing) showHideKeyboard(false);  // shown again at another size
  showHideKeyboard(true);
}

void SearchViewController::keyboardWillHide(const ns::Value& info) {
  if (!keyboardIsShowing) return;
  keyboardSize = ui::keyboardRect(info, ui::KeyboardBoundsUserInfoKey).size;
  showHideKeyboard(true);
}

void SearchViewController::showHideKeyboard(bool animated) {
  if (!viewSearchBar) return;
  float w = view()->bounds().width(), h = view()->bounds().height();
  if (animated) {
    ui::View::beginAnimations("Show Table");
    ui::View::setAnimationDuration(0.3);
  }
  if (keyboardIsShowing) {
    keyboardIsShowing = false;
    viewSearchBar->setFrame(cg::Rect(0, h, w, 44));
  } else {
    keyboardIsShowing = true;
    if (!viewSearchBar->superview()) {
      viewSearchBar->setFrame(cg::Rect(0, h, w, 44));
      view()->addSubview(viewSearchBar);
    }
    viewSearchBar->setFrame(cg::Rect(0, h + 54 - keyboardSize.height - 44, w, 44));
  }
  if (animated) ui::View::commitAnimations();
}

// ---- keys ------------------------------------------------------------------------------------------

void SearchViewController::takeKeysUnlessTaken() {
  ui::Window* window = view()->window();
  if (window && !window->firstResponder()) becomeFirstResponder();
}

void SearchViewController::moveChoice(int step) {
  std::vector<ui::IndexPath> rows;
  for (size_t s = 0; s < arrSectionedResults_.size(); ++s)
    if (!arrSectionedResults_[s]->IsSectionCollapsed())
      for (size_t r = 0; r < arrSectionedResults_[s]->AllResults()->size(); ++r) rows.push_back({int(s), int(r)});
  if (rows.empty()) return;
  auto current = tblSearchResults_->indexPathForSelectedRow();
  auto it = current ? std::find(rows.begin(), rows.end(), *current) : rows.end();
  long i = it == rows.end() ? (step > 0 ? 0 : long(rows.size()) - 1) : long(it - rows.begin()) + step;
  i = std::clamp(i, 0L, long(rows.size()) - 1);
  tblSearchResults_->selectRowAtIndexPath(rows[size_t(i)], true, ui::TableViewScrollPosition::None);
}

void SearchViewController::keyDown(const ui::KeyEvent& key) {
  if (key.key == "Escape" && !txtSearchBar_->text().empty()) {
    txtSearchBar_->setText("");
    return;
  }
  if (!loadingResults_ && (key.key == "Up" || key.key == "Down")) {
    moveChoice(key.key == "Down" ? 1 : -1);
    return;
  }
  if (!loadingResults_ && key.key == "Return") {
    if (auto path = tblSearchResults_->indexPathForSelectedRow()) {
      if (selectedCell && *selectedCell == *path) return;  // the held row: its sheet is up
      didSelectRowAtIndexPath(tblSearchResults_.get(), *path);
    }
    return;
  }
  ui::ViewController::keyDown(key);
}
