#include "Classes/core/Data+MBBase64.h"

#include <gtest/gtest.h>

namespace {

TEST(DataMBBase64, EncodesTheRfcVectors) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
  };
  for (const auto& [plain, encoded] : cases) {
    EXPECT_EQ(ns::base64Encoding(ns::dataFromString(plain)), encoded) << plain;
    const auto back = ns::dataWithBase64EncodedString(encoded);
    ASSERT_TRUE(back.has_value()) << encoded;
    EXPECT_EQ(ns::stringFromData(*back), plain) << encoded;
  }
}

TEST(DataMBBase64, RoundTripsEveryByteValue) {
  for (std::size_t length : {253u, 254u, 255u, 256u}) {
    ns::Data bytes(length);
    for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>(255 - i);
    const auto back = ns::dataWithBase64EncodedString(ns::base64Encoding(bytes));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, bytes);
  }
}

TEST(DataMBBase64, DecodingSkipsWhiteSpaceAndPaddingAndAcceptsShortGroups) {
  const std::pair<const char*, const char*> cases[] = {
      {"Zm9v\nYmFy", "foobar"}, {" Z m 9 v\t", "foo"}, {"Zg", "f"}, {"Zm8", "fo"}, {"Zg=", "f"},
      {"====", ""},
  };
  for (const auto& [encoded, plain] : cases) {
    const auto back = ns::dataWithBase64EncodedString(encoded);
    ASSERT_TRUE(back.has_value()) << encoded;
    EXPECT_EQ(ns::stringFromData(*back), plain) << encoded;
  }
}

TEST(DataMBBase64, BadInputGivesNoValue) {
  for (const char* bad : {"Zm9v!", "Z", "Zm9vY", "Zm-_", "Zm9v\xC3\xA9"}) {
    EXPECT_FALSE(ns::dataWithBase64EncodedString(bad).has_value()) << bad;
  }
  EXPECT_TRUE(ns::dataWithBase64EncodedString("").has_value());
}

}  // namespace
