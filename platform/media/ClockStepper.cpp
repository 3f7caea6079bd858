#include "platform/media/ClockStepper.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"

namespace av {

struct ClockStepper::State {
  std::mutex mutex;
  std::condition_variable changed;
  bool released = false;  // the main thread let the worker go
  bool stepping = true;   // the worker runs a step the main thread waits for
  bool finished = false;

  // The main thread waits for the step under way (a stuck worker for 5 s at most).
  void waitForStep(std::unique_lock<std::mutex>& lock) {
    changed.wait_for(lock, std::chrono::seconds(5), [&] { return !stepping || finished; });
  }
};

void ClockStepper::launch(const std::string& name, std::function<void(ClockStepper&)> fn) {
  auto state = std::make_shared<State>();
  ns::Thread::detachNewThread(name, [state, fn = std::move(fn)] {
    ClockStepper stepper(state);
    fn(stepper);
    std::lock_guard<std::mutex> lock(state->mutex);
    state->finished = true;
    state->changed.notify_all();
  });
  if (ns::isMainThread() && ns::Clock::current().isVirtual()) {
    std::unique_lock<std::mutex> lock(state->mutex);
    state->waitForStep(lock);
  }
}

void ClockStepper::sleep(double seconds) {
  if (!ns::Clock::current().isVirtual()) {
    {
      std::lock_guard<std::mutex> lock(state_->mutex);
      state_->stepping = false;
      state_->changed.notify_all();
    }
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    return;
  }
  std::shared_ptr<State> state = state_;
  ns::RunLoop::main().scheduleTimer(std::max(0.0, seconds), false, [state] {
    std::unique_lock<std::mutex> lock(state->mutex);
    if (state->finished) return;
    state->released = true;
    state->stepping = true;
    state->changed.notify_all();
    state->waitForStep(lock);
  });
  std::unique_lock<std::mutex> lock(state_->mutex);
  // The wake-up is scheduled: the step before this sleep is over.
  state_->stepping = false;
  state_->changed.notify_all();
  // A test that swaps the clock back to the real one lets the worker go too.
  while (!state_->changed.wait_for(lock, std::chrono::milliseconds(200), [&] { return state_->released; }))
    if (!ns::Clock::current().isVirtual()) break;
  state_->released = false;
}

}  // namespace av
