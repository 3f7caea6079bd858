#pragma once
// The platform's search display fed from a toolkit table screen: the
// results table is the screen's table while it shows, and the screen's data
// source searches, at once or after a pause in typing. Without a navigation
// bar the search bar moves up under the status bar while a search runs.
// The popup view belongs to a popup controller and leaves its superview as
// soon as one of its subviews does. Main thread only.
#include <memory>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/SearchDisplayController.h"

class TKTableViewController;

class TKSearchDisplayController : public ui::SearchDisplayController,
                                  public ui::SearchDisplayDelegate,
                                  public std::enable_shared_from_this<TKSearchDisplayController> {
 public:
  static constexpr double kPauseInterval = 0.4;
  static constexpr float kStatusBarHeight = 20;

  // Its own delegate from the start.
  static std::shared_ptr<TKSearchDisplayController> make(std::shared_ptr<ui::SearchBar> searchBar,
                                                         ui::ViewController* contentsController);
  TKSearchDisplayController(std::shared_ptr<ui::SearchBar> searchBar, ui::ViewController* contentsController);
  ~TKSearchDisplayController() override;

  // Kept (the platform's table only points at it).
  void setSearchResultsDelegate(std::weak_ptr<ui::TableViewDelegate> delegate) override;
  const std::shared_ptr<TKTableViewController>& searchResultsViewController() const { return resultsController_; }
  void setSearchResultsViewController(std::shared_ptr<TKTableViewController> controller);
  bool pausesBeforeSearching() const { return pausesBeforeSearching_; }
  void setPausesBeforeSearching(bool on) { pausesBeforeSearching_ = on; }

  void resetResults();
  void restartPauseTimer();
  void searchAfterPause();

  bool shouldReloadTableForSearchString(ui::SearchDisplayController&, const std::string& searchString) override;
  bool shouldReloadTableForSearchScope(ui::SearchDisplayController&, int scope) override;
  void didShowSearchResultsTableView(ui::SearchDisplayController&, ui::TableView& table) override;
  void willHideSearchResultsTableView(ui::SearchDisplayController&, ui::TableView&) override { resetResults(); }
  void searchDisplayControllerDidEndSearch(ui::SearchDisplayController&) override;
  void searchDisplayControllerWillBeginSearch(ui::SearchDisplayController&) override;
  void searchDisplayControllerWillEndSearch(ui::SearchDisplayController&) override;

 private:
  void searchWith(const std::string& text);
  // Moves the bar's superview up (or back) when the contents have no navigation bar.
  void moveBar(bool up);

  std::shared_ptr<ui::TableViewDelegate> searchResultsDelegate2_;
  std::shared_ptr<TKTableViewController> resultsController_;
  ns::Timer pauseTimer_;
  bool pausesBeforeSearching_ = false;
};

class TKPopupView : public ui::View {
 public:
  using ui::View::View;
  const std::shared_ptr<ui::ViewController>& popupViewController() const { return popupViewController_; }
  void setPopupViewController(std::shared_ptr<ui::ViewController> controller) {
    popupViewController_ = std::move(controller);
  }
  void didAddSubview(ui::View*) override {}
  // Removing any of its subviews takes the popup view off the screen too.
  void willRemoveSubview(ui::View* subview) override;

 private:
  std::shared_ptr<ui::ViewController> popupViewController_;
};
