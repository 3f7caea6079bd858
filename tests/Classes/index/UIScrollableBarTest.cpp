// The juz bar: where its labels go, which label a touch lands on, what it
// tells its delegate, and how its art changes between portrait and landscape.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Classes/index/UIScrollableBar.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Image.h"
#include "platform/ui/Window.h"

namespace {

std::vector<std::string> juzLabels() {
  std::vector<std::string> labels;
  for (int i = 1; i <= 30; ++i) labels.push_back(ns::format("%d", i));
  return labels;
}

struct Recorder : UIScrollableBarDelegate {
  void scrollableBarSelectedIndex(int index) override { calls.push_back(ns::format("index %d", index)); }
  void scrollableBarFingerDown() override { calls.push_back("down"); }
  void scrollableBarFingerUp() override { calls.push_back("up"); }
  std::vector<std::string> calls;
};

class ScrollableBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("ZARVEL_RESOURCES", ns::builtResourceDirectory().c_str(), 1);
    clock = ns::VirtualClock::install(1.8e9);
    window = std::make_shared<ui::Window>(cg::Rect(0, 0, 1024, 1024));
    window->makeKeyAndVisible();
  }
  void TearDown() override { ui::Animator::finishAll(); }

  // The index's bar: juz labels, paddings 8 and 8, its colours and art.
  std::shared_ptr<UIScrollableBar> indexBar(float height) {
    auto bar = std::make_shared<UIScrollableBar>(cg::Rect(0, 0, 44, height));
    bar->setIndexes(juzLabels(), 8, 8, cg::Color::fromRGB255(170, 176, 181), cg::Color::fromRGB255(100, 106, 111),
                    "scroller-blank-s9.png", "scroller-bg-s9.png");
    bar->setDelegate(recorder);
    window->addSubview(bar);
    return bar;
  }

  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<ui::Window> window;
  std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
};

TEST_F(ScrollableBarTest, LabelsShareTheHeightWithAnExtraPointAfterEveryEvenLabelWhenTheStepRoundsUp) {
  // The index column's bar in portrait (960 high: steps of 31.47) and in
  // landscape (704 high: steps of 22.93).
  struct Case {
    float height;
    float labelHeight;
    float extra;
  };
  for (Case c : {Case{960, 31, 0}, Case{704, 22, 1}}) {
    SCOPED_TRACE(c.height);
    auto bar = indexBar(c.height);
    ASSERT_EQ(bar->ThisIndexLabels().size(), 30u);
    for (int i = 0; i < 30; ++i) {
      cg::Rect f = bar->ThisIndexLabels()[i]->frame();
      EXPECT_EQ(f, cg::Rect(0, 8 + i * c.labelHeight + c.extra * ((i + 1) / 2), 44, c.labelHeight)) << i;
      EXPECT_EQ(bar->ThisIndexLabels()[i]->text(), juzLabels()[i]);
    }
    // The last label ends inside the bottom padding.
    EXPECT_LE(bar->ThisIndexLabels().back()->frame().maxY(), c.height - 8 + 1);
  }
}

TEST_F(ScrollableBarTest, TouchesMapToTheLabelUnderThemAndGapsToMinusOne) {
  struct Case {
    float height;
    float y;
    int index;
  };
  for (Case c : {Case{960, 2, 0}, Case{960, 8, 0}, Case{960, 40, 1}, Case{960, 958, 29}, Case{960, 930, 29},
                 Case{704, 2, 0}, Case{704, 30.5f, -1}, Case{704, 31, 1}, Case{704, 75.5f, -1}, Case{704, 700, 29},
                 Case{704, 360, 15}}) {
    SCOPED_TRACE(ns::format("height %g, y %g", c.height, c.y));
    auto bar = indexBar(c.height);
    EXPECT_EQ(bar->getIndexForTouch(cg::Point(22, c.y)), c.index);
    bar->removeFromSuperview();
  }
}

TEST_F(ScrollableBarTest, AFingerReportsEveryLabelItCrossesAndItsLifting) {
  auto bar = indexBar(704);
  window->sendTouch(0, ui::TouchPhase::Began, cg::Point(22, 20));
  EXPECT_TRUE(bar->imgMainImg()->isHighlighted());
  EXPECT_EQ(bar->ThisIndexLabels()[3]->textColor(), cg::Color::fromRGB255(100, 106, 111));
  window->sendTouch(0, ui::TouchPhase::Moved, cg::Point(22, 40));
  window->sendTouch(0, ui::TouchPhase::Moved, cg::Point(22, 42));  // the same label again
  window->sendTouch(0, ui::TouchPhase::Moved, cg::Point(22, 30.5f));
  window->sendTouch(0, ui::TouchPhase::Ended, cg::Point(22, 30.5f));
  EXPECT_EQ(recorder->calls, (std::vector<std::string>{"index 0", "down", "index 1", "index 1", "index -1", "up"}));
  EXPECT_FALSE(bar->imgMainImg()->isHighlighted());
  EXPECT_EQ(bar->ThisIndexLabels()[3]->textColor(), cg::Color::fromRGB255(170, 176, 181));
}

