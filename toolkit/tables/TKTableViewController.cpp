#include "toolkit/tables/TKTableViewController.h"

#include <algorithm>

#include "toolkit/core/Object+TKCategory.h"
#include "toolkit/core/TKGlobal.h"
#include "toolkit/core/TKNavigator.h"
#include "toolkit/core/TableView+TKCategory.h"
#include "toolkit/core/View+TKCategory.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/tables/TKActivityLabel.h"
#include "toolkit/tables/TKErrorView.h"
#include "toolkit/tables/TKTableItem.h"
#include "toolkit/tables/TKTableView.h"
#include "toolkit/tables/TKTableViewDataSource.h"
#include "toolkit/tables/TKTableViewDelegate.h"

namespace {

// The container of the loading, empty and error views and the banner. Where
// none of them is hit, touches go through to the table beneath, so a banner
// alone leaves the table usable.
class OverlayView : public ui::View {
 public:
  using ui::View::View;
  ui::View* hitTest(cg::Point p) override {
    ui::View* hit = ui::View::hitTest(p);
    return hit == this ? nullptr : hit;
  }
};

constexpr unsigned kFlexibleSize = ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight;

}  // namespace

TKTableViewController::TKTableViewController(ui::TableViewStyle style)
    : tableViewStyle_(style), lastInterfaceOrientation_(interfaceOrientation()) {}

TKTableViewController::~TKTableViewController() {
  if (tableView_) {
    tableView_->setDelegate({});
    tableView_->setDataSource({});
  }
}

// --- the table ----------------------------------------------------------------------

std::shared_ptr<ui::TableView> TKTableViewController::tableView() {
  if (tableView_) return tableView_;
  std::shared_ptr<ui::View> view = this->view();  // loading the view makes the table
  if (tableView_) return tableView_;
  auto table = std::make_shared<TKTableView>(view->bounds(), tableViewStyle_);
  table->setAutoresizingMask(kFlexibleSize);
  auto sheet = TKStyleSheet::globalStyleSheet();
  std::optional<cg::Color> background = tableViewStyle_ == ui::TableViewStyle::Grouped
                                            ? std::optional(sheet->tableGroupedBackgroundColor())
                                            : sheet->tablePlainBackgroundColor();
  if (background) {
    table->setBackgroundColor(background);
    view->setBackgroundColor(background);
  }
  tableView_ = table;
  view->addSubview(table);
  return tableView_;
}

void TKTableViewController::setTableView(std::shared_ptr<ui::TableView> tableView) {
  if (tableView == tableView_) return;
  tableView_ = std::move(tableView);
  if (!tableView_) {
    setTableBannerView(nullptr, true);
    setTableOverlayView(nullptr, false);
  }
}

void TKTableViewController::loadView() {
  TKModelViewController::loadView();
  tableView();
}

void TKTableViewController::viewDidUnload() {
  TKModelViewController::viewDidUnload();
  if (tableView_) {
    tableView_->setDelegate({});
    tableView_->setDataSource({});
  }
  tableDelegate_.reset();
  tableView_.reset();
  for (auto* slot : {&tableBannerView_, &tableOverlayView_, &loadingView_, &errorView_, &emptyView_, &menuView_}) {
    if (*slot) (*slot)->removeFromSuperview();
    slot->reset();
  }
  if (menuCell_) menuCell_->removeFromSuperview();
  menuCell_.reset();
}

void TKTableViewController::viewWillAppear(bool animated) {
  TKModelViewController::viewWillAppear(animated);
  ui::InterfaceOrientation orientation = interfaceOrientation();
  if (orientation == lastInterfaceOrientation_) {
    if (auto* table = dynamic_cast<TKTableView*>(tableView_.get())) table->setHighlightedLabel(nullptr);
  } else {
    lastInterfaceOrientation_ = orientation;
    if (tableView_) tableView_->reloadData();
  }
  if (tableView_)
    if (auto selected = tableView_->indexPathForSelectedRow()) tableView_->deselectRowAtIndexPath(*selected, false);
}

void TKTableViewController::viewWillDisappear(bool animated) {
  TKModelViewController::viewWillDisappear(animated);
  hideMenu(true);
}

