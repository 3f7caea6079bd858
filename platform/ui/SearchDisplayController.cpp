#include "platform/ui/SearchDisplayController.h"

#include "platform/ui/ViewController.h"

namespace ui {

// The bar's delegate: editing begins a search, text changes it, Cancel ends it.
class SearchDisplayController::BarDelegate : public SearchBarDelegate {
 public:
  explicit BarDelegate(SearchDisplayController& owner) : owner_(owner) {}
  void searchBarTextDidBeginEditing(SearchBar&) override { owner_.setActive(true, true); }
  void textDidChange(SearchBar&, const std::string& text) override { owner_.textChanged(text); }
  void searchBarCancelButtonClicked(SearchBar&) override { owner_.setActive(false, true); }

 private:
  SearchDisplayController& owner_;  // owns this delegate
};

SearchDisplayController::SearchDisplayController(std::shared_ptr<SearchBar> searchBar,
                                                 ViewController* contentsController)
    : searchBar_(std::move(searchBar)), contents_(contentsController) {
  barDelegate_ = std::make_shared<BarDelegate>(*this);
  if (searchBar_) searchBar_->setDelegate(barDelegate_);
}

SearchDisplayController::~SearchDisplayController() {
  if (resultsTable_) {
    resultsTable_->setDataSource({});
    resultsTable_->setDelegate({});
    resultsTable_->removeFromSuperview();
  }
  if (dimmingView_) dimmingView_->removeFromSuperview();
}

void SearchDisplayController::setSearchResultsDataSource(std::weak_ptr<TableViewDataSource> source) {
  resultsDataSource_ = source;
  if (resultsTable_) resultsTable_->setDataSource(std::move(source));
}

void SearchDisplayController::setSearchResultsDelegate(std::weak_ptr<TableViewDelegate> delegate) {
  resultsDelegate_ = delegate;
  if (resultsTable_) resultsTable_->setDelegate(std::move(delegate));
}

const std::shared_ptr<TableView>& SearchDisplayController::searchResultsTableView() {
  if (!resultsTable_) {
    resultsTable_ = std::make_shared<TableView>(contentRectBelowBar(), TableViewStyle::Plain);
    resultsTable_->setDataSource(resultsDataSource_);
    resultsTable_->setDelegate(resultsDelegate_);
    if (auto d = delegate()) d->didLoadSearchResultsTableView(*this, *resultsTable_);
  }
  return resultsTable_;
}

// Below the bar, over the rest of the contents controller's view.
cg::Rect SearchDisplayController::contentRectBelowBar() const {
  View* view = contents_ && contents_->isViewLoaded() ? contents_->view().get() : nullptr;
  if (!view) return {};
  cg::Rect b = view->bounds();
  float top = 0;
  if (searchBar_ && searchBar_->superview()) top = searchBar_->convertRectToView(searchBar_->bounds(), view).maxY();
  return cg::Rect(b.x(), top, b.width(), std::max(0.0f, b.height() - top));
}

void SearchDisplayController::setActive(bool active, bool) {
  if (active == active_) return;
  auto d = delegate();
  View* view = contents_ ? contents_->view().get() : nullptr;
  if (active) {
    if (d) d->searchDisplayControllerWillBeginSearch(*this);
    active_ = true;
    if (searchBar_) searchBar_->setShowsCancelButton(true);
    if (view) {
      dimmingView_ = std::make_shared<View>(contentRectBelowBar());
      dimmingView_->setBackgroundColor(cg::Color(0, 0, 0, 0.8f));
      view->addSubview(dimmingView_);
    }
    if (d) d->searchDisplayControllerDidBeginSearch(*this);
    if (searchBar_ && !searchBar_->text().empty()) textChanged(searchBar_->text());
    return;
  }
  if (d) d->searchDisplayControllerWillEndSearch(*this);
  showResults(false);
  if (dimmingView_) dimmingView_->removeFromSuperview();
  dimmingView_.reset();
  active_ = false;
  if (searchBar_) {
    searchBar_->setShowsCancelButton(false);
    searchBar_->setDelegate({});
    searchBar_->setText("");
    searchBar_->resignFirstResponder();
    searchBar_->setDelegate(barDelegate_);
  }
  if (d) d->searchDisplayControllerDidEndSearch(*this);
}

void SearchDisplayController::textChanged(const std::string& text) {
  if (!active_) return;
  auto d = delegate();
  bool reload = !d || d->shouldReloadTableForSearchString(*this, text);
  showResults(!text.empty());
  if (reload && resultsTable_) resultsTable_->reloadData();
}

void SearchDisplayController::selectScope(int scope) {
  auto d = delegate();
  bool reload = !d || d->shouldReloadTableForSearchScope(*this, scope);
  if (reload && resultsTable_) resultsTable_->reloadData();
}

void SearchDisplayController::showResults(bool show) {
  if (show == showingResults_) return;
  auto d = delegate();
  View* view = contents_ ? contents_->view().get() : nullptr;
  if (show) {
    auto& table = searchResultsTableView();
    if (d) d->willShowSearchResultsTableView(*this, *table);
    table->setFrame(contentRectBelowBar());
    if (view) view->addSubview(table);
    showingResults_ = true;
    if (d) d->didShowSearchResultsTableView(*this, *table);
  } else if (resultsTable_) {
    if (d) d->willHideSearchResultsTableView(*this, *resultsTable_);
    resultsTable_->removeFromSuperview();
    showingResults_ = false;
    if (d) d->didHideSearchResultsTableView(*this, *resultsTable_);
  }
}

}  // namespace ui
