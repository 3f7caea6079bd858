// The player on the silent device, timed by the virtual clock: position,
// duration, the end call-back, seeking, volume, bad data, and what the device
// keeps of the sound.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/foundation/Clock.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/media/AudioOutput.h"
#include "platform/media/AudioPlayer.h"
#include "platform/media/AudioSession.h"
#include "tests/support/ToneMp3.h"

namespace {

class Ends : public av::AudioPlayerDelegate {
 public:
  void audioPlayerDidFinishPlaying(av::AudioPlayer&, bool ok) override {
    finished += ok ? 1 : 0;
    onMain = ns::isMainThread();
    at = ns::Clock::current().now();
  }
  void audioPlayerBeginInterruption(av::AudioPlayer&) override { ++begun; }
  void audioPlayerEndInterruption(av::AudioPlayer&, unsigned) override { ++ended; }
  int finished = 0, begun = 0, ended = 0;
  bool onMain = false;
  double at = 0;
};

class AudioPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = ns::VirtualClock::install();
    av::AudioOutput::useSilentDevice();
    av::AudioSession::sharedInstance().resetForTesting();
  }
  void TearDown() override { av::AudioOutput::resetForTesting(); }

  av::SilentAudioOutput& device() { return static_cast<av::SilentAudioOutput&>(*av::AudioOutput::shared()); }

  std::shared_ptr<ns::VirtualClock> clock;
};

TEST_F(AudioPlayerTest, PlaysToTheEndOnTheClockAndTellsTheDelegateOnTheMainLoop) {
  auto player = av::AudioPlayer::initWithData(tones::verseMp3(3, 1.0), nullptr);
  ASSERT_TRUE(player);
  EXPECT_NEAR(player->duration(), 1.0, 0.002);  // the encoder's delay and padding are trimmed
  auto ends = std::make_shared<Ends>();
  player->setDelegate(ends);
  device().startRecording();
  double start = clock->now();
  ASSERT_TRUE(player->play());
  clock->advance(0.4);
  EXPECT_NEAR(player->currentTime(), 0.4, 1e-4);
  EXPECT_TRUE(player->isPlaying());
  clock->advance(0.7);
  EXPECT_FALSE(player->isPlaying());
  EXPECT_EQ(ends->finished, 1);
  EXPECT_TRUE(ends->onMain);
  EXPECT_NEAR(ends->at - start, 1.0, 0.011);  // noticed within one mixing step
  EXPECT_NEAR(player->currentTime(), player->duration(), 1e-6);

  auto sound = device().recording();
  auto verses = tones::versesByWindow(sound, 0.1);
  ASSERT_GE(verses.size(), 11u);
  for (int i = 1; i < 9; ++i) EXPECT_EQ(verses[i], 3) << i;
  EXPECT_EQ(verses[10], -1);
}

TEST_F(AudioPlayerTest, PauseStopAndSeekKeepOrMoveThePosition) {
  auto player = av::AudioPlayer::initWithData(tones::verseMp3(1, 2.0), nullptr);
  ASSERT_TRUE(player);
  player->play();
  clock->advance(0.5);
  player->pause();
  clock->advance(1.0);
  EXPECT_NEAR(player->currentTime(), 0.5, 1e-4);
  player->play();
  clock->advance(0.25);
  player->stop();
  EXPECT_NEAR(player->currentTime(), 0.75, 1e-4);
  struct Case {
    double set, expected;
  } cases[] = {{1.5, 1.5}, {-3, 0}, {99, player->duration()}, {0.08, 0.08}};
  for (auto c : cases) {
    player->setCurrentTime(c.set);
    EXPECT_NEAR(player->currentTime(), c.expected, 1e-4) << c.set;
  }
  // Played to its end, a new play starts over.
  player->setCurrentTime(99);
  player->play();
  clock->advance(0.1);
  EXPECT_NEAR(player->currentTime(), 0.1, 1e-4);
}

TEST_F(AudioPlayerTest, VolumeScalesTheSoundAndMaySetFromAnotherThread) {
  auto player = av::AudioPlayer::initWithData(tones::verseMp3(2, 1.0), nullptr);
  ASSERT_TRUE(player);
  device().startRecording();
  player->play();
  clock->advance(0.3);
  std::thread fade([&] { player->setVolume(0.0f); });
  fade.join();
  clock->advance(0.3);
  auto sound = device().recording();
  auto loud = tones::dominantFrequency(sound.data() + 4410, 4410);
  auto quiet = tones::dominantFrequency(sound.data() + 17640, 4410);
  EXPECT_NEAR(loud, tones::verseFrequency(2), 15);
  EXPECT_EQ(quiet, 0);
  EXPECT_EQ(player->volume(), 0.0f);
  player->setVolume(7.0f);
  EXPECT_EQ(player->volume(), 1.0f);
}