void TKTableViewController::setEditing(bool editing, bool animated) {
  editing_ = editing;
  if (tableView_) tableView_->setEditing(editing, animated);
}

// --- data source, delegate and model ---------------------------------------------

void TKTableViewController::setDataSource(std::shared_ptr<TKTableViewDataSource> dataSource) {
  if (dataSource == dataSource_) return;
  dataSource_ = std::move(dataSource);
  if (tableView_) tableView_->setDataSource({});
  setModel(dataSource_ ? dataSource_->model() : nullptr);
}

void TKTableViewController::createInterstitialModel() {
  setDataSource(std::make_shared<TKTableViewInterstialDataSource>());
}

std::shared_ptr<ui::TableViewDelegate> TKTableViewController::createDelegate() {
  if (variableHeightRows_) return std::make_shared<TKTableViewVarHeightDelegate>(this);
  return std::make_shared<TKTableViewDelegate>(this);
}

void TKTableViewController::updateTableDelegate() {
  auto table = tableView();
  if (!table->delegate().expired()) return;
  tableDelegate_ = createDelegate();
  table->setDelegate({});
  table->setDelegate(tableDelegate_);
}

void TKTableViewController::setVariableHeightRows(bool variable) {
  if (variable == variableHeightRows_) return;
  variableHeightRows_ = variable;
  if (tableView_) tableView_->setDelegate({});
}

bool TKTableViewController::canShowModel() {
  if (!dataSource_) return false;
  auto table = tableView();
  int sections = dataSource_->numberOfSectionsInTableView(table.get());
  if (sections == 0) return false;
  if (sections > 1) return true;
  return dataSource_->numberOfRowsInSection(table.get(), 0) > 0;
}

void TKTableViewController::didLoadModel(bool firstTime) {
  TKModelViewController::didLoadModel(firstTime);
  if (dataSource_) dataSource_->tableViewDidLoadModel(tableView().get());
}

void TKTableViewController::didShowModel(bool firstTime) {
  TKModelViewController::didShowModel(firstTime);
  if (firstTime) tableView()->flashScrollIndicators();
}

void TKTableViewController::disconnectTable() {
  auto table = tableView();
  table->setDataSource({});
  table->reloadData();
}

void TKTableViewController::showModel(bool show) {
  hideMenu(true);
  if (!show) {
    disconnectTable();
    return;
  }
  updateTableDelegate();
  auto table = tableView();
  table->setDataSource(dataSource_);
  table->reloadData();
}

std::string TKTableViewController::defaultTitleForLoading() { return TKLibraryLocalizedString("Loading..."); }

void TKTableViewController::showLoading(bool show) {
  if (!show) {
    setLoadingView(nullptr);
    return;
  }
  if (model()->isLoaded() && canShowModel()) return;  // the content stays while it reloads
  std::string title = dataSource_ ? dataSource_->titleForLoading(false) : defaultTitleForLoading();
  if (title.empty()) return;
  auto label = std::make_shared<TKActivityLabel>(cg::Rect(), TKActivityLabelStyle::WhiteBox, title);
  label->setBackgroundColor(tableView()->backgroundColor());
  setLoadingView(label);
}

void TKTableViewController::showStateView(std::shared_ptr<ui::View>& slot, const std::string& title,
                                          const std::string& subtitle, std::shared_ptr<ui::Image> image) {
  std::shared_ptr<ui::View> view;
  if (!title.empty() || !subtitle.empty() || image) {
    auto errorView = std::make_shared<TKErrorView>(title, subtitle, std::move(image));
    errorView->setBackgroundColor(tableView()->backgroundColor());
    view = errorView;
  }
  replaceStateView(slot, view);
  disconnectTable();
}

void TKTableViewController::showError(bool show) {
  if (!show) {
    setErrorView(nullptr);
    return;
  }
  if (model()->isLoaded() && canShowModel()) return;
  const ns::Error* error = modelError() ? &*modelError() : nullptr;
  if (!dataSource_) return showStateView(errorView_, "", "", nullptr);
  showStateView(errorView_, dataSource_->titleForError(error), dataSource_->subtitleForError(error),
                dataSource_->imageForError(error));
}

