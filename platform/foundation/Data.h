#pragma once
// Bytes: the stand-in for the platform's data object.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ns {

using Data = std::vector<std::uint8_t>;

inline Data dataFromString(std::string_view s) { return Data(s.begin(), s.end()); }
inline std::string stringFromData(const Data& d) { return std::string(d.begin(), d.end()); }

}  // namespace ns
