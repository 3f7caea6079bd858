#include "src/JSON/JSONCodec.h"

JSONCodec::JSONCodec() { setMaxDepth(kDefaultMaxDepth); }

bool JSONCodec::setMaxDepth(unsigned maxDepth) {
  if (!jsonParser.setMaxDepth(maxDepth)) return false;
  jsonWriter.setMaxDepth(maxDepth);
  JSONCodecBase::setMaxDepth(maxDepth);
  return true;
}

template <typename T>
std::optional<T> JSONCodec::finish(std::optional<T> result, const JSONCodecBase& part, JSONErrorRef* error) {
  if (!result) {
    copyErrorTrace(part);
    if (error) *error = errorTrace().empty() ? nullptr : errorTrace().back();
  }
  return result;
}

std::optional<ns::Value> JSONCodec::objectWithString(std::optional<std::string_view> text) {
  return objectWithString(text, false, nullptr);
}

std::optional<ns::Value> JSONCodec::objectWithString(std::optional<std::string_view> text, bool allowScalar,
                                                     JSONErrorRef* error) {
  return finish(allowScalar ? jsonParser.fragmentWithString(text) : jsonParser.objectWithString(text), jsonParser,
                error);
}

std::optional<ns::Value> JSONCodec::fragmentWithString(std::optional<std::string_view> text, JSONErrorRef* error) {
  return objectWithString(text, true, error);
}

std::optional<ns::Value> JSONCodec::objectWithString(std::optional<std::string_view> text, JSONErrorRef* error) {
  return objectWithString(text, false, error);
}

std::optional<std::string> JSONCodec::stringWithObject(const ns::Value& value) {
  return stringWithObject(value, false, nullptr);
}

std::optional<std::string> JSONCodec::stringWithObject(const ns::Value& value, bool allowScalar, JSONErrorRef* error) {
  return finish(allowScalar ? jsonWriter.stringWithFragment(value) : jsonWriter.stringWithObject(value), jsonWriter,
                error);
}

std::optional<std::string> JSONCodec::stringWithFragment(const ns::Value& value, JSONErrorRef* error) {
  return stringWithObject(value, true, error);
}

std::optional<std::string> JSONCodec::stringWithObject(const ns::Value& value, JSONErrorRef* error) {
  return stringWithObject(value, false, error);
}
