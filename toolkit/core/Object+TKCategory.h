#pragma once
// Objects and URL strings through the shared navigator (created on first use):
// the URL an object is reached by, the object a URL names, and opening a URL.
#include <memory>
#include <string>

#include "toolkit/core/TKClassRegistry.h"

namespace ns {

// The URL the navigator's map generates for the object; "" when none.
std::string URLValue(const TKObject& object, const std::string& name = "");
// The object the navigator's map holds or makes for the URL; null when none.
std::shared_ptr<TKObject> objectValue(const std::string& url);
// Opens the URL through the shared navigator, animated.
void openURL(const std::string& url);

}  // namespace ns
