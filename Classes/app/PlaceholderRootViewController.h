#pragma once
// The tablet root until the application shell is built: a plain screen that
// names the application and says which screens are still to come.
#include "Classes/shell/iPadRootViewController.h"

class PlaceholderRootViewController : public iPadRootViewController {
 public:
  void loadView() override;
  // It turns with the tablet, in all four orientations.
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }
};
