#include "platform/services/DesktopProgram.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"

extern char** environ;

namespace ui {

bool programOnPath(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return false;
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/local/bin:/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    if (dir.empty()) continue;
    std::string candidate = dir + "/" + name;
    struct stat st {};
    if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0)
      return true;
  }
  return false;
}

bool startDesktopProgram(const std::vector<std::string>& argv, std::function<void(int status)> done) {
  if (argv.empty()) return false;
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return false;
  // A worker waits for it and hands the status to the main thread.
  ns::Thread::detachNewThread("desktop-program", [pid, done = std::move(done)]() mutable {
    int status = 0;
    pid_t waited;
    while ((waited = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
    }
    int code = waited == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ns::RunLoop::main().post([code, done = std::move(done)] {
      if (done) done(code);
    });
  });
  return true;
}

}  // namespace ui
