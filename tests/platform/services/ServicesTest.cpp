// Platform services on the virtual clock: URL opening, the idle timer,
// background tasks, local notifications, the mail composer and device facts.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/foundation/Clock.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/services/BackgroundTask.h"
#include "platform/services/Device.h"
#include "platform/services/IdleTimer.h"
#include "platform/services/LocalNotificationScheduler.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/Application.h"

using namespace ui;

namespace {

struct RecordingDelegate : ApplicationDelegate {
  std::vector<std::string> received;
  void didReceiveLocalNotification(Application&, const LocalNotification& n) override {
    received.push_back(n.alertBody + "@" + std::to_string(static_cast<long long>(ns::Date::now().timeIntervalSince1970())));
  }
};

// A launcher that notes each URL it is handed and reports a launch.
URLOpener::Launcher recordingInto(std::vector<std::string>& launched) {
  return [&launched](const std::string& url) {
    launched.push_back(url);
    return true;
  };
}

class PlatformServices : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* base = std::getenv("ZARVEL_TEST_TMP");
    home = ns::pathJoin(base ? base : "/tmp", "services-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    ns::removeItem(home);
    ns::createDirectory(home);
    setenv("ZARVEL_HOME", home.c_str(), 1);
    clock = ns::VirtualClock::install(1767225600.0);
    auto& d = ns::UserDefaults::standardUserDefaults();
    d.resetForTesting();
    d.setFilePath(ns::pathJoin(home, "defaults.json"));
    Application::shared().resetForTesting();
    delegate = std::make_shared<RecordingDelegate>();
    Application::shared().setDelegate(delegate);
    Application::shared().launch();
    BackgroundTasks::resetForTesting();
    Device::current().resetForTesting();
  }
  void TearDown() override {
    LocalNotificationScheduler::shared().cancelAllLocalNotifications();
    URLOpener::setLauncher(nullptr);
    URLOpener::clearSchemes();
    MailComposeViewController::setHandler(nullptr);
    MailComposeViewController::setMailEnabled(true);
    BackgroundTasks::resetForTesting();
    Application::shared().resetForTesting();
    unsetenv("ZARVEL_HOME");
  }
  std::string home;
  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<RecordingDelegate> delegate;
};

}  // namespace

