// The shell as a person sees it, in both orientations: the reading view with
// the index column and the translation panes, full screen, the notes panel.
#include "platform/ui/TextView.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

TEST_F(ShellTest, ScreenshotsInBothOrientations) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  defaults().setInteger(5, "CurrentTranslationSecondary");
  defaults().setInteger(1, "CurrentTranslationv22");
  defaults().setBool(true, "HideTransInFullScreen");
  defaults().setInteger(2, "CurrentlyShowingSurah");
  for (auto orientation : {ui::InterfaceOrientation::LandscapeRight, ui::InterfaceOrientation::Portrait}) {
    std::string name = ui::isLandscape(orientation) ? "landscape" : "portrait";
    SCOPED_TRACE(name);
    launch(orientation);
    settle(1);
    EXPECT_EQ(reading().iCurrentSurah(), 2);
    EXPECT_EQ(root->viewFloatingVerses->frame().x(), root->columnShownX());
    ASSERT_TRUE(backend().screenshot(shotPath(name + ".png")));  // the index column in view
    root->showOrHideIndex();  // slid right: the panes in view
    settle(1);
    ASSERT_TRUE(backend().screenshot(shotPath(name + "-panes.png")));
    root->showOrHideIndex();
    settle(1);
    root->tabbarButtonPressed(2);  // the bookmarks
    settle(1);
    ASSERT_TRUE(backend().screenshot(shotPath(name + "-bookmarks-tab.png")));
    root->tabbarButtonPressed(3);
    settle(1);

    root->surahHighlightVerse(3, false);
    root->showNotesForSurah(reading().iCurrentSurah(), 3, true, root->IsInLandscape());
    settle(1);
    root->txtNotes->textView()->setText("The believers in the unseen:\nread again with the commentary.");
    ASSERT_TRUE(backend().screenshot(shotPath(name + "-notes.png")));
    root->hideNotesWithoutSave();
    settle(1);

    root->expandFloatingView(true);
    settle(2);
    ASSERT_TRUE(backend().screenshot(shotPath(name + "-fullscreen.png")));
    root->shrinkFloatingView(false);
    TearDown();
    SetUp();
    defaults().setInteger(1, "CurrentTranslationPrimary");
    defaults().setInteger(5, "CurrentTranslationSecondary");
    defaults().setBool(true, "HideTransInFullScreen");
    defaults().setInteger(2, "CurrentlyShowingSurah");
  }
}

}  // namespace
}  // namespace shelltest
