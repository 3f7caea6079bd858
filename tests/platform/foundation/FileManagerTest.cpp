#include "platform/foundation/FileManager.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include "platform/foundation/Paths.h"
#include "TempDir.h"

using namespace ns;

TEST(FileManager, AtomicWriteReplacesWholeFilesAndLeavesNoTemporaries) {
  testing_support::TempDir dir;
  std::string path = dir.file("zarveldyn.db");
  ASSERT_TRUE(writeFileAtomically(path, std::string_view("old contents")));
  ASSERT_TRUE(writeFileAtomically(path, std::string_view("new")));
  EXPECT_EQ(stringFromData(*readFile(path, 100)), "new");
  EXPECT_EQ(contentsOfDirectory(dir.path()), (std::vector<std::string>{"zarveldyn.db"}));
}

TEST(FileManager, AWriteFailingHalfWayKeepsTheOldFile) {
  testing_support::TempDir dir;
  std::string path = dir.file("defaults.json");
  ASSERT_TRUE(writeFileAtomically(path, std::string_view("{\"kept\":1}")));
  // A file-size limit makes the write fail part way, even for root.
  struct rlimit saved {};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 100;
  setrlimit(RLIMIT_FSIZE, &small);
  bool wrote = writeFileAtomically(path, Data(1000, 'x'));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);
  EXPECT_FALSE(wrote);
  EXPECT_EQ(stringFromData(*readFile(path, 100)), "{\"kept\":1}");
  EXPECT_EQ(contentsOfDirectory(dir.path()).size(), 1u);  // the partial temporary is gone

  // A directory in the way cannot be replaced either.
  ASSERT_TRUE(createDirectory(dir.file("folder/inner")));
  EXPECT_FALSE(writeFileAtomically(dir.file("folder"), std::string_view("x")));
  EXPECT_TRUE(isDirectory(dir.file("folder/inner")));
}

TEST(FileManager, ReadFileRefusesFilesOverTheCapAndNonFiles) {
  testing_support::TempDir dir;
  std::string path = dir.file("a.bin");
  ASSERT_TRUE(writeFileAtomically(path, Data(1000, 7)));
  EXPECT_EQ(readFile(path, 1000)->size(), 1000u);
  EXPECT_FALSE(readFile(path, 999).has_value());
  EXPECT_FALSE(readFile(dir.path(), 1 << 20).has_value());
  EXPECT_FALSE(readFile(dir.file("missing"), 1 << 20).has_value());
  EXPECT_EQ(fileSize(path), 1000u);
  EXPECT_FALSE(fileSize(dir.file("missing")).has_value());
}

TEST(FileManager, CreateCopyMoveListAndRemove) {
  testing_support::TempDir dir;
  std::string nested = pathJoin(dir.path(), "Caches", "audio");
  ASSERT_TRUE(createDirectory(nested));
  EXPECT_TRUE(isDirectory(nested));
  std::string a = pathJoin(nested, "001.mp3");
  ASSERT_TRUE(writeFileAtomically(a, std::string_view("mp3")));
  EXPECT_TRUE(copyItem(a, pathJoin(nested, "002.mp3")));
  EXPECT_FALSE(copyItem(a, pathJoin(nested, "002.mp3")));  // destination exists
  EXPECT_FALSE(copyItem(nested, pathJoin(dir.path(), "copy")));  // not a file
  EXPECT_TRUE(moveItem(pathJoin(nested, "002.mp3"), pathJoin(nested, "003.mp3")));
  EXPECT_EQ(contentsOfDirectory(nested), (std::vector<std::string>{"001.mp3", "003.mp3"}));
  EXPECT_TRUE(removeItem(pathJoin(dir.path(), "Caches")));
  EXPECT_FALSE(fileExists(a));
  EXPECT_TRUE(removeItem(pathJoin(dir.path(), "never-there")));
  EXPECT_TRUE(contentsOfDirectory(pathJoin(dir.path(), "never-there")).empty());
}

TEST(Paths, UserFoldersFollowZarvelHomeOrTheXdgVariables) {
  std::string savedHome = getenv("ZARVEL_HOME") ? getenv("ZARVEL_HOME") : "";
  setenv("ZARVEL_HOME", "/tmp/zh", 1);
  EXPECT_EQ(documentsDirectory(), "/tmp/zh/documents");
  EXPECT_EQ(cachesDirectory(), "/tmp/zh/caches");
  EXPECT_EQ(configDirectory(), "/tmp/zh/config");
  unsetenv("ZARVEL_HOME");
  setenv("XDG_DATA_HOME", "/x/data", 1);
  setenv("XDG_CACHE_HOME", "relative/ignored", 1);
  setenv("HOME", "/home/reader", 1);
  EXPECT_EQ(documentsDirectory(), "/x/data/zarvel");
  EXPECT_EQ(cachesDirectory(), "/home/reader/.cache/zarvel");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(configDirectory(), "/home/reader/.config/zarvel");
  unsetenv("XDG_DATA_HOME");
  unsetenv("XDG_CACHE_HOME");
  if (!savedHome.empty()) setenv("ZARVEL_HOME", savedHome.c_str(), 1);
}

TEST(Paths, JoiningAndTakingApart) {
  EXPECT_EQ(pathJoin("a", "b"), "a/b");
  EXPECT_EQ(pathJoin("a/", "/b"), "a/b");
  EXPECT_EQ(pathJoin("", "b"), "b");
  EXPECT_EQ(pathJoin("a", "b", "c.mp3"), "a/b/c.mp3");
  EXPECT_EQ(lastPathComponent("/x/y/current.mp3"), "current.mp3");
  EXPECT_EQ(lastPathComponent("/x/y/"), "y");
  EXPECT_EQ(deletingLastPathComponent("/x/y/current.mp3"), "/x/y");
  EXPECT_EQ(deletingLastPathComponent("/x"), "/");
  EXPECT_EQ(pathExtension("a/b.tar.gz"), "gz");
  EXPECT_EQ(pathExtension("a/.hidden"), "");
  EXPECT_EQ(deletingPathExtension("a/b.mp3"), "a/b");
  for (const char* bad : {"", ".", "..", "a/b", "../x"}) EXPECT_FALSE(isSafePathComponent(bad)) << bad;
  EXPECT_TRUE(isSafePathComponent("001.mp3"));
}
