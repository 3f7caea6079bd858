#include "toolkit/core/TKPopupViewController.h"

#include "toolkit/core/ViewController+TKCategory.h"

TKPopupViewController::TKPopupViewController() = default;

TKPopupViewController::~TKPopupViewController() {
  // Our own weak link has already expired, so the super controller's entry
  // reads empty: drop it.
  if (ui::ViewController* super = ui::superController(*this)) {
    if (!ui::popupViewController(*super)) ui::setPopupViewController(*super, nullptr);
  }
}
