#pragma once
// The sound device the players play through: it mixes every playing player
// into interleaved stereo float frames at 44100 Hz.
//
// Two devices exist: the desktop's sound card through SDL2 audio (mixing on
// SDL's audio thread), and a silent device for tests and headless runs, which
// mixes on the main run loop as the process clock moves (on a virtual clock,
// exactly as the clock advances) and can keep what it would have played. The
// first use opens the sound card and falls back to the silent device, with
// one log line, when none opens.
#include <atomic>
#include <cstdint>
#include <thread>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/foundation/RunLoop.h"

namespace av {

class AudioPlayer;

class AudioOutput : public std::enable_shared_from_this<AudioOutput> {
 public:
  static constexpr int kRate = 44100;
  static constexpr int kChannels = 2;

  // The device in use, opened on first use.
  static std::shared_ptr<AudioOutput> shared();
  // From now on the players play through a new silent device (headless runs,
  // tests: call it after the run loop was reset, since its timer lives there).
  static void useSilentDevice();
  // Forgets the device in use (the next use opens one again).
  static void resetForTesting();

  virtual ~AudioOutput();
  virtual bool isSilent() const { return false; }

  // Players register once made and leave when they go.
  void addPlayer(const std::shared_ptr<AudioPlayer>& player);
  void removePlayer(const AudioPlayer* player);
  // A player began playing or moved (the device may need to wake, or to plan
  // when the sound ends).
  virtual void playerChanged() {}
  // Brings the device up to the clock's now (the silent device mixes what is
  // due; the sound card plays on its own).
  virtual void catchUp() {}
  // The players alive now.
  std::vector<std::shared_ptr<AudioPlayer>> players();
  // A player is going (its last reference is dropped): what it still owed
  // until now is mixed before it leaves.
  virtual void retire(AudioPlayer& player) { (void)player; }

 protected:
  AudioOutput() = default;
  // Mixes the next frames of every playing player into out (overwritten);
  // false when none played.
  bool mix(float* out, std::size_t frames);
  bool anyPlaying();
  // A player being destroyed that the mixer still plays (the mixer's thread).
  AudioPlayer* retiring_ = nullptr;

 private:
  std::mutex mutex_;
  std::vector<std::weak_ptr<AudioPlayer>> players_;
  std::vector<float> scratch_;
  std::vector<std::shared_ptr<AudioPlayer>> mixing_;  // the mixer's thread only
};

// The silent device. Main thread. It mixes what is due whenever a player's
// state is read or changed, and its timer wakes it when the first playing
// player reaches the end of its data, so the end is told at its own instant.
class SilentAudioOutput : public AudioOutput {
 public:
  SilentAudioOutput();
  ~SilentAudioOutput() override;
  bool isSilent() const override { return true; }
  void playerChanged() override;
  void catchUp() override;
  void retire(AudioPlayer& player) override;

  // Keeps what would have been played, as mono samples (the mean of the two
  // channels) from the clock time of the call on, silence included.
  void startRecording();
  std::vector<float> recording() const;
  double recordingStart() const;
  // Frames mixed since the device began.
  std::int64_t framesMixed() const;

 private:
  mutable std::mutex mutex_;
  double origin_ = 0;          // clock time of frame 0
  std::int64_t mixed_ = 0;     // frames mixed so far
  bool recording_ = false;
  double recordingStart_ = 0;
  std::vector<float> recorded_;
  std::vector<float> buffer_;
  ns::Timer timer_;
  // Plans the timer for the first end among the playing players (lock held).
  void planEnd();
  void catchUpLocked();
  std::atomic<std::thread::id> mixingThread_{};
};

}  // namespace av
