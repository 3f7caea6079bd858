// Pictures of the recitation in the shell: the recitation bar in the bottom
// bar in both layouts, the seek indicator, and the play-option pickers.
#include <filesystem>

#include "tests/Classes/audio/AudioFixture.h"

namespace audiotest {
namespace {

class PicturesTest : public AudioTest, public ::testing::WithParamInterface<ui::InterfaceOrientation> {};

TEST_P(PicturesTest, RecitationBarSeekIndicatorAndOptions) {
  {
    auto orientation = GetParam();
    bool landscape = ui::isLandscape(orientation);
    launch(orientation);
    installVerses(103, 8.0);
    defaults().setInteger(2, "AyahRepeatCounter");
    defaults().setInteger(3, "PlayVerseRange");
    open(103);
    reading().viewWillAppear(false);
    reading().highlightVerse(1, true, false, true);
    reading().playStopOrDownload();
    settle(1.0);
    auto& bar = *reading().viewLandscapeAudioBar;
    EXPECT_EQ(bar.superview(), reading().viewTopRepeatBubbles.get());
    EXPECT_EQ(bar.alpha(), 1.0f);
    EXPECT_EQ(reading().btnReciter->alpha(), 0.0f);
    cg::Rect bubbles = reading().viewTopRepeatBubbles->frame();
    EXPECT_EQ(bubbles.width(), 480);
    EXPECT_EQ(bubbles.x(), landscape ? 1024 - 288 - 480 : 0);
    std::string name = landscape ? "playing-landscape.png" : "playing-portrait.png";
    ASSERT_TRUE(backend().screenshot(shotPath(name)));
    reading().btnAudioFingerDown(reading().btnLandscapeAudioFF.get());
    backend().advance(0.8);
    ASSERT_TRUE(backend().screenshot(shotPath(landscape ? "seek-landscape.png" : "seek-portrait.png")));
    reading().btnAudioFingerUp();
    reading().stopPlaying();
    settle(1.0);
    EXPECT_EQ(bar.alpha(), 0.0f);
    EXPECT_EQ(reading().viewTopRepeatBubbles->frame().x(), landscape ? 1024 - 288 - 480 : 54);
    reading().btnSurahRepeatBubble->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
    settle(0.5);
    ASSERT_TRUE(backend().screenshot(shotPath(landscape ? "options-landscape.png" : "options-portrait.png")));
    reading().dismissNextAyahOptionSheet();
    settle(0.5);
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, PicturesTest,
                         ::testing::Values(ui::InterfaceOrientation::Portrait, ui::InterfaceOrientation::LandscapeRight),
                         [](const auto& info) { return ui::isLandscape(info.param) ? "Landscape" : "Portrait"; });

}  // namespace
}  // namespace audiotest
