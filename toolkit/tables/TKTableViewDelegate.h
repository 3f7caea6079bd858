#pragma once
// The table delegate of the toolkit's table screen: a row tap opens the row
// item's URL (and starts loading more for a "load more" row), plain tables
// get styled section headers when the style sheet tints them, the variable
// height variants size rows through the cell classes, and the shared request
// queue waits while the user drags or the table flies to the top. The
// controller owns its delegate, which points back without owning it. Main
// thread only.
#include <memory>
#include <optional>

#include "platform/ui/TableView.h"

class TKTableViewController;
class TKTableViewDataSource;

class TKTableViewDelegate : public ui::TableViewDelegate {
 public:
  explicit TKTableViewDelegate(TKTableViewController* controller) : controller_(controller) {}

  TKTableViewController* controller() const { return controller_; }

  // A styled header only in a plain table, with a tinted style sheet, for a
  // section the data source titles.
  std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView* tableView, int section) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  void accessoryButtonTappedForRowWithIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  bool scrollViewShouldScrollToTop(ui::ScrollView* scrollView) override;
  void scrollViewDidScrollToTop(ui::ScrollView* scrollView) override;
  void scrollViewWillBeginDragging(ui::ScrollView* scrollView) override;
  void scrollViewDidEndDragging(ui::ScrollView* scrollView, bool willDecelerate) override;
  void scrollViewDidEndDecelerating(ui::ScrollView* scrollView) override;

 protected:
  // The table's data source when it is the toolkit's.
  static std::shared_ptr<TKTableViewDataSource> dataSourceOf(ui::TableView* tableView);
  // A header for a non-empty title of the data source, else none.
  static std::shared_ptr<ui::View> headerForTitledSection(ui::TableView* tableView, int section);

 private:
  TKTableViewController* controller_;  // owns this delegate
};

// Row heights from the cell class of each row's object.
class TKTableViewVarHeightDelegate : public TKTableViewDelegate {
 public:
  using TKTableViewDelegate::TKTableViewDelegate;
  float heightForRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
};

// A styled header for every titled section, whatever the table and the sheet.
class TKTableViewPlainDelegate : public TKTableViewDelegate {
 public:
  using TKTableViewDelegate::TKTableViewDelegate;
  std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView* tableView, int section) override;
};

class TKTableViewPlainVarHeightDelegate : public TKTableViewVarHeightDelegate {
 public:
  using TKTableViewVarHeightDelegate::TKTableViewVarHeightDelegate;
  std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView* tableView, int section) override;
};

// 35 points of header over a titled section, 1 over an untitled one.
class TKTableViewGroupedVarHeightDelegate : public TKTableViewVarHeightDelegate {
 public:
  using TKTableViewVarHeightDelegate::TKTableViewVarHeightDelegate;
  std::optional<float> heightForHeaderInSection(ui::TableView* tableView, int section) override;
};
