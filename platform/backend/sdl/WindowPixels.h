#pragma once
// Shows the drawn screen in the window's own pixels (the window surface),
// apart from SDL so it can be tested: only the areas that changed are
// copied, one to one when the window shows the screen at the drawn size,
// else scaled smoothly; the caller hands the returned rectangles to the
// window system, which then sends only those pixels to the display. A GL
// renderer on a software rasteriser copies and scales the whole screen at
// every frame instead, which at scale 2 costs more than the drawing.
#include <cairo.h>

#include <string_view>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace ui {

// The window's pixels: 32 bits each, blue first in memory (XRGB or ARGB 8888).
struct WindowPixels {
  unsigned char* data = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // bytes a row
};

struct PixelArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PixelArea&) const = default;
};

// Copies the areas of `screen` (drawn at `scale` pixels a point) that
// changed, given in points, to where the window shows the screen (`shown`,
// in window pixels, as screenRectInWindow gives it). With `whole`, the whole
// screen is copied and the bars beside it painted black. Returns the window's
// areas written, each within the window.
std::vector<PixelArea> copyToWindow(cairo_surface_t* screen, float scale, const std::vector<cg::Rect>& changed,
                                    const WindowPixels& window, cg::Rect shown, bool whole);

// Whether a renderer draws without a graphics card: SDL's own software
// renderer, or GL on a software rasteriser (`glRenderer` is GL's renderer
// string, empty for other renderers). Their presents go through the window
// surface instead.
bool rendersInSoftware(std::string_view sdlRenderer, std::string_view glRenderer);

}  // namespace ui
