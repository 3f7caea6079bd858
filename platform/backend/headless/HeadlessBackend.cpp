#include "platform/backend/headless/HeadlessBackend.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/services/LocalNotificationScheduler.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {

double realNow() { return ns::RealClock().now(); }

Window* keyWindow() { return Window::keyWindow(); }

// A number of seconds from the environment; the fallback when unset or bad.
double secondsFromEnvironment(const char* name, double fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  char* end = nullptr;
  double v = std::strtod(text, &end);
  if (end == text || *end != '\0' || !(v >= 0) || v > 1e7) {
    ns::logf("INFO  - [%s] Ignoring %s='%s': not a number of seconds", ns::logTimestamp().c_str(),
             name, text);
    return fallback;
  }
  return v;
}

}  // namespace

HeadlessBackend::HeadlessBackend(double start) {
  clock_ = ns::VirtualClock::install(start >= 0 ? start : realNow());
  Screen::main().setBounds(cg::Rect(0, 0, 1024, 768));
  Screen::main().setScale(1);
}

HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::launch(std::shared_ptr<ApplicationDelegate> delegate) {
  Application::shared().setDelegate(std::move(delegate));
  ns::RunLoop::Turn turn;  // the launch is one turn of the loop
  LocalNotificationScheduler::shared().reload();
  Application::shared().launch();
  if (Window* w = keyWindow()) w->setShowsStatusBar(true);
  ns::RunLoop::main().runUntilIdle();
}

void HeadlessBackend::advance(double seconds) { clock_->advance(seconds); }

void HeadlessBackend::touchDown(cg::Point p, int finger) {
  ns::RunLoop::Turn turn;  // an event is a turn of the loop, as in a window
  if (Window* w = keyWindow()) w->sendTouch(finger, TouchPhase::Began, p);
}
void HeadlessBackend::touchMove(cg::Point p, int finger) {
  ns::RunLoop::Turn turn;  // an event is a turn of the loop, as in a window
  if (Window* w = keyWindow()) w->sendTouch(finger, TouchPhase::Moved, p);
}
void HeadlessBackend::touchUp(cg::Point p, int finger) {
  ns::RunLoop::Turn turn;  // an event is a turn of the loop, as in a window
  if (Window* w = keyWindow()) w->sendTouch(finger, TouchPhase::Ended, p);
}

void HeadlessBackend::tap(cg::Point p, double hold) {
  touchDown(p);
  advance(hold);
  touchUp(p);
  ns::RunLoop::main().runUntilIdle();
}

void HeadlessBackend::drag(cg::Point from, cg::Point to, double seconds, double hold) {
  if (Window* w = keyWindow()) GestureScript(*w, *clock_).drag(from, to, seconds, hold);
}
void HeadlessBackend::flick(cg::Point from, cg::Point to, float velocity) {
  if (Window* w = keyWindow()) GestureScript(*w, *clock_).flick(from, to, velocity);
}
void HeadlessBackend::wheel(cg::Point at, float stepsX, float stepsY) {
  if (Window* w = keyWindow()) GestureScript(*w, *clock_).wheel(at, stepsX, stepsY);
}
void HeadlessBackend::touchpad(cg::Point at, float deltaX, float deltaY) {
  if (Window* w = keyWindow()) GestureScript(*w, *clock_).touchpad(at, deltaX, deltaY);
}
void HeadlessBackend::tapStatusBar() {
  if (Window* w = keyWindow()) GestureScript(*w, *clock_).tapStatusBar();
}

void HeadlessBackend::key(const std::string& name, unsigned modifiers) {
  ns::RunLoop::Turn turn;  // an event is a turn of the loop, as in a window
  if (Window* w = keyWindow()) w->sendKey({name, "", modifiers});
}
void HeadlessBackend::typeText(const std::string& text) {
  ns::RunLoop::Turn turn;  // an event is a turn of the loop, as in a window
  if (Window* w = keyWindow()) w->sendKey({"", text, 0});
}
void HeadlessBackend::composeText(const std::string& text, int cursor) {
  ns::RunLoop::Turn turn;  // an event is a turn of the loop, as in a window
  if (Window* w = keyWindow()) w->sendMarkedText(text, cursor);
}

bool HeadlessBackend::screenshot(const std::string& path) {
  if (Window* w = keyWindow()) return w->writeScreenshot(path, Screen::main().scale());
  cg::Rect b = Screen::main().bounds();
  auto ctx = cg::Context::bitmap(b.width(), b.height(), 1);
  ctx.setFillColor(cg::Color::black());
  ctx.fillRect(b);
  auto image = ctx.makeImage();
  return image && image->writePNG(path);
}

// --- scripted gestures ---------------------------------------------------------------

void GestureScript::moveEvenly(cg::Point from, cg::Point to, int steps, double stepSeconds, int finger) {
  for (int i = 1; i <= steps; ++i) {
    clock_.advance(stepSeconds);
    float t = float(i) / float(steps);
    window_.sendTouch(finger, TouchPhase::Moved,
                      {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t});
  }
}

void GestureScript::drag(cg::Point from, cg::Point to, double seconds, double hold, int finger) {
  window_.sendTouch(finger, TouchPhase::Began, from);
  int steps = std::max(1, int(std::lround(seconds / kFrame)));
  moveEvenly(from, to, steps, seconds / steps, finger);
  clock_.advance(hold);
  window_.sendTouch(finger, TouchPhase::Ended, to);
}

void GestureScript::flick(cg::Point from, cg::Point to, float velocity, int finger) {
  float distance = std::hypot(to.x - from.x, to.y - from.y);
  double seconds = velocity > 0 ? distance / velocity : kFrame;
  int steps = std::max(2, int(std::ceil(seconds / kFrame)));
  window_.sendTouch(finger, TouchPhase::Began, from);
  moveEvenly(from, to, steps, seconds / steps, finger);
  window_.sendTouch(finger, TouchPhase::Ended, to);
}

void GestureScript::wheel(cg::Point at, float stepsX, float stepsY) {
  window_.sendScrollWheel({at, stepsX, stepsY, false});
}

void GestureScript::touchpad(cg::Point at, float deltaX, float deltaY) {
  window_.sendScrollWheel({at, deltaX, deltaY, true});
}

void GestureScript::tap(cg::Point p, double hold, int finger) {
  window_.sendTouch(finger, TouchPhase::Began, p);
  clock_.advance(hold);
  window_.sendTouch(finger, TouchPhase::Ended, p);
}

void GestureScript::tapStatusBar() { tap({window_.bounds().midX(), 5}); }

int HeadlessBackend::runFromEnvironment(const DelegateFactory& makeDelegate,
                                        const std::string& inboundURL) {
  HeadlessBackend backend;
  backend.launch(makeDelegate());
  if (!inboundURL.empty()) Application::shared().openInboundURL(inboundURL);
  double stopAfter = secondsFromEnvironment("ZARVEL_STOP_AFTER", 0);
  backend.advance(stopAfter);
  ns::RunLoop::main().runUntilIdle();
  int status = 0;
  if (const char* path = std::getenv("ZARVEL_SCREENSHOT"); path && *path) {
    if (backend.screenshot(path)) {
      ns::logf("INFO  - [%s] Screenshot written to %s", ns::logTimestamp().c_str(), path);
    } else {
      ns::logf("INFO  - [%s] Could not write the screenshot to %s", ns::logTimestamp().c_str(), path);
      status = 1;
    }
  }
  Application::shared().terminate();
  // The application's objects go while everything they reach is still there.
  Application::shared().setDelegate(nullptr);
  return status;
}

}  // namespace ui
