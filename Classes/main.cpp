// The entry point: the platform's application loop with the delegate the main
// interface makes. A window needs a desktop session; ZARVEL_HEADLESS=1 runs
// without one (see platform/backend/headless/HeadlessBackend.h). Web pages
// are shown by the desktop's web engine, whose helper processes end with the
// loop.
#include "Classes/app/MainInterface.h"
#include "platform/backend/sdl/SdlBackend.h"
#include "toolkit/web/WebKitEngine.h"

int main(int argc, char** argv) {
  ui::WebKitEngine::install();
  int status = ui::ApplicationMain(argc, argv, [] { return loadMainInterface(); });
  ui::WebKitEngine::shutdown();
  return status;
}