void TKTableViewController::showEmpty(bool show) {
  if (!show) {
    setEmptyView(nullptr);
    return;
  }
  if (!dataSource_) return showStateView(emptyView_, "", "", nullptr);
  showStateView(emptyView_, dataSource_->titleForEmpty(), dataSource_->subtitleForEmpty(),
                dataSource_->imageForEmpty());
}

void TKTableViewController::beginUpdates() {
  TKModelViewController::beginUpdates();
  tableView()->beginUpdates();
}

void TKTableViewController::endUpdates() {
  TKModelViewController::endUpdates();
  tableView()->endUpdates();
}

void TKTableViewController::modelDidUpdateObject(TKModel& model, const ns::Value& object, const ns::Value& indexPath) {
  modelChanged(Change::Update, model, object, indexPath);
}

void TKTableViewController::modelDidInsertObject(TKModel& model, const ns::Value& object, const ns::Value& indexPath) {
  modelChanged(Change::Insert, model, object, indexPath);
}

void TKTableViewController::modelDidDeleteObject(TKModel& model, const ns::Value& object, const ns::Value& indexPath) {
  modelChanged(Change::Delete, model, object, indexPath);
}

void TKTableViewController::modelChanged(Change change, TKModel& model, const ns::Value& object,
                                         const ns::Value& indexPath) {
  if (&model != _model.get()) return;
  if (!isViewAppearing() || !flags().isShowingModel) {
    refresh();
    return;
  }
  if (!dataSource_) return;
  auto table = tableView();
  std::vector<int> path;
  switch (change) {
    case Change::Insert:
      if (!dataSource_->answersWillInsertObject()) return;
      path = dataSource_->willInsertObject(table.get(), object, indexPath);
      break;
    case Change::Update:
      if (!dataSource_->answersWillUpdateObject()) return;
      path = dataSource_->willUpdateObject(table.get(), object, indexPath);
      break;
    case Change::Delete:
      if (!dataSource_->answersWillRemoveObject()) return;
      path = dataSource_->willRemoveObject(table.get(), object, indexPath);
      break;
  }
  constexpr auto kTop = ui::TableViewRowAnimation::Top;
  if (path.size() == 1) {
    int section = path[0];
    switch (change) {
      case Change::Insert: table->insertSections({section}, kTop); break;
      case Change::Delete: table->deleteSections({section}, kTop); break;
      case Change::Update: {
        // The section's rows are asked again.
        std::vector<ui::IndexPath> rows;
        for (int r = 0; r < table->numberOfRowsInSection(section); ++r) rows.push_back({section, r});
        table->reloadRowsAtIndexPaths(rows, kTop);
        break;
      }
    }
  } else if (path.size() == 2) {
    ui::IndexPath row{path[0], path[1]};
    switch (change) {
      case Change::Insert:
        table->insertRowsAtIndexPaths({row}, kTop);
        table->scrollToRowAtIndexPath(row, ui::TableViewScrollPosition::None, false);
        break;
      case Change::Delete: table->deleteRowsAtIndexPaths({row}, kTop); break;
      case Change::Update: table->reloadRowsAtIndexPaths({row}, kTop); break;
    }
  } else {
    table->reloadData();
    return;
  }
  invalidateView();
}

// --- selection and dragging ---------------------------------------------------------

void TKTableViewController::didSelectObject(const TKTableObject& object, const ui::IndexPath&) {
  auto* item = object.as<TKTableItem>();
  if (!item) return;
  std::string url = ns::URLValue(*item);
  if (!url.empty()) TKNavigatorOpenURLString(url);
}

bool TKTableViewController::shouldOpenURL(const std::string&) { return true; }

void TKTableViewController::didBeginDragging() { hideMenu(true); }

// --- overlay, banner and state views ---------------------------------------------------

cg::Rect TKTableViewController::rectForOverlayView() {
  return tableView_ ? ui::frameWithKeyboardSubtracted(*tableView_, 0) : cg::Rect();
}

