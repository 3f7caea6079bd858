#include "platform/ui/TextDrawing.h"

#include <gtest/gtest.h>

#include "platform/graphics/Context.h"
#include "tests/platform/ui/Pixels.h"

namespace {

cg::Size drawn(const std::string& text) {
  cg::Context ctx = cg::Context::bitmap(200, 40);
  return ui::drawTextAtPoint(ctx, text, {0, 0}, ui::Font::systemFontOfSize(14), cg::Color::black());
}

}  // namespace

// Bytes that are not UTF-8 are drawn as "?" instead of losing the whole text,
// and a long run of them costs no more than its length.
TEST(TextDrawing, InvalidBytesAreDrawnAsQuestionMarks) {
  struct Case {
    std::string bytes, shown;
  } cases[] = {
      {"a\xff" "b", "a?b"},
      {"\xe2\x82", "??"},           // a cut three-byte sequence
      {std::string("x\0y", 3), "x?y"},  // an embedded NUL
      {"\xd8\xa8\xff", "\xd8\xa8?"},  // valid Arabic letter, then a bad byte
  };
  for (const auto& c : cases) EXPECT_EQ(drawn(c.bytes), drawn(c.shown)) << c.shown;

  std::string many(200000, '\xff');
  EXPECT_GT(drawn(many).width, 0);
}

// Text is drawn in exactly the room it was measured in, at either scale and
// under any transform: glyph positions are neither rounded nor hinted apart
// from the measure.
TEST(TextDrawing, DrawsInTheRoomThatWasMeasured) {
  struct Case {
    std::string text;
    ui::Font font;
  } cases[] = {
      {std::string(24, 'w'), ui::Font::systemFontOfSize(14)},
      {"Illuminating little lilies", ui::Font::boldSystemFontOfSize(17)},
      {std::string(30, 'm'), ui::Font::fontWithName("Georgia", 13)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    float measured = ui::sizeWithFont(c.text, c.font).width;
    for (float scale : {1.0f, 2.0f}) {
      cg::Context ctx = cg::Context::bitmap(measured + 40, 40, scale);
      ctx.setFillColor(cg::Color::white());
      ctx.fillRect(cg::Rect(0, 0, measured + 40, 40));
      cg::Size drawn = ui::drawTextAtPoint(ctx, c.text, {10, 5}, c.font, cg::Color::black());
      EXPECT_FLOAT_EQ(drawn.width, measured);
      auto image = ctx.makeImage();
      cg::Rect ink = testpixels::inkBox(*image, cg::Rect(0, 0, float(image->width()), float(image->height())),
                                        cg::RGBA{255, 255, 255, 255});
      float right = ink.maxX() / scale;
      EXPECT_LE(right, 10 + measured + 1) << "at scale " << scale;
      EXPECT_GE(right, 10 + measured - 4) << "at scale " << scale;
    }
    cg::Context turned = cg::Context::bitmap(100, 40);
    turned.scaleBy(1.37f, 0.8f);
    turned.rotate(0.3f);
    EXPECT_FLOAT_EQ(ui::drawTextAtPoint(turned, c.text, {0, 0}, c.font, cg::Color::black()).width, measured);
  }
}
