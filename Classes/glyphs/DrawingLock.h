#pragma once
// The process-wide lock of the glyph renderer's drawing passes. Each new font
// instance puts a fresh lock in the slot; a pass holds the lock that was in
// the slot when it began, so a pass on an older lock finishes safely.
#include <memory>
#include <mutex>

class DrawingLock {
 public:
  static void replace();
  // The lock in the slot now (shared, so it outlives a replacement).
  static std::shared_ptr<std::recursive_mutex> current();
};
