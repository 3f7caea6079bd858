#include "platform/foundation/Calendar.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <optional>

namespace ns {

namespace {

std::tm localParts(Date date) {
  std::time_t t = date.wholeSeconds();
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

double fraction(Date date) {
  double s = date.timeIntervalSince1970();
  return s - std::floor(s);
}

// mktime with the daylight-saving flag left to the C library, so a wall-clock
// time keeps its meaning on either side of a change.
Date fromLocalParts(std::tm tm, double fractionalSeconds = 0) {
  tm.tm_isdst = -1;
  std::time_t t = std::mktime(&tm);
  return Date(static_cast<double>(t) + fractionalSeconds);
}

}  // namespace

DateComponents Calendar::components(Date date) {
  std::tm tm = localParts(date);
  return DateComponents{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                        tm.tm_min,         tm.tm_sec,     tm.tm_wday + 1};
}

Date Calendar::dateFromComponents(const DateComponents& c) {
  std::tm tm{};
  tm.tm_year = c.year - 1900;
  tm.tm_mon = c.month - 1;
  tm.tm_mday = c.day;
  tm.tm_hour = c.hour;
  tm.tm_min = c.minute;
  tm.tm_sec = c.second;
  return fromLocalParts(tm);
}

Date Calendar::dateByAddingDays(Date date, int days) {
  std::tm tm = localParts(date);
  tm.tm_mday += days;
  return fromLocalParts(tm, fraction(date));
}

Date Calendar::dateByAddingWeeks(Date date, int weeks) { return dateByAddingDays(date, weeks * 7); }

Date Calendar::dateBySettingTime(Date date, int hour, int minute, int second) {
  std::tm tm = localParts(date);
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  return fromLocalParts(tm);
}

Date Calendar::startOfDay(Date date) { return dateBySettingTime(date, 0, 0, 0); }

int Calendar::weekday(Date date) { return localParts(date).tm_wday + 1; }

bool Calendar::isSameDay(Date a, Date b) {
  std::tm x = localParts(a), y = localParts(b);
  return x.tm_year == y.tm_year && x.tm_yday == y.tm_yday;
}

std::string Calendar::format(Date date, const char* strftimeFormat) {
  std::tm tm = localParts(date);
  char buf[256];
  std::size_t n = std::strftime(buf, sizeof buf, strftimeFormat, &tm);
  return std::string(buf, n);
}

void Calendar::setTimeZoneForTesting(const std::string& zone) {
  static std::mutex mutex;
  static bool saved = false;
  static std::optional<std::string> original;
  std::lock_guard<std::mutex> lock(mutex);
  if (!saved) {
    if (const char* tz = std::getenv("TZ")) original = tz;
    saved = true;
  }
  if (!zone.empty()) {
    setenv("TZ", zone.c_str(), 1);
  } else if (original) {
    setenv("TZ", original->c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

}  // namespace ns
