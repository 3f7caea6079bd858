#include "toolkit/core/Date+TKCalendarAdditions.h"

#include <cmath>

#include "platform/foundation/Clock.h"

namespace ns {

namespace {
Date firstOfMonth(int year, int month) { return Calendar::dateFromComponents({year, month, 1, 0, 0, 0, 0}); }
}  // namespace

Date cc_today() { return Date(Clock::current().now()); }

Date cc_dateForDay(int day, int month, int year) { return Calendar::dateFromComponents({year, month, day, 0, 0, 0, 0}); }

bool cc_isToday(Date date) {
  if (std::fabs(date.timeIntervalSinceDate(cc_today())) > 86400) return false;
  DateComponents a = Calendar::components(date), b = Calendar::components(cc_today());
  return a.year == b.year && a.month == b.month && a.day == b.day;
}

Date cc_dateByMovingToFirstDayOfTheMonth(Date date) {
  DateComponents c = Calendar::components(date);
  return firstOfMonth(c.year, c.month);
}

Date cc_dateByMovingToFirstDayOfThePreviousMonth(Date date) {
  DateComponents c = Calendar::components(date);
  return firstOfMonth(c.year, c.month - 1);  // month 0 normalises to December before
}

Date cc_dateByMovingToFirstDayOfTheFollowingMonth(Date date) {
  DateComponents c = Calendar::components(date);
  return firstOfMonth(c.year, c.month + 1);
}

Date cc_dateByMovingToFirstDayOfTheFollowingMonthWithWeekday(Date date, int weekday) {
  Date first = cc_dateByMovingToFirstDayOfTheFollowingMonth(date);
  int d = ((weekday - Calendar::weekday(first)) % 7 + 7) % 7;
  return Calendar::dateByAddingDays(first, d);
}

DateComponents cc_componentsForMonthDayAndYear(Date date) {
  DateComponents c = Calendar::components(date);
  return DateComponents{c.year, c.month, c.day, 0, 0, 0, c.weekday};
}

int cc_day(Date date) { return Calendar::components(date).day; }

int cc_weekday(Date date) { return Calendar::weekday(date); }

int cc_numberOfDaysInMonth(Date date) {
  DateComponents c = Calendar::components(date);
  return Calendar::components(Calendar::dateFromComponents({c.year, c.month + 1, 0, 12, 0, 0, 0})).day;
}

}  // namespace ns
