// The window's drawing scale in the shell: when the backend draws at
// another scale, the reading screen chooses its glyph size style again, as
// after a change of the Arabic font size, and keeps its place.
#include "Classes/glyphs/ArabicFont.h"
#include "platform/ui/Screen.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

TEST_F(ShellTest, AChangeOfScaleChoosesTheGlyphSizeStyleAgain) {
  ui::Screen::main().setScale(1);
  defaults().setInteger(2, "CurrentlyShowingSurah");
  defaults().setInteger(40, "CurrentlyShowingVerse");
  launch();
  settle();
  int style = reading().fontResolution();
  ASSERT_LT(style, 5);
  auto font = reading().fontLoader();

  ui::Screen::main().setScale(2);
  settle(2);
  EXPECT_EQ(reading().fontResolution(), style + 5);
  EXPECT_NE(reading().fontLoader().get(), font.get());
  EXPECT_EQ(reading().iCurrentSurah(), 2);
  EXPECT_EQ(reading().selectedVerse(), 40);

  ui::Screen::main().setScale(1);
  settle(2);
  EXPECT_EQ(reading().fontResolution(), style);
}

}  // namespace
}  // namespace shelltest
