#include "Classes/audio/MXAudioPlayerFadeOperation.h"

#include <chrono>
#include <thread>

#include "platform/foundation/Clock.h"
#include "platform/foundation/Log.h"
#include "platform/media/AudioPlayer.h"
#include "platform/media/ClockStepper.h"

namespace {

constexpr double kStep = 1.0 / 15;  // the ramp sets the volume 15 times a second

}  // namespace

MXAudioPlayerFadeOperation::MXAudioPlayerFadeOperation(std::shared_ptr<av::AudioPlayer> player, float volume,
                                                       double duration, double delaySeconds)
    : fadeDuration(duration),
      finishVolume(volume),
      delay(delaySeconds),
      playBeforeFade(volume != 0),
      pauseAfterFade(volume == 0),
      audioPlayer_(std::move(player)) {
  if (audioPlayer_) audioPlayer_->prepareToPlay();
}

std::shared_ptr<av::AudioPlayer> MXAudioPlayerFadeOperation::audioPlayer() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return audioPlayer_;
}

void MXAudioPlayerFadeOperation::setAudioPlayer(std::shared_ptr<av::AudioPlayer> player) {
  std::lock_guard<std::mutex> lock(mutex_);
  audioPlayer_ = std::move(player);
}

void MXAudioPlayerFadeOperation::addToNewQueue(std::shared_ptr<MXAudioPlayerFadeOperation> operation) {
  av::ClockStepper::launch("fade", [operation](av::ClockStepper& stepper) {
    operation->sleep_ = [&stepper](double seconds) { stepper.sleep(seconds); };
    operation->main();
    operation->sleep_ = nullptr;
  });
}

void MXAudioPlayerFadeOperation::sleepFor(double seconds) {
  if (sleep_) sleep_(seconds);
  else if (!ns::Clock::current().isVirtual()) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

void MXAudioPlayerFadeOperation::main() {
  if (delay > 0) sleepFor(delay);
  if (!audioPlayer()) {
    ns::log("AudioPlayerFadeOperation began with invalid AVAudioPlayer");
    return;
  }
  beginFadeOperation();
}

void MXAudioPlayerFadeOperation::beginFadeOperation() {
  auto player = audioPlayer();
  if (!player->isPlaying() && playBeforeFade) player->play();
  if (fadeDuration != 0) {
    auto& clock = ns::Clock::current();
    double start = clock.now();
    float from = player->volume();
    // Without a stepper a virtual clock never moves here: the ramp then ends at once.
    bool frozen = !sleep_ && clock.isVirtual();
    while (!frozen && clock.now() < start + fadeDuration) {
      float f = float((clock.now() - start) / fadeDuration);
      player->setVolume(finishVolume * f + from * (1 - f));
      sleepFor(kStep);
    }
  }
  player->setVolume(finishVolume);
  finishFadeOperation();
}

void MXAudioPlayerFadeOperation::finishFadeOperation() {
  auto player = audioPlayer();
  if (player->isPlaying() && pauseAfterFade) player->pause();
  if (player->isPlaying() && stopAfterFade) player->stop();
  if (auto d = delegate.lock()) d->fadeOperationFinished();
}