TEST_F(PlatformServices, OnlyWebAndMailURLsLeaveTheApplication) {
  std::vector<std::string> launched;
  URLOpener::setLauncher(recordingInto(launched));
  struct Case {
    const char* url;
    bool allowed;
  };
  const Case cases[] = {
      {"http://example.org/page", true},
      {"HTTPS://example.org", true},
      {"mailto:friend@example.org?subject=Hi", true},
      {"zarvel://2:255", false},
      {"file:///etc/passwd", false},
      {"javascript:alert(1)", false},
      {"sorvanelog://1:1", false},
      {"https://example.org/a b", false},
      {"https://example.org/\nX", false},
      {"-h", false},
      {"http:", false},
      {"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(URLOpener::canOpenURL(c.url), c.allowed) << c.url;
    EXPECT_EQ(URLOpener::openURL(c.url), c.allowed) << c.url;
  }
  EXPECT_EQ(launched.size(), 3u);
  EXPECT_FALSE(URLOpener::canOpenURL("https://" + std::string(URLOpener::kMaxLength, 'a')));
}

// A mail link leaves without the fields that make some mail clients attach a
// local file; every other field stays as it was.
TEST_F(PlatformServices, MailLinksLeaveWithoutAttachmentFields) {
  std::vector<std::string> launched;
  URLOpener::setLauncher(recordingInto(launched));
  struct Case {
    const char* url;
    const char* opened;
  } cases[] = {
      {"mailto:a@example.org?subject=Hi&attach=/home/u/.ssh/id_rsa&body=x", "mailto:a@example.org?subject=Hi&body=x"},
      {"mailto:a@example.org?ATTACHMENT=%2Fetc%2Fpasswd", "mailto:a@example.org"},
      {"MAILTO:a@example.org?att%61ch=file:///etc/passwd&Attach=/x&cc=b@example.org",
       "MAILTO:a@example.org?cc=b@example.org"},
      {"mailto:a@example.org?subject=attach=1", "mailto:a@example.org?subject=attach=1"},
      {"mailto:a@example.org", "mailto:a@example.org"},
      {"https://example.org/?attach=/etc/passwd", "https://example.org/?attach=/etc/passwd"},
  };
  for (const auto& c : cases) EXPECT_TRUE(URLOpener::openURL(c.url)) << c.url;
  ASSERT_EQ(launched.size(), std::size(cases));
  for (size_t i = 0; i < launched.size(); ++i) EXPECT_EQ(launched[i], cases[i].opened);
}

TEST_F(PlatformServices, AnApplicationSchemeOpensOnlyThroughItsRegisteredHandler) {
  std::vector<std::string> desktop, sorvane;
  URLOpener::setLauncher(recordingInto(desktop));
  EXPECT_FALSE(URLOpener::canOpenURL("sorvanelog://1:1"));
  URLOpener::registerScheme("sorvanelog", [&](const std::string& url) {
    sorvane.push_back(url);
    return true;
  });
  EXPECT_TRUE(URLOpener::canOpenURL("sorvanelog://1:1"));
  EXPECT_TRUE(URLOpener::openURL("SorvaneLog://2:255"));
  EXPECT_FALSE(URLOpener::canOpenURL("sorvanelog://a b"));
  EXPECT_FALSE(URLOpener::canOpenURL("sorvanelog:"));
  EXPECT_FALSE(URLOpener::canOpenURL("twitter://post?message=test"));
  EXPECT_TRUE(URLOpener::openURL("https://example.org"));
  URLOpener::registerScheme("sorvanelog", nullptr);
  EXPECT_FALSE(URLOpener::openURL("sorvanelog://1:1"));
  EXPECT_EQ(sorvane, std::vector<std::string>{"SorvaneLog://2:255"});
  EXPECT_EQ(desktop, std::vector<std::string>{"https://example.org"});
}

TEST_F(PlatformServices, IdleTimerTellsTheBackendOfChangesOnly) {
  std::vector<bool> seen;
  IdleTimer::setDisabled(false);
  IdleTimer::setObserver([&](bool d) { seen.push_back(d); });
  IdleTimer::setDisabled(true);
  IdleTimer::setDisabled(true);
  IdleTimer::setDisabled(false);
  IdleTimer::setObserver(nullptr);
  EXPECT_EQ(seen, (std::vector<bool>{false, true, false}));
}

TEST_F(PlatformServices, BackgroundTasksGetDistinctIdsAndExpireOnceInTheBackground) {
  int expired1 = 0, expired2 = 0;
  auto a = BackgroundTasks::beginBackgroundTaskWithExpirationHandler([&] { ++expired1; });
  auto b = BackgroundTasks::beginBackgroundTaskWithExpirationHandler([&] { ++expired2; });
  EXPECT_NE(a, BackgroundTaskInvalid);
  EXPECT_NE(b, BackgroundTaskInvalid);
  EXPECT_NE(a, b);
  EXPECT_EQ(BackgroundTasks::openTaskCount(), 2u);
  BackgroundTasks::endBackgroundTask(b);
  BackgroundTasks::endBackgroundTask(b);
  BackgroundTasks::endBackgroundTask(BackgroundTaskInvalid);
  EXPECT_EQ(BackgroundTasks::openTaskCount(), 1u);

  clock->advance(2000);  // in the foreground nothing expires
  EXPECT_EQ(expired1, 0);
  Application::shared().enterBackground();
  clock->advance(599);
  EXPECT_NEAR(BackgroundTasks::backgroundTimeRemaining(), 1, 1e-6);
  EXPECT_EQ(expired1, 0);
  clock->advance(2);
  EXPECT_EQ(expired1, 1);
  EXPECT_EQ(expired2, 0);
  EXPECT_EQ(BackgroundTasks::openTaskCount(), 0u);
  clock->advance(1000);
  EXPECT_EQ(expired1, 1);
}

TEST_F(PlatformServices, BackgroundTasksComingBackToTheForegroundStopsTheExpiry) {
  int expired = 0;
  BackgroundTasks::beginBackgroundTaskWithExpirationHandler([&] { ++expired; });
  Application::shared().enterBackground();
  clock->advance(300);
  Application::shared().enterForeground();
  clock->advance(1000);
  EXPECT_EQ(expired, 0);
}

TEST_F(PlatformServices, BackgroundTasksWithoutMultitaskingAreInvalid) {
  Device::current().setMultitaskingSupported(false);
  int expired = 0;
  EXPECT_EQ(BackgroundTasks::beginBackgroundTaskWithExpirationHandler([&] { ++expired; }),
            BackgroundTaskInvalid);
  EXPECT_EQ(BackgroundTasks::openTaskCount(), 0u);
}

TEST_F(PlatformServices, LocalNotificationsFireAtTheirDateInOrder) {
  auto& s = LocalNotificationScheduler::shared();
  s.reload();
  double t0 = clock->now();
  s.scheduleLocalNotification({ns::Date(t0 + 100), "second", "", "", {}});
  s.scheduleLocalNotification({ns::Date(t0 + 50), "first", "", "", ns::Value(ns::Dictionary{{"surah", 18}})});
  ASSERT_EQ(s.scheduledLocalNotifications().size(), 2u);
  EXPECT_EQ(s.scheduledLocalNotifications()[0].alertBody, "first");
  clock->advance(49);
  EXPECT_TRUE(delegate->received.empty());
  clock->advance(60);
  auto t = [&](int d) { return std::to_string(static_cast<long long>(t0) + d); };
  EXPECT_EQ(delegate->received, (std::vector<std::string>{"first@" + t(50), "second@" + t(100)}));
  EXPECT_TRUE(s.scheduledLocalNotifications().empty());
}

TEST_F(PlatformServices, LocalNotificationsPersistAcrossARestartAndCanBeCancelled) {
  auto& s = LocalNotificationScheduler::shared();
  s.reload();
  double t0 = clock->now();
  LocalNotification keep{ns::Date(t0 + 7 * 86400), "Read Al-Kahf", "Read", "", ns::Value(ns::Dictionary{{"surah", 18}})};
  LocalNotification drop{ns::Date(t0 + 8 * 86400), "other", "", "", {}};
  LocalNotification past{ns::Date(t0 + 10), "missed", "", "", {}};
  s.scheduleLocalNotification(keep);
  s.scheduleLocalNotification(drop);
  s.scheduleLocalNotification(past);
  s.cancelLocalNotification(drop);

  // A new process: the defaults are read again from their file; the one whose
  // date passed while nothing ran is gone.
  ns::RunLoop::resetForTesting(clock);
  clock->setNow(t0 + 3600);
  ns::UserDefaults::standardUserDefaults().reload();
  s.reload();
  auto list = s.scheduledLocalNotifications();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0], keep);
  EXPECT_EQ(list[0].userInfo["surah"].intValue(), 18);
  clock->advance(7 * 86400);
  EXPECT_EQ(delegate->received.size(), 1u);

  s.scheduleLocalNotification(drop);
  s.cancelAllLocalNotifications();
  clock->advance(30 * 86400);
  EXPECT_EQ(delegate->received.size(), 1u);
  EXPECT_TRUE(ns::UserDefaults::standardUserDefaults().arrayForKey(LocalNotificationScheduler::kDefaultsKey).empty());
}

