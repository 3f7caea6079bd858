#include "platform/backend/sdl/SdlBackend.h"

#include <SDL.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Context.h"
#include "platform/services/IdleTimer.h"
#include "platform/services/LocalNotificationScheduler.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kMaxWaitMs = 10;  // posts from workers are picked up this often

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

unsigned modifiersOf(Uint16 mod) {
  unsigned m = 0;
  if (mod & KMOD_SHIFT) m |= KeyModifierShift;
  if (mod & KMOD_CTRL) m |= KeyModifierControl;
  if (mod & KMOD_ALT) m |= KeyModifierAlt;
  if (mod & KMOD_GUI) m |= KeyModifierMeta;
  return m;
}

// The general pasteboard reads and writes the desktop's clipboard.
void connectClipboard() {
  Pasteboard::generalPasteboard().setStore(
      [] {
        char* text = SDL_GetClipboardText();
        std::string s = text ? text : "";
        SDL_free(text);
        return s;
      },
      [](const std::string& s) { SDL_SetClipboardText(s.c_str()); });
}

class Session {
 public:
  bool open() {
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
      ns::logf("INFO  - [%s] Could not open a window: %s (ZARVEL_HEADLESS=1 runs without one)",
               ns::logTimestamp().c_str(), SDL_GetError());
      return false;
    }
    window_ = SDL_CreateWindow("Zarvel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth,
                               kHeight, SDL_WINDOW_SHOWN);
    if (!window_) {
      ns::logf("INFO  - [%s] Could not open a window: %s", ns::logTimestamp().c_str(), SDL_GetError());
      return false;
    }
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS;
  }

  ~Session() {
    if (surface_) cairo_surface_destroy(surface_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_Quit();
  }

  void loop() {
    auto& app = Application::shared();
    app.setTerminationHandler([this] { running_ = false; });
    SDL_StartTextInput();
    while (running_) {
      SDL_Event e;
      if (SDL_WaitEventTimeout(&e, waitMs())) {
        handle(e);
        while (running_ && SDL_PollEvent(&e)) handle(e);
      }
      ns::RunLoop::main().runOnce();
      placeInputMethod();
      present(false);
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
  // The input method's candidates go beside the caret of the text being typed.
  void placeInputMethod() {
    Window* w = Window::keyWindow();
    Responder* r = w ? w->firstResponder() : nullptr;
    cg::Rect caret = r && r->hasKeyboardInput() ? r->textInputRect() : cg::Rect();
    if (caret.isEmpty() || caret == lastCaret_) return;
    lastCaret_ = caret;
    SDL_Rect rect{int(caret.x()), int(caret.y()), std::max(1, int(caret.width())), std::max(1, int(caret.height()))};
    SDL_SetTextInputRect(&rect);
  }

  int waitMs() const {
    double next = ns::RunLoop::main().nextFireTime() - ns::Clock::current().now();
    if (!(next < 1e9)) return kMaxWaitMs;
    return std::clamp(static_cast<int>(std::ceil(next * 1000)), 0, kMaxWaitMs);
  }

  void touch(TouchPhase phase, int x, int y) {
    if (Window* w = Window::keyWindow()) w->sendTouch(0, phase, {float(x), float(y)});
  }

  // A wheel turns in whole steps; a touchpad sends fractions, which move the
  // content directly. SDL's y is positive away from the user (content down).
  void wheel(const SDL_MouseWheelEvent& w) {
    Window* win = Window::keyWindow();
    if (!win) return;
    float flip = w.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0f : 1.0f;
    float x = w.preciseX * flip, y = w.preciseY * flip;
    bool precise = x != std::round(x) || y != std::round(y);
    win->sendScrollWheel({{float(w.mouseX), float(w.mouseY)}, x, -y, precise});
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
      case SDL_MOUSEWHEEL: wheel(e.wheel); break;
      case SDL_KEYDOWN:
        if (w) w->sendKey({keyName(e.key.keysym.sym), "", modifiersOf(e.key.keysym.mod)});
        break;
      case SDL_TEXTINPUT:
        if (w) w->sendKey({"", e.text.text, 0});
        break;
      case SDL_TEXTEDITING:
        if (w) w->sendMarkedText(e.edit.text, e.edit.start);
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
  bool running_ = true;
  cg::Rect lastCaret_;
};

}  // namespace

int SdlBackend::run(const DelegateFactory& makeDelegate, const std::string& inboundURL) {
  Session session;
  if (!session.open()) return 1;
  ns::RunLoop::setMainThread();
  Screen::main().setBounds(cg::Rect(0, 0, kWidth, kHeight));
  Screen::main().setScale(1);
  IdleTimer::setObserver([](bool disabled) {
    if (disabled) SDL_DisableScreenSaver();
    else SDL_EnableScreenSaver();
  });
  connectClipboard();
  auto& app = Application::shared();
  app.setDelegate(makeDelegate());
  LocalNotificationScheduler::shared().reload();
  app.launch();
  if (!inboundURL.empty()) app.openInboundURL(inboundURL);
  session.present(true);
  session.loop();
  IdleTimer::setObserver(nullptr);
  Pasteboard::generalPasteboard().setStore(nullptr, nullptr);
  return 0;
}

int ApplicationMain(int argc, char** argv, const SdlBackend::DelegateFactory& makeDelegate) {
  std::string url;
  for (int i = 1; i < argc && url.empty(); ++i)
    if (std::strstr(argv[i], "://")) url = argv[i];
  const char* headless = std::getenv("ZARVEL_HEADLESS");
  if (headless && std::strcmp(headless, "1") == 0)
    return HeadlessBackend::runFromEnvironment(makeDelegate, url);
  return SdlBackend::run(makeDelegate, url);
}

}  // namespace ui
