#pragma once
// Background tasks: work that asks to go on after the application leaves the
// foreground. Each task has an identifier (0 is the invalid one) and an
// expiration handler, called once when the background time runs out.
#include <cstddef>
#include <functional>

namespace ui {

using BackgroundTaskIdentifier = unsigned;
inline constexpr BackgroundTaskIdentifier BackgroundTaskInvalid = 0;

class BackgroundTasks {
 public:
  // Time the application may keep running once in the background.
  static constexpr double kBackgroundTime = 600;

  // A new identifier, or BackgroundTaskInvalid when the device has no
  // multitasking (the handler is then never called).
  static BackgroundTaskIdentifier beginBackgroundTaskWithExpirationHandler(
      std::function<void()> handler);
  // Ends an open task; unknown and invalid identifiers are ignored.
  static void endBackgroundTask(BackgroundTaskIdentifier identifier);
  static size_t openTaskCount();
  // Seconds left before the open tasks expire; a large number in the foreground.
  static double backgroundTimeRemaining();

  // Forgets every task and the identifier counter (tests).
  static void resetForTesting();
};

}  // namespace ui
