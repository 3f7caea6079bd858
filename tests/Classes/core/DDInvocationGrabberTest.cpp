#include "Classes/core/DDInvocationGrabber.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"

namespace {

struct Made {
  std::thread::id madeOn = std::this_thread::get_id();
};

struct Target {
  int calls = 0;
  std::shared_ptr<Made> make() {
    ++calls;
    return std::make_shared<Made>();
  }
};

class GrabberTest : public ::testing::Test {
 protected:
  void SetUp() override { clock_ = ns::VirtualClock::install(); }
  void TearDown() override { ns::RunLoop::resetForTesting(); }
  std::shared_ptr<ns::VirtualClock> clock_;
};

TEST_F(GrabberTest, WaitingCallFromAWorkerReturnsWhatTheMainThreadMade) {
  auto target = std::make_shared<Target>();
  std::shared_ptr<Made> made;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    made = dd_invokeOnMainThreadAndWaitUntilDone(target, true).call([](Target& t) { return t.make(); });
    done = true;
  });
  EXPECT_TRUE(ns::RunLoop::main().runUntil([&] { return done.load(); }));
  worker.join();
  ASSERT_TRUE(made);
  EXPECT_EQ(made->madeOn, std::this_thread::get_id());
  EXPECT_EQ(target->calls, 1);
}

TEST_F(GrabberTest, WaitingCallOnTheMainThreadRunsAtOnce) {
  auto target = std::make_shared<Target>();
  auto grabber = dd_invokeOnMainThreadAndWaitUntilDone(target, true);
  EXPECT_TRUE(grabber.forwardInvokesOnMainThread());
  EXPECT_TRUE(grabber.waitUntilDone());
  EXPECT_EQ(grabber.target(), target);
  const auto made = grabber.call([](Target& t) { return t.make(); });
  ASSERT_TRUE(made);
  EXPECT_EQ(target->calls, 1);
  EXPECT_EQ(ns::RunLoop::main().pendingCount(), 0u);
}

TEST_F(GrabberTest, CallWithoutWaitingIsQueuedAndKeepsItsTargetAlive) {
  auto target = std::make_shared<Target>();
  std::weak_ptr<Target> watch = target;
  int seen = -1;
  {
    auto result = dd_invokeOnMainThread(target).call([&seen](Target& t) {
      t.make();
      seen = t.calls;
      return 42;
    });
    EXPECT_EQ(result, 0);  // not waited for: a default value
  }
  target.reset();
  EXPECT_EQ(seen, -1);  // queued even on the main thread
  EXPECT_FALSE(watch.expired());
  ns::RunLoop::main().runUntilIdle();
  EXPECT_EQ(seen, 1);
  EXPECT_TRUE(watch.expired());  // the job let go of it once run
}

TEST_F(GrabberTest, PlainGrabberOnlyRecordsTheCall) {
  auto target = std::make_shared<Target>();
  auto grabber = DDInvocationGrabber<Target>::invocationGrabber();
  EXPECT_FALSE(grabber.forwardInvokesOnMainThread());
  EXPECT_FALSE(grabber.waitUntilDone());
  EXPECT_FALSE(grabber.target());
  grabber.prepareWithInvocationTarget(target).call([](Target& t) { t.make(); });
  EXPECT_EQ(target->calls, 0);
  ns::RunLoop::main().runUntilIdle();
  EXPECT_EQ(target->calls, 0);
  ASSERT_TRUE(grabber.invocation());
  grabber.invocation()();
  EXPECT_EQ(target->calls, 1);
}

TEST_F(GrabberTest, CallWithoutTargetRunsNothing) {
  std::shared_ptr<Target> none;
  EXPECT_FALSE(dd_invokeOnMainThreadAndWaitUntilDone(none, true).call([](Target& t) { return t.make(); }));
  dd_invokeOnMainThread(none).call([](Target& t) { t.make(); });
  EXPECT_EQ(ns::RunLoop::main().pendingCount(), 0u);
}

}  // namespace
