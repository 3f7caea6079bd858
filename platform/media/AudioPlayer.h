#pragma once
// An MP3 player: bytes in memory or a file, played through the shared sound
// device, with a position, a duration and a volume, and call-backs on the main
// run loop when the data ends or cannot be decoded.
//
// The owner calls it from the main thread; the volume may also be set from any
// thread (fades), and play, pause and stop lock, so a fade's thread may use them.
// Dropping the last reference stops the sound.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/foundation/Data.h"
#include "platform/foundation/Error.h"

namespace av {

class AudioOutput;
class AudioPlayer;
class Mp3Decoder;

class AudioPlayerDelegate {
 public:
  virtual ~AudioPlayerDelegate() = default;
  virtual void audioPlayerDidFinishPlaying(AudioPlayer& player, bool successfully) { (void)player, (void)successfully; }
  virtual void audioPlayerDecodeErrorDidOccur(AudioPlayer& player, const ns::Error& error) { (void)player, (void)error; }
  virtual void audioPlayerBeginInterruption(AudioPlayer& player) { (void)player; }
  virtual void audioPlayerEndInterruption(AudioPlayer& player, unsigned flags) { (void)player, (void)flags; }
};

inline constexpr const char* kAudioErrorDomain = "AVFoundationErrorDomain";

class AudioPlayer : public std::enable_shared_from_this<AudioPlayer> {
 public:
  // Null, with the error filled, when the bytes are no MP3 audio.
  static std::shared_ptr<AudioPlayer> initWithData(ns::Data data, ns::Error* error);
  // The file is read whole (a verse or a part, at most 512 MB).
  static std::shared_ptr<AudioPlayer> initWithContentsOfFile(const std::string& path, ns::Error* error);
  ~AudioPlayer();
  AudioPlayer(const AudioPlayer&) = delete;
  AudioPlayer& operator=(const AudioPlayer&) = delete;

  bool prepareToPlay();
  bool play();
  void pause();
  // Stops playing; the position stays where it was.
  void stop();
  bool isPlaying() const;
  // Seconds from the start; set it anywhere from 0 to the duration.
  double currentTime() const;
  void setCurrentTime(double seconds);
  double duration() const;
  float volume() const { return volume_.load(); }
  void setVolume(float volume);

  void setDelegate(std::weak_ptr<AudioPlayerDelegate> delegate);
  std::shared_ptr<AudioPlayerDelegate> delegate() const;

  // ---- the device's side ----------------------------------------------------------------------
  // Adds the next frames times the volume into out; on the end of the data or
  // a decode error the player stops and its delegate hears of it on the main loop.
  void render(float* out, std::size_t frames, std::vector<float>& scratch);
  // Frames until the end of the data while playing; -1 when not playing.
  std::int64_t framesLeft() const;
  // The session interrupts or resumes (main thread).
  bool interrupt();
  void endInterruption(unsigned flags);

 private:
  AudioPlayer() = default;
  static std::shared_ptr<AudioPlayer> make(std::shared_ptr<const ns::Data> bytes, ns::Error* error);
  void deliverEnd(bool decodeError, std::string why);
  void catchUp() const;

  std::shared_ptr<AudioOutput> output_;
  mutable std::mutex mutex_;
  std::unique_ptr<Mp3Decoder> decoder_;
  std::int64_t position_ = 0;  // frames
  std::int64_t length_ = 0;
  bool playing_ = false;
  bool interrupted_ = false;
  std::atomic<float> volume_{1.0f};
  std::weak_ptr<AudioPlayerDelegate> delegate_;
};

}  // namespace av
