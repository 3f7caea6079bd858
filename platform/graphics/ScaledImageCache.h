#pragma once
// Bitmaps drawn smoothed at another size are kept, each as the pixels it
// covers on a device: a part of a bitmap smoothed into a device rect with
// fractional edges, on a transparent bitmap whose first pixel is the device
// pixel at the rect's rounded-down corner. Copying that onto the device is
// what drawing the bitmap there does, whatever clip the device has at the
// time (cairo's smoothing differs with the clip), and far cheaper. Kept while
// the source bitmap lives, once a size is asked for in a second picture (an
// animation's passing sizes are not kept), within a budget of memory (least
// recently used go first). Thread-safe. Internal to platform/graphics.
#include <cairo.h>

#include <cstddef>

#include "platform/graphics/Geometry.h"

namespace cg::detail {

// A new reference to the kept bitmap of `source` (pixels of `surface`)
// smoothed into `device` (device pixels), made now if need be; null when it
// would be too large to keep. `origin` is given its device pixel.
cairo_surface_t* scaledCopy(cairo_surface_t* surface, const Rect& source, const Rect& device, int& x, int& y);

// A new picture begins (Context::beginPicture).
void beginScaledCopyPicture();

// Bytes the kept bitmaps take now, and the most they may take.
std::size_t scaledCopyBytes();
constexpr std::size_t kScaledCopyBudget = std::size_t(48) << 20;

}  // namespace cg::detail
