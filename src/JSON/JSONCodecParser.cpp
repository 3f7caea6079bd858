#include "src/JSON/JSONCodecParser.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

#include "platform/foundation/String.h"

namespace {

bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }

// Strict UTF-8: no overlong forms, no encoded surrogates, nothing past U+10FFFF,
// no sequence cut short.
bool isValidUtf8Run(const unsigned char* p, const unsigned char* end) {
  while (p < end) {
    const unsigned char b = *p;
    if (b < 0x80) {
      ++p;
      continue;
    }
    int extra;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
      extra = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (end - p <= extra || p[1] < low || p[1] > high) return false;
    for (int k = 2; k <= extra; ++k) {
      if ((p[k] & 0xC0) != 0x80) return false;
    }
    p += extra + 1;
  }
  return true;
}

std::string withHexByte(const char* format, unsigned char byte) {
  char text[64];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(byte));
  return text;
}

}  // namespace

std::optional<ns::Value> JSONCodecParser::fragmentWithString(std::optional<std::string_view> text) {
  clearErrorTrace();
  if (!text) {
    addErrorWithCode(JSONErrorNilInput, "Input was 'nil'");
    return std::nullopt;
  }
  depth = 0;
  c = text->data();
  end_ = c + text->size();
  countedUntil_ = c;
  ns::Value value;
  if (!scanValue(value)) return std::nullopt;
  skipWhitespace();
  if (c != end_) {
    addErrorWithCode(JSONErrorGarbage, "Garbage after JSON");
    return std::nullopt;
  }
  return value;
}

std::optional<ns::Value> JSONCodecParser::objectWithString(std::optional<std::string_view> text) {
  std::optional<ns::Value> value = fragmentWithString(text);
  if (value && !value->isArray() && !value->isDictionary()) {
    addErrorWithCode(JSONErrorFragment, "Valid fragment, but not JSON");
    return std::nullopt;
  }
  return value;
}

bool JSONCodecParser::fail(int code, std::string description) {
  addErrorWithCode(code, std::move(description));
  return false;
}

void JSONCodecParser::skipWhitespace() {
  while (c != end_ && (*c == ' ' || (*c >= '\t' && *c <= '\r'))) ++c;
}

bool JSONCodecParser::scanValue(ns::Value& out) {
  skipWhitespace();
  if (c == end_) return fail(JSONErrorEndOfInput, "Unexpected end of string");
  switch (*c) {
    case '"': {
      ++c;
      std::string text;
      if (!scanRestOfString(text)) return false;
      out = ns::Value(std::move(text));
      return true;
    }
    case '+': return fail(JSONErrorNumber, "Leading + disallowed in number");
    case '-':
    case '0': case '1': case '2': case '3': case '4':
    case '5': case '6': case '7': case '8': case '9': return scanNumber(out);
    case '[': ++c; return scanRestOfArray(out);
    case '{': ++c; return scanRestOfDictionary(out);
    case 't': return scanLiteral("true", true, out, "Expected 'true'");
    case 'f': return scanLiteral("false", false, out, "Expected 'false'");
    case 'n': return scanLiteral("null", nullptr, out, "Expected 'null'");
    default: return fail(JSONErrorSyntax, "Unrecognised leading character");
  }
}

bool JSONCodecParser::scanLiteral(std::string_view word, ns::Value value, ns::Value& out, const char* error) {
  // The byte after the word is not examined: "truex" leaves "x" to the caller.
  if (std::string_view(c, static_cast<std::size_t>(end_ - c)).substr(0, word.size()) != word)
    return fail(JSONErrorSyntax, error);
  c += word.size();
  out = std::move(value);
  return true;
}

bool JSONCodecParser::scanRestOfArray(ns::Value& out) {
  if (!enterNesting()) return false;
  // A first guess that most arrays stay within; an array that outgrows it and
  // then kCountAheadAfter items counts the rest ahead of time, once, so that a
  // long array is not moved from one ever larger block to the next.
  constexpr std::size_t kFirstGuess = 8, kCountAheadAfter = 64;
  ns::Array items;
  items.reserve(kFirstGuess);
  bool countedAhead = false;
  for (;;) {
    if (c == end_) return fail(JSONErrorEndOfInput, "End of input while parsing array");
    skipWhitespace();
    if (c != end_ && *c == ']') {
      ++c;
      leaveNesting();
      out = ns::Value(std::move(items));
      return true;
    }
    if (items.size() == items.capacity() && items.size() >= kCountAheadAfter && !countedAhead && c >= countedUntil_) {
      countedAhead = true;
      items.reserve(items.size() + countItemsAhead());
    }
    if (!scanValue(items.emplace_back())) return fail(JSONErrorSyntax, "Expected value while parsing array");
    skipWhitespace();
    if (c != end_ && *c == ',') {
      ++c;
      skipWhitespace();
      if (c != end_ && *c == ']') return fail(JSONErrorTrailingComma, "Trailing comma disallowed in array");
    }
  }
}

