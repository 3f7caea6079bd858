#pragma once
// Joining a list of texts.
#include <string>
#include <string_view>
#include <vector>

namespace ns {

// The items joined with the separator between them.
std::string implode(const std::vector<std::string>& items, std::string_view separator);

}  // namespace ns
