#pragma once
// Finding and replacing a toolbar's item by its tag.
#include <memory>

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Toolbar.h"

namespace ui {

// The first item with the tag; null when none.
std::shared_ptr<BarButtonItem> itemWithTag(const Toolbar& toolbar, int tag);
// Puts the item in place of the first item with the tag; nothing when none has it.
void replaceItemWithTag(Toolbar& toolbar, int tag, std::shared_ptr<BarButtonItem> item);

}  // namespace ui
