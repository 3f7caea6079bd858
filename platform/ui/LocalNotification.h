#pragma once
// A notification scheduled for a date: the alert text shown when it fires and
// the values the application attached to it.
#include <string>

#include "platform/foundation/Date.h"
#include "platform/foundation/Value.h"

namespace ui {

struct LocalNotification {
  ns::Date fireDate;
  std::string alertBody;
  std::string alertAction;
  std::string soundName;
  ns::Value userInfo;

  friend bool operator==(const LocalNotification&, const LocalNotification&) = default;
};

}  // namespace ui
