#pragma once
// Drawing an image into a rectangle by content mode (the platform's numbers:
// 0 scale to fill, 1 aspect fit, 2 aspect fill, 3 redraw, 4 centre, 5 top,
// 6 bottom, 7 left, 8 right, 9-12 the corners), optionally with rounded corners.
#include "platform/graphics/Context.h"
#include "platform/ui/Image.h"

namespace ui {

// Where an image of this size is drawn for the mode; `clipped` tells whether
// the drawing is clipped to the rectangle (modes 5 to 12).
cg::Rect TKImageRectForContentMode(cg::Size image, cg::Rect rect, int contentMode, bool* clipped = nullptr);

void drawInRect(const Image& image, cg::Context& context, cg::Rect rect, int contentMode);
// Clipped to a rounded rectangle when the radius is not 0.
void drawInRect(const Image& image, cg::Context& context, cg::Rect rect, float radius, int contentMode = 0);

// Begins a new path holding the rectangle with corners of the radius (the
// plain rectangle for radius 0).
void addRoundedRectToPath(cg::Context& context, cg::Rect rect, float radius);

}  // namespace ui
