#include "platform/foundation/Base64.h"

#include <array>
#include <cstdint>

namespace ns {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kSkip = 0xFE;
constexpr std::uint8_t kInvalid = 0xFF;

// The decoding table: 6-bit value per character, or skip / invalid.
constexpr std::array<std::uint8_t, 256> makeDecodeTable() {
  std::array<std::uint8_t, 256> table{};
  for (auto& entry : table) entry = kInvalid;
  for (std::uint8_t i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = i;
  for (char c : {' ', '\t', '\n', '\r', '\v', '\f', '='}) table[static_cast<unsigned char>(c)] = kSkip;
  return table;
}

constexpr auto kDecode = makeDecodeTable();

}  // namespace

std::optional<Data> base64Decode(std::string_view text) {
  Data out;
  out.reserve(text.size() / 4 * 3 + 3);
  std::uint32_t group = 0;
  int count = 0;
  for (unsigned char c : text) {
    if (c >= 0x80) return std::nullopt;  // not ASCII
    const std::uint8_t value = kDecode[c];
    if (value == kSkip) continue;
    if (value == kInvalid) return std::nullopt;
    group = (group << 6) | value;
    if (++count == 4) {
      out.push_back(static_cast<std::uint8_t>(group >> 16));
      out.push_back(static_cast<std::uint8_t>(group >> 8));
      out.push_back(static_cast<std::uint8_t>(group));
      group = 0;
      count = 0;
    }
  }
  switch (count) {
    case 1:
      return std::nullopt;  // six bits make no byte
    case 2:
      out.push_back(static_cast<std::uint8_t>(group >> 4));
      break;
    case 3:
      out.push_back(static_cast<std::uint8_t>(group >> 10));
      out.push_back(static_cast<std::uint8_t>(group >> 2));
      break;
    default:
      break;
  }
  return out;
}

std::string base64Encode(const Data& data) {
  std::string out;
  out.reserve((data.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= data.size(); i += 3) {
    const std::uint32_t group = (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
    out += kAlphabet[(group >> 18) & 63];
    out += kAlphabet[(group >> 12) & 63];
    out += kAlphabet[(group >> 6) & 63];
    out += kAlphabet[group & 63];
  }
  const std::size_t rest = data.size() - i;
  if (rest > 0) {
    const std::uint32_t group = (data[i] << 16) | (rest == 2 ? data[i + 1] << 8 : 0);
    out += kAlphabet[(group >> 18) & 63];
    out += kAlphabet[(group >> 12) & 63];
    out += rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

}  // namespace ns
