#include "Classes/core/DatabaseWorkers.h"

#include <atomic>
#include <mutex>

namespace {

std::mutex gMutex;
int gActive = 0;
std::atomic<bool> gStopping{false};

}  // namespace

DatabaseWorkers::Pass::~Pass() {
  if (!held_) return;
  std::lock_guard<std::mutex> lock(gMutex);
  --gActive;
}

std::optional<DatabaseWorkers::Pass> DatabaseWorkers::enter() {
  std::lock_guard<std::mutex> lock(gMutex);
  if (gStopping.load()) return std::nullopt;
  ++gActive;
  return Pass();
}

bool DatabaseWorkers::stopRequested() { return gStopping.load(); }

int DatabaseWorkers::activeCount() {
  std::lock_guard<std::mutex> lock(gMutex);
  return gActive;
}

bool DatabaseWorkers::stopAndWait(std::initializer_list<sqlite3*> connections,
                                  const std::function<bool()>& pump) {
  {
    std::lock_guard<std::mutex> lock(gMutex);
    gStopping.store(true);
  }
  while (activeCount() > 0) {
    // A query running now ends with SQLITE_INTERRUPT; interrupting again each
    // turn catches a worker that started its next query in between.
    for (sqlite3* db : connections)
      if (db) sqlite3_interrupt(db);
    if (!pump()) return activeCount() == 0;
  }
  return true;
}

void DatabaseWorkers::reopen() { gStopping.store(false); }