cg::Rect TKTableViewController::rectForBannerView() {
  cg::Rect r = rectForOverlayView();
  return cg::Rect(r.x(), r.y() + r.height() - kBannerViewHeight, r.width(), kBannerViewHeight);
}

void TKTableViewController::layoutOverlayView() {
  if (tableOverlayView_) tableOverlayView_->setFrame(rectForOverlayView());
}

void TKTableViewController::layoutBannerView() {
  if (!tableBannerView_) return;
  // In the overlay's coordinates, whose origin is the banner rectangle's.
  cg::Rect overlay = rectForOverlayView(), banner = rectForBannerView();
  tableBannerView_->setFrame(banner.offsetBy(-overlay.x(), -overlay.y()));
}

void TKTableViewController::addToOverlayView(const std::shared_ptr<ui::View>& view) {
  if (!tableOverlayView_) {
    tableOverlayView_ = std::make_shared<OverlayView>(rectForOverlayView());
    tableOverlayView_->setAutoresizesSubviews(true);
    tableOverlayView_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth |
                                           ui::ViewAutoresizingFlexibleBottomMargin);
    tableOverlayView_->setBackgroundColor(cg::Color::clear());
    tableOverlayView_->setOpaque(false);
    if (tableView_ && tableView_->superview()) tableView_->superview()->addSubview(tableOverlayView_);
  }
  if (view == tableBannerView_) {
    // The banner keeps to its strip at the bottom of the overlay.
    layoutBannerView();
    view->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleTopMargin);
  } else {
    view->setFrame(tableOverlayView_->bounds());
    view->setAutoresizingMask(kFlexibleSize);
  }
  tableOverlayView_->addSubview(view);
}

void TKTableViewController::resetOverlayView() {
  if (tableOverlayView_ && tableOverlayView_->subviews().empty()) {
    tableOverlayView_->removeFromSuperview();
    tableOverlayView_.reset();
  }
}

void TKTableViewController::replaceStateView(std::shared_ptr<ui::View>& slot, std::shared_ptr<ui::View> view) {
  if (view == slot) return;
  if (slot) slot->removeFromSuperview();
  slot = std::move(view);
  if (slot) addToOverlayView(slot);
  else resetOverlayView();
}

void TKTableViewController::setLoadingView(std::shared_ptr<ui::View> view) { replaceStateView(loadingView_, view); }
void TKTableViewController::setErrorView(std::shared_ptr<ui::View> view) { replaceStateView(errorView_, view); }
void TKTableViewController::setEmptyView(std::shared_ptr<ui::View> view) { replaceStateView(emptyView_, view); }

void TKTableViewController::fadeOutView(const std::shared_ptr<ui::View>& view) {
  // Once gone, the overlay it leaves empty goes too (the controller may be gone first).
  std::weak_ptr<ui::ViewController> weak = weak_from_this();
  ui::View::beginAnimations("TKFadeOutView");
  ui::View::setAnimationDuration(kFadeOutDuration);
  ui::View::setAnimationDidStopSelector([view, weak, this](const std::string&, bool, void*) {
    view->removeFromSuperview();
    if (!weak.expired()) resetOverlayView();
  });
  view->setAlpha(0);
  ui::View::commitAnimations();
}

void TKTableViewController::setTableOverlayView(std::shared_ptr<ui::View> view, bool animated) {
  if (view == tableOverlayView_) return;
  if (tableOverlayView_) {
    if (animated) fadeOutView(tableOverlayView_);
    else tableOverlayView_->removeFromSuperview();
  }
  tableOverlayView_ = std::move(view);
  // A caller's overlay lies over the table, in the table's superview.
  if (tableOverlayView_ && tableView_ && tableView_->superview()) {
    tableOverlayView_->setFrame(rectForOverlayView());
    tableView_->superview()->addSubview(tableOverlayView_);
  }
}

