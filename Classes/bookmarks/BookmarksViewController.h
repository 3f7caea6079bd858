#pragma once
// The reader's bookmarks, one foldable section per surah, for one bookmark
// group or for all of them, narrowed by a text filter. From here a bookmark
// opens in the reading screen or its note in the root's notes panel, and
// bookmarks are removed, moved to another group and mailed, one at a time
// (tap and hold) or in batch editing.
//
// The list loads on a worker: it is built privately and swapped in on the
// main thread, and a load asked for while one runs is run when it ends. The
// core (this file's .cpp) holds the state, the view life, the load, the badge
// and the selection; the layout, the table, the filter and the actions live
// in the category files beside it. Main thread only, but for the worker.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/bookmarks/BookmarkCellHost.h"
#include "Classes/common/OpaqueLayer.h"
#include "Classes/core/Bookmark.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class BookmarkCellView;
class BookmarkFilter;

class BookmarksViewController : public ui::ViewController,
                                public ui::TableViewDataSource,
                                public ui::TableViewDelegate,
                                public ui::SearchBarDelegate,
                                public OpaqueLayerDelegate,
                                public BookmarkCellHost,
                                public ui::ActionSheetDelegate,
                                public ui::AlertViewDelegate,
                                public ui::PopoverControllerDelegate,
                                public ui::MailComposeViewControllerDelegate {
 public:
  BookmarksViewController();
  ~BookmarksViewController() override;

  // The tablet root; not retained.
  void setIpaddelegate(iPadConnectionDelegate* root) { ipaddelegate_ = root; }
  iPadConnectionDelegate* ipaddelegate() const override { return ipaddelegate_; }
  // The group shown, 0-4 (0: all groups).
  void setGroupFilter(int group);
  int currentGroupFilter() const { return currentGroupFilter_; }
  bool bookmarksChanged() const { return bookmarksChanged_; }
  void setBookmarksChanged(bool on) { bookmarksChanged_ = on; }
  bool IsEditing() const override { return IsEditing_; }
  bool loadingBookmarks() const { return loadingBookmarks_; }
  const std::vector<BookmarkPtr>& arrSectionedBookmarks() const { return arrSectionedBookmarks_; }
  const std::vector<std::shared_ptr<BookmarkCellView>>& arrSectionViews() const { return arrSectionViews_; }
  ui::SearchBar* txtSearchBar() const { return txtSearchBar_.get(); }
  ui::View* viewBatchEditBar() const { return viewBatchEditBar_.get(); }
  ui::TableView* tblBookmarks() const { return tblBookmarks_.get(); }
  ui::PopoverController* popoverView() const { return popoverView_.get(); }
  ui::ActionSheet* currentSheet() const { return currentSheet_.get(); }
  std::optional<ui::IndexPath> selectedCell() const { return selectedCell_; }

  // ---- view life ---------------------------------------------------------------------------
  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  void viewDidUnload() override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation o) override;
  void didRotateFromInterfaceOrientation(ui::InterfaceOrientation from) override;
  void refreshTheme();

  // ---- the list --------------------------------------------------------------------------------
  void refreshView() { setupBookmarkRows(); }
  // The filter's way: waits in 0.2 s steps while a load runs, then narrows
  // the bookmarks read last.
  void refreshViewWithRetry();
  // Reads the list again on a worker; narrowLoaded filters what was read last.
  void setupBookmarkRows(bool narrowLoaded = false);
  // The count of the group's bookmarks on the tab, read from the store unless given.
  void refreshBookmarkBadge(std::optional<int> count = std::nullopt);
  void bookmarkDidChange();
  void btnGroupPressed();
  void removeCurrentSelection();
  void showNoteForBookmark(BookmarkCell& cell) override;
  void sectionWithRow(const BookmarkPtr& section, bool willCollapse) override;
  void keyboardWillShow(const ns::Value& info);
  void keyboardWillHide(const ns::Value& info);
  void showHideKeyboard(bool animated);

  // ---- table (BookmarksViewController+TableDelegate.cpp) ---------------------------------------
  int numberOfSectionsInTableView(ui::TableView* tableView) override;
  int numberOfRowsInSection(ui::TableView* tableView, int section) override;
  float heightForRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView* tableView, int section) override;
  std::optional<float> heightForHeaderInSection(ui::TableView* tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  bool canEditRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  ui::TableViewCellEditingStyle editingStyleForRowAtIndexPath(ui::TableView* tableView,
                                                              const ui::IndexPath& indexPath) override;
  void commitEditingStyle(ui::TableView* tableView, ui::TableViewCellEditingStyle style,
                          const ui::IndexPath& indexPath) override;
  bool shouldIndentWhileEditingRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override { return false; }
  std::string titleForDeleteConfirmationButtonForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override {
    return " - ";
  }

  // ---- the filter (BookmarksViewController+Search.cpp) ------------------------------------------
  void textDidChange(ui::SearchBar& bar, const std::string& text) override;
  void searchBarTextDidBeginEditing(ui::SearchBar& bar) override;
  void searchBarTextDidEndEditing(ui::SearchBar& bar) override;
  void searchBarSearchButtonClicked(ui::SearchBar& bar) override;
  void searchBarCancelButtonClicked(ui::SearchBar& bar) override;
  void showOpaqueView();
  void hideOpaqueView() override;
  void startEditingFilter();

  // ---- actions (BookmarksViewController+Actions.cpp) ---------------------------------------------
  void tapAndHoldRow(BookmarkCell& cell) override;
  void clickedButtonAtIndex(ui::ActionSheet& sheet, int index) override;
  void clickedButtonAtIndex(ui::AlertView& alert, int index) override;
  void btnMorePressed();
  void checkBatchButtons();
  void resetSelections();
  void batchEditButtonPressed(ui::Button* sender);
  void deleteBookmarkAtIndexPaths(const std::vector<ui::IndexPath>& indexPaths);
  void deleteBookmarkAtIndexPath(const ui::IndexPath& indexPath) { deleteBookmarkAtIndexPaths({indexPath}); }
  ui::PopoverController& createPopoverViewWithController(std::shared_ptr<ui::ViewController> content);
  bool popoverControllerShouldDismissPopover(ui::PopoverController&) override { return true; }
  void popoverControllerDidDismissPopover(ui::PopoverController&) override {}
  // The HTML body of the mail of the selected bookmarks.
  std::string batchMailBody() const;
  void mailComposeController(ui::MailComposeViewController& controller, ui::MailComposeResult result,
                             const std::string& error) override;

  // ---- keys: Enter opens the selected bookmark; Delete removes the checked
  // ones in batch editing after a confirmation ------------------------------------------------------
  bool canBecomeFirstResponder() const override { return true; }
  void keyDown(const ui::KeyEvent& key) override;

  // The outlets, as the layout builder made them ("BookmarksView").
  std::shared_ptr<ui::ImageView> imgBG, imgBatchEditBarBG, imgTopBarBG;
  std::shared_ptr<ui::TableView> tblBookmarks_;
  std::shared_ptr<ui::View> viewBatchEditBar_, viewBgSearch, viewTopNavBar;
  std::shared_ptr<ui::Button> btnBatchMove, btnBatchRemove, btnBatchShare, btnGroups, btnMore;
  std::shared_ptr<ui::Label> lblNoBookmarks, lblNavTitle;
  std::shared_ptr<ui::SearchBar> txtSearchBar_;
  std::shared_ptr<ui::ActivityIndicatorView> activityView;
  std::shared_ptr<OpaqueLayer> viewOpaqueLayer;
  std::shared_ptr<ui::MailComposeViewController> mailComposer;

 private:
  // Layout (BookmarksViewController+Layout.cpp), one function per area.
  void buildTopBar(ui::View& root);
  void buildFilter(ui::View& root);
  void buildTable(ui::View& root);
  void buildBatchBar(float width);
  void makeOpaqueLayer(ui::View& root);

  // The load: the worker's sections come back to doneLoadingBookmarks.
  void doneLoadingBookmarks(std::vector<BookmarkPtr> sections, std::shared_ptr<BookmarkFilter> loaded);
  std::shared_ptr<BookmarksViewController> self();
  BookmarkPtr bookmarkAt(const ui::IndexPath& indexPath) const;
  std::vector<BookmarkPtr> selectedBookmarks() const;
  void showMoveForBookmarks(std::vector<BookmarkPtr> bookmarks, ui::View* anchor, ui::View* inView, unsigned position);
  void showNoBookmarks(bool none);
  void leaveBatchEditing();
  void mailSelectedBookmarks();
  void confirmBatchRemove();
  void removeCheckedBookmarks();
  void openBookmark(const Bookmark& bookmark);
  void takeKeys();

  iPadConnectionDelegate* ipaddelegate_ = nullptr;
  std::shared_ptr<ui::PopoverController> popoverView_;
  std::weak_ptr<ui::View> lastButtonTapped, lastPopoverView;
  cg::Rect lastPopoverRect;
  unsigned lastPopoverPosition = 0;
  std::vector<std::shared_ptr<BookmarkCellView>> arrSectionViews_;
  std::vector<BookmarkPtr> arrSectionedBookmarks_;
  std::optional<ui::IndexPath> selectedCell_;
  cg::Point currTblOffset;
  bool usePrevOffset = false;
  int lastVerseNoteShowing = -1;
  bool keyboardIsShowing = false;
  cg::Size keyboardSize;
  std::shared_ptr<ui::ActionSheet> currentSheet_;
  std::shared_ptr<ui::AlertView> removeAlert_;
  bool ignoreNextTap = false;
  bool IsEditing_ = false;
  bool bookmarksChanged_ = false;
  bool loadingBookmarks_ = false;
  bool reloadPending_ = false;  // a load asked for while one ran
  bool pendingNarrows_ = true;  // and only by the filter
  std::shared_ptr<BookmarkFilter> loaded_;  // the bookmarks read last, for the filter
  bool isTextFilterResults = false;
  bool quietFocus_ = false;  // the field was given the keys, not chosen by the reader
  std::weak_ptr<ui::ViewController> badgeHolder_;
  std::weak_ptr<ui::View> keysWindow_;  // the window the list took the keys in
  bool viewIsVisible = false;
  int currentGroupFilter_ = 0;
  std::vector<ns::Observer> observers_;
  std::vector<ns::Observer> keyboardObservers_;
};
