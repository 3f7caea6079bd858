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
#include "tests/support/HeadlessProcess.h"

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
  // The play button asks the root for a surah's download.
  void downloadAudioForSurah(int surah) override { downloads.push_back(surah); }

  bool expanded = true;
  std::vector<std::string> calls;
  std::vector<int> downloads;
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
  void SetUp() override {
    if (!testenv::realContentBuilt()) GTEST_SKIP() << "the content database is not built";
    dir_ = testenv::prepareTestFolder("reading");
    testenv::linkBuiltResources(dir_ / "resources", {"zarvel.db", "images"});
    backend_ = std::make_unique<ui::HeadlessBackend>(kWednesday);
    testenv::forgetProcessState();
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
    return (testenv::scratchFolder("reading-shots") / name).string();
  }

  std::shared_ptr<Delegate> delegate;
  std::shared_ptr<RecordingRoot> root;

 private:
  std::filesystem::path dir_;
  std::unique_ptr<ui::HeadlessBackend> backend_;
};

}  // namespace readingtest