namespace {
struct MailDelegate : MailComposeViewControllerDelegate {
  std::vector<std::pair<MailComposeResult, std::string>> results;
  void mailComposeController(MailComposeViewController&, MailComposeResult r, const std::string& e) override {
    results.emplace_back(r, e);
  }
};
}  // namespace

TEST_F(PlatformServices, MailComposerWritesTheMessageAndReportsTheHandlersResult) {
  std::string handedPath;
  MailComposeViewController::setHandler([&](const MailMessage& m, const std::string& path, std::string&) {
    handedPath = path;
    EXPECT_EQ(m.subject, "Check out this app");
    return MailComposeResult::Sent;
  });
  ASSERT_TRUE(MailComposeViewController::canSendMail());
  auto delegate = std::make_shared<MailDelegate>();
  auto mail = std::make_shared<MailComposeViewController>();
  mail->setMailComposeDelegate(delegate);
  mail->setSubject("Check out this app");
  mail->setToRecipients({"friend@example.org", "-oops@example.org", "bad\r\nBcc: x@y"});
  mail->setMessageBody("Assalamualaikum,<br><br>I'm really enjoying using it", true);
  mail->send();
  mail->send();  // only the first answer counts
  mail->cancel();
  ASSERT_EQ(delegate->results.size(), 1u);
  EXPECT_EQ(delegate->results[0].first, MailComposeResult::Sent);
  EXPECT_EQ(handedPath, mail->writtenPath());
  EXPECT_EQ(handedPath.rfind(ns::pathJoin(ns::cachesDirectory(), "Mail"), 0), 0u);
  auto bytes = ns::readFile(handedPath, 1 << 20);
  ASSERT_TRUE(bytes);
  std::string text(bytes->begin(), bytes->end());
  EXPECT_NE(text.find("To: friend@example.org\r\n"), std::string::npos);
  EXPECT_EQ(text.find("oops"), std::string::npos);
  EXPECT_EQ(text.find("Bcc"), std::string::npos);
  EXPECT_NE(text.find("Subject: Check out this app\r\n"), std::string::npos);
  EXPECT_NE(text.find("Date: Thu, 01 Jan 2026 00:00:00 +0000\r\n"), std::string::npos);
  EXPECT_NE(text.find("Content-Type: text/html; charset=UTF-8"), std::string::npos);
}

