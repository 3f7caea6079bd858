#pragma once
// The More tab's menu: seven rows leading to the tajweed guide, the stop
// signs, the prostration verses, the supplications, the settings, the tips
// and About (the rows and their screens are in MoreMenu). Most screens are
// pushed on the tab's navigation controller; the tips cover the whole root
// as a form sheet and About opens in a popover that the menu keeps. Main
// thread only.
#include <memory>

#include "Classes/common/iPadConnectionDelegate.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class MoreViewController : public ui::ViewController,
                           public ui::TableViewDataSource,
                           public ui::TableViewDelegate,
                           public ui::PopoverControllerDelegate {
 public:
  // initWithNibName:bundle: ("MoreStuff").
  MoreViewController();

  iPadConnectionDelegate* ipaddelegate() const { return ipaddelegate_; }
  // Not retained: the root owns the menu.
  void setIpaddelegate(iPadConnectionDelegate* root) { ipaddelegate_ = root; }

  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }
  void rethemeUI() {}

  int numberOfSectionsInTableView(ui::TableView*) override { return 1; }
  int numberOfRowsInSection(ui::TableView*, int) override;
  float heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override { return 44; }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) override {
    return indexPath;
  }
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;

  // The menu's one popover, made on first use and reused with new content.
  ui::PopoverController& createPopoverViewWithController(std::shared_ptr<ui::ViewController> content);
  bool popoverControllerShouldDismissPopover(ui::PopoverController&) override { return true; }
  void popoverControllerDidDismissPopover(ui::PopoverController&) override {}
  void btnCancelPressed() { dismissModalViewControllerAnimated(true); }

  std::shared_ptr<ui::TableView> tblGroups;
  std::shared_ptr<ui::Label> lblTopLabel;
  std::shared_ptr<ui::PopoverController> popoverView;
  std::shared_ptr<ui::View> viewTopBar;
  std::shared_ptr<ui::ImageView> imgBG, imgTopBarBG;

 private:
  iPadConnectionDelegate* ipaddelegate_ = nullptr;
};
