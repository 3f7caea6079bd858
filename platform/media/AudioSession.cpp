#include "platform/media/AudioSession.h"

#include "platform/media/AudioOutput.h"
#include "platform/media/AudioPlayer.h"

namespace av {

AudioSession& AudioSession::sharedInstance() {
  static AudioSession session;
  return session;
}

bool AudioSession::setCategory(const std::string& category, ns::Error* error) {
  if (categoryFailure_) {
    if (error) *error = *categoryFailure_;
    categoryFailure_.reset();
    return false;
  }
  category_ = category;
  return true;
}

bool AudioSession::setActive(bool active, unsigned, ns::Error* error) {
  if (active) {
    ++activations_;
    return true;
  }
  if (activations_ == 0) {
    if (error) *error = ns::Error{kAudioErrorDomain, 560030580, "The audio session is not active"};
    return false;
  }
  // The last deactivation silences the sound still playing.
  if (--activations_ == 0)
    for (auto& player : AudioOutput::shared()->players()) player->pause();
  return true;
}

void AudioSession::beginInterruption() {
  for (auto& player : AudioOutput::shared()->players()) player->interrupt();
  if (auto d = delegate_.lock()) d->beginInterruption();
}

void AudioSession::endInterruption(unsigned flags) {
  for (auto& player : AudioOutput::shared()->players()) player->endInterruption(flags);
  if (auto d = delegate_.lock()) d->endInterruption();
}

void AudioSession::resetForTesting() {
  delegate_.reset();
  category_.clear();
  activations_ = 0;
  categoryFailure_.reset();
}

}  // namespace av
