#include "toolkit/tables/TKTableViewDelegate.h"

#include "toolkit/core/TKModel.h"
#include "toolkit/core/TKNavigator.h"
#include "toolkit/core/TKURLRequest.h"
#include "toolkit/core/TKURLRequestQueue.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/tables/TKTableHeaderView.h"
#include "toolkit/tables/TKTableItem.h"
#include "toolkit/tables/TKTableItemCell.h"
#include "toolkit/tables/TKTableView.h"
#include "toolkit/tables/TKTableViewController.h"
#include "toolkit/tables/TKTableViewDataSource.h"

std::shared_ptr<TKTableViewDataSource> TKTableViewDelegate::dataSourceOf(ui::TableView* tableView) {
  return tableView ? std::dynamic_pointer_cast<TKTableViewDataSource>(tableView->dataSource().lock()) : nullptr;
}

std::shared_ptr<ui::View> TKTableViewDelegate::headerForTitledSection(ui::TableView* tableView, int section) {
  auto source = tableView ? tableView->dataSource().lock() : nullptr;
  if (!source) return nullptr;
  std::string title = source->titleForHeaderInSection(tableView, section);
  if (title.empty()) return nullptr;
  return std::make_shared<TKTableHeaderView>(title);
}

std::shared_ptr<ui::View> TKTableViewDelegate::viewForHeaderInSection(ui::TableView* tableView, int section) {
  if (!tableView || tableView->style() != ui::TableViewStyle::Plain) return nullptr;
  if (!TKStyleSheet::globalStyleSheet()->tableHeaderTintColor()) return nullptr;
  return headerForTitledSection(tableView, section);
}

void TKTableViewDelegate::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  auto source = dataSourceOf(tableView);
  TKTableObject object = source ? source->objectForRowAtIndexPath(tableView, indexPath) : TKTableObject();
  if (auto* item = object.as<TKTableLinkedItem>()) {
    if (!item->URL().empty() && controller_->shouldOpenURL(item->URL())) TKNavigatorOpenURLString(item->URL());
    if (object.as<TKTableButton>()) {
      tableView->deselectRowAtIndexPath(indexPath, true);
    } else if (auto* more = object.as<TKTableMoreButton>()) {
      more->setIsLoading(true);
      if (auto* cell = dynamic_cast<TKTableMoreButtonCell*>(tableView->cellForRowAtIndexPath(indexPath).get()))
        cell->setAnimating(true);
      tableView->deselectRowAtIndexPath(indexPath, true);
      controller_->model()->load(TKURLRequestCachePolicyDefault, true);
    }
  }
  controller_->didSelectObject(object, indexPath);
}

void TKTableViewDelegate::accessoryButtonTappedForRowWithIndexPath(ui::TableView* tableView,
                                                                   const ui::IndexPath& indexPath) {
  auto source = dataSourceOf(tableView);
  TKTableObject object = source ? source->objectForRowAtIndexPath(tableView, indexPath) : TKTableObject();
  auto* item = object.as<TKTableLinkedItem>();
  if (item && !item->accessoryURL().empty() && controller_->shouldOpenURL(item->accessoryURL()))
    TKNavigatorOpenURLString(item->accessoryURL());
}

bool TKTableViewDelegate::scrollViewShouldScrollToTop(ui::ScrollView*) {
  TKURLRequestQueue::mainQueue().setSuspended(true);
  return true;
}

void TKTableViewDelegate::scrollViewDidScrollToTop(ui::ScrollView*) {
  TKURLRequestQueue::mainQueue().setSuspended(false);
}

void TKTableViewDelegate::scrollViewWillBeginDragging(ui::ScrollView* scrollView) {
  TKURLRequestQueue::mainQueue().setSuspended(true);
  controller_->didBeginDragging();
  // A scroll that starts on a link does not open it.
  if (auto* table = dynamic_cast<TKTableView*>(scrollView)) {
    if (auto* label = table->highlightedLabel()) label->setHighlightedNode(nullptr);
    table->setHighlightedLabel(nullptr);
  }
}

void TKTableViewDelegate::scrollViewDidEndDragging(ui::ScrollView*, bool willDecelerate) {
  if (!willDecelerate) TKURLRequestQueue::mainQueue().setSuspended(false);
  controller_->didEndDragging();
}

void TKTableViewDelegate::scrollViewDidEndDecelerating(ui::ScrollView*) {
  TKURLRequestQueue::mainQueue().setSuspended(false);
}

float TKTableViewVarHeightDelegate::heightForRowAtIndexPath(ui::TableView* tableView,
                                                            const ui::IndexPath& indexPath) {
  auto source = dataSourceOf(tableView);
  if (!source) return TKTableViewDelegate::heightForRowAtIndexPath(tableView, indexPath);
  TKTableObject object = source->objectForRowAtIndexPath(tableView, indexPath);
  return source->cellClassForObject(tableView, object).rowHeightForObject(*tableView, object);
}

std::shared_ptr<ui::View> TKTableViewPlainDelegate::viewForHeaderInSection(ui::TableView* tableView, int section) {
  return headerForTitledSection(tableView, section);
}

std::shared_ptr<ui::View> TKTableViewPlainVarHeightDelegate::viewForHeaderInSection(ui::TableView* tableView,
                                                                                    int section) {
  return headerForTitledSection(tableView, section);
}

std::optional<float> TKTableViewGroupedVarHeightDelegate::heightForHeaderInSection(ui::TableView* tableView,
                                                                                   int section) {
  auto source = tableView ? tableView->dataSource().lock() : nullptr;
  bool titled = source && !source->titleForHeaderInSection(tableView, section).empty();
  return titled ? 35.0f : 1.0f;
}
