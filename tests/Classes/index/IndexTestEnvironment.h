#pragma once
// A fresh index per test: files under a temporary ZARVEL_HOME, the fixture
// content database (or the real one, for pictures) and a new user database
// as the bundle's resources beside the built images and string tables, the
// headless backend on a virtual clock, an application delegate with its
// databases open that records the download offers, and a reading screen that
// records what the index asks of it. The index stands in a window as the
// left column, and has appeared.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/core/RegisteredDefaults.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/index/IndexTableViewCell.h"
#include "Classes/index/IndexViewController.h"
#include "Classes/index/SectionCellView.h"
#include "Classes/index/SurahCellView.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "tests/support/HeadlessProcess.h"

namespace indextest {

class RecordingDelegate : public ZarvelSDKAppDelegate {
 public:
  void requestDownloadSurahAudioAlert(int surah) override { offers.push_back(surah); }
  void setDownloading(bool on) { isDownloading_ = on; }
  std::vector<int> offers;
};

// The reading screen as the index sees it.
class FakeReading : public IndexReadingScreen {
 public:
  bool settingUpSurah() const override { return settingUp; }
  int iCurrentSurah() const override { return surah; }
  int iCurrentVerse() const override { return verse; }
  void setupBasicSurah(int s, int v, bool play) override {
    surah = s;
    verse = v;
    calls.push_back(ns::format("setupBasicSurah(%d, %d, %s)", s, v, play ? "YES" : "NO"));
  }
  void asyncSurahReload() override { calls.push_back("asyncSurahReload"); }
  void highlightVerse(int v, bool, bool, bool, bool) override {
    verse = v;
    calls.push_back(ns::format("highlightVerse(%d)", v));
  }
  void refreshTheme() override {}
  void setRequiresReload(bool) override {}
  void updateReciterLabel() override { calls.push_back("updateReciterLabel"); }

  bool settingUp = false;
  int surah = 1;
  int verse = -1;
  std::vector<std::string> calls;
};

class IndexTest : public ::testing::Test {
 protected:
  static constexpr float kColumnWidth = 364;

  void SetUp() override { prepare(false); }

  // Files, settings and services of a new process; the real content database
  // when asked and built.
  void prepare(bool realContent) {
    dir_ = testenv::prepareTestFolder("index");
    auto resources = dir_ / "resources";
    testenv::linkBuiltResources(resources, {"images", "en.lproj", "ar.lproj"});
    if (realContent && testenv::realContentBuilt()) testenv::linkBuiltResources(resources, {"zarvel.db"});
    else testenv::copyFixtureContent(resources);

    backend_ = std::make_unique<ui::HeadlessBackend>(1.8e9);
    testenv::forgetProcessState();

    delegate = std::make_shared<RecordingDelegate>();
    delegate->createEditableCopyOfDatabaseIfNeeded();
    delegate->initializeDatabase();
    ui::Application::shared().setDelegate(delegate);
  }

  void TearDown() override {
    index.reset();
    window.reset();
    ui::Animator::finishAll();
    if (delegate) delegate->finalizeView();
    delegate.reset();
    ui::Application::shared().resetForTesting();
    backend_.reset();
    std::filesystem::remove_all(dir_);
  }

  // The index in a window as the left column, appeared (which opens the
  // saved surah in the reading screen).
  void show(ui::InterfaceOrientation orientation = ui::InterfaceOrientation::LandscapeRight) {
    ui::Application::shared().setStatusBarOrientation(orientation);
    cg::Size size = ui::screenSizeForOrientation(orientation);
    ui::Screen::main().setBounds(cg::Rect(0, 0, size.width, size.height));
    window = std::make_shared<ui::Window>(cg::Rect(0, 0, size.width, size.height));
    window->setBackgroundColor(cg::Color::fromRGB255(244, 238, 224));
    index = std::make_shared<IndexViewController>();
    index->setReadingScreenForTesting(reading);
    index->view()->setFrame(cg::Rect(0, 0, kColumnWidth, size.height));
    window->addSubview(index->view());
    window->makeKeyAndVisible();
    index->viewWillAppear(false);
    index->viewDidAppear(false);
    window->layoutIfNeeded();
  }

  void advance(double seconds) { backend_->advance(seconds); }
  void tap(cg::Point p) { backend_->tap(p); }

  // Where a row is on screen (its middle), in window coordinates.
  cg::Point rowPoint(int row, int section = 0) {
    auto* table = index->surahListTable();
    cg::Rect r = table->rectForRowAtIndexPath(ui::IndexPath::indexPathForRow(row, section));
    return table->convertPointToView(cg::Point(r.midX(), r.midY()), nullptr);
  }
  IndexTableViewCell* cellAt(int row, int section = 0) {
    auto cell = index->surahListTable()->cellForRowAtIndexPath(ui::IndexPath::indexPathForRow(row, section));
    return dynamic_cast<IndexTableViewCell*>(cell.get());
  }
  void scrollTo(int row, int section = 0) {
    index->surahListTable()->scrollToRowAtIndexPath(ui::IndexPath::indexPathForRow(row, section),
                                                     ui::TableViewScrollPosition::Top, false);
    window->layoutIfNeeded();
  }
  void installAudio(int surah, int reciter, bool continuous) {
    sqlite3* db = delegate->dbConnection();
    if (continuous) ChapterInfo::markContAudioAsInstalled(db, surah, reciter, false);
    else ChapterInfo::markAudioAsInstalled(db, surah, reciter);
  }
  bool writePicture(const std::string& name) {
    auto dir = testenv::scratchFolder("index-pictures");
    window->layoutIfNeeded();
    auto image = window->snapshot();
    return image && image->writePNG((dir / name).string());
  }

  static ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }
  // The content database the delegate opened (a copy of the fixture's).
  std::string contentPath() const { return (dir_ / "resources" / "zarvel.db").string(); }

  std::shared_ptr<RecordingDelegate> delegate;
  std::shared_ptr<FakeReading> reading = std::make_shared<FakeReading>();
  std::shared_ptr<ui::Window> window;
  std::shared_ptr<IndexViewController> index;

 private:
  std::filesystem::path dir_;
  std::unique_ptr<ui::HeadlessBackend> backend_;
};

}  // namespace indextest
