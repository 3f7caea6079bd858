// The search display of the toolkit's base screen controller, which needs
// the table screens to show its results.
#include "platform/ui/Screen.h"
#include "toolkit/core/TKViewController.h"
#include "toolkit/core/ViewController+TKCategory.h"
#include "toolkit/tables/TKSearchDisplayController.h"
#include "toolkit/tables/TKTableViewController.h"

void TKViewController::setSearchViewController(std::shared_ptr<TKTableViewController> controller) {
  if (!controller) {
    if (_searchController) _searchController->setSearchResultsViewController(nullptr);
    _searchController.reset();
    return;
  }
  if (!_searchController) {
    float width = isViewLoaded() ? view()->frame().width() : ui::Screen::main().bounds().width();
    auto bar = std::make_shared<ui::SearchBar>(cg::Rect(0, 0, width, 0));
    bar->sizeToFit();
    _searchController = TKSearchDisplayController::make(bar, this);
  }
  ui::setSuperController(*controller, shared_from_this());
  _searchController->setSearchResultsViewController(std::move(controller));
}

std::shared_ptr<TKTableViewController> TKViewController::searchViewController() const {
  return _searchController ? _searchController->searchResultsViewController() : nullptr;
}
