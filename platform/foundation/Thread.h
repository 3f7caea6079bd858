#pragma once
// Worker threads with names.
#include <functional>
#include <string>
#include <thread>

namespace ns {

class Thread {
 public:
  // Starts a detached, named thread running fn.
  static void detachNewThread(const std::string& name, std::function<void()> fn);
  // Detached threads still running (tests wait for this to reach 0).
  static int runningDetachedThreads();
  // Waits (real time) until every detached thread has ended; false on timeout.
  static bool waitForDetachedThreads(double timeoutSeconds = 10.0);

  Thread() = default;
  // Starts a joinable, named thread running fn.
  Thread(const std::string& name, std::function<void()> fn);
  // Joins the thread when still joinable (from the thread itself: lets it go).
  ~Thread();
  Thread(Thread&&) noexcept = default;
  Thread& operator=(Thread&& other) noexcept;

  void join();
  bool joinable() const { return thread_.joinable(); }

  static void setCurrentThreadName(const std::string& name);
  static std::string currentThreadName();
  static bool isMainThread();

 private:
  void release();

  std::thread thread_;
};

}  // namespace ns
