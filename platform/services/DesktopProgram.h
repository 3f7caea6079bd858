#pragma once
// Starting the desktop's helper programs (xdg-open, xdg-email) without a shell:
// the arguments go to the program as they are, never through word splitting.
// The caller never waits for them: a handler that hangs must not freeze the
// window.
#include <functional>
#include <string>
#include <vector>

namespace ui {

// True when an executable of that name lies on PATH.
bool programOnPath(const std::string& name);

// Starts argv[0] (looked up on PATH) with the arguments and returns at once.
// When the program ends, `done` runs on the main thread with its exit status
// (-1 when a signal ended it). False, and `done` never runs, when it could not
// be started.
bool startDesktopProgram(const std::vector<std::string>& argv, std::function<void(int status)> done);

}  // namespace ui
