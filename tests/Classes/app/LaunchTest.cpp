// The launch in its order, the one-time notices, the lifecycle handlers and
// the forwarders to the tablet root.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "AppTestEnvironment.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/RegisteredDefaults.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Window.h"

namespace apptest {
namespace {

using Strings = std::vector<std::string>;

class LaunchTest : public AppTest {
 protected:
  // Documents holds a user database as an older installation left it, with
  // per-verse audio of reciter 0 (which has a continuous set) installed.
  void installUserDatabase(fixtures::UserSchema schema, bool withSlicedAudio) {
    std::filesystem::create_directories(documents());
    std::string path = documents() + "/zarveldyn.db";
    fixtures::buildUserDatabase(path, schema);
    if (withSlicedAudio) {
      sqlite3* db = fixtures::openReadWrite(path);
      fixtures::exec(db, "INSERT INTO recitations (reciter, surah) VALUES (0, 36)");
      sqlite3_close(db);
    }
    defaults().setInteger(1, "UpdatedSchemav3.054");
    defaults().synchronize();
  }
};

TEST_F(LaunchTest, StepsRunInOrderAndThePromptsFollowAtTwoAndThreeSeconds) {
  // Friday 10:00, installed three days ago, per-verse audio to upgrade.
  setNow(londonTime(2026, 12, 11, 10));
  installUserDatabase(fixtures::UserSchema::Shipped, true);
  defaults().setObject(ns::Value(londonTime(2026, 12, 8, 10)), kAppInstallDate);

  auto delegate = launch();
  EXPECT_EQ(delegate->trace.list, (Strings{"createEditableCopyOfDatabaseIfNeeded", "initializeDatabase",
                                           "setupForiPad (databases open)", "resetTabbarLabels",
                                           "remindKahf after 3 s, reminders planned",
                                           "showNagScreen after 2 s, reminders planned",
                                           "showSlicedWarning after 2 s, reminders planned, sliced audio checked"}));
  EXPECT_EQ(ZarvelSDKAppDelegate::GetInstance(), delegate);
  ASSERT_NE(delegate->window(), nullptr);
  EXPECT_TRUE(delegate->window()->isKeyWindow());
  EXPECT_EQ(root->view()->superview(), delegate->window());
  EXPECT_EQ(root->view()->frame(), cg::Rect(0, 20, 1024, 748));
  EXPECT_FALSE(root->wantsFullScreenLayout());
  EXPECT_EQ(pending().size(), 3u);  // the reminders are planned during the launch
  EXPECT_TRUE(defaults().boolForKey(kCheckedSlicedAudio));
  EXPECT_EQ(visiblePanel(), nullptr);

  advance(1.99);
  EXPECT_EQ(visiblePanel(), nullptr);
  advance(0.01);  // 2.0 s: the rate prompt, then the continuous-audio warning behind it
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel()->tag(), -10);
  EXPECT_EQ(ui::ButtonPanel::queuedCount(), 1u);
  advance(0.99);
  EXPECT_EQ(ui::ButtonPanel::queuedCount(), 1u);
  advance(0.01);  // 3.0 s: the Friday alert
  EXPECT_EQ(ui::ButtonPanel::queuedCount(), 2u);

  std::vector<int> shown;
  while (ui::ButtonPanel* panel = visiblePanel()) {
    shown.push_back(panel->tag());
    panel->tapButtonAtIndex(panel->cancelButtonIndex() >= 0 ? panel->cancelButtonIndex() : 2);
    advance(1);
  }
  EXPECT_EQ(shown, (std::vector<int>{-10, 10908, 1}));
}

TEST_F(LaunchTest, FirstRunCopiesTheDatabaseAndShowsNothing) {
  auto delegate = launch();
  EXPECT_TRUE(std::filesystem::exists(documents() + "/zarveldyn.db"));
  EXPECT_EQ(ChapterInfo::dbVersion(delegate->dbConnection()), 3.24);
  advance(10);
  EXPECT_EQ(visiblePanel(), nullptr);  // a Wednesday, nothing installed, just installed
  EXPECT_TRUE(defaults().dateForKey(kAppInstallDate).has_value());
}

TEST_F(LaunchTest, UpdateNoticeOnceAfterThe324UpgradeAndNeverOnTheNextLaunch) {
  installUserDatabase(fixtures::UserSchema::At3_1, false);
  auto delegate = launch();
  EXPECT_EQ(delegate->trace.list.back(), "showUpdateNotice");  // the last step
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel()->title(), "Update Notice");
  EXPECT_EQ(visiblePanel()->message(),
            "Zarvel now supports color coded Tajweed and changing of font sizes. These can be configured from the "
            "settings screen.");
  EXPECT_EQ(visiblePanel()->buttonTitleAtIndex(0), "OK");
  EXPECT_FALSE(ZarvelSDKAppDelegate::HasUpgradedApp());
  ui::Application::shared().terminate();

  restartProcess();
  launch();
  EXPECT_EQ(visiblePanel(), nullptr);
}

