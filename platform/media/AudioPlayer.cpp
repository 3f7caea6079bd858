#include "platform/media/AudioPlayer.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "platform/foundation/RunLoop.h"
#include "platform/media/AudioOutput.h"
#include "platform/media/Mp3Decoder.h"

namespace av {

namespace {

constexpr std::uintmax_t kMaxFileBytes = 512ull * 1024 * 1024;

ns::Error audioError(int code, std::string description) {
  return ns::Error{kAudioErrorDomain, code, std::move(description)};
}

}  // namespace

std::shared_ptr<AudioPlayer> AudioPlayer::make(std::shared_ptr<const ns::Data> bytes, ns::Error* error) {
  std::string why;
  auto decoder = Mp3Decoder::open(std::move(bytes), &why);
  if (!decoder) {
    if (error) *error = audioError(1954115647, "The audio data could not be read: " + why);
    return nullptr;
  }
  // The last reference lets the device mix what the player owed until now
  // before it goes.
  std::shared_ptr<AudioPlayer> player(new AudioPlayer(), [](AudioPlayer* p) {
    if (p->output_) p->output_->retire(*p);
    delete p;
  });
  player->length_ = decoder->lengthFrames();
  player->decoder_ = std::move(decoder);
  player->output_ = AudioOutput::shared();
  player->output_->addPlayer(player);
  return player;
}

std::shared_ptr<AudioPlayer> AudioPlayer::initWithData(ns::Data data, ns::Error* error) {
  return make(std::make_shared<const ns::Data>(std::move(data)), error);
}

std::shared_ptr<AudioPlayer> AudioPlayer::initWithContentsOfFile(const std::string& path, ns::Error* error) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    if (error) *error = ns::Error{ns::kCocoaErrorDomain, ns::kFileReadNoSuchFileError, "No such file: " + path};
    return nullptr;
  }
  auto size = static_cast<std::uintmax_t>(in.tellg());
  if (size > kMaxFileBytes) {
    if (error) *error = audioError(-50, "The audio file is too large: " + path);
    return nullptr;
  }
  auto bytes = std::make_shared<ns::Data>(static_cast<std::size_t>(size));
  in.seekg(0);
  if (size && !in.read(reinterpret_cast<char*>(bytes->data()), static_cast<std::streamsize>(size))) {
    if (error) *error = audioError(-39, "The audio file could not be read: " + path);
    return nullptr;
  }
  return make(std::move(bytes), error);
}

AudioPlayer::~AudioPlayer() {
  if (output_) output_->removePlayer(this);
}

void AudioPlayer::catchUp() const {
  if (output_) output_->catchUp();
}

bool AudioPlayer::prepareToPlay() { return decoder_ != nullptr; }

bool AudioPlayer::play() {
  catchUp();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!decoder_) return false;
    if (position_ >= length_) {
      // Played to its end: a new play starts over.
      decoder_->seek(0);
      position_ = 0;
    }
    playing_ = true;
    interrupted_ = false;
  }
  output_->playerChanged();
  return true;
}

std::int64_t AudioPlayer::framesLeft() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return playing_ ? length_ - position_ : -1;
}

void AudioPlayer::pause() {
  catchUp();
  std::lock_guard<std::mutex> lock(mutex_);
  playing_ = false;
}

void AudioPlayer::stop() { pause(); }

bool AudioPlayer::isPlaying() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return playing_;
}

double AudioPlayer::currentTime() const {
  catchUp();
  std::lock_guard<std::mutex> lock(mutex_);
  return double(position_) / AudioOutput::kRate;
}

void AudioPlayer::setCurrentTime(double seconds) {
  catchUp();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!decoder_ || std::isnan(seconds)) return;
    auto frame = std::clamp<std::int64_t>(std::llround(seconds * AudioOutput::kRate), 0, length_);
    if (!decoder_->seek(frame)) return;
    position_ = frame;
  }
  output_->playerChanged();
}

double AudioPlayer::duration() const { return double(length_) / AudioOutput::kRate; }

void AudioPlayer::setVolume(float volume) {
  catchUp();
  volume_.store(std::clamp(std::isnan(volume) ? 0.0f : volume, 0.0f, 1.0f));
}

void AudioPlayer::setDelegate(std::weak_ptr<AudioPlayerDelegate> delegate) {
  std::lock_guard<std::mutex> lock(mutex_);
  delegate_ = std::move(delegate);
}

std::shared_ptr<AudioPlayerDelegate> AudioPlayer::delegate() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return delegate_.lock();
}

void AudioPlayer::render(float* out, std::size_t frames, std::vector<float>& scratch) {
  bool ended = false, failed = false;
  std::string why;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!playing_ || !decoder_) return;
    scratch.resize(frames * AudioOutput::kChannels);
    std::size_t produced = 0;
    auto status = decoder_->read(scratch.data(), frames, &produced);
    float gain = volume_.load();
    for (std::size_t i = 0; i < produced * AudioOutput::kChannels; ++i) out[i] += gain * scratch[i];
    position_ = std::min(position_ + std::int64_t(produced), length_);
    if (status == Mp3Decoder::Status::Error) {
      failed = true;
      why = decoder_->lastError();
    } else if (status == Mp3Decoder::Status::End || position_ >= length_) {
      ended = true;
      position_ = length_;
    }
    if (ended || failed) playing_ = false;
  }
  if (ended || failed) deliverEnd(failed, why);
}

void AudioPlayer::deliverEnd(bool decodeError, std::string why) {
  std::weak_ptr<AudioPlayer> weak = weak_from_this();
  ns::RunLoop::main().post([weak, decodeError, why] {
    auto self = weak.lock();
    if (!self) return;
    auto delegate = self->delegate();
    if (!delegate) return;
    if (decodeError) delegate->audioPlayerDecodeErrorDidOccur(*self, audioError(-1, "Decode error: " + why));
    else delegate->audioPlayerDidFinishPlaying(*self, true);
  });
}

bool AudioPlayer::interrupt() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!playing_) return false;
    playing_ = false;
    interrupted_ = true;
  }
  if (auto d = delegate()) d->audioPlayerBeginInterruption(*this);
  return true;
}

void AudioPlayer::endInterruption(unsigned flags) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!interrupted_) return;
    interrupted_ = false;
  }
  if (auto d = delegate()) d->audioPlayerEndInterruption(*this, flags);
}

}  // namespace av
