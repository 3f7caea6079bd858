// The tips: shown once on a fresh start (and again only from the More menu),
// the automatic move to the first tip, the titles, the backdrop, the
// cross-fade of the two-translations page, the keys, the Arabic paragraphs,
// and pictures of the sheet.
#include "Classes/settings/TipsViewController.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "tests/Classes/settings/InfoScreensFixture.h"

namespace infotest {
namespace {

class TipsTest : public InfoScreensTest {
 protected:
  // The tips sheet over the root, if it is up.
  TipsViewController* tips() {
    auto* nav = root ? dynamic_cast<ui::NavigationController*>(root->modalViewController()) : nullptr;
    return nav ? dynamic_cast<TipsViewController*>(nav->topViewController()) : nullptr;
  }

  // A fresh start: the tips have never been shown.
  void launchFresh(ui::InterfaceOrientation o = ui::InterfaceOrientation::LandscapeRight) {
    defaults().setBool(false, "TipsHaveShownHD");
    defaults().synchronize();
    launch(o);
  }

  // Ends the process and starts it again on the same files.
  void relaunch(double wait = 1.5) {
    if (tips()) {
      tips()->backButtonPressed();
      settle(0.5);
    }
    backend().close();
    ui::Application::shared().setDelegate(nullptr);
    root.reset();
    delegate.reset();
    testenv::forgetProcessState();
    launch(ui::InterfaceOrientation::LandscapeRight, wait);
  }

  // Opens the tips with the More menu's row, and lets them come up.
  TipsViewController& openTips() {
    tapMoreRow("Tips");
    EXPECT_NE(tips(), nullptr);
    return *tips();
  }

