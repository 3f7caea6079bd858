// The delegate's services: the screen-sleep counter, background tasks, the
// dictionaries in Documents, the shutdown while a search runs on a worker,
// and the prompts as a person sees them in a headless screenshot.
#include <sys/resource.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "AppTestEnvironment.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/DatabaseWorkers.h"
#include "Classes/core/RegisteredDefaults.h"
#include "Classes/glyphs/ArabicFont.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Thread.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Window.h"

namespace apptest {
namespace {

class ServicesTest : public AppTest {};

enum Op { Disable, Enable, Reset };

struct SleepCase {
  const char* name;
  bool disableDeviceSleep;
  std::vector<Op> ops;
  int counter;
  bool idleTimerDisabled;
};

TEST_F(ServicesTest, SleepCounterTable) {
  const std::vector<SleepCase> cases = {
      {"one holder", false, {Disable}, 1, true},
      {"two holders, one leaves", false, {Disable, Disable, Enable}, 1, true},
      {"both leave", false, {Disable, Disable, Enable, Enable}, 0, false},
      {"more leaves than holders", false, {Disable, Enable, Enable, Enable}, 0, false},
      {"reset", false, {Disable, Disable, Reset}, 0, false},
      {"setting keeps the screen on", true, {Disable, Enable}, 0, true},
      {"setting: the counter goes below 0", true, {Disable, Enable, Enable}, -1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ZarvelSDKAppDelegate::resetSleep();
    defaults().setBool(c.disableDeviceSleep, kDisableDeviceSleep);
    for (Op op : c.ops) {
      if (op == Disable) ZarvelSDKAppDelegate::disableSleep();
      if (op == Enable) ZarvelSDKAppDelegate::enableSleep();
      if (op == Reset) ZarvelSDKAppDelegate::resetSleep();
    }
    EXPECT_EQ(ZarvelSDKAppDelegate::sleepCounter(), c.counter);
    EXPECT_EQ(ZarvelSDKAppDelegate::isSleepEnabled(), c.counter <= 0);
    EXPECT_EQ(ui::IdleTimer::isDisabled(), c.idleTimerDisabled);
  }
}

TEST_F(ServicesTest, BackgroundTaskBegunTwiceKeepsOneOpen) {
  auto delegate = install();
  ns::LogCapture log;
  delegate->beginBackgroundTask(1);
  auto first = delegate->bgDownloadAudio;
  delegate->beginBackgroundTask(1);
  EXPECT_NE(delegate->bgDownloadAudio, first);
  EXPECT_EQ(ui::BackgroundTasks::openTaskCount(), 1u);
  EXPECT_TRUE(delegate->isTaskAlreadyInBackground(1));
  EXPECT_FALSE(delegate->isTaskAlreadyInBackground(2));
  EXPECT_FALSE(delegate->isTaskAlreadyInBackground(3));
  EXPECT_TRUE(log.contains("[BG SUPP] Requesting DOWNLOAD AUDIO Entry Task"));
  EXPECT_TRUE(log.contains("[BG SUPP] Cleanly closing background entry task"));

  delegate->endBackgroundTask(1);
  EXPECT_EQ(ui::BackgroundTasks::openTaskCount(), 0u);
  EXPECT_EQ(delegate->bgDownloadAudio, ui::BackgroundTaskInvalid);
  EXPECT_TRUE(log.contains("[BG SUPP] Cleanly closing DOWNLOAD AUDIO entry task"));
}

TEST_F(ServicesTest, EndingWithoutATaskLogsNothing) {
  auto delegate = install();
  ns::LogCapture log;
  delegate->endBackgroundTask(2);
  delegate->beginBackgroundTask(7);
  EXPECT_TRUE(log.lines().empty());
  EXPECT_EQ(ui::BackgroundTasks::openTaskCount(), 0u);
}

TEST_F(ServicesTest, BackgroundTaskExpiryEndsIt) {
  auto delegate = launch();
  ns::LogCapture log;
  delegate->beginBackgroundTask(2);
  backend().minimise();
  advance(ui::BackgroundTasks::kBackgroundTime + 1);
  EXPECT_TRUE(log.contains("[BG SUPP] FORCE CLOSING DELETING AUDIO ENTRY TASK - EXPIRATION HANDLED"));
  EXPECT_EQ(delegate->bgDeletingAudio, ui::BackgroundTaskInvalid);
  EXPECT_EQ(ui::BackgroundTasks::openTaskCount(), 0u);
}

TEST_F(ServicesTest, WithoutMultitaskingBackgroundTasksDoNothing) {
  ui::Device::current().setMultitaskingSupported(false);
  auto delegate = install();
  ns::LogCapture log;
  delegate->beginBackgroundTask(1);
  EXPECT_EQ(delegate->bgDownloadAudio, ui::BackgroundTaskInvalid);
  EXPECT_TRUE(delegate->isTaskAlreadyInBackground(1));
  EXPECT_TRUE(delegate->isTaskAlreadyInBackground(3));
  EXPECT_TRUE(log.lines().empty());
}

TEST_F(ServicesTest, DictionariesInDocuments) {
  ns::Dictionary dict{{"surah", ns::Value(18)}, {"name", ns::Value("Al-Kahf")}};
  ASSERT_TRUE(ZarvelSDKAppDelegate::saveDictionaryToDisk(dict, "state.plist"));
  EXPECT_EQ(ZarvelSDKAppDelegate::getDictionaryFromFile("state.plist"), dict);
  ns::Dictionary other{{"surah", ns::Value(2)}};
  ASSERT_TRUE(ZarvelSDKAppDelegate::saveDictionaryToDisk(other, "state.plist"));
  EXPECT_EQ(ZarvelSDKAppDelegate::getDictionaryFromFile("state.plist"), other);
  EXPECT_FALSE(std::filesystem::exists(documents() + "/state.plist.tmp"));

  for (const char* name : {"../escape.plist", "a/b.plist", "..", "x..y", ""}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(ZarvelSDKAppDelegate::saveDictionaryToDisk(dict, name));
    EXPECT_EQ(ZarvelSDKAppDelegate::getDictionaryFromFile(name), std::nullopt);
  }
  EXPECT_FALSE(std::filesystem::exists(documents() + "/../escape.plist"));
  EXPECT_EQ(ZarvelSDKAppDelegate::getDictionaryFromFile("missing.plist"), std::nullopt);
  std::filesystem::create_directories(documents());
  { std::ofstream(documents() + "/broken.plist") << "not a dictionary"; }
  EXPECT_EQ(ZarvelSDKAppDelegate::getDictionaryFromFile("broken.plist"), std::nullopt);
}

// A disk that fills up halfway through a write: files may grow to `bytes`, and
// a write past that fails (EFBIG) instead of stopping the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{bytes, saved_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit saved_{};
  void (*oldHandler_)(int) = nullptr;
};

TEST_F(ServicesTest, ADictionaryThatCannotBeWrittenWholeLeavesThePreviousFile) {
  ns::Dictionary before{{"surah", ns::Value(18)}};
  ASSERT_TRUE(ZarvelSDKAppDelegate::saveDictionaryToDisk(before, "state.plist"));
  ns::Dictionary large{{"notes", ns::Value(std::string(256 * 1024, 'n'))}};
  {
    FileSizeLimit limit(64 * 1024);
    EXPECT_FALSE(ZarvelSDKAppDelegate::saveDictionaryToDisk(large, "state.plist"));
  }
  EXPECT_EQ(ZarvelSDKAppDelegate::getDictionaryFromFile("state.plist"), before);
  EXPECT_EQ(ns::contentsOfDirectory(documents()), (std::vector<std::string>{"state.plist"}));
}

TEST_F(ServicesTest, FinalizeViewStopsASearchRunningOnAWorker) {
  auto delegate = launch();
  std::atomic<int> searches{0};
  std::atomic<int> handedBack{0};
  std::atomic<bool> started{false};
  sqlite3* content = delegate->dbConnectionStatic();
  sqlite3* user = delegate->dbConnection();
  ns::Thread worker("search", [&] {
    auto pass = DatabaseWorkers::enter();
    started = true;
    if (!pass) return;
    while (!DatabaseWorkers::stopRequested()) {
      bool limit = false;
      auto results = ChapterInfo::getSearchResults(content, 1, "mercy", &limit);
      ChapterInfo::isBookmarked(user, 2, 255);
      ++searches;
      // Hands the results back and waits for the main thread, holding its pass.
      ns::performOnMainAndWait([&] { ++handedBack; });
    }
  });
  ASSERT_TRUE(ns::RunLoop::main().runUntil([&] { return searches.load() > 2; }, 10));

  delegate->finalizeView();
  EXPECT_EQ(DatabaseWorkers::activeCount(), 0);
  EXPECT_EQ(delegate->dbConnection(), nullptr);
  EXPECT_EQ(delegate->dbConnectionStatic(), nullptr);
  EXPECT_FALSE(DatabaseWorkers::enter().has_value());  // no worker starts on closed connections
  worker.join();
  EXPECT_GT(handedBack.load(), 0);
}

TEST_F(ServicesTest, AlertsAppearInTheHeadlessScreenshot) {
  defaults().setBool(true, kDontNagMe);
  auto delegate = launch();
  advance(5);
  auto before = delegate->window()->snapshot();
  setNow(londonTime(2026, 12, 11, 10));
  ZarvelSDKAppDelegate::RemindAlKahfNow();
  ASSERT_NE(visiblePanel(), nullptr);
  advance(1);
  std::string path = documents() + "/alert.png";
  std::filesystem::create_directories(documents());
  ASSERT_TRUE(backend().screenshot(path));
  auto shot = cg::Image::fromPNGData(*ns::readFile(path, 64 << 20));
  ASSERT_NE(shot, nullptr);
  // The middle of the screen now shows the alert over the dimmed root.
  cg::Rect panel = visiblePanel()->convertRectToView(visiblePanel()->bounds(), nullptr);
  auto centre = shot->pixelAt(static_cast<int>(panel.midX()), static_cast<int>(panel.midY()));
  auto plain = before->pixelAt(static_cast<int>(panel.midX()), static_cast<int>(panel.midY()));
  EXPECT_NE(centre, plain);
  auto corner = shot->pixelAt(5, 700);
  auto plainCorner = before->pixelAt(5, 700);
  EXPECT_LT(corner.r, plainCorner.r);  // dimmed
  if (const char* keep = std::getenv("ZARVEL_KEEP_SCREENSHOT")) std::filesystem::copy_file(path, keep, std::filesystem::copy_options::overwrite_existing);
}

TEST_F(ServicesTest, SharedFontIsMadeOnTheMainThreadAndKeptWhateverTheResolution) {
  launch();
  std::shared_ptr<ArabicFont> fromWorker;
  std::atomic<bool> done{false};
  ns::Thread worker("font", [&] {
    fromWorker = ZarvelSDKAppDelegate::getSharedArabicFontLoader(1, false);
    done = true;
  });
  ASSERT_TRUE(ns::RunLoop::main().runUntil([&] { return done.load(); }, 10));
  worker.join();
  ASSERT_NE(fromWorker, nullptr);
  EXPECT_EQ(ZarvelSDKAppDelegate::getSharedArabicFontLoader(3, false), fromWorker);
  auto recreated = ZarvelSDKAppDelegate::getSharedArabicFontLoader(3, true);
  EXPECT_NE(recreated, fromWorker);
  EXPECT_EQ(ZarvelSDKAppDelegate::getSharedArabicFontLoader(1, false), recreated);

  std::weak_ptr<ArabicFont> held = recreated;
  recreated.reset();
  fromWorker.reset();
  ZarvelSDKAppDelegate::GetInstance()->finalizeView();
  EXPECT_TRUE(held.expired());  // the shutdown releases it
}

struct DeviceCase {
  const char* systemVersion;
  bool iPad, os4, os5;
};

TEST_F(ServicesTest, DeviceChecksBySystemVersion) {
  const std::vector<DeviceCase> cases = {
      {"3.2", true, false, false}, {"4.3", true, true, false}, {"5.1", true, true, true}, {"6.0", true, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.systemVersion);
    ZarvelSDKAppDelegate::ResetAppStateForTesting();
    ui::Device::current().setSystemVersion(c.systemVersion);
    EXPECT_EQ(ZarvelSDKAppDelegate::IsDeviceIPad(), c.iPad);
    EXPECT_EQ(ZarvelSDKAppDelegate::IsIPhoneOS4(), c.os4);
    EXPECT_EQ(ZarvelSDKAppDelegate::IsIPhoneOS5(), c.os5);
    ui::Device::current().setSystemVersion("3.1");  // cached for the process
    EXPECT_EQ(ZarvelSDKAppDelegate::IsIPhoneOS4(), c.os4);
  }
  EXPECT_FALSE(ZarvelSDKAppDelegate::IsDeviceRetina());
}

}  // namespace
}  // namespace apptest
