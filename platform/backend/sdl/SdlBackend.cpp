#include "platform/backend/sdl/SdlBackend.h"

#include <SDL.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/backend/sdl/DisplayProbe.h"
#include "platform/backend/sdl/WindowGeometry.h"
#include "platform/backend/sdl/WindowIcon.h"
#include "platform/backend/sdl/WindowPixels.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Context.h"
#include "platform/services/DataFolders.h"
#include "platform/services/IdleTimer.h"
#include "platform/services/InstanceLock.h"
#include "platform/services/LocalNotificationScheduler.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {

constexpr const char* kTurnKey = "F8";  // turns the screen a quarter (Shift: the other way)
constexpr int kFirstScreenFinger = 10;  // touch-screen fingers after the mouse's two

std::string placementPath() { return ns::pathJoin(ns::configDirectory(), "window.conf"); }

std::optional<WindowPlacement> loadPlacement() {
  auto data = ns::readFile(placementPath(), 4096);
  if (!data) return std::nullopt;
  return parseWindowPlacement(std::string_view(reinterpret_cast<const char*>(data->data()), data->size()));
}

unsigned modifiersOf(Uint16 mod) {
  unsigned m = 0;
  if (mod & KMOD_SHIFT) m |= KeyModifierShift;
  if (mod & KMOD_CTRL) m |= KeyModifierControl;
  if (mod & KMOD_ALT) m |= KeyModifierAlt;
  if (mod & KMOD_GUI) m |= KeyModifierMeta;
  return m;
}

cg::Size logicalSize() { return Screen::main().bounds().size; }

constexpr int kNoDisplayStatus = 2;
// A display that answers is tried this many times, this far apart.
constexpr int kDisplayTries = 8;
constexpr double kDisplayPauseSeconds = 0.25;
constexpr int kAlreadyRunningStatus = 3;
// SDL's drivers that show nothing: used only when the environment names them.
constexpr const char* kInvisibleDrivers[] = {"offscreen", "dummy"};

int gWakeUps = 0;
int gPresents = 0;

// The usable area of every display, the primary first.
std::vector<cg::Rect> usableDisplays() {
  std::vector<cg::Rect> displays;
  for (int i = 0, n = SDL_GetNumVideoDisplays(); i < n; ++i) {
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(i, &usable) == 0 && usable.w > 0 && usable.h > 0)
      displays.emplace_back(float(usable.x), float(usable.y), float(usable.w), float(usable.h));
  }
  if (displays.empty()) displays.emplace_back(0, 0, 1024, 768);
  return displays;
}

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

// Starts SDL's video: "" with a driver that shows windows, else why not
// (SDL stopped again, so that it can be tried once more).
std::string startVideo() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::string reason = std::string("no video driver could start: ") + SDL_GetError();
    SDL_Quit();
    return reason;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  for (const char* invisible : kInvisibleDrivers) {
    // An unreachable display makes SDL fall back to a driver that shows nothing.
    if (driver && std::strcmp(driver, invisible) == 0 && !driverRequested(invisible)) {
      SDL_Quit();
      return "the display could not be reached";
    }
  }
  return {};
}

