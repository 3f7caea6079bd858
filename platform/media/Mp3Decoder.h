#pragma once
// MP3 bytes decoded with libmpg123 into interleaved stereo float frames at the
// output rate (other rates are resampled by the decoder). Not thread-safe: its
// owner serialises the calls.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/foundation/Data.h"

namespace av {

class Mp3Decoder {
 public:
  static constexpr int kRate = 44100;
  static constexpr int kChannels = 2;

  // Empty when the bytes hold no MPEG audio; `error` then says why.
  static std::unique_ptr<Mp3Decoder> open(std::shared_ptr<const ns::Data> bytes, std::string* error);
  ~Mp3Decoder();
  Mp3Decoder(const Mp3Decoder&) = delete;
  Mp3Decoder& operator=(const Mp3Decoder&) = delete;

  // Frames (one sample per channel) of the whole stream at the output rate.
  std::int64_t lengthFrames() const { return length_; }
  enum class Status { Ok, End, Error };
  // Decodes up to `frames` frames into out; `produced` says how many came.
  Status read(float* out, std::size_t frames, std::size_t* produced);
  // Moves to the frame (clamped to the stream); false when the stream refuses.
  bool seek(std::int64_t frame);
  std::string lastError() const;

  struct Source;

 private:
  Mp3Decoder() = default;
  void* handle_ = nullptr;  // mpg123_handle
  std::unique_ptr<Source> source_;
  std::int64_t length_ = 0;
};

}  // namespace av
