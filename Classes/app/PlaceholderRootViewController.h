#pragma once
// The tablet root until the application shell is built: the surah index as
// the left column, and beside it a plain screen that names the application
// and says which screens are still to come.
#include <memory>

#include "Classes/index/IndexViewController.h"
#include "Classes/shell/iPadRootViewController.h"

class PlaceholderRootViewController : public iPadRootViewController {
 public:
  PlaceholderRootViewController();
  std::shared_ptr<IndexViewController> viewContIndex() const override { return index_; }
  void loadView() override;
  // It turns with the tablet, in all four orientations.
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }
  void reloadIndexView() override { index_->reloadIndexView(); }

 private:
  std::shared_ptr<IndexViewController> index_;
};
