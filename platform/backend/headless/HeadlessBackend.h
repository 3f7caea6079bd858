#pragma once
// Runs the application without a display: the virtual clock, synthetic
// touches and keys, and PNG screenshots of the key window. Tests drive it
// directly; a headless run of the program reads the environment:
//   ZARVEL_HEADLESS=1          run headless
//   ZARVEL_STOP_AFTER=seconds  virtual time to run before stopping (default 0)
//   ZARVEL_SCREENSHOT=path.png write the window there before stopping
#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/Clock.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/Application.h"
#include "platform/ui/Responder.h"

namespace ui {

class Window;

// Scripted gestures on a window, timed on a virtual clock: the finger moves
// once a frame (1/60 s) as a hand on the glass would.
class GestureScript {
 public:
  static constexpr double kFrame = 1.0 / 60;
  GestureScript(Window& window, ns::VirtualClock& clock) : window_(window), clock_(clock) {}

  // Down at `from`, moves evenly to `to` over `seconds`, rests `hold` seconds
  // (so it lifts without speed), lifts.
  void drag(cg::Point from, cg::Point to, double seconds, double hold = 0.2, int finger = 0);
  // Down at `from`, moves to `to` at `velocity` points per second and lifts
  // while still moving.
  void flick(cg::Point from, cg::Point to, float velocity, int finger = 0);
  // Whole wheel steps at the pointer (positive y moves the content up).
  void wheel(cg::Point at, float stepsX, float stepsY);
  // A touchpad stroke: fractions of a step, moving the content directly.
  void touchpad(cg::Point at, float deltaX, float deltaY);
  void tap(cg::Point p, double hold = 0.05, int finger = 0);
  // A tap on the status bar at the top of the screen.
  void tapStatusBar();

 private:
  void moveEvenly(cg::Point from, cg::Point to, int steps, double stepSeconds, int finger);
  Window& window_;
  ns::VirtualClock& clock_;
};

class HeadlessBackend {
 public:
  // Installs a virtual clock (starting at `start`, seconds since 1970; by
  // default the real time now) and a 1024 x 768 screen.
  explicit HeadlessBackend(double start = -1);
  ~HeadlessBackend();
  HeadlessBackend(const HeadlessBackend&) = delete;
  HeadlessBackend& operator=(const HeadlessBackend&) = delete;

  // Gives the application its delegate, loads the stored notifications and
  // launches (didFinishLaunching, then active).
  void launch(std::shared_ptr<ApplicationDelegate> delegate);

  // Moves the virtual clock, running what falls due (timers, animations).
  void advance(double seconds);
  ns::VirtualClock& clock() { return *clock_; }

  // Synthetic input, in window coordinates, to the key window.
  void touchDown(cg::Point p, int finger = 0);
  void touchMove(cg::Point p, int finger = 0);
  void touchUp(cg::Point p, int finger = 0);
  // Down, a short hold on the clock, up.
  void tap(cg::Point p, double hold = 0.05);
  void key(const std::string& name, unsigned modifiers = 0);
  // Drags, flicks, wheel steps and status-bar taps on the key window (see GestureScript).
  void drag(cg::Point from, cg::Point to, double seconds, double hold = 0.2);
  void flick(cg::Point from, cg::Point to, float velocity);
  void wheel(cg::Point at, float stepsX, float stepsY);
  void touchpad(cg::Point at, float deltaX, float deltaY);
  void tapStatusBar();
  void typeText(const std::string& text);
  // An input method's composition in progress (empty: it ends); the cursor
  // counts UTF-16 units into it. Committing is typeText.
  void composeText(const std::string& text, int cursor);

  // Focus and window events, as the window backend maps them.
  void loseFocus() { Application::shared().resignActive(); }
  void gainFocus() { Application::shared().becomeActive(); }
  void minimise() { Application::shared().enterBackground(); }
  void restore() { Application::shared().enterForeground(); }
  void close() { Application::shared().terminate(); }

  // The key window as a PNG (a black screen when there is none).
  bool screenshot(const std::string& path);

  // The program's headless run: launch, run ZARVEL_STOP_AFTER seconds of
  // virtual time, write ZARVEL_SCREENSHOT, terminate. The exit status.
  // The delegate is made once the clock and screen are in place.
  using DelegateFactory = std::function<std::shared_ptr<ApplicationDelegate>()>;
  static int runFromEnvironment(const DelegateFactory& makeDelegate,
                                const std::string& inboundURL = "");
  static int runFromEnvironment(std::shared_ptr<ApplicationDelegate> delegate,
                                const std::string& inboundURL = "") {
    return runFromEnvironment([delegate] { return delegate; }, inboundURL);
  }

 private:
  std::shared_ptr<ns::VirtualClock> clock_;
};

}  // namespace ui