void TKTableViewController::setTableBannerView(std::shared_ptr<ui::View> view, bool animated) {
  if (view == tableBannerView_) return;
  if (tableBannerView_) {
    if (animated) fadeOutView(tableBannerView_);
    else tableBannerView_->removeFromSuperview();
  }
  tableBannerView_ = std::move(view);
  if (!tableBannerView_) {
    resetOverlayView();
    return;
  }
  tableBannerView_->setUserInteractionEnabled(false);
  addToOverlayView(tableBannerView_);
  if (animated) {
    cg::Rect f = tableBannerView_->frame();
    tableBannerView_->setFrame(f.offsetBy(0, kBannerViewHeight));
    ui::View::beginAnimations("TKBannerSlide");
    ui::View::setAnimationDuration(0.3);
    ui::View::setAnimationCurve(ui::AnimationCurve::EaseOut);
    tableBannerView_->setFrame(f);
    ui::View::commitAnimations();
  }
}

// --- the cell menu -------------------------------------------------------------------

namespace {

// Moves every subview of the content view but the menu sideways.
void slideContent(ui::View& content, const ui::View* menu, float dx) {
  for (const auto& sub : std::vector(content.subviews()))
    if (sub.get() != menu) sub->setFrame(sub->frame().offsetBy(dx, 0));
}

}  // namespace

void TKTableViewController::showMenu(std::shared_ptr<ui::View> view, std::shared_ptr<ui::TableViewCell> cell,
                                     bool animated) {
  hideMenu(true);
  if (!view || !cell) return;
  menuView_ = std::move(view);
  menuCell_ = std::move(cell);
  ui::View& content = *menuCell_->contentView();
  content.insertSubviewAtIndex(menuView_, 0);
  if (animated) {
    ui::View::beginAnimations("TKShowMenu");
    ui::View::setAnimationDuration(kMenuAnimationDuration);
    ui::View::setAnimationCurve(ui::AnimationCurve::EaseIn);
  }
  slideContent(content, menuView_.get(), -content.frame().width());
  if (animated) ui::View::commitAnimations();
}

void TKTableViewController::hideMenu(bool animated) {
  if (!menuView_) return;
  std::shared_ptr<ui::View> menu = std::move(menuView_);
  std::shared_ptr<ui::TableViewCell> cell = std::move(menuCell_);
  ui::View& content = *cell->contentView();
  if (animated) {
    ui::View::beginAnimations("TKHideMenu");
    ui::View::setAnimationDuration(kMenuAnimationDuration);
    ui::View::setAnimationDidStopSelector([menu](const std::string&, bool, void*) { menu->removeFromSuperview(); });
  } else {
    menu->removeFromSuperview();
  }
  slideContent(content, menu.get(), content.frame().width());
  if (animated) ui::View::commitAnimations();
}

// --- keyboard and saved state -------------------------------------------------------------

namespace {

void growHeight(ui::View& view, float dy) {
  cg::Rect f = view.frame();
  view.setFrame(cg::Rect(f.x(), f.y(), f.width(), f.height() + dy));
}

}  // namespace

void TKTableViewController::keyboardDidAppear(bool animated, cg::Rect bounds) {
  TKModelViewController::keyboardDidAppear(animated, bounds);
  auto table = tableView();
  growHeight(*table, -bounds.height());
  ui::scrollFirstResponderIntoView(*table);
  layoutOverlayView();
  layoutBannerView();
}

void TKTableViewController::keyboardWillDisappear(bool animated, cg::Rect bounds) {
  TKModelViewController::keyboardWillDisappear(animated, bounds);
  growHeight(*tableView(), bounds.height());
}

void TKTableViewController::keyboardDidDisappear(bool animated, cg::Rect bounds) {
  TKModelViewController::keyboardDidDisappear(animated, bounds);
  layoutOverlayView();
  layoutBannerView();
}

bool TKTableViewController::persistView(ns::Dictionary& state) {
  state["scrollOffsetY"] = tableView()->contentOffset().y;
  return TKModelViewController::persistView(state);
}

void TKTableViewController::restoreView(const ns::Dictionary& state) {
  auto it = state.find("scrollOffsetY");
  float y = it == state.end() ? 0 : it->second.floatValue();
  if (y == 0) return;
  auto table = tableView();
  // Short content has nowhere to scroll to: the top, never above it.
  float most = std::max(0.0f, table->contentSize().height - table->frame().height());
  table->setContentOffset({0, std::min(y, most)});
}
