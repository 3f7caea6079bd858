#pragma once
// A fresh application per test: files under a temporary ZARVEL_HOME, fixture
// databases as the bundle's resources, the headless backend on a virtual
// clock in London time, a tablet root that records what it is asked, and a
// delegate that records its launch steps and the download calls.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Classes/core/Language.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/Calendar.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/services/BackgroundTask.h"
#include "platform/services/Device.h"
#include "platform/services/IdleTimer.h"
#include "platform/services/LocalNotificationScheduler.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/ButtonPanel.h"
#include "tests/support/HeadlessProcess.h"

namespace apptest {

struct Calls {
  std::vector<std::string> list;
  void add(std::string call) { list.push_back(std::move(call)); }
};

class FakeSurah : public SurahViewController {
 public:
  explicit FakeSurah(Calls& calls) : calls_(calls) {}
  void saveCurrentSurahAndVerse() override { calls_.add("saveCurrentSurahAndVerse"); }
  void registerRemoteEvents() override { calls_.add("registerRemoteEvents"); }
  void unregisterRemoteEvents() override { calls_.add("unregisterRemoteEvents"); }
  void updateSurahNameButton() override { calls_.add("updateSurahNameButton"); }
  void asyncSurahReload() override { calls_.add("asyncSurahReload"); }
  void updateBookmarkForVerse(int verse, int surah) override {
    calls_.add(ns::format("updateBookmarkForVerse(verse %d, surah %d)", verse, surah));
  }

 private:
  Calls& calls_;
};

class FakeIndex : public IndexViewController {
 public:
  explicit FakeIndex(Calls& calls) : calls_(calls) {}
  void showSurahView(const void*, int surah, int verse, bool play, bool animated) override {
    calls_.add(ns::format("showSurahView(%d, %d, %s, %s)", surah, verse, play ? "YES" : "NO", animated ? "YES" : "NO"));
  }

 private:
  Calls& calls_;
};

class FakeRoot : public iPadRootViewController {
 public:
  FakeRoot()
      : surah_(std::make_shared<FakeSurah>(calls)), index_(std::make_shared<FakeIndex>(calls)) {}
  std::shared_ptr<SurahViewController> viewContSurah() const override { return surah_; }
  std::shared_ptr<IndexViewController> viewContIndex() const override { return index_; }
  void bringIndexToView() override { calls.add("bringIndexToView"); }
  void loadView() override {
    iPadRootViewController::loadView();
    view()->setBackgroundColor(cg::Color::fromRGB255(244, 238, 224));
  }
  Calls calls;

 private:
  std::shared_ptr<FakeSurah> surah_;
  std::shared_ptr<FakeIndex> index_;
};

// Records the launch steps (and whether the databases were open at each) and
// the download operations, which are not built yet.
class RecordingDelegate : public ZarvelSDKAppDelegate {
 public:
  void createEditableCopyOfDatabaseIfNeeded() override {
    trace.add("createEditableCopyOfDatabaseIfNeeded");
    ZarvelSDKAppDelegate::createEditableCopyOfDatabaseIfNeeded();
  }
  void initializeDatabase() override {
    trace.add("initializeDatabase");
    ZarvelSDKAppDelegate::initializeDatabase();
  }
  void setupForiPad() override {
    trace.add(dbConnection() && dbConnectionStatic() ? "setupForiPad (databases open)" : "setupForiPad");
    ZarvelSDKAppDelegate::setupForiPad();
  }
  void resetTabbarLabels() override {
    trace.add("resetTabbarLabels");
    ZarvelSDKAppDelegate::resetTabbarLabels();
  }
  // The delayed calls and the notice, noting what the steps before them left.
  void performAfterDelay(const std::string& name, double delay, std::function<void()> fn) override {
    bool planned = !ui::LocalNotificationScheduler::shared().scheduledLocalNotifications().empty();
    bool checked = ns::UserDefaults::standardUserDefaults().boolForKey("CheckedSlicedAudio");
    trace.add(ns::format("%s after %g s%s%s", name.c_str(), delay, planned ? ", reminders planned" : "",
                         checked ? ", sliced audio checked" : ""));
    ZarvelSDKAppDelegate::performAfterDelay(name, delay, std::move(fn));
  }
  void showUpdateNotice() override {
    trace.add("showUpdateNotice");
    ZarvelSDKAppDelegate::showUpdateNotice();
  }
  void showIndexViewAndBeginDownloading() override { downloads.add("showIndexViewAndBeginDownloading"); }
  void requestDownloadSurahAudioAlert(int surah) override {
    downloads.add(ns::format("requestDownloadSurahAudioAlert(%d)", surah));
  }
  void requestDownloadServerSelection(int surah) override {
    downloads.add(ns::format("requestDownloadServerSelection(%d)", surah));
  }
  void downloadSurahAudioAlert(int surah) override { downloads.add(ns::format("downloadSurahAudioAlert(%d)", surah)); }
  void downloadAllSurahAudio() override { downloads.add("downloadAllSurahAudio"); }
  void cancelDownload() override { downloads.add("cancelDownload"); }

