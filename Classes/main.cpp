// The entry point: the platform's application loop with the delegate the main
// interface makes. A window needs a desktop session; ZARVEL_HEADLESS=1 runs
// without one (see platform/backend/headless/HeadlessBackend.h), and then plays
// recitations on the silent device, timed by its virtual clock. Web pages are
// shown by the desktop's web engine, whose helper processes end with the loop.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Classes/app/MainInterface.h"
#include "platform/backend/sdl/SdlBackend.h"
#include "platform/ui/Application.h"
#include "toolkit/web/WebKitEngine.h"

int main(int argc, char** argv) {
  const char* headless = std::getenv("ZARVEL_HEADLESS");
  if (headless && std::strcmp(headless, "1") == 0) setenv("ZARVEL_AUDIO", "silent", 0);
  ui::WebKitEngine::install();
  int status = ui::ApplicationMain(argc, argv, [] { return loadMainInterface(); });
  ui::WebKitEngine::shutdown();
  // A new interface language starts the program again, on the same data
  // (without the link it was started with, which has been read).
  if (status == 0 && ui::Application::shared().relaunchRequested() && argc > 0) {
    char* again[] = {argv[0], nullptr};
    execv("/proc/self/exe", again);
    std::perror("zarvel: could not start again");
    return 1;
  }
  return status;
}
