#pragma once
// The keys of a sheet: while it is up it takes them from whoever had them
// (the reading screen, usually), and gives them back when it goes, so that
// the arrows move through the sheet and not through the text behind it.
// Main thread only.
#include <memory>

#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

class SheetKeys {
 public:
  // Makes `sheet` first responder of `window`, remembering who was.
  void take(ui::Responder& sheet, ui::Window* window);
  // Gives the keys back, if `sheet` still has them.
  void giveBack(ui::Responder& sheet);

 private:
  std::weak_ptr<ui::View> viewBefore_;
  std::weak_ptr<ui::ViewController> controllerBefore_;
};
