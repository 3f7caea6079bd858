#pragma once
// Pins a label's text to its top or bottom by padding it with line breaks.
#include "platform/ui/Label.h"

namespace ui {

// Appends "\n " as often as empty lines fit below the text (of a thousand).
void alignTop(Label& label);
// Puts " \n" before the text as often as empty lines fit within the label's
// line limit (none for a limit of 0).
void alignBottom(Label& label);

}  // namespace ui
