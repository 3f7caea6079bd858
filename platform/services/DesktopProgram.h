#pragma once
// Starting the desktop's helper programs (xdg-open, xdg-email) without a shell:
// the arguments go to the program as they are, never through word splitting.
#include <string>
#include <vector>

namespace ui {

// True when an executable of that name lies on PATH.
bool programOnPath(const std::string& name);

// Runs argv[0] (looked up on PATH) with the arguments and waits for it; its
// exit status, or -1 when it could not be started.
int runDesktopProgram(const std::vector<std::string>& argv);

}  // namespace ui
