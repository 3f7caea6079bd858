#pragma once
// The Gregorian calendar in the local time zone (the TZ environment, as the C
// library reads it). Adding days keeps the wall-clock time across daylight
// saving changes.
#include <string>

#include "platform/foundation/Date.h"

namespace ns {

struct DateComponents {
  int year = 0;
  int month = 0;    // 1..12
  int day = 0;      // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int weekday = 0;  // 1 = Sunday .. 7 = Saturday (read only)
  friend bool operator==(const DateComponents&, const DateComponents&) = default;
};

class Calendar {
 public:
  // Local components of the date (seconds truncated).
  static DateComponents components(Date date);
  // The local date of year/month/day hour:minute:second; out-of-range fields
  // normalise (day 32 is the next month). The weekday is ignored.
  static Date dateFromComponents(const DateComponents& c);
  // Same wall-clock time, n days/weeks later (earlier for negative n).
  static Date dateByAddingDays(Date date, int days);
  static Date dateByAddingWeeks(Date date, int weeks);
  // The same day with the given wall-clock time.
  static Date dateBySettingTime(Date date, int hour, int minute, int second);
  static Date startOfDay(Date date);
  static int weekday(Date date);
  static bool isSameDay(Date a, Date b);
  // strftime text of the local date.
  static std::string format(Date date, const char* strftimeFormat);

  // Sets the local time zone ("Europe/London", "UTC"); "" restores the zone the
  // process started with.
  static void setTimeZoneForTesting(const std::string& zone);
};

}  // namespace ns
