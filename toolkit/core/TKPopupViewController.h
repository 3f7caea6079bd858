#pragma once
// A model controller shown as a popup over its super controller, keeping the
// status bar as it is; subclasses present and remove it.
#include "platform/ui/View.h"
#include "toolkit/core/TKModelViewController.h"

class TKPopupViewController : public TKModelViewController {
 public:
  TKPopupViewController();
  // Its super controller forgets it.
  ~TKPopupViewController() override;
  std::string className() const override { return "TKPopupViewController"; }

  virtual void showInView(ui::View& view, bool animated) { (void)view, (void)animated; }
  virtual void dismissPopupViewControllerAnimated(bool animated) { (void)animated; }
};
