#pragma once
// The frame the More tab's information lists share (stop signs,
// supplications, a theme's verses, the prostration verses): a light heading
// bar with the screen's title and a back arrow, over one table that fills the
// column. Each screen names its table itself; this class builds it into the
// field it is given. Main thread only.
#include <memory>
#include <string>

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class InfoColumnController : public ui::ViewController,
                             public ui::TableViewDataSource,
                             public ui::TableViewDelegate {
 public:
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }

  // Back to the screen below on the More tab's stack.
  void btnBackPressed();
  // The back arrow's images.
  void rethemeUI();

  std::shared_ptr<ui::View> viewTopBar;
  std::shared_ptr<ui::Label> lblTopLabel;
  std::shared_ptr<ui::ImageView> imgBG, imgTopBarBG;
  std::shared_ptr<ui::Button> btnBack;

  static constexpr float kTopBarHeight = 44;

 protected:
  // The column's view: heading bar, back arrow, and `table` below them,
  // whose data source and delegate are this controller once the view loads.
  void buildColumn(std::shared_ptr<ui::TableView>& table);
  // Heading, back-button caption and the table's separator colour.
  void setUpColumn(ui::TableView& table, const std::string& heading, const std::string& backTitle,
                   cg::Color separator);
  // Deselects, with animation, a row still selected on coming back.
  static void deselectSelectedRow(ui::TableView* table);
};
