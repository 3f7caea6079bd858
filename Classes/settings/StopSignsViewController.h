#pragma once
// "Stop Signs" of the More tab: the seven pause marks printed in the Arabic
// text, each with its picture, its name and what it asks of the reader. A
// fixed list that is read, not chosen from. Main thread only.
#include <memory>

#include "Classes/settings/InfoColumnController.h"

class StopSignsViewController : public InfoColumnController {
 public:
  static constexpr int kSignCount = 7;

  void loadView() override { buildColumn(tblGroups); }
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  // Dismisses the screen when it was presented on its own.
  void btnCancelPressed();

  int numberOfSectionsInTableView(ui::TableView*) override { return 1; }
  int numberOfRowsInSection(ui::TableView*, int) override { return kSignCount; }
  float heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override { return 53; }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override {
    return std::nullopt;
  }
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;

  std::shared_ptr<ui::TableView> tblGroups;
};
