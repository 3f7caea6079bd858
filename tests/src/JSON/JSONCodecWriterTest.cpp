// The JSON writer: compact and readable text, key order, escapes, numbers,
// and the values it refuses.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <locale>
#include <string>
#include <utility>
#include <vector>

#include "src/JSON/JSONCodecWriter.h"

namespace {

using ns::Value;
using Trace = std::vector<std::pair<int, std::string>>;

Trace traceOf(const JSONCodecBase& codec) {
  Trace trace;
  for (const JSONErrorRef& error : codec.errorTrace()) trace.emplace_back(error->code, error->description);
  return trace;
}

Value dec(bool negative, unsigned __int128 mantissa, int exponent) {
  return Value(*ns::Decimal::make(negative, mantissa, exponent));
}

std::string fragment(const Value& value, bool readable = false, bool sorted = false) {
  JSONCodecWriter writer;
  writer.setHumanReadable(readable);
  writer.setSortKeys(sorted);
  auto text = writer.stringWithFragment(value);
  EXPECT_TRUE(text) << (writer.errorTrace().empty() ? "" : writer.errorTrace().back()->description);
  return text.value_or("<failed>");
}

const Value kSample(ns::Dictionary{
    {"a", ns::Array{1, true, Value(), "x", ns::Array{}, ns::Dictionary{}}},
    {"b", ns::Dictionary{{"c", dec(true, 25, -1)}}},
});

TEST(JSONCodecWriter, WritesCompactAndReadableForms) {
  const struct {
    Value value;
    const char* compact;
    const char* readable;
  } cases[] = {
      {Value(ns::Array{}), "[]", "[]"},
      {Value(ns::Dictionary{}), "{}", "{}"},
      {Value(ns::Dictionary{{"a", 1}}), "{\"a\":1}", "{\n  \"a\" : 1\n}"},
      {Value(ns::Array{1, 2}), "[1,2]", "[\n  1,\n  2\n]"},
      {kSample, "{\"a\":[1,true,null,\"x\",[],{}],\"b\":{\"c\":-2.5}}",
       "{\n"
       "  \"a\" : [\n"
       "    1,\n"
       "    true,\n"
       "    null,\n"
       "    \"x\",\n"
       "    [],\n"
       "    {}\n"
       "  ],\n"
       "  \"b\" : {\n"
       "    \"c\" : -2.5\n"
       "  }\n"
       "}"},
      {Value(true), "true", "true"},
      {Value(false), "false", "false"},
      {Value(), "null", "null"},
      {Value(1), "1", "1"},
      {Value(-42), "-42", "-42"},
      {Value(2.5), "2.5", "2.5"},
      {Value(0.1), "0.1", "0.1"},
      {Value(1e20), "1e+20", "1e+20"},
      {dec(false, 1, -3), "0.001", "0.001"},
      {dec(false, 123, 3), "123000", "123000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fragment(c.value), c.compact);
    EXPECT_EQ(fragment(c.value, true), c.readable);
  }
}

TEST(JSONCodecWriter, EscapesOnlyWhatJSONRequires) {
  const struct {
    std::string text;
    const char* json;
  } cases[] = {
      {"\t\x01", "\"\\t\\u0001\""},
      {"\b\f\n\r", "\"\\b\\f\\n\\r\""},
      {"say \"hi\" \\o/", "\"say \\\"hi\\\" \\\\o/\""},
      {std::string("\0\x1f\x1b", 3), "\"\\u0000\\u001f\\u001b\""},
      {"a/b caf\xC3\xA9 \xF0\x9F\x98\x80 \x7f", "\"a/b caf\xC3\xA9 \xF0\x9F\x98\x80 \x7f\""},
      {"", "\"\""},
  };
  for (const auto& c : cases) EXPECT_EQ(fragment(Value(c.text)), c.json);
  EXPECT_EQ(fragment(Value(ns::Dictionary{{"\n", "v"}})), "{\"\\n\":\"v\"}");
}

TEST(JSONCodecWriter, SortsKeysByUTF16UnitsWhenAsked) {
  // U+FFFD sorts after U+1F600 by bytes and code points, before it by UTF-16
  // units (the emoji's high surrogate is 0xD83D).
  const Value dictionary(ns::Dictionary{{"b", 1}, {"a", 2}, {"\xEF\xBF\xBD", 3}, {"\xF0\x9F\x98\x80", 4}});
  EXPECT_EQ(fragment(dictionary), "{\"a\":2,\"b\":1,\"\xEF\xBF\xBD\":3,\"\xF0\x9F\x98\x80\":4}");
  EXPECT_EQ(fragment(dictionary, false, true), "{\"a\":2,\"b\":1,\"\xF0\x9F\x98\x80\":4,\"\xEF\xBF\xBD\":3}");
  EXPECT_EQ(fragment(dictionary, true, true),
            "{\n  \"a\" : 2,\n  \"b\" : 1,\n  \"\xF0\x9F\x98\x80\" : 4,\n  \"\xEF\xBF\xBD\" : 3\n}");
}

TEST(JSONCodecWriter, WritesNumbersWhateverTheLocale) {
  // A process locale with a decimal comma must not reach the text.
  struct CommaPoint : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
  };
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
  const std::string cLocale = std::setlocale(LC_NUMERIC, nullptr);
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE"}) {
    if (std::setlocale(LC_NUMERIC, name)) break;
  }
  const std::string text = fragment(Value(ns::Array{1234567, 1.5, dec(false, 12345, -1)}));
  std::setlocale(LC_NUMERIC, cLocale.c_str());
  std::locale::global(previous);
  EXPECT_EQ(text, "[1234567,1.5,1234.5]");
}

