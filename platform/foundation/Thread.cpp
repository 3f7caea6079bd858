#include "platform/foundation/Thread.h"

#include <pthread.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/foundation/RunLoop.h"

namespace ns {

namespace {

thread_local std::string tCurrentName;

struct DetachedCount {
  std::mutex mutex;
  std::condition_variable changed;
  int running = 0;
};

DetachedCount& detached() {
  // Never destroyed: detached threads may end after static destruction began.
  static DetachedCount* d = new DetachedCount;
  return *d;
}

std::function<void()> named(const std::string& name, std::function<void()> fn) {
  return [name, fn = std::move(fn)] {
    Thread::setCurrentThreadName(name);
    fn();
  };
}

}  // namespace

void Thread::detachNewThread(const std::string& name, std::function<void()> fn) {
  {
    std::lock_guard<std::mutex> lock(detached().mutex);
    ++detached().running;
  }
  std::thread([body = named(name, std::move(fn))]() mutable {
    body();
    // What the work holds goes before the thread counts as ended, so that
    // a wait for detached threads also waits for those destructors.
    body = nullptr;
    std::lock_guard<std::mutex> lock(detached().mutex);
    --detached().running;
    detached().changed.notify_all();
  }).detach();
}

int Thread::runningDetachedThreads() {
  std::lock_guard<std::mutex> lock(detached().mutex);
  return detached().running;
}

bool Thread::waitForDetachedThreads(double timeoutSeconds) {
  std::unique_lock<std::mutex> lock(detached().mutex);
  return detached().changed.wait_for(lock, std::chrono::duration<double>(timeoutSeconds),
                                     [] { return detached().running == 0; });
}

Thread::Thread(const std::string& name, std::function<void()> fn)
    : thread_(named(name, std::move(fn))) {}

Thread::~Thread() { release(); }

Thread& Thread::operator=(Thread&& other) noexcept {
  if (this != &other) {
    release();
    thread_ = std::move(other.thread_);
  }
  return *this;
}

void Thread::release() {
  if (!thread_.joinable()) return;
  // A thread cannot join itself: dropped from its own body, it is let go to
  // finish on its own (a joinable std::thread destroyed would end the process).
  if (thread_.get_id() == std::this_thread::get_id()) {
    thread_.detach();
  } else {
    thread_.join();
  }
}

void Thread::join() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void Thread::setCurrentThreadName(const std::string& name) {
  tCurrentName = name;
  // The kernel keeps at most 15 characters.
  pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
}

std::string Thread::currentThreadName() { return tCurrentName; }

bool Thread::isMainThread() { return RunLoop::isMainThread(); }

}  // namespace ns
