#pragma once
// The application shell headless on the virtual clock, with the real content
// database of the build and a fixture user database: the application is
// launched with the shell's root built as the main interface builds it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Classes/app/MainInterface.h"
#include "Classes/core/Language.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/reading/SurahViewCell.h"
#include "Classes/shell/EventInterceptWindow.h"
#include "Classes/shell/SurahTranslationViewController.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/services/BackgroundTask.h"
#include "platform/services/Device.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/Screen.h"
#include "tests/support/HeadlessProcess.h"

namespace shelltest {

// A Wednesday: no Friday reminder comes over the screen.
inline constexpr double kWednesday = 1.8e9 + 5 * 86400;

class ShellTest : public ::testing::Test {
 public:
  // A new process's state, for a test that launches again.
  void restart() {
    TearDown();
    SetUp();
  }

 protected:
  void SetUp() override {
    if (!testenv::realContentBuilt()) GTEST_SKIP() << "the content database is not built";
    dir_ = testenv::prepareTestFolder("shell");
    testenv::linkBuiltResources(dir_ / "resources", {"zarvel.db", "images"});
    backend_ = std::make_unique<ui::HeadlessBackend>(kWednesday);
    ui::Screen::main().setScale(1);
    testenv::forgetProcessState();
    defaults().setBool(true, "TipsHaveShownHD");
  }

  void TearDown() override {
    ui::Animator::finishAll();
    ns::Thread::waitForDetachedThreads();
    ns::RunLoop::main().runUntilIdle();
    ui::Application::shared().setDelegate(nullptr);
    ui::Application::shared().resetForTesting();
    ui::ButtonPanel::resetForTesting();
    backend_.reset();
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }

  // Launches the application in the orientation with the shell's root, as the
  // main interface makes it, and lets the set-up second pass.
  void launch(ui::InterfaceOrientation orientation = ui::InterfaceOrientation::LandscapeRight, double wait = 1.5) {
    turnScreen(orientation);
    delegate = loadMainInterface();
    root = std::static_pointer_cast<iPadRootViewController>(delegate->ipadRootViewController()->shared_from_this());
    backend_->launch(delegate);
    backend_->advance(wait);
  }

  static void turnScreen(ui::InterfaceOrientation orientation) {
    ui::Application::shared().setStatusBarOrientation(orientation);
    bool landscape = ui::isLandscape(orientation);
    ui::Screen::main().setBounds(landscape ? cg::Rect(0, 0, 1024, 768) : cg::Rect(0, 0, 768, 1024));
  }

  // Lets the deferred phases and the animations run.
  // Lets the deferred phases, the animations and the panes' workers run (a
  // load that waited for another starts after it).
  void settle(double seconds = 1.0) {
    backend_->advance(seconds);
    for (int round = 0; round < 2; ++round) {
      ns::Thread::waitForDetachedThreads();
      ns::RunLoop::main().runUntilIdle();
      backend_->advance(0.5);
    }
  }

  SurahViewController& reading() { return *root->viewContSurah(); }
  // A long press on a verse as a person makes it, the verse's row scrolled
  // to that height in the display first: the options panel opens.
  void longPressVerse(int verse, float topInDisplay = 0) {
    ui::TableView& table = *reading().tblVerses;
    ui::IndexPath path{0, reading().verseToRow(verse)};
    table.setContentOffset(cg::Point{0, table.rectForRowAtIndexPath(path).y() - topInDisplay}, false);
    delegate->window()->layoutIfNeeded();
    auto cell = std::dynamic_pointer_cast<SurahViewCell>(table.cellForRowAtIndexPath(path));
    ASSERT_TRUE(cell);
    reading().showDialControlForVerseCell(cell.get(), cell->CellView(), &table, verse, reading().iCurrentSurah());
    settle();
  }
  SurahTranslationViewController& primary() { return *root->viewContPrimTrans; }
  SurahTranslationViewController& secondary() { return *root->viewContSecondTrans; }
  static ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }
  ui::HeadlessBackend& backend() { return *backend_; }
  std::string shotPath(const std::string& name) {
    return (testenv::scratchFolder("shell-shots") / name).string();
  }

  std::shared_ptr<ZarvelSDKAppDelegate> delegate;
  std::shared_ptr<iPadRootViewController> root;

 private:
  std::filesystem::path dir_;
  std::unique_ptr<ui::HeadlessBackend> backend_;
};

}  // namespace shelltest