TEST_F(ScrollableBarTest, ABarWithoutArtOnlyRecoloursAndOneWithoutLabelsReportsMinusOne) {
  auto plain = std::make_shared<UIScrollableBar>(cg::Rect(0, 0, 44, 500), juzLabels(), 8);
  EXPECT_EQ(plain->imgMainImg(), nullptr);
  plain->highlightBar();
  EXPECT_EQ(plain->ThisIndexLabels()[0]->textColor(), cg::Color::fromRGB255(29, 29, 29));
  plain->unhighlightBar();
  EXPECT_EQ(plain->ThisIndexLabels()[0]->textColor(), cg::Color::fromRGB255(112, 118, 108));

  auto bar = indexBar(704);
  bar->setIndexes({}, 8, 8, std::nullopt, std::nullopt, "", "");
  EXPECT_TRUE(bar->ThisIndexLabels().empty());
  EXPECT_EQ(bar->getIndexForTouch(cg::Point(22, 20)), -1);
  EXPECT_EQ(bar->getIndexForTouch(cg::Point(22, 600)), -1);
}

// Runs a transition of the art to its end, checking the cross-fade half way:
// both pictures grow from the starting height to the art's own.
void expectTransition(TransitionImageView& art, ns::VirtualClock& clock, float fromHeight) {
  ASSERT_NE(art.intermediateTransitionView(), nullptr);
  ASSERT_NE(art.originalImageViewContainerView(), nullptr);
  EXPECT_EQ(art.image(), nullptr);  // the pictures stand in for it meanwhile
  EXPECT_EQ(art.intermediateTransitionView()->frame(), cg::Rect(0, 0, 44, 696));
  clock.advance(0.15);
  EXPECT_GT(art.intermediateTransitionView()->presentationAlpha(), 0.3f);
  EXPECT_LT(art.originalImageViewContainerView()->presentationAlpha(), 0.7f);
  float h = art.intermediateTransitionView()->presentationFrame().height();
  EXPECT_GT(h, fromHeight);
  EXPECT_LT(h, 696);
  clock.advance(0.2);
  EXPECT_EQ(art.intermediateTransitionView(), nullptr);
  EXPECT_EQ(art.originalImageViewContainerView(), nullptr);
  EXPECT_TRUE(art.subviews().empty());
}

TEST_F(ScrollableBarTest, TurningWithoutLandscapeArtReplaysThePortraitArtOnTheWayBack) {
  auto bar = indexBar(704);
  auto* art = bar->imgMainImg();
  auto portraitArt = art->image();
  ASSERT_TRUE(portraitArt);

  bar->setupPortrait(0.3);  // already portrait
  EXPECT_EQ(art->intermediateTransitionView(), nullptr);
  bar->setupLandscape(0.3);  // no landscape art: only the orientation is kept
  EXPECT_FALSE(bar->IsPortrait());
  EXPECT_EQ(art->intermediateTransitionView(), nullptr);
  EXPECT_EQ(art->image(), portraitArt);
  bar->setupLandscape(0.3);
  EXPECT_FALSE(bar->IsPortrait());

  bar->setupPortrait(0.3);
  EXPECT_TRUE(bar->IsPortrait());
  expectTransition(*art, *clock, 207);
  EXPECT_EQ(art->image(), portraitArt);
}

TEST_F(ScrollableBarTest, TurningWithLandscapeArtCrossFadesToItAndBack) {
  auto bar = indexBar(704);
  bar->setLandscapeImage("scroller-bg-s9.png", "scroller-bg-s9.png");
  auto* art = bar->imgMainImg();
  auto portraitArt = art->image();
  bar->setupLandscape(0.3);
  expectTransition(*art, *clock, 367);
  EXPECT_EQ(art->image(), ui::Image::imageNamed("scroller-bg-s9.png"));
  bar->setupLandscape(0.3);  // already landscape
  EXPECT_EQ(art->intermediateTransitionView(), nullptr);
  bar->setupPortrait(0.3);
  expectTransition(*art, *clock, 207);
  EXPECT_EQ(art->image(), portraitArt);
}

}  // namespace
