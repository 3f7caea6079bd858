#pragma once
// The process's audio session: the category of its sound, whether it is
// active, and the interruptions (a call, another program taking the sound).
// Activations are counted: the session stays active until every activation has
// been matched by a deactivation, and only the last one silences what plays.
// Main thread.
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Error.h"

namespace av {

inline constexpr const char* AudioSessionCategoryPlayback = "AVAudioSessionCategoryPlayback";
// The flag of a deactivation that lets other programs' sound resume.
inline constexpr unsigned AudioSessionSetActiveFlagNotifyOthersOnDeactivation = 1;

class AudioSessionDelegate {
 public:
  virtual ~AudioSessionDelegate() = default;
  virtual void beginInterruption() {}
  virtual void endInterruption() {}
};

class AudioSession {
 public:
  static AudioSession& sharedInstance();

  void setDelegate(std::weak_ptr<AudioSessionDelegate> delegate) { delegate_ = std::move(delegate); }
  bool setCategory(const std::string& category, ns::Error* error);
  const std::string& category() const { return category_; }
  bool setActive(bool active, ns::Error* error) { return setActive(active, 0, error); }
  bool setActive(bool active, unsigned flags, ns::Error* error);
  bool isActive() const { return activations_ > 0; }
  int activations() const { return activations_; }

  // An interruption begins: every playing player pauses and tells its delegate,
  // then the session's delegate hears of it. Its end tells the same ones.
  void beginInterruption();
  void endInterruption(unsigned flags = 0);

  // Tests: the next setCategory fails with the error.
  void failNextSetCategory(ns::Error error) { categoryFailure_ = std::move(error); }
  void resetForTesting();

 private:
  std::weak_ptr<AudioSessionDelegate> delegate_;
  std::string category_;
  int activations_ = 0;
  std::optional<ns::Error> categoryFailure_;
};

}  // namespace av
