#include "Classes/core/Array+Plus.h"

#include "platform/foundation/String.h"

namespace ns {

std::string implode(const std::vector<std::string>& items, std::string_view separator) {
  return componentsJoinedByString(items, separator);
}

}  // namespace ns
