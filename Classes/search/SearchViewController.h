#pragma once
// The search screen of the Search tab: a query typed into the search bar runs,
// 0.2 s after the last key, on a worker against the Arabic text or one of the
// two translations the reading screen shows; the hits come back as one
// foldable section per surah, each a row with the verse or a snippet with the
// matched word marked, under a title that counts them. A bar of operator keys
// rides above the keyboard, a segment bar picks what is searched while the
// bar is edited, and every search that found something joins the history.
//
// One query runs at a time: a newer one waits in 0.2 s steps and stops the
// running one, which checks an atomic flag per hit. The worker builds its
// results apart and the main thread takes them over; a worker whose screen
// was dropped hands them to no one. The core (this file's .cpp) holds the
// state, the view life and the query; the layout, the search bar and history,
// and the table with its sheets live in the category files beside it. Main
// thread only, but for the worker.
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/common/OpaqueLayer.h"
#include "Classes/core/SavedSearch.h"
#include "Classes/core/SearchResult.h"
#include "Classes/search/SearchResultCellHost.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class iPadConnectionDelegate;
class SearchCellView;

class SearchViewController : public ui::ViewController,
                             public ui::TableViewDataSource,
                             public ui::TableViewDelegate,
                             public ui::SearchBarDelegate,
                             public OpaqueLayerDelegate,
                             public SearchResultCellHost,
                             public ui::ActionSheetDelegate,
                             public ui::MailComposeViewControllerDelegate {
 public:
  // What a query gives the screen.
  struct Results {
    std::vector<SearchResultPtr> sections;
    int totalSurahs = 0, totalVerses = 0;
    bool limitReached = false;
    int foundInTrans = 0;
    std::string text;  // as it ran
    bool stopped = false;
  };
  // Searches are cut to this many characters and words before they reach the store.
  static constexpr std::size_t kMaxQueryLength = 256;
  static constexpr std::size_t kMaxQueryWords = 16;

  SearchViewController();
  ~SearchViewController() override;

  void setIpaddelegate(iPadConnectionDelegate* root) { ipaddelegate_ = root; }
  iPadConnectionDelegate* ipaddelegate() const { return ipaddelegate_; }
  ui::SearchBar* txtSearchBar() const { return txtSearchBar_.get(); }
  ui::TableView* tblSearchResults() const { return tblSearchResults_.get(); }
  bool loadingResults() const { return loadingResults_; }
  const std::vector<SearchResultPtr>& arrSectionedResults() const { return arrSectionedResults_; }
  const std::vector<std::shared_ptr<SearchCellView>>& arrSectionViews() const { return arrSectionViews_; }
  int totalVerses() const { return totalVerses_; }
  int totalSurahs() const { return totalSurahs_; }
  int foundInTrans() const { return foundInTrans_; }
  const std::optional<std::string>& strLastSearchedWord() const { return strLastSearchedWord_; }
  ui::ActionSheet* currentSheet() const { return currentSheet_.get(); }
  // Queries the store ran for this process's search screens (tests, benchmarks).
  static int queriesRun();

  // ---- view life ---------------------------------------------------------------------------
  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  void viewDidUnload() override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation o) override;
  void willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation to, double duration) override;
  void refreshTheme();
  void checkLandscape();
  void translationDidChange();
  void arabicLanguageChanged() { needsRefresh = true; }
  void btnSavedSearchesPressed();

  // ---- the query ---------------------------------------------------------------------------
  void refreshView() { setupResults(); }
  void refreshViewWithRetry();
  void setupResults();
  // The search text as it reaches the store: trimmed, then cut to the limits.
  static std::string queryTextFrom(const std::string& typed);

  // ---- keyboard and operator keys ------------------------------------------------------------
  void keybarButtonPressed(ui::Button* sender);
  void keyboardWillShow(const ns::Value& info);
  void keyboardWillHide(const ns::Value& info);
  void showHideKeyboard(bool animated);

  // ---- search bar, overlay, segments and history (SearchViewController+Search.cpp) --------------
  SavedSearchPtr getCurrentSavedSearch();
  void filterWithSavedSearch(SavedSearchPtr entry);
  void addToRecentSearches();
  void textDidChange(ui::SearchBar& bar, const std::string& text) override;
  void searchBarTextDidBeginEditing(ui::SearchBar& bar) override;
  void searchBarTextDidEndEditing(ui::SearchBar& bar) override;
  void searchBarSearchButtonClicked(ui::SearchBar& bar) override;
  void searchBarCancelButtonClicked(ui::SearchBar& bar) override;
  void showOpaqueView();
  void hideOpaqueView() override;
  void segmentSelectorPressed();

  // ---- the table and its sheets (SearchViewController+TableDelegate.cpp) ------------------------
  int numberOfSectionsInTableView(ui::TableView* tableView) override;
  int numberOfRowsInSection(ui::TableView* tableView, int section) override;
  std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView* tableView, int section) override;
  std::optional<float> heightForHeaderInSection(ui::TableView* tableView, int section) override;
  float heightForRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  void sectionWithRow(const SearchResultPtr& section, bool willCollapse) override;
  void tapAndHoldRow(SearchViewCell& cell) override;
  void btnMorePressed();
  void removeCurrentSelection();
  void clickedButtonAtIndex(ui::ActionSheet& sheet, int index) override;
  // The mail of one hit, of every hit, and the text message of one hit.
  std::string verseMailBody(int surah, int verse) const;
  std::string resultsMailBody() const;
  std::string verseMessageText(int surah, int verse) const;
  void emailText(const std::string& html);
  void smsText(const std::string& text);
  void mailComposeController(ui::MailComposeViewController& controller, ui::MailComposeResult result,
                             const std::string& error) override;

  // ---- keys: Enter opens the chosen hit, Up and Down choose, Escape clears the field --------------
  bool canBecomeFirstResponder() const override { return true; }
  void keyDown(const ui::KeyEvent& key) override;

  // The outlets, as the layout builder made them ("SearchView").
  std::shared_ptr<ui::ImageView> imgBG, imgBatchEditBarBG, imgTopBarBG;
  std::shared_ptr<ui::TableView> tblSearchResults_;
  std::shared_ptr<ui::View> viewBatchEditBar, viewTopNavBar, viewCenterContainer, viewSegment, viewResultsBG,
      viewSearchBar;
  std::shared_ptr<ui::Button> btnBatchMove, btnBatchRemove, btnBatchShare, btnSavedSearches, btnMore, btnBarQoute,
      btnBarAsterisk, btnBarMinus, btnBarOR;
  std::shared_ptr<ui::SegmentedControl> segmentSelector;
  std::shared_ptr<ui::Label> lblResultsTitle, lblHintTop, lblHintTitle;
  std::shared_ptr<ui::SearchBar> txtSearchBar_;
  std::shared_ptr<ui::ActivityIndicatorView> activityView;
  std::shared_ptr<OpaqueLayer> viewOpaqueLayer;
  std::shared_ptr<ui::MailComposeViewController> mailComposer;

 private:
  // Layout (SearchViewController+Layout.cpp), one function per area.
  void buildTopBar(ui::View& root);
  void buildSegments(ui::View& root);
  void buildResults(ui::View& root);
  void buildKeyBar(ui::View& root);
  void makeOpaqueLayer();

  std::shared_ptr<SearchViewController> self();
  int translationToSearch() const;
  void doneLoadingResults(Results results);
  void showTitle();
  void showHints();
  SearchResultPtr hitAt(const ui::IndexPath& indexPath) const;
  void rebuildSegments(int primary, int secondary);
  void openHit(const SearchResult& hit);
  void moveChoice(int step);
  void takeKeysUnlessTaken();

  iPadConnectionDelegate* ipaddelegate_ = nullptr;
  SavedSearchPtr useSavedSearchFromHistory;
  int foundInTrans_ = 0;
  int limitReached = 0;
  int lastTranslationSearched = 0;
  std::optional<std::string> strLastSearchedWord_;
  std::vector<SearchResultPtr> arrSectionedResults_;
  std::vector<std::shared_ptr<SearchCellView>> arrSectionViews_;
  int totalSurahs_ = 0, totalVerses_ = 0;
  // The running query's stop flag, shared with its worker.
  std::shared_ptr<std::atomic<bool>> cancelPreviousSearch_;
  bool usePrevOffset = false;
  cg::Point currTblOffset;
  std::shared_ptr<ui::ActionSheet> currentSheet_;
  std::optional<ui::IndexPath> selectedCell;
  bool needsRefresh = false;
  cg::Rect viewFrame;
  bool keyboardIsShowing = false;
  cg::Size keyboardSize;
  bool loadingResults_ = false;
  bool needsToRefresh = false;
  bool isTextFilterResults = false;
  bool viewIsVisible = false;
  bool moreSheetOffersToggle_ = false;
  std::vector<ns::Observer> observers_;
  std::vector<ns::Observer> keyboardObservers_;
};