TEST_F(LaunchTest, AnUnreadableUserDatabaseIsReplacedAndThePersonToldWhereItIs) {
  std::filesystem::create_directories(documents());
  std::ofstream(documents() + "/zarveldyn.db") << "not a database";
  auto delegate = launch();
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel()->tag(), 10909);
  EXPECT_EQ(visiblePanel()->title(), "Saved Data Could Not Be Read");
  std::string message = visiblePanel()->message();
  size_t at = message.find(documents() + "/zarveldyn-unreadable-");
  ASSERT_NE(at, std::string::npos) << message;
  std::string kept = message.substr(at, message.size() - at - 1);  // up to the full stop
  std::ifstream in(kept);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "not a database");
  EXPECT_TRUE(ChapterInfo::insertBookmark(delegate->dbConnection(), 1, 1, false, 0, ""));
  if (const char* keep = std::getenv("ZARVEL_KEEP_SCREENSHOT")) {
    advance(1);
    backend().screenshot(keep);
  }
  visiblePanel()->tapButtonAtIndex(0);
  advance(1);
  EXPECT_EQ(visiblePanel(), nullptr);
}

TEST_F(LaunchTest, ContinuousAudioWarningIsScheduledOncePerInstallation) {
  installUserDatabase(fixtures::UserSchema::Shipped, true);
  defaults().setBool(true, kDontNagMe);
  launch();
  advance(2);
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel()->tag(), 10908);
  visiblePanel()->tapButtonAtIndex(0);  // "No"
  advance(1);
  ui::Application::shared().terminate();

  restartProcess();
  launch();
  advance(5);
  EXPECT_EQ(visiblePanel(), nullptr);
}

TEST_F(LaunchTest, LifecycleReachesTheReadingScreenAndReschedulesTheChecks) {
  auto delegate = launch();
  advance(5);
  root->calls.list.clear();
  ZarvelSDKAppDelegate::disableSleep();

  backend().minimise();  // resigns active first
  EXPECT_EQ(root->calls.list, (Strings{"saveCurrentSurahAndVerse", "registerRemoteEvents"}));
  EXPECT_TRUE(delegate->IsInBackground);
  EXPECT_FALSE(delegate->checkedNagScreen);
  EXPECT_TRUE(ZarvelSDKAppDelegate::isSleepEnabled());
  EXPECT_FALSE(ui::IdleTimer::isDisabled());

  // Two days later the prompt comes back with the foreground.
  setNow(ns::Date::now().dateByAddingTimeInterval(2 * 86400 + 60));
  backend().restore();
  EXPECT_FALSE(delegate->IsInBackground);
  EXPECT_EQ(root->calls.list.back(), "unregisterRemoteEvents");
  EXPECT_TRUE(delegate->checkedNagScreen);
  advance(2);
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel()->tag(), -10);
}

TEST_F(LaunchTest, BackWithinTheDelayTheRatePromptShowsOnce) {
  defaults().setObject(ns::Value(ns::Date::now().dateByAddingTimeInterval(-3 * 86400)), kAppInstallDate);
  launch();
  advance(1);
  backend().minimise();
  backend().restore();
  advance(5);
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel()->tag(), -10);
  EXPECT_EQ(ui::ButtonPanel::queuedCount(), 0u);
}

TEST_F(LaunchTest, AnUnansweredRatePromptIsNotShownAgainAfterAForeground) {
  defaults().setObject(ns::Value(ns::Date::now().dateByAddingTimeInterval(-3 * 86400)), kAppInstallDate);
  launch();
  advance(3);
  ASSERT_NE(visiblePanel(), nullptr);
  ui::ButtonPanel* prompt = visiblePanel();
  backend().minimise();
  backend().restore();
  advance(3);
  EXPECT_EQ(visiblePanel(), prompt);
  EXPECT_EQ(ui::ButtonPanel::queuedCount(), 0u);

  // Answered ("Later" two days ago), it comes back with the next foreground.
  prompt->tapButtonAtIndex(2);
  advance(1);
  setNow(ns::Date::now().dateByAddingTimeInterval(2 * 86400));
  backend().minimise();
  backend().restore();
  advance(3);
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel()->tag(), -10);
}

TEST_F(LaunchTest, LocalNotificationOpensAlKahf) {
  auto delegate = install();
  delegate->didReceiveLocalNotification(ui::Application::shared(), {});
  EXPECT_EQ(root->calls.list,
            (Strings{"showSurahView(18, 1, NO, NO)", "updateSurahNameButton", "asyncSurahReload"}));
}

TEST_F(LaunchTest, ForwardersReachTheRootInTheRightOrder) {
  auto delegate = install();
  delegate->showSurahView(2, 255, true, true);
  EXPECT_EQ(root->calls.list, (Strings{"showSurahView(2, 255, YES, YES)", "updateSurahNameButton"}));
  root->calls.list.clear();
  // Callers pass surah then verse; the reading screen takes verse then surah.
  delegate->refreshSurahViewWith(2, 255);
  EXPECT_EQ(root->calls.list, (Strings{"updateBookmarkForVerse(verse 255, surah 2)"}));

  ZarvelSDKAppDelegate bare;  // no root: every forwarder does nothing
  bare.showSurahView(1, 1, false, false);
  bare.refreshSurahViewWith(1, 1);
  EXPECT_FALSE(bare.isiPadInFullScreen());
}

TEST_F(LaunchTest, TerminationClosesTheConnections) {
  auto delegate = launch();
  ASSERT_NE(delegate->dbConnection(), nullptr);
  ui::Application::shared().terminate();
  EXPECT_EQ(delegate->dbConnection(), nullptr);
  EXPECT_EQ(delegate->dbConnectionAudioDownload(), nullptr);
  EXPECT_EQ(delegate->dbConnectionStatic(), nullptr);
}

}  // namespace
}  // namespace apptest
