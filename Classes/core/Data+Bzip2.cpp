#include "Classes/core/Data+Bzip2.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

#include "platform/foundation/Log.h"

namespace ns {

namespace {

constexpr int kZlibOrGzipWindow = 15 + 32;  // header detected automatically
constexpr int kGzipWindow = 15 + 16;        // write a gzip wrapper
constexpr std::size_t kDeflateStep = 16384;
// The output grows by half the input length; the floor keeps tiny inputs moving.
constexpr std::size_t kMinInflateStep = 4096;

void logCodecError(const char* name, const char* what, const z_stream& stream) {
  logf("DEBUG - [%s] [%s] %s (%s)", logTimestamp().c_str(), name, what,
       stream.msg ? stream.msg : "no message");
}

// zlib counts in 32-bit units; larger inputs are not ours to hold in memory.
bool fitsStream(const Data& input, const char* name) {
  if (input.size() <= UINT_MAX) return true;
  logf("DEBUG - [%s] [%s] input too large", logTimestamp().c_str(), name);
  return false;
}

// What the output is first given. A gzip stream ends with its length modulo
// 2^32 (ISIZE): a stream of one member inflates to exactly that, which is then
// the whole output at once, as zlib's own callers size it. A trailer that
// cannot be true (more than deflate's best ratio of about 1032 to 1) or a
// zlib stream gets 1.5 times the input, grown by steps from there.
std::size_t firstOutputSize(const Data& input) {
  const std::size_t guess = input.size() + input.size() / 2;
  if (input.size() < 18 || input[0] != 0x1f || input[1] != 0x8b) return guess;
  const std::uint8_t* trailer = input.data() + input.size() - 4;
  const std::size_t isize = std::size_t{trailer[0]} | std::size_t{trailer[1]} << 8 | std::size_t{trailer[2]} << 16 |
                            std::size_t{trailer[3]} << 24;
  if (isize == 0 || isize / 1032 > input.size()) return guess;
  // One byte more, so that the stream's end is seen within the first call.
  return isize + 1;
}

Data inflateWith(const Data& input, int windowBits, const char* name) {
  if (input.empty() || !fitsStream(input, name)) return {};
  z_stream stream{};
  stream.next_in = const_cast<Bytef*>(input.data());
  stream.avail_in = static_cast<uInt>(input.size());
  int status = windowBits ? inflateInit2(&stream, windowBits) : inflateInit(&stream);
  if (status != Z_OK) {
    logCodecError(name, "cannot start inflating", stream);
    return {};
  }

  const std::size_t step = std::max(input.size() / 2, kMinInflateStep);
  Data out(std::min(firstOutputSize(input), kInflateOutputCap + 1));
  std::size_t produced = 0;
  bool finished = false;
  bool failed = false;
  while (!finished && !failed) {
    if (produced == out.size()) {
      if (out.size() > kInflateOutputCap) {
        logf("DEBUG - [%s] [%s] output passes %zu bytes, giving up", logTimestamp().c_str(), name,
             kInflateOutputCap);
        failed = true;
        break;
      }
      // One byte past the cap tells a stream that fits from one that does not.
      out.resize(std::min(out.size() + step, kInflateOutputCap + 1));
    }
    stream.next_out = out.data() + produced;
    stream.avail_out = static_cast<uInt>(std::min<std::size_t>(out.size() - produced, UINT_MAX));
    const uInt before = stream.avail_out;
    // Finishing in one call, as it does when the output was sized right, spares
    // zlib its sliding window; a full output only means the buffer must grow.
    status = inflate(&stream, Z_FINISH);
    produced += before - stream.avail_out;
    if (status == Z_STREAM_END) {
      finished = true;
    } else if (status == Z_BUF_ERROR && stream.avail_out == 0) {
      continue;
    } else if (status != Z_OK) {
      logCodecError(name, "corrupt or truncated stream", stream);
      failed = true;
    }
  }
  if (inflateEnd(&stream) != Z_OK && !failed) {
    logCodecError(name, "cannot end inflating", stream);
    failed = true;
  }
  if (failed) return {};
  out.resize(produced);
  return out;
}

Data deflateWith(const Data& input, bool gzip, const char* name) {
  if (input.empty() || !fitsStream(input, name)) return {};
  z_stream stream{};
  int status = gzip ? deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kGzipWindow, 8,
                                   Z_DEFAULT_STRATEGY)
                    : deflateInit(&stream, Z_DEFAULT_COMPRESSION);
  if (status != Z_OK) {
    logCodecError(name, "cannot start deflating", stream);
    return {};
  }
  stream.next_in = const_cast<Bytef*>(input.data());
  stream.avail_in = static_cast<uInt>(input.size());

  Data out;
  std::size_t produced = 0;
  do {
    if (produced == out.size()) out.resize(out.size() + kDeflateStep);
    stream.next_out = out.data() + produced;
    stream.avail_out = static_cast<uInt>(out.size() - produced);
    const uInt before = stream.avail_out;
    status = deflate(&stream, Z_FINISH);
    produced += before - stream.avail_out;
  } while (status == Z_OK || (status == Z_BUF_ERROR && stream.avail_out == 0));
  deflateEnd(&stream);
  if (status != Z_STREAM_END) {
    logCodecError(name, "cannot deflate", stream);
    return {};
  }
  out.resize(produced);
  return out;
}

}  // namespace

Data zlibInflate(const Data& data) { return inflateWith(data, 0, "zlibInflate"); }
Data gzipInflate(const Data& data) { return inflateWith(data, kZlibOrGzipWindow, "gzipInflate"); }
Data zlibDeflate(const Data& data) { return deflateWith(data, false, "zlibDeflate"); }
Data gzipDeflate(const Data& data) { return deflateWith(data, true, "gzipDeflate"); }

}  // namespace ns
