#include "Classes/glyphs/DrawingLock.h"

namespace {
std::mutex& slotMutex() {
  static std::mutex m;
  return m;
}
std::shared_ptr<std::recursive_mutex>& slot() {
  static auto s = std::make_shared<std::recursive_mutex>();
  return s;
}
}  // namespace

void DrawingLock::replace() {
  std::lock_guard<std::mutex> guard(slotMutex());
  slot() = std::make_shared<std::recursive_mutex>();
}

std::shared_ptr<std::recursive_mutex> DrawingLock::current() {
  std::lock_guard<std::mutex> guard(slotMutex());
  return slot();
}
