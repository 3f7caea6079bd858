#pragma once
// A bare controller that reports a size fixed at construction as its popover
// content size; the reading screen wraps a view of its own in it.
#include "platform/ui/ViewController.h"

class UIViewControllerHelper : public ui::ViewController {
 public:
  // initWithNibName:bundle:withSize: (no nib on this platform).
  explicit UIViewControllerHelper(cg::Size size) : thisSize(size) {}
  cg::Size contentSizeForViewInPopover() const override { return thisSize; }

 private:
  cg::Size thisSize;
};
