#pragma once
// Whether the desktop's display server is there, and opening the window
// system with retries. An X server that is busy (every client slot taken, a
// burst of connections) refuses a connection for a moment; SDL then falls
// back, without a word, to a driver that shows nothing, and the start would
// give up on a display that works. A display whose server listens is tried
// again before the reader gives up; one where nothing listens fails at once.
#include <functional>
#include <optional>
#include <string>

namespace ui {

// The local X display number of a DISPLAY value (":0", ":1.0", "unix:2");
// nothing for a remote display ("host:0") or text that names none.
std::optional<int> localDisplayNumber(const std::string& display);

// Whether a server accepts a connection where the environment points:
// the X server of DISPLAY (its local socket, or the TCP port of a remote
// one) or the Wayland compositor of WAYLAND_DISPLAY.
bool displayAnswers();

// Calls `open` (which answers "" once a window can be shown, else why not)
// until it succeeds; while `answers` says the display's server listens, up
// to `tries` times with `pauseSeconds` between them. The last reason, or ""
// on success.
std::string openWithRetries(const std::function<std::string()>& open, const std::function<bool()>& answers,
                            int tries, double pauseSeconds);

}  // namespace ui
