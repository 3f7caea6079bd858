#include "toolkit/core/Date+TKCategory.h"

#include <cmath>
#include <cstdio>

#include "platform/foundation/Clock.h"
#include "toolkit/core/TKGlobal.h"

namespace ns {

namespace {

const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
const char* const kWeekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

Date now() { return Date(Clock::current().now()); }

// The whole seconds between the date and now, without their sign.
long long elapsedSeconds(Date date) {
  double seconds = std::trunc(date.timeIntervalSinceDate(now()));
  if (!std::isfinite(seconds)) return 0;
  seconds = std::fabs(seconds);
  return seconds > 1e15 ? static_cast<long long>(1e15) : static_cast<long long>(seconds);
}

Date dayWithTime(Date date, int hour, int minute, int second) {
  DateComponents c = Calendar::components(date);
  DateComponents wanted{c.year, c.month, c.day, hour, minute, second, 0};
  Date result = Calendar::dateFromComponents(wanted);
  // A wall-clock time that does not exist may normalise back into the day
  // before; step forward to the first moment of the day itself.
  for (int step = 0; step < 4 && Calendar::components(result).day != c.day; ++step)
    result = result.dateByAddingTimeInterval(1800);
  return result;
}

std::string number(int value, std::size_t width) {
  std::string s = std::to_string(value);
  while (s.size() < width) s.insert(s.begin(), '0');
  return s;
}

std::string field(char letter, std::size_t count, const DateComponents& c) {
  switch (letter) {
    case 'y':
      return count == 2 ? number(c.year % 100, 2) : number(c.year, count);
    case 'M':
    case 'L':
      if (count >= 4) return kMonths[(c.month + 11) % 12];
      if (count == 3) return std::string(kMonths[(c.month + 11) % 12]).substr(0, 3);
      return number(c.month, count);
    case 'd':
      return number(c.day, count);
    case 'E':
      return count >= 4 ? kWeekdays[(c.weekday + 6) % 7] : std::string(kWeekdays[(c.weekday + 6) % 7]).substr(0, 3);
    case 'h':
      return number(c.hour % 12 == 0 ? 12 : c.hour % 12, count);
    case 'H':
      return number(c.hour, count);
    case 'm':
      return number(c.minute, count);
    case 's':
      return number(c.second, count);
    case 'a':
      return c.hour < 12 ? "AM" : "PM";
    default:
      return std::string(count, letter);
  }
}

std::string formatted(const std::string& localizedFormat, long long value) {
  char buf[256];
  std::string fmt = localizedFormat;
  // The translated text keeps one %d; anything else prints as it stands.
  std::size_t at = fmt.find("%d");
  if (at == std::string::npos || fmt.find('%', at + 2) != std::string::npos) return fmt;
  std::snprintf(buf, sizeof buf, "%s%lld%s", fmt.substr(0, at).c_str(), value, fmt.substr(at + 2).c_str());
  return buf;
}

}  // namespace

std::string formatDatePattern(Date date, const std::string& pattern) {
  DateComponents c = Calendar::components(date);
  std::string out;
  for (std::size_t i = 0; i < pattern.size();) {
    char ch = pattern[i];
    if (ch == '\'') {
      std::size_t end = pattern.find('\'', i + 1);
      if (end == i + 1) {
        out += '\'';
      } else {
        out += pattern.substr(i + 1, (end == std::string::npos ? pattern.size() : end) - i - 1);
      }
      i = end == std::string::npos ? pattern.size() : end + 1;
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == ch) ++run;
    bool letter = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
    out += letter ? field(ch, run, c) : pattern.substr(i, run);
    i += run;
  }
  return out;
}

Date dateWithToday() { return dateAtMidnight(now()); }

Date dateAtMidnight(Date date) { return dayWithTime(date, 0, 0, 0); }

Date dateJustAtStartOfDay(Date date) { return dayWithTime(date, 0, 0, 0); }

Date dateJustBeforeEndOfDay(Date date) { return dayWithTime(date, 23, 59, 59); }

std::string formatTime(Date date) { return formatDatePattern(date, TKLibraryLocalizedString("h:mm a")); }

std::string formatDate(Date date) {
  return formatDatePattern(date, TKLibraryLocalizedString("EEEE, LLLL d, yyyy"));
}

std::string formatShortTime(Date date) {
  long long seconds = elapsedSeconds(date);
  if (seconds < 86400) return formatTime(date);
  if (seconds < 604800) return formatDatePattern(date, TKLibraryLocalizedString("EEEE"));
  return formatDatePattern(date, TKLibraryLocalizedString("M/d/yy"));
}

std::string formatDateTime(Date date) {
  long long seconds = elapsedSeconds(date);
  if (seconds < 86400) return formatTime(date);
  if (seconds < 604800) return formatDatePattern(date, TKLibraryLocalizedString("EEE h:mm a"));
  return formatDatePattern(date, TKLibraryLocalizedString("MMM d h:mm a"));
}

std::string formatRelativeTime(Date date) {
  long long s = elapsedSeconds(date);
  if (s < 2) return TKLibraryLocalizedString("just a moment ago");
  if (s < 60) return formatted(TKLibraryLocalizedString("%d seconds ago"), s);
  if (s < 120) return TKLibraryLocalizedString("about a minute ago");
  if (s < 3600) return formatted(TKLibraryLocalizedString("%d minutes ago"), s / 60);
  if (s < 5400) return TKLibraryLocalizedString("about an hour ago");
  if (s < 86400) return formatted(TKLibraryLocalizedString("%d hours ago"), (s + 1800) / 3600);
  return formatDateTime(date);
}

std::string formatDay(Date date, const DateComponents& today, const DateComponents& yesterday) {
  DateComponents c = Calendar::components(date);
  auto sameDay = [&](const DateComponents& o) { return c.year == o.year && c.month == o.month && c.day == o.day; };
  if (sameDay(today)) return TKLibraryLocalizedString("Today");
  if (sameDay(yesterday)) return TKLibraryLocalizedString("Yesterday");
  return formatDatePattern(date, TKLibraryLocalizedString("MMMM d"));
}

}  // namespace ns
