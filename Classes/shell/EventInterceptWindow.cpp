#include "Classes/shell/EventInterceptWindow.h"

// The window's pre-dispatch hook is sendEvent: the delegate sees the event
// before any view or recogniser does.
EventInterceptWindow::EventInterceptWindow(cg::Rect frame) : ui::Window(frame) {
  setEventInterceptor([this](const ui::Event& event) {
    return eventInterceptDelegate_ && eventInterceptDelegate_->interceptEvent(event);
  });
}

void EventInterceptWindow::keyDown(const ui::KeyEvent& key) {
  if (passingKeyDown_ || subviews().empty() || firstResponder()) return ui::Window::keyDown(key);
  passingKeyDown_ = true;
  subviews().front()->keyDown(key);
  passingKeyDown_ = false;
}