  void scrollTo(TipsViewController& t, float x) { t.viewScroll->setContentOffset(cg::Point(x, 0), false); }
};

TEST_F(TipsTest, AFreshStartShowsTheTipsOnceAndNeverAgain) {
  launchFresh(ui::InterfaceOrientation::LandscapeRight);
  // A second after the root appears: the sheet, and only now the key.
  settle(0.5);
  ASSERT_NE(tips(), nullptr);
  EXPECT_EQ(root->modalViewController()->modalPresentationStyle(), ui::ModalPresentationStyle::FormSheet);
  EXPECT_TRUE(defaults().boolForKey("TipsHaveShownHD"));
  EXPECT_EQ(tips()->title(), "Zarvel HD Tips");
  relaunch(3);
  EXPECT_EQ(tips(), nullptr);
  EXPECT_EQ(root->modalViewController(), nullptr);
  // The More menu opens them whenever the reader asks.
  EXPECT_EQ(openTips().title(), "Zarvel HD Tips");
}

TEST_F(TipsTest, AStartThatEndsBeforeTheTipsShowThemNextTime) {
  defaults().setBool(false, "TipsHaveShownHD");
  defaults().synchronize();
  launch(ui::InterfaceOrientation::LandscapeRight, 0.5);
  EXPECT_EQ(tips(), nullptr);
  EXPECT_FALSE(defaults().boolForKey("TipsHaveShownHD"));
  relaunch(0.5);
  EXPECT_FALSE(defaults().boolForKey("TipsHaveShownHD"));
  settle(1.0);
  EXPECT_NE(tips(), nullptr);
  EXPECT_TRUE(defaults().boolForKey("TipsHaveShownHD"));
}

TEST_F(TipsTest, TheWelcomeMovesOnAfterFourSecondsUnlessTheReaderMovesFirst) {
  launch();
  auto& t = openTips();  // up for a little over a second (a settle runs a second past its time)
  EXPECT_EQ(t.currentPageInd(), 0);
  settle(1.0);
  EXPECT_EQ(t.currentPageInd(), 0);
  settle(2.0);
  EXPECT_EQ(t.currentPageInd(), 1);
  EXPECT_EQ(t.pgtClt->currentPage(), 1);
  EXPECT_EQ(t.title(), TipsViewController::titleForPage(1));
  EXPECT_FLOAT_EQ(t.viewScroll->contentOffset().x, TipsViewController::kPageWidth);

  // Opened again: a turn of the page before 4 s stops the move.
  t.backButtonPressed();
  settle(0.5);
  auto& again = openTips();
  backend().key("Right");
  settle(0.5);
  backend().key("Right");
  settle(1.0);
  EXPECT_EQ(again.currentPageInd(), 2);
  backend().key("Left");
  settle(5.0);
  EXPECT_EQ(again.currentPageInd(), 1);
}

TEST_F(TipsTest, TitlesAndBackdropFollowThePage) {
  launch();
  auto& t = openTips();
  const float w = TipsViewController::kPageWidth;
  struct Case {
    float x;
    int page;
    float alpha;
  };
  // The closing page is light however it is reached: straight from page 5 too.
  const Case cases[] = {{w, 1, 1},     {5 * w, 5, 1},         {10 * w, 10, 0},
                        {0, 0, 10 / w}, {9 * w, 9, 1},        {9.5f * w, 9, 0.5f - 10 / w},
                        {10 * w, 10, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    scrollTo(t, c.x);
    EXPECT_EQ(t.currentPageInd(), c.page);
    EXPECT_EQ(t.title(), TipsViewController::titleForPage(c.page));
    EXPECT_NEAR(t.viewDarkBG->alpha(), c.alpha, 0.01);
  }
  EXPECT_EQ(TipsViewController::titleForPage(11), "");
}

TEST_F(TipsTest, TheTwoTranslationsPageCrossFadesUntilThePageChanges) {
  launch();
  auto& t = openTips();
  auto& overlay = *t.imgPages[2];
  const float w = TipsViewController::kPageWidth;
  scrollTo(t, 2 * w);
  backend().advance(1.5);
  EXPECT_FLOAT_EQ(overlay.alpha(), 1);
  // A swipe that stays on the page restarts nothing.
  scrollTo(t, 2 * w + 40);
  scrollTo(t, 2 * w);
  backend().advance(0.8);  // 2.3 s on the page: faded out
  EXPECT_FLOAT_EQ(overlay.alpha(), 0);
  backend().advance(3.3);
  EXPECT_FLOAT_EQ(overlay.alpha(), 1);
  backend().advance(3.3);
  EXPECT_FLOAT_EQ(overlay.alpha(), 0);
  // Leaving the page shows the overlay again and stops the loop.
  scrollTo(t, 3 * w);
  EXPECT_FLOAT_EQ(overlay.alpha(), 1);
  backend().advance(10);
  EXPECT_FLOAT_EQ(overlay.alpha(), 1);
  // Back on the page, the loop starts again, 2 s later.
  scrollTo(t, 2 * w);
  backend().advance(1.9);
  EXPECT_FLOAT_EQ(overlay.alpha(), 1);
  backend().advance(0.4);
  EXPECT_FLOAT_EQ(overlay.alpha(), 0);
}

TEST_F(TipsTest, ScrollingBeforeTheSheetAppearsIsUndone) {
  launch();
  auto tipsScreen = std::make_shared<TipsViewController>();
  tipsScreen->view();
  scrollTo(*tipsScreen, 3 * TipsViewController::kPageWidth);
  EXPECT_FLOAT_EQ(tipsScreen->viewScroll->contentOffset().x, 0);
  EXPECT_EQ(tipsScreen->pgtClt->currentPage(), 0);
  EXPECT_EQ(tipsScreen->title(), "Zarvel HD Tips");
}

TEST_F(TipsTest, KeysTurnThePagesAndCloseGivesThemBack) {
  launch();
  ASSERT_TRUE(reading().isFirstResponder());
  std::weak_ptr<ui::ViewController> weak;
  {
    auto& t = openTips();
    weak = t.weak_from_this();
    EXPECT_TRUE(t.isFirstResponder());
    backend().key("End");
    settle(0.5);
    EXPECT_EQ(t.currentPageInd(), 10);
    backend().key("PageUp");
    settle(0.5);
    EXPECT_EQ(t.currentPageInd(), 9);
    backend().key("Home");
    settle(0.5);
    EXPECT_EQ(t.currentPageInd(), 0);
    backend().key("Right");
    backend().key("Right");
    settle(2.5);  // the fade of the two-translations page is under way
    EXPECT_EQ(t.currentPageInd(), 2);
    backend().key("Escape");
    settle(0.5);
  }
  EXPECT_EQ(tips(), nullptr);
  EXPECT_TRUE(reading().isFirstResponder());
  settle(8);
  EXPECT_TRUE(weak.expired()) << "a pending request outlived the sheet";
}

TEST_F(TipsTest, TextsAndPicturesOfEveryPage) {
  launch();
  auto& t = openTips();
  EXPECT_EQ(t.lblWelcomeEnd->text(), "Welcome");
  EXPECT_NE(t.imgWelcome->image(), nullptr) << "the emblem";
  EXPECT_EQ(t.lblPage10->text(), Language::get("HDTIP10", "Enjoy using Zarvel HD"));
  EXPECT_NE(t.lblPage10->text(), "HDTIP10");
  for (int n = 1; n <= TipsViewController::kTipCount; ++n) {
    SCOPED_TRACE(n);
    std::string text = t.txtPages[n]->text();
    EXPECT_GT(text.size(), 80u);
    EXPECT_EQ(text.find("HDTIP"), std::string::npos);
    if (t.imgPages[n]) {
      EXPECT_NE(t.imgPages[n]->image(), nullptr) << TipsViewController::pictureName(n);
    }
  }
  EXPECT_NE(t.imgPage2_2->image(), nullptr);
  EXPECT_EQ(TipsViewController::pictureName(3), "tips-en-3.png");
  for (int i = 1; i <= 4; ++i) EXPECT_NE(t.imgPage7[i]->image(), nullptr);
  EXPECT_EQ(t.lblPage7[1]->text(), "Recitation for this chapter has not been downloaded");
}

TEST_F(TipsTest, EveryArabicParagraphRunsFromTheRight) {
  useLanguage("ar");
  launch();
  auto& t = openTips();
  EXPECT_EQ(TipsViewController::pictureName(3), "tips-ar-3.png");
  for (int n = 1; n <= TipsViewController::kTipCount; ++n) {
    SCOPED_TRACE(n);
    std::string text = t.txtPages[n]->text();
    EXPECT_EQ(t.txtPages[n]->textAlignment(), ui::TextAlignment::Right);
    for (const std::string& paragraph : ns::componentsSeparatedByString(text, "\n")) EXPECT_EQ(paragraph.rfind("\u202B", 0), 0u) << paragraph;
  }
  EXPECT_EQ(t.lblPage7[2]->textAlignment(), ui::TextAlignment::Right);
  EXPECT_NE(t.title(), "Zarvel HD Tips");
}

TEST_F(TipsTest, Pictures) {
  inEveryLook([&](const std::string& name) {
    auto& t = openTips();
    ASSERT_TRUE(backend().screenshot(picture("tips-welcome-" + name)));
    for (int page : {1, 2, 4, 7, 10}) {
      scrollTo(t, float(page) * TipsViewController::kPageWidth);
      settle(0.3);
      ASSERT_TRUE(backend().screenshot(picture(ns::format("tips-%d-", page) + name)));
    }
  });
}

}  // namespace
}  // namespace infotest
