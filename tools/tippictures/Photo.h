#pragma once
// The pictures of the tips: a part of the window, taken at scale 2 and
// written at the size the tips page shows it, at scale 1 and 2.
#include <memory>
#include <string>

#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"

namespace tippictures {

// The part `crop` (points of the window) of a window snapshot, scaled to
// `size` points and drawn at `scale`; null when the crop leaves the snapshot.
std::shared_ptr<cg::Image> framed(const cg::Image& snapshot, cg::Rect crop, cg::Size size, int scale);

// A reason the picture is not fit to ship, or empty: it must have its size
// and show more than one colour.
std::string checkPicture(const cg::Image& picture, cg::Size size, int scale);

}  // namespace tippictures
