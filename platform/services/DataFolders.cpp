#include "platform/services/DataFolders.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <regex>

#include "platform/foundation/Clock.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"

namespace ui {

namespace {

namespace fs = std::filesystem;

constexpr mode_t kOthersBits = S_IRWXG | S_IRWXO;

// Takes the group and other permissions from one file or folder (never
// through a symbolic link); the reason when that fails.
std::string restrict(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return path + ": " + std::strerror(errno);
  if (S_ISLNK(st.st_mode) || !(st.st_mode & kOthersBits)) return {};
  if (::chmod(path.c_str(), st.st_mode & 07777 & ~kOthersBits) != 0) return path + ": " + std::strerror(errno);
  return {};
}

}  // namespace

std::vector<std::string> DataFolders::all() {
  return {ns::documentsDirectory(), ns::configDirectory(), ns::cachesDirectory()};
}

std::vector<std::string> DataFolders::makePrivate() {
  std::vector<std::string> failures;
  auto note = [&failures](std::string failure) {
    if (!failure.empty()) failures.push_back(std::move(failure));
  };
  for (const std::string& folder : all()) {
    std::string reason;
    if (!ns::createDirectory(folder, &reason)) {
      note(folder + ": " + reason);
      continue;
    }
    note(restrict(folder));
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec))
      note(restrict(it->path().string()));
    if (ec) note(folder + ": " + ec.message());
  }
  return failures;
}

int DataFolders::removeStaleTemporaries(double olderThan) {
  static const std::regex temporary(R"(\..+\.tmp[0-9]+)");
  double now = ns::RealClock().now();
  int removed = 0;
  for (const std::string& folder : all()) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      std::string name = it->path().filename().string();
      if (!std::regex_match(name, temporary) || !it->is_regular_file(ec)) continue;
      auto changed = ns::modificationDate(it->path().string());
      if (changed && now - *changed > olderThan && ns::removeItem(it->path().string())) ++removed;
    }
  }
  return removed;
}

}  // namespace ui
