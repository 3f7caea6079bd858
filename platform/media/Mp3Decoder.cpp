#include "platform/media/Mp3Decoder.h"

#include <mpg123.h>
#include <sys/types.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace av {

// The bytes the decoder reads, with its read position.
struct Mp3Decoder::Source {
  std::shared_ptr<const ns::Data> bytes;
  std::size_t position = 0;
};

namespace {

void initLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { mpg123_init(); });
}

mpg123_ssize_t readSource(void* handle, void* buffer, size_t count) {
  auto* source = static_cast<Mp3Decoder::Source*>(handle);
  const ns::Data& bytes = *source->bytes;
  std::size_t n = std::min(count, bytes.size() - std::min(source->position, bytes.size()));
  if (n) std::memcpy(buffer, bytes.data() + source->position, n);
  source->position += n;
  return static_cast<mpg123_ssize_t>(n);
}

off_t seekSource(void* handle, off_t offset, int whence) {
  auto* source = static_cast<Mp3Decoder::Source*>(handle);
  off_t size = static_cast<off_t>(source->bytes->size());
  off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<off_t>(source->position) : size;
  off_t target = base + offset;
  if (target < 0 || target > size) {
    errno = EINVAL;
    return -1;
  }
  source->position = static_cast<std::size_t>(target);
  return target;
}

}  // namespace

std::unique_ptr<Mp3Decoder> Mp3Decoder::open(std::shared_ptr<const ns::Data> bytes, std::string* error) {
  auto fail = [error](std::string why) {
    if (error) *error = std::move(why);
    return nullptr;
  };
  if (!bytes || bytes->empty()) return fail("the audio data is empty");
  initLibrary();
  int err = MPG123_OK;
  mpg123_handle* mh = mpg123_new(nullptr, &err);
  if (!mh) return fail(mpg123_plain_strerror(err));
  std::unique_ptr<Mp3Decoder> decoder(new Mp3Decoder());
  decoder->handle_ = mh;
  decoder->source_ = std::make_unique<Source>();
  decoder->source_->bytes = std::move(bytes);
  mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_FORCE_STEREO | MPG123_GAPLESS, 0);
  mpg123_format_none(mh);
  if (mpg123_format(mh, kRate, MPG123_STEREO, MPG123_ENC_FLOAT_32) != MPG123_OK ||
      mpg123_replace_reader_handle(mh, readSource, seekSource, nullptr) != MPG123_OK ||
      mpg123_open_handle(mh, decoder->source_.get()) != MPG123_OK)
    return fail(mpg123_strerror(mh));
  long rate = 0;
  int channels = 0, encoding = 0;
  if (mpg123_getformat(mh, &rate, &channels, &encoding) != MPG123_OK) return fail(mpg123_strerror(mh));
  // The length is exact when the stream's header tells it (the encoder's tag);
  // otherwise the whole stream is scanned for it.
  long accurate = 0;
  if (mpg123_getstate(mh, MPG123_ACCURATE, &accurate, nullptr) != MPG123_OK || !accurate) {
    if (mpg123_scan(mh) != MPG123_OK) return fail(mpg123_strerror(mh));
  }
  off_t length = mpg123_length(mh);
  if (length <= 0) return fail("the data holds no MPEG audio");
  decoder->length_ = length;
  if (mpg123_seek(mh, 0, SEEK_SET) < 0) return fail(mpg123_strerror(mh));
  return decoder;
}

Mp3Decoder::~Mp3Decoder() {
  if (auto* mh = static_cast<mpg123_handle*>(handle_)) {
    mpg123_close(mh);
    mpg123_delete(mh);
  }
}

Mp3Decoder::Status Mp3Decoder::read(float* out, std::size_t frames, std::size_t* produced) {
  auto* mh = static_cast<mpg123_handle*>(handle_);
  std::size_t wanted = frames * kChannels * sizeof(float), got = 0;
  *produced = 0;
  while (got < wanted) {
    size_t done = 0;
    int r = mpg123_read(mh, reinterpret_cast<unsigned char*>(out) + got, wanted - got, &done);
    got += done;
    if (r == MPG123_OK || r == MPG123_NEW_FORMAT) {
      if (done == 0 && r == MPG123_OK) break;
      continue;
    }
    *produced = got / (kChannels * sizeof(float));
    return r == MPG123_DONE ? Status::End : Status::Error;
  }
  *produced = got / (kChannels * sizeof(float));
  return Status::Ok;
}

bool Mp3Decoder::seek(std::int64_t frame) {
  frame = std::clamp<std::int64_t>(frame, 0, length_);
  return mpg123_seek(static_cast<mpg123_handle*>(handle_), static_cast<off_t>(frame), SEEK_SET) >= 0;
}

std::string Mp3Decoder::lastError() const { return mpg123_strerror(static_cast<mpg123_handle*>(handle_)); }

}  // namespace av
