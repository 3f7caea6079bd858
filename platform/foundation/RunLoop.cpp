#include "platform/foundation/RunLoop.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace ns {

namespace {

constexpr double kMinimumRepeatInterval = 0.0001;
constexpr double kNever = std::numeric_limits<double>::infinity();

std::atomic<std::thread::id>& mainThreadId() {
  static std::atomic<std::thread::id> id{};
  return id;
}

}  // namespace

struct Timer::State {
  double interval = 0;
  bool repeats = false;
  const void* owner = nullptr;
  std::string name;
  std::function<void(Timer&)> fn;
  std::atomic<bool> valid{true};
  std::atomic<double> due{0};
  std::uint64_t sequence = 0;
};

void Timer::invalidate() {
  // The run loop drops invalid timers when it next looks at them.
  if (state_) state_->valid = false;
}

bool Timer::isValid() const { return state_ && state_->valid; }
double Timer::timeInterval() const { return state_ ? state_->interval : 0; }
bool Timer::repeats() const { return state_ && state_->repeats; }
Date Timer::fireDate() const { return Date(state_ ? state_->due.load() : 0); }

struct RunLoop::Impl {
  using Key = std::pair<double, std::uint64_t>;  // due time, then scheduling order

  mutable std::mutex mutex;
  std::condition_variable wake;
  std::deque<std::function<void()>> posts;
  std::map<Key, std::shared_ptr<Timer::State>> timers;
  std::uint64_t nextSequence = 0;
  bool stopped = false;
  std::shared_ptr<const std::function<void()>> wakeHook;
  // Main thread only.
  int turnDepth = 0;
  std::vector<std::function<void()>> endOfTurn;

  // Drops invalidated timers from the front; the due time of the first valid one.
  double nextDueLocked() {
    while (!timers.empty() && !timers.begin()->second->valid) timers.erase(timers.begin());
    return timers.empty() ? kNever : timers.begin()->first.first;
  }

  void insertLocked(const std::shared_ptr<Timer::State>& state, double due) {
    state->due = due;
    state->sequence = nextSequence++;
    timers.emplace(Key{due, state->sequence}, state);
  }
};

RunLoop::RunLoop() : impl_(std::make_unique<Impl>()) {}
RunLoop::~RunLoop() = default;

RunLoop& RunLoop::main() {
  // Never destroyed: detached workers may still post while the process exits.
  static RunLoop* loop = new RunLoop;
  std::thread::id none{};
  mainThreadId().compare_exchange_strong(none, std::this_thread::get_id());
  return *loop;
}

void RunLoop::setMainThread() {
  mainThreadId() = std::this_thread::get_id();
  main();
}

bool RunLoop::isMainThread() { return mainThreadId().load() == std::this_thread::get_id(); }

void RunLoop::resetForTesting(std::shared_ptr<Clock> clock) {
  setMainThread();
  Clock::setCurrent(std::move(clock));
  RunLoop& loop = main();
  std::lock_guard<std::mutex> lock(loop.impl_->mutex);
  for (auto& [key, state] : loop.impl_->timers) state->valid = false;
  loop.impl_->timers.clear();
  loop.impl_->posts.clear();
  loop.impl_->stopped = false;
  loop.impl_->wakeHook = nullptr;
}

double RunLoop::clockNow() const { return Clock::currentShared()->now(); }

void RunLoop::post(std::function<void()> fn) {
  {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->posts.push_back(std::move(fn));
  }
  wake();
}

void RunLoop::setWakeHook(std::function<void()> hook) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  impl_->wakeHook = hook ? std::make_shared<const std::function<void()>>(std::move(hook)) : nullptr;
}

void RunLoop::wake() {
  impl_->wake.notify_all();
  std::shared_ptr<const std::function<void()>> hook;
  {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    hook = impl_->wakeHook;
  }
  // Outside the lock: the hook may post to another queue.
  if (hook) (*hook)();
}

Timer RunLoop::addTimer(double delay, bool repeats, const void* owner, const std::string& name,
                        std::function<void(Timer&)> fn) {
  auto state = std::make_shared<Timer::State>();
  if (!(delay > 0)) delay = 0;  // also catches NaN
  state->interval = repeats ? std::max(delay, kMinimumRepeatInterval) : delay;
  state->repeats = repeats;
  state->owner = owner;
  state->name = name;
  state->fn = std::move(fn);
  {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->insertLocked(state, clockNow() + state->interval);
  }
  wake();
  return Timer(state);
}

void RunLoop::performAfter(const void* owner, const std::string& name, double delaySeconds,
                           std::function<void()> fn) {
  addTimer(delaySeconds, false, owner, name, [fn = std::move(fn)](Timer&) { fn(); });
}

void RunLoop::cancelPreviousPerformRequests(const void* owner) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  std::erase_if(impl_->timers, [&](const auto& item) {
    const auto& state = item.second;
    bool match = state->owner == owner && owner != nullptr;
    if (match) state->valid = false;
    return match;
  });
}

void RunLoop::cancelPreviousPerformRequests(const void* owner, const std::string& name) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  std::erase_if(impl_->timers, [&](const auto& item) {
    const auto& state = item.second;
    bool match = state->owner == owner && owner != nullptr && state->name == name;
    if (match) state->valid = false;
    return match;
  });
}

