// The entry point: the platform's application loop with the delegate the main
// interface makes. A window needs a desktop session; ZARVEL_HEADLESS=1 runs
// without one (see platform/backend/headless/HeadlessBackend.h).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Classes/app/MainInterface.h"
#include "platform/backend/sdl/SdlBackend.h"

namespace {

bool hasEnv(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

int main(int argc, char** argv) {
  const char* headless = std::getenv("ZARVEL_HEADLESS");
  bool runHeadless = headless && std::string(headless) == "1";
  if (!runHeadless && !hasEnv("DISPLAY") && !hasEnv("WAYLAND_DISPLAY")) {
    std::fprintf(stderr,
                 "zarvel: no display (neither DISPLAY nor WAYLAND_DISPLAY is set): the reader needs a desktop "
                 "session for its window.\nRun it under one, or headless: ZARVEL_HEADLESS=1 "
                 "ZARVEL_STOP_AFTER=5 ZARVEL_SCREENSHOT=zarvel.png %s\n",
                 argv[0]);
    return 2;
  }
  return ui::ApplicationMain(argc, argv, [] { return loadMainInterface(); });
}
