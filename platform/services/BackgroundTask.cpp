#include "platform/services/BackgroundTask.h"

#include <limits>
#include <map>

#include "platform/foundation/Clock.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/services/Device.h"
#include "platform/ui/Application.h"

namespace ui {

namespace {

struct Tasks {
  std::map<BackgroundTaskIdentifier, std::function<void()>> open;
  BackgroundTaskIdentifier next = 1;
  double backgroundSince = -1;  // clock time of entering the background; -1 in front
  ns::Observer enteredBackground;
  ns::Observer enteringForeground;
  bool observing = false;

  static Tasks& get() {
    static Tasks t;
    return t;
  }

  // The expiry timer runs only while the application is in the background.
  void observeApplication() {
    if (observing) return;
    observing = true;
    auto& center = ns::NotificationCenter::defaultCenter();
    enteredBackground = center.addObserver(ApplicationDidEnterBackgroundNotification,
                                           [this](const ns::Value&) { startExpiryTimer(); });
    enteringForeground = center.addObserver(ApplicationWillEnterForegroundNotification,
                                            [this](const ns::Value&) { stopExpiryTimer(); });
    if (Application::shared().applicationState() == ApplicationState::Background)
      startExpiryTimer();
  }

  void startExpiryTimer() {
    backgroundSince = ns::Clock::current().now();
    ns::RunLoop::main().cancelPreviousPerformRequests(this, "expire");
    ns::RunLoop::main().performAfter(this, "expire", BackgroundTasks::kBackgroundTime,
                                     [this] { expireAll(); });
  }

  void stopExpiryTimer() {
    backgroundSince = -1;
    ns::RunLoop::main().cancelPreviousPerformRequests(this, "expire");
  }

  // Each open task's handler runs once; a handler that forgets to end its
  // task has it ended for it.
  void expireAll() {
    auto expiring = open;
    for (auto& [id, handler] : expiring) {
      if (!open.count(id)) continue;
      if (handler) handler();
      open.erase(id);
    }
  }
};

}  // namespace

BackgroundTaskIdentifier BackgroundTasks::beginBackgroundTaskWithExpirationHandler(
    std::function<void()> handler) {
  if (!Device::current().isMultitaskingSupported()) return BackgroundTaskInvalid;
  auto& t = Tasks::get();
  t.observeApplication();
  BackgroundTaskIdentifier id = t.next++;
  if (t.next == BackgroundTaskInvalid) t.next = 1;
  t.open[id] = std::move(handler);
  return id;
}

void BackgroundTasks::endBackgroundTask(BackgroundTaskIdentifier identifier) {
  Tasks::get().open.erase(identifier);
}

size_t BackgroundTasks::openTaskCount() { return Tasks::get().open.size(); }

double BackgroundTasks::backgroundTimeRemaining() {
  auto& t = Tasks::get();
  if (t.backgroundSince < 0) return std::numeric_limits<double>::max();
  return std::max(0.0, kBackgroundTime - (ns::Clock::current().now() - t.backgroundSince));
}

void BackgroundTasks::resetForTesting() {
  auto& t = Tasks::get();
  t.stopExpiryTimer();
  t.open.clear();
  t.next = 1;
  t.enteredBackground.remove();
  t.enteringForeground.remove();
  t.observing = false;
}

}  // namespace ui
