#include "tools/contentdb/GlyphImage.h"

#include <gtest/gtest.h>

#include "tools/contentdb/GlyphSet.h"

using namespace contentdb;

TEST(GlyphImage, MetricRowsStartAtAlpha64AndSurviveThePngRoundTrip) {
  AlphaImage img(3, 6);
  img.at(1, 1) = 63;  // not ink for the metrics
  img.at(0, 2) = 64;  // ink
  img.at(2, 4) = 200;
  img.at(1, 5) = 63;
  InkRows rows = inkRows(img);
  EXPECT_TRUE(rows.any);
  EXPECT_EQ(rows.top, 2);
  EXPECT_EQ(rows.bottom, 4);

  AlphaImage back;
  ASSERT_TRUE(decodePng(encodePng(img), back));
  EXPECT_EQ(back, img);
  InkRows again = inkRows(back);
  EXPECT_EQ(again.top, 2);
  EXPECT_EQ(again.bottom, 4);
}

TEST(GlyphImage, EveryAlphaValueSurvivesThePng) {
  AlphaImage img(256, 1);
  for (int a = 0; a < 256; ++a) img.at(a, 0) = static_cast<uint8_t>(a);
  AlphaImage back;
  ASSERT_TRUE(decodePng(encodePng(img), back));
  EXPECT_EQ(back, img);
}

TEST(GlyphImage, BlankImageMeasuresZeroAndBytesThatAreNoPngAreRefused) {
  AlphaImage blank(1, 1);
  GlyphMetric m = measure(blank, 0, false, 23, -1);
  EXPECT_EQ(m.advance, 1);  // never less than 1
  EXPECT_EQ(m.inkTop, 0);
  EXPECT_EQ(m.inkBottom, 0);
  AlphaImage out;
  EXPECT_FALSE(decodePng("not a png", out));
  EXPECT_FALSE(decodePng(encodePng(blank).substr(0, 20), out));
}

TEST(GlyphImage, FixedWidthPadsTheLeftAndKeepsTheInkRows) {
  RenderedGlyph g;
  g.image = AlphaImage(3, 5);
  g.image.at(0, 1) = 255;
  g.image.at(2, 3) = 255;
  g.metric = measure(g.image, 4, true, 3, -1);
  applyFixedWidth(g, 207, 7);
  EXPECT_EQ(g.metric.advance, 7);
  EXPECT_EQ(g.image.width, 6);
  EXPECT_EQ(g.image.at(3, 1), 255);  // the ink moved right by three columns
  EXPECT_EQ(g.image.at(5, 3), 255);
  for (int y = 0; y < 5; ++y) EXPECT_EQ(g.image.at(0, y), 0);
  InkRows rows = inkRows(g.image);
  EXPECT_EQ(rows.top, 1);
  EXPECT_EQ(rows.bottom, 3);

  RenderedGlyph wide = g;
  wide.metric.advance = 8;
  EXPECT_THROW(applyFixedWidth(wide, 207, 7), GlyphError);
}

TEST(GlyphImage, KasraRuleRaisesALetterBottomOnly) {
  AlphaImage img(2, 40);
  for (int y = 10; y <= 30; ++y) img.at(0, y) = 255;
  struct Case {
    bool letter;
    int kasraRow;
    int bottom;
  } cases[] = {
      {true, 25, 23},   // raised to the kasra row less 2
      {true, 15, 20},   // never above the baseline (20)
      {true, 40, 30},   // a kasra below the ink leaves the ink bottom
      {true, -1, 30},   // no kasra glyph: the ink bottom
      {false, 25, 30},  // not a letter form
  };
  for (const auto& c : cases) {
    GlyphMetric m = measure(img, 5, c.letter, 20, c.kasraRow);
    EXPECT_EQ(m.inkTop, 10);
    EXPECT_EQ(m.inkBottom, c.bottom) << c.kasraRow;
  }
}

TEST(GlyphSet, AmiriGivesTheDesignedSizesAndKasraBottoms) {
  GlyphRenderer renderer(ZARVEL_QURAN_FONT);
  auto glyphs = renderer.renderGroup(0);
  ASSERT_EQ(glyphs.size(), 174u);
  auto at = [&](int code) -> const RenderedGlyph& { return glyphs[code - kFirstCode]; };
  EXPECT_EQ(at(178).image.height, 38);  // letter image height of group 0
  EXPECT_EQ(at(112).image.height, 26);  // the stroke: CHAR_HEIGHT rows
  EXPECT_EQ(at(160).image.width, 1);
  EXPECT_EQ(at(166).metric.advance, 11);
  EXPECT_EQ(at(207).metric.advance, 12);
  EXPECT_EQ(at(211).metric.advance, 12);
  EXPECT_GE(at(212).metric.advance, 6);  // widened to round(0.3 em)
  // A kasra sits under the body of a final ya, above the end of its tail.
  EXPECT_LT(at(233).metric.inkBottom, inkRows(at(233).image).bottom);
  EXPECT_EQ(at(178).metric.inkBottom, inkRows(at(178).image).bottom);
  // Marks above are bottom-aligned in a box TASHKIL_HEIGHT (9) high.
  EXPECT_EQ(at(244).image.height, 9);
  EXPECT_EQ(inkRows(at(244).image, kCropThreshold).bottom, 8);
  // Stop signs and marks below are top-aligned.
  EXPECT_EQ(inkRows(at(125).image, kCropThreshold).top, 0);
  EXPECT_EQ(inkRows(at(248).image, kCropThreshold).top, 0);
}
