// The JSON parser: accepted texts and their values, refused texts with their
// exact error traces.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "src/JSON/JSONCodecParser.h"

namespace {

using ns::Value;
using Trace = std::vector<std::pair<int, std::string>>;

Value decimal(const char* literal) {
  JSONCodecParser parser;
  auto value = parser.fragmentWithString(literal);
  EXPECT_TRUE(value && value->isDecimal()) << literal;
  return value ? *value : Value();
}

// The trace as (code, message) pairs, checking on the way that each error
// carries the one before it as its underlying error.
Trace traceOf(const JSONCodecBase& codec) {
  Trace trace;
  JSONErrorRef previous;
  for (const JSONErrorRef& error : codec.errorTrace()) {
    EXPECT_EQ(error->domain, JSONErrorDomain);
    EXPECT_EQ(error->underlyingError, previous) << error->description;
    trace.emplace_back(error->code, error->description);
    previous = error;
  }
  return trace;
}

// Levels of open and close around a 0.
std::string nested(int levels, const char* open, const char* close) {
  std::string text;
  for (int i = 0; i < levels; ++i) text += open;
  text += "0";
  for (int i = 0; i < levels; ++i) text += close;
  return text;
}

TEST(JSONCodecParser, AcceptsValidTextAsItsValue) {
  const std::string nul(1, '\0');
  const struct {
    std::string text;
    Value value;
  } cases[] = {
      {"[1 2]", Value(ns::Array{decimal("1"), decimal("2")})},
      {"[true false null]", Value(ns::Array{true, false, Value()})},
      {"{}", Value(ns::Dictionary{})},
      {"[]", Value(ns::Array{})},
      {" \t\n{ }\r\n", Value(ns::Dictionary{})},
      {"\v[\f]\v", Value(ns::Array{})},
      {"{\"a\":1,\"a\":2}", Value(ns::Dictionary{{"a", decimal("2")}})},
      {"{\"a\":[1,{\"b\":null}] \"c\":\"d\"}",
       Value(ns::Dictionary{{"a", ns::Array{decimal("1"), ns::Dictionary{{"b", Value()}}}}, {"c", "d"}})},
      {"\"\\u0000\"", Value(nul)},
      {"\"a\\u0000b\"", Value("a" + nul + "b")},
      {"\"\\uD83D\\uDE00\"", Value("\xF0\x9F\x98\x80")},
      {"\"\\ud83d\\ude00\"", Value("\xF0\x9F\x98\x80")},
      {"\"\\uDBFF\\uDFFF\"", Value("\xF4\x8F\xBF\xBF")},
      {"\"\\u00e9\\u4E2D\\uFFFF\"", Value("\xC3\xA9\xE4\xB8\xAD\xEF\xBF\xBF")},
      {"\"\\\"\\\\\\/\\b\\f\\n\\r\\t\"", Value("\"\\/\b\f\n\r\t")},
      {"\"caf\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80 /\"", Value("caf\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80 /")},
      {"true", Value(true)},
      {"null", Value()},
      {"  \"\"  ", Value("")},
  };
  for (const auto& c : cases) {
    JSONCodecParser parser;
    auto value = parser.fragmentWithString(c.text);
    ASSERT_TRUE(value) << c.text << ": " << (parser.errorTrace().empty() ? "" : parser.errorTrace().back()->description);
    EXPECT_EQ(*value, c.value) << c.text;
    EXPECT_TRUE(parser.errorTrace().empty());
  }
}

TEST(JSONCodecParser, KeepsNumbersAsExactDecimals) {
  const struct {
    const char* literal;
    const char* text;
  } cases[] = {
      {"0", "0"},
      {"-0", "0"},
      {"-0.0e5", "0"},
      {"12.50", "12.5"},
      {"1e2", "100"},
      {"1E+2", "100"},
      {"1.5e-3", "0.0015"},
      {"-7", "-7"},
      {"0.1", "0.1"},
      {"100.00100", "100.001"},
      {"18446744073709551616", "18446744073709551616"},
      {"-123456789012345678901234567890.12345678", "-123456789012345678901234567890.12345678"},
      {"1000000000000000000000000000000000000000000000000", "1000000000000000000000000000000000000000000000000"},
      {"0.00000000000000000000000000000000000000000000000001", "0.00000000000000000000000000000000000000000000000001"},
  };
  for (const auto& c : cases) EXPECT_EQ(decimal(c.literal).stringValue(), c.text) << c.literal;

  // Not rounded through binary floating point.
  EXPECT_EQ(decimal("0.1"), Value(*ns::Decimal::make(false, 1, -1)));
  EXPECT_EQ(decimal("9007199254740993").integerValue(), 9007199254740993);
  EXPECT_DOUBLE_EQ(decimal("2.5e-3").doubleValue(), 0.0025);
}

// Short numbers are read on a 64-bit fast path, long ones digit by digit: the
// same number padded past the fast path's 19 digits reads as the same decimal.
TEST(JSONCodecParser, ShortAndLongSpellingsOfANumberReadAlike) {
  const std::string padding(24, '0');
  const char* shorts[] = {"0", "-0", "7", "-42", "1234567890123456789", "9999999999999999999", "0.5", "-0.0001",
                          "123456789.0123456789", "1.5e-3", "12E+2", "-9.25e10", "1e9999", "1e-350", "3.0e350",
                          "0.000000000000000001", "999999999999999999.9", "1e0", "5E-0"};
  for (const char* text : shorts) {
    std::string literal(text), mantissa = literal.substr(0, literal.find_first_of("eE")),
                           exponent = literal.find_first_of("eE") == std::string::npos
                                          ? ""
                                          : literal.substr(literal.find_first_of("eE"));
    std::string padded = mantissa + (mantissa.find('.') == std::string::npos ? "." : "") + padding + exponent;
    JSONCodecParser shortParser, longParser;
    auto a = shortParser.fragmentWithString(literal), b = longParser.fragmentWithString(padded);
    ASSERT_EQ(a.has_value(), b.has_value()) << literal;
    if (a) {
      EXPECT_EQ(*a, *b) << literal << " vs " << padded;
    } else {
      EXPECT_EQ(traceOf(shortParser), traceOf(longParser)) << literal;
    }
  }
  EXPECT_EQ(decimal("1234567890123456789").stringValue(), "1234567890123456789");
  EXPECT_EQ(decimal("12345678901234567890").stringValue(), "12345678901234567890");
  EXPECT_EQ(decimal("-0.0001e-2").stringValue(), "-0.000001");
}

// A long array is counted ahead once it outgrows its first guess; what the
// count skips over (strings with brackets, commas and escaped quotes, nested
// values) never changes what is read, nor where a malformed one fails.
TEST(JSONCodecParser, LongArraysReadWhateverTheirItemsHold) {
  std::string text = "[";
  ns::Array expected;
  for (int i = 0; i < 300; ++i) {
    if (i) text += i % 7 ? "," : " , ";
    switch (i % 4) {
      case 0: text += std::to_string(i); expected.push_back(decimal(std::to_string(i).c_str())); break;
      case 1: text += R"("],[{,\"\\")"; expected.push_back(Value(R"(],[{,"\)")); break;
      case 2: text += "[1,[2,\"]\"],{\"k\":[3]}]";
        expected.push_back(Value(ns::Array{decimal("1"), ns::Array{decimal("2"), "]"},
                                           ns::Dictionary{{"k", ns::Array{decimal("3")}}}}));
        break;
      default: text += "{\"a,]\":null}"; expected.push_back(Value(ns::Dictionary{{"a,]", Value()}})); break;
    }
  }
  JSONCodecParser parser;
  auto value = parser.fragmentWithString(text + "]");
  ASSERT_TRUE(value);
  EXPECT_EQ(*value, Value(expected));
  // Cut anywhere after the count, the text fails as the parse finds it, never
  // past its end.
  for (std::size_t cut : {text.size(), text.size() - 1, text.size() - 3, text.size() / 2}) {
    JSONCodecParser cutParser;
    EXPECT_FALSE(cutParser.fragmentWithString(std::string_view(text).substr(0, cut))) << cut;
    EXPECT_FALSE(cutParser.errorTrace().empty());
  }
}

TEST(JSONCodecParser, TakesNumbersUpToTheCapsOfTheDecimal) {
  const std::string digits38(38, '7'), digits39(39, '7');
  const std::string longZero = "0." + std::string(JSONCodecParser::kMaxNumberLength - 2, '0');
  const std::vector<std::string> taken{digits38, "-" + digits38, "1e350", "1e-350", digits38 + "e350", "0.5e-349",
                                      "10e349", longZero, "1e0000000000000000000000000002"};
  for (const std::string& ok : taken) {
    JSONCodecParser parser;
    EXPECT_TRUE(parser.fragmentWithString(ok)) << ok;
  }
  const Trace failed{{2, "Failed creating decimal instance"}};
  const std::vector<std::string> refused{digits39, digits38 + "1", "1e351", "1e-351", digits38 + "e351", "0.05e-349",
                                        "1e999999999", "-1e-999999999", "1e99999999999999999999999999", longZero + "0",
                                        std::string(1 << 20, '9'), "0." + std::string(1 << 20, '0') + "1"};
  for (const std::string& text : refused) {
    JSONCodecParser parser;
    EXPECT_FALSE(parser.fragmentWithString(text)) << text.substr(0, 60);
    EXPECT_EQ(traceOf(parser), failed) << text.substr(0, 60);
  }
}

TEST(JSONCodecParser, RefusesMalformedTextWithItsErrorTrace) {
  const std::pair<int, std::string> inArray{3, "Expected value while parsing array"};
  const std::pair<int, std::string> broken{6, "Broken unicode character"};
  const struct {
    std::string text;
    Trace trace;
  } cases[] = {
      {"", {{11, "Unexpected end of string"}}},
      {" \n ", {{11, "Unexpected end of string"}}},
      {"+1", {{2, "Leading + disallowed in number"}}},
      {"[01]", {{2, "Leading 0 disallowed in number"}, inArray}},
      {"[-]", {{2, "No digits after initial minus"}, inArray}},
      {"-", {{2, "No digits after initial minus"}}},
      {"[1.]", {{2, "No digits after decimal point"}, inArray}},
      {"[1e]", {{2, "No digits after exponent"}, inArray}},
      {"1e+", {{2, "No digits after exponent"}}},
      {"[tru", {{3, "Expected 'true'"}, inArray}},
      {"fals", {{3, "Expected 'false'"}}},
      {"[nul]", {{3, "Expected 'null'"}, inArray}},
      {"x", {{3, "Unrecognised leading character"}}},
      {"\xEF\xBB\xBF[]", {{3, "Unrecognised leading character"}}},
      {"[1,,2]", {{3, "Unrecognised leading character"}, inArray}},
      {"{1:2}", {{3, "Object key string expected"}}},
      {"{\"a\" 1}", {{3, "Expected ':' separating key and value"}}},
      {"{\"a\":}", {{3, "Unrecognised leading character"}, {3, "Object value expected for key: a"}}},
      {"{\"k\":[1,]}", {{9, "Trailing comma disallowed in array"}, {3, "Object value expected for key: k"}}},
      {"[1,]", {{9, "Trailing comma disallowed in array"}}},
      {"[1, \n]", {{9, "Trailing comma disallowed in array"}}},
      {"{\"a\":1,}", {{9, "Trailing comma disallowed in object"}}},
      {"[1] x", {{10, "Garbage after JSON"}}},
      {"truex", {{10, "Garbage after JSON"}}},
      {"[1]]", {{10, "Garbage after JSON"}}},
      {"[", {{11, "End of input while parsing array"}}},
      {"[1", {{11, "End of input while parsing array"}}},
      {"[1,", {{11, "End of input while parsing array"}}},
      {"[ ", {{11, "Unexpected end of string"}, inArray}},
      {"{", {{11, "End of input while parsing object"}}},
      {"{\"a\":1", {{11, "End of input while parsing object"}}},
      {"\"abc", {{11, "Unexpected EOF while parsing string"}}},
      {"\"abc\\", {{11, "Unexpected EOF while parsing string"}}},
      {"{\"ab", {{11, "Unexpected EOF while parsing string"}, {3, "Object key string expected"}}},
      {"\"a\x01\"", {{5, "Unescaped control character '0x1'"}}},
      {"\"\x1f\"", {{5, "Unescaped control character '0x1f'"}}},
      {std::string("\"a\0b\"", 5), {{5, "Unescaped control character '0x0'"}}},
      {"\"\n\"", {{5, "Unescaped control character '0xa'"}}},
      {"\"\\x\"", {{8, "Illegal escape sequence '0x78'"}}},
      {"\"\\U0041\"", {{8, "Illegal escape sequence '0x55'"}}},
      {"\"\\u12\"", {{6, "Missing hex digit in quad"}, {6, "Missing hex quad"}, broken}},
      {"\"\\u12", {{6, "Missing hex digit in quad"}, {6, "Missing hex quad"}, broken}},
      {"\"\\uDE00\"", {{6, "Invalid high character in surrogate pair"}, broken}},
      {"\"\\uD83D\"", {{6, "Missing low character in surrogate pair"}, broken}},
      {"\"\\uD83Dx\"", {{6, "Missing low character in surrogate pair"}, broken}},
      {"\"\\uD83D\\u00\"", {{6, "Missing hex digit in quad"}, {6, "Missing low character in surrogate pair"}, broken}},
      {"\"\\uD83D\\u0041\"", {{6, "Invalid low surrogate char"}, broken}},
      {"\"\\uD83D\\uD83D\"", {{6, "Invalid low surrogate char"}, broken}},
      {"{\"\\uDE00\":1}", {{6, "Invalid high character in surrogate pair"}, broken, {3, "Object key string expected"}}},
      // Text that is not UTF-8: a cut sequence, an overlong form, an encoded
      // surrogate, a code point past U+10FFFF, a byte that never starts one.
      {"\"\xC3\"", {broken}},
      {"\"ab\xE4\xB8\"", {broken}},
      {"\"\xC0\xAF\"", {broken}},
      {"\"\xE0\x80\xAF\"", {broken}},
      {"\"\xED\xA0\x80\"", {broken}},
      {"\"\xED\xBF\xBF\"", {broken}},
      {"\"\xF4\x90\x80\x80\"", {broken}},
      {"\"\xFF\"", {broken}},
      {"\"\x80\"", {broken}},
  };
  for (const auto& c : cases) {
    JSONCodecParser parser;
    EXPECT_FALSE(parser.fragmentWithString(c.text)) << c.text;
    EXPECT_EQ(traceOf(parser), c.trace) << c.text;
  }
}

TEST(JSONCodecParser, ObjectWithStringWantsAnObjectOrAnArray) {
  JSONCodecParser parser;
  EXPECT_FALSE(parser.objectWithString("true"));
  EXPECT_EQ(traceOf(parser), (Trace{{4, "Valid fragment, but not JSON"}}));
  EXPECT_FALSE(parser.objectWithString(" 12 "));
  EXPECT_EQ(traceOf(parser), (Trace{{4, "Valid fragment, but not JSON"}}));
  EXPECT_EQ(parser.objectWithString(" [ ] "), Value(ns::Array{}));
  EXPECT_TRUE(parser.errorTrace().empty());

  // A missing text, and the trace emptied by the next call.
  EXPECT_FALSE(parser.objectWithString(std::nullopt));
  EXPECT_EQ(traceOf(parser), (Trace{{12, "Input was 'nil'"}}));
  EXPECT_FALSE(parser.fragmentWithString(std::nullopt));
  EXPECT_EQ(traceOf(parser), (Trace{{12, "Input was 'nil'"}}));
  EXPECT_TRUE(parser.fragmentWithString("{}"));
  EXPECT_TRUE(parser.errorTrace().empty());
}

TEST(JSONCodecParser, LimitsNesting) {
  for (auto [open, close] : {std::pair{"[", "]"}, std::pair{"{\"k\":", "}"}}) {
    JSONCodecParser parser;
    EXPECT_TRUE(parser.objectWithString(nested(512, open, close))) << open;
    EXPECT_FALSE(parser.objectWithString(nested(513, open, close))) << open;
    ASSERT_EQ(parser.errorTrace().size(), 513u);  // the depth error, then one per enclosing level
    EXPECT_EQ(parser.errorTrace().front()->code, 7);
    EXPECT_EQ(parser.errorTrace().front()->description, "Nested too deep");
    // The limit holds again on the next call: the depth starts afresh.
    EXPECT_TRUE(parser.objectWithString(nested(512, open, close))) << open;
  }

  // A hundred thousand open brackets fail at the limit, never deeper.
  JSONCodecParser parser;
  EXPECT_FALSE(parser.objectWithString(std::string(100000, '[')));
  EXPECT_EQ(parser.errorTrace().front()->code, 7);
  EXPECT_EQ(parser.errorTrace().size(), 513u);

  ASSERT_TRUE(parser.setMaxDepth(3));
  EXPECT_TRUE(parser.objectWithString("[[[]]]"));
  EXPECT_FALSE(parser.objectWithString("[[[[]]]]"));
}

TEST(JSONCodecParser, RefusesADepthLimitThatWouldNotHold) {
  JSONCodecParser parser;
  EXPECT_EQ(parser.maxDepth(), 512u);
  EXPECT_FALSE(parser.setMaxDepth(0));
  EXPECT_FALSE(parser.setMaxDepth(JSONCodecBase::kMaxDepthCeiling + 1));
  EXPECT_EQ(parser.maxDepth(), 512u);

  // The highest limit allowed is safe to reach on a thread's stack.
  ASSERT_TRUE(parser.setMaxDepth(JSONCodecBase::kMaxDepthCeiling));
  const unsigned ceiling = JSONCodecBase::kMaxDepthCeiling;
  EXPECT_TRUE(parser.objectWithString(nested(static_cast<int>(ceiling), "[", "]")));
  EXPECT_FALSE(parser.objectWithString(nested(static_cast<int>(ceiling) + 1, "[", "]")));
  EXPECT_EQ(parser.errorTrace().front()->code, 7);
}

}  // namespace
