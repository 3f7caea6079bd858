#include "platform/ui/TextDrawing.h"

#include <gtest/gtest.h>

#include "platform/graphics/Context.h"

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
