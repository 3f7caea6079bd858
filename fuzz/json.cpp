// The JSON codec under libFuzzer: any bytes either parse or fail with an error
// trace, and whatever parses writes back, compact and readable, to text that
// parses to the same value.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "src/JSON/JSONCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  JSONCodec codec;
  JSONErrorRef error;
  const auto value = codec.fragmentWithString(text, &error);
  if (!value) {
    if (!error || codec.errorTrace().empty() || codec.errorTrace().back() != error) __builtin_trap();
    return 0;
  }
  for (bool readable : {false, true}) {
    codec.setHumanReadable(readable);
    codec.setSortKeys(readable);
    const auto written = codec.stringWithFragment(*value, &error);
    if (!written) __builtin_trap();
    const auto again = codec.fragmentWithString(*written, &error);
    if (!again || !(*again == *value)) __builtin_trap();
  }
  return 0;
}
