#include "toolkit/core/TKURLPatternText.h"

#include <cstdio>

#include "platform/foundation/String.h"

namespace {

std::string formatValue(const ns::Value& value, TKArgumentType type) {
  char buf[64];
  switch (type) {
    case TKArgumentNone:
      return "";
    case TKArgumentBool:
    case TKArgumentInt:
      std::snprintf(buf, sizeof buf, "%d", value.intValue());
      return buf;
    case TKArgumentLongLong:
      std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(value.integerValue()));
      return buf;
    case TKArgumentFloat:
    case TKArgumentDouble:
      std::snprintf(buf, sizeof buf, "%f", value.doubleValue());
      return buf;
    default:
      return value.stringValue();
  }
}

}  // namespace

std::string TKURLSelector::perform(const TKObject& object, TKArgumentType returnType) const {
  const TKProperty* property = TKClassRegistry::shared().property(object.className(), _name);
  if (!property || !property->get) return "";
  TKResult result = property->get(object);
  if (_next) return result.object ? _next->perform(*result.object, returnType) : "";
  if (returnType == TKArgumentNone) returnType = property->type;
  if (result.object && returnType == TKArgumentObject) return "";
  return formatValue(result.value, returnType);
}

std::string TKURLWildcard::convertPropertyOfObject(const TKObject& object) const {
  return _selector ? _selector->perform(object, _argType) : "";
}

void TKURLWildcard::deduceSelectorForClass(const std::string& className) {
  std::vector<std::string> pieces = ns::componentsSeparatedByString(_name, ".");
  if (pieces.size() <= 1) {
    _argType = TKPropertyArgumentType(className, _name);
    _selector = std::make_shared<TKURLSelector>(_name);
    return;
  }
  std::shared_ptr<TKURLSelector> previous;
  for (const std::string& piece : pieces) {
    auto step = std::make_shared<TKURLSelector>(piece);
    if (previous)
      previous->setNext(step);
    else
      _selector = step;
    previous = step;
  }
}
