#include "platform/foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <string>
#include <vector>

#include "platform/foundation/Thread.h"

using ns::RunLoop;
using ns::Timer;

namespace {

class RunLoopTest : public ::testing::Test {
 protected:
  void SetUp() override { clock = ns::VirtualClock::install(); }
  void TearDown() override { RunLoop::resetForTesting(); }

  std::shared_ptr<ns::VirtualClock> clock;
  RunLoop& loop = RunLoop::main();
  std::vector<std::string> fired;
};

}  // namespace

TEST_F(RunLoopTest, DelayedCallsFireInDueOrderAtTheirOwnTimes) {
  double start = clock->now();
  std::vector<double> at;
  auto record = [&](std::string name) {
    return [&, name] {
      fired.push_back(name);
      at.push_back(clock->now() - start);
    };
  };
  loop.performAfter(this, "late", 0.4, record("0.4"));
  loop.performAfter(this, "early", 0.05, record("0.05"));
  loop.performAfter(this, "middle", 0.1, record("0.1"));
  clock->advance(0.07);
  EXPECT_EQ(fired, (std::vector<std::string>{"0.05"}));
  clock->advance(1.0);
  EXPECT_EQ(fired, (std::vector<std::string>{"0.05", "0.1", "0.4"}));
  ASSERT_EQ(at.size(), 3u);
  // Seconds since 1970 as doubles resolve to about 0.2 microseconds.
  EXPECT_NEAR(at[0], 0.05, 1e-6);
  EXPECT_NEAR(at[1], 0.1, 1e-6);
  EXPECT_NEAR(at[2], 0.4, 1e-6);
  EXPECT_NEAR(clock->now() - start, 1.07, 1e-6);
}

TEST_F(RunLoopTest, EqualDueTimesFireInSchedulingOrder) {
  for (const char* name : {"a", "b", "c", "d"}) {
    loop.scheduleTimer(0.3, false, [&, name] { fired.push_back(name); });
  }
  loop.post([&] { fired.push_back("posted"); });
  clock->advance(0.3);
  EXPECT_EQ(fired, (std::vector<std::string>{"posted", "a", "b", "c", "d"}));
}

