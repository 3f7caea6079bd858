#include "toolkit/tables/TKSearchDisplayController.h"

#include "platform/ui/ViewController.h"
#include "toolkit/core/TKModel.h"
#include "toolkit/core/TKViewController.h"
#include "toolkit/core/View+TKCategory.h"
#include "toolkit/tables/TKTableViewController.h"
#include "toolkit/tables/TKTableViewDataSource.h"

std::shared_ptr<TKSearchDisplayController> TKSearchDisplayController::make(std::shared_ptr<ui::SearchBar> searchBar,
                                                                           ui::ViewController* contents) {
  auto controller = std::make_shared<TKSearchDisplayController>(std::move(searchBar), contents);
  controller->setDelegate(std::weak_ptr<ui::SearchDisplayDelegate>(controller));
  return controller;
}

TKSearchDisplayController::TKSearchDisplayController(std::shared_ptr<ui::SearchBar> searchBar,
                                                     ui::ViewController* contentsController)
    : ui::SearchDisplayController(std::move(searchBar), contentsController) {}

TKSearchDisplayController::~TKSearchDisplayController() { pauseTimer_.invalidate(); }

void TKSearchDisplayController::setSearchResultsDelegate(std::weak_ptr<ui::TableViewDelegate> delegate) {
  searchResultsDelegate2_ = delegate.lock();
  ui::SearchDisplayController::setSearchResultsDelegate(std::move(delegate));
}

void TKSearchDisplayController::setSearchResultsViewController(std::shared_ptr<TKTableViewController> controller) {
  resultsController_ = std::move(controller);
}

void TKSearchDisplayController::searchWith(const std::string& text) {
  if (!resultsController_) return;
  if (auto source = resultsController_->dataSource()) source->search(text);
}

// The table is refreshed when the data source's model reports, not here.
bool TKSearchDisplayController::shouldReloadTableForSearchString(ui::SearchDisplayController&,
                                                                 const std::string& searchString) {
  if (pausesBeforeSearching_) restartPauseTimer();
  else searchWith(searchString);
  return false;
}

bool TKSearchDisplayController::shouldReloadTableForSearchScope(ui::SearchDisplayController&, int) {
  searchWith(searchBar() ? searchBar()->text() : "");
  return false;
}

void TKSearchDisplayController::restartPauseTimer() {
  pauseTimer_.invalidate();
  std::weak_ptr<TKSearchDisplayController> weak = weak_from_this();
  pauseTimer_ = ns::RunLoop::main().scheduleTimer(kPauseInterval, false, [weak] {
    if (auto self = weak.lock()) self->searchAfterPause();
  });
}

void TKSearchDisplayController::searchAfterPause() {
  pauseTimer_ = ns::Timer();
  searchWith(searchBar() ? searchBar()->text() : "");
}

void TKSearchDisplayController::didShowSearchResultsTableView(ui::SearchDisplayController&, ui::TableView& table) {
  if (!resultsController_) return;
  resultsController_->setTableView(std::static_pointer_cast<ui::TableView>(table.shared_from_this()));
  resultsController_->viewWillAppear(false);
  resultsController_->viewDidAppear(false);
}

void TKSearchDisplayController::resetResults() {
  if (!resultsController_) return;
  if (resultsController_->model()->isLoading()) resultsController_->model()->cancel();
  searchWith("");
  resultsController_->viewWillDisappear(false);
  resultsController_->viewDidDisappear(false);
  resultsController_->setTableView(nullptr);
}

void TKSearchDisplayController::moveBar(bool up) {
  ui::ViewController* contents = searchContentsController();
  ui::View* bar = searchBar().get();
  ui::View* holder = bar ? bar->superview() : nullptr;
  if (!contents || contents->navigationController() || !holder) return;
  ui::View::beginAnimations("TKSearchDisplayMoveBar");
  cg::Rect f = holder->frame();
  float dy = up ? -(ui::screenY(*bar) - kStatusBarHeight) : bar->frame().y() - kStatusBarHeight;
  holder->setFrame(f.offsetBy(0, dy));
  ui::View::commitAnimations();
}

void TKSearchDisplayController::searchDisplayControllerWillBeginSearch(ui::SearchDisplayController&) {
  moveBar(true);
  // While the search runs, the navigator's visible screen is the results one.
  if (auto* contents = dynamic_cast<TKViewController*>(searchContentsController()))
    contents->setActiveSearchResultsController(resultsController_);
}

void TKSearchDisplayController::searchDisplayControllerWillEndSearch(ui::SearchDisplayController&) { moveBar(false); }

void TKSearchDisplayController::searchDisplayControllerDidEndSearch(ui::SearchDisplayController&) {
  resetResults();
  if (auto* contents = dynamic_cast<TKViewController*>(searchContentsController()))
    contents->setActiveSearchResultsController({});
}

void TKPopupView::willRemoveSubview(ui::View*) {
  auto keep = shared_from_this();
  removeFromSuperview();
}
