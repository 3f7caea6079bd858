// Finding the display's server and opening it again when it refused for a
// moment: a busy X server (every client slot taken) turns a connection away,
// and SDL then falls back to a driver that shows nothing.
#include "platform/backend/sdl/DisplayProbe.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "platform/foundation/FileManager.h"

using namespace ui;

namespace {

// A display number nothing here serves.
int unusedDisplayNumber() {
  for (int n = 731;; ++n)
    if (!ns::fileExists("/tmp/.X11-unix/X" + std::to_string(n)) && !ns::fileExists("/tmp/.X" + std::to_string(n) + "-lock"))
      return n;
}

// A listener on the X server's abstract socket of the display number.
int listenAsDisplay(int n) {
  std::string name = "/tmp/.X11-unix/X" + std::to_string(n);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path + 1, name.data(), name.size());
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  socklen_t size = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(fd, 4) != 0) return -1;
  return fd;
}

}  // namespace

TEST(DisplayProbe, LocalDisplayNumbers) {
  EXPECT_EQ(localDisplayNumber(":0"), 0);
  EXPECT_EQ(localDisplayNumber(":1.0"), 1);
  EXPECT_EQ(localDisplayNumber("unix:12"), 12);
  EXPECT_EQ(localDisplayNumber("remote.example:0"), std::nullopt);
  for (const char* bad : {"", "0", ":", ":x", ":1x", ":-1"}) EXPECT_EQ(localDisplayNumber(bad), std::nullopt) << bad;
}

TEST(DisplayProbe, ADisplayAnswersWhileItsServerListens) {
  int n = unusedDisplayNumber();
  const char* oldDisplay = std::getenv("DISPLAY");
  std::string saved = oldDisplay ? oldDisplay : "";
  unsetenv("WAYLAND_DISPLAY");
  setenv("DISPLAY", (":" + std::to_string(n)).c_str(), 1);
  EXPECT_FALSE(displayAnswers());
  int server = listenAsDisplay(n);
  ASSERT_GE(server, 0);
  EXPECT_TRUE(displayAnswers());
  ::close(server);
  EXPECT_FALSE(displayAnswers());
  if (saved.empty()) unsetenv("DISPLAY");
  else setenv("DISPLAY", saved.c_str(), 1);
}

TEST(DisplayProbe, ARefusalIsTriedAgainOnlyWhileTheDisplayAnswers) {
  struct Case {
    const char* name;
    int failures;   // opens that fail before one succeeds
    bool answers;   // the server listens
    int opens;      // opens made
    bool opened;
  };
  const Case cases[] = {
      {"opens at once", 0, true, 1, true},
      {"a busy server refuses twice", 2, true, 3, true},
      {"nothing listens: no second try", 2, false, 1, false},
      {"refuses every time: gives up after the tries", 100, true, 5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int opens = 0;
    std::string reason = openWithRetries(
        [&] { return ++opens > c.failures ? std::string() : std::string("the display could not be reached"); },
        [&] { return c.answers; }, 5, 0.001);
    EXPECT_EQ(opens, c.opens);
    EXPECT_EQ(reason.empty(), c.opened);
  }
}
