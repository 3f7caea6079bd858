#include "platform/foundation/Date.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "platform/foundation/Clock.h"

namespace ns {

Date Date::now() { return Date(Clock::current().now()); }

Date Date::dateWithTimeIntervalSinceNow(double seconds) { return Date(Clock::current().now() + seconds); }

double Date::timeIntervalSinceNow() const { return seconds_ - Clock::current().now(); }

std::time_t Date::wholeSeconds() const {
  constexpr double kYear1 = -62135596800.0;       // 0001-01-01 00:00:00 UTC
  constexpr double kYear9999End = 253402300799.0;  // 9999-12-31 23:59:59 UTC
  if (std::isnan(seconds_)) return 0;
  return static_cast<std::time_t>(std::clamp(std::floor(seconds_), kYear1, kYear9999End));
}

std::string Date::description() const {
  std::time_t t = wholeSeconds();
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buf[64];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S +0000", &tm);
  return buf;
}

}  // namespace ns
