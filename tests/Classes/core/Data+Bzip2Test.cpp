#include "Classes/core/Data+Bzip2.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "platform/foundation/Log.h"

namespace {

ns::Data randomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  ns::Data d(n);
  for (auto& b : d) b = static_cast<std::uint8_t>(rng());
  return d;
}

ns::Data text(std::string_view s) { return ns::dataFromString(s); }

TEST(DataBzip2, GzipRoundTripOfOneMegabyteOfRandomBytes) {
  const ns::Data input = randomBytes(1 << 20, 7);
  const ns::Data packed = ns::gzipDeflate(input);
  ASSERT_GE(packed.size(), 10u);
  EXPECT_EQ(packed[0], 0x1f);  // gzip magic
  EXPECT_EQ(packed[1], 0x8b);
  EXPECT_EQ(ns::gzipInflate(packed), input);
}

TEST(DataBzip2, ZlibRoundTripAndFraming) {
  const ns::Data input = text("In the name of God, the Most Gracious, the Most Merciful. ");
  const ns::Data packed = ns::zlibDeflate(input);
  ASSERT_GE(packed.size(), 2u);
  EXPECT_EQ(packed[0], 0x78);  // zlib header, 32 KB window
  EXPECT_EQ(((packed[0] << 8) | packed[1]) % 31, 0);
  EXPECT_EQ(ns::zlibInflate(packed), input);
}

TEST(DataBzip2, GzipInflateReadsZlibStreamsButZlibInflateRefusesGzip) {
  const ns::Data input = text("the same words, the same words, the same words");
  EXPECT_EQ(ns::gzipInflate(ns::zlibDeflate(input)), input);
  ns::LogCapture capture;
  capture.setEcho(false);
  EXPECT_TRUE(ns::zlibInflate(ns::gzipDeflate(input)).empty());
  EXPECT_TRUE(capture.contains("[zlibInflate]"));
}

TEST(DataBzip2, EmptyInputGivesEmptyOutput) {
  EXPECT_TRUE(ns::gzipDeflate({}).empty());
  EXPECT_TRUE(ns::gzipInflate({}).empty());
  EXPECT_TRUE(ns::zlibDeflate({}).empty());
  EXPECT_TRUE(ns::zlibInflate({}).empty());
}

TEST(DataBzip2, BadStreamsGiveEmptyDataAndALogLine) {
  const ns::Data packed = ns::gzipDeflate(randomBytes(50000, 3));
  ns::Data corrupt = packed;
  corrupt[corrupt.size() / 2] ^= 0xFF;
  corrupt[corrupt.size() / 2 + 1] ^= 0x55;
  struct Case {
    const char* name;
    ns::Data bytes;
  };
  const Case cases[] = {
      {"garbage", text("this is not compressed at all")},
      {"one byte", ns::Data{0x1f}},
      {"truncated", ns::Data(packed.begin(), packed.begin() + packed.size() / 2)},
      {"header only", ns::Data(packed.begin(), packed.begin() + 10)},
      {"corrupt middle", corrupt},
  };
  for (const auto& c : cases) {
    ns::LogCapture capture;
    capture.setEcho(false);
    EXPECT_TRUE(ns::gzipInflate(c.bytes).empty()) << c.name;
    EXPECT_TRUE(capture.contains("[gzipInflate]")) << c.name;
  }
}

TEST(DataBzip2, TinyInputsThatExpandALotStillInflate) {
  // Growth by half the input length alone would never make room here.
  const ns::Data zeros(200000, 0);
  const ns::Data packed = ns::gzipDeflate(zeros);
  ASSERT_LT(packed.size(), 1000u);
  EXPECT_EQ(ns::gzipInflate(packed), zeros);
}

// The output is first sized by the gzip trailer's length, which describes the
// last member only and may lie: the stream itself decides the result.
TEST(DataBzip2, TheTrailersLengthIsOnlyAFirstGuess) {
  const ns::Data big = randomBytes(300000, 5), small = text("a short member");
  auto join = [](ns::Data a, const ns::Data& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  // Two members: the first is read, whichever trailer ends the input.
  EXPECT_EQ(ns::gzipInflate(join(ns::gzipDeflate(big), ns::gzipDeflate(small))), big);
  EXPECT_EQ(ns::gzipInflate(join(ns::gzipDeflate(small), ns::gzipDeflate(big))), small);

  // A trailer whose length is not the stream's fails its check, however big it claims.
  const ns::Data packed = ns::gzipDeflate(big);
  for (std::uint32_t length : {0u, 1u, 299999u, 300001u, 3000000u, 0xFFFFFFFFu}) {
    ns::Data lying = packed;
    for (int i = 0; i < 4; ++i) lying[lying.size() - 4 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    ns::LogCapture capture;
    capture.setEcho(false);
    EXPECT_TRUE(ns::gzipInflate(lying).empty()) << length;
    EXPECT_TRUE(capture.contains("[gzipInflate]")) << length;
  }
}

TEST(DataBzip2, InflationStopsPastTheOutputCap) {
  // 65 MB of zeros deflate to about 65 KB: a small decompression bomb.
  ns::Data bomb;
  {
    const ns::Data zeros(std::size_t{65} << 20, 0);
    bomb = ns::gzipDeflate(zeros);
  }
  ASSERT_LT(bomb.size(), 200000u);
  ns::LogCapture capture;
  capture.setEcho(false);
  EXPECT_TRUE(ns::gzipInflate(bomb).empty());
  EXPECT_TRUE(capture.contains("giving up"));
}

TEST(DataBzip2, OutputExactlyAtTheCapIsAccepted) {
  const ns::Data zeros(ns::kInflateOutputCap, 0);
  const ns::Data packed = ns::zlibDeflate(zeros);
  const ns::Data back = ns::zlibInflate(packed);
  EXPECT_EQ(back.size(), ns::kInflateOutputCap);
}

}  // namespace
