#pragma once
// Worker threads whose sleeps are timed by the process clock. On the real
// clock a sleep is a plain sleep. On a virtual clock the wake-up is a timer of
// the main run loop: when the clock reaches it, the worker goes on and the
// main thread waits until the worker has done its step (it sleeps again or
// ends), so each step happens at its own instant of virtual time, as a
// main-loop timer's would; a worker launched from the main thread runs its
// first step before launch returns. A stepping worker must not wait for the
// main thread.
#include <functional>
#include <memory>
#include <string>

namespace av {

class ClockStepper {
 public:
  // Starts a detached, named thread running fn with its stepper.
  static void launch(const std::string& name, std::function<void(ClockStepper&)> fn);

  // Sleeps the calling (worker) thread for the seconds of clock time.
  void sleep(double seconds);

  struct State;
  explicit ClockStepper(std::shared_ptr<State> state) : state_(std::move(state)) {}

 private:
  std::shared_ptr<State> state_;
};

}  // namespace av
