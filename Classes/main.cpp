// The entry point: the platform's application loop with the delegate the main
// interface makes. A window needs a desktop session; ZARVEL_HEADLESS=1 runs
// without one (see platform/backend/headless/HeadlessBackend.h).
#include "Classes/app/MainInterface.h"
#include "platform/backend/sdl/SdlBackend.h"

int main(int argc, char** argv) {
  return ui::ApplicationMain(argc, argv, [] { return loadMainInterface(); });
}
