// The recitation's transport: rewind and fast-forward taps, press-and-hold
// seeking with its indicator, the media keys and Space, and interruptions.
#include <cfloat>

#include "Classes/core/String+More.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "tests/Classes/audio/AudioFixture.h"

namespace audiotest {
namespace {

class TransportTest : public AudioTest {
 public:
  // Plays the surah from the verse, as the reader would after choosing it.
  void startAt(int surah, int verse) {
    open(surah, verse);
    reading().viewWillAppear(false);
    reading().highlightVerse(verse, true, false, true);
    reading().playStopOrDownload();
    ASSERT_TRUE(reading().IsInPlayMode());
  }
  double position() { return reading().CurrentAudioPlayer()->currentTime(); }
  void remote(ui::EventSubtype subtype) {
    reading().remoteControlReceivedWithEvent(ui::Event{0, {}, ui::EventType::RemoteControl, subtype});
  }
};

TEST_F(TransportTest, RewindRestartsAVerseAfterOneSecondElseGoesBack) {
  launch();
  installVerses(103, 3.0);
  struct Case {
    double at;
    int verseAfter;
    double positionAfter;
  } cases[] = {{0.9, 1, 0.0}, {1.1, 2, 0.0}};
  for (auto c : cases) {
    startAt(103, 2);
    backend().advance(c.at);
    reading().btnAudioRRPressed();
    EXPECT_EQ(reading().iCurrentPlayingVerse(), c.verseAfter) << c.at;
    EXPECT_NEAR(position(), c.positionAfter, 0.011) << c.at;
    reading().stopPlaying(false, false);
    settle(1.0);
  }
}

TEST_F(TransportTest, RewindInAPartRestartsFromTheWholeSecondAfterTheVerseBegins) {
  launch();
  installContinuous();
  useReciter(kContReciter);
  startAt(kContSurah, 1);  // verse 1 begins at 12.7 s: a restart from 13.08 s on
  reading().CurrentAudioPlayer()->setCurrentTime(13.05);
  reading().btnAudioRRPressed();
  EXPECT_EQ(reading().iCurrentPlayingVerse(), 0);
  settle(1.0);
  reading().btnAudioFFPressed();
  EXPECT_EQ(reading().iCurrentPlayingVerse(), 1);
  reading().CurrentAudioPlayer()->setCurrentTime(13.10);
  reading().btnAudioRRPressed();
  EXPECT_EQ(reading().iCurrentPlayingVerse(), 1);
  EXPECT_NEAR(position(), 12.7, 0.01);
}

TEST_F(TransportTest, RewindStaysOnTheFirstVerse) {
  launch();
  installVerses(1, 3.0);
  installVerses(103, 3.0);
  startAt(1, 1);
  reading().btnAudioRRPressed();
  EXPECT_EQ(reading().iCurrentPlayingVerse(), 1);
  reading().stopPlaying(false, false);
  settle(1.0);
  startAt(103, 0);
  reading().btnAudioRRPressed();
  EXPECT_EQ(reading().iCurrentPlayingVerse(), 0);
}

TEST_F(TransportTest, FastForwardOnTheLastVerseFollowsTheEndRule) {
  launch();
  installVerses(103, 3.0);
  installVerses(104, 3.0);
  struct Case {
    int surahRepeat;
    bool playing;
    int surah, verse;
  } cases[] = {{0, false, 103, 3}, {2, true, 103, 0}, {1, true, 104, 0}};
  for (auto c : cases) {
    defaults().setInteger(c.surahRepeat, "SurahRepeatCounter");
    startAt(103, 3);
    reading().btnAudioFFPressed();
    backend().advance(0.5);  // the next surah comes 0.1 s on
    EXPECT_EQ(reading().IsInPlayMode(), c.playing) << c.surahRepeat;
    EXPECT_EQ(reading().iCurrentSurah(), c.surah) << c.surahRepeat;
    if (c.playing) {
      EXPECT_EQ(reading().iCurrentPlayingVerse(), c.verse) << c.surahRepeat;
    }
    if (reading().IsInPlayMode()) reading().stopPlaying(false, false);
    settle(1.0);
  }
}

TEST_F(TransportTest, HoldingFastForwardSeeksPausedAndTheReleaseFadesBackIn) {
  launch();
  installVerses(103, 6.0);
  startAt(103, 1);
  backend().advance(1.0);
  auto* ff = reading().btnLandscapeAudioFF.get();
  ff->sendActionsForControlEvents(ui::ControlEventTouchDown);
  backend().advance(1.0);
  EXPECT_FALSE(reading().CurrentAudioPlayer()->isPlaying());
  EXPECT_NEAR(position(), 1.5 + 26 * 0.08, 0.02);  // it plays on 0.5 s, then a step every 0.02 s
  EXPECT_TRUE(reading().isShowingFFRRHUD());
  EXPECT_EQ(reading().lblFFRR->text(), "+00:03");
  ff->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  EXPECT_TRUE(reading().CurrentAudioPlayer()->isPlaying());
  EXPECT_LT(reading().CurrentAudioPlayer()->volume(), 0.1f);  // fading in
  EXPECT_EQ(reading().iCurrentPlayingVerse(), 1);  // the tap that ends a hold moves nowhere
  EXPECT_FALSE(reading().isShowingFFRRHUD());
  backend().advance(0.7);
  EXPECT_EQ(reading().CurrentAudioPlayer()->volume(), 1.0f);
}

TEST_F(TransportTest, SeekingForwardInTheLastVerseOfAPartStopsAtThePartsEnd) {
  launch();
  installContinuous();
  useReciter(kContReciter);
  startAt(kContSurah, 2);  // the last verse of part 1, which ends at 16.7 s
  EXPECT_EQ(reading().nextVerseBeginTime(), FLT_MAX);
  reading().CurrentAudioPlayer()->setCurrentTime(15.75);
  reading().btnAudioFingerDown(reading().btnLandscapeAudioFF.get());
  backend().advance(1.0);
  double end = reading().CurrentAudioPlayer()->duration();
  ASSERT_NEAR(end, 16.7, 0.01);
  EXPECT_NEAR(position(), end, 0.001);
  // The indicator tells how far the seek really went: 0.95 s, not a step past the end.
  EXPECT_EQ(reading().lblFFRR->text(), "+00:01");
  reading().btnAudioFingerUp();
}

TEST_F(TransportTest, RemoteCommandsDriveTheRecitationAndNoOpsStayNoOps) {
  launch();
  installVerses(103, 5.0);
  open(103);
  reading().highlightVerse(0, true, false, true);
  using S = ui::EventSubtype;
  remote(S::RemoteControlPause);  // stopped: nothing
  EXPECT_FALSE(reading().IsInPlayMode());
  remote(S::RemoteControlPlay);
  ASSERT_TRUE(reading().IsInPlayMode());
  auto player = reading().CurrentAudioPlayer();
  remote(S::RemoteControlPlay);  // playing: nothing
  EXPECT_TRUE(player->isPlaying());
  EXPECT_FALSE(reading().isAudioPaused());
  remote(S::RemoteControlPause);
  EXPECT_TRUE(reading().isAudioPaused());
  EXPECT_FALSE(player->isPlaying());
  remote(S::RemoteControlPause);  // paused: nothing
  EXPECT_TRUE(reading().isAudioPaused());
  remote(S::RemoteControlTogglePlayPause);
  EXPECT_TRUE(player->isPlaying());
  remote(S::RemoteControlNextTrack);
  EXPECT_EQ(reading().iCurrentPlayingVerse(), 1);
  remote(S::RemoteControlPreviousTrack);
  EXPECT_EQ(reading().iCurrentPlayingVerse(), 0);
  backend().advance(2.0);
  double before = position();
  remote(S::RemoteControlBeginSeekingForward);
  backend().advance(0.1);
  remote(S::RemoteControlEndSeekingForward);
  EXPECT_GT(position(), before + 0.3);
  remote(S::RemoteControlStop);
  EXPECT_FALSE(reading().IsInPlayMode());
}

TEST_F(TransportTest, MediaKeysAndSpaceReachTheRecitationThroughTheWindow) {
  launch();
  installVerses(103, 5.0);
  open(103);
  reading().highlightVerse(0, true, false, true);
  backend().key("AudioPlay");
  ASSERT_TRUE(reading().IsInPlayMode());
  backend().key("Space");
  EXPECT_TRUE(reading().isAudioPaused());
  backend().key("AudioPlay");
  EXPECT_FALSE(reading().isAudioPaused());
  backend().key("AudioNext");
  EXPECT_EQ(reading().iCurrentPlayingVerse(), 1);
  backend().key("AudioStop");
  EXPECT_FALSE(reading().IsInPlayMode());
}

TEST_F(TransportTest, AnInterruptionPausesAndItsEndResumes) {
  launch();
  installVerses(103, 5.0);
  startAt(103, 0);
  ns::LogCapture log;
  log.setEcho(false);
  auto& session = av::AudioSession::sharedInstance();
  session.beginInterruption();
  EXPECT_TRUE(reading().isAudioPaused());
  EXPECT_FALSE(reading().CurrentAudioPlayer()->isPlaying());
  session.endInterruption();
  EXPECT_FALSE(reading().isAudioPaused());
  EXPECT_TRUE(reading().CurrentAudioPlayer()->isPlaying());
  EXPECT_TRUE(log.contains("INTERRUPTED"));
  EXPECT_TRUE(log.contains("ENDED INTERRUPTION"));
  // Paused by the reader, then interrupted: the end resumes it.
  reading().btnAudioPausePressed();
  session.beginInterruption();
  reading().audioPlayerEndInterruption(*reading().CurrentAudioPlayer(), 0);
  EXPECT_TRUE(reading().CurrentAudioPlayer()->isPlaying());
}

}  // namespace
}  // namespace audiotest