class Session {
 public:
  // Empty when a window is open; else why there is no display.
  std::string open() {
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "1");  // smooth scaling of the screen
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");    // fingers come as fingers only
    // A display whose server refuses for a moment (all its client slots
    // taken) is tried again; one where nothing listens fails at once.
    if (std::string reason = openWithRetries([] { return startVideo(); }, displayAnswers, kDisplayTries,
                                             kDisplayPauseSeconds);
        !reason.empty())
      return reason;
    wakeEvent_ = SDL_RegisterEvents(1);
    std::vector<cg::Rect> displays = usableDisplays();
    WindowPlacement place = openingPlacement(loadPlacement(), displays);
    desktop_ = displays[std::size_t(std::max(0, displayOf(place, displays)))];
    orientation_ = place.orientation;
    cg::Size logical = screenSizeForOrientation(orientation_);
    Screen::main().setBounds(cg::Rect(0, 0, logical.width, logical.height));
    Application::shared().setStatusBarOrientation(orientation_);
    int x = place.hasPosition ? place.x : SDL_WINDOWPOS_CENTERED;
    int y = place.hasPosition ? place.y : SDL_WINDOWPOS_CENTERED;
    window_ = SDL_CreateWindow("Zarvel", x, y, place.width, place.height,
                               SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!window_) {
      ns::logf("INFO  - [%s] Could not open a window: %s", ns::logTimestamp().c_str(), SDL_GetError());
      return std::string("no window could be opened: ") + SDL_GetError();
    }
    SDL_SetWindowMinimumSize(window_, 240, 240);
    setWindowIcon();
    // On X11 the window surface is the window's own shared-memory image,
    // never a texture of a renderer drawn whole at every frame.
    if (const char* driver = SDL_GetCurrentVideoDriver(); driver && std::strcmp(driver, "x11") == 0)
      SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    createRenderer();
    // Without a graphics card the renderer copies and scales the whole
    // screen at every frame; the window surface takes only what changed.
    if (renderer_ && rendersInSoftware(rendererName(), glRendererName())) {
      SDL_DestroyRenderer(renderer_);
      renderer_ = nullptr;
      if (!windowSurfaceUsable()) createRenderer();
    }
    if (!renderer_ && !windowSurfaceUsable()) {
      ns::logf("INFO  - [%s] Could not draw in the window: %s", ns::logTimestamp().c_str(), SDL_GetError());
      return std::string("nothing can be drawn in the window: ") + SDL_GetError();
    }
    updateScale();
    return {};
  }

  void createRenderer() {
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  }

  std::string rendererName() const {
    SDL_RendererInfo info{};
    return SDL_GetRendererInfo(renderer_, &info) == 0 && info.name ? info.name : "";
  }

  // GL's renderer string ("llvmpipe (LLVM ...)" on the software rasteriser),
  // empty when the renderer does not draw with GL.
  static std::string glRendererName() {
    if (!SDL_GL_GetCurrentContext()) return {};
    using GetString = const unsigned char* (*)(unsigned);
    constexpr unsigned kGlRenderer = 0x1F01;
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString ? getString(kGlRenderer) : nullptr;
    return name ? reinterpret_cast<const char*>(name) : "";
  }

  // The window surface can be had and holds 32-bit pixels, blue first.
  bool windowSurfaceUsable() {
    SDL_Surface* s = SDL_GetWindowSurface(window_);
    if (!s) return false;
    return s->format->format == SDL_PIXELFORMAT_RGB888 || s->format->format == SDL_PIXELFORMAT_ARGB8888;
  }

  // The desktop shows the reader's own icon for its window.
  void setWindowIcon() {
    std::string path = windowIconPath();
    auto icon = path.empty() ? std::nullopt : loadIconPixels(path);
    if (!icon) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(icon->argb.data(), icon->width, icon->height, 32,
                                                              icon->width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window_, surface);
    SDL_FreeSurface(surface);
  }

  // Remembers the window for the next run.
  void savePlacement() {
    if (!window_) return;
    WindowPlacement p;
    SDL_GetWindowPosition(window_, &p.x, &p.y);
    SDL_GetWindowSize(window_, &p.width, &p.height);
    p.hasPosition = true;
    p.orientation = Application::shared().statusBarOrientation();
    if (!ns::createDirectory(ns::configDirectory()) ||
        !ns::writeFileAtomically(placementPath(), formatWindowPlacement(p)))
      ns::logf("INFO  - [%s] Could not remember the window in %s", ns::logTimestamp().c_str(),
               placementPath().c_str());
  }

  ~Session() {
    ns::RunLoop::main().setWakeHook(nullptr);
    if (surface_) cairo_surface_destroy(surface_);
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
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
      {
        // First what was posted before the hook was in place, then the wait.
        ns::RunLoop::Turn turn;
        ns::RunLoop::main().runOnce();
        placeInputMethod();
        present(false);
      }
      if (!running_) break;
      SDL_Event e;
      int wait = waitMs();
      if (wait < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, wait)) {
        ns::RunLoop::Turn turn;  // the events that came together are one turn
        handle(e);
        while (running_ && SDL_PollEvent(&e)) handle(e);
      }
      ++gWakeUps;
    }
    SDL_StopTextInput();
  }

  // Draws what changed and uploads only those pixels; `force` shows the
  // frame again even when nothing changed (the window was uncovered).
  void present(bool force) {
    Window* w = Window::keyWindow();
    if (!w || (!force && !w->needsRedraw())) return;
    if (!ensureSurface()) return;
    std::vector<cg::Rect> changed;
    {
      cg::Context ctx(surface_, scale_);
      changed = w->display(ctx);
    }
    if (changed.empty() && !force) return;
    cairo_surface_flush(surface_);
    if (renderer_ ? presentThroughRenderer(changed) : presentThroughWindowSurface(changed, force)) ++gPresents;
  }

 private:
  // Uploads the changed pixels to the texture, then shows it whole, scaled by the GPU.
  bool presentThroughRenderer(const std::vector<cg::Rect>& changed) {
    const unsigned char* pixels = cairo_image_surface_get_data(surface_);
    int stride = cairo_image_surface_get_stride(surface_);
    int sw = cairo_image_surface_get_width(surface_), sh = cairo_image_surface_get_height(surface_);
    for (const cg::Rect& r : changed) {
      int x0 = std::clamp(int(std::floor(r.minX() * scale_)), 0, sw), y0 = std::clamp(int(std::floor(r.minY() * scale_)), 0, sh);
      int x1 = std::clamp(int(std::ceil(r.maxX() * scale_)), 0, sw), y1 = std::clamp(int(std::ceil(r.maxY() * scale_)), 0, sh);
      if (x1 <= x0 || y1 <= y0) continue;
      SDL_Rect area{x0, y0, x1 - x0, y1 - y0};
      SDL_UpdateTexture(texture_, &area, pixels + std::size_t(y0) * stride + std::size_t(x0) * 4, stride);
    }
    cg::Rect shown = screenRectInWindow(logicalSize(), outputSize());
    SDL_Rect dst{int(shown.x()), int(shown.y()), int(std::round(shown.width())), int(std::round(shown.height()))};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
    SDL_RenderPresent(renderer_);
    return true;
  }

  // Copies the changed pixels into the window surface and sends only those to
  // the display; everything when `whole` or when the surface is new (the
  // window was resized).
  bool presentThroughWindowSurface(const std::vector<cg::Rect>& changed, bool whole) {
    SDL_Surface* s = SDL_GetWindowSurface(window_);
    if (!s) return false;
    whole = whole || wholePending_ || s != windowSurface_ || s->w != windowSurfaceWidth_ ||
            s->h != windowSurfaceHeight_;
    if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return false;
    WindowPixels pixels{static_cast<unsigned char*>(s->pixels), s->w, s->h, s->pitch};
    std::vector<PixelArea> areas =
        copyToWindow(surface_, scale_, changed, pixels, screenRectInWindow(logicalSize(), {float(s->w), float(s->h)}),
                     whole);
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    if (areas.empty()) return false;
    std::vector<SDL_Rect> rects;
    for (const PixelArea& a : areas) rects.push_back({a.x, a.y, a.width, a.height});
    if (SDL_UpdateWindowSurfaceRects(window_, rects.data(), int(rects.size())) != 0) return false;
    windowSurface_ = s;
    windowSurfaceWidth_ = s->w, windowSurfaceHeight_ = s->h;
    wholePending_ = false;
    return true;
  }

  // The window's size in pixels.
  cg::Size outputSize() const {
    int ow = 0, oh = 0;
    if (renderer_) SDL_GetRendererOutputSize(renderer_, &ow, &oh);
    else SDL_GetWindowSizeInPixels(window_, &ow, &oh);
    return {float(ow), float(oh)};
  }

  // Draws at scale 2 when the window shows the screen with twice its pixels.
  void updateScale() {
    cg::Size output = outputSize();
    if (output.width <= 0 || output.height <= 0) return;
    scale_ = renderScaleFor(logicalSize(), output);
    Screen::main().setScale(scale_);
    wholePending_ = true;
    if (Window* w = Window::keyWindow()) w->setNeedsRedraw();
  }

  // The drawing surface and its texture, remade when the screen turns or the scale changes.
  bool ensureSurface() {
    cg::Size logical = logicalSize();
    int pw = int(std::ceil(logical.width * scale_)), ph = int(std::ceil(logical.height * scale_));
    if (surface_ && cairo_image_surface_get_width(surface_) == pw && cairo_image_surface_get_height(surface_) == ph)
      return true;
    if (surface_) cairo_surface_destroy(surface_);
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    wholePending_ = true;
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pw, ph);
    if (renderer_)
      texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, pw, ph);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS || (renderer_ && !texture_)) {
      ns::logf("INFO  - [%s] Could not make a %dx%d drawing surface", ns::logTimestamp().c_str(), pw, ph);
      return false;
    }
    return true;
  }

  // Turns the screen a quarter and gives the window the new shape at the same scale.
  void turn(bool clockwise) {
    Window* w = Window::keyWindow();
    if (!w) return;
    InterfaceOrientation from = Application::shared().statusBarOrientation();
    cg::Size before = logicalSize();
    if (!w->rotateToInterfaceOrientation(nextOrientation(from, clockwise))) return;
    int ww = 0, wh = 0, wx = 0, wy = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    SDL_GetWindowPosition(window_, &wx, &wy);
    cg::Size now = turnedWindowSize({float(ww), float(wh)}, before, logicalSize(), desktop_.size);
    if (!(SDL_GetWindowFlags(window_) & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN))) {
      // The window turns about its centre, kept on the desktop.
      int nx = std::clamp(wx + (ww - int(now.width)) / 2, int(desktop_.x()),
                          std::max(int(desktop_.x()), int(desktop_.maxX() - now.width)));
      int ny = std::clamp(wy + (wh - int(now.height)) / 2, int(desktop_.y()),
                          std::max(int(desktop_.y()), int(desktop_.maxY() - now.height)));
      SDL_SetWindowSize(window_, int(now.width), int(now.height));
      SDL_SetWindowPosition(window_, nx, ny);
    }
    updateScale();
  }

  cg::Point toScreen(int x, int y) const {
    int ww = 0, wh = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    return logicalPointFor({float(x), float(y)}, logicalSize(), {float(ww), float(wh)});
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

  // Milliseconds to the next timer; -1 when none is pending.
  int waitMs() const {
    double next = ns::RunLoop::main().nextFireTime() - ns::Clock::current().now();
    if (!(next < 1e9)) return -1;
    return std::clamp(static_cast<int>(std::ceil(next * 1000)), 0, 1 << 30);
  }

  // The mouse is finger 0. With Ctrl held it brings a second finger: mirrored
  // about the screen's centre (a pinch), or with Shift too, beside it (a
  // two-finger drag).
  void touch(TouchPhase phase, int x, int y) {
    Window* w = Window::keyWindow();
    if (!w) return;
    cg::Point p = toScreen(x, y);
    if (phase == TouchPhase::Began) {
      SDL_Keymod mod = SDL_GetModState();
      twoFingers_ = (mod & KMOD_CTRL) != 0;
      parallel_ = (mod & KMOD_SHIFT) != 0;
    }
    w->sendTouch(0, phase, p);
    if (!twoFingers_) return;
    cg::Size s = logicalSize();
    cg::Point second = parallel_ ? cg::Point{p.x + 60, p.y} : cg::Point{s.width - p.x, s.height - p.y};
    w->sendTouch(1, phase, second);
    if (phase == TouchPhase::Ended || phase == TouchPhase::Cancelled) twoFingers_ = false;
  }

  void finger(TouchPhase phase, const SDL_TouchFingerEvent& f) {
    Window* w = Window::keyWindow();
    if (!w) return;
    int ww = 0, wh = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    auto [it, added] = fingers_.try_emplace(f.fingerId, kFirstScreenFinger + int(fingers_.size()));
    if (!added && phase == TouchPhase::Began) it->second = kFirstScreenFinger + int(fingers_.size());
    w->sendTouch(it->second, phase, toScreen(int(f.x * float(ww)), int(f.y * float(wh))));
    if (phase == TouchPhase::Ended || phase == TouchPhase::Cancelled) fingers_.erase(it);
  }

  // A wheel turns in whole steps; a touchpad sends fractions, which move the
  // content directly. SDL's y is positive away from the user (content down).
  void wheel(const SDL_MouseWheelEvent& w) {
    Window* win = Window::keyWindow();
    if (!win) return;
    float flip = w.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0f : 1.0f;
    float x = w.preciseX * flip, y = w.preciseY * flip;
    bool precise = x != std::round(x) || y != std::round(y);
    win->sendScrollWheel({toScreen(w.mouseX, w.mouseY), x, -y, precise});
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
      case SDL_KEYDOWN: {
        KeyEvent key{keyName(e.key.keysym.sym), "", modifiersOf(e.key.keysym.mod)};
        if (key.key == kTurnKey) {
          if (!e.key.repeat) turn(!(key.modifiers & KeyModifierShift));
        } else if (w) {
          w->sendKey(key);
        }
        break;
      }
      case SDL_KEYUP:
        if (w) w->sendKeyUp({keyName(e.key.keysym.sym), "", modifiersOf(e.key.keysym.mod)});
        break;
      case SDL_FINGERDOWN: finger(TouchPhase::Began, e.tfinger); break;
      case SDL_FINGERMOTION: finger(TouchPhase::Moved, e.tfinger); break;
      case SDL_FINGERUP: finger(TouchPhase::Ended, e.tfinger); break;
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
          case SDL_WINDOWEVENT_SIZE_CHANGED:
            updateScale();
            present(true);
            break;
          case SDL_WINDOWEVENT_CLOSE: app.terminate(); break;
          default: break;
        }
        break;
      default: break;
    }
  }

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  cairo_surface_t* surface_ = nullptr;
  // The window surface last shown in (without a renderer), compared only, and
  // whether the next present must show the whole picture.
  const SDL_Surface* windowSurface_ = nullptr;
  int windowSurfaceWidth_ = 0, windowSurfaceHeight_ = 0;
  bool wholePending_ = true;
  Uint32 wakeEvent_ = static_cast<Uint32>(-1);
  bool running_ = true;
  cg::Rect lastCaret_;
  float scale_ = 1;
  cg::Rect desktop_;
  InterfaceOrientation orientation_ = InterfaceOrientation::LandscapeRight;
  bool twoFingers_ = false;
  bool parallel_ = false;
  std::map<SDL_FingerID, int> fingers_;
};

}  // namespace

