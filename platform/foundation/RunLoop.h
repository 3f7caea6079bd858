#pragma once
// The main thread's run loop: posted closures (FIFO, from any thread), delayed
// calls keyed by owner and name, and timers, all timed by ns::Clock.
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>

#include "platform/foundation/Clock.h"
#include "platform/foundation/Date.h"

namespace ns {

class RunLoop;

// Handle of a scheduled timer. The run loop keeps the timer alive until it is
// invalidated or, for a one-shot timer, has fired; dropping the handle does not
// stop it. Copies refer to the same timer.
class Timer {
 public:
  Timer() = default;
  void invalidate();
  bool isValid() const;
  double timeInterval() const;
  bool repeats() const;
  // When it fires next.
  Date fireDate() const;

  struct State;
  explicit Timer(std::shared_ptr<State> state) : state_(std::move(state)) {}
  friend bool operator==(const Timer& a, const Timer& b) { return a.state_ == b.state_; }

 private:
  std::shared_ptr<State> state_;
};

class RunLoop {
 public:
  // The main thread's loop. The first thread to call main() (or setMainThread())
  // is the main thread.
  static RunLoop& main();
  static void setMainThread();
  static bool isMainThread();
  // Drops every pending item, makes the calling thread the main thread and
  // times the loop with the clock (and makes it the process clock; nullptr: the real clock).
  static void resetForTesting(std::shared_ptr<Clock> clock = nullptr);

  // Runs fn on this loop, after what was posted before it. Any thread.
  void post(std::function<void()> fn);

  // Called (on the posting thread) after every post and every new timer, so a
  // loop that waits elsewhere (a window's event queue) wakes up for them.
  // nullptr removes it.
  void setWakeHook(std::function<void()> hook);

  // Runs fn after the delay unless cancelled. Owner and name only key cancelling.
  void performAfter(const void* owner, const std::string& name, double delaySeconds,
                    std::function<void()> fn);
  void cancelPreviousPerformRequests(const void* owner);
  void cancelPreviousPerformRequests(const void* owner, const std::string& name);

  // Fires after the interval, and every interval after that when repeating.
  // A repeating timer may invalidate itself from its callback.
  Timer scheduleTimer(double intervalSeconds, bool repeats, std::function<void()> fn);
  Timer scheduleTimer(double intervalSeconds, bool repeats, std::function<void(Timer&)> fn);

  // Runs fn on the main thread and returns its result: inline when called on the
  // main thread, else posted, blocking the caller until it has run.
  template <class F>
  auto performOnMainAndWait(F&& fn) -> std::invoke_result_t<F&>;

  // Runs what was posted so far and every timer due now; true when anything ran.
  bool runOnce();
  // Repeats runOnce until nothing more is due now.
  void runUntilIdle();
  // Runs until stop(): sleeps until the next timer or post. On a virtual clock
  // only posts wake it (time moves through VirtualClock::advance).
  void run();
  void stop();
  // Runs for the seconds of clock time (on a virtual clock: advances it).
  void runFor(double seconds);
  // Runs until done() answers true, waiting for posts from other threads; false
  // when the real-time timeout passes first. For tests with worker threads.
  bool runUntil(const std::function<bool()>& done, double timeoutSeconds = 10.0);

  // A turn of the main loop: one pass of posts and due timers, or a
  // backend's launch, events and frame. Work put off to the end of the turn
  // runs once as the outermost turn ends, in the order it was asked for (a
  // settings file written once for all the changes of the turn). Main
  // thread only.
  class Turn {
   public:
    Turn();
    ~Turn();
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;
  };
  bool isInTurn() const;
  // Runs fn as the current turn of the main loop ends; at once outside a turn.
  void atEndOfTurn(std::function<void()> fn);

  // Clock time of the next timer or delayed call; infinity when none.
  double nextFireTime() const;
  // Posted closures plus timers and delayed calls pending.
  std::size_t pendingCount() const;

  // Fires, in due order, everything due up to the time, moving the virtual clock
  // to each item's due time. Used by VirtualClock::advance.
  void advanceVirtualClock(VirtualClock& clock, double until);

  RunLoop();
  ~RunLoop();
  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  struct Impl;

 private:
  Timer addTimer(double delay, bool repeats, const void* owner, const std::string& name,
                 std::function<void(Timer&)> fn);
  bool fireOneDueTimer(double now, std::uint64_t scheduledBefore);
  std::uint64_t sequenceNow() const;
  bool runPosted();
  double clockNow() const;
  void wake();

  std::unique_ptr<Impl> impl_;
};

template <class F>
auto RunLoop::performOnMainAndWait(F&& fn) -> std::invoke_result_t<F&> {
  using R = std::invoke_result_t<F&>;
  if (isMainThread()) return fn();
  auto task = std::make_shared<std::packaged_task<R()>>([&fn]() -> R { return fn(); });
  std::future<R> result = task->get_future();
  post([task] { (*task)(); });
  return result.get();
}

// Shorthand for RunLoop::main().performOnMainAndWait(fn).
template <class F>
auto performOnMainAndWait(F&& fn) -> std::invoke_result_t<F&> {
  return RunLoop::main().performOnMainAndWait(std::forward<F>(fn));
}

inline bool isMainThread() { return RunLoop::isMainThread(); }

}  // namespace ns
