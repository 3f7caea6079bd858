#pragma once
// Searching a screen's content from a search bar: while a search is active
// the content is dimmed and the bar shows Cancel; once there is text, a
// results table lies over the content below the bar, filled by the results
// data source and delegate (not retained). The controller becomes the bar's
// delegate and tells its own delegate of each step. Main thread only.
#include <memory>
#include <string>

#include "platform/ui/SearchBar.h"
#include "platform/ui/TableView.h"

namespace ui {

class SearchDisplayController;
class ViewController;

// Every call is optional; the reload questions answer yes by default.
class SearchDisplayDelegate {
 public:
  virtual ~SearchDisplayDelegate() = default;
  virtual void searchDisplayControllerWillBeginSearch(SearchDisplayController&) {}
  virtual void searchDisplayControllerDidBeginSearch(SearchDisplayController&) {}
  virtual void searchDisplayControllerWillEndSearch(SearchDisplayController&) {}
  virtual void searchDisplayControllerDidEndSearch(SearchDisplayController&) {}
  virtual void didLoadSearchResultsTableView(SearchDisplayController&, TableView&) {}
  virtual void willUnloadSearchResultsTableView(SearchDisplayController&, TableView&) {}
  virtual void willShowSearchResultsTableView(SearchDisplayController&, TableView&) {}
  virtual void didShowSearchResultsTableView(SearchDisplayController&, TableView&) {}
  virtual void willHideSearchResultsTableView(SearchDisplayController&, TableView&) {}
  virtual void didHideSearchResultsTableView(SearchDisplayController&, TableView&) {}
  // True reloads the results table now.
  virtual bool shouldReloadTableForSearchString(SearchDisplayController&, const std::string& searchString) {
    (void)searchString;
    return true;
  }
  virtual bool shouldReloadTableForSearchScope(SearchDisplayController&, int scope) {
    (void)scope;
    return true;
  }
};

class SearchDisplayController {
 public:
  SearchDisplayController(std::shared_ptr<SearchBar> searchBar, ViewController* contentsController);
  virtual ~SearchDisplayController();
  SearchDisplayController(const SearchDisplayController&) = delete;
  SearchDisplayController& operator=(const SearchDisplayController&) = delete;

  const std::shared_ptr<SearchBar>& searchBar() const { return searchBar_; }
  ViewController* searchContentsController() const { return contents_; }
  std::shared_ptr<SearchDisplayDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<SearchDisplayDelegate> delegate) { delegate_ = std::move(delegate); }
  void setSearchResultsDataSource(std::weak_ptr<TableViewDataSource> source);
  virtual void setSearchResultsDelegate(std::weak_ptr<TableViewDelegate> delegate);
  // Made on first use (the delegate hears it was loaded).
  const std::shared_ptr<TableView>& searchResultsTableView();
  bool isShowingResults() const { return showingResults_; }

  bool isActive() const { return active_; }
  // Begins (dims the content, shows Cancel) or ends (the results and the
  // text go) a search.
  void setActive(bool active, bool animated = false);
  // The search scope changed to the index.
  void selectScope(int scope);

 private:
  class BarDelegate;
  void textChanged(const std::string& text);
  void showResults(bool show);
  cg::Rect contentRectBelowBar() const;

  std::shared_ptr<SearchBar> searchBar_;
  ViewController* contents_;  // the contents controller owns (through its view) the bar and this controller
  std::weak_ptr<SearchDisplayDelegate> delegate_;
  std::weak_ptr<TableViewDataSource> resultsDataSource_;
  std::weak_ptr<TableViewDelegate> resultsDelegate_;
  std::shared_ptr<TableView> resultsTable_;
  std::shared_ptr<View> dimmingView_;
  std::shared_ptr<BarDelegate> barDelegate_;
  bool active_ = false;
  bool showingResults_ = false;
};

}  // namespace ui
