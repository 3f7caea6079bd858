#pragma once
// Recitation playback headless on the virtual clock, in the shell the program
// builds (loadMainInterface), with the real content database of the build and
// generated recitations: tones whose pitch tells the verse, played through the
// silent device, which keeps what it would have played.
//
// Per verse: reciter 0 has surahs 1, 103 and 104 one MP3 per verse. Continuous:
// reciter 2 has surah 112 in two parts, with the verse times below in a copy of
// the content database.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Classes/app/MainInterface.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/media/AudioOutput.h"
#include "platform/media/AudioSession.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/Screen.h"
#include "tests/Classes/core/Fixtures.h"
#include "tests/support/HeadlessProcess.h"
#include "tests/support/ToneMp3.h"

namespace audiotest {

inline constexpr double kWednesday = 1.8e9 + 5 * 86400;
inline constexpr int kVerseReciter = 0;
inline constexpr int kContReciter = 2;
inline constexpr int kContSurah = 112;

// Surah 112 continuously: verse -> (part, begins at, seconds).
struct ContVerse {
  int verse, part;
  double begins, seconds;
};
inline const std::vector<ContVerse>& contVerses() {
  static const std::vector<ContVerse> verses = {
      {0, 1, 0.0, 12.7}, {1, 1, 12.7, 2.0}, {2, 1, 14.7, 2.0}, {3, 2, 0.0, 2.0}, {4, 2, 2.0, 2.0}};
  return verses;
}

// A copy of the build's content database with the continuous timings, made
// once per test program.
inline std::filesystem::path contentWithTimings() {
  static const std::filesystem::path made = [] {
    // One per process: ctest runs the tests of a program side by side.
    auto dir = testenv::scratchFolder("audio-content-" + std::to_string(::getpid()));
    auto file = dir / "zarvel.db";
    std::filesystem::remove(file);
    std::filesystem::copy_file(testenv::builtResource("zarvel.db"), file);
    sqlite3* db = fixtures::openReadWrite(file.string());
    std::string sql = "BEGIN;";
    for (const auto& v : contVerses()) {
      sql += ns::format("INSERT INTO audioparts VALUES (%d, %d, %d, %d);", kContReciter, kContSurah, v.verse, v.part);
      sql += ns::format("INSERT INTO audiotimings VALUES (%d, %d, %d, %.3f);", kContReciter, kContSurah, v.verse,
                        v.begins);
    }
    fixtures::exec(db, sql + "COMMIT;");
    sqlite3_close(db);
    return file;
  }();
  // The copy goes with the process.
  static const struct Remover {
    ~Remover() { std::filesystem::remove_all(made.parent_path()); }
  } remover;
  return made;
}

class AudioTest : public ::testing::Test {
 public:
  void SetUp() override {
    if (!testenv::realContentBuilt()) GTEST_SKIP() << "the content database is not built";
    auto content = contentWithTimings();
    dir_ = testenv::prepareTestFolder("audio");
    std::filesystem::create_symlink(content, dir_ / "resources" / "zarvel.db");
    testenv::linkBuiltResources(dir_ / "resources", {"images"});
    backend_ = std::make_unique<ui::HeadlessBackend>(kWednesday);
    av::AudioOutput::useSilentDevice();
    av::AudioSession::sharedInstance().resetForTesting();
    testenv::forgetProcessState();
    defaults().setBool(true, "TipsHaveShownHD");
  }

  void TearDown() override {
    if (delegate) {
      if (auto* r = root(); r && r->viewContSurah()->IsInPlayMode()) r->viewContSurah()->stopPlaying(false, false);
      settle(1.0);
    }
    ui::Animator::finishAll();
    ns::Thread::waitForDetachedThreads();
    ns::RunLoop::main().runUntilIdle();
    ui::Application::shared().setDelegate(nullptr);
    ui::Application::shared().resetForTesting();
    ui::ButtonPanel::resetForTesting();
    av::AudioOutput::resetForTesting();
    backend_.reset();
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }

  void launch(ui::InterfaceOrientation orientation = ui::InterfaceOrientation::LandscapeRight) {
    ui::Application::shared().setStatusBarOrientation(orientation);
    bool landscape = ui::isLandscape(orientation);
    ui::Screen::main().setBounds(landscape ? cg::Rect(0, 0, 1024, 768) : cg::Rect(0, 0, 768, 1024));
    delegate = loadMainInterface();
    backend_->launch(delegate);
    settle();
  }

