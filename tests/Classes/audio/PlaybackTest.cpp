// Recitation playback in the shell: per verse and continuous on the virtual
// clock, heard from the silent device with the highlight on the verse that
// sounds; the surah without audio; a verse without data; fades and the
// counted audio session.
#include <cfloat>

#include "tests/Classes/audio/AudioFixture.h"

namespace audiotest {
namespace {

// Each 0.05 s window: the verse heard, and the verse the screen marks as playing.
struct Sample {
  int heard, marked;
};

std::vector<Sample> listen(AudioTest& t, double seconds) {
  t.device().startRecording();
  std::vector<int> marked;
  t.play(seconds, 0.05, [&] { marked.push_back(t.reading().IsInPlayMode() ? t.reading().iCurrentPlayingVerse() : -1); });
  auto heard = tones::versesByWindow(t.device().recording(), 0.05);
  std::vector<Sample> samples;
  for (size_t i = 0; i < std::min(heard.size(), marked.size()); ++i) samples.push_back({heard[i], marked[i]});
  return samples;
}

// Every window that sounds one verse is marked with it (the windows where one
// verse gives way to the next may straddle both).
void expectHighlightFollows(const std::vector<Sample>& samples) {
  for (size_t i = 1; i + 1 < samples.size(); ++i) {
    if (samples[i].heard < 0 || samples[i - 1].heard != samples[i].heard || samples[i + 1].heard != samples[i].heard)
      continue;
    EXPECT_EQ(samples[i].marked, samples[i].heard) << "window " << i;
  }
}

// The verses heard in order; a lone window between two sounds (straddling
// both) is not a verse of its own.
std::vector<int> heardVerses(const std::vector<Sample>& samples) {
  std::vector<int> heard;
  for (size_t i = 0; i < samples.size(); ++i) {
    bool lone = (i == 0 || samples[i - 1].heard != samples[i].heard) &&
                (i + 1 == samples.size() || samples[i + 1].heard != samples[i].heard);
    if (!lone) heard.push_back(samples[i].heard);
  }
  return runs(heard);
}

TEST_F(AudioTest, PerVerseSurahPlaysEachVerseInOrderUnderItsHighlightThenStops) {
  launch();
  installVerses(103, 0.5);
  open(103);
  ns::LogCapture log;
  log.setEcho(false);
  int stops = 0;
  auto observer = ns::NotificationCenter::defaultCenter().addObserver("DidStopPlaying", [&](const ns::Value&) { ++stops; });
  reading().playStopOrDownload();
  ASSERT_TRUE(reading().IsInPlayMode());
  EXPECT_EQ(reading().iCurrentPlayingVerse(), 0);  // no verse chosen: the opening formula
  EXPECT_EQ(ns::lastPathComponent(reading().lastPlayedVerseFile()), "current.mp3");
  auto samples = listen(*this, 2.5);
  EXPECT_EQ(heardVerses(samples), (std::vector<int>{0, 1, 2, 3, -1}));
  expectHighlightFollows(samples);
  EXPECT_FALSE(reading().IsInPlayMode());
  EXPECT_EQ(stops, 1);
  EXPECT_FALSE(av::AudioSession::sharedInstance().isActive());
}

TEST_F(AudioTest, SurahOneVerseVPlaysRecordVMinusOne) {
  launch();
  installVerses(1, 0.3);
  open(1);
  reading().playStopOrDownload();
  EXPECT_EQ(reading().iCurrentPlayingVerse(), 1);
  auto samples = listen(*this, 2.4);
  EXPECT_EQ(heardVerses(samples), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, -1}));
  expectHighlightFollows(samples);
}

TEST_F(AudioTest, ContinuousSurahMovesInsideAPartWithoutANewPlayerAndLoadsTheNextPart) {
  launch();
  installContinuous();
  useReciter(kContReciter);
  open(kContSurah);
  reading().playStopOrDownload();
  ASSERT_TRUE(reading().IsInPlayMode());
  ASSERT_TRUE(reading().isUsingContinuousPlayback());
  EXPECT_EQ(reading().lastVersePart(), 1);
  auto first = reading().CurrentAudioPlayer();
  std::vector<const av::AudioPlayer*> players;
  device().startRecording();
  std::vector<int> marked;
  play(21.0, 0.05, [&] {
    marked.push_back(reading().IsInPlayMode() ? reading().iCurrentPlayingVerse() : -1);
    if (reading().iCurrentPlayingVerse() == 2 && reading().IsInPlayMode()) players.push_back(reading().CurrentAudioPlayer().get());
  });
  auto heard = tones::versesByWindow(device().recording(), 0.05);
  std::vector<Sample> samples;
  for (size_t i = 0; i < std::min(heard.size(), marked.size()); ++i) samples.push_back({heard[i], marked[i]});
  EXPECT_EQ(heardVerses(samples), (std::vector<int>{0, 1, 2, 3, 4, -1}));
  expectHighlightFollows(samples);
  ASSERT_FALSE(players.empty());
  EXPECT_EQ(players.front(), first.get());  // verses 0 to 2 share one player
  EXPECT_FALSE(reading().IsInPlayMode());
}

