#pragma once
// The reciter picker: the eight reciters in their fixed order (7, the
// high-quality twin of 1, is chosen through 1), the current one ticked, each
// with an icon telling whether the surah is installed for it and whether it
// offers continuous audio. A choice is stored in "CurrentReciterv22" at once
// and announced with "ReciterDidChange"; choosing a reciter whose surah is
// still per verse while it offers continuous audio proposes the upgrade.
// Main thread.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Classes/audio/SurahOptionsReciterController.h"
#include "platform/ui/AlertView.h"

class PickReciterController : public SurahOptionsReciterController, public ui::AlertViewDelegate {
 public:
  cg::Size contentSizeForViewInPopover() const override { return {320, 417}; }
  void viewDidLoad() override;
  void setSurah(int surah);
  int iCurrentSurah() const { return iCurrentSurah_; }
  int iCurrentReciter() const { return iCurrentReciter_; }
  const std::vector<int>& reciters() const { return arrVals; }

  int numberOfSectionsInTableView(ui::TableView*) override { return 1; }
  int numberOfRowsInSection(ui::TableView*, int) override { return int(arrKeys.size()); }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  // Back closes a modal picker; a presenter that shows it otherwise says how.
  void btnBackPressed() override;
  std::function<void()> onBack;
  void clickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;

  // The icon of a row's reciter for the surah (-1: none known).
  static std::string iconForReciter(int reciter, int surah);
  // The surah is there for the reciter: continuous, or else installed at all.
  static bool isInstalled(int reciter, int surah);

 protected:
  float legendHeight() const override { return 74; }

 private:
  void refreshSecondLegend();
  int iCurrentSurah_ = -1;
  int iCurrentReciter_ = 0;
  std::vector<std::string> arrKeys;
  std::vector<int> arrVals;
};
