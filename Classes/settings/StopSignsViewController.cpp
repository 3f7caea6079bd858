#include "Classes/settings/StopSignsViewController.h"

#include "Classes/common/ScreenSupport.h"
#include "Classes/settings/SignCellView.h"

namespace {

using screens::localized;

struct Sign {
  const char* image;
  const char* title;
  const char* explanation;
};
const Sign kSigns[StopSignsViewController::kSignCount] = {
    {"sign1.png", "Must Stop", "Must stop on this sign"},
    {"sign2.png", "Can't Stop", "Never stop on this sign"},
    {"sign3.png", "Stop or continue", "Both are fine"},
    {"sign4.png", "Better to continue", "Continuing is desirable"},
    {"sign5.png", "Better to stop", "Stopping is desirable"},
    {"sign6.png", "Stop at one", "You can only stop at one of these two"},
    {"sign7.png", "A Slight pause", "Take a slight pause without breathing"},
};

}  // namespace

void StopSignsViewController::viewDidLoad() {
  setUpColumn(*tblGroups, localized("Stop Signs"), localized("More"), cg::Color::fromRGB255(187, 211, 237));
  rethemeUI();
}

void StopSignsViewController::viewWillAppear(bool) {
  if (tblGroups) tblGroups->reloadData();
}

void StopSignsViewController::btnCancelPressed() {
  if (parentViewController()) dismissModalViewControllerAnimated(true);
}

std::shared_ptr<ui::TableViewCell> StopSignsViewController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                                 const ui::IndexPath& indexPath) {
  auto cell = std::dynamic_pointer_cast<SignCellView>(tableView->dequeueReusableCellWithIdentifier("VerseCell"));
  if (!cell) cell = std::make_shared<SignCellView>(ui::TableViewCellStyle::Default, "VerseCell");
  int r = indexPath.row;
  if (r < 0 || r >= kSignCount) return cell;
  cell->lblTitle->setText(localized(kSigns[r].title));
  cell->lblExplanation->setText(localized(kSigns[r].explanation));
  cell->imgSign->setImage(ui::Image::imageNamed(kSigns[r].image));
  cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
  return cell;
}

void StopSignsViewController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  tableView->deselectRowAtIndexPath(indexPath, true);
}
