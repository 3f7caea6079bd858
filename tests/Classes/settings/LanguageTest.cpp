// A new interface language starts the application again: the data is closed
// first, with the workers that use it stopped and joined; a running download
// is waited for; a close that fails is said, not hidden; and the next start
// is in the chosen language.
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "Classes/core/DatabaseWorkers.h"
#include "tests/Classes/settings/SettingsFixture.h"

namespace settingstest {
namespace {

// The delegate's download flag, as a running download or installation sets it.
class DownloadState : public ZarvelSDKAppDelegate {
 public:
  using ZarvelSDKAppDelegate::isDownloading_;
};

class LanguageTest : public SettingsTest {
 protected:
  // Chooses a language on the Language screen; the quit prompt shows.
  void choose(const std::string& code) {
    auto& language = openDetail(SettingsViewController::Language, 0);
    tapRow(*language.myTableView, 1, code == "ar" ? 0 : 1);
    ASSERT_NE(alertShown(), nullptr);
    EXPECT_EQ(alertShown()->tag(), SettingsSubView::kQuitAlertTag);
    EXPECT_EQ(alertShown()->numberOfButtons(), 1);
  }

  void quit() {
    alertShown()->tapButtonAtIndex(0);
    settle(0.5);
  }

  // A new process on the same data: the settings read again from their file.
  void startAgain() {
    ui::Application::shared().setDelegate(nullptr);
    ui::Application::shared().resetForTesting();
    ui::ButtonPanel::resetForTesting();
    delegate.reset();
    testenv::forgetProcessState();
    AudioTest::launch(ui::InterfaceOrientation::LandscapeRight);
  }
};

TEST_F(LanguageTest, TheNewLanguageStartsAgainWithTheWorkersJoinedFirst) {
  launch();
  // A worker on the user database, as the search and the bookmark list run.
  sqlite3* db = user();
  std::atomic<bool> ended{false};
  std::atomic<int> queries{0};
  std::thread worker([&] {
    auto pass = DatabaseWorkers::enter();
    if (!pass) return;
    while (!DatabaseWorkers::stopRequested()) {
      ChapterInfo::getBookmarkCount(db, -1, 0);
      ++queries;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ended = true;
  });
  while (queries == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));

  choose("ar");
  EXPECT_EQ(defaults().stringForKey("PrefLang"), "ar");
  EXPECT_FALSE(ui::Application::shared().isTerminated());
  quit();
  EXPECT_TRUE(ended);  // stopped before the connections closed
  worker.join();
  EXPECT_EQ(delegate->dbConnection(), nullptr);
  EXPECT_EQ(delegate->dbConnectionStatic(), nullptr);
  EXPECT_TRUE(ui::Application::shared().isTerminated());
  EXPECT_TRUE(ui::Application::shared().relaunchRequested());

  startAgain();
  EXPECT_TRUE(ZarvelSDKAppDelegate::IsLanguageArabic());
  auto& menu = openMore();
  EXPECT_EQ(menu.lblTopLabel->text(), "المزيد");
  EXPECT_EQ(menu.tblGroups->cellForRowAtIndexPath({0, 4})->textLabel()->text(), "الإعدادات");
  picture("restarted-arabic");
}

TEST_F(LanguageTest, TheLanguageAlreadyChosenAsksToStartAgainToo) {
  launch();
  choose("en");
  quit();
  EXPECT_TRUE(ui::Application::shared().relaunchRequested());
}

// Quitting would cut a download, an installation or a removal off: the
// reader is told to wait, and everything stays open.
TEST_F(LanguageTest, ARunningDownloadIsWaitedFor) {
  launch();
  delegate.get()->*(&DownloadState::isDownloading_) = true;
  choose("ar");
  quit();
  EXPECT_FALSE(ui::Application::shared().isTerminated());
  EXPECT_NE(delegate->dbConnection(), nullptr);
  ASSERT_NE(alertShown(), nullptr);
  EXPECT_NE(alertShown()->tag(), SettingsSubView::kQuitAlertTag);
  alertShown()->tapButtonAtIndex(0);
  settle(0.3);
  EXPECT_FALSE(ui::Application::shared().isTerminated());
  delegate.get()->*(&DownloadState::isDownloading_) = false;
}

// A statement left open keeps the user database from closing: the reader is
// told before the application starts again.
TEST_F(LanguageTest, AFailedCloseIsSaidBeforeTheRestart) {
  launch();
  sqlite3_stmt* open = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(user(), "SELECT count(*) FROM bookmarks", -1, &open, nullptr), SQLITE_OK);
  choose("ar");
  quit();
  EXPECT_FALSE(ui::Application::shared().isTerminated());
  auto* alert = alertShown();
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->title(), Language::get("Zarvel Could Not Close Its Data", "Zarvel Could Not Close Its Data"));
  EXPECT_NE(alert->message().find("unfinalized"), std::string::npos) << alert->message();
  alert->tapButtonAtIndex(0);
  settle(0.3);
  EXPECT_TRUE(ui::Application::shared().isTerminated());
  EXPECT_TRUE(ui::Application::shared().relaunchRequested());
  sqlite3_finalize(open);  // the connection's deferred close completes
}

}  // namespace
}  // namespace settingstest
