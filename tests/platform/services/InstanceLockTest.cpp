// One running instance per data folder: the lock, the answer to a later start
// with and without a link, and what the listener refuses.
#include "platform/services/InstanceLock.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"

using ui::InstanceLock;
using Outcome = InstanceLock::Outcome;

namespace {

class InstanceLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ns::RunLoop::resetForTesting();
    const char* base = std::getenv("ZARVEL_TEST_TMP");
    folder = ns::pathJoin(base ? base : "/tmp",
                          "instance-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()),
                          "data");
    ns::removeItem(ns::deletingLastPathComponent(folder));
  }
  void TearDown() override {
    ns::RunLoop::resetForTesting();
    ns::removeItem(ns::deletingLastPathComponent(folder));
  }

  // The running instance, collecting the links it is handed (and checking
  // that they arrive on the main thread).
  std::unique_ptr<InstanceLock> runningInstance() {
    InstanceLock::Start first = InstanceLock::acquire(folder, "");
    EXPECT_EQ(first.outcome, Outcome::Acquired);
    EXPECT_TRUE(first.lock && first.lock->listen([this](const std::string& link) {
      EXPECT_TRUE(ns::RunLoop::isMainThread());
      received.push_back(link);
    }));
    return std::move(first.lock);
  }

  bool waitForLinks(std::size_t count) {
    return ns::RunLoop::main().runUntil([&] { return received.size() >= count; }, 10);
  }

  std::string folder;
  std::vector<std::string> received;
};

}  // namespace

TEST_F(InstanceLockTest, ALaterStartHandsItsLinkToTheRunningOneOrIsToldItRuns) {
  auto running = runningInstance();
  ASSERT_TRUE(running);

  InstanceLock::Start second = InstanceLock::acquire(folder, "zarvel://2:255");
  EXPECT_EQ(second.outcome, Outcome::HandedOver);
  EXPECT_FALSE(second.lock);
  ASSERT_TRUE(waitForLinks(1));
  EXPECT_EQ(received, (std::vector<std::string>{"zarvel://2:255"}));

  InstanceLock::Start plain = InstanceLock::acquire(folder, "");
  EXPECT_EQ(plain.outcome, Outcome::AlreadyRunning);
  EXPECT_EQ(plain.message, "Zarvel is already running with the data in " + folder + ".");

  // Released at the end: the next start is the running one, and a socket left
  // behind is no obstacle.
  running.reset();
  EXPECT_FALSE(ns::fileExists(ns::pathJoin(folder, "zarvel.sock")));
  ASSERT_TRUE(ns::writeFileAtomically(ns::pathJoin(folder, "zarvel.sock"), std::string_view("stale")));
  auto next = runningInstance();
  ASSERT_TRUE(next);
  EXPECT_EQ(InstanceLock::acquire(folder, "zarvel://18:1").outcome, Outcome::HandedOver);
  ASSERT_TRUE(waitForLinks(2));
  EXPECT_EQ(received.back(), "zarvel://18:1");
}

// A client of the socket, connected to the folder's running instance (a
// folder path too long for an address is reached through a descriptor).
int connectTo(const std::string& folder) {
  int dir = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  std::string path = "/proc/self/fd/" + std::to_string(dir) + "/zarvel.sock";
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  bool connected = dir >= 0 && fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  if (dir >= 0) ::close(dir);
  if (!connected) {
    if (fd >= 0) ::close(fd);
    return -1;
  }
  timeval timeout{10, 0};  // a safety net: the listener answers or closes well before
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  return fd;
}

