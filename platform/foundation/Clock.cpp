#include "platform/foundation/Clock.h"

#include <chrono>
#include <mutex>
#include <vector>

#include "platform/foundation/RunLoop.h"

namespace ns {

namespace {

std::mutex& clockMutex() {
  static std::mutex m;
  return m;
}

std::shared_ptr<Clock>& clockSlot() {
  static std::shared_ptr<Clock> clock = std::make_shared<RealClock>();
  return clock;
}

}  // namespace

double RealClock::now() const {
  using namespace std::chrono;
  return duration<double>(system_clock::now().time_since_epoch()).count();
}

std::shared_ptr<Clock> Clock::currentShared() {
  std::lock_guard<std::mutex> lock(clockMutex());
  return clockSlot();
}

Clock& Clock::current() {
  std::lock_guard<std::mutex> lock(clockMutex());
  return *clockSlot();
}

void Clock::setCurrent(std::shared_ptr<Clock> clock) {
  // A replaced clock is kept, so a reference from current() stays valid on
  // any thread that still holds one; tests replace clocks only a few times.
  static std::vector<std::shared_ptr<Clock>> retired;
  std::lock_guard<std::mutex> lock(clockMutex());
  retired.push_back(clockSlot());
  clockSlot() = clock ? std::move(clock) : std::make_shared<RealClock>();
}

void VirtualClock::advance(double seconds) {
  RunLoop::main().advanceVirtualClock(*this, now() + seconds);
}

std::shared_ptr<VirtualClock> VirtualClock::install(double start) {
  auto clock = std::make_shared<VirtualClock>(start);
  RunLoop::resetForTesting(clock);
  return clock;
}

}  // namespace ns
