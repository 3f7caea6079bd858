#pragma once
// The application window: the root of a view tree, the first responder, and
// the door through which the backend delivers touches and keys. It renders
// the whole tree into one cairo surface.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/InterfaceOrientation.h"
#include "platform/ui/View.h"

namespace cg {
class Context;
class Image;
}

namespace ui {

class ViewController;

// Posted (no sender) when a finger lifts from the status bar.
inline constexpr const char* StatusBarTappedNotification = "ZarvelStatusBarTapped";

class Window : public View {
 public:
  explicit Window(cg::Rect frame);
  ~Window() override;

  // Shows the window and makes it the key window (the one that gets keys).
  void makeKeyAndVisible();
  void makeKeyWindow();
  bool isKeyWindow() const;
  static Window* keyWindow();

  // The root controller's view fills the window.
  void setRootViewController(std::shared_ptr<ViewController> controller);
  ViewController* rootViewController() const { return rootViewController_.get(); }

  // First responder: the responder that gets keys and text.
  Responder* firstResponder() const { return firstResponder_; }
  // Each change tells the old responder, then the new one, then the keyboard.
  bool setFirstResponder(Responder* responder);
  void clearFirstResponder() { changeFirstResponder(nullptr); }

  // Touches from the backend, in window coordinates. `id` tells fingers apart
  // (the mouse is finger 0).
  void sendTouch(int id, TouchPhase phase, cg::Point location);
  // Cancels every touch in flight (focus lost, an alert appears).
  void cancelAllTouches();
  // A key goes down: media keys and the seek shortcuts become remote-control
  // events, anything else goes to the first responder.
  void sendKey(const KeyEvent& key);
  // An input method's composition, to the first responder.
  void sendMarkedText(const std::string& text, int cursor);
  // A wheel or touchpad scroll: offered to the view under the pointer, then up
  // its superviews until one takes it.
  void sendScrollWheel(const ScrollWheelEvent& event);
  // A tap on the status bar: the one visible scroll view that scrolls to the
  // top on it does so (none when there are several).
  void statusBarTapped();
  // A key comes up: ends seeking begun by its key.
  void sendKeyUp(const KeyEvent& key);
  // The remote-control command for a key going down or up, if it is one.
  static std::optional<EventSubtype> remoteControlSubtypeForKey(const KeyEvent& key, bool down);
  // Delivers a remote-control event to the first responder (up its chain),
  // while the application receives them. False when it was not delivered.
  bool sendRemoteControlEvent(EventSubtype subtype);

  // Every touch and remote-control event is offered to the hook before it is
  // delivered; answering true swallows it.
  using EventInterceptor = std::function<bool(const Event&)>;
  void setEventInterceptor(EventInterceptor hook) { interceptor_ = std::move(hook); }
  bool hasEventInterceptor() const { return static_cast<bool>(interceptor_); }

  // Turns the interface: asks the root controller, then sends will-rotate,
  // resizes the window to the tablet's screen in that orientation with
  // will-animate inside the animation, and did-rotate at its end. False when
  // refused (or already turned that way, or a turn is running).
  bool rotateToInterfaceOrientation(InterfaceOrientation orientation, bool animated = true);
  bool isRotating() const { return rotating_; }
  // The tablet's time for a quarter turn (a half turn takes twice as long).
  static constexpr double kRotationDuration = 0.4;

  // The status bar along the top, drawn over the tree, whose tap is posted.
  // The backends show it on the application's window; other windows (tests)
  // have none.
  void setShowsStatusBar(bool shows);
  bool showsStatusBar() const { return showsStatusBar_; }
  float statusBarHeight() const;

  // Lays out and draws the whole tree into the context (whose user space is
  // the window's).
  void render(cg::Context& context);
  // Lays out and draws only what changed since the last display into a
  // context on the surface that display drew last, which still holds that
  // frame (any other surface is drawn whole): content scrolled in a scroll
  // view is moved rather than drawn again, and views outside the changes or
  // under an opaque view are skipped. The areas whose pixels changed, drawn
  // or moved, in the window's points, each on whole pixels of the context;
  // empty when nothing changed.
  std::vector<cg::Rect> display(cg::Context& context);
  // Posts fn to the main loop once the next display has drawn its frame:
  // work for the idle time between frames.
  void performAfterDisplay(std::function<void()> fn) { afterDisplay_.push_back(std::move(fn)); }
  // A picture of the window at the scale.
  std::shared_ptr<cg::Image> snapshot(float scale = 1);
  bool writeScreenshot(const std::string& path, float scale = 1);
  // True when something changed since the last display.
  bool needsRedraw() const;
  // The whole window is drawn again at the next display.
  void setNeedsRedraw();

  // Marks an area (window points) whose pixels must be drawn again; views
  // do so as they change.
  void addDamage(cg::Rect rect);
  bool isWhollyDamaged() const { return whollyDamaged_; }
  // The areas marked so far (for tests).
  const std::vector<cg::Rect>& damage() const { return damage_; }

  Responder* nextResponder() const override;

 private:
  friend class View;
  // A view whose bounds origin moved by delta: its pixels may be moved at
  // the next display instead of drawn again.
  void viewDidScroll(View& view, cg::Point delta);
  Window* asWindow() override { return this; }
  struct PendingScroll {
    std::weak_ptr<View> view;
    cg::Point delta;
  };
  // Moves the pixels of the views that scrolled; the areas moved, in points.
  std::vector<cg::Rect> moveScrolledPixels(cg::Context& context);
  bool movePixelsOf(View& view, cg::Point delta, cg::Context& context, std::vector<cg::Rect>& moved);
  std::string statusBarState() const;
  void drawChanges(cg::Context& context, const std::vector<cg::Rect>& regions, bool uncut);

  struct TrackedTouch {
    std::shared_ptr<Touch> touch;
    std::vector<std::weak_ptr<GestureRecognizer>> recognizers;
    bool viewCancelled = false;
    bool startedInStatusBar = false;  // a tap there scrolls to the top
  };
  void changeFirstResponder(Responder* responder);
  void deliver(TrackedTouch& tracked, TouchPhase phase, const Event& event);
  std::vector<std::weak_ptr<GestureRecognizer>> recognizersFor(View* view) const;
  int tapCountFor(cg::Point location, double now);
  std::vector<ViewController*> rotationTargets() const;
  void drawStatusBar(cg::Context& context);

  std::shared_ptr<ViewController> rootViewController_;
  Responder* firstResponder_ = nullptr;  // cleared when the view leaves the window
  std::map<int, TrackedTouch> touches_;
  double lastTapTime_ = -1;
  cg::Point lastTapLocation_;
  int lastTapCount_ = 0;
  EventInterceptor interceptor_;
  bool rotating_ = false;
  bool showsStatusBar_ = false;
  std::string seekKey_;  // the key holding a seek down, if any
  EventSubtype seekEnd_ = EventSubtype::None;
  std::map<int, bool> statusBarTouches_;  // fingers that began on the status bar

  // What changed since the last display.
  std::vector<cg::Rect> damage_;
  bool whollyDamaged_ = true;
  std::vector<PendingScroll> scrolls_;
  // The surface the last display drew (compared only), its size and scale.
  const void* shownSurface_ = nullptr;
  int shownWidth_ = 0, shownHeight_ = 0;
  float shownScale_ = 0;
  std::string shownStatusBar_;
  // Where changes are drawn before they are copied to the surface shown.
  std::unique_ptr<cg::Context> scratch_;
  std::vector<std::function<void()>> afterDisplay_;
};

}  // namespace ui
