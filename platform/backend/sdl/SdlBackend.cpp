#include "platform/backend/sdl/SdlBackend.h"

#include <SDL.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Context.h"
#include "platform/services/IdleTimer.h"
#include "platform/services/InstanceLock.h"
#include "platform/services/LocalNotificationScheduler.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kNoDisplayStatus = 2;
constexpr int kAlreadyRunningStatus = 3;
// SDL's drivers that show nothing: used only when the environment names them.
constexpr const char* kInvisibleDrivers[] = {"offscreen", "dummy"};

int gWakeUps = 0;

bool hasEnv(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

bool driverRequested(const char* driver) {
  const char* wanted = std::getenv("SDL_VIDEODRIVER");
  return wanted && std::strstr(wanted, driver);
}

int refuseWithoutDisplay(const std::string& program, const std::string& reason) {
  std::fprintf(stderr,
               "zarvel: no display (%s): the reader needs a desktop session for its window.\nRun it under "
               "one, or headless: ZARVEL_HEADLESS=1 ZARVEL_STOP_AFTER=5 ZARVEL_SCREENSHOT=zarvel.png %s\n",
               reason.c_str(), program.c_str());
  return kNoDisplayStatus;
}

std::string keyName(SDL_Keycode k) {
  switch (k) {
    case SDLK_RETURN: case SDLK_KP_ENTER: return "Return";
    case SDLK_ESCAPE: return "Escape";
    case SDLK_BACKSPACE: return "BackSpace";
    case SDLK_DELETE: return "Delete";
    case SDLK_TAB: return "Tab";
    case SDLK_LEFT: return "Left";
    case SDLK_RIGHT: return "Right";
    case SDLK_UP: return "Up";
    case SDLK_DOWN: return "Down";
    case SDLK_HOME: return "Home";
    case SDLK_END: return "End";
    case SDLK_PAGEUP: return "PageUp";
    case SDLK_PAGEDOWN: return "PageDown";
    default: return SDL_GetKeyName(k);
  }
}

class Session {
 public:
  // Empty when a window is open; else why there is no display.
  std::string open() {
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return std::string("no video driver could start: ") + SDL_GetError();
    const char* driver = SDL_GetCurrentVideoDriver();
    for (const char* invisible : kInvisibleDrivers) {
      // An unreachable display makes SDL fall back to a driver that shows nothing.
      if (driver && std::strcmp(driver, invisible) == 0 && !driverRequested(invisible))
        return "the display could not be reached";
    }
    wakeEvent_ = SDL_RegisterEvents(1);
    window_ = SDL_CreateWindow("Zarvel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth,
                               kHeight, SDL_WINDOW_SHOWN);
    if (!window_) {
      ns::logf("INFO  - [%s] Could not open a window: %s", ns::logTimestamp().c_str(), SDL_GetError());
      return std::string("no window could be opened: ") + SDL_GetError();
    }
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) return "no drawing surface";
    return {};
  }

  ~Session() {
    ns::RunLoop::main().setWakeHook(nullptr);
    if (surface_) cairo_surface_destroy(surface_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_Quit();
  }

  void loop() {
    auto& app = Application::shared();
    app.setTerminationHandler([this] { running_ = false; });
    // Sleeps until an event or the next due timer; posts and timers from any
    // thread push an event that wakes it.
    if (wakeEvent_ != static_cast<Uint32>(-1)) {
      ns::RunLoop::main().setWakeHook([type = wakeEvent_] {
        SDL_Event wake{};
        wake.type = type;
        SDL_PushEvent(&wake);
      });
    }
    SDL_StartTextInput();
    while (running_) {
      // First what was posted before the hook was in place, then the wait.
      ns::RunLoop::main().runOnce();
      present(false);
      if (!running_) break;
      SDL_Event e;
      int wait = waitMs();
      if (wait < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, wait)) {
        handle(e);
        while (running_ && SDL_PollEvent(&e)) handle(e);
      }
      ++gWakeUps;
    }
    SDL_StopTextInput();
  }

  void present(bool force) {
    Window* w = Window::keyWindow();
    if (!w || (!force && !w->needsRedraw())) return;
    {
      cg::Context ctx(surface_, 1);
      w->render(ctx);
    }
    cairo_surface_flush(surface_);
    SDL_Surface* src = SDL_CreateRGBSurfaceWithFormatFrom(
        cairo_image_surface_get_data(surface_), kWidth, kHeight, 32,
        cairo_image_surface_get_stride(surface_), SDL_PIXELFORMAT_ARGB8888);
    SDL_Surface* dst = SDL_GetWindowSurface(window_);
    if (src && dst) {
      SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_NONE);
      SDL_BlitSurface(src, nullptr, dst, nullptr);
      SDL_UpdateWindowSurface(window_);
    }
    if (src) SDL_FreeSurface(src);
  }

 private:
  // Milliseconds to the next timer; -1 when none is pending.
  int waitMs() const {
    double next = ns::RunLoop::main().nextFireTime() - ns::Clock::current().now();
    if (!(next < 1e9)) return -1;
    return std::clamp(static_cast<int>(std::ceil(next * 1000)), 0, 1 << 30);
  }

  void touch(TouchPhase phase, int x, int y) {
    if (Window* w = Window::keyWindow()) w->sendTouch(0, phase, {float(x), float(y)});
  }

  void handle(const SDL_Event& e) {
    auto& app = Application::shared();
    Window* w = Window::keyWindow();
    switch (e.type) {
      case SDL_QUIT: app.terminate(); break;
      case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT) touch(TouchPhase::Began, e.button.x, e.button.y);
        break;
      case SDL_MOUSEMOTION:
        if (e.motion.state & SDL_BUTTON_LMASK) touch(TouchPhase::Moved, e.motion.x, e.motion.y);
        break;
      case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT) touch(TouchPhase::Ended, e.button.x, e.button.y);
        break;
      case SDL_KEYDOWN:
        if (w) w->sendKey({keyName(e.key.keysym.sym), "", static_cast<unsigned>(e.key.keysym.mod)});
        break;
      case SDL_TEXTINPUT:
        if (w) w->sendKey({"", e.text.text, 0});
        break;
      case SDL_WINDOWEVENT:
        switch (e.window.event) {
          case SDL_WINDOWEVENT_FOCUS_LOST: app.resignActive(); break;
          case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (app.applicationState() == ApplicationState::Background) app.enterForeground();
            else app.becomeActive();
            break;
          case SDL_WINDOWEVENT_MINIMIZED: app.enterBackground(); break;
          case SDL_WINDOWEVENT_RESTORED: app.enterForeground(); break;
          case SDL_WINDOWEVENT_EXPOSED: present(true); break;
          case SDL_WINDOWEVENT_CLOSE: app.terminate(); break;
          default: break;
        }
        break;
      default: break;
    }
  }

  SDL_Window* window_ = nullptr;
  cairo_surface_t* surface_ = nullptr;
  Uint32 wakeEvent_ = static_cast<Uint32>(-1);
  bool running_ = true;
};

}  // namespace

