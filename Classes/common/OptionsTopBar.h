#pragma once
// The top bar of the reading header's small pickers (translation, reciter):
// a wooden bar across the top, a centred title and a Back button at the
// left, with the picker's table below it. Main thread only.
#include <functional>
#include <memory>
#include <string>

#include "platform/graphics/Geometry.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

namespace screens {

constexpr float kOptionsTopBarHeight = 44;

// The picker's white root view of the size, resizing with its popover.
std::shared_ptr<ui::View> makeOptionsRoot(cg::Size size);

// Adds the bar, its title and its Back button (which calls onBack on behalf
// of target) to root, across the width.
void addOptionsTopBar(ui::View& root, float width, const void* target, std::function<void()> onBack,
                      std::shared_ptr<ui::ImageView>& bar, std::shared_ptr<ui::Label>& title,
                      std::shared_ptr<ui::Button>& back);

// The bar's images and its title and Back texts.
void styleOptionsTopBar(ui::ImageView& bar, ui::Label& title, ui::Button& back, const std::string& titleText,
                        const std::string& backText);

}  // namespace screens
