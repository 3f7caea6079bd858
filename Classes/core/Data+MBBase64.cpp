#include "Classes/core/Data+MBBase64.h"

#include "platform/foundation/Base64.h"

namespace ns {

std::optional<Data> dataWithBase64EncodedString(std::string_view text) { return base64Decode(text); }

std::string base64Encoding(const Data& data) { return base64Encode(data); }

}  // namespace ns
