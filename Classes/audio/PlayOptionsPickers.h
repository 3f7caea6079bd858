#pragma once
// The two recitation option pickers the reading screen opens in its popover
// over the repeat bubbles: "Play Options" (what follows the end of a surah or
// a group, and the group of verses) and "Play each aya" (how often each verse
// plays). Every choice is stored in the defaults at once and announced by its
// notification. Main thread.
#include <memory>
#include <string>

#include "Classes/audio/SurahOptionsReciterController.h"

// What the pickers ask of the reading screen.
class PlayOptionsPickerDelegate {
 public:
  virtual ~PlayOptionsPickerDelegate() = default;
  virtual void dismissNextAyahOptionSheet() = 0;
  virtual void dismissAyahRepeatOptionSheet() = 0;
};

// The group size of a row of the group list: the verses after the first (no row for 4).
int playVerseRangeGroupSize(int row);

class PlayNextAyasController : public SurahOptionsReciterController {
 public:
  cg::Size contentSizeForViewInPopover() const override { return {320, 480}; }
  void viewDidLoad() override;
  int numberOfSectionsInTableView(ui::TableView*) override { return 2; }
  int numberOfRowsInSection(ui::TableView*, int section) override { return section == 0 ? 3 : section == 1 ? 14 : 1; }
  std::string titleForHeaderInSection(ui::TableView*, int section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  void btnBackPressed() override;

  // The text of a row (section 0 or 1).
  static std::string rowText(int section, int row);
  int iCurrSurahRepeat = 0;
  int iCurrVerseRange = 0;
  std::weak_ptr<PlayOptionsPickerDelegate> delegate;
};

class AyaRepeatController : public SurahOptionsReciterController {
 public:
  cg::Size contentSizeForViewInPopover() const override { return {320, 340}; }
  void viewDidLoad() override;
  int numberOfSectionsInTableView(ui::TableView*) override { return 1; }
  int numberOfRowsInSection(ui::TableView*, int section) override { return section == 0 ? 6 : 1; }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  void btnBackPressed() override;

  static std::string rowText(int row);
  int iCurrentRepeatAyah = 0;
  std::weak_ptr<PlayOptionsPickerDelegate> delegate;
};
