#include "platform/media/AudioOutput.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/foundation/Clock.h"
#include "platform/media/AudioPlayer.h"

namespace av {

std::shared_ptr<AudioOutput> openSoundCard();  // SdlAudioOutput.cpp

namespace {

std::mutex& deviceMutex() {
  static std::mutex m;
  return m;
}

std::shared_ptr<AudioOutput>& deviceSlot() {
  static std::shared_ptr<AudioOutput> device;
  return device;
}

constexpr std::size_t kChunkFrames = 4096;
constexpr std::size_t kMaxRecordedSamples = std::size_t(AudioOutput::kRate) * 60 * 10;

}  // namespace

std::shared_ptr<AudioOutput> AudioOutput::shared() {
  std::lock_guard<std::mutex> lock(deviceMutex());
  auto& device = deviceSlot();
  if (!device) {
    device = openSoundCard();
    if (!device) device = std::make_shared<SilentAudioOutput>();
  }
  return device;
}

void AudioOutput::useSilentDevice() {
  auto device = std::make_shared<SilentAudioOutput>();
  std::lock_guard<std::mutex> lock(deviceMutex());
  deviceSlot() = device;
}

void AudioOutput::resetForTesting() {
  std::shared_ptr<AudioOutput> old;
  {
    std::lock_guard<std::mutex> lock(deviceMutex());
    old.swap(deviceSlot());
  }
}

AudioOutput::~AudioOutput() = default;

void AudioOutput::addPlayer(const std::shared_ptr<AudioPlayer>& player) {
  std::lock_guard<std::mutex> lock(mutex_);
  players_.push_back(player);
}

void AudioOutput::removePlayer(const AudioPlayer* player) {
  std::lock_guard<std::mutex> lock(mutex_);
  players_.erase(std::remove_if(players_.begin(), players_.end(),
                                [player](const std::weak_ptr<AudioPlayer>& w) {
                                  auto p = w.lock();
                                  return !p || p.get() == player;
                                }),
                 players_.end());
}

std::vector<std::shared_ptr<AudioPlayer>> AudioOutput::players() {
  std::vector<std::shared_ptr<AudioPlayer>> alive;
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& w : players_)
    if (auto p = w.lock()) alive.push_back(std::move(p));
  return alive;
}

// On the mixer's thread (it shares the mixer's list).
bool AudioOutput::anyPlaying() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& w : players_)
      if (auto p = w.lock()) mixing_.push_back(std::move(p));
  }
  bool playing = std::any_of(mixing_.begin(), mixing_.end(), [](const auto& p) { return p->isPlaying(); }) ||
                 (retiring_ && retiring_->isPlaying());
  mixing_.clear();
  return playing;
}

bool AudioOutput::mix(float* out, std::size_t frames) {
  std::memset(out, 0, frames * kChannels * sizeof(float));
  // The references are dropped outside the list's lock: a player that goes
  // here leaves the list from its destructor.
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& w : players_)
      if (auto p = w.lock()) mixing_.push_back(std::move(p));
  }
  bool played = false;
  for (auto& p : mixing_) {
    if (!p->isPlaying()) continue;
    played = true;
    p->render(out, frames, scratch_);
  }
  if (retiring_ && retiring_->isPlaying()) {
    played = true;
    retiring_->render(out, frames, scratch_);
  }
  mixing_.clear();
  return played;
}

// ---- the silent device -------------------------------------------------------------------------

SilentAudioOutput::SilentAudioOutput() : origin_(ns::Clock::current().now()) {}

SilentAudioOutput::~SilentAudioOutput() { timer_.invalidate(); }

void SilentAudioOutput::playerChanged() {
  std::lock_guard<std::mutex> lock(mutex_);
  planEnd();
}

void SilentAudioOutput::planEnd() {
  timer_.invalidate();
  std::int64_t first = -1;
  for (auto& p : players())
    if (auto left = p->framesLeft(); left >= 0 && (first < 0 || left < first)) first = left;
  if (first < 0) return;
  std::weak_ptr<AudioOutput> weak = weak_from_this();
  // One frame more, so that the end is due when the timer fires.
  timer_ = ns::RunLoop::main().scheduleTimer(double(first + 1) / kRate, false, [weak](ns::Timer&) {
    if (auto self = weak.lock()) self->catchUp();
  });
}

void SilentAudioOutput::catchUp() {
  std::lock_guard<std::mutex> lock(mutex_);
  catchUpLocked();
}

void SilentAudioOutput::retire(AudioPlayer& player) {
  // Dropped by the mixing itself (its copy was the last): nothing is owed.
  if (mixingThread_.load() == std::this_thread::get_id()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  retiring_ = &player;
  catchUpLocked();
  retiring_ = nullptr;
}

void SilentAudioOutput::catchUpLocked() {
  auto due = static_cast<std::int64_t>(std::llround((ns::Clock::current().now() - origin_) * kRate));
  std::int64_t n = due - mixed_;
  if (n <= 0) return;
  if (!recording_ && !anyPlaying()) {
    mixed_ = due;  // nothing sounds: time just passes
    return;
  }
  buffer_.resize(kChunkFrames * kChannels);
  bool played = false;
  mixingThread_ = std::this_thread::get_id();
  while (n > 0) {
    std::size_t frames = static_cast<std::size_t>(std::min<std::int64_t>(n, kChunkFrames));
    played = mix(buffer_.data(), frames) || played;
    if (recording_) {
      for (std::size_t i = 0; i < frames && recorded_.size() < kMaxRecordedSamples; ++i)
        recorded_.push_back(0.5f * (buffer_[2 * i] + buffer_[2 * i + 1]));
    }
    n -= static_cast<std::int64_t>(frames);
    mixed_ += static_cast<std::int64_t>(frames);
  }
  mixingThread_ = std::thread::id();
  if (played) planEnd();
}

void SilentAudioOutput::startRecording() {
  catchUp();
  std::lock_guard<std::mutex> lock(mutex_);
  recording_ = true;
  recorded_.clear();
  recordingStart_ = origin_ + double(mixed_) / kRate;
}

std::vector<float> SilentAudioOutput::recording() const {
  const_cast<SilentAudioOutput*>(this)->catchUp();
  std::lock_guard<std::mutex> lock(mutex_);
  return recorded_;
}

double SilentAudioOutput::recordingStart() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return recordingStart_;
}

std::int64_t SilentAudioOutput::framesMixed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return mixed_;
}

}  // namespace av
