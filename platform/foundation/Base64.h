#pragma once
// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks).
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Data.h"

namespace ns {

// Encodes the bytes, padding the last group with "=".
std::string base64Encode(const Data& data);

// Decodes the text; white space and "=" are skipped. No value when the text is
// not ASCII, holds a character outside the alphabet, or ends in a lone character.
std::optional<Data> base64Decode(std::string_view text);

}  // namespace ns
