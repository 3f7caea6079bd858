#pragma once
// Calendar steps over Gregorian months in the local time zone, for calendar
// views: today, the first days of this, the previous and the following month,
// the first given weekday of the following month, and the month's length.
#include "platform/foundation/Calendar.h"
#include "platform/foundation/Date.h"

namespace ns {

Date cc_today();
Date cc_dateForDay(int day, int month, int year);
// Within a day of now and on today's date.
bool cc_isToday(Date date);
Date cc_dateByMovingToFirstDayOfTheMonth(Date date);
Date cc_dateByMovingToFirstDayOfThePreviousMonth(Date date);
Date cc_dateByMovingToFirstDayOfTheFollowingMonth(Date date);
// The first date on or after the following month's first day that falls on
// the weekday (1 Sunday .. 7 Saturday).
Date cc_dateByMovingToFirstDayOfTheFollowingMonthWithWeekday(Date date, int weekday);
DateComponents cc_componentsForMonthDayAndYear(Date date);
int cc_day(Date date);
int cc_weekday(Date date);
int cc_numberOfDaysInMonth(Date date);

}  // namespace ns