TEST_F(InstanceLockTest, ALinkThatIsNotOneLineOrTooLongIsNeitherSentNorTaken) {
  auto running = runningInstance();
  struct Case {
    std::string link, says;
  };
  const Case cases[] = {
      {"zarvel://2:255\nzarvel://3:1", "it is not one line of text"},
      {"zarvel://2:255\r", "it is not one line of text"},
      {"zarvel://" + std::string(1992, '1'), "it is too long (2001 characters; at most 2000)"},
      {"zarvel://" + std::string(5000, '1'), "it is too long (5009 characters; at most 2000)"},
  };
  for (const auto& c : cases) {
    InstanceLock::Start start = InstanceLock::acquire(folder, c.link);
    EXPECT_EQ(start.outcome, Outcome::AlreadyRunning);
    EXPECT_NE(start.message.find("the link was not passed on: " + c.says + "."), std::string::npos) << start.message;
  }
  // A client that sends a line longer than a link may be, or nothing at all,
  // is dropped unanswered, and the listener goes on taking links.
  for (const std::string& raw : {"zarvel://" + std::string(1992, '1') + "\n",
                                 std::string(2 * InstanceLock::kMaxLinkBytes, 'x') + "\n", std::string()}) {
    int fd = connectTo(folder);
    ASSERT_GE(fd, 0);
    if (!raw.empty()) (void)!::write(fd, raw.data(), raw.size());
    ::shutdown(fd, SHUT_WR);
    char answer[8];
    EXPECT_LE(::read(fd, answer, sizeof answer), 0);  // no "ok"
    ::close(fd);
  }
  // The longest link in Arabic letters (two bytes each) still goes.
  std::string longest = "zarvel://";
  for (std::size_t i = longest.size(); i < InstanceLock::kMaxLinkLength; ++i) longest += "\u0628";
  EXPECT_EQ(InstanceLock::acquire(folder, longest).outcome, Outcome::HandedOver);
  EXPECT_EQ(InstanceLock::acquire(folder, "zarvel://36:1").outcome, Outcome::HandedOver);
  ASSERT_TRUE(waitForLinks(2));
  EXPECT_EQ(received, (std::vector<std::string>{longest, "zarvel://36:1"}));
}

TEST_F(InstanceLockTest, SlowAndIdleClientsDoNotKeepALaterStartsLinkOut) {
  auto running = runningInstance();
  // More idle connections than the listener serves at once, and one that
  // sends a byte now and then.
  std::vector<int> idle;
  for (int i = 0; i < 100; ++i) {
    int fd = connectTo(folder);
    ASSERT_GE(fd, 0);
    idle.push_back(fd);
  }
  int slow = connectTo(folder);
  ASSERT_GE(slow, 0);
  ASSERT_EQ(::write(slow, "z", 1), 1);
  EXPECT_EQ(InstanceLock::acquire(folder, "zarvel://2:255").outcome, Outcome::HandedOver);
  ASSERT_TRUE(waitForLinks(1));
  EXPECT_EQ(received, (std::vector<std::string>{"zarvel://2:255"}));
  // The slow one is closed at its deadline, unanswered.
  char answer[8];
  EXPECT_EQ(::read(slow, answer, sizeof answer), 0);
  ::close(slow);
  for (int fd : idle) ::close(fd);
}

TEST_F(InstanceLockTest, ARunningInstanceThatDoesNotListenIsNamedWithTheLinkItMissed) {
  InstanceLock::Start first = InstanceLock::acquire(folder, "");
  ASSERT_EQ(first.outcome, Outcome::Acquired);  // and never listens
  InstanceLock::Start second = InstanceLock::acquire(folder, "zarvel://2:255");
  EXPECT_EQ(second.outcome, Outcome::AlreadyRunning);
  EXPECT_EQ(second.message,
            "Zarvel is already running with the data in " + folder + ", and it did not take the link zarvel://2:255.");
}

TEST_F(InstanceLockTest, AFolderPathLongerThanASocketAddressStillWorks) {
  folder = ns::pathJoin(folder, std::string(120, 'd'));
  auto running = runningInstance();
  ASSERT_TRUE(running);
  EXPECT_EQ(InstanceLock::acquire(folder, "zarvel://2:255").outcome, Outcome::HandedOver);
  ASSERT_TRUE(waitForLinks(1));
}

TEST_F(InstanceLockTest, AFolderThatCannotBeMadeGivesNoLockAndTheReason) {
  ASSERT_TRUE(ns::createDirectory(ns::deletingLastPathComponent(folder)));
  ASSERT_TRUE(ns::writeFileAtomically(folder, std::string_view("a file where the folder should be")));
  InstanceLock::Start start = InstanceLock::acquire(folder, "");
  EXPECT_EQ(start.outcome, Outcome::NoLock);
  EXPECT_FALSE(start.lock);
  EXPECT_NE(start.message.find(folder), std::string::npos);
}
