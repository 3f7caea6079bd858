#include "platform/backend/sdl/DisplayProbe.h"

#include <netdb.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace ui {

namespace {

// Connects to a Unix socket by path (a leading '@' names an abstract one).
bool unixSocketAnswers(const std::string& path) {
  sockaddr_un address{};
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.data(), path.size());
  if (path[0] == '@') address.sun_path[0] = '\0';
  socklen_t size = socklen_t(offsetof(sockaddr_un, sun_path) + path.size() + (path[0] == '@' ? 0 : 1));
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), size) == 0;
  ::close(fd);
  return connected;
}

bool tcpAnswers(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return false;
  bool connected = false;
  for (addrinfo* a = found; a && !connected; a = a->ai_next) {
    int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    connected = ::connect(fd, a->ai_addr, a->ai_addrlen) == 0;
    ::close(fd);
  }
  ::freeaddrinfo(found);
  return connected;
}

// The number after the last ':' (a screen after a '.' ignored).
std::optional<int> displayNumber(const std::string& display) {
  std::size_t colon = display.rfind(':');
  if (colon == std::string::npos) return std::nullopt;
  const char* first = display.data() + colon + 1;
  const char* last = display.data() + display.size();
  int n = 0;
  auto [end, error] = std::from_chars(first, last, n);
  if (error != std::errc() || end == first || n < 0 || (end != last && *end != '.')) return std::nullopt;
  return n;
}

}  // namespace

std::optional<int> localDisplayNumber(const std::string& display) {
  std::string host = display.substr(0, display.rfind(':') == std::string::npos ? 0 : display.rfind(':'));
  if (!host.empty() && host != "unix") return std::nullopt;
  return displayNumber(display);
}

bool displayAnswers() {
  const char* x = std::getenv("DISPLAY");
  if (x && *x) {
    std::string display = x;
    if (auto n = localDisplayNumber(display)) {
      std::string socket = "/tmp/.X11-unix/X" + std::to_string(*n);
      if (unixSocketAnswers("@" + socket) || unixSocketAnswers(socket)) return true;
    } else if (auto remote = displayNumber(display)) {
      if (tcpAnswers(display.substr(0, display.rfind(':')), 6000 + *remote)) return true;
    }
  }
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (wayland && *wayland) {
    std::string socket = wayland;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (socket[0] != '/' && runtime) socket = std::string(runtime) + "/" + socket;
    if (unixSocketAnswers(socket)) return true;
  }
  return false;
}

std::string openWithRetries(const std::function<std::string()>& open, const std::function<bool()>& answers,
                            int tries, double pauseSeconds) {
  std::string reason;
  for (int attempt = 1;; ++attempt) {
    reason = open();
    if (reason.empty() || attempt >= tries || !answers()) return reason;
    std::this_thread::sleep_for(std::chrono::duration<double>(pauseSeconds));
  }
}

}  // namespace ui
