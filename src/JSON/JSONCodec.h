#pragma once
// The JSON codec the social-network client uses: one parser and one writer
// behind one face. On failure the codec's error trace becomes a copy of the
// failing part's; a successful call leaves it as it was.
//
// One call at a time per codec (the client makes a new one per answer).
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Value.h"
#include "src/JSON/JSONCodecBase.h"
#include "src/JSON/JSONCodecParser.h"
#include "src/JSON/JSONCodecWriter.h"

class JSONCodec : public JSONCodecBase {
 public:
  JSONCodec();

  // ---- parsing -------------------------------------------------------------------
  // An object or an array; nullopt text stands for a missing one.
  std::optional<ns::Value> objectWithString(std::optional<std::string_view> text);
  // Any value when allowScalar, else as above; the last error of a failure
  // goes to *error when error is given.
  std::optional<ns::Value> objectWithString(std::optional<std::string_view> text, bool allowScalar,
                                            JSONErrorRef* error);
  std::optional<ns::Value> fragmentWithString(std::optional<std::string_view> text, JSONErrorRef* error);
  std::optional<ns::Value> objectWithString(std::optional<std::string_view> text, JSONErrorRef* error);

  // ---- writing -------------------------------------------------------------------
  std::optional<std::string> stringWithObject(const ns::Value& value);
  std::optional<std::string> stringWithObject(const ns::Value& value, bool allowScalar, JSONErrorRef* error);
  std::optional<std::string> stringWithFragment(const ns::Value& value, JSONErrorRef* error);
  std::optional<std::string> stringWithObject(const ns::Value& value, JSONErrorRef* error);

  // ---- settings ------------------------------------------------------------------
  // The parser's limit; setting sets both parts (and is refused as theirs is).
  unsigned maxDepth() const { return jsonParser.maxDepth(); }
  bool setMaxDepth(unsigned maxDepth);
  bool humanReadable() const { return jsonWriter.humanReadable(); }
  void setHumanReadable(bool humanReadable) { jsonWriter.setHumanReadable(humanReadable); }
  bool sortKeys() const { return jsonWriter.sortKeys(); }
  void setSortKeys(bool sortKeys) { jsonWriter.setSortKeys(sortKeys); }

 private:
  // Takes over the part's trace after a failure and hands out its last error.
  template <typename T>
  std::optional<T> finish(std::optional<T> result, const JSONCodecBase& part, JSONErrorRef* error);

  JSONCodecParser jsonParser;
  JSONCodecWriter jsonWriter;
};
