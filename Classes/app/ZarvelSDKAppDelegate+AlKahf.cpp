// Friday reminders to read surah 18 (Al-Kahf): local notifications planned for
// the coming Fridays, an alert when the application comes to the front on a
// Friday, and the record of a Friday reading.
#include "Classes/app/AppState.h"
#include "Classes/core/RegisteredDefaults.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "platform/foundation/Calendar.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/services/LocalNotificationScheduler.h"

namespace {

constexpr int kFriday = 6;
constexpr int kSaturday = 7;
constexpr double kPlanningWindow = 1800;   // seconds between two plannings
constexpr double kMarkDebounce = 5;        // seconds between two recorded readings

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

std::string reminderText() {
  return app_state::text("You haven't read Al-Kahf today. Would you like to read it now?");
}

// Surah 18 was recorded as read today (the same calendar date).
bool readToday(ns::Date now) {
  auto last = defaults().dateForKey(kLastFridayRead);
  return last && ns::Calendar::isSameDay(*last, now);
}

// Days from today to the coming Friday whose reminder is still ahead.
int daysToReminderFriday(ns::Date now) {
  int weekday = ns::Calendar::weekday(now);
  int days = weekday == kSaturday ? 6 : kFriday - weekday;
  // Today's reading is done: remind next week.
  if (days == 0 && readToday(now)) days = 7;
  return days;
}

ns::Date atTime(ns::Date day, int hour, int minute) { return ns::Calendar::dateBySettingTime(day, hour, minute, 0); }

}  // namespace

void ZarvelSDKAppDelegate::SetupAlKahfReminders() {
  auto& scheduler = ui::LocalNotificationScheduler::shared();
  if (!defaults().boolForKey(kAlKahfReminders)) {
    if (IsIPhoneOS4()) scheduler.cancelAllLocalNotifications();
    // Nothing is planned now: switching the reminders on again plans at once.
    if (defaults().dateForKey(kLastAlKahfSet)) {
      defaults().removeObjectForKey(kLastAlKahfSet);
      defaults().synchronize();
    }
    return;
  }
  if (!IsIPhoneOS4()) return;
  ns::Date now = ns::Date::now();
  // Inside the window the reminders already pending stay as they are.
  auto lastSet = defaults().dateForKey(kLastAlKahfSet);
  if (lastSet && now.timeIntervalSinceDate(*lastSet) >= 0 && now.timeIntervalSinceDate(*lastSet) < kPlanningWindow)
    return;

  scheduler.cancelAllLocalNotifications();
  defaults().setObject(ns::Value(now), kLastAlKahfSet);
  defaults().synchronize();

  ns::Date first = atTime(ns::Calendar::dateByAddingDays(now, daysToReminderFriday(now)), 15, 0);
  // Only dates ahead: after 15:00 on a Friday the first reminder is next Friday.
  if (first <= now) first = ns::Calendar::dateByAddingWeeks(first, 1);
  ns::Date second = atTime(ns::Calendar::dateByAddingWeeks(first, 1), 15, 30);
  ns::Date third = atTime(ns::Calendar::dateByAddingWeeks(second, 1), 15, 30);
  for (ns::Date fireDate : {first, second, third}) {
    ui::LocalNotification notification;
    notification.fireDate = fireDate;
    notification.alertBody = reminderText();
    scheduler.scheduleLocalNotification(notification);
  }
}

void ZarvelSDKAppDelegate::RemindAlKahfNow() {
  if (!defaults().boolForKey(kAlKahfReminders)) return;
  ns::Date now = ns::Date::now();
  ns::DateComponents today = ns::Calendar::components(now);
  if (today.weekday != kFriday) {
    app_state::gFridayAlertShown = false;
    return;
  }
  if (today.hour < 6 || today.hour > 18 || app_state::gFridayAlertShown || readToday(now)) return;
  app_state::gFridayAlertShown = true;
  auto alert = std::make_shared<ui::AlertView>(app_state::text("Al-Kahf"), reminderText(),
                                               std::weak_ptr<ui::AlertViewDelegate>(GetInstance()),
                                               app_state::text("No"),
                                               std::vector<std::string>{app_state::text("Yes")});
  alert->setTag(app_state::kFridayAlertTag);
  alert->show();
}

void ZarvelSDKAppDelegate::MarkAlKahfRead() {
  if (!defaults().boolForKey(kAlKahfReminders)) return;
  ns::Date now = ns::Date::now();
  ns::DateComponents today = ns::Calendar::components(now);
  if (today.weekday == kFriday && today.hour >= 6) {
    auto last = defaults().dateForKey(kLastFridayRead);
    if (last && now.timeIntervalSinceDate(*last) < kMarkDebounce && now >= *last) return;
    defaults().setObject(ns::Value(now), kLastFridayRead);
    defaults().removeObjectForKey(kLastAlKahfSet);
    defaults().synchronize();
  }
  SetupAlKahfReminders();
}
