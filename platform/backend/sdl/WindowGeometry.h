#pragma once
// The desktop window's geometry, apart from SDL so it can be tested: the
// tablet's logical screen (768 x 1024 points upright, 1024 x 768 on its
// side) shown whole in the window, letterboxed, at the largest size that
// fits; the drawing scale; where a mouse point falls on the logical screen;
// and the size, position and orientation kept between runs.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/ui/InterfaceOrientation.h"

namespace ui {

struct WindowPlacement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool hasPosition = false;  // otherwise centred on the desktop
  InterfaceOrientation orientation = InterfaceOrientation::LandscapeRight;
};

// The file's text: "key=value" lines (x, y, width, height, orientation).
// Nothing when the size or orientation is missing or out of range.
std::optional<WindowPlacement> parseWindowPlacement(std::string_view text);
std::string formatWindowPlacement(const WindowPlacement& placement);

// The largest window of the logical screen's aspect within a fraction of
// the desktop's usable area.
cg::Size fitWindowSize(cg::Size logical, cg::Size desktop, float fraction = 0.9f);

// Where the window opens, among the usable areas of the displays (the first
// is the primary): the saved placement (its orientation following its shape:
// taller than wide is portrait) on the display it lies on most, no larger
// than that display. A window with less than a title bar's height or a third
// of its width on that display is brought wholly onto it; one on no display
// (a screen since unplugged) is centred on the primary. Without a saved
// placement, the screen fitted to the primary display in the orientation of
// its shape.
WindowPlacement openingPlacement(const std::optional<WindowPlacement>& saved, const std::vector<cg::Rect>& displays);
// The display a placement lies on most: its index, or -1 when it has no
// position or lies on none.
int displayOf(const WindowPlacement& placement, const std::vector<cg::Rect>& displays);

// The rectangle the logical screen takes in a window of this size: scaled
// to fit, centred, black bars on the other axis.
cg::Rect screenRectInWindow(cg::Size logical, cg::Size window);
// The scale to draw at: 2 once the screen is shown larger than its points
// (the scaling then reduces it, which stays sharp), else 1.
float renderScaleFor(cg::Size logical, cg::Size drawable);
// A point of the window on the logical screen.
cg::Point logicalPointFor(cg::Point windowPoint, cg::Size logical, cg::Size window);

// The size a window takes when the screen turns: the same scale, other way round.
cg::Size turnedWindowSize(cg::Size window, cg::Size logicalBefore, cg::Size logicalAfter, cg::Size desktop);

}  // namespace ui
