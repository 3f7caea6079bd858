#pragma once
// The parts that a bookmark line and a search hit share: the verse-number
// badge at the left, the separator rule at the bottom, and the cell's
// selected background. Main thread only.
#include <memory>

#include "platform/ui/Button.h"
#include "platform/ui/View.h"

namespace verserow {

// The badge for a row of height h: the verse number over the aya mark,
// drawn black and white when highlighted; it takes no touches.
std::shared_ptr<ui::Button> makeVerseBadge(float h);
// The verse's number in every state (Arabic-Indic digits in Arabic).
void setVerseNumber(ui::Button& badge, int verse);
// The 1-point rule across the bottom of the row, shown or hidden; made in
// `rule` the first time it is shown.
void showBottomRule(ui::View& row, std::shared_ptr<ui::View>& rule, bool shown);
// What a selected row shows behind its content, for a cell of height h.
std::shared_ptr<ui::View> makeSelectedBackground(float h);

}  // namespace verserow
