#include "Classes/settings/SheetKeys.h"

#include "platform/ui/Window.h"

void SheetKeys::take(ui::Responder& sheet, ui::Window* window) {
  if (!window) return;
  ui::Responder* before = window->firstResponder();
  viewBefore_.reset();
  controllerBefore_.reset();
  if (before == &sheet) return;
  if (auto* v = dynamic_cast<ui::View*>(before)) viewBefore_ = v->weak_from_this();
  else if (auto* c = dynamic_cast<ui::ViewController*>(before)) controllerBefore_ = c->weak_from_this();
  sheet.becomeFirstResponder();
}

void SheetKeys::giveBack(ui::Responder& sheet) {
  if (!sheet.isFirstResponder()) return;
  sheet.resignFirstResponder();
  if (auto v = viewBefore_.lock()) v->becomeFirstResponder();
  else if (auto c = controllerBefore_.lock()) c->becomeFirstResponder();
  viewBefore_.reset();
  controllerBefore_.reset();
}
