// The tajweed legend bar over the reading table and the guide it opens, and
// the rest of the reading screen's header: the landscape top buttons and the
// translation button's slot; in the shell the program builds.
#include "Classes/glyphs/ArabicFont.h"
#include "Classes/reading/PickTranslationController.h"
#include "Classes/reading/TajweedRuleBoxes.h"
#include "platform/foundation/NotificationCenter.h"
#include "toolkit/styled/TKStyledTextLabel.h"
#include "tests/Classes/settings/SettingsFixture.h"

namespace readingtest {
namespace {

using settingstest::SettingsTest;
using Box = TajweedInfoViewController::Box;

const char* const kRuleKeys[] = {"TajweedQalqala", "TajweedIqlab", "TajweedIdgham", "TajweedIkhfa", "TajweedGhunna"};

class TajweedTest : public SettingsTest {
 protected:
  // The bar's buttons left to right.
  std::vector<ui::Button*> buttons() {
    auto& s = reading();
    return {s.btnTajweedQalqala.get(), s.btnTajweedIqlab.get(), s.btnTajweedIdgham.get(), s.btnTajweedIkhfa.get(),
            s.btnTajweedGhunna.get()};
  }

  // The guide the legend's popover shows.
  TajweedInfoViewController* guideInPopover() {
    auto& popover = reading().popoverView;
    if (!popover || !popover->isPopoverVisible()) return nullptr;
    auto nav = std::dynamic_pointer_cast<ui::NavigationController>(popover->contentViewController());
    return nav ? dynamic_cast<TajweedInfoViewController*>(nav->topViewController()) : nullptr;
  }
};

// The shown buttons share the table's width less 60 points; the bar stands
// 44 points high over the table's bottom, 50 points in.
TEST_F(TajweedTest, TheLegendsButtonsShareTheWidthOfTheRulesSwitchedOn) {
  struct Case {
    std::vector<bool> on;        // bar order: Qalqala, Iqlab, Idgham, Ikhfa, Ghunna
    std::vector<float> xs;       // of the shown buttons, in bar order
    float width;
  };
  const Case cases[] = {
      {{true, true, true, true, true}, {0, 137, 274, 411, 548}, 137},  // 688 / 5 = 137.6
      {{false, false, true, false, true}, {0, 344}, 344},              // Idgham and Ghunna
      {{false, false, false, false, false}, {}, 0},                    // the bar shows, empty
  };
  launch();
  auto& s = reading();
  for (const Case& c : cases) {
    for (int i = 0; i < 5; ++i) defaults().setBool(c.on[size_t(i)], kRuleKeys[i]);
    cg::Rect t = s.tblVerses->frame();
    s.tblVerses->setFrame(cg::Rect(t.x(), t.y(), 748, t.height()));
    s.showTajweedBar(false);
    std::vector<float> xs;
    for (int i = 0; i < 5; ++i) {
      ui::Button* b = buttons()[size_t(i)];
      EXPECT_EQ(b->alpha(), c.on[size_t(i)] ? 1 : 0) << i;
      if (!c.on[size_t(i)]) continue;
      xs.push_back(b->frame().x());
      EXPECT_EQ(b->frame().width(), c.width);
    }
    EXPECT_EQ(xs, c.xs);
    EXPECT_EQ(s.viewTajweedBar->frame(), cg::Rect(50, t.height() - 44, 698, 44));
    EXPECT_EQ(s.tblVerses->contentInset().bottom, 44);
    EXPECT_EQ(s.tblVerses->scrollIndicatorInsets().bottom, 44);
    s.tblVerses->setFrame(t);
  }
}

TEST_F(TajweedTest, HidingLeavesTheBarJustBelowTheTable) {
  launch();
  auto& s = reading();
  cg::Rect t = s.tblVerses->frame();
  s.hideTajweedBar(false);
  EXPECT_EQ(s.viewTajweedBar->frame(), cg::Rect(50, t.height(), t.width() - 50, 30));
  EXPECT_EQ(s.tblVerses->contentInset().bottom, 0);
  s.showTajweedBar(false);
  EXPECT_EQ(s.viewTajweedBar->frame().height(), 44);
  EXPECT_EQ(s.tblVerses->contentInset().bottom, 44);
}

// The bar follows "ShowTajweedBar" when told, and again after a move to the
// next surah and a turn.
TEST_F(TajweedTest, TheBarIsPlacedAgainOnItsNotificationTheNextSurahAndATurn) {
  launch();
  auto& s = reading();
  auto shown = [&] { return s.viewTajweedBar->frame().y() < s.tblVerses->frame().maxY(); };
  EXPECT_TRUE(shown());
  defaults().setBool(false, "ShowTajweedBar");
  s.showNextSurah();
  settle(1);
  EXPECT_FALSE(shown());
  defaults().setBool(true, "ShowTajweedBar");
  ns::NotificationCenter::defaultCenter().postNotificationName("TajweedBarDisplayToggled");
  settle(1);
  EXPECT_TRUE(shown());
  defaults().setBool(false, "TajweedQalqala");
  delegate->window()->rotateToInterfaceOrientation(ui::InterfaceOrientation::Portrait);
  settle(1);
  EXPECT_EQ(s.btnTajweedQalqala->alpha(), 0);
  EXPECT_EQ(s.imgNoteCover->image(), ui::Image::imageNamed("note-cover.png"));
}

// A tap on a rule opens the guide on that rule in a popover over the bar, the
// content exactly as high as the rule's box.
TEST_F(TajweedTest, ALegendButtonOpensTheGuideOnItsRule) {
  struct Case {
    const char* language;
    int rule;
    float height;
    std::vector<Box> boxes;
  };
  const Case cases[] = {
      {"en", 0, 258, {Box::Ghunna}},
      {"en", 2, 760, {Box::Idgham, Box::IdghamWG}},
      {"en", 3, 308, {Box::Iqlab}},
      {"ar", 2, 665, {Box::Idgham, Box::IdghamWG}},
      {"ar", 1, 370, {Box::Ikhfa}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.language) + " rule " + std::to_string(c.rule));
    launch(ui::InterfaceOrientation::LandscapeRight, c.language);
    auto& s = reading();
    ui::Button* button = s.tajweedButtonForRule(c.rule);
    tapView(*button);
    auto* guide = guideInPopover();
    ASSERT_NE(guide, nullptr);
    EXPECT_FALSE(guide->fromSettings());
    EXPECT_EQ(guide->scrollToView(), c.rule);
    EXPECT_EQ(guide->contentSizeForViewInPopover(), cg::Size(320, c.height));
    EXPECT_EQ(guide->viewScroll->contentSize(), cg::Size(320, c.height));
    std::vector<Box> shownBoxes;
    for (int b = 0; b < Box::kBoxCount; ++b)
      if (guide->viewInfo[size_t(b)]->superview()) shownBoxes.push_back(Box(b));
    EXPECT_EQ(shownBoxes, c.boxes);
    EXPECT_TRUE(guide->viewTopBar->isHidden());
    EXPECT_EQ(s.lastButtonTapped, button);
    EXPECT_EQ(s.lastPopoverView, s.viewTajweedBar.get());
    EXPECT_EQ(s.lastPopoverPosition, ui::PopoverArrowDirectionDown);
    EXPECT_EQ(s.popoverView->popoverArrowDirection(), ui::PopoverArrowDirectionDown);
    s.popoverView->dismissPopoverAnimated(false);
    TearDown();
    SetUp();
  }
}

// The whole guide: six boxes stacked, scrolled to the rule asked for.
TEST_F(TajweedTest, TheWholeGuideStacksTheSixBoxes) {
  for (const char* language : {"en", "ar"}) {
    SCOPED_TRACE(language);
    launch(ui::InterfaceOrientation::LandscapeRight, language);
    openMore();
    bool arabic = std::string(language) == "ar";
    for (int rule = 0; rule < 5; ++rule) {
      auto guide = std::make_shared<TajweedInfoViewController>(rule, true);
      moreTab()->pushViewController(guide, false);
      settle(0.3);
      EXPECT_EQ(guide->viewScroll->contentSize(), cg::Size(287, arabic ? 1851 : 2084));
      EXPECT_FALSE(guide->viewTopBar->isHidden());
      float y = 0;
      for (int b = 0; b < Box::kBoxCount; ++b) {
        EXPECT_EQ(guide->viewInfo[size_t(b)]->frame().y(), y) << b;
        y += float(TajweedInfoViewController::boxHeight(Box(b), arabic));
      }
      const float offsets[2][5] = {{0, 258, 686, 1446}, {0, 258, 628, 1293}};
      float expected = rule == 4 ? offsets[arabic][3] + float(TajweedInfoViewController::boxHeight(Box::Iqlab, arabic))
                                 : offsets[arabic][rule];
      EXPECT_EQ(guide->viewScroll->contentOffset().y, expected) << rule;
      EXPECT_EQ(guide->heightToUse, 0);
      moreTab()->popViewControllerAnimated(false);
      settle(0.3);
    }
    TearDown();
    SetUp();
  }
}

// In the Arabic interface the names above the boxes are empty and the
// translation labels carry the rule names.
TEST_F(TajweedTest, TheArabicInterfaceNamesTheRulesInTheTranslationLabels) {
  launch(ui::InterfaceOrientation::LandscapeRight, "ar");
  openMore();
  auto guide = std::make_shared<TajweedInfoViewController>(0, true);
  moreTab()->pushViewController(guide, false);
  settle(0.3);
  for (int b = 0; b < Box::kBoxCount; ++b) {
    EXPECT_EQ(guide->lblTop[size_t(b)]->text(), "") << b;
    EXPECT_EQ(guide->lblTrans[size_t(b)]->text(),
              Language::get(tajweedguide::kRuleBoxes[b].name, tajweedguide::kRuleBoxes[b].name));
  }
  EXPECT_EQ(guide->lblTrans[0]->text(), "الغنّة");
}

// Every explanation fits above its example, in both modes and languages.
TEST_F(TajweedTest, EveryExplanationFitsItsBox) {
  for (const char* language : {"en", "ar"}) {
    launch(ui::InterfaceOrientation::Portrait, language);
    openMore();
    for (bool whole : {false, true}) {
      for (int rule = 0; rule < 5; ++rule) {
        auto guide = std::make_shared<TajweedInfoViewController>(rule, whole);
        moreTab()->pushViewController(guide, false);
        settle(0.2);
        for (int b = 0; b < Box::kBoxCount; ++b) {
          auto& text = *guide->web[size_t(b)];
          if (!text.superview()->superview()) continue;  // a box the single mode does not show
          SCOPED_TRACE(std::string(language) + (whole ? " guide" : " single") + " box " + std::to_string(b));
          EXPECT_FALSE(text.html().empty());
          float needed = text.sizeThatFits(cg::Size(text.frame().width(), 10000)).height;
          EXPECT_LE(needed, text.frame().height());
          EXPECT_LE(text.frame().maxY(), guide->lblExample[size_t(b)]->frame().y());
          EXPECT_LE(guide->img[size_t(b)]->frame().maxY(), guide->btnListen[size_t(b)]->frame().y());
        }
        moreTab()->popViewControllerAnimated(false);
        settle(0.2);
        if (!whole && rule == 4) break;
      }
    }
    TearDown();
    SetUp();
  }
}

// The examples show every colour, even with every rule switched off; the
// example of idgham without ghunna is drawn as its surah's last verse.
TEST_F(TajweedTest, TheExamplesShowEveryColourWhateverTheSwitches) {
  for (const char* key : kRuleKeys) defaults().setBool(false, key);
  launch();
  auto& menu = openMore();
  tapRow(*menu.tblGroups, 0, 0);
  auto* guide = shown<TajweedInfoViewController>();
  ASSERT_NE(guide, nullptr);
  auto font = guide->fontLoader();
  ASSERT_TRUE(font);
  EXPECT_TRUE(font->canShowGhunna && font->canShowIkhfa && font->canShowIdgham && font->canShowIqlab &&
              font->canShowQalqala);
  EXPECT_FALSE(reading().fontLoader()->canShowGhunna);
  EXPECT_TRUE(tajweedguide::kRuleBoxes[Box::IdghamWG].lastVerse);
  // Drawn by the guide, the Ghunna example differs from the same verse drawn
  // by a renderer that follows the switches.
  picture("guide-all-colours");
  auto plain = std::make_shared<ArabicFont>(0, false);
  const auto data = ChapterInfo::getVerseData(delegate->dbConnectionStatic(), 104, 8);
  auto draw = [&](ArabicFont& f) {
    auto context = cg::Context::bitmap(300, 60);
    f.DrawVerseImageFromBytes(context, 8, false, &data, 0, int(data.size()) - 1, 300, 292);
    return context.makeImage();
  };
  auto coloured = draw(*font), uncoloured = draw(*plain);
  EXPECT_GT(settingstest::differingPixels(*coloured, *uncoloured, cg::Rect(0, 0, 300, 60)), 30);
}

// In landscape the top buttons stand over the ornaments and take the taps;
// in portrait they are hidden and the ornaments take them.
TEST_F(TajweedTest, TheLandscapeTopButtonsFollowTheLayout) {
  launch(ui::InterfaceOrientation::LandscapeRight);
  auto& s = reading();
  EXPECT_EQ(s.btnLSNextSurah->alpha(), 1);
  EXPECT_TRUE(s.viewTopLSButtons->isUserInteractionEnabled());
  int surah = s.iCurrentSurah();
  tapView(*s.btnRightOrnament);
  settle(1);
  EXPECT_EQ(s.iCurrentSurah(), surah + 1);

  delegate->window()->rotateToInterfaceOrientation(ui::InterfaceOrientation::Portrait);
  settle(1);
  EXPECT_EQ(s.btnLSNextSurah->alpha(), 0);
  EXPECT_EQ(s.btnLSPrevSurah->alpha(), 0);
  EXPECT_FALSE(s.viewTopLSButtons->isUserInteractionEnabled());
  tapView(*s.btnLeftOrnament);
  settle(1);
  EXPECT_EQ(s.iCurrentSurah(), surah);
}

// The header's translation button edits the slot whose translation the rows
// show: the primary, unless only the secondary holds one.
TEST_F(TajweedTest, TheHeadersPickerEditsTheSlotTheRowsShow) {
  struct Case {
    int primary, secondary;
    bool editsPrimary;
  };
  for (Case c : {Case{1, 5, true}, Case{0, 5, false}, Case{0, 0, true}}) {
    SCOPED_TRACE(std::to_string(c.primary) + "/" + std::to_string(c.secondary));
    defaults().setInteger(c.primary, "CurrentTranslationPrimary");
    defaults().setInteger(c.secondary, "CurrentTranslationSecondary");
    launch();
    rootScreen().expandFloatingView(true);
    settle(2);
    reading().btnTranslatorPressed();
    settle(0.5);
    auto* picker = dynamic_cast<PickTranslationController*>(reading().modalViewController());
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->IsPrimaryTranslation(), c.editsPrimary);
    const auto& list = picker->translations();
    int row = int(std::find(list.begin(), list.end(), 8) - list.begin());
    ASSERT_LT(row, int(list.size()));
    picker->didSelectRowAtIndexPath(picker->table.get(), ui::IndexPath::indexPathForRow(row, 0));
    settle(1);
    EXPECT_EQ(reading().iCurrentTranslation(), 8);
    picture(std::string("header-picker-") + std::to_string(c.primary) + "-" + std::to_string(c.secondary));
    TearDown();
    SetUp();
  }
}

}  // namespace
}  // namespace readingtest
