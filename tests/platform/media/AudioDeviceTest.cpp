// The sound card through SDL (its dummy driver, which plays on SDL's own audio
// thread like a real card), the fallback to the silent device, and the worker
// sleeps that keep in step with a virtual clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "platform/foundation/Clock.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "platform/media/AudioOutput.h"
#include "platform/media/AudioPlayer.h"
#include "platform/media/ClockStepper.h"
#include "tests/support/ToneMp3.h"

namespace {

class Ends : public av::AudioPlayerDelegate {
 public:
  void audioPlayerDidFinishPlaying(av::AudioPlayer&, bool) override { ++finished; }
  int finished = 0;
};

struct DriverEnv {
  explicit DriverEnv(const char* driver) { ::setenv("SDL_AUDIODRIVER", driver, 1); }
  ~DriverEnv() { ::unsetenv("SDL_AUDIODRIVER"); }
};

TEST(AudioDeviceTest, SoundCardPlaysOnItsOwnThreadAndEndsOnTheMainLoop) {
  ns::RunLoop::resetForTesting();
  DriverEnv env("dummy");
  av::AudioOutput::resetForTesting();
  ns::LogCapture log;
  log.setEcho(false);
  ASSERT_FALSE(av::AudioOutput::shared()->isSilent());
  EXPECT_FALSE(log.contains("No sound device"));
  auto player = av::AudioPlayer::initWithData(tones::verseMp3(4, 0.3), nullptr);
  ASSERT_TRUE(player);
  auto ends = std::make_shared<Ends>();
  player->setDelegate(ends);
  player->play();
  std::thread volume([&] {
    for (int i = 0; i < 50; ++i) player->setVolume(float(i % 2));
  });
  volume.join();
  EXPECT_TRUE(ns::RunLoop::main().runUntil([&] { return ends->finished == 1; }, 10.0));
  EXPECT_FALSE(player->isPlaying());
  EXPECT_NEAR(player->currentTime(), player->duration(), 1e-6);
  player.reset();
  av::AudioOutput::resetForTesting();
}

TEST(AudioDeviceTest, NoSoundCardFallsBackToTheSilentDeviceWithOneLogLine) {
  ns::RunLoop::resetForTesting();
  DriverEnv env("no-such-driver");
  av::AudioOutput::resetForTesting();
  ns::LogCapture log;
  log.setEcho(false);
  EXPECT_TRUE(av::AudioOutput::shared()->isSilent());
  EXPECT_TRUE(av::AudioOutput::shared()->isSilent());
  EXPECT_EQ(log.count("No sound device could be opened"), 1);
  auto player = av::AudioPlayer::initWithData(tones::verseMp3(1, 0.2), nullptr);
  ASSERT_TRUE(player);
  EXPECT_TRUE(player->play());
  av::AudioOutput::resetForTesting();
}

TEST(ClockStepperTest, WorkerStepsAtItsOwnInstantsOfVirtualTime) {
  auto clock = ns::VirtualClock::install();
  double start = clock->now();
  std::vector<double> steps;  // written by the worker while the main thread waits
  av::ClockStepper::launch("stepper", [&](av::ClockStepper& stepper) {
    for (int i = 0; i < 3; ++i) {
      stepper.sleep(0.1);
      steps.push_back(ns::Clock::current().now() - start);
    }
  });
  clock->advance(0.05);
  EXPECT_TRUE(steps.empty());
  clock->advance(0.3);
  ASSERT_TRUE(ns::Thread::waitForDetachedThreads());
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_NEAR(steps[0], 0.1, 1e-6);
  EXPECT_NEAR(steps[1], 0.2, 1e-6);
  EXPECT_NEAR(steps[2], 0.3, 1e-6);
}

}  // namespace
