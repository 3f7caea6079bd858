#pragma once
// The JSON parser: a recursive-descent scanner over the UTF-8 bytes of the
// input. Objects become dictionaries (a repeated key keeps its last value),
// arrays arrays, strings strings, numbers ns::Decimal (kept exactly as
// written), true and false bools, null the null value. It refuses a leading
// plus, leading zeros and trailing commas, and takes a missing comma between
// members. Failures answer nothing and leave their errors in the trace,
// innermost first.
//
// One call at a time per parser; a parser may be reused for any number of calls.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Value.h"
#include "src/JSON/JSONCodecBase.h"

class JSONCodecParser : public JSONCodecBase {
 public:
  // A number literal longer than this is refused ("Failed creating decimal
  // instance"): every number a writer produces is far shorter.
  static constexpr std::size_t kMaxNumberLength = 1024;

  // One value of any kind; nullopt text stands for a missing one.
  std::optional<ns::Value> fragmentWithString(std::optional<std::string_view> text);
  // The same, but the value must be an object or an array.
  std::optional<ns::Value> objectWithString(std::optional<std::string_view> text);

 private:
  bool scanValue(ns::Value& out);
  bool scanRestOfArray(ns::Value& out);
  // How many items the array being read has from the read position on.
  std::size_t countItemsAhead();
  bool scanRestOfDictionary(ns::Value& out);
  bool scanRestOfString(std::string& out);
  bool scanUnicodeChar(std::string& out);
  bool scanHexQuad(unsigned& out);
  bool scanNumber(ns::Value& out);
  // The common short numbers, exactly, on a 64-bit mantissa; false (nothing
  // read) for any other, which scanNumber then reads digit by digit.
  bool scanShortNumber(ns::Value& out);
  bool scanLiteral(std::string_view word, ns::Value value, ns::Value& out, const char* error);
  void skipWhitespace();
  // Records the error and answers false, for `return fail(...)`.
  bool fail(int code, std::string description);

  const char* c = nullptr;  // read position in the UTF-8 bytes of the input
  const char* end_ = nullptr;
  const char* countedUntil_ = nullptr;  // where the last count of items ahead stopped
};
