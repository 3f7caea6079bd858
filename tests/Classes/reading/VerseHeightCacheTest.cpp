// The verse height cache in a long session: bounded, keeping what is in use.
#include "Classes/reading/VerseHeightCache.h"

#include <gtest/gtest.h>

namespace {

TEST(VerseHeightCache, StaysBoundedAndKeepsTheHeightsInUse) {
  VerseHeightCache cache;
  const std::size_t N = VerseHeightCache::kGeneration;
  int measuredFirst = 0, measures = 0;
  auto first = [&] { return cache.heightOf(1, 1, 700, 3, [&] { return ++measuredFirst, 40; }); };
  first();
  // Every verse at many widths (a window resized again and again), the
  // first verse read now and then as a row on screen would be.
  for (int width = 100; width < 110; ++width)
    for (std::size_t i = 0; i < N; ++i) {
      int surah = 1 + int(i / 300), verse = 1 + int(i % 300);
      EXPECT_EQ(cache.heightOf(surah, verse, width, 3, [&] { return ++measures, 25 + verse % 7; }), 25 + verse % 7);
      if (i % (N / 3) == 0) {
        EXPECT_EQ(first(), 40);
      }
      ASSERT_LE(cache.size(), 2 * N);
    }
  EXPECT_EQ(measuredFirst, 1);
  EXPECT_EQ(measures, int(10 * N));
  // A height not read for two generations is measured again.
  EXPECT_FALSE(cache.contains(1, 1, 100, 3));
  EXPECT_TRUE(cache.contains(1, 1, 109, 3));
}

}  // namespace
