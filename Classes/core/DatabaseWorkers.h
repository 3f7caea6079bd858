#pragma once
// The gate between worker threads that query the databases and the shutdown
// that closes the connections. A worker holds a Pass while it uses a
// connection and checks stopRequested() between queries; the shutdown stops
// new passes, interrupts running queries and waits until every pass is back.
#include <sqlite3.h>

#include <functional>
#include <initializer_list>
#include <optional>

class DatabaseWorkers {
 public:
  class Pass {
   public:
    Pass(Pass&& other) noexcept : held_(other.held_) { other.held_ = false; }
    Pass& operator=(Pass&&) = delete;
    Pass(const Pass&) = delete;
    ~Pass();

   private:
    friend class DatabaseWorkers;
    Pass() : held_(true) {}
    bool held_;
  };

  // A pass for a worker, or nothing once the connections are closing.
  static std::optional<Pass> enter();
  // True once the shutdown began: a worker stops at its next check.
  static bool stopRequested();
  // Workers holding a pass now.
  static int activeCount();

  // Stops new passes, interrupts the queries running on the connections and
  // waits until every pass is returned. `pump` runs while waiting (the main
  // run loop, so that a worker waiting for the main thread can finish); it
  // answers false when waiting should end. True when no worker is left.
  static bool stopAndWait(std::initializer_list<sqlite3*> connections, const std::function<bool()>& pump);

  // Lets workers in again (after the connections were opened anew).
  static void reopen();
};
