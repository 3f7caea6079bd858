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

constexpr double kMixInterval = 0.01;
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

bool AudioOutput::anyPlaying() {
  for (auto& p : players())
    if (p->isPlaying()) return true;
  return false;
}

bool AudioOutput::mix(float* out, std::size_t frames) {
  std::memset(out, 0, frames * kChannels * sizeof(float));
  // The references are dropped outside the list's lock: a player that goes
  // here leaves the list from its destructor.
  auto alive = players();
  bool played = false;
  for (auto& p : alive) {
    if (!p->isPlaying()) continue;
    played = true;
    p->render(out, frames, scratch_);
  }
  return played;
}

// ---- the silent device -------------------------------------------------------------------------

SilentAudioOutput::SilentAudioOutput() : origin_(ns::Clock::current().now()) {}

SilentAudioOutput::~SilentAudioOutput() { timer_.invalidate(); }

void SilentAudioOutput::playerStarted() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (timer_.isValid()) return;
  std::weak_ptr<AudioOutput> weak = weak_from_this();
  timer_ = ns::RunLoop::main().scheduleTimer(kMixInterval, true, [weak](ns::Timer&) {
    if (auto self = weak.lock()) self->catchUp();
  });
}

void SilentAudioOutput::catchUp() {
  std::unique_lock<std::mutex> lock(mutex_);
  auto due = static_cast<std::int64_t>(std::llround((ns::Clock::current().now() - origin_) * kRate));
  std::int64_t n = due - mixed_;
  if (n <= 0) return;
  bool playing = anyPlaying();
  if (!playing && !recording_) {
    mixed_ = due;  // nothing sounds: time just passes
    timer_.invalidate();
    return;
  }
  buffer_.resize(kChunkFrames * kChannels);
  bool played = false;
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
  if (!played || !anyPlaying()) timer_.invalidate();
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
