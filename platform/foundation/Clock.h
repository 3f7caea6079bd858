#pragma once
// The source of "now" for the whole process: the real clock in the application,
// a virtual clock in tests.
#include <atomic>
#include <memory>

namespace ns {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since 1970 (wall-clock time).
  virtual double now() const = 0;
  virtual bool isVirtual() const { return false; }

  // The process clock (the real clock until replaced).
  static Clock& current();
  static std::shared_ptr<Clock> currentShared();
  // nullptr restores the real clock. Prefer RunLoop::resetForTesting(clock),
  // which also points the main run loop at the clock.
  static void setCurrent(std::shared_ptr<Clock> clock);
};

class RealClock : public Clock {
 public:
  double now() const override;
};

// Time that moves only when told to. advance() runs what falls due on the
// main run loop, in due order, each at its own time.
class VirtualClock : public Clock {
 public:
  // Default start: 2026-01-01 00:00:00 UTC.
  explicit VirtualClock(double start = 1767225600.0) : now_(start) {}
  double now() const override { return now_.load(); }
  bool isVirtual() const override { return true; }

  // Moves time forward by the seconds, firing due timers and delayed calls
  // on the main run loop (the calling thread must be the main thread).
  void advance(double seconds);
  // Jumps to a time without running anything (setting the scene for a test).
  void setNow(double secondsSince1970) { now_.store(secondsSince1970); }

  // Makes a virtual clock the process clock and resets the main run loop to
  // it, with the calling thread as the main thread.
  static std::shared_ptr<VirtualClock> install(double start = 1767225600.0);

 private:
  std::atomic<double> now_;
};

}  // namespace ns