  // A fade's thread sleeps on the clock: time moves on until it has ended.
  void settle(double seconds = 1.5) {
    backend_->advance(seconds);
    for (int i = 0; i < 50 && !ns::Thread::waitForDetachedThreads(0.2); ++i) backend_->advance(0.1);
    ns::RunLoop::main().runUntilIdle();
  }

  // Opens a surah as the index does.
  void open(int surah, int verse = -1) {
    reading().setupBasicSurah(surah, verse, false);
    reading().asyncSurahReload();
    settle(0.5);
  }

  sqlite3* user() { return delegate->dbConnection(); }

  // One MP3 per verse: verse v sounds at its own pitch (record v - 1 in surahs 1 and 9).
  void installVerses(int surah, double seconds, int reciter = kVerseReciter) {
    useReciter(reciter);
    int count = ChapterInfo::getVersesFromNumber(surah);
    bool header = surah != 1 && surah != 9;
    for (int v = header ? 0 : 1; v <= count; ++v)
      ASSERT_TRUE(ChapterInfo::insertMP3Blob(user(), surah, header ? v : v - 1, reciter, tones::verseMp3(v, seconds)));
    ASSERT_TRUE(ChapterInfo::markAudioAsInstalled(user(), surah, reciter));
  }

  void installContinuous() {
    std::map<int, std::vector<tones::Tone>> parts;
    for (const auto& v : contVerses()) parts[v.part].push_back({tones::verseFrequency(v.verse), v.seconds});
    for (auto& [part, tonesOfPart] : parts)
      ASSERT_TRUE(ChapterInfo::insertContMP3Blob(user(), kContSurah, part, kContReciter, tones::encode(tonesOfPart)));
    ASSERT_TRUE(ChapterInfo::markAudioAsInstalled(user(), kContSurah, kContReciter));
    ASSERT_TRUE(ChapterInfo::markContAudioAsInstalled(user(), kContSurah, kContReciter, false));
  }

  void useReciter(int reciter) {
    defaults().setInteger(reciter, "CurrentReciterv22");
    reading().updateReciterLabel();
  }

  // Advances in steps, calling `each` after every step.
  void play(double seconds, double step, const std::function<void()>& each) {
    for (double t = 0; t < seconds - 1e-9; t += step) {
      backend_->advance(step);
      each();
    }
  }

  // The verse at each start, in order: per verse each start makes a new
  // player; inside a continuous part the playing verse moves on (a verse
  // repeated there is not told apart).
  std::vector<int> versesStarted(double seconds, double step = 0.02) {
    std::vector<int> started;
    const av::AudioPlayer* last = reading().CurrentAudioPlayer().get();
    int lastVerse = reading().iCurrentPlayingVerse();
    if (last) started.push_back(lastVerse);
    play(seconds, step, [&] {
      auto* now = reading().CurrentAudioPlayer().get();
      int verse = reading().iCurrentPlayingVerse();
      if (now && (now != last || verse != lastVerse)) started.push_back(verse);
      last = now;
      lastVerse = verse;
    });
    return started;
  }

  av::SilentAudioOutput& device() { return static_cast<av::SilentAudioOutput&>(*av::AudioOutput::shared()); }
  iPadRootViewController* root() { return delegate ? delegate->ipadRootViewController() : nullptr; }
  SurahViewController& reading() { return *root()->viewContSurah(); }
  static ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }
  ui::HeadlessBackend& backend() { return *backend_; }
  std::string shotPath(const std::string& name) { return (testenv::scratchFolder("audio-shots") / name).string(); }

  std::shared_ptr<ZarvelSDKAppDelegate> delegate;

 private:
  std::filesystem::path dir_;
  std::unique_ptr<ui::HeadlessBackend> backend_;
};

// Runs of the same value, each once: {0,0,1,1,-1} -> {0,1,-1}.
inline std::vector<int> runs(const std::vector<int>& values) {
  std::vector<int> out;
  for (int v : values)
    if (out.empty() || out.back() != v) out.push_back(v);
  return out;
}

}  // namespace audiotest
