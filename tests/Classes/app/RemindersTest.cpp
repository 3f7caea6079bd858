// Friday reminders: the planned dates over weekday, time and the last
// reading, the in-application alert and the record of a reading.
#include "AppTestEnvironment.h"
#include "Classes/core/RegisteredDefaults.h"

namespace apptest {
namespace {

struct Wall {
  int year, month, day, hour, minute;
  friend bool operator==(const Wall&, const Wall&) = default;
};

void PrintTo(const Wall& w, std::ostream* os) {
  *os << w.year << "-" << w.month << "-" << w.day << " " << w.hour << ":" << w.minute;
}

Wall wall(ns::Date date) {
  ns::DateComponents c = ns::Calendar::components(date);
  return {c.year, c.month, c.day, c.hour, c.minute};
}

ns::Date at(const Wall& w) { return londonTime(w.year, w.month, w.day, w.hour, w.minute); }

class RemindersTest : public AppTest {
 protected:
  std::vector<Wall> plannedDates() {
    std::vector<Wall> dates;
    for (const auto& n : pending()) dates.push_back(wall(n.fireDate));
    return dates;
  }
};

struct PlanCase {
  const char* name;
  Wall now;
  std::optional<Wall> lastFridayRead;
  std::vector<Wall> expected;
};

TEST_F(RemindersTest, PlanningTable) {
  const std::vector<PlanCase> cases = {
      {"Wednesday", {2026, 12, 9, 10, 0}, {}, {{2026, 12, 11, 15, 0}, {2026, 12, 18, 15, 30}, {2026, 12, 25, 15, 30}}},
      {"Saturday", {2026, 12, 12, 10, 0}, {}, {{2026, 12, 18, 15, 0}, {2026, 12, 25, 15, 30}, {2027, 1, 1, 15, 30}}},
      {"Friday 10:00", {2026, 12, 11, 10, 0}, {}, {{2026, 12, 11, 15, 0}, {2026, 12, 18, 15, 30}, {2026, 12, 25, 15, 30}}},
      // After 15:00 the first reminder would lie in the past: it is next Friday.
      {"Friday 16:00", {2026, 12, 11, 16, 0}, {}, {{2026, 12, 18, 15, 0}, {2026, 12, 25, 15, 30}, {2027, 1, 1, 15, 30}}},
      {"Friday 10:00, read at 07:00",
       {2026, 12, 11, 10, 0},
       Wall{2026, 12, 11, 7, 0},
       {{2026, 12, 18, 15, 0}, {2026, 12, 25, 15, 30}, {2027, 1, 1, 15, 30}}},
      {"Friday 08:00, read at 07:00",
       {2026, 12, 11, 8, 0},
       Wall{2026, 12, 11, 7, 0},
       {{2026, 12, 18, 15, 0}, {2026, 12, 25, 15, 30}, {2027, 1, 1, 15, 30}}},
      {"Friday 10:00, read last Friday",
       {2026, 12, 11, 10, 0},
       Wall{2026, 12, 4, 10, 0},
       {{2026, 12, 11, 15, 0}, {2026, 12, 18, 15, 30}, {2026, 12, 25, 15, 30}}},
      // Same day and month a year ago is not today.
      {"Friday 10:00, read a year ago on this date",
       {2026, 12, 11, 10, 0},
       Wall{2025, 12, 11, 20, 0},
       {{2026, 12, 11, 15, 0}, {2026, 12, 18, 15, 30}, {2026, 12, 25, 15, 30}}},
      // Summer time ends on Sunday 25 October: the reminders keep their wall-clock times.
      {"Friday before the clocks go back",
       {2026, 10, 23, 10, 0},
       {},
       {{2026, 10, 23, 15, 0}, {2026, 10, 30, 15, 30}, {2026, 11, 6, 15, 30}}},
      {"Thursday before the clocks go forward",
       {2027, 3, 25, 12, 0},
       {},
       {{2027, 3, 26, 15, 0}, {2027, 4, 2, 15, 30}, {2027, 4, 9, 15, 30}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    setNow(at(c.now));
    defaults().removeObjectForKey(kLastAlKahfSet);
    if (c.lastFridayRead) {
      defaults().setObject(ns::Value(at(*c.lastFridayRead)), kLastFridayRead);
    } else {
      defaults().removeObjectForKey(kLastFridayRead);
    }
    ZarvelSDKAppDelegate::SetupAlKahfReminders();
    EXPECT_EQ(plannedDates(), c.expected);
    for (const auto& n : pending()) {
      EXPECT_EQ(n.alertBody, "You haven't read Al-Kahf today. Would you like to read it now?");
      EXPECT_TRUE(n.alertAction.empty());
      EXPECT_TRUE(n.soundName.empty());
    }
    EXPECT_EQ(defaults().dateForKey(kLastAlKahfSet), at(c.now));
  }
}

TEST_F(RemindersTest, InsideHalfAnHourTheRemindersStayAsTheyAre) {
  setNow(at({2026, 12, 9, 10, 0}));
  ZarvelSDKAppDelegate::SetupAlKahfReminders();
  auto first = pending();
  setNow(at({2026, 12, 9, 10, 29}));
  ZarvelSDKAppDelegate::SetupAlKahfReminders();
  EXPECT_EQ(pending(), first);
  EXPECT_EQ(defaults().dateForKey(kLastAlKahfSet), at({2026, 12, 9, 10, 0}));
  setNow(at({2026, 12, 9, 10, 30}));
  ZarvelSDKAppDelegate::SetupAlKahfReminders();
  EXPECT_EQ(defaults().dateForKey(kLastAlKahfSet), at({2026, 12, 9, 10, 30}));
  EXPECT_EQ(pending().size(), 3u);
}

TEST_F(RemindersTest, ReadingAtHalfPastFiveRecordsNothingAndAtSevenMovesToNextWeek) {
  setNow(at({2026, 12, 11, 5, 30}));
  ZarvelSDKAppDelegate::MarkAlKahfRead();
  EXPECT_FALSE(defaults().dateForKey(kLastFridayRead).has_value());
  EXPECT_EQ(plannedDates().front(), (Wall{2026, 12, 11, 15, 0}));

  setNow(at({2026, 12, 11, 7, 0}));
  ZarvelSDKAppDelegate::MarkAlKahfRead();
  EXPECT_EQ(defaults().dateForKey(kLastFridayRead), at({2026, 12, 11, 7, 0}));
  EXPECT_EQ(plannedDates().front(), (Wall{2026, 12, 18, 15, 0}));

  // A second opening within 5 s changes nothing.
  setNow(at({2026, 12, 11, 7, 0}).dateByAddingTimeInterval(3));
  ZarvelSDKAppDelegate::MarkAlKahfRead();
  EXPECT_EQ(defaults().dateForKey(kLastFridayRead), at({2026, 12, 11, 7, 0}));

  // After 09:00, outside the half-hour window, planning still starts next week.
  setNow(at({2026, 12, 11, 9, 45}));
  ZarvelSDKAppDelegate::SetupAlKahfReminders();
  EXPECT_EQ(plannedDates().front(), (Wall{2026, 12, 18, 15, 0}));
}

TEST_F(RemindersTest, SwitchingRemindersOffClearsEveryPendingOne) {
  ZarvelSDKAppDelegate::SetupAlKahfReminders();
  ASSERT_EQ(pending().size(), 3u);
  defaults().setBool(false, kAlKahfReminders);
  ZarvelSDKAppDelegate::SetupAlKahfReminders();
  EXPECT_TRUE(pending().empty());
  // On again a minute later: planned at once, not half an hour later.
  advance(60);
  defaults().setBool(true, kAlKahfReminders);
  ZarvelSDKAppDelegate::SetupAlKahfReminders();
  EXPECT_EQ(pending().size(), 3u);
  defaults().setBool(false, kAlKahfReminders);
  ZarvelSDKAppDelegate::SetupAlKahfReminders();
  EXPECT_TRUE(pending().empty());

  install();
  setNow(at({2026, 12, 11, 10, 0}));
  ZarvelSDKAppDelegate::MarkAlKahfRead();
  ZarvelSDKAppDelegate::RemindAlKahfNow();
  EXPECT_FALSE(defaults().dateForKey(kLastFridayRead).has_value());
  EXPECT_TRUE(pending().empty());
  EXPECT_EQ(visiblePanel(), nullptr);
}

TEST_F(RemindersTest, FridayAlertOncePerFridayUnlessReadToday) {
  auto delegate = install();
  setNow(at({2026, 12, 11, 5, 59}));
  ZarvelSDKAppDelegate::RemindAlKahfNow();
  EXPECT_EQ(visiblePanel(), nullptr);  // too early

  setNow(at({2026, 12, 11, 10, 0}));
  ZarvelSDKAppDelegate::RemindAlKahfNow();
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel()->tag(), 1);
  EXPECT_EQ(visiblePanel()->title(), "Al-Kahf");
  EXPECT_EQ(visiblePanel()->buttonTitleAtIndex(0), "No");
  EXPECT_EQ(visiblePanel()->buttonTitleAtIndex(1), "Yes");
  visiblePanel()->tapButtonAtIndex(1);
  advance(1);
  EXPECT_EQ(root->calls.list.front(), "showSurahView(18, 1, NO, NO)");

  ZarvelSDKAppDelegate::RemindAlKahfNow();
  EXPECT_EQ(visiblePanel(), nullptr);  // once per Friday

  // The next Friday, read that morning: no alert; a week on, unread: the alert.
  setNow(at({2026, 12, 17, 10, 0}));
  ZarvelSDKAppDelegate::RemindAlKahfNow();  // a Thursday clears the flag
  setNow(at({2026, 12, 18, 18, 0}));
  defaults().setObject(ns::Value(at({2026, 12, 18, 6, 30})), kLastFridayRead);
  ZarvelSDKAppDelegate::RemindAlKahfNow();
  EXPECT_EQ(visiblePanel(), nullptr);
  defaults().setObject(ns::Value(at({2026, 12, 11, 6, 30})), kLastFridayRead);
  ZarvelSDKAppDelegate::RemindAlKahfNow();
  EXPECT_NE(visiblePanel(), nullptr);
}

// "Read" means read on this calendar day, not within the last 12 hours.
TEST_F(RemindersTest, TheFridayAlertAsksUnlessSurahEighteenWasReadToday) {
  struct Case {
    const char* name;
    Wall lastRead, check;
    bool alert;
  };
  const std::vector<Case> cases = {
      {"read at 06:10, checked at 18:30 (over 12 hours)", {2026, 12, 11, 6, 10}, {2026, 12, 11, 18, 30}, false},
      {"read on Thursday at 20:00, checked on Friday at 07:00 (under 12 hours)",
       {2026, 12, 10, 20, 0},
       {2026, 12, 11, 7, 0},
       true},
      {"read last Friday", {2026, 12, 4, 10, 0}, {2026, 12, 11, 10, 0}, true},
  };
  install();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ui::ButtonPanel::resetForTesting();
    setNow(at({2026, 12, 10, 12, 0}));
    ZarvelSDKAppDelegate::RemindAlKahfNow();  // a Thursday clears the shown flag
    defaults().setObject(ns::Value(at(c.lastRead)), kLastFridayRead);
    setNow(at(c.check));
    ZarvelSDKAppDelegate::RemindAlKahfNow();
    EXPECT_EQ(visiblePanel() != nullptr, c.alert);
  }
}

TEST_F(RemindersTest, AReminderFiringWhileRunningOpensAlKahf) {
  defaults().setBool(true, kDontNagMe);
  setNow(at({2026, 12, 11, 10, 0}));
  launch();
  advance(3);
  ASSERT_NE(visiblePanel(), nullptr);  // the Friday alert
  visiblePanel()->tapButtonAtIndex(0);
  advance(5 * 3600);  // 15:00
  ASSERT_FALSE(root->calls.list.empty());
  EXPECT_EQ(root->calls.list.front(), "showSurahView(18, 1, NO, NO)");
  EXPECT_EQ(pending().size(), 2u);
}

TEST_F(RemindersTest, FridayEveningAfterSixNoAlert) {
  install();
  setNow(at({2026, 12, 11, 19, 0}));
  ZarvelSDKAppDelegate::RemindAlKahfNow();
  EXPECT_EQ(visiblePanel(), nullptr);
}

}  // namespace
}  // namespace apptest
