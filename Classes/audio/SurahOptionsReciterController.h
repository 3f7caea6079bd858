#pragma once
// The small list screens of the recitation options ("SurahOptionsReciter"):
// a top bar with a title and a back button over a plain table, and a legend
// under it that only the reciter picker fills. The play-option and verse-repeat
// pickers and the reciter picker build on it. Main thread.
#include <memory>
#include <string>

#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

namespace ui {
class Button;
class ImageView;
class Label;
}  // namespace ui

class SurahOptionsReciterController : public ui::ViewController,
                                      public ui::TableViewDataSource,
                                      public ui::TableViewDelegate {
 public:
  void loadView() override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }
  float heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override { return 44; }
  std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) override {
    return indexPath;
  }
  virtual void btnBackPressed() = 0;

  std::shared_ptr<ui::Label> lblTopTitle, lblLegend1, lblLegend2;
  std::shared_ptr<ui::Button> btnBack;
  std::shared_ptr<ui::ImageView> imgTopBar, imgLegend;
  std::shared_ptr<ui::TableView> table;

 protected:
  // The bar's look and texts (viewDidLoad of each picker).
  void styleTopBar(const std::string& title);
  // A "VerseCell" of the lists: bold name, detail in grey.
  static std::shared_ptr<ui::TableViewCell> verseCell(ui::TableView* tableView);
  // Moves the tick from the old row (when its cell is on screen) to the new one.
  static void moveCheckmark(ui::TableView* tableView, int section, int oldRow, int newRow);
  // Room kept under the table for the legend.
  virtual float legendHeight() const { return 0; }
};