int SdlBackend::run(const DelegateFactory& makeDelegate, const std::string& inboundURL, const std::string& program) {
  Session session;
  if (std::string reason = session.open(); !reason.empty()) return refuseWithoutDisplay(program, reason);
  ns::RunLoop::setMainThread();
  Screen::main().setBounds(cg::Rect(0, 0, kWidth, kHeight));
  Screen::main().setScale(1);
  IdleTimer::setObserver([](bool disabled) {
    if (disabled) SDL_DisableScreenSaver();
    else SDL_EnableScreenSaver();
  });
  auto& app = Application::shared();
  app.setDelegate(makeDelegate());
  LocalNotificationScheduler::shared().reload();
  app.launch();
  if (!inboundURL.empty()) app.openInboundURL(inboundURL);
  session.present(true);
  session.loop();
  IdleTimer::setObserver(nullptr);
  return 0;
}

int ApplicationMain(int argc, char** argv, const SdlBackend::DelegateFactory& makeDelegate) {
  std::string url;
  for (int i = 1; i < argc && url.empty(); ++i)
    if (std::strstr(argv[i], "://")) url = argv[i];
  // One instance per data folder: a later start hands its link to the running one.
  InstanceLock::Start instance = InstanceLock::acquire(ns::documentsDirectory(), url);
  switch (instance.outcome) {
    case InstanceLock::Outcome::HandedOver: return 0;
    case InstanceLock::Outcome::AlreadyRunning:
      std::fprintf(stderr, "zarvel: %s\n", instance.message.c_str());
      return kAlreadyRunningStatus;
    case InstanceLock::Outcome::NoLock: ns::log(instance.message); break;
    case InstanceLock::Outcome::Acquired:
      ns::RunLoop::setMainThread();  // before the listener's thread posts to it
      instance.lock->listen([](const std::string& link) { Application::shared().openInboundURL(link); });
      break;
  }
  const char* headless = std::getenv("ZARVEL_HEADLESS");
  if (headless && std::strcmp(headless, "1") == 0)
    return HeadlessBackend::runFromEnvironment(makeDelegate, url);
  std::string program = argc > 0 ? argv[0] : "zarvel";
  if (!hasEnv("DISPLAY") && !hasEnv("WAYLAND_DISPLAY") && !hasEnv("SDL_VIDEODRIVER"))
    return refuseWithoutDisplay(program, "neither DISPLAY nor WAYLAND_DISPLAY is set");
  return SdlBackend::run(makeDelegate, url, program);
}

int SdlBackend::wakeUps() { return gWakeUps; }

}  // namespace ui
