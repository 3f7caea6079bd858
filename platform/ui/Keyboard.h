#pragma once
// The on-screen keyboard as the screens see it. There are no keys to draw (the
// desktop's keyboard types), but while a responder that takes text is first
// responder the keyboard counts as shown: its show and hide are notified with
// the frame, duration and curve of the tablet's keyboard, so screens make room
// as they expect, and the responder's input accessory view sits on top of it.
// Main thread only.
#include <memory>

#include "platform/foundation/Value.h"
#include "platform/graphics/Geometry.h"

namespace ui {

class View;
class Window;

// Posted on the default centre; the user info carries the entries below.
inline constexpr const char* KeyboardWillShowNotification = "KeyboardWillShowNotification";
inline constexpr const char* KeyboardDidShowNotification = "KeyboardDidShowNotification";
inline constexpr const char* KeyboardWillHideNotification = "KeyboardWillHideNotification";
inline constexpr const char* KeyboardDidHideNotification = "KeyboardDidHideNotification";

// Rectangles and points in screen coordinates (read them with keyboardRect and
// keyboardPoint); the duration in seconds; the curve an AnimationCurve number.
inline constexpr const char* KeyboardFrameBeginUserInfoKey = "KeyboardFrameBeginUserInfoKey";
inline constexpr const char* KeyboardFrameEndUserInfoKey = "KeyboardFrameEndUserInfoKey";
inline constexpr const char* KeyboardBoundsUserInfoKey = "KeyboardBoundsUserInfoKey";
inline constexpr const char* KeyboardCenterBeginUserInfoKey = "KeyboardCenterBeginUserInfoKey";
inline constexpr const char* KeyboardCenterEndUserInfoKey = "KeyboardCenterEndUserInfoKey";
inline constexpr const char* KeyboardAnimationDurationUserInfoKey = "KeyboardAnimationDurationUserInfoKey";
inline constexpr const char* KeyboardAnimationCurveUserInfoKey = "KeyboardAnimationCurveUserInfoKey";

// A rectangle or point entry of a keyboard notification; zero when absent.
cg::Rect keyboardRect(const ns::Value& userInfo, const char* key);
cg::Point keyboardPoint(const ns::Value& userInfo, const char* key);

class Keyboard {
 public:
  static Keyboard& shared();

  static constexpr double kAnimationDuration = 0.3;
  // The keys' size on a screen of these bounds: 1024 x 352 in landscape,
  // 768 x 264 in portrait.
  static cg::Size keysSize(cg::Rect screenBounds);

  bool isVisible() const { return visible_; }
  // Where the keyboard (with the accessory view) is while shown, in screen coordinates.
  cg::Rect frame() const { return frame_; }
  View* accessoryView() const { return accessory_.get(); }

  // Called by the window whenever its first responder changes.
  void firstResponderChanged(Window& window);
  void windowWillClose(Window* window);
  // The screen turned: a keyboard that is up is shown again at the new size.
  void screenDidTurn(Window& window);
  // Hidden, nothing pending, no notification (tests).
  void resetForTesting();

 private:
  void show(Window& window, std::shared_ptr<View> accessory);
  void hide();
  void post(const char* name, cg::Rect begin, cg::Rect end);
  void placeAccessory(Window& window, cg::Rect keyboardFrame, bool animated);
  void removeAccessory();
  cg::Rect hiddenFrame(cg::Rect shown) const;

  bool visible_ = false;
  cg::Rect frame_;
  Window* window_ = nullptr;  // cleared by windowWillClose
  std::shared_ptr<View> accessory_;
};

}  // namespace ui