TEST_F(PlatformServices, MailComposerResultsForCancelFailureAndNoHandler) {
  auto delegate = std::make_shared<MailDelegate>();
  MailComposeViewController::setHandler([](const MailMessage&, const std::string&, std::string& error) {
    error = "no mail program";
    return MailComposeResult::Failed;
  });
  auto cancelled = std::make_shared<MailComposeViewController>();
  cancelled->setMailComposeDelegate(delegate);
  cancelled->cancel();
  auto failed = std::make_shared<MailComposeViewController>();
  failed->setMailComposeDelegate(delegate);
  failed->send();
  ASSERT_EQ(delegate->results.size(), 2u);
  EXPECT_EQ(delegate->results[0].first, MailComposeResult::Cancelled);
  EXPECT_EQ(delegate->results[1], std::make_pair(MailComposeResult::Failed, std::string("no mail program")));

  MailComposeViewController::setMailEnabled(false);
  EXPECT_FALSE(MailComposeViewController::canSendMail());
}

namespace {

// Stand-ins for the desktop's xdg-open and xdg-email on PATH: each notes its
// arguments, then hangs until the test releases it, then fails with status 3.
class HangingDesktopPrograms {
 public:
  explicit HangingDesktopPrograms(const std::string& dir) : dir_(dir), savedPath_(std::getenv("PATH")) {
    ns::createDirectory(dir);
    mkfifo(file("release").c_str(), 0600);
    for (const char* name : {"xdg-open", "xdg-email"}) {
      std::string script = "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + file(name) + ".args'\nread answer < '" +
                           file("release") + "'\nexit 3\n";
      ns::writeFileAtomically(file(name), std::string_view(script));
      chmod(file(name).c_str(), 0755);
    }
    setenv("PATH", (dir + ":" + savedPath_).c_str(), 1);
  }
  ~HangingDesktopPrograms() { setenv("PATH", savedPath_.c_str(), 1); }

