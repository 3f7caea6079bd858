#pragma once
// Ramps one player's volume from where it is to a target over a time, on a
// thread of its own, optionally starting the player first and pausing or
// stopping it afterwards, then tells its delegate, on the fade's thread, that
// it is done. The operation holds the player, so a fading player sounds on
// after its owner let it go. Its sleeps follow the process clock (in step with
// a virtual clock in tests).
#include <functional>
#include <memory>
#include <mutex>

namespace av {
class AudioPlayer;
}

class MXAudioPlayerFadeOperationDelegate {
 public:
  virtual ~MXAudioPlayerFadeOperationDelegate() = default;
  // On the fade's thread: a delegate that touches views posts to the main loop.
  virtual void fadeOperationFinished() {}
};

class MXAudioPlayerFadeOperation : public std::enable_shared_from_this<MXAudioPlayerFadeOperation> {
 public:
  // initFadeWithAudioPlayer:toVolume:overDuration:withDelay: and its shorter
  // forms (duration 1.0 s, volume 0). A missing player makes an operation that
  // only logs when it runs.
  MXAudioPlayerFadeOperation(std::shared_ptr<av::AudioPlayer> player, float volume = 0.0f, double duration = 1.0,
                             double delay = 0.0);

  // Runs on a new queue of its own (one operation at a time): a thread that
  // holds the operation until it ends.
  static void addToNewQueue(std::shared_ptr<MXAudioPlayerFadeOperation> operation);

  // The body the queue runs, and its two halves.
  void main();
  void beginFadeOperation();
  void finishFadeOperation();

  std::shared_ptr<av::AudioPlayer> audioPlayer() const;
  void setAudioPlayer(std::shared_ptr<av::AudioPlayer> player);
  double fadeDuration = 1.0;
  float finishVolume = 0.0f;
  double delay = 0.0;
  bool playBeforeFade = false;
  bool pauseAfterFade = true;
  bool stopAfterFade = false;
  std::weak_ptr<MXAudioPlayerFadeOperationDelegate> delegate;

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<av::AudioPlayer> audioPlayer_;
  // Sleeps of the queue's thread; none when main() runs elsewhere.
  void sleepFor(double seconds);
  std::function<void(double)> sleep_;
};
