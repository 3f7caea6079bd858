#pragma once
// The four orientations of the interface, in the platform's numbering, and
// the logical screen size each gives the tablet.
#include "platform/graphics/Geometry.h"

namespace ui {

enum class InterfaceOrientation {
  Portrait = 1,
  PortraitUpsideDown = 2,
  LandscapeRight = 3,
  LandscapeLeft = 4,
};

inline bool isLandscape(InterfaceOrientation o) {
  return o == InterfaceOrientation::LandscapeRight || o == InterfaceOrientation::LandscapeLeft;
}
inline bool isPortrait(InterfaceOrientation o) { return !isLandscape(o); }

// The tablet's screen in points: 768 x 1024 upright, 1024 x 768 on its side.
inline cg::Size screenSizeForOrientation(InterfaceOrientation o) {
  return isLandscape(o) ? cg::Size{1024, 768} : cg::Size{768, 1024};
}

// A quarter turn of the device, clockwise seen from the front (or back).
inline InterfaceOrientation nextOrientation(InterfaceOrientation o, bool clockwise = true) {
  // Upright, on its right side, upside down, on its left side.
  static constexpr InterfaceOrientation ring[] = {
      InterfaceOrientation::Portrait, InterfaceOrientation::LandscapeRight,
      InterfaceOrientation::PortraitUpsideDown, InterfaceOrientation::LandscapeLeft};
  int i = 0;
  while (ring[i] != o) ++i;
  return ring[(i + (clockwise ? 1 : 3)) % 4];
}

}  // namespace ui