TEST_F(AudioTest, PlayingASurahWithoutAudioAsksForItsDownloadAndPlaysNothing) {
  launch();
  open(2);
  reading().playStopOrDownload();
  EXPECT_FALSE(reading().IsInPlayMode());
  // No mirror is set here: the reader is told so, and nothing downloads.
  auto* alert = ui::ButtonPanel::visiblePanel();
  ASSERT_TRUE(alert);
  EXPECT_EQ(alert->title(), "No Download Mirror");
  EXPECT_FALSE(delegate->isDownloading());
  ui::ButtonPanel::resetForTesting();
}

TEST_F(AudioTest, AVerseWithoutDataStopsWithTwoLogLinesAndWritesNothing) {
  launch();
  installVerses(103, 0.3);
  ASSERT_TRUE(fixtures::scalarInt(user(), "SELECT count(*) FROM recitationmp3s") > 0);
  fixtures::exec(user(), "DELETE FROM recitationmp3s WHERE surah = 103 AND verse = 2");
  open(103);
  ns::LogCapture log;
  log.setEcho(false);
  reading().playStopOrDownload();
  auto samples = listen(*this, 1.2);
  EXPECT_FALSE(reading().IsInPlayMode());
  EXPECT_EQ(log.count("[AUDIO PLAYER] Could Not Initiate"), 1);
  EXPECT_EQ(log.count("NO AUDIO PLAYER!!!"), 1);
  // Verse 2 wrote nothing: the file of verse 0 is not played in its place.
  EXPECT_EQ(heardVerses(samples), (std::vector<int>{0, 1, -1}));
}

TEST_F(AudioTest, ContinuousStartFadesInOnTheClockAndStopFadesOut) {
  launch();
  installContinuous();
  useReciter(kContReciter);
  open(kContSurah, 1);
  reading().playStopOrDownload();
  auto player = reading().CurrentAudioPlayer();
  ASSERT_TRUE(player);
  EXPECT_NEAR(player->currentTime(), 12.7, 0.01);  // verse 1 starts at its time
  EXPECT_LT(player->volume(), 0.1f);
  backend().advance(0.3);
  EXPECT_NEAR(player->volume(), 0.5f, 0.12f);
  backend().advance(0.4);
  EXPECT_EQ(player->volume(), 1.0f);
  backend().advance(2.0);
  reading().playStopOrDownload();  // stop: the last fade-in began over 2 s ago
  EXPECT_FALSE(reading().IsInPlayMode());
  EXPECT_TRUE(player->isPlaying());  // the fade holds it
  EXPECT_TRUE(av::AudioSession::sharedInstance().isActive());
  backend().advance(0.25);
  EXPECT_NEAR(player->volume(), 0.5f, 0.12f);
  backend().advance(0.4);
  ns::Thread::waitForDetachedThreads();
  ns::RunLoop::main().runUntilIdle();
  EXPECT_FALSE(player->isPlaying());
  EXPECT_EQ(player->volume(), 0.0f);
  EXPECT_FALSE(av::AudioSession::sharedInstance().isActive());
}

TEST_F(AudioTest, PlayPressedDuringAFadeOutKeepsTheNewRecitationSounding) {
  launch();
  installVerses(103, 3.0);
  open(103);
  reading().playStopOrDownload();
  backend().advance(2.5);
  reading().playStopOrDownload();  // stop, fading out over 0.5 s
  backend().advance(0.1);
  reading().playStopOrDownload();  // play again while the fade runs
  auto player = reading().CurrentAudioPlayer();
  ASSERT_TRUE(player);
  backend().advance(0.6);  // the fade ends and gives back its activation
  ns::Thread::waitForDetachedThreads();
  ns::RunLoop::main().runUntilIdle();
  EXPECT_TRUE(player->isPlaying());
  EXPECT_TRUE(av::AudioSession::sharedInstance().isActive());
}

TEST_F(AudioTest, StopRightAfterAFadeInStopsAtOnce) {
  launch();
  installContinuous();
  useReciter(kContReciter);
  open(kContSurah, 1);
  reading().playStopOrDownload();
  auto player = reading().CurrentAudioPlayer();
  backend().advance(1.0);
  reading().playStopOrDownload();
  EXPECT_FALSE(player->isPlaying());
  EXPECT_FALSE(av::AudioSession::sharedInstance().isActive());
}

}  // namespace
}  // namespace audiotest
