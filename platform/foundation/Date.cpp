#include "platform/foundation/Date.h"

#include <cmath>
#include <ctime>

#include "platform/foundation/Clock.h"

namespace ns {

Date Date::now() { return Date(Clock::current().now()); }

Date Date::dateWithTimeIntervalSinceNow(double seconds) { return Date(Clock::current().now() + seconds); }

double Date::timeIntervalSinceNow() const { return seconds_ - Clock::current().now(); }

std::string Date::description() const {
  std::time_t t = static_cast<std::time_t>(std::floor(seconds_));
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buf[64];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S +0000", &tm);
  return buf;
}

}  // namespace ns
