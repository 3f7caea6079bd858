#pragma once
// The idle timer that dims and locks the screen. Disabling it keeps the
// screen on; the window backend inhibits the desktop's screen saver.
#include <functional>

namespace ui {

class IdleTimer {
 public:
  static bool isDisabled();
  static void setDisabled(bool disabled);
  // The backend hears every change (and the current value when it registers).
  static void setObserver(std::function<void(bool disabled)> observer);
};

}  // namespace ui
