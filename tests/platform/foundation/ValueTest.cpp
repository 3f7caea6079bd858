#include "platform/foundation/Value.h"

#include <gtest/gtest.h>

#include <cmath>

using ns::Value;

TEST(Value, ConvertsAsTheDefaultsAccessorsDid) {
  struct Case {
    Value value;
    bool b;
    long long i;
    double d;
    std::string s;
  } cases[] = {
      {Value("1"), true, 1, 1, "1"},
      {Value("0"), false, 0, 0, "0"},
      {Value("YES"), true, 0, 0, "YES"},
      {Value("NO"), false, 0, 0, "NO"},
      {Value("12abc"), true, 12, 12, "12abc"},
      {Value(true), true, 1, 1, "1"},
      {Value(false), false, 0, 0, "0"},
      {Value(3.9), true, 3, 3.9, "3.9"},
      {Value(-2.7), true, -2, -2.7, "-2.7"},
      {Value(7), true, 7, 7, "7"},
      {Value(), false, 0, 0, ""},
      {Value(ns::Array{1}), false, 0, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.toJSON());
    EXPECT_EQ(c.value.boolValue(), c.b);
    EXPECT_EQ(c.value.integerValue(), c.i);
    EXPECT_DOUBLE_EQ(c.value.doubleValue(), c.d);
    EXPECT_EQ(c.value.stringValue(), c.s);
  }
  EXPECT_EQ(Value(1e30).intValue(), INT32_MAX);
  EXPECT_EQ(Value(std::nan("")).integerValue(), 0);
}

TEST(Value, ExactAccessorsAnswerEmptyForOtherTypes) {
  Value v(ns::Dictionary{{"list", ns::Array{1, "two"}}, {"name", "Al-Kahf"}});
  EXPECT_EQ(v["name"].string(), "Al-Kahf");
  EXPECT_EQ(v["list"][1].string(), "two");
  EXPECT_TRUE(v["missing"].isNull());
  EXPECT_TRUE(v["list"][5].isNull());
  EXPECT_TRUE(v["name"]["x"].isNull());
  EXPECT_TRUE(v["name"].array().empty());
  EXPECT_FALSE(v["name"].date().has_value());
  EXPECT_EQ(v.count(), 2u);
  EXPECT_NE(Value(1), Value(1.0));
  EXPECT_NE(Value(1), Value(true));
  EXPECT_EQ(Value("a"), Value(std::string("a")));
}

TEST(Value, JsonRoundTripKeepsEveryType) {
  ns::Dictionary d{
      {"null", Value()},
      {"bool", true},
      {"int", std::int64_t{-9007199254740993}},
      {"double", 0.1},
      {"whole double", 2.0},
      {"text", "quote \" backslash \\ newline \n tab \t ctrl \x01 arabic \xD8\xA8"},
      {"data", ns::Data{0, 1, 2, 250, 255}},
      {"empty data", ns::Data{}},
      {"date", ns::Date(1767225600.25)},
      {"array", ns::Array{1, "x", ns::Array{}, ns::Dictionary{}}},
  };
  for (bool pretty : {false, true}) {
    auto back = Value::fromJSON(Value(d).toJSON(pretty));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, Value(d));
    EXPECT_TRUE((*back)["whole double"].isDouble());
  }
}

TEST(Value, MalformedJsonIsRefusedNotThrown) {
  for (const char* text : {"", "{", "[1,]", "{\"a\" 1}", "{\"a\":1,}", "tru", "01x", "\"unterminated",
                           "\"bad \\q escape\"", "\"\\u12\"", "[1] 2", "{1:2}", "-", "1.", "1e",
                           "\"raw\ncontrol\""}) {
    EXPECT_FALSE(Value::fromJSON(text).has_value()) << text;
  }
  std::string deep(100000, '[');
  EXPECT_FALSE(Value::fromJSON(deep).has_value());
  EXPECT_TRUE(Value::fromJSON(std::string(50, '[') + std::string(50, ']')).has_value());
}

TEST(Value, JsonReaderAcceptsStandardForms) {
  auto v = Value::fromJSON(R"( {"a": [1, -2.5e1, true, false, null], "s": "\u0628\ud83d\ude00\/", "big": 123456789012345678901234} )");
  ASSERT_TRUE(v);
  EXPECT_EQ((*v)["a"][0], Value(1));
  EXPECT_EQ((*v)["a"][1], Value(-25.0));
  EXPECT_EQ((*v)["s"].string(), "\xD8\xA8\xF0\x9F\x98\x80/");
  EXPECT_TRUE((*v)["big"].isDouble());
  // A lone surrogate escape decodes to U+FFFD rather than invalid UTF-8.
  EXPECT_EQ(Value::fromJSON(R"("\ud800x")")->string(), "\xEF\xBF\xBDx");
}

TEST(Decimal, KeepsMantissaAndExponentNormalisedWithinItsCaps) {
  using ns::Decimal;
  auto make = [](bool negative, unsigned __int128 mantissa, std::int64_t exponent) {
    return Decimal::make(negative, mantissa, exponent);
  };
  EXPECT_EQ(make(false, 1500, -2), make(false, 15, 0));
  EXPECT_EQ(make(true, 0, 99), Decimal{});  // zero has no sign and no exponent
  EXPECT_EQ(make(false, 15, 0)->description(), "15");
  const struct {
    bool negative;
    unsigned __int128 mantissa;
    std::int64_t exponent;
    std::string text;  // empty: not checked
    double d;
    std::int64_t i;
  } cases[] = {
      {false, 125, -1, "12.5", 12.5, 12},
      {true, 125, -1, "-12.5", -12.5, -12},
      {false, 5, -3, "0.005", 0.005, 0},
      {false, 3, 2, "300", 300, 300},
      {false, 0, 0, "0", 0, 0},
      {false, 9223372036854775807u, 0, "9223372036854775807", 9223372036854775807.0, INT64_MAX},
      {true, 9223372036854775808u, 0, "-9223372036854775808", -9223372036854775808.0, INT64_MIN},
      {false, 1, 30, "1000000000000000000000000000000", 1e30, INT64_MAX},
      {true, 1, 30, "-1000000000000000000000000000000", -1e30, INT64_MIN},
      {false, 1, 350, "1" + std::string(350, '0'), HUGE_VAL, INT64_MAX},
      {false, 1, -350, "0." + std::string(349, '0') + "1", 0.0, 0},  // below the smallest double
  };
  for (const auto& c : cases) {
    auto d = make(c.negative, c.mantissa, c.exponent);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->description(), c.text);
    EXPECT_EQ(d->doubleValue(), c.d) << d->description();
    EXPECT_EQ(d->integerValue(), c.i) << d->description();
    EXPECT_EQ(Value(*d).stringValue(), d->description());
    EXPECT_EQ(Value(*d).toJSON(), d->description());
    EXPECT_TRUE(Value(*d).isNumber());
  }
  unsigned __int128 digits38 = 1;
  for (int i = 0; i < 38; ++i) digits38 *= 10;
  EXPECT_TRUE(make(false, digits38 - 1, 0));
  EXPECT_FALSE(make(false, digits38 + 1, 0));
  EXPECT_TRUE(make(false, digits38, 0));  // 10^38 is 1 x 10^38
  EXPECT_FALSE(make(false, 1, 351));
  EXPECT_FALSE(make(false, 1, -351));
  EXPECT_TRUE(make(false, 10, 349));
}