bool showsFatalMessageBox(const std::function<const char*(const char*)>& env) {
  auto set = [&env](const char* name) {
    const char* value = env(name);
    return value && *value;
  };
  const char* headless = env("ZARVEL_HEADLESS");
  if ((headless && std::strcmp(headless, "1") == 0) || set("CI")) return false;
  if (const char* driver = env("SDL_VIDEODRIVER"))
    for (const char* invisible : kInvisibleDrivers)
      if (std::strstr(driver, invisible)) return false;
  return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

int SdlBackend::run(const DelegateFactory& makeDelegate, const std::string& inboundURL, const std::string& program) {
  Session session;
  if (std::string reason = session.open(); !reason.empty()) return refuseWithoutDisplay(program, reason);
  // A start that cannot go on says why in a box too, not only on a terminal nobody sees.
  ns::setFatalHandler([](std::string_view message) {
    if (!showsFatalMessageBox([](const char* name) { return std::getenv(name); })) return;
    std::string text = "Zarvel cannot start:\n\n" + std::string(message);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Zarvel", text.c_str(), nullptr);
  });
  ns::RunLoop::setMainThread();
  IdleTimer::setObserver([](bool disabled) {
    if (disabled) SDL_DisableScreenSaver();
    else SDL_EnableScreenSaver();
  });
  connectClipboard();
  auto& app = Application::shared();
  app.setDelegate(makeDelegate());
  {
    ns::RunLoop::Turn turn;  // the launch is one turn of the loop
    LocalNotificationScheduler::shared().reload();
    app.launch();
    if (!inboundURL.empty()) app.openInboundURL(inboundURL);
  }
  if (Window* w = Window::keyWindow()) w->setShowsStatusBar(true);
  session.present(true);
  session.loop();
  session.savePlacement();
  // The application's objects go now, while everything they reach on their
  // way out (registries, the run loop, the window system) is still there.
  app.setDelegate(nullptr);
  ns::setFatalHandler(nullptr);
  IdleTimer::setObserver(nullptr);
  Pasteboard::generalPasteboard().setStore(nullptr, nullptr);
  return 0;
}

int ApplicationMain(int argc, char** argv, const SdlBackend::DelegateFactory& makeDelegate) {
  std::string url;
  for (int i = 1; i < argc && url.empty(); ++i)
    if (std::strstr(argv[i], "://")) url = argv[i];
  // The folders hold a person's notes: others may not read them.
  for (const std::string& failure : DataFolders::makePrivate())
    ns::logf("INFO  - [%s] Could not make private: %s", ns::logTimestamp().c_str(), failure.c_str());
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
      DataFolders::removeStaleTemporaries();  // no other instance writes here now
      break;
  }
  // A link the application would drop unread is refused here, saying why.
  if (std::string problem = url.empty() ? "" : InstanceLock::linkProblem(url); !problem.empty()) {
    std::fprintf(stderr, "zarvel: the link was not opened: %s.\n", problem.c_str());
    url.clear();
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
int SdlBackend::presents() { return gPresents; }

}  // namespace ui