std::size_t JSONCodecParser::countItemsAhead() {
  // Commas outside nested values and strings, up to the closing bracket. Only
  // a guess of capacity: malformed text merely guesses wrong, and the parse
  // then says what is wrong with it.
  std::size_t commas = 0;
  int nesting = 0;
  const char* p = c;
  for (; p != end_; ++p) {
    const char ch = *p;
    if (ch == '"') {
      for (++p; p != end_ && *p != '"'; ++p)
        if (*p == '\\' && p + 1 != end_) ++p;
      if (p == end_) break;
    } else if (ch == ',') {
      commas += nesting == 0;
    } else if (ch == '[' || ch == '{') {
      ++nesting;
    } else if (ch == ']' || ch == '}') {
      if (nesting == 0) break;
      --nesting;
    }
  }
  // Arrays nested in this stretch are not counted again: every byte is counted
  // over at most once a call.
  countedUntil_ = p;
  return commas + 1;
}

bool JSONCodecParser::scanRestOfDictionary(ns::Value& out) {
  if (!enterNesting()) return false;
  ns::Dictionary members;
  for (;;) {
    if (c == end_) return fail(JSONErrorEndOfInput, "End of input while parsing object");
    skipWhitespace();
    if (c != end_ && *c == '}') {
      ++c;
      leaveNesting();
      out = ns::Value(std::move(members));
      return true;
    }
    std::string key;
    if (c == end_ || *c != '"' || (++c, !scanRestOfString(key)))
      return fail(JSONErrorSyntax, "Object key string expected");
    skipWhitespace();
    if (c == end_ || *c != ':') return fail(JSONErrorSyntax, "Expected ':' separating key and value");
    ++c;
    // A repeated key is scanned over its earlier value, so the last one stays.
    auto member = members.try_emplace(std::move(key)).first;
    if (!scanValue(member->second)) return fail(JSONErrorSyntax, "Object value expected for key: " + member->first);
    skipWhitespace();
    if (c != end_ && *c == ',') {
      ++c;
      skipWhitespace();
      if (c != end_ && *c == '}') return fail(JSONErrorTrailingComma, "Trailing comma disallowed in object");
    }
  }
}

bool JSONCodecParser::scanRestOfString(std::string& out) {
  while (c != end_) {
    // A plain run is checked and copied in one step. It ends only at ASCII
    // bytes, so a valid multi-byte character never straddles two runs.
    const char* run = c;
    unsigned char seen = 0;
    while (c != end_ && !JSONEscapedBytes[static_cast<unsigned char>(*c)]) seen |= static_cast<unsigned char>(*c++);
    if (c != run) {
      if ((seen & 0x80) && !isValidUtf8Run(reinterpret_cast<const unsigned char*>(run),
                                           reinterpret_cast<const unsigned char*>(c)))
        return fail(JSONErrorUnicode, "Broken unicode character");
      out.append(run, c);
    }
    if (c == end_) break;
    const unsigned char ch = static_cast<unsigned char>(*c++);
    if (ch == '"') return true;
    if (ch < 0x20) return fail(JSONErrorControlCharacter, withHexByte("Unescaped control character '0x%x'", ch));
    if (c == end_) break;  // a backslash ending the text
    const unsigned char escaped = static_cast<unsigned char>(*c++);
    switch (escaped) {
      case '"': case '\\': case '/': out.push_back(static_cast<char>(escaped)); break;
      case 'b': out.push_back('\b'); break;
      case 'f': out.push_back('\f'); break;
      case 'n': out.push_back('\n'); break;
      case 'r': out.push_back('\r'); break;
      case 't': out.push_back('\t'); break;
      case 'u':
        if (!scanUnicodeChar(out)) return fail(JSONErrorUnicode, "Broken unicode character");
        break;
      default: return fail(JSONErrorEscape, withHexByte("Illegal escape sequence '0x%x'", escaped));
    }
  }
  return fail(JSONErrorEndOfInput, "Unexpected EOF while parsing string");
}

bool JSONCodecParser::scanUnicodeChar(std::string& out) {
  unsigned unit = 0;
  if (!scanHexQuad(unit)) return fail(JSONErrorUnicode, "Missing hex quad");
  if (unit >= 0xDC00 && unit <= 0xDFFF) return fail(JSONErrorUnicode, "Invalid high character in surrogate pair");
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    unsigned low = 0;
    if (end_ - c < 2 || c[0] != '\\' || c[1] != 'u' || (c += 2, !scanHexQuad(low)))
      return fail(JSONErrorUnicode, "Missing low character in surrogate pair");
    if (low < 0xDC00 || low > 0xDFFF) return fail(JSONErrorUnicode, "Invalid low surrogate char");
    unit = 0x10000 + (unit - 0xD800) * 0x400 + (low - 0xDC00);
  }
  ns::appendUtf8(out, unit);
  return true;
}

bool JSONCodecParser::scanHexQuad(unsigned& out) {
  out = 0;
  for (int i = 0; i < 4; ++i, ++c) {
    const int digit = c == end_ ? -1 : ns::hexDigitValue(*c);
    if (digit < 0) return fail(JSONErrorUnicode, "Missing hex digit in quad");
    out = out * 16 + static_cast<unsigned>(digit);
  }
  return true;
}

