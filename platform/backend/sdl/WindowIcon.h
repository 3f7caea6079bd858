#pragma once
// The window's icon, as the desktop shows it in task bars and switchers
// (_NET_WM_ICON on X11): the icon the build draws beside the resources,
// read into straight (not premultiplied) ARGB pixels, as SDL takes them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ui {

struct IconPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;  // row by row, alpha in the top byte
};

// The PNG's pixels; nothing when it cannot be read.
std::optional<IconPixels> loadIconPixels(const std::string& pngPath);

// The icon the window shows: the 128-pixel one of the resources, else the
// large one ("" when neither is there).
std::string windowIconPath();

}  // namespace ui
