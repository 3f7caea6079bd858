#pragma once
// The reading screen headless on the virtual clock, with the real content
// database of the build (glyphs, texts, marks) and a fixture user database:
// the application is launched with the stand-in root, whose answers to the
// screen a test can change and whose calls from the screen it records.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Classes/app/ReadingRootViewController.h"
#include "Classes/core/Language.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/services/BackgroundTask.h"
#include "platform/services/Device.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "tests/Classes/core/Fixtures.h"

namespace readingtest {

class RecordingRoot : public ReadingRootViewController {
 public:
  bool isFloatingViewExpanded() override { return expanded; }
  bool isFloatingViewExpanded() const override { return expanded; }
  void highlightVerse(int verse, bool jump, bool animated, bool force) override {
    calls.push_back(ns::format("highlightVerse(%d)", verse));
    (void)jump, (void)animated, (void)force;
  }
  void highlightForPlayingVerse(int verse, bool stop) override {
    calls.push_back(ns::format("highlightForPlayingVerse(%d, %s)", verse, stop ? "YES" : "NO"));
  }
  void tryAndUpdateIndexRowSelection() override { calls.push_back("tryAndUpdateIndexRowSelection"); }
  float getMaxVerseHeightForCurrentSurah(int verse) override { return 100.0f + float(verse); }

  bool expanded = true;
  std::vector<std::string> calls;
};

// Records the download offers, which the download code answers.
class Delegate : public ZarvelSDKAppDelegate {
 public:
  void requestDownloadSurahAudioAlert(int surah) override { offers.push_back(surah); }
  std::vector<int> offers;
};

// A Wednesday: no Friday reminder comes over the screen.
inline constexpr double kWednesday = 1.8e9 + 5 * 86400;

class ReadingTest : public ::testing::Test {
 protected:
  static std::string realContentDatabase() { return std::string(ZARVEL_RESOURCE_DIR) + "/zarvel.db"; }

  void SetUp() override {
    if (!std::filesystem::exists(realContentDatabase())) GTEST_SKIP() << "the content database is not built";
    const char* tmp = std::getenv("ZARVEL_TEST_TMP");
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::path(tmp ? tmp : "/tmp") / "reading" /
           (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "resources");
    setenv("ZARVEL_HOME", (dir_ / "home").c_str(), 1);
    setenv("ZARVEL_RESOURCES", (dir_ / "resources").c_str(), 1);
    for (const char* var : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) unsetenv(var);
    setenv("LANG", "en_GB.UTF-8", 1);
    fixtures::buildUserDatabase((dir_ / "resources" / "zarveldyn.db").string(), fixtures::UserSchema::Shipped);
    std::filesystem::create_symlink(realContentDatabase(), dir_ / "resources" / "zarvel.db");
    std::filesystem::create_directory_symlink(std::string(ZARVEL_RESOURCE_DIR) + "/images",
                                              dir_ / "resources" / "images");
    backend_ = std::make_unique<ui::HeadlessBackend>(kWednesday);
    ui::Application::shared().resetForTesting();
    ui::ButtonPanel::resetForTesting();
    ns::UserDefaults::standardUserDefaults().resetForTesting();
    ns::UserDefaults::standardUserDefaults().reload();
    Language::resetForTesting();
    ZarvelSDKAppDelegate::ResetClassStateForTesting();
    ZarvelSDKAppDelegate::ResetAppStateForTesting();
    ZarvelSDKAppDelegate::initialize();
    ui::BackgroundTasks::resetForTesting();
    ui::Device::current().resetForTesting();
  }

  void TearDown() override {
    ui::Animator::finishAll();
    ui::Application::shared().resetForTesting();
    ui::ButtonPanel::resetForTesting();
    backend_.reset();
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }

  // Launches the application with the recording root; the screen opens on
  // the defaults' surah and verse.
  void launch() {
    delegate = std::make_shared<Delegate>();
    root = std::make_shared<RecordingRoot>();
    delegate->setIpadRootViewController(root);
    backend_->launch(delegate);
    settle();
  }

  // Lets the deferred phases and the animations run.
  void settle(double seconds = 1.0) {
    backend_->advance(seconds);
    ns::RunLoop::main().runUntilIdle();
  }

  // Opens a surah as the index does: the quick phase, then the rebuild.
  void open(int surah, int verse) {
    screen().setupBasicSurah(surah, verse, false);
    screen().asyncSurahReload();
    settle(0.5);
  }

  void setTranslation(int translation) {
    defaults().setInteger(translation, "CurrentTranslationPrimary");
    defaults().setInteger(translation, "CurrentTranslationv22");
    if (translation == 0) defaults().setInteger(0, "CurrentTranslationSecondary");
  }

  SurahViewController& screen() { return *root->reading(); }
  static ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }
  ui::HeadlessBackend& backend() { return *backend_; }
  std::string shotPath(const std::string& name) {
    const char* tmp = std::getenv("ZARVEL_TEST_TMP");
    auto folder = std::filesystem::path(tmp ? tmp : "/tmp") / "reading-shots";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
  }

  std::shared_ptr<Delegate> delegate;
  std::shared_ptr<RecordingRoot> root;

 private:
  std::filesystem::path dir_;
  std::unique_ptr<ui::HeadlessBackend> backend_;
};

}  // namespace readingtest
