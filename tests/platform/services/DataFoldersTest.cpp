// The data folders at start: made private with everything in them, and the
// temporaries of interrupted writes removed once stale.
#include "platform/services/DataFolders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "platform/foundation/Clock.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"

using ui::DataFolders;

namespace {

class DataFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* base = std::getenv("ZARVEL_TEST_TMP");
    home = ns::pathJoin(base ? base : "/tmp",
                        "folders-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    ns::removeItem(home);
    const char* old = std::getenv("ZARVEL_HOME");
    if (old) oldHome = old;
    setenv("ZARVEL_HOME", home.c_str(), 1);
  }
  void TearDown() override {
    if (oldHome.empty()) unsetenv("ZARVEL_HOME");
    else setenv("ZARVEL_HOME", oldHome.c_str(), 1);
    ns::removeItem(home);
  }
  static mode_t mode(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode & 07777;
  }
  static void write(const std::string& path, mode_t m) {
    ASSERT_TRUE(ns::createDirectory(ns::deletingLastPathComponent(path)));
    ASSERT_TRUE(ns::writeFileAtomically(path, std::string_view("x")));
    ASSERT_EQ(::chmod(path.c_str(), m), 0);
  }

  std::string home, oldHome;
};

TEST_F(DataFoldersTest, NewFoldersAndOlderOnesWithTheirFilesBecomePrivate) {
  // An older installation: folders and files open to every user.
  std::string notes = ns::pathJoin(ns::documentsDirectory(), "zarveldyn.db");
  std::string settings = ns::pathJoin(ns::configDirectory(), "defaults.json");
  std::string cached = ns::pathJoin(ns::cachesDirectory(), "pages", "page");
  write(notes, 0644);
  write(settings, 0664);
  write(cached, 0644);
  for (const std::string& dir : {ns::documentsDirectory(), ns::configDirectory(), ns::cachesDirectory(),
                                 ns::deletingLastPathComponent(cached)})
    ASSERT_EQ(::chmod(dir.c_str(), 0755), 0);

  EXPECT_TRUE(DataFolders::makePrivate().empty());
  for (const std::string& dir : DataFolders::all()) EXPECT_EQ(mode(dir), 0700u) << dir;
  EXPECT_EQ(mode(ns::deletingLastPathComponent(cached)), 0700u);
  for (const std::string& file : {notes, settings, cached}) EXPECT_EQ(mode(file), 0600u) << file;

  // Missing folders are made private; files written later are the owner's only.
  ns::removeItem(home);
  EXPECT_TRUE(DataFolders::makePrivate().empty());
  for (const std::string& dir : DataFolders::all()) EXPECT_EQ(mode(dir), 0700u) << dir;
  ASSERT_TRUE(ns::writeFileAtomically(settings, std::string_view("{}")));
  EXPECT_EQ(mode(settings), 0600u);
}

TEST_F(DataFoldersTest, StaleTemporariesOfInterruptedWritesGoAndNothingElse) {
  ASSERT_TRUE(DataFolders::makePrivate().empty());
  double hourAgo = ns::RealClock().now() - 3600;
  std::string config = ns::configDirectory(), documents = ns::documentsDirectory();
  struct File {
    std::string path;
    bool old;
    bool goes;
  };
  const File files[] = {
      {ns::pathJoin(config, ".defaults.json.tmp2811492"), true, true},
      {ns::pathJoin(config, ".window.conf.tmp17"), true, true},
      {ns::pathJoin(documents, ".notes.json.tmp5"), true, true},
      {ns::pathJoin(config, ".defaults.json.tmp99"), false, false},  // being written now
      {ns::pathJoin(config, "defaults.json"), true, false},
      {ns::pathJoin(config, ".defaults.json.tmpx"), true, false},
      {ns::pathJoin(documents, "zarveldyn.db.tmp"), true, false},
      {ns::pathJoin(documents, "sub", ".a.tmp1"), true, false},  // subfolders are not theirs
  };
  for (const File& f : files) {
    write(f.path, 0600);
    if (f.old) {
      ASSERT_TRUE(ns::setModificationDate(f.path, hourAgo));
    }
  }
  EXPECT_EQ(DataFolders::removeStaleTemporaries(), 3);
  for (const File& f : files) EXPECT_EQ(ns::fileExists(f.path), !f.goes) << f.path;
}

}  // namespace
