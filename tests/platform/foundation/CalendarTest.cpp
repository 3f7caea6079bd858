#include "platform/foundation/Calendar.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/foundation/Clock.h"

using ns::Calendar;
using ns::Date;
using ns::DateComponents;

namespace {

// London's rules written out, so the test needs no time-zone database.
constexpr const char* kLondon = "GMT0BST,M3.5.0/1,M10.5.0";

class CalendarTest : public ::testing::Test {
 protected:
  void SetUp() override { Calendar::setTimeZoneForTesting(kLondon); }
  void TearDown() override { Calendar::setTimeZoneForTesting(""); }
};

}  // namespace

TEST_F(CalendarTest, ComponentsRoundTripWithWeekdayFromSunday) {
  Date d = Calendar::dateFromComponents({2026, 10, 23, 10, 30, 15});
  EXPECT_EQ(Calendar::components(d), (DateComponents{2026, 10, 23, 10, 30, 15, 6}));  // a Friday
  EXPECT_EQ(d.timeIntervalSince1970(), 1792747815.0);  // 09:30:15 UTC, summer time
  EXPECT_EQ(Calendar::weekday(Calendar::dateFromComponents({2026, 10, 25, 12, 0, 0})), 1);
  EXPECT_EQ(Calendar::weekday(Calendar::dateFromComponents({2026, 10, 24, 12, 0, 0})), 7);
  // Out-of-range fields carry over.
  EXPECT_EQ(Calendar::components(Calendar::dateFromComponents({2026, 12, 32, 0, 0, 0})).month, 1);
}

TEST_F(CalendarTest, AddingAWeekAcrossTheAutumnChangeKeepsTheWallClockTime) {
  Date friday = Calendar::dateFromComponents({2026, 10, 23, 15, 0, 0});
  Date next = Calendar::dateByAddingWeeks(friday, 1);
  EXPECT_EQ(Calendar::components(next), (DateComponents{2026, 10, 30, 15, 0, 0, 6}));
  EXPECT_EQ(next.timeIntervalSinceDate(friday), 7 * 86400.0 + 3600.0);  // one hour longer
  Date back = Calendar::dateByAddingDays(next, -7);
  EXPECT_EQ(back, friday);
}

TEST_F(CalendarTest, AddingDaysAcrossTheSpringChangeKeepsTheWallClockTime) {
  Date saturday = Calendar::dateFromComponents({2026, 3, 28, 15, 30, 0});
  Date sunday = Calendar::dateByAddingDays(saturday, 1);
  EXPECT_EQ(Calendar::components(sunday).hour, 15);
  EXPECT_EQ(sunday.timeIntervalSinceDate(saturday), 86400.0 - 3600.0);
  Date set = Calendar::dateBySettingTime(Calendar::dateByAddingWeeks(saturday, 1), 15, 30, 0);
  EXPECT_EQ(Calendar::components(set), (DateComponents{2026, 4, 4, 15, 30, 0, 7}));
}

TEST_F(CalendarTest, SameDayStartOfDayAndFormatting) {
  Date morning = Calendar::dateFromComponents({2026, 10, 23, 0, 30, 0});
  Date night = Calendar::dateFromComponents({2026, 10, 23, 23, 59, 59});
  EXPECT_TRUE(Calendar::isSameDay(morning, night));
  EXPECT_FALSE(Calendar::isSameDay(morning, Calendar::dateByAddingDays(morning, 1)));
  EXPECT_EQ(Calendar::startOfDay(night), Calendar::dateFromComponents({2026, 10, 23, 0, 0, 0}));
  EXPECT_EQ(Calendar::format(morning, "%Y-%m-%d %H:%M"), "2026-10-23 00:30");
  EXPECT_EQ(morning.description(), "2026-10-22 23:30:00 +0000");
}

TEST_F(CalendarTest, DatesBeyondTheCalendarAreClampedNotUndefined) {
  // A settings file may hold any number as a date.
  EXPECT_EQ(Date(1e300).description(), "9999-12-31 23:59:59 +0000");
  EXPECT_EQ(Date(-1e300).description(), "1-01-01 00:00:00 +0000");  // strftime writes year 1 so
  EXPECT_EQ(Date(std::nan("")).description(), "1970-01-01 00:00:00 +0000");
  EXPECT_EQ(Calendar::components(Date(1e300)).year, 9999);
  EXPECT_EQ(Calendar::components(Date(-1e300)).year, 1);
}

TEST_F(CalendarTest, NowFollowsTheProcessClock) {
  auto clock = std::make_shared<ns::VirtualClock>(1792747815.0);
  ns::Clock::setCurrent(clock);
  EXPECT_EQ(Date::now().timeIntervalSince1970(), 1792747815.0);
  clock->setNow(1792747815.0 + 60);
  EXPECT_EQ(Date(1792747815.0).timeIntervalSinceNow(), -60.0);
  ns::Clock::setCurrent(nullptr);
}
