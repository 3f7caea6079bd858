#pragma once
// A heterogeneous value: what defaults, property lists and decoded JSON hold.
#include <concepts>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/foundation/Data.h"
#include "platform/foundation/Date.h"

namespace ns {

// A decimal number kept as written in text: (-1)^negative x mantissa x 10^exponent,
// never rounded through binary floating point. Normalised (no trailing zeros in
// the mantissa; zero is positive with exponent 0), so equal numbers are equal.
struct Decimal {
  static constexpr int kMaxDigits = 38;  // significant digits of the mantissa
  static constexpr int kMinExponent = -350, kMaxExponent = 350;

  unsigned __int128 mantissa = 0;
  std::int32_t exponent = 0;
  bool negative = false;

  // The normalised number, or nullopt when it needs more than kMaxDigits
  // digits or its exponent falls outside kMinExponent..kMaxExponent.
  static std::optional<Decimal> make(bool negative, unsigned __int128 mantissa, std::int64_t exponent);
  // Plain decimal text, locale-free, no exponent: "-12.5", "0.001", "100".
  std::string description() const;
  void appendDescription(std::string& out) const;
  double doubleValue() const;
  // Truncated towards zero, saturating at the int64 limits.
  std::int64_t integerValue() const;
  friend bool operator==(const Decimal&, const Decimal&) = default;
};

class Value;
using Array = std::vector<Value>;
using Dictionary = std::map<std::string, Value>;

class Value {
 public:
  enum class Type { Null, Bool, Integer, Double, String, Data, Date, Array, Dictionary, Decimal };

  Value() = default;
  Value(std::nullptr_t) {}
  Value(bool b) : v_(b) {}
  template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>)
  Value(T i) : v_(static_cast<std::int64_t>(i)) {}
  Value(double d) : v_(d) {}
  Value(float f) : v_(static_cast<double>(f)) {}
  Value(const char* s) : v_(std::string(s ? s : "")) {}
  Value(std::string s) : v_(std::move(s)) {}
  Value(std::string_view s) : v_(std::string(s)) {}
  Value(ns::Data d) : v_(std::move(d)) {}
  Value(ns::Date d) : v_(d) {}
  Value(ns::Array a) : v_(std::move(a)) {}
  Value(ns::Dictionary d) : v_(std::move(d)) {}
  Value(ns::Decimal d) : v_(d) {}

  Type type() const { return static_cast<Type>(v_.index()); }
  bool isNull() const { return type() == Type::Null; }
  bool isBool() const { return type() == Type::Bool; }
  bool isInteger() const { return type() == Type::Integer; }
  bool isDouble() const { return type() == Type::Double; }
  bool isDecimal() const { return type() == Type::Decimal; }
  bool isNumber() const { return isBool() || isInteger() || isDouble() || isDecimal(); }
  bool isString() const { return type() == Type::String; }
  bool isData() const { return type() == Type::Data; }
  bool isDate() const { return type() == Type::Date; }
  bool isArray() const { return type() == Type::Array; }
  bool isDictionary() const { return type() == Type::Dictionary; }

  // Converting accessors, as the platform's defaults read values: a string
  // gives its leading number ("12abc" is 12) and reads as YES when it starts
  // with Y/y/T/t or a non-zero digit; a bool is 1/0; a double is truncated.
  // Nothing throws; a value that cannot convert gives 0 / NO / "".
  bool boolValue() const;
  std::int64_t integerValue() const;
  int intValue() const;
  double doubleValue() const;
  float floatValue() const { return static_cast<float>(doubleValue()); }
  // Strings as they are; numbers as their text ("3", "2.5"); others "".
  std::string stringValue() const;

  // Exact accessors: the held value, or an empty one when the type differs.
  const std::string& string() const;
  const ns::Data& data() const;
  std::optional<ns::Date> date() const;
  const ns::Array& array() const;
  const ns::Dictionary& dictionary() const;
  std::optional<ns::Decimal> decimal() const;
  ns::Array* mutableArray() { return std::get_if<ns::Array>(&v_); }
  ns::Dictionary* mutableDictionary() { return std::get_if<ns::Dictionary>(&v_); }

  // Dictionary member (null when absent or not a dictionary) and array item
  // (null when out of range or not an array).
  const Value& operator[](const std::string& key) const;
  const Value& operator[](std::size_t index) const;
  // Number of items of an array or dictionary, bytes of data, else 0.
  std::size_t count() const;

  friend bool operator==(const Value&, const Value&) = default;

  // JSON text of the value. Dates and data, which JSON lacks, are written as
  // {"$date": seconds} and {"$data": "base64"} so they read back as themselves.
  std::string toJSON(bool pretty = false) const;
  // Parses JSON text; nullopt (never an exception) for malformed input.
  // maxDepth bounds nesting so hostile input cannot exhaust the stack.
  static std::optional<Value> fromJSON(std::string_view text, int maxDepth = 256);

  // A short text for log lines.
  std::string description() const;

 private:
  std::variant<std::monostate, bool, std::int64_t, double, std::string, ns::Data, ns::Date,
               ns::Array, ns::Dictionary, ns::Decimal>
      v_;
};

}  // namespace ns
