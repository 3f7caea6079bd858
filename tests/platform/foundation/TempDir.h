#pragma once
// A fresh directory for one test, removed afterwards.
#include <cstdlib>
#include <string>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"

namespace testing_support {

class TempDir {
 public:
  TempDir() {
    const char* root = std::getenv("ZARVEL_TEST_TMP");
    std::string base = root && *root ? root : ns::temporaryDirectory();
    ns::createDirectory(base);
    std::string pattern = ns::pathJoin(base, "h1-XXXXXX");
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempDir() {
    if (!path_.empty()) ns::removeItem(path_);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return ns::pathJoin(path_, name); }

 private:
  std::string path_;
};

}  // namespace testing_support
