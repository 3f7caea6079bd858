#include "platform/foundation/Value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/foundation/Base64.h"
#include "platform/foundation/String.h"

namespace ns {

namespace {

const std::string kEmptyString;
const Data kEmptyData;
const Array kEmptyArray;
const Dictionary kEmptyDictionary;
const Value kNull;

std::string doubleText(double d) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
  if (ec != std::errc()) return "0";
  return std::string(buf, end);
}

std::int64_t truncateToInteger(double d) {
  if (std::isnan(d)) return 0;
  constexpr double kLimit = 9223372036854775807.0;
  if (d >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (d <= -kLimit) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(d);
}

// ---- JSON writer ----------------------------------------------------------------------

void writeString(std::string& out, std::string_view s) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (unsigned char c : sanitizeUtf8(s)) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (c < 0x20) {
          out += "\\u00";
          out.push_back(kHex[c >> 4]);
          out.push_back(kHex[c & 0xF]);
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  out.push_back('"');
}

void newline(std::string& out, bool pretty, int depth) {
  if (!pretty) return;
  out.push_back('\n');
  out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

void writeValue(std::string& out, const Value& v, bool pretty, int depth) {
  switch (v.type()) {
    case Value::Type::Null: out += "null"; break;
    case Value::Type::Bool: out += v.boolValue() ? "true" : "false"; break;
    case Value::Type::Integer: out += std::to_string(v.integerValue()); break;
    case Value::Type::Double: {
      double d = v.doubleValue();
      if (!std::isfinite(d)) {
        out += "null";
        break;
      }
      std::string text = doubleText(d);
      // Keep a fraction or exponent so the number reads back as a double.
      if (text.find_first_of(".eE") == std::string::npos) text += ".0";
      out += text;
      break;
    }
    case Value::Type::Decimal: out += v.decimal()->description(); break;
    case Value::Type::String: writeString(out, v.string()); break;
    case Value::Type::Data:
      out += "{\"$data\":";
      writeString(out, base64Encode(v.data()));
      out += "}";
      break;
    case Value::Type::Date:
      out += "{\"$date\":";
      out += doubleText(v.date()->timeIntervalSince1970());
      out += "}";
      break;
    case Value::Type::Array: {
      out.push_back('[');
      bool first = true;
      for (const Value& item : v.array()) {
        if (!first) out.push_back(',');
        first = false;
        newline(out, pretty, depth + 1);
        writeValue(out, item, pretty, depth + 1);
      }
      if (!first) newline(out, pretty, depth);
      out.push_back(']');
      break;
    }
    case Value::Type::Dictionary: {
      out.push_back('{');
      bool first = true;
      for (const auto& [key, item] : v.dictionary()) {
        if (!first) out.push_back(',');
        first = false;
        newline(out, pretty, depth + 1);
        writeString(out, key);
        out += pretty ? ": " : ":";
        writeValue(out, item, pretty, depth + 1);
      }
      if (!first) newline(out, pretty, depth);
      out.push_back('}');
      break;
    }
  }
}

// ---- JSON reader ----------------------------------------------------------------------

class JsonReader {
 public:
  JsonReader(std::string_view text, int maxDepth) : s_(text), maxDepth_(maxDepth) {}

  std::optional<Value> document() {
    auto v = value(0);
    skipSpace();
    if (!v || pos_ != s_.size()) return std::nullopt;
    return v;
  }

 private:
  void skipSpace() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r'))
      ++pos_;
  }

  bool literal(std::string_view word) {
    if (s_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  std::optional<Value> value(int depth) {
    if (depth > maxDepth_) return std::nullopt;
    skipSpace();
    if (pos_ >= s_.size()) return std::nullopt;
    char c = s_[pos_];
    if (c == '{') return object(depth);
    if (c == '[') return array(depth);
    if (c == '"') {
      auto text = string();
      if (!text) return std::nullopt;
      return Value(std::move(*text));
    }
    if (literal("true")) return Value(true);
    if (literal("false")) return Value(false);
    if (literal("null")) return Value();
    return number();
  }

  std::optional<Value> number() {
    std::size_t start = pos_;
    if (pos_ < s_.size() && s_[pos_] == '-') ++pos_;
    std::size_t digitsStart = pos_;
    while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
    if (pos_ == digitsStart) return std::nullopt;
    bool integral = true;
    if (pos_ < s_.size() && s_[pos_] == '.') {
      integral = false;
      std::size_t f = ++pos_;
      while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
      if (pos_ == f) return std::nullopt;
    }
    if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
      integral = false;
      ++pos_;
      if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) ++pos_;
      std::size_t e = pos_;
      while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
      if (pos_ == e) return std::nullopt;
    }
    const char* first = s_.data() + start;
    const char* last = s_.data() + pos_;
    if (integral) {
      std::int64_t i = 0;
      auto [p, ec] = std::from_chars(first, last, i);
      if (ec == std::errc() && p == last) return Value(i);
      // Too large for an integer: keep it as a double.
    }
    double d = 0;
    auto [p, ec] = std::from_chars(first, last, d);
    if (ec == std::errc::result_out_of_range) return Value(0.0);
    if (ec != std::errc() || p != last) return std::nullopt;
    return Value(d);
  }

  std::optional<std::string> string() {
    auto text = readQuotedString(
        s_, pos_, [](unsigned char c) { return c < 0x20; },
        [this](char e, std::size_t& pos, std::string& out) {
          static constexpr std::string_view kFrom = "\"\\/bfnrt", kTo = "\"\\/\b\f\n\r\t";
          if (e == 'u') return appendUnicodeEscape(s_, pos, out);
          const std::size_t i = kFrom.find(e);
          if (i == std::string_view::npos) return false;
          out.push_back(kTo[i]);
          return true;
        });
    if (!text) return std::nullopt;
    return sanitizeUtf8(*text);
  }

  std::optional<Value> array(int depth) {
    ++pos_;
    Array items;
    skipSpace();
    if (pos_ < s_.size() && s_[pos_] == ']') {
      ++pos_;
      return Value(std::move(items));
    }
    for (;;) {
      auto item = value(depth + 1);
      if (!item) return std::nullopt;
      items.push_back(std::move(*item));
      skipSpace();
      if (pos_ >= s_.size()) return std::nullopt;
      char c = s_[pos_++];
      if (c == ']') return Value(std::move(items));
      if (c != ',') return std::nullopt;
    }
  }

  std::optional<Value> object(int depth) {
    ++pos_;
    Dictionary members;
    skipSpace();
    if (pos_ < s_.size() && s_[pos_] == '}') {
      ++pos_;
      return Value(std::move(members));
    }
    for (;;) {
      skipSpace();
      if (pos_ >= s_.size() || s_[pos_] != '"') return std::nullopt;
      auto key = string();
      if (!key) return std::nullopt;
      skipSpace();
      if (pos_ >= s_.size() || s_[pos_++] != ':') return std::nullopt;
      auto item = value(depth + 1);
      if (!item) return std::nullopt;
      members[std::move(*key)] = std::move(*item);
      skipSpace();
      if (pos_ >= s_.size()) return std::nullopt;
      char c = s_[pos_++];
      if (c == '}') return tagged(std::move(members));
      if (c != ',') return std::nullopt;
    }
  }

  // {"$date": seconds} and {"$data": "base64"} are the writer's encodings.
  static Value tagged(Dictionary members) {
    if (members.size() == 1) {
      auto& [key, item] = *members.begin();
      if (key == "$date" && (item.isInteger() || item.isDouble())) return Value(Date(item.doubleValue()));
      if (key == "$data" && item.isString()) {
        if (auto bytes = base64Decode(item.string())) return Value(std::move(*bytes));
      }
    }
    return Value(std::move(members));
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  int maxDepth_;
};

constexpr unsigned __int128 kPow10_19 = 10'000'000'000'000'000'000u;

// The decimal digits of the mantissa into buf (40 bytes); their count. 64-bit
// steps: 128-bit division is a library call.
std::size_t mantissaDigits(unsigned __int128 m, char* buf) {
  if (m <= UINT64_MAX) return static_cast<std::size_t>(std::to_chars(buf, buf + 40, static_cast<std::uint64_t>(m)).ptr - buf);
  const std::size_t high = mantissaDigits(m / kPow10_19, buf);
  char low[20];
  const std::size_t n = static_cast<std::size_t>(std::to_chars(low, low + 20, static_cast<std::uint64_t>(m % kPow10_19)).ptr - low);
  std::fill(buf + high, buf + high + 19 - n, '0');
  std::copy(low, low + n, buf + high + 19 - n);
  return high + 19;
}

}  // namespace

// ---- Decimal ----------------------------------------------------------------------------

std::optional<Decimal> Decimal::make(bool negative, unsigned __int128 mantissa, std::int64_t exponent) {
  if (mantissa == 0) return Decimal{};
  for (; mantissa > UINT64_MAX && mantissa % 10 == 0; ++exponent) mantissa /= 10;
  if (mantissa <= UINT64_MAX) {
    auto small = static_cast<std::uint64_t>(mantissa);
    for (; small % 10 == 0; ++exponent) small /= 10;
    mantissa = small;
  }
  constexpr unsigned __int128 kLimit = kPow10_19 * kPow10_19;  // 10^38
  static_assert(kMaxDigits == 38);
  if (mantissa >= kLimit || exponent < kMinExponent || exponent > kMaxExponent) return std::nullopt;
  return Decimal{mantissa, static_cast<std::int32_t>(exponent), negative};
}

std::string Decimal::description() const {
  std::string out;
  appendDescription(out);
  return out;
}

void Decimal::appendDescription(std::string& out) const {
  char digits[40];
  const std::size_t count = mantissaDigits(mantissa, digits);
  if (negative) out += '-';
  if (exponent >= 0) {
    out.append(digits, count);
    if (mantissa != 0) out.append(static_cast<std::size_t>(exponent), '0');
    return;
  }
  const std::size_t fraction = static_cast<std::size_t>(-exponent);
  if (count <= fraction) {
    out += "0.";
    out.append(fraction - count, '0');
    out.append(digits, count);
  } else {
    out.append(digits, count - fraction);
    out += '.';
    out.append(digits + count - fraction, fraction);
  }
}

double Decimal::doubleValue() const {
  char digits[40];
  const std::string text = std::string(digits, mantissaDigits(mantissa, digits)) + "e" + std::to_string(exponent);
  double d = 0;
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
  (void)p;
  if (ec == std::errc::result_out_of_range) d = exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  return negative ? -d : d;
}

std::int64_t Decimal::integerValue() const {
  constexpr unsigned __int128 kMax = std::numeric_limits<std::int64_t>::max();
  unsigned __int128 magnitude = mantissa;
  for (std::int32_t e = exponent; e > 0 && magnitude != 0 && magnitude <= kMax; --e) magnitude *= 10;
  for (std::int32_t e = exponent; e < 0 && magnitude != 0; ++e) magnitude /= 10;
  if (negative) return magnitude > kMax ? std::numeric_limits<std::int64_t>::min() : -static_cast<std::int64_t>(magnitude);
  return magnitude > kMax ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(magnitude);
}

// ---- Value ------------------------------------------------------------------------------

bool Value::boolValue() const {
  switch (type()) {
    case Type::Bool: return std::get<bool>(v_);
    case Type::Integer: return std::get<std::int64_t>(v_) != 0;
    case Type::Double: return std::get<double>(v_) != 0;
    case Type::Decimal: return std::get<Decimal>(v_).mantissa != 0;
    case Type::String: return ns::boolValue(std::get<std::string>(v_));
    default: return false;
  }
}

std::int64_t Value::integerValue() const {
  switch (type()) {
    case Type::Bool: return std::get<bool>(v_) ? 1 : 0;
    case Type::Integer: return std::get<std::int64_t>(v_);
    case Type::Double: return truncateToInteger(std::get<double>(v_));
    case Type::Decimal: return std::get<Decimal>(v_).integerValue();
    case Type::String: return ns::integerValue(std::get<std::string>(v_));
    default: return 0;
  }
}

int Value::intValue() const {
  std::int64_t v = integerValue();
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

double Value::doubleValue() const {
  switch (type()) {
    case Type::Bool: return std::get<bool>(v_) ? 1 : 0;
    case Type::Integer: return static_cast<double>(std::get<std::int64_t>(v_));
    case Type::Double: return std::get<double>(v_);
    case Type::Decimal: return std::get<Decimal>(v_).doubleValue();
    case Type::String: return ns::doubleValue(std::get<std::string>(v_));
    case Type::Date: return std::get<Date>(v_).timeIntervalSince1970();
    default: return 0;
  }
}

std::string Value::stringValue() const {
  switch (type()) {
    case Type::String: return std::get<std::string>(v_);
    case Type::Bool: return std::get<bool>(v_) ? "1" : "0";
    case Type::Integer: return std::to_string(std::get<std::int64_t>(v_));
    case Type::Double: return doubleText(std::get<double>(v_));
    case Type::Decimal: return std::get<Decimal>(v_).description();
    default: return {};
  }
}

const std::string& Value::string() const {
  auto* p = std::get_if<std::string>(&v_);
  return p ? *p : kEmptyString;
}

const Data& Value::data() const {
  auto* p = std::get_if<Data>(&v_);
  return p ? *p : kEmptyData;
}

std::optional<Date> Value::date() const {
  auto* p = std::get_if<Date>(&v_);
  if (!p) return std::nullopt;
  return *p;
}

const Array& Value::array() const {
  auto* p = std::get_if<Array>(&v_);
  return p ? *p : kEmptyArray;
}

const Dictionary& Value::dictionary() const {
  auto* p = std::get_if<Dictionary>(&v_);
  return p ? *p : kEmptyDictionary;
}

std::optional<Decimal> Value::decimal() const {
  auto* p = std::get_if<Decimal>(&v_);
  if (!p) return std::nullopt;
  return *p;
}

const Value& Value::operator[](const std::string& key) const {
  const Dictionary& d = dictionary();
  auto it = d.find(key);
  return it == d.end() ? kNull : it->second;
}

const Value& Value::operator[](std::size_t index) const {
  const Array& a = array();
  return index < a.size() ? a[index] : kNull;
}

std::size_t Value::count() const {
  switch (type()) {
    case Type::Array: return array().size();
    case Type::Dictionary: return dictionary().size();
    case Type::Data: return data().size();
    default: return 0;
  }
}

std::string Value::toJSON(bool pretty) const {
  std::string out;
  writeValue(out, *this, pretty, 0);
  return out;
}

std::optional<Value> Value::fromJSON(std::string_view text, int maxDepth) {
  return JsonReader(text, maxDepth).document();
}

std::string Value::description() const {
  if (isDate()) return date()->description();
  if (isString()) return string();
  return toJSON();
}

}  // namespace ns
