#pragma once
// The rows of the More menu, in order, and the screen each row opens: its
// title, its icons, how the screen shows and the function that makes it.
// A row whose screen is not built yet has no function and opens nothing.
#include <memory>
#include <vector>

#include "platform/ui/ViewController.h"

enum class MoreRowShows {
  Pushed,     // on the menu's navigation controller
  FormSheet,  // inside a navigation controller of its own, over the whole root
  Popover,    // 320 x 476, pointing at the row
};

struct MoreMenuRow {
  const char* title;
  const char* icon;
  const char* highlightedIcon;
  MoreRowShows shows;
  std::shared_ptr<ui::ViewController> (*make)();
};

const std::vector<MoreMenuRow>& moreMenuRows();
