#pragma once
// In-memory zlib and gzip codecs on bytes. Every function answers empty data
// for empty input and on failure (the failure is logged).
#include <cstddef>

#include "platform/foundation/Data.h"

namespace ns {

// Inflation gives up (empty data, a log line) once its output would pass this
// many bytes, so a small hostile stream cannot exhaust memory.
inline constexpr std::size_t kInflateOutputCap = std::size_t{64} << 20;

// Expands a stream in zlib framing.
Data zlibInflate(const Data& data);
// Compresses into zlib framing at the default level.
Data zlibDeflate(const Data& data);
// Expands a stream in gzip or zlib framing (the header tells which).
Data gzipInflate(const Data& data);
// Compresses into gzip framing at the default level.
Data gzipDeflate(const Data& data);

}  // namespace ns
