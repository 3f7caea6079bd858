// The tajweed guide's examples play from the reader's installed recitation:
// the example verse alone, faded in over 0.3 s; a second tap fades it out, a
// tap on another example switches at once; a fade that ends silences only its
// own recording; without the surah installed the button offers its download.
#include "platform/media/AudioSession.h"
#include "tests/Classes/settings/SettingsFixture.h"

namespace settingstest {
namespace {

using audiotest::kContReciter;
using Box = TajweedInfoViewController::Box;

class GuideExamplesTest : public SettingsTest {
 protected:
  TajweedInfoViewController& openGuide() {
    auto& menu = openMore();
    tapRow(*menu.tblGroups, 0, 0);
    auto* guide = shown<TajweedInfoViewController>();
    EXPECT_NE(guide, nullptr);
    return *guide;
  }

  // The guide with 104:8 (Ghunna) and 105:4 (Ikhfa) installed, three seconds each.
  TajweedInfoViewController& guideWithTwoExamples() {
    installVerses(104, 3.0);
    installVerses(105, 3.0);
    return openGuide();
  }

  static void press(TajweedInfoViewController& guide, Box box) { guide.listenPressed(guide.btnListen[box].get()); }

  // The verses heard since recording began, each for at least two 0.05 s
  // windows in a row (a window where the sound starts or ends straddles it).
  std::vector<int> heard() {
    auto windows = tones::versesByWindow(device().recording(), 0.05);
    std::vector<int> steady;
    for (size_t i = 0; i + 1 < windows.size(); ++i)
      if (windows[i] >= 0 && windows[i] == windows[i + 1]) steady.push_back(windows[i]);
    return audiotest::runs(steady);
  }

