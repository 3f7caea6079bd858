#pragma once
// Runs the application in a real 1024 x 768 desktop window with SDL2: the
// window tree drawn through a cairo image surface, the mouse as touches, keys
// and text input to the first responder, focus and minimising mapped to the
// life cycle, closing to termination, and the screen saver held off while
// the idle timer is disabled.
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
};

// The program's entry: headless when ZARVEL_HEADLESS=1 (see HeadlessBackend),
// else a window, which needs DISPLAY or WAYLAND_DISPLAY (or SDL_VIDEODRIVER).
// One instance runs per data folder (InstanceLock): a later start hands its
// link to the running one and answers 0, or, without a link, says that one
// runs and answers 3. The first argument holding "://" is an inbound link, handed
// to the delegate after launch.
int ApplicationMain(int argc, char** argv, const SdlBackend::DelegateFactory& makeDelegate);

}  // namespace ui