TEST(JSONCodecWriter, RefusesWhatJSONCannotHold) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  const struct {
    Value value;
    Trace trace;
  } cases[] = {
      {Value(nan), {{1, "JSON serialisation not supported for nan"}}},
      {Value(inf), {{1, "JSON serialisation not supported for inf"}}},
      {Value(-inf), {{1, "JSON serialisation not supported for -inf"}}},
      {Value(ns::Data{1, 2}), {{1, "JSON serialisation not supported for ns::Data"}}},
      {Value(ns::Date(0)), {{1, "JSON serialisation not supported for ns::Date"}}},
      {Value(ns::Array{1, nan}), {{1, "JSON serialisation not supported for nan"}}},
      {Value(ns::Dictionary{{"k", ns::Dictionary{{"x", ns::Array{inf}}}}}),
       {{1, "JSON serialisation not supported for inf"},
        {1, "Unsupported value for key x in object"},
        {1, "Unsupported value for key k in object"}}},
  };
  for (const auto& c : cases) {
    for (bool readable : {false, true}) {
      JSONCodecWriter writer;
      writer.setHumanReadable(readable);
      EXPECT_FALSE(writer.stringWithFragment(c.value));
      EXPECT_EQ(traceOf(writer), c.trace) << c.trace.front().second;
    }
  }
}

TEST(JSONCodecWriter, StringWithObjectWantsAnObjectOrAnArray) {
  JSONCodecWriter writer;
  for (const Value& scalar : {Value("text"), Value(1), Value(true), Value()}) {
    EXPECT_FALSE(writer.stringWithObject(scalar));
    EXPECT_EQ(traceOf(writer), (Trace{{4, "Not valid type for JSON"}}));
  }
  EXPECT_EQ(writer.stringWithObject(Value(ns::Array{"text"})), "[\"text\"]");
  EXPECT_TRUE(writer.errorTrace().empty());
  EXPECT_EQ(writer.stringWithFragment(Value("text")), "\"text\"");
}

TEST(JSONCodecWriter, LimitsNesting) {
  auto nested = [](int levels) {
    Value value = ns::Array{};
    for (int i = 1; i < levels; ++i) value = ns::Array{std::move(value)};
    return value;
  };
  JSONCodecWriter writer;
  EXPECT_TRUE(writer.stringWithObject(nested(512)));
  EXPECT_FALSE(writer.stringWithObject(nested(513)));
  EXPECT_EQ(traceOf(writer), (Trace{{7, "Nested too deep"}}));
  Value inObject(ns::Dictionary{{"k", nested(512)}});
  EXPECT_FALSE(writer.stringWithObject(inObject));
  EXPECT_EQ(traceOf(writer), (Trace{{7, "Nested too deep"}, {1, "Unsupported value for key k in object"}}));
  // Settings and limit persist; the depth starts afresh.
  writer.setHumanReadable(true);
  EXPECT_EQ(writer.stringWithObject(Value(ns::Array{})), "[]");
  EXPECT_EQ(writer.stringWithObject(Value(ns::Array{1})), "[\n  1\n]");
}

}  // namespace