  static int sessionHolds() { return av::AudioSession::sharedInstance().activations(); }
};

TEST_F(GuideExamplesTest, ListenPlaysTheExampleVerseFadedIn) {
  launch();
  installVerses(104, 1.0);
  auto& guide = openGuide();
  device().startRecording();
  press(guide, Box::Ghunna);
  ASSERT_TRUE(guide.CurrentAudioPlayer());
  EXPECT_EQ(guide.lastPlayingType(), 0);
  EXPECT_EQ(sessionHolds(), 1);
  EXPECT_EQ(guide.btnListen[Box::Ghunna]->titleColorForState(ui::ControlStateNormal), cg::Color::fromRGB255(83, 132, 64));
  EXPECT_LT(guide.CurrentAudioPlayer()->volume(), 0.5f);  // the fade begins at silence
  settle(0.5);
  ASSERT_TRUE(guide.CurrentAudioPlayer());
  EXPECT_EQ(guide.CurrentAudioPlayer()->volume(), 1.0f);
  settle(1.0);  // the verse ends
  EXPECT_EQ(heard(), std::vector<int>{8});
  EXPECT_FALSE(guide.CurrentAudioPlayer());
  EXPECT_EQ(guide.lastPlayingType(), -1);
  EXPECT_EQ(sessionHolds(), 0);
  EXPECT_EQ(guide.btnListen[Box::Ghunna]->titleColorForState(ui::ControlStateNormal), cg::Color::fromRGB255(86, 128, 171));
}

TEST_F(GuideExamplesTest, ASecondTapFadesOutAndAnotherSwitchesAtOnce) {
  launch();
  auto& guide = guideWithTwoExamples();
  press(guide, Box::Ghunna);
  settle(0.5);
  auto first = guide.CurrentAudioPlayer();
  ASSERT_TRUE(first);
  press(guide, Box::Ikhfa);
  EXPECT_FALSE(first->isPlaying());  // at once, without a fade
  ASSERT_TRUE(guide.CurrentAudioPlayer());
  EXPECT_EQ(guide.lastPlayingType(), 1);
  EXPECT_EQ(sessionHolds(), 1);

  settle(0.5);
  auto second = guide.CurrentAudioPlayer();
  device().startRecording();
  press(guide, Box::Ikhfa);
  EXPECT_EQ(guide.lastPlayingType(), -1);
  EXPECT_TRUE(second->isPlaying());  // fading
  EXPECT_EQ(sessionHolds(), 1);
  settle(1.0);
  EXPECT_FALSE(second->isPlaying());
  EXPECT_EQ(sessionHolds(), 0);
  EXPECT_EQ(heard(), std::vector<int>{4});  // 105:4 fading out, then silence
}

// A recording started while another fades out plays on when that fade ends,
// and keeps the sound session.
TEST_F(GuideExamplesTest, AFadeThatEndsLeavesANewerRecordingPlaying) {
  launch();
  auto& guide = guideWithTwoExamples();
  press(guide, Box::Ghunna);
  settle(0.5);
  press(guide, Box::Ghunna);  // fades out over 0.3 s
  press(guide, Box::Ikhfa);   // meanwhile
  auto newer = guide.CurrentAudioPlayer();
  ASSERT_TRUE(newer);
  settle(1.0);
  EXPECT_TRUE(newer->isPlaying());
  EXPECT_EQ(guide.CurrentAudioPlayer(), newer);
  EXPECT_EQ(guide.lastPlayingType(), 1);
  EXPECT_EQ(sessionHolds(), 1);
  EXPECT_EQ(guide.btnListen[Box::Ikhfa]->titleColorForState(ui::ControlStateNormal), cg::Color::fromRGB255(83, 132, 64));
}

// A continuous recitation: the part that holds the verse, from the verse's
// start to the next verse's.
TEST_F(GuideExamplesTest, AContinuousRecitationPlaysTheVerseAlone) {
  launch();
  installContinuous();
  useReciter(kContReciter);
  auto& guide = openGuide();
  device().startRecording();
  press(guide, Box::Qalqala);  // 112:3, the start of part 2
  ASSERT_TRUE(guide.CurrentAudioPlayer());
  settle(3.0);
  EXPECT_FALSE(guide.CurrentAudioPlayer());
  EXPECT_EQ(heard(), std::vector<int>{3});

  device().startRecording();
  press(guide, Box::IdghamWG);  // 112:4, from 2.0 s into part 2
  settle(3.0);
  EXPECT_EQ(heard(), std::vector<int>{4});
  EXPECT_EQ(sessionHolds(), 0);
}

TEST_F(GuideExamplesTest, WithoutTheSurahInstalledTheButtonOffersItsDownload) {
  launch();
  auto& guide = openGuide();
  press(guide, Box::Iqlab);  // 69:4
  EXPECT_FALSE(guide.CurrentAudioPlayer());
  EXPECT_EQ(guide.lastPlayingType(), -1);
  EXPECT_EQ(sessionHolds(), 0);
  EXPECT_EQ(guide.btnListen[Box::Iqlab]->titleColorForState(ui::ControlStateNormal), cg::Color::fromRGB255(86, 128, 171));
  auto* alert = alertShown();
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->title(), "Listen to this example");
  EXPECT_NE(alert->message().find(ChapterInfo::getNameFromNumber(69)), std::string::npos) << alert->message();
  EXPECT_EQ(alert->buttonTitleAtIndex(alert->firstOtherButtonIndex()), "Download");
  picture("guide-download-offer");
  // "Download" starts the surah's download: here, with no mirror set, the
  // reader is told where the mirrors belong.
  alert->tapButtonAtIndex(alert->firstOtherButtonIndex());
  settle(0.3);
  ASSERT_NE(alertShown(), nullptr);
  EXPECT_EQ(alertShown()->title(), "No Download Mirror");
}

TEST_F(GuideExamplesTest, LeavingTheGuideStopsItsExample) {
  launch();
  installVerses(104, 3.0);
  auto& guide = openGuide();
  press(guide, Box::Ghunna);
  settle(0.5);
  auto player = guide.CurrentAudioPlayer();
  ASSERT_TRUE(player);
  tapView(*guide.btnBack);
  EXPECT_FALSE(player->isPlaying());
  EXPECT_EQ(sessionHolds(), 0);
}

}  // namespace
}  // namespace settingstest
