#pragma once
// Runs the application in a desktop window with SDL2. The window shows the
// tablet's logical screen (1024 x 768 points on its side, 768 x 1024
// upright) whole, scaled to the window and letterboxed, drawn at scale 2 when
// the window has twice its pixels. F8 turns it a quarter (Shift+F8 the other
// way); the window takes the new shape. The mouse is a finger (a second one
// mirrored about the centre with Ctrl held, beside it with Ctrl+Shift); a
// touch screen's fingers are fingers. Keys and text input go to the first
// responder, media keys as remote-control events; focus and minimising map
// to the life cycle, closing to termination; the screen saver is held off
// while the idle timer is disabled. The window's size, place and orientation
// are kept in the config folder for the next run.
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/Application.h"

namespace ui {

class SdlBackend {
 public:
  using DelegateFactory = std::function<std::shared_ptr<ApplicationDelegate>()>;
  // Opens the window, launches, runs until the application terminates. The
  // exit status: 2, with a message on standard error, when no window can be
  // shown (SDL's offscreen and dummy drivers count only when SDL_VIDEODRIVER
  // names them).
  static int run(const DelegateFactory& makeDelegate, const std::string& inboundURL = "",
                 const std::string& program = "zarvel");
  // Times the event loop has woken so far (an idle window sleeps).
  static int wakeUps();
  // Frames shown in the window so far.
  static int presents();
};

// Whether a fatal error (a first start where the data cannot be written)
// is also shown in a desktop message box, for a person who started the
// reader from a menu and sees no terminal: only in a window run on a display,
// never headless, on SDL's invisible drivers or under CI, where nobody would
// close the box and the run would hang. `env` reads the environment.
bool showsFatalMessageBox(const std::function<const char*(const char*)>& env);

// The program's entry: headless when ZARVEL_HEADLESS=1 (see HeadlessBackend),
// else a window, which needs DISPLAY or WAYLAND_DISPLAY (or SDL_VIDEODRIVER).
// One instance runs per data folder (InstanceLock): a later start hands its
// link to the running one and answers 0, or, without a link, says that one
// runs and answers 3. The first argument holding "://" is an inbound link, handed
// to the delegate after launch.
int ApplicationMain(int argc, char** argv, const SdlBackend::DelegateFactory& makeDelegate);

}  // namespace ui