  // Lets the waiting program go on (opening the pipe waits for its reader).
  void release() {
    int fd = ::open(file("release").c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "go\n", 3), 3);
    ::close(fd);
  }
  std::string arguments(const std::string& program) const {
    auto bytes = ns::readFile(file(program) + ".args", 1 << 16);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "";
  }
  std::string file(const std::string& name) const { return ns::pathJoin(dir_, name); }

 private:
  std::string dir_;
  std::string savedPath_;
};

}  // namespace

// Without a wait the window goes on while the handler runs; a hang would
// stop this test before release() and fail it by its timeout.
TEST_F(PlatformServices, DesktopHandlersRunWithoutWaitingAndReportFailureOnTheMainThread) {
  HangingDesktopPrograms programs(ns::pathJoin(home, "bin"));
  ns::LogCapture log;
  log.setEcho(false);
  ASSERT_TRUE(URLOpener::openURL("https://example.org/page"));
  programs.release();
  ASSERT_TRUE(ns::RunLoop::main().runUntil([&] { return log.contains("xdg-open ended with status 3"); }));
  EXPECT_EQ(programs.arguments("xdg-open"), "https://example.org/page\n");
  EXPECT_TRUE(log.contains("Could not open https://example.org/page"));

  ASSERT_TRUE(MailComposeViewController::canSendMail());
  auto delegate = std::make_shared<MailDelegate>();
  auto mail = std::make_shared<MailComposeViewController>();
  mail->setMailComposeDelegate(delegate);
  mail->setSubject("Check out this app");
  mail->setToRecipients({"friend@example.org"});
  mail->send();
  mail->send();  // a second tap while the program runs starts no second one
  EXPECT_TRUE(delegate->results.empty());
  programs.release();
  ASSERT_TRUE(ns::RunLoop::main().runUntil([&] { return !delegate->results.empty(); }));
  ASSERT_EQ(delegate->results.size(), 1u);
  EXPECT_EQ(delegate->results[0],
            std::make_pair(MailComposeResult::Failed, std::string("The mail program ended with status 3.")));
  EXPECT_NE(programs.arguments("xdg-email").find("--subject\nCheck out this app\n"), std::string::npos);
  EXPECT_TRUE(ns::Thread::waitForDetachedThreads());
}

TEST(MailMessage, HeadersAreOneLineAndNonAsciiIsEncoded) {
  MailMessage m;
  m.subject = "Salam\r\nBcc: evil@example.org ☾";
  m.toRecipients = {"a@example.org", "b@example.org"};
  m.body = "x";
  m.attachments.push_back({ns::Data{'P', 'N', 'G'}, "image/png", "pic\".png"});
  std::string text = rfc5322Text(m, 0, "me@example.org");
  EXPECT_NE(text.find("To: a@example.org, b@example.org\r\n"), std::string::npos);
  EXPECT_NE(text.find("Subject: =?UTF-8?B?"), std::string::npos);
  EXPECT_EQ(text.find("\r\nBcc:"), std::string::npos);
  EXPECT_NE(text.find("multipart/mixed"), std::string::npos);
  EXPECT_NE(text.find("filename=\"pic_.png\""), std::string::npos);
  EXPECT_NE(text.find("UE5H\r\n"), std::string::npos);  // base64 of "PNG"
  EXPECT_EQ(plainTextOfHTML("a<br>b &amp; <a href=\"x\">link</a>"), "a\nb & link");
}

TEST_F(PlatformServices, DeviceIsATabletWithMultitasking) {
  auto& d = Device::current();
  EXPECT_EQ(d.model().rfind("iPad", 0), 0u);
  EXPECT_EQ(d.userInterfaceIdiom(), UserInterfaceIdiom::Pad);
  EXPECT_TRUE(d.isMultitaskingSupported());
  EXPECT_EQ(d.screenScale(), 1.0f);
  EXPECT_EQ(d.systemVersion(), "5.1");
}
