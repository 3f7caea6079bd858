#pragma once
// The chain of objects that receive touches and keys: a view passes what it
// does not handle to its superview (or its controller), up to the window and
// the application.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace ui {

class View;
class Window;

enum class TouchPhase { Began, Moved, Stationary, Ended, Cancelled };

// One finger (or the mouse) on the screen.
class Touch {
 public:
  TouchPhase phase() const { return phase_; }
  double timestamp() const { return timestamp_; }
  int tapCount() const { return tapCount_; }
  // The view that was hit when the touch began; it gets every phase.
  View* view() const { return view_.lock().get(); }
  Window* window() const { return window_; }
  cg::Point locationInView(const View* view) const;
  cg::Point previousLocationInView(const View* view) const;
  cg::Point locationInWindow() const { return location_; }

 private:
  friend class Window;
  TouchPhase phase_ = TouchPhase::Began;
  double timestamp_ = 0;
  int tapCount_ = 1;
  std::weak_ptr<View> view_;
  Window* window_ = nullptr;
  cg::Point location_;
  cg::Point previous_;
};

using TouchSet = std::vector<std::shared_ptr<Touch>>;

// The platform's numbering of event types and subtypes.
enum class EventType { Touches = 0, Motion = 1, RemoteControl = 2 };
enum class EventSubtype {
  None = 0,
  RemoteControlPlay = 100,
  RemoteControlPause = 101,
  RemoteControlStop = 102,
  RemoteControlTogglePlayPause = 103,
  RemoteControlNextTrack = 104,
  RemoteControlPreviousTrack = 105,
  RemoteControlBeginSeekingBackward = 106,
  RemoteControlEndSeekingBackward = 107,
  RemoteControlBeginSeekingForward = 108,
  RemoteControlEndSeekingForward = 109,
};

// What came with a touch or a remote-control command: the time, every touch
// now down (each with its phase), the type and subtype.
struct Event {
  double timestamp = 0;
  TouchSet allTouches;
  EventType type = EventType::Touches;
  EventSubtype subtype = EventSubtype::None;
};

// Modifier keys held with a key.
enum KeyModifier : unsigned {
  KeyModifierShift = 1 << 0,
  KeyModifierControl = 1 << 1,
  KeyModifierAlt = 1 << 2,
  KeyModifierMeta = 1 << 3,
};

// A key press: a named key ("Return", "Escape", "Left", "BackSpace",
// "AudioPlay"...) or text typed, with the KeyModifier bits held.
struct KeyEvent {
  std::string key;
  std::string text;
  unsigned modifiers = 0;
};

// A turn of the mouse wheel or a stroke on a touchpad, in wheel steps (a
// touchpad sends fractions of one). Positive y moves the content up (the
// offset grows), positive x moves it left. Precise deltas come from a
// touchpad and move the content directly; whole steps from a wheel ease.
struct ScrollWheelEvent {
  cg::Point location;  // window coordinates
  float deltaX = 0;
  float deltaY = 0;
  bool precise = false;
};

class Responder {
 public:
  virtual ~Responder() = default;

  virtual Responder* nextResponder() const { return nullptr; }

  // Touches travel up the chain until a responder overrides these.
  virtual void touchesBegan(const TouchSet& touches, const Event& event);
  virtual void touchesMoved(const TouchSet& touches, const Event& event);
  virtual void touchesEnded(const TouchSet& touches, const Event& event);
  virtual void touchesCancelled(const TouchSet& touches, const Event& event);

  // Keys go to the first responder and travel up the same way.
  virtual void keyDown(const KeyEvent& key);
  virtual void insertText(const std::string& text);
  // An input method's composition in progress (empty when it ends without
  // committing); cursor counts UTF-16 units into it.
  virtual void setMarkedText(const std::string& text, int cursor);
  // Media keys and the lock screen's controls (type RemoteControl) go to the
  // first responder and travel up the same way.
  virtual void remoteControlReceivedWithEvent(const Event& event);

  virtual bool canBecomeFirstResponder() const { return false; }
  virtual bool canResignFirstResponder() const { return true; }
  // Virtual so a compound view can stand for the responder inside it.
  virtual bool becomeFirstResponder();
  virtual bool resignFirstResponder();
  virtual bool isFirstResponder() const;
  // Told by the window after first responder moved to or from this responder.
  virtual void didBecomeFirstResponder() {}
  virtual void didResignFirstResponder() {}
  // A responder that takes typed text raises the keyboard while it is first
  // responder, with its accessory view above it.
  virtual bool hasKeyboardInput() const { return false; }
  virtual std::shared_ptr<View> inputAccessoryView() const { return nullptr; }
  // Where typed text goes now, in window coordinates (an input method puts
  // its candidates beside it); empty when nowhere.
  virtual cg::Rect textInputRect() const { return {}; }
  // The window whose first responder this may become (views answer theirs).
  virtual Window* responderWindow() const { return nullptr; }
};

}  // namespace ui
