#include "toolkit/core/Toolbar+TKCategory.h"

#include <algorithm>

namespace ui {

std::shared_ptr<BarButtonItem> itemWithTag(const Toolbar& toolbar, int tag) {
  for (const auto& item : toolbar.items())
    if (item && item->tag() == tag) return item;
  return nullptr;
}

void replaceItemWithTag(Toolbar& toolbar, int tag, std::shared_ptr<BarButtonItem> item) {
  auto items = toolbar.items();
  auto it = std::find_if(items.begin(), items.end(), [&](const auto& i) { return i && i->tag() == tag; });
  if (it == items.end()) return;
  *it = std::move(item);
  toolbar.setItems(std::move(items));
}

}  // namespace ui
