#pragma once
// The JSON writer: dictionaries, arrays, strings, numbers, bools and null as
// JSON text, compact or indented ("humanReadable"), keys in the dictionary's
// own order or sorted ("sortKeys"). Numbers are written without regard to the
// locale; NaN and the infinities are refused. Failures answer nothing and
// leave their errors in the trace, innermost first.
//
// One call at a time per writer; the settings may be read and set from any
// thread and persist between calls.
#include <atomic>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Value.h"
#include "src/JSON/JSONCodecBase.h"

class JSONCodecWriter : public JSONCodecBase {
 public:
  // A dictionary or an array as JSON text.
  std::optional<std::string> stringWithObject(const ns::Value& value);
  // Any value JSON can hold as JSON text.
  std::optional<std::string> stringWithFragment(const ns::Value& value);

  bool humanReadable() const { return humanReadable_.load(); }
  void setHumanReadable(bool humanReadable) { humanReadable_.store(humanReadable); }
  bool sortKeys() const { return sortKeys_.load(); }
  void setSortKeys(bool sortKeys) { sortKeys_.store(sortKeys); }

 private:
  bool appendValue(const ns::Value& value, std::string& out);
  bool appendArray(const ns::Array& array, std::string& out);
  bool appendDictionary(const ns::Dictionary& dictionary, std::string& out);
  bool appendMember(const std::string& key, const ns::Value& value, bool first, std::string& out);
  void appendString(std::string_view text, std::string& out);
  bool appendNumber(const ns::Value& number, std::string& out);
  // Records "JSON serialisation not supported for <what>"; false.
  bool refuse(const std::string& what);
  // A line feed and two spaces per level of depth.
  void indent(std::string& out) const;

  std::atomic<bool> humanReadable_{false};
  std::atomic<bool> sortKeys_{false};
};
