#include "platform/services/LocalNotificationScheduler.h"

#include <algorithm>

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Application.h"

namespace ui {

namespace {

ns::Value encode(const LocalNotification& n) {
  ns::Dictionary d;
  d["fireDate"] = ns::Value(n.fireDate);
  d["alertBody"] = n.alertBody;
  d["alertAction"] = n.alertAction;
  d["soundName"] = n.soundName;
  d["userInfo"] = n.userInfo;
  return ns::Value(std::move(d));
}

// Entries without a date are not notifications; they are skipped.
std::optional<LocalNotification> decode(const ns::Value& v) {
  if (!v.isDictionary()) return std::nullopt;
  auto date = v["fireDate"].date();
  if (!date) return std::nullopt;
  LocalNotification n;
  n.fireDate = *date;
  n.alertBody = v["alertBody"].stringValue();
  n.alertAction = v["alertAction"].stringValue();
  n.soundName = v["soundName"].stringValue();
  n.userInfo = v["userInfo"];
  return n;
}

bool byDate(const LocalNotification& a, const LocalNotification& b) { return a.fireDate < b.fireDate; }

}  // namespace

LocalNotificationScheduler& LocalNotificationScheduler::shared() {
  static LocalNotificationScheduler scheduler;
  return scheduler;
}

LocalNotificationScheduler::LocalNotificationScheduler() { reload(); }

void LocalNotificationScheduler::reload() {
  pending_.clear();
  double now = ns::Clock::current().now();
  auto stored = ns::UserDefaults::standardUserDefaults().arrayForKey(kDefaultsKey);
  for (const auto& v : stored)
    if (auto n = decode(v); n && n->fireDate.timeIntervalSince1970() > now) pending_.push_back(*n);
  std::stable_sort(pending_.begin(), pending_.end(), byDate);
  if (pending_.size() != stored.size()) store();
  arm();
}

void LocalNotificationScheduler::store() const {
  ns::Array list;
  for (const auto& n : pending_) list.push_back(encode(n));
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  defaults.setObject(ns::Value(std::move(list)), kDefaultsKey);
  defaults.synchronize();
}

void LocalNotificationScheduler::arm() {
  auto& loop = ns::RunLoop::main();
  loop.cancelPreviousPerformRequests(this, "fire");
  if (pending_.empty()) return;
  double delay = pending_.front().fireDate.timeIntervalSince1970() - ns::Clock::current().now();
  loop.performAfter(this, "fire", std::max(0.0, delay), [this] { fireDue(); });
}

void LocalNotificationScheduler::fireDue() {
  double now = ns::Clock::current().now();
  std::vector<LocalNotification> due;
  while (!pending_.empty() && pending_.front().fireDate.timeIntervalSince1970() <= now) {
    due.push_back(pending_.front());
    pending_.erase(pending_.begin());
  }
  if (!due.empty()) store();
  arm();
  for (const auto& n : due) Application::shared().deliverLocalNotification(n);
}

void LocalNotificationScheduler::scheduleLocalNotification(const LocalNotification& n) {
  auto at = std::upper_bound(pending_.begin(), pending_.end(), n, byDate);
  pending_.insert(at, n);
  store();
  arm();
}

void LocalNotificationScheduler::cancelLocalNotification(const LocalNotification& n) {
  auto it = std::find(pending_.begin(), pending_.end(), n);
  if (it == pending_.end()) return;
  pending_.erase(it);
  store();
  arm();
}

void LocalNotificationScheduler::cancelAllLocalNotifications() {
  pending_.clear();
  store();
  arm();
}

}  // namespace ui
