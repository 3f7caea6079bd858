#pragma once
// A virtual X display for the tests that show real web pages: one Xvfb per
// test process, on a display number it picks itself (-displayfd), started on
// first use and ended when the process exits (or dies: it goes with its
// parent). DISPLAY points at it; WAYLAND_DISPLAY is cleared so that GTK
// takes it. A machine without Xvfb gets no display, and the tests skip with
// a message that says so.
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace testing_support {

class XvfbDisplay {
 public:
  // The display's name (":N"), empty when Xvfb is missing or did not start.
  static const std::string& shared() {
    static XvfbDisplay display;
    return display.name_;
  }
  static constexpr const char* kMissing =
      "Xvfb is not installed (scripts/setup installs it): the real web engine is not tested";

  ~XvfbDisplay() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }

 private:
  XvfbDisplay() {
    const char* xvfb = findXvfb();
    if (!xvfb) return;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);
      ::dup2(fds[1], 3);
      ::fcntl(3, F_SETFD, 0);  // kept across exec: Xvfb writes its number there
      int devnull = ::open("/dev/null", O_WRONLY);
      ::dup2(devnull, 1);
      ::dup2(devnull, 2);
      ::execl(xvfb, "Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset",
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    if (pid_ < 0) {
      ::close(fds[0]);
      return;
    }
    std::string number;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(fds[0]);
    if (number.empty()) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
      pid_ = -1;
      return;
    }
    name_ = ":" + number;
    ::setenv("DISPLAY", name_.c_str(), 1);
    ::unsetenv("WAYLAND_DISPLAY");
  }

  static const char* findXvfb() {
    for (const char* path : {"/usr/bin/Xvfb", "/usr/local/bin/Xvfb"})
      if (::access(path, X_OK) == 0) return path;
    return nullptr;
  }

  pid_t pid_ = -1;
  std::string name_;
};

}  // namespace testing_support