bool JSONCodecParser::scanShortNumber(ns::Value& out) {
  // At most 19 digits in all fit a 64-bit mantissa exactly; an exponent of up to
  // four digits keeps the sum far inside any bound. Anything else, and every
  // malformed number, is the general scan's (which also words the errors).
  constexpr int kMaxShortDigits = 19, kMaxShortExponentDigits = 4;
  const char* p = c;
  const bool negative = *p == '-';
  if (negative) ++p;
  if (p == end_ || !isDigit(*p) || (*p == '0' && p + 1 != end_ && isDigit(p[1]))) return false;
  std::uint64_t mantissa = 0;
  const char* digits = p;
  for (; p != end_ && isDigit(*p); ++p) mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
  std::int64_t exponent = 0;
  int count = static_cast<int>(p - digits);
  if (p != end_ && *p == '.') {
    const char* fraction = ++p;
    for (; p != end_ && isDigit(*p) && count < kMaxShortDigits + 1; ++p, ++count)
      mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    if (p == fraction) return false;
    exponent = -(p - fraction);
  }
  if (count > kMaxShortDigits) return false;
  if (p != end_ && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool negativeExponent = p != end_ && *p == '-';
    if (p != end_ && (*p == '-' || *p == '+')) ++p;
    const char* exponentDigits = p;
    std::int64_t e = 0;
    for (; p != end_ && isDigit(*p) && p - exponentDigits < kMaxShortExponentDigits + 1; ++p) e = e * 10 + (*p - '0');
    if (p == exponentDigits || p - exponentDigits > kMaxShortExponentDigits) return false;
    exponent += negativeExponent ? -e : e;
  }
  const std::optional<ns::Decimal> number = ns::Decimal::make(negative, mantissa, exponent);
  if (!number) return false;
  c = p;
  out = ns::Value(*number);
  return true;
}

bool JSONCodecParser::scanNumber(ns::Value& out) {
  if (scanShortNumber(out)) return true;
  const char* start = c;
  const bool negative = *c == '-';
  if (negative) ++c;

  // The digits of the integer and fraction parts make one whole number D, held
  // as mantissa x 10^trailingZeros; the value is D x 10^(exponent - fractionDigits).
  unsigned __int128 mantissa = 0;
  int significant = 0;              // digits in the mantissa, capped past kMaxDigits
  std::int64_t trailingZeros = 0;   // zeros after the last non-zero digit so far
  std::int64_t fractionDigits = 0;
  auto takeDigits = [&](bool fraction) {
    for (; c != end_ && isDigit(*c); ++c) {
      if (fraction) ++fractionDigits;
      const int digit = *c - '0';
      if (digit == 0) {
        if (significant > 0) ++trailingZeros;
        continue;
      }
      // A non-zero digit: the zeros held back join the mantissa before it.
      const std::int64_t grown = significant + trailingZeros + 1;
      if (grown > ns::Decimal::kMaxDigits) {
        significant = ns::Decimal::kMaxDigits + 1;
      } else {
        for (std::int64_t k = 0; k <= trailingZeros; ++k) mantissa *= 10;
        mantissa += static_cast<unsigned>(digit);
        significant = static_cast<int>(grown);
      }
      trailingZeros = 0;
    }
  };

  if (c != end_ && *c == '0') {
    ++c;
    if (c != end_ && isDigit(*c)) return fail(JSONErrorNumber, "Leading 0 disallowed in number");
  } else if (c == end_ || !isDigit(*c)) {
    return fail(JSONErrorNumber, "No digits after initial minus");
  } else {
    takeDigits(false);
  }
  if (c != end_ && *c == '.') {
    ++c;
    if (c == end_ || !isDigit(*c)) return fail(JSONErrorNumber, "No digits after decimal point");
    takeDigits(true);
  }
  std::int64_t exponent = 0;
  if (c != end_ && (*c == 'e' || *c == 'E')) {
    ++c;
    const bool negativeExponent = c != end_ && *c == '-';
    if (c != end_ && (*c == '-' || *c == '+')) ++c;
    if (c == end_ || !isDigit(*c)) return fail(JSONErrorNumber, "No digits after exponent");
    constexpr std::int64_t kSaturated = 1'000'000'000;  // far past any exponent kept
    for (; c != end_ && isDigit(*c); ++c) exponent = std::min(exponent * 10 + (*c - '0'), kSaturated);
    if (negativeExponent) exponent = -exponent;
  }

  std::optional<ns::Decimal> number;
  if (static_cast<std::size_t>(c - start) <= kMaxNumberLength && significant <= ns::Decimal::kMaxDigits)
    number = ns::Decimal::make(negative, mantissa, exponent - fractionDigits + trailingZeros);
  if (!number) return fail(JSONErrorNumber, "Failed creating decimal instance");
  out = ns::Value(*number);
  return true;
}
