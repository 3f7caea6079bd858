#pragma once
// A point in time: seconds since 1970-01-01 00:00:00 UTC.
#include <compare>
#include <ctime>
#include <string>

namespace ns {

class Date {
 public:
  constexpr Date() = default;
  constexpr explicit Date(double secondsSince1970) : seconds_(secondsSince1970) {}

  // The current time of the process clock (virtual in tests).
  static Date now();
  static Date dateWithTimeIntervalSinceNow(double seconds);
  static constexpr Date dateWithTimeIntervalSince1970(double seconds) { return Date(seconds); }

  constexpr double timeIntervalSince1970() const { return seconds_; }
  constexpr double timeIntervalSinceDate(Date other) const { return seconds_ - other.seconds_; }
  // Negative for dates in the past.
  double timeIntervalSinceNow() const;
  constexpr Date dateByAddingTimeInterval(double seconds) const { return Date(seconds_ + seconds); }

  // Whole seconds (rounded down) for the C time functions, clamped to the years
  // 1 to 9999; NaN gives 0. Dates read from files may hold anything.
  std::time_t wholeSeconds() const;

  // "2026-12-09 20:31:05 +0000" (UTC), the text log lines carry.
  std::string description() const;

  friend constexpr bool operator==(const Date&, const Date&) = default;
  friend constexpr auto operator<=>(const Date&, const Date&) = default;

 private:
  double seconds_ = 0;
};

}  // namespace ns
