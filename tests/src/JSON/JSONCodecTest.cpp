// The codec's face: parser and writer behind it, its own error trace, the
// error handed out, and the shared settings.
#include <gtest/gtest.h>

#include <string>

#include "src/JSON/JSONCodec.h"

namespace {

using ns::Value;

TEST(JSONCodec, CopiesTheFailingTraceAndKeepsItThroughSuccesses) {
  JSONCodec codec;
  EXPECT_FALSE(codec.objectWithString("[tru"));
  ASSERT_EQ(codec.errorTrace().size(), 2u);
  EXPECT_EQ(codec.errorTrace()[0]->description, "Expected 'true'");
  EXPECT_EQ(codec.errorTrace()[1]->description, "Expected value while parsing array");
  EXPECT_EQ(codec.errorTrace()[1]->underlyingError, codec.errorTrace()[0]);

  // A success leaves the codec's trace as it was.
  EXPECT_TRUE(codec.objectWithString("[true]"));
  EXPECT_TRUE(codec.stringWithObject(Value(ns::Array{})));
  ASSERT_EQ(codec.errorTrace().size(), 2u);

  EXPECT_FALSE(codec.stringWithObject(Value(1)));
  ASSERT_EQ(codec.errorTrace().size(), 1u);
  EXPECT_EQ(codec.errorTrace()[0]->code, 4);
  EXPECT_EQ(codec.errorTrace()[0]->description, "Not valid type for JSON");
}

TEST(JSONCodec, HandsOutTheLastErrorOfAFailure) {
  JSONCodec codec;
  JSONErrorRef error;
  EXPECT_FALSE(codec.objectWithString("[tru", &error));
  ASSERT_TRUE(error);
  EXPECT_EQ(error->code, 3);
  EXPECT_EQ(error->domain, JSONErrorDomain);
  EXPECT_EQ(error->description, "Expected value while parsing array");
  ASSERT_TRUE(error->underlyingError);
  EXPECT_EQ(error->underlyingError->description, "Expected 'true'");
  EXPECT_FALSE(error->underlyingError->underlyingError);

  // Scalars: refused as objects, taken as fragments, on both sides.
  error.reset();
  EXPECT_FALSE(codec.objectWithString("12", &error));
  EXPECT_EQ(error->description, "Valid fragment, but not JSON");
  EXPECT_FALSE(codec.objectWithString("12", false, nullptr));
  EXPECT_EQ(codec.fragmentWithString("12", &error)->stringValue(), "12");
  EXPECT_EQ(codec.objectWithString("\"s\"", true, &error), Value("s"));
  EXPECT_FALSE(codec.stringWithObject(Value("s"), &error));
  EXPECT_EQ(error->description, "Not valid type for JSON");
  EXPECT_EQ(codec.stringWithFragment(Value("s"), &error), "\"s\"");
  EXPECT_EQ(codec.stringWithObject(Value("s"), true, nullptr), "\"s\"");

  EXPECT_FALSE(codec.fragmentWithString(std::nullopt, &error));
  EXPECT_EQ(error->code, 12);
  EXPECT_EQ(error->description, "Input was 'nil'");
}

TEST(JSONCodec, SharesItsSettingsWithBothParts) {
  JSONCodec codec;
  EXPECT_EQ(codec.maxDepth(), 512u);
  EXPECT_FALSE(codec.humanReadable());
  EXPECT_FALSE(codec.sortKeys());

  ASSERT_TRUE(codec.setMaxDepth(2));
  EXPECT_TRUE(codec.objectWithString("[[1]]"));
  EXPECT_FALSE(codec.objectWithString("[[[1]]]"));
  EXPECT_EQ(codec.errorTrace().front()->description, "Nested too deep");
  EXPECT_FALSE(codec.stringWithObject(Value(ns::Array{ns::Array{ns::Array{}}})));
  EXPECT_EQ(codec.errorTrace().front()->description, "Nested too deep");

  EXPECT_FALSE(codec.setMaxDepth(0));
  EXPECT_EQ(codec.maxDepth(), 2u);

  codec.setHumanReadable(true);
  codec.setSortKeys(true);
  EXPECT_TRUE(codec.humanReadable());
  EXPECT_TRUE(codec.sortKeys());
  EXPECT_EQ(codec.stringWithObject(Value(ns::Dictionary{{"a", 1}})), "{\n  \"a\" : 1\n}");
}

TEST(JSONCodec, WritesWhatItReadsBackAsTheSameValues) {
  const std::string answer = R"({"data":[{"id":"1234_5678","from":{"name":"Amina","id":"1234"},
    "message":"Indeed, with hardship comes ease.\n\u0627\u0644\u062d\u0645\u062f \ud83d\ude00",
    "likes":{"count":12},"created_time":"2010-06-01T10:00:00+0000","score":-0.000125,"big":123456789012345678901234567890,
    "flags":[true,false,null]}],"paging":{"next":"https://graph.example/me/feed?limit=25&until=1275386400"}})";
  JSONCodec codec;
  auto value = codec.objectWithString(answer);
  ASSERT_TRUE(value);
  EXPECT_EQ((*value)["data"][0]["from"]["name"].string(), "Amina");
  EXPECT_EQ((*value)["data"][0]["score"].stringValue(), "-0.000125");
  for (bool readable : {false, true}) {
    codec.setHumanReadable(readable);
    auto text = codec.stringWithObject(*value);
    ASSERT_TRUE(text);
    EXPECT_EQ(codec.objectWithString(*text), value) << *text;
  }
}

}  // namespace
