#pragma once
// Finds the first responder at or below a view and makes it resign.
#include "platform/ui/View.h"

namespace ui {

// The view itself, then its subviews in order, depth first; true once one
// resigned. False (nothing changed) when none below is first responder.
bool findAndResignFirstResponder(View& view);

}  // namespace ui
