#pragma once
// "Quranic Supplications" of the More tab: ten themes, each with the number
// of its verses; a theme opens its verses (SupplicationsDetailsController).
// Main thread only.
#include <memory>
#include <string>
#include <vector>

#include "Classes/settings/InfoColumnController.h"

class SupplicationsViewController : public InfoColumnController {
 public:
  static constexpr int kThemeCount = 10;

  // The theme's name (its key) and its verses, as "surah:verse", in order.
  static std::string themeName(int theme);
  static std::vector<std::string> themeVerses(int theme);

  void loadView() override { buildColumn(tblTable); }
  void viewDidLoad() override;
  void viewWillAppear(bool) override { deselectSelectedRow(tblTable.get()); }

  int numberOfRowsInSection(ui::TableView*, int) override { return kThemeCount; }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;

  std::shared_ptr<ui::TableView> tblTable;
};
