#pragma once
// The screen the window lives on: the tablet's, 1024 x 768 points in
// landscape (the start) or 768 x 1024 in portrait as the window turns, with a
// 20-point status bar along the top edge.
#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/Geometry.h"

namespace ui {

// Posted when the scale the screen is drawn at changes (a window moved to,
// or resized on, a denser display).
inline constexpr const char* ScreenScaleDidChangeNotification = "ScreenScaleDidChangeNotification";

class Screen {
 public:
  static Screen& main();

  cg::Rect bounds() const { return bounds_; }
  // The bounds less the status bar.
  cg::Rect applicationFrame() const;
  float scale() const { return scale_; }
  float statusBarHeight() const { return statusBarHeight_; }

  // Set by the backend (and by tests).
  void setBounds(cg::Rect bounds) { bounds_ = bounds; }
  void setScale(float scale) {
    if (scale == scale_) return;
    scale_ = scale;
    ns::NotificationCenter::defaultCenter().postNotificationName(ScreenScaleDidChangeNotification);
  }
  void setStatusBarHeight(float h) { statusBarHeight_ = h; }

 private:
  cg::Rect bounds_{0, 0, 1024, 768};
  float scale_ = 1;
  float statusBarHeight_ = 20;
};

inline Screen& Screen::main() {
  static Screen screen;
  return screen;
}

inline cg::Rect Screen::applicationFrame() const {
  return cg::Rect(bounds_.x(), bounds_.y() + statusBarHeight_, bounds_.width(),
                  bounds_.height() - statusBarHeight_);
}

}  // namespace ui
