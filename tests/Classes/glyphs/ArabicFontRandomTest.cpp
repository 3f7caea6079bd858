// Random code strings at every style and many widths: measuring and drawing
// never read or write outside their buffers (run under the sanitizers).
#include <gtest/gtest.h>

#include <random>

#include "Classes/glyphs/ArabicFont.h"
#include "GlyphFixture.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"

namespace {

ns::Data randomCodes(std::mt19937& rng) {
  std::uniform_int_distribution<int> length(0, 260), pick(0, 99), glyph(82, 255), any(0, 255);
  ns::Data out(length(rng));
  for (auto& b : out) {
    const int p = pick(rng);
    b = std::uint8_t(p < 12 ? 32 : p < 14 ? 10 : p < 16 ? any(rng) : glyph(rng));
  }
  // Long runs without spaces, and words longer than the word buffers.
  if (pick(rng) < 10) out.insert(out.end(), 90 + pick(rng), std::uint8_t(glyph(rng)));
  return out;
}

TEST(ArabicFontRandom, RandomCodeStringsNeverBreakMeasuringOrDrawing) {
  glyphfixture::resetDefaults(true);
  std::mt19937 rng(20261209);
  ns::LogCapture quiet;
  quiet.setEcho(false);
  const int widths[] = {1, 8, 40, 90, 170, 330, 700, 2000};
  auto ctx = cg::Context::bitmap(300, 200);
  for (unsigned style = 0; style < 10; ++style) {
    ArabicFont font(style, style % 2 == 0, glyphfixture::sharedDatabase(), style >= 5 ? 2 : 1);
    std::uniform_int_distribution<int> offset(-3, 3);
    for (int i = 0; i < 500; ++i) {
      const ns::Data v = randomCodes(rng);
      const int n = int(v.size());
      const int first = std::max(0, offset(rng)), last = n - 1 + offset(rng);
      const int width = widths[i % 8];
      const bool lastVerse = i % 3 == 0;
      const int height = font.GetHeightOfVerseImage(1, lastVerse, &v, first, last, width, false);
      EXPECT_GE(height, 0);
      font.DrawVerseImageFromBytes(ctx, 1, lastVerse, &v, first, last, 290, width);
      const auto& meta = *font.currVerseMetaData();
      ASSERT_LE(meta.lineCount(), VerseMetaData::kMaxLines - 1);
      // Recording changes nothing in the height.
      EXPECT_EQ(height, font.GetHeightOfVerseImage(1, lastVerse, &v, first, last, width, true));
    }
  }
}

}  // namespace
