#pragma once
// Redrawing an image at a scale, and tinting it through its own shape.
#include <memory>

#include "platform/graphics/Color.h"
#include "platform/ui/Image.h"

namespace ui {

// A copy of scale times the size in points, marked with that scale.
std::shared_ptr<Image> normalize(const Image& image, cg::Float scale);
// An image of the same size in points (scale 1): every pixel the colour at
// the receiver's opacity there.
std::shared_ptr<Image> copyImageWithColor(const Image& image, const cg::Color& color);

}  // namespace ui
