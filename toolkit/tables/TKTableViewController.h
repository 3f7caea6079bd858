#pragma once
// The toolkit's model-backed table screen. It answers the model controller's
// hooks with a table filled by a table data source (which is also its model
// unless it names one), and with views laid over the table while the data
// loads, is empty or failed. It also carries a banner strip over the bottom
// of the table, an action menu that slides a cell's content aside, variable
// row heights, shrinking for the keyboard and the saving of the scroll
// position. The loading, empty and error views and the banner share one
// overlay container that exists only while one of them does. Main thread only.
#include <memory>
#include <optional>

#include "platform/ui/TableView.h"
#include "toolkit/core/TKModelViewController.h"
#include "toolkit/tables/TKTableObject.h"

class TKTableViewDataSource;

class TKTableViewController : public TKModelViewController {
 public:
  static constexpr float kBannerViewHeight = 22;
  static constexpr double kMenuAnimationDuration = 0.2;
  static constexpr double kFadeOutDuration = 0.3;

  explicit TKTableViewController(ui::TableViewStyle style = ui::TableViewStyle::Plain);
  ~TKTableViewController() override;
  std::string className() const override { return "TKTableViewController"; }

  // Made on first use: a toolkit table over the whole view, in the sheet's
  // background colour.
  std::shared_ptr<ui::TableView> tableView();
  // None also takes the banner and the overlay away.
  void setTableView(std::shared_ptr<ui::TableView> tableView);
  ui::TableViewStyle tableViewStyle() const { return tableViewStyle_; }
  // Read when the table view is made.
  void setTableViewStyle(ui::TableViewStyle style) { tableViewStyle_ = style; }

  const std::shared_ptr<TKTableViewDataSource>& dataSource() const { return dataSource_; }
  // The data source's model becomes the controller's; the table is connected
  // to it when the content shows.
  void setDataSource(std::shared_ptr<TKTableViewDataSource> dataSource);
  // The variable-height delegate or the plain one, each with this controller.
  virtual std::shared_ptr<ui::TableViewDelegate> createDelegate();
  const std::shared_ptr<ui::TableViewDelegate>& tableDelegate() const { return tableDelegate_; }
  bool variableHeightRows() const { return variableHeightRows_; }
  // A change takes effect at the next showing of the content.
  void setVariableHeightRows(bool variable);

  // Overlay, banner and state views.
  const std::shared_ptr<ui::View>& tableOverlayView() const { return tableOverlayView_; }
  void setTableOverlayView(std::shared_ptr<ui::View> view) { tableOverlayView_ = std::move(view); }
  // None fades the overlay out (or takes it away at once); a view of the
  // caller's goes above the table.
  void setTableOverlayView(std::shared_ptr<ui::View> view, bool animated);
  const std::shared_ptr<ui::View>& tableBannerView() const { return tableBannerView_; }
  void setTableBannerView(std::shared_ptr<ui::View> view) { setTableBannerView(std::move(view), true); }
  // Slides up over the bottom 22 points of the table; takes no touches.
  void setTableBannerView(std::shared_ptr<ui::View> view, bool animated);
  const std::shared_ptr<ui::View>& loadingView() const { return loadingView_; }
  void setLoadingView(std::shared_ptr<ui::View> view);
  const std::shared_ptr<ui::View>& errorView() const { return errorView_; }
  void setErrorView(std::shared_ptr<ui::View> view);
  const std::shared_ptr<ui::View>& emptyView() const { return emptyView_; }
  void setEmptyView(std::shared_ptr<ui::View> view);
  // The table's frame less what the keyboard covers; zero without a table.
  cg::Rect rectForOverlayView();
  cg::Rect rectForBannerView();
  void layoutOverlayView();
  void layoutBannerView();
  std::string defaultTitleForLoading();

  // The cell menu: the view goes behind the cell's content, which slides
  // left by its width; any open menu closes first.
  const std::shared_ptr<ui::View>& menuView() const { return menuView_; }
  void showMenu(std::shared_ptr<ui::View> view, std::shared_ptr<ui::TableViewCell> cell, bool animated);
  void hideMenu(bool animated);

  // Called by the table delegate.
  virtual void didSelectObject(const TKTableObject& object, const ui::IndexPath& indexPath);
  virtual bool shouldOpenURL(const std::string& url);
  virtual void didBeginDragging();
  virtual void didEndDragging() {}

  bool isEditing() const { return editing_; }
  virtual void setEditing(bool editing, bool animated);

  // The model controller's hooks.
  void createInterstitialModel() override;
  bool canShowModel() override;
  void didLoadModel(bool firstTime) override;
  void didShowModel(bool firstTime) override;
  void showModel(bool show) override;
  void showLoading(bool show) override;
  void showError(bool show) override;
  void showEmpty(bool show) override;
  void beginUpdates() override;
  void endUpdates() override;
  void modelDidUpdateObject(TKModel& model, const ns::Value& object, const ns::Value& indexPath) override;
  void modelDidInsertObject(TKModel& model, const ns::Value& object, const ns::Value& indexPath) override;
  void modelDidDeleteObject(TKModel& model, const ns::Value& object, const ns::Value& indexPath) override;

  // Keyboard: the table gives up (and takes back) the keyboard's height.
  void keyboardDidAppear(bool animated, cg::Rect bounds) override;
  void keyboardWillDisappear(bool animated, cg::Rect bounds) override;
  void keyboardDidDisappear(bool animated, cg::Rect bounds) override;

  // The vertical scroll position under "scrollOffsetY".
  bool persistView(ns::Dictionary& state) override;
  void restoreView(const ns::Dictionary& state) override;

  void loadView() override;
  void viewDidUnload() override;
  void viewWillAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;

 private:
  enum class Change { Insert, Update, Delete };
  void modelChanged(Change change, TKModel& model, const ns::Value& object, const ns::Value& indexPath);
  void updateTableDelegate();
  void replaceStateView(std::shared_ptr<ui::View>& slot, std::shared_ptr<ui::View> view);
  void addToOverlayView(const std::shared_ptr<ui::View>& view);
  void resetOverlayView();
  void fadeOutView(const std::shared_ptr<ui::View>& view);
  // Shows a new error or empty view from the data source's texts and image
  // (none when all are missing) and empties the table.
  void showStateView(std::shared_ptr<ui::View>& slot, const std::string& title, const std::string& subtitle,
                     std::shared_ptr<ui::Image> image);
  // A disconnected table shows no rows.
  void disconnectTable();

  std::shared_ptr<ui::TableView> tableView_;
  ui::TableViewStyle tableViewStyle_;
  std::shared_ptr<TKTableViewDataSource> dataSource_;
  std::shared_ptr<ui::TableViewDelegate> tableDelegate_;
  bool variableHeightRows_ = false;
  bool editing_ = false;
  std::shared_ptr<ui::View> tableOverlayView_;
  std::shared_ptr<ui::View> tableBannerView_;
  std::shared_ptr<ui::View> loadingView_, errorView_, emptyView_;
  std::shared_ptr<ui::View> menuView_;
  std::shared_ptr<ui::TableViewCell> menuCell_;
  ui::InterfaceOrientation lastInterfaceOrientation_;
};
