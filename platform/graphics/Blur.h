#pragma once
// The alpha of a surface, box-blurred: the mask a shadow is painted through.
#include <cairo.h>

#include "platform/graphics/Geometry.h"

namespace cg {

// An A8 surface of the same pixel size and device offset as `source`, holding
// its alpha blurred over about `blurPx` pixels (three box passes, close to a
// Gaussian). The caller destroys it; nothing when the source cannot be read.
cairo_surface_t* blurredAlpha(cairo_surface_t* source, Float blurPx);

}  // namespace cg
