#include "toolkit/core/Object+TKCategory.h"

#include "toolkit/core/TKNavigator.h"

namespace ns {

std::string URLValue(const TKObject& object, const std::string& name) {
  return TKNavigator::navigator().URLMap().URLForObject(object, name);
}

std::shared_ptr<TKObject> objectValue(const std::string& url) {
  return TKNavigator::navigator().URLMap().objectForURL(url);
}

void openURL(const std::string& url) { TKNavigator::navigator().openURL(url, true); }

}  // namespace ns