TEST_F(RunLoopTest, CancelPreviousPerformRequestsByOwnerAndByName) {
  int owner1 = 0, owner2 = 0;
  loop.performAfter(&owner1, "hide", 0.1, [&] { fired.push_back("1 hide"); });
  loop.performAfter(&owner1, "show", 0.1, [&] { fired.push_back("1 show"); });
  loop.performAfter(&owner2, "hide", 0.1, [&] { fired.push_back("2 hide"); });
  loop.performAfter(&owner2, "show", 0.1, [&] { fired.push_back("2 show"); });
  loop.cancelPreviousPerformRequests(&owner1, "hide");
  loop.cancelPreviousPerformRequests(&owner2);
  clock->advance(0.2);
  EXPECT_EQ(fired, (std::vector<std::string>{"1 show"}));
  EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST_F(RunLoopTest, ADelayedCallCanRescheduleItselfAsADebounce) {
  int runs = 0;
  std::function<void()> tick = [&] {
    if (++runs < 3) loop.performAfter(this, "tick", 0.5, tick);
  };
  loop.performAfter(this, "tick", 0.5, tick);
  clock->advance(1.4);
  EXPECT_EQ(runs, 2);
  clock->advance(0.1);
  EXPECT_EQ(runs, 3);
}

TEST_F(RunLoopTest, AZeroDelayCallScheduledWhileRunningWaitsForTheNextPass) {
  int runs = 0;
  std::function<void()> again = [&] {
    ++runs;
    loop.performAfter(this, "again", 0, again);
  };
  loop.performAfter(this, "again", 0, again);
  EXPECT_TRUE(loop.runOnce());
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(loop.runOnce());
  EXPECT_EQ(runs, 2);
  loop.cancelPreviousPerformRequests(this);
  EXPECT_FALSE(loop.runOnce());
}

TEST_F(RunLoopTest, ARepeatingTimerFiresEveryIntervalUntilItInvalidatesItself) {
  int count = 0;
  Timer timer = loop.scheduleTimer(30.0, true, [&](Timer& t) {
    if (++count == 4) t.invalidate();
  });
  EXPECT_TRUE(timer.isValid());
  clock->advance(89.0);
  EXPECT_EQ(count, 2);
  clock->advance(1000.0);
  EXPECT_EQ(count, 4);
  EXPECT_FALSE(timer.isValid());
  EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST_F(RunLoopTest, InvalidatingFromOutsideStopsATimerAndOneShotsEndInvalid) {
  int repeats = 0, once = 0;
  Timer repeating = loop.scheduleTimer(1.0, true, [&] { ++repeats; });
  Timer oneShot = loop.scheduleTimer(0.5, false, [&] { ++once; });
  clock->advance(2.0);
  repeating.invalidate();
  clock->advance(5.0);
  EXPECT_EQ(repeats, 2);
  EXPECT_EQ(once, 1);
  EXPECT_FALSE(oneShot.isValid());
}

TEST_F(RunLoopTest, PostsFromAWorkerArriveInOrderOnTheMainThread) {
  std::vector<int> received;
  std::atomic<bool> allOnMain{true};
  ns::Thread worker("poster", [&] {
    for (int i = 0; i < 200; ++i) {
      RunLoop::main().post([&, i] {
        if (!RunLoop::isMainThread()) allOnMain = false;
        received.push_back(i);
      });
    }
  });
  ASSERT_TRUE(loop.runUntil([&] { return received.size() == 200; }));
  worker.join();
  for (int i = 0; i < 200; ++i) ASSERT_EQ(received[static_cast<std::size_t>(i)], i);
  EXPECT_TRUE(allOnMain);
}

TEST_F(RunLoopTest, PerformOnMainAndWaitReturnsWhatTheMainThreadMade) {
  EXPECT_TRUE(RunLoop::isMainThread());
  EXPECT_EQ(ns::performOnMainAndWait([] { return std::string("inline"); }), "inline");

  std::thread::id madeOn;
  std::shared_ptr<std::string> result;
  std::atomic<bool> done{false};
  ns::Thread worker("waiter", [&] {
    EXPECT_FALSE(RunLoop::isMainThread());
    result = ns::performOnMainAndWait([&] {
      madeOn = std::this_thread::get_id();
      return std::make_shared<std::string>("font");
    });
    done = true;
  });
  ASSERT_TRUE(loop.runUntil([&] { return done.load(); }));
  worker.join();
  ASSERT_TRUE(result);
  EXPECT_EQ(*result, "font");
  EXPECT_EQ(madeOn, std::this_thread::get_id());
}

TEST_F(RunLoopTest, TheWakeHookHearsPostsFromWorkersAndNewTimers) {
  std::atomic<int> wakes{0};
  loop.setWakeHook([&] { ++wakes; });
  std::thread worker([&] { loop.post([] {}); });
  worker.join();
  EXPECT_EQ(wakes.load(), 1);
  loop.performAfter(this, "later", 5, [] {});
  EXPECT_EQ(wakes.load(), 2);
  loop.setWakeHook(nullptr);
  loop.post([] {});
  EXPECT_EQ(wakes.load(), 2);
  loop.runUntilIdle();
}

TEST_F(RunLoopTest, RunSleepsUntilAPostAndStopEndsIt) {
  ns::Thread::detachNewThread("stopper", [] {
    RunLoop::main().post([] { RunLoop::main().stop(); });
  });
  loop.run();  // returns only once the worker's post has run
  EXPECT_TRUE(ns::Thread::waitForDetachedThreads());
}

TEST(RunLoopRealClock, RunForFiresTimersAsRealTimePasses) {
  RunLoop::resetForTesting();
  int count = 0;
  RunLoop::main().scheduleTimer(0.01, false, [&] { ++count; });
  RunLoop::main().runFor(0.05);
  EXPECT_EQ(count, 1);
}

TEST(Thread, NamesItsThreadsAndJoinsOnDestruction) {
  std::string seen;
  {
    ns::Thread t("search worker", [&] { seen = ns::Thread::currentThreadName(); });
  }
  EXPECT_EQ(seen, "search worker");
}

TEST(Thread, AThreadDroppedFromItsOwnBodyFinishesOnItsOwn) {
  std::unique_ptr<ns::Thread> holder;
  std::atomic<bool> held{false}, dropped{false};
  holder = std::make_unique<ns::Thread>("self-owned", [&] {
    while (!held) std::this_thread::yield();
    holder.reset();  // the last owner goes away on the thread itself
    dropped = true;
  });
  held = true;
  while (!dropped) std::this_thread::yield();
  EXPECT_FALSE(holder);
}