TEST_F(AudioPlayerTest, DataThatIsNoAudioMakesNoPlayer) {
  std::vector<ns::Data> bad = {{}, ns::dataFromString("not an mp3 at all"), ns::Data(4096, 0)};
  for (const auto& bytes : bad) {
    ns::Error error;
    EXPECT_FALSE(av::AudioPlayer::initWithData(bytes, &error));
    EXPECT_EQ(error.domain, av::kAudioErrorDomain);
    EXPECT_FALSE(error.description.empty());
  }
  ns::Error error;
  EXPECT_FALSE(av::AudioPlayer::initWithContentsOfFile("/nonexistent/current.mp3", &error));
  EXPECT_EQ(error.code, ns::kFileReadNoSuchFileError);
}

TEST_F(AudioPlayerTest, OpensAFileAndTwoPlayersMix) {
  auto dir = std::filesystem::temp_directory_path() / ("media-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  auto bytes = tones::verseMp3(5, 0.5);
  std::ofstream(dir / "current.mp3", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
  auto a = av::AudioPlayer::initWithContentsOfFile((dir / "current.mp3").string(), nullptr);
  auto b = av::AudioPlayer::initWithData(tones::verseMp3(5, 0.5), nullptr);
  ASSERT_TRUE(a && b);
  device().startRecording();
  a->play();
  b->play();
  clock->advance(0.2);
  auto sound = device().recording();
  float peak = 0;
  for (float s : sound) peak = std::max(peak, std::abs(s));
  EXPECT_GT(peak, 0.8f);  // two tones of 0.5 in step
  std::filesystem::remove_all(dir);
}

TEST_F(AudioPlayerTest, DroppingThePlayerSilencesIt) {
  auto player = av::AudioPlayer::initWithData(tones::verseMp3(1, 1.0), nullptr);
  device().startRecording();
  player->play();
  clock->advance(0.2);
  player.reset();
  clock->advance(0.2);
  auto verses = tones::versesByWindow(device().recording(), 0.1);
  EXPECT_EQ(verses.at(0), 1);
  EXPECT_EQ(verses.at(3), -1);
}

TEST_F(AudioPlayerTest, SessionCountsActivationsAndInterruptsPlayers) {
  auto& session = av::AudioSession::sharedInstance();
  auto player = av::AudioPlayer::initWithData(tones::verseMp3(1, 2.0), nullptr);
  auto ends = std::make_shared<Ends>();
  player->setDelegate(ends);
  ns::Error error;
  EXPECT_TRUE(session.setCategory(av::AudioSessionCategoryPlayback, &error));
  session.failNextSetCategory(ns::Error{"test", 1, "refused"});
  EXPECT_FALSE(session.setCategory(av::AudioSessionCategoryPlayback, &error));
  EXPECT_EQ(error.description, "refused");

  EXPECT_TRUE(session.setActive(true, nullptr));
  EXPECT_TRUE(session.setActive(true, nullptr));
  player->play();
  EXPECT_TRUE(session.setActive(false, av::AudioSessionSetActiveFlagNotifyOthersOnDeactivation, nullptr));
  EXPECT_TRUE(player->isPlaying());  // one activation is still held
  EXPECT_TRUE(session.setActive(false, nullptr));
  EXPECT_FALSE(player->isPlaying());
  EXPECT_FALSE(session.setActive(false, &error));

  player->play();
  session.beginInterruption();
  EXPECT_FALSE(player->isPlaying());
  EXPECT_EQ(ends->begun, 1);
  session.endInterruption();
  EXPECT_EQ(ends->ended, 1);
  session.endInterruption();
  EXPECT_EQ(ends->ended, 1);  // only the interrupted hear the end
}

}  // namespace

namespace {

// MP3s at other rates are resampled to the device's: their time stays right
// (not halved or doubled).
TEST(AudioRatesTest, OtherSampleRatesPlayAtTheirOwnLength) {
  for (int rate : {22050, 32000, 48000}) {
    std::vector<short> pcm(size_t(rate) / 2);  // half a second
    for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = short(8000 * std::sin(2 * 3.14159265 * 440 * double(i) / rate));
    lame_global_flags* gf = lame_init();
    lame_set_num_channels(gf, 1);
    lame_set_in_samplerate(gf, rate);
    lame_set_out_samplerate(gf, rate);
    lame_set_mode(gf, MONO);
    lame_init_params(gf);
    std::vector<unsigned char> mp3(pcm.size() * 2 + 16384);
    int n = lame_encode_buffer(gf, pcm.data(), pcm.data(), int(pcm.size()), mp3.data(), int(mp3.size()));
    n += lame_encode_flush(gf, mp3.data() + n, int(mp3.size()) - n);
    mp3.resize(size_t(n));
    std::vector<unsigned char> tag(4096);
    size_t tagSize = lame_get_lametag_frame(gf, tag.data(), tag.size());
    std::copy(tag.begin(), tag.begin() + long(tagSize), mp3.begin());
    lame_close(gf);
    auto player = av::AudioPlayer::initWithData(mp3, nullptr);
    ASSERT_TRUE(player) << rate;
    EXPECT_NEAR(player->duration(), 0.5, 0.08) << rate;  // within the encoder's delay and padding
  }
}

}  // namespace
