#pragma once
// The application window that offers every event to a delegate first: the
// reading screen swallows a two-finger pinch on the verses this way. Main
// thread only.
#include "Classes/common/iPadConnectionDelegate.h"
#include "platform/ui/Window.h"

class EventInterceptWindowDelegate {
 public:
  virtual ~EventInterceptWindowDelegate() = default;
  // True to swallow the event.
  virtual bool interceptEvent(const ui::Event& event) = 0;
};

class EventInterceptWindow : public ui::Window {
 public:
  explicit EventInterceptWindow(cg::Rect frame);
  // Not retained; null lets every event through.
  EventInterceptWindowDelegate* eventInterceptDelegate() const { return eventInterceptDelegate_; }
  void setEventInterceptDelegate(EventInterceptWindowDelegate* delegate) { eventInterceptDelegate_ = delegate; }
  // A key that no first responder holds goes to the screen under everything
  // (the root's view and then its controller); one that comes back up the
  // chain from there ends here.
  void keyDown(const ui::KeyEvent& key) override;

 private:
  EventInterceptWindowDelegate* eventInterceptDelegate_ = nullptr;
  bool passingKeyDown_ = false;
};

// A plain view that holds the root as its delegate; the hit test is the
// inherited one.
class UIViewHitTester : public ui::View {
 public:
  using ui::View::View;
  iPadConnectionDelegate* delegate() const { return delegate_; }
  void setDelegate(iPadConnectionDelegate* d) { delegate_ = d; }

 private:
  iPadConnectionDelegate* delegate_ = nullptr;
};
