#pragma once
// What the settings screen and its detail screens share ("SettingsView"): a
// top bar with a back button to the More menu over a grouped table whose
// footers wrap over the lines they need. Main thread only.
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class SettingsScreen : public ui::ViewController,
                       public ui::TableViewDataSource,
                       public ui::TableViewDelegate,
                       public ui::AlertViewDelegate {
 public:
  void loadView() override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }
  void btnBackPressed();

  std::shared_ptr<ui::View> viewForFooterInSection(ui::TableView* tableView, int section) override;
  std::optional<float> heightForFooterInSection(ui::TableView* tableView, int section) override;

  std::shared_ptr<ui::TableView> myTableView;
  std::shared_ptr<ui::Button> btnBack;
  std::shared_ptr<ui::Label> lblTopLabel;

 protected:
  // The back button's look and the table's links; from viewDidLoad.
  void setUpScreen();
};
