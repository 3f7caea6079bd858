#pragma once
// The application window: the root of a view tree, the first responder, and
// the door through which the backend delivers touches and keys. It renders
// the whole tree into one cairo surface.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace cg {
class Image;
}

namespace ui {

class ViewController;

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
  void sendKey(const KeyEvent& key);
  // An input method's composition, to the first responder.
  void sendMarkedText(const std::string& text, int cursor);
  // A wheel or touchpad scroll: offered to the view under the pointer, then up
  // its superviews until one takes it.
  void sendScrollWheel(const ScrollWheelEvent& event);
  // A tap on the status bar: the one visible scroll view that scrolls to the
  // top on it does so (none when there are several).
  void statusBarTapped();

  // Lays out and draws the tree into the context (whose user space is the
  // window's). Clears the redraw request.
  void render(cg::Context& context);
  // A picture of the window at the scale.
  std::shared_ptr<cg::Image> snapshot(float scale = 1);
  bool writeScreenshot(const std::string& path, float scale = 1);
  // True when something asked for a redraw since the last render.
  bool needsRedraw() const { return needsRedraw_; }
  void setNeedsRedraw() { needsRedraw_ = true; }

  Responder* nextResponder() const override;

 private:
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

  std::shared_ptr<ViewController> rootViewController_;
  Responder* firstResponder_ = nullptr;  // cleared when the view leaves the window
  std::map<int, TrackedTouch> touches_;
  bool needsRedraw_ = true;
  double lastTapTime_ = -1;
  cg::Point lastTapLocation_;
  int lastTapCount_ = 0;
};

}  // namespace ui
