#pragma once
// The five bookmark groups, each with its icon and its number of bookmarks.
// In filter mode (the root of the Bookmarks tab) a tap opens the bookmarks
// list of that group; in move mode (inside the bookmarks screen's popover) a
// tap moves the bookmarks it was given into that group. Group 0 is "no
// group" when stored and "all groups" when counted. Main thread only.
#include <memory>
#include <vector>

#include "Classes/core/Bookmark.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class BookmarkGroupCellView : public ui::TableViewCell {
 public:
  BookmarkGroupCellView(ui::TableViewCellStyle style, const std::string& reuseIdentifier);

  std::shared_ptr<ui::ImageView> imgSide;
  std::shared_ptr<ui::Label> lblTitle;

  void setSelected(bool selected, bool animated) override;
  void setHighlighted(bool highlighted, bool animated) override;
};

class BookmarkGroupsViewController : public ui::ViewController,
                                     public ui::TableViewDataSource,
                                     public ui::TableViewDelegate {
 public:
  BookmarkGroupsViewController();

  // Move mode, with the bookmarks to move; called before the view loads.
  void setupMovingMode(std::vector<BookmarkPtr> bookmarks);
  bool IsMovingMode() const { return IsMovingMode_; }
  const std::vector<BookmarkPtr>& arrBookmarks() const { return arrBookmarks_; }

  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }
  void rethemeUI();
  void btnCancelPressed() {}

  int numberOfSectionsInTableView(ui::TableView*) override { return 1; }
  int numberOfRowsInSection(ui::TableView*, int) override { return 5; }
  float heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override { return 60; }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;

  std::shared_ptr<ui::View> viewTopBar;
  std::shared_ptr<ui::TableView> tblGroups;
  std::shared_ptr<ui::Label> lblTopLabel, lblBottomNotice;
  std::shared_ptr<ui::ImageView> imgBG, imgTopBarBG;
  std::shared_ptr<ui::Button> btnCancel;

 private:
  std::vector<BookmarkPtr> arrBookmarks_;
  bool IsMovingMode_ = false;
};