  Calls trace;
  Calls downloads;
};

// 2026-12-11 is a Friday; London is on GMT in December, on BST until 25 October.
inline ns::Date londonTime(int year, int month, int day, int hour, int minute = 0) {
  ns::DateComponents c;
  c.year = year;
  c.month = month;
  c.day = day;
  c.hour = hour;
  c.minute = minute;
  return ns::Calendar::dateFromComponents(c);
}

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testenv::prepareTestFolder("app");
    testenv::copyFixtureContent(dir_ / "resources");

    ns::Calendar::setTimeZoneForTesting("Europe/London");
    backend_ = std::make_unique<ui::HeadlessBackend>(londonTime(2026, 12, 9, 10).timeIntervalSince1970());
    restartProcess();
    ui::MailComposeViewController::setMailEnabled(true);
    // A mail handler as a desktop with a mail program has one.
    ui::MailComposeViewController::setHandler(
        [](const ui::MailMessage&, const std::string&, std::string&) { return ui::MailComposeResult::Sent; });
    ui::URLOpener::setLauncher([this](const std::string& url) {
      openedURLs.push_back(url);
      return true;
    });
  }

  void TearDown() override {
    ui::Application::shared().resetForTesting();
    ui::ButtonPanel::resetForTesting();
    ui::URLOpener::setLauncher(nullptr);
    ui::MailComposeViewController::setHandler(nullptr);
    backend_.reset();
    ns::Calendar::setTimeZoneForTesting("");
    std::filesystem::remove_all(dir_);
  }

  // What a new process starts with: the settings store read again and every
  // class-level state and platform service forgotten.
  void restartProcess() {
    testenv::forgetProcessState();
    ui::IdleTimer::setDisabled(false);
    ui::LocalNotificationScheduler::shared().reload();
  }

  // A delegate with the recording root, not launched.
  std::shared_ptr<RecordingDelegate> makeDelegate() {
    auto delegate = std::make_shared<RecordingDelegate>();
    root = std::make_shared<FakeRoot>();
    delegate->setIpadRootViewController(root);
    return delegate;
  }

  // A delegate that the application holds (GetInstance finds it), launched.
  std::shared_ptr<RecordingDelegate> launch() {
    auto delegate = makeDelegate();
    backend_->launch(delegate);
    return delegate;
  }

  // Makes the delegate the application's without launching it.
  std::shared_ptr<RecordingDelegate> install() {
    auto delegate = makeDelegate();
    ui::Application::shared().setDelegate(delegate);
    return delegate;
  }

  void setNow(ns::Date date) { backend_->clock().setNow(date.timeIntervalSince1970()); }
  void advance(double seconds) { backend_->advance(seconds); }
  ui::HeadlessBackend& backend() { return *backend_; }

  std::string documents() const { return (dir_ / "home" / "documents").string(); }
  std::string resources() const { return (dir_ / "resources").string(); }
  static ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }
  static std::vector<ui::LocalNotification> pending() {
    return ui::LocalNotificationScheduler::shared().scheduledLocalNotifications();
  }
  static ui::ButtonPanel* visiblePanel() { return ui::ButtonPanel::visiblePanel(); }

  std::shared_ptr<FakeRoot> root;
  std::vector<std::string> openedURLs;

 private:
  std::filesystem::path dir_;
  std::unique_ptr<ui::HeadlessBackend> backend_;
};

}  // namespace apptest
