#pragma once
// The search history, the root of the Search tab: every search that found
// something, newest first, with its translation and number of hits. A row
// runs its search again in the search screen; its eye switches the search's
// marks in the reading screen; rows can be deleted (their marks go with
// them); Search opens an empty search screen. The first run seeds five
// example searches. The list loads on a worker per appearance and marking
// runs on a worker; each hands its result to the main thread. Main thread
// only, but for the workers.
#include <memory>
#include <vector>

#include "Classes/core/SavedSearch.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class SavedSearchesViewController : public ui::ViewController,
                                    public ui::TableViewDataSource,
                                    public ui::TableViewDelegate {
 public:
  SavedSearchesViewController();
  ~SavedSearchesViewController() override;

  const std::vector<SavedSearchPtr>& arrSavedSearches() const { return arrSavedSearches_; }
  bool isSettingUp() const { return isSettingUp_; }
  bool isMarking() const { return marking_; }

  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidUnload() override { arrSavedSearches_.clear(); }
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }
  void rethemeUI();

  void setupView();
  void btnEditPressed();
  void btnSearchPressed();
  void deleteSearchAtIndexPath(const ui::IndexPath& indexPath);
  // Switches the entry's marks on or off on a worker; the table takes no
  // touches meanwhile.
  void reflectSearchedVerses(bool highlighted, const SavedSearchPtr& entry);

  int numberOfSectionsInTableView(ui::TableView*) override { return 1; }
  int numberOfRowsInSection(ui::TableView*, int) override { return int(arrSavedSearches_.size()); }
  float heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override { return 44; }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  bool canEditRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override { return true; }
  void commitEditingStyle(ui::TableView* tableView, ui::TableViewCellEditingStyle style,
                          const ui::IndexPath& indexPath) override;
  bool shouldIndentWhileEditingRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override { return false; }
  void willBeginEditingRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override { btnEdit->setSelected(true); }
  void didEndEditingRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override { btnEdit->setSelected(false); }

  std::shared_ptr<ui::View> viewTopBar;
  std::shared_ptr<ui::TableView> tblSavedSearches;
  std::shared_ptr<ui::Label> lblTopLabel, lblTopNotice;
  std::shared_ptr<ui::ImageView> imgBG, imgTopBarBG, imgTopBG;
  std::shared_ptr<ui::Button> btnEdit, btnSearch;
  std::shared_ptr<ui::ActivityIndicatorView> activityIndicator;

 private:
  std::shared_ptr<SavedSearchesViewController> self();
  void setupDone(std::vector<SavedSearchPtr> entries);
  void doneReflectingSearches(const SavedSearchPtr& entry, const SavedSearch& stored, bool ok);

  std::vector<SavedSearchPtr> arrSavedSearches_;
  bool isSettingUp_ = false;
  bool marking_ = false;
};
