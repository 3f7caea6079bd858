#pragma once
// The installed recitations of one reciter ("SettingsView"): a row per
// installed surah, each with its delete control from the start; deleting one
// removes its marks and audio (continuous audio of the twins 1 and 7 too) on a
// worker thread behind a progress display, gives the space back with a VACUUM
// on a connection of its own (so reading goes on meanwhile), and closes the
// screen once nothing is left. Main thread, except the deletion.
#include <memory>
#include <string>

#include "Classes/audio/MBProgressHUD.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

namespace ui {
class Button;
class Label;
}  // namespace ui

class ManageSurahAudioController : public ui::ViewController,
                                   public ui::TableViewDataSource,
                                   public ui::TableViewDelegate,
                                   public MBProgressHUDDelegate {
 public:
  // initWithNibName:bundle: then initWithReciter:.
  explicit ManageSurahAudioController(int reciter);
  cg::Size contentSizeForViewInPopover() const override { return {320, 347}; }
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }
  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;

  int selectedReciter() const { return selectedReciter_; }
  void setSelectedReciter(int reciter) { selectedReciter_ = reciter; }

  int numberOfSectionsInTableView(ui::TableView*) override { return 1; }
  int numberOfRowsInSection(ui::TableView*, int) override;
  std::string titleForHeaderInSection(ui::TableView*, int) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  bool canEditRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override { return true; }
  void commitEditingStyle(ui::TableView* tableView, ui::TableViewCellEditingStyle style,
                          const ui::IndexPath& indexPath) override;
  std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) override;

  void toggleEdit();
  void setEditing(bool editing, bool animated);
  void btnBackPressed();
  // Background thread: deletes the surah at the row; then doneDeletingChapter on the main thread.
  void deleteSurahInBG(int row);
  void doneDeletingChapter(int row);
  void hudWasHidden(MBProgressHUD& hud) override;

  // The row's text: "number name", the number in Arabic-Indic digits in the Arabic interface.
  static std::string rowText(int surah);

  std::shared_ptr<ui::TableView> myTableView;
  std::shared_ptr<ui::Button> btnBack;
  std::shared_ptr<ui::Label> lblTopLabel;
  std::shared_ptr<MBProgressHUD> progressHUD;

 private:
  int selectedReciter_ = 0;
  bool editing_ = false;  // the controller's (the table starts editing regardless)
};
