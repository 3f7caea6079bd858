// The shell as a person sees it, in both orientations: the reading view with
// the index column and the translation panes, full screen, the notes panel.
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

TEST_F(ShellTest, DISABLED_Screenshots) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  defaults().setInteger(2, "CurrentTranslationSecondary");
  defaults().setInteger(2, "LastSurah");
  launch(ui::InterfaceOrientation::LandscapeRight);
  ASSERT_TRUE(backend().screenshot(shotPath("landscape.png")));
  std::printf("rows %d trans %d\n", primary().tblTransView()->numberOfRowsInSection(0), primary().iCurrentTranslation());
}

}  // namespace
}  // namespace shelltest
