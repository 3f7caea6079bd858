// One running instance per data folder: the lock, the answer to a later start
// with and without a link, and what the listener refuses.
#include "platform/services/InstanceLock.h"

#include <gtest/gtest.h>
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

TEST_F(InstanceLockTest, ALinkThatIsNotOneLineIsNeitherSentNorTaken) {
  auto running = runningInstance();
  for (const std::string& link :
       {std::string("zarvel://2:255\nzarvel://3:1"), std::string("zarvel://2:255\r"),
        "zarvel://" + std::string(InstanceLock::kMaxLinkBytes, '1')}) {
    InstanceLock::Start start = InstanceLock::acquire(folder, link);
    EXPECT_EQ(start.outcome, Outcome::AlreadyRunning);
    EXPECT_NE(start.message.find("the link was not passed on: it is not one line of text"), std::string::npos);
  }
  // A client that sends an overlong line or nothing at all is dropped, and the
  // listener goes on taking links.
  for (const std::string& raw : {std::string(2 * InstanceLock::kMaxLinkBytes, 'x') + "\n", std::string()}) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string path = ns::pathJoin(folder, "zarvel.sock");
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    if (!raw.empty()) (void)!::write(fd, raw.data(), raw.size());
    ::shutdown(fd, SHUT_WR);
    char answer[8];
    EXPECT_LE(::read(fd, answer, sizeof answer), 0);  // no "ok"
    ::close(fd);
  }
  EXPECT_EQ(InstanceLock::acquire(folder, "zarvel://36:1").outcome, Outcome::HandedOver);
  ASSERT_TRUE(waitForLinks(1));
  EXPECT_EQ(received, (std::vector<std::string>{"zarvel://36:1"}));
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
