#include "toolkit/core/TKPopupViewController.h"

#include "platform/ui/Application.h"

#include "toolkit/core/ViewController+TKCategory.h"

// Appearing keeps the status bar as the application has it.
TKPopupViewController::TKPopupViewController() { _statusBarStyle = ui::Application::shared().statusBarStyle(); }

TKPopupViewController::~TKPopupViewController() {
  // Our own weak link has already expired, so the super controller's entry
  // reads empty: drop it.
  if (ui::ViewController* super = ui::superController(*this)) {
    if (!ui::popupViewController(*super)) ui::setPopupViewController(*super, nullptr);
  }
}
