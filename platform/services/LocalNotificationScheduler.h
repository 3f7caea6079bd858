#pragma once
// Local notifications: scheduled for a date, kept in the user defaults so they
// outlive the process, and delivered to the application delegate when their
// date comes while the application runs (timed by the main run loop's clock).
#include <vector>

#include "platform/ui/LocalNotification.h"

namespace ui {

class LocalNotificationScheduler {
 public:
  // Loads the stored notifications on first use.
  static LocalNotificationScheduler& shared();

  // A date already past fires on the next turn of the run loop.
  void scheduleLocalNotification(const LocalNotification& notification);
  // Cancels the first scheduled notification equal to this one.
  void cancelLocalNotification(const LocalNotification& notification);
  void cancelAllLocalNotifications();
  // In order of their dates.
  std::vector<LocalNotification> scheduledLocalNotifications() const { return pending_; }

  // Reads the stored notifications again, as a new process does: those whose
  // date passed while nothing ran are dropped, the rest are timed.
  void reload();

  // The defaults key that holds them.
  static constexpr const char* kDefaultsKey = "ScheduledLocalNotifications";

 private:
  LocalNotificationScheduler();
  void store() const;
  void arm();
  void fireDue();

  std::vector<LocalNotification> pending_;
};

}  // namespace ui