Timer RunLoop::scheduleTimer(double intervalSeconds, bool repeats, std::function<void()> fn) {
  return addTimer(intervalSeconds, repeats, nullptr, {}, [fn = std::move(fn)](Timer&) { fn(); });
}

Timer RunLoop::scheduleTimer(double intervalSeconds, bool repeats, std::function<void(Timer&)> fn) {
  return addTimer(intervalSeconds, repeats, nullptr, {}, std::move(fn));
}

bool RunLoop::fireOneDueTimer(double now, std::uint64_t scheduledBefore) {
  std::shared_ptr<Timer::State> state;
  {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    if (impl_->nextDueLocked() > now) return false;
    // A timer scheduled during this pass waits for the next one, even when
    // already due (a zero delay), so posts are not starved.
    if (impl_->timers.begin()->second->sequence >= scheduledBefore) return false;
    state = impl_->timers.begin()->second;
    impl_->timers.erase(impl_->timers.begin());
  }
  Timer timer(state);
  state->fn(timer);
  if (!state->repeats) {
    state->valid = false;
  } else if (state->valid) {
    // Missed firings are skipped, not made up in a burst.
    double next = state->due + state->interval;
    if (next <= now) next = now + state->interval;
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->insertLocked(state, next);
  }
  return true;
}

bool RunLoop::runPosted() {
  std::deque<std::function<void()>> batch;
  {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    batch.swap(impl_->posts);
  }
  for (auto& fn : batch) fn();
  return !batch.empty();
}

RunLoop::Turn::Turn() { ++main().impl_->turnDepth; }

RunLoop::Turn::~Turn() {
  Impl& impl = *main().impl_;
  if (--impl.turnDepth > 0) return;
  while (!impl.endOfTurn.empty()) {
    auto work = std::move(impl.endOfTurn);
    impl.endOfTurn.clear();
    for (auto& fn : work) fn();
  }
}

bool RunLoop::isInTurn() const { return impl_->turnDepth > 0; }

void RunLoop::atEndOfTurn(std::function<void()> fn) {
  if (impl_->turnDepth > 0) impl_->endOfTurn.push_back(std::move(fn));
  else fn();
}

bool RunLoop::runOnce() {
  std::optional<Turn> turn;
  if (this == &main() && isMainThread()) turn.emplace();
  bool ran = runPosted();
  double now = clockNow();
  std::uint64_t passEnd = sequenceNow();
  while (fireOneDueTimer(now, passEnd)) ran = true;
  return ran;
}

std::uint64_t RunLoop::sequenceNow() const {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  return impl_->nextSequence;
}

void RunLoop::runUntilIdle() {
  while (runOnce()) {
  }
}

void RunLoop::run() {
  {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->stopped = false;
  }
  for (;;) {
    runOnce();
    std::unique_lock<std::mutex> lock(impl_->mutex);
    if (impl_->stopped) break;
    if (!impl_->posts.empty()) continue;
    auto woken = [&] { return impl_->stopped || !impl_->posts.empty(); };
    double next = impl_->nextDueLocked();
    if (Clock::currentShared()->isVirtual() || next == kNever) {
      impl_->wake.wait(lock, woken);
    } else {
      double wait = std::clamp(next - clockNow(), 0.0, 3600.0);
      impl_->wake.wait_for(lock, std::chrono::duration<double>(wait), woken);
    }
  }
  std::lock_guard<std::mutex> lock(impl_->mutex);
  impl_->stopped = false;
}

void RunLoop::stop() {
  {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->stopped = true;
  }
  impl_->wake.notify_all();
}

void RunLoop::runFor(double seconds) {
  auto clock = Clock::currentShared();
  if (clock->isVirtual()) {
    static_cast<VirtualClock&>(*clock).advance(seconds);
    return;
  }
  double deadline = clockNow() + seconds;
  for (;;) {
    runOnce();
    double now = clockNow();
    if (now >= deadline) break;
    std::unique_lock<std::mutex> lock(impl_->mutex);
    if (!impl_->posts.empty()) continue;
    double wait = std::min(impl_->nextDueLocked(), deadline) - now;
    impl_->wake.wait_for(lock, std::chrono::duration<double>(std::max(wait, 0.0)),
                         [&] { return !impl_->posts.empty(); });
  }
}

bool RunLoop::runUntil(const std::function<bool()>& done, double timeoutSeconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
  for (;;) {
    runOnce();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::unique_lock<std::mutex> lock(impl_->mutex);
    // Short waits: done() may turn true without a post (a worker setting a flag).
    impl_->wake.wait_for(lock, std::chrono::milliseconds(5), [&] { return !impl_->posts.empty(); });
  }
}

double RunLoop::nextFireTime() const {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  return impl_->nextDueLocked();
}

std::size_t RunLoop::pendingCount() const {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  std::size_t n = impl_->posts.size();
  for (const auto& [key, state] : impl_->timers) n += state->valid ? 1 : 0;
  return n;
}

void RunLoop::advanceVirtualClock(VirtualClock& clock, double until) {
  std::optional<Turn> turn;
  if (this == &main() && isMainThread()) turn.emplace();
  for (;;) {
    runPosted();
    double next = nextFireTime();
    if (next > until) break;
    clock.setNow(std::max(clock.now(), next));
    fireOneDueTimer(clock.now(), sequenceNow());
  }
  clock.setNow(std::max(clock.now(), until));
  runUntilIdle();
}

}  // namespace ns
