#pragma once
// What the More menu, the settings screens and the tajweed guide share: a
// screen of the right-hand column with a backdrop and a top bar holding its
// title and, below the menu, a back button, over a table.
#include <memory>
#include <string>

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/View.h"

namespace columnscreen {

inline constexpr float kTopBarHeight = 44;
inline constexpr float kColumnWidth = 288;

struct TopBar {
  std::shared_ptr<ui::View> view;
  std::shared_ptr<ui::ImageView> background;
  std::shared_ptr<ui::Label> title;
  std::shared_ptr<ui::Button> back;  // none unless asked for
};

struct Parts {
  std::shared_ptr<ui::View> root;
  std::shared_ptr<ui::ImageView> imgBG;
  TopBar bar;
  std::shared_ptr<ui::TableView> table;
};

// The top bar at a width: its background, its centred title and the back button.
TopBar topBar(float width, bool withBack);

// The screen at the column's width and the application's height.
Parts build(bool withBack, ui::TableViewStyle tableStyle);

// The back button's look: the left-arrow button stretched, titled for both states.
void dressBackButton(ui::Button& button, const std::string& title);

}  // namespace columnscreen
