// The More menu, the settings and their detail screens, the tajweed legend
// and guide as a person sees them, in both orientations and in the Arabic
// interface, with and without installed recitations. The pictures go to
// settings-shots/ under the tests' scratch space, for a person to look at.
#include "tests/support/ToneMp3.h"
#include "tests/Classes/settings/SettingsFixture.h"

namespace settingstest {
namespace {

struct Case {
  ui::InterfaceOrientation orientation;
  const char* language;
  const char* name;
};

class PicturesTest : public SettingsTest, public ::testing::WithParamInterface<Case> {};

TEST_P(PicturesTest, TheMoreTabTheSettingsAndTheTajweedGuide) {
  const Case c = GetParam();
  launch(c.orientation, c.language);
  auto shot = [&](const std::string& what) { picture(what + "-" + c.name); };
  reading().setupBasicSurah(2, 6, false);
  reading().asyncSurahReload();
  settle(1);
  shot("legend");

  for (int rule : {0, 2}) {
    reading().tajweedButtonPressed(reading().tajweedButtonForRule(rule));
    settle(1);
    shot(std::string("legend-guide-") + (rule == 0 ? "ghunna" : "idgham"));
    reading().popoverView->dismissPopoverAnimated(false);
    settle(0.3);
  }

  auto& menu = openMore();
  shot("more");
  tapRow(*menu.tblGroups, 0, 0);
  shot("guide");
  if (auto* guide = shown<TajweedInfoViewController>()) {
    guide->viewScroll->setContentOffset(cg::Point{0, 1200}, false);
    settle(0.3);
    shot("guide-scrolled");
  }
  moreTab()->popViewControllerAnimated(false);
  settle(0.3);

  auto& settings = openSettings();
  shot("settings");
  // The switches speak the interface's language too.
  EXPECT_EQ(settings.switchKahf->onTitle(), Language::get("ON", "ON"));
  if (std::string(c.language) == "ar") {
    EXPECT_NE(settings.switchKahf->offTitle(), "OFF");
  }
  for (auto [section, row, name] : {std::tuple{0, 0, "language"}, {1, 0, "fontsize"}, {1, 1, "tajweed"}}) {
    tapRow(*settings.myTableView, section, row);
    shot(std::string("detail-") + name);
    moreTab()->popViewControllerAnimated(false);
    settle(0.3);
  }
  // No screen opens the sharing setting; it is shown here to be looked at.
  moreTab()->pushViewController(std::make_shared<SettingsSubView>(SettingsSubView::kSharing), false);
  settle(0.3);
  shot("detail-sharing");
  moreTab()->popViewControllerAnimated(false);
  settle(0.3);

  // With recitations installed: reciter 1 per verse (gapless-capable, so the
  // upgrade offer shows) and reciter 3 continuously.
  auto mp3 = tones::encode({{tones::verseFrequency(1), 0.3}});
  ASSERT_TRUE(ChapterInfo::insertMP3Blob(user(), 112, 1, 1, mp3));
  ASSERT_TRUE(ChapterInfo::markAudioAsInstalled(user(), 112, 1));
  ASSERT_TRUE(ChapterInfo::markAudioAsInstalled(user(), 1, 3));
  ASSERT_TRUE(ChapterInfo::markContAudioAsInstalled(user(), 1, 3, false));
  moreTab()->popViewControllerAnimated(false);
  settle(0.3);
  auto& again = openSettings();
  again.myTableView->scrollToRowAtIndexPath(ui::IndexPath{again.numberOfSectionsInTableView(nullptr) - 1, 0},
                                            ui::TableViewScrollPosition::Bottom, false);
  settle(0.3);
  shot("settings-audio");
}

INSTANTIATE_TEST_SUITE_P(Layouts, PicturesTest,
                         ::testing::Values(Case{ui::InterfaceOrientation::LandscapeRight, "en", "landscape"},
                                           Case{ui::InterfaceOrientation::Portrait, "en", "portrait"},
                                           Case{ui::InterfaceOrientation::LandscapeRight, "ar", "arabic-landscape"},
                                           Case{ui::InterfaceOrientation::Portrait, "ar", "arabic-portrait"}),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           std::replace(n.begin(), n.end(), '-', '_');
                           return n;
                         });

}  // namespace
}  // namespace settingstest
