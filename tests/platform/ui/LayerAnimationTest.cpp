// Key-frame and opacity animations sampled at chosen instants of the virtual
// clock, and the page-curl and cross-fade transitions as drawn.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/foundation/Clock.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Animator.h"
#include "platform/ui/LayerAnimation.h"
#include "platform/ui/Window.h"

using namespace ui;

namespace {

class LayerAnimationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = ns::VirtualClock::install();
    window = std::make_shared<Window>(cg::Rect(0, 0, 200, 200));
    window->makeKeyAndVisible();
    view = std::make_shared<View>(cg::Rect(0, 0, 100, 100));
    window->addSubview(view);
  }
  void TearDown() override { Animator::finishAll(); }
  float centreX() const { return view->presentationFrame().midX(); }
  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<Window> window;
  std::shared_ptr<View> view;
};

}  // namespace

TEST_F(LayerAnimationTest, KeyFramesFollowTheirOwnTimes) {
  auto glide = KeyframeAnimation::animationWithKeyPath("position.x");
  glide->values = {50, 150, 170};
  glide->keyTimes = {0, 0.2, 1};
  glide->duration = 1;
  bool stopped = false;
  glide->didStop = [&](bool finished) { stopped = finished; };
  view->setCenter({170, 50});  // the model value first, as the caller does
  addAnimation(*view, glide, "position");
  struct Sample {
    double at;
    float x;
  };
  // 0.1 s is half of the first segment, 0.6 s half of the second.
  for (Sample s : {Sample{0.1, 100}, Sample{0.1, 150}, Sample{0.4, 160}}) {
    clock->advance(s.at);
    EXPECT_NEAR(centreX(), s.x, 1.0) << "at +" << s.at;
  }
  EXPECT_FALSE(stopped);
  EXPECT_TRUE(animationForKey(*view, "position"));
  clock->advance(0.5);
  EXPECT_TRUE(stopped);
  EXPECT_FALSE(animationForKey(*view, "position"));
  EXPECT_EQ(centreX(), 170);  // the model value shows once it ends
}

TEST_F(LayerAnimationTest, EvenlySpacedPointsWhenNoTimesAreGiven) {
  auto path = KeyframeAnimation::animationWithKeyPath("position");
  path->pointValues = {{50, 50}, {150, 50}, {150, 150}};
  path->duration = 1;
  addAnimation(*view, path, "move");
  clock->advance(0.75);
  EXPECT_NEAR(view->presentationFrame().midX(), 150, 1);
  EXPECT_NEAR(view->presentationFrame().midY(), 100, 1);
  EXPECT_EQ(view->frame(), cg::Rect(0, 0, 100, 100));
}

TEST_F(LayerAnimationTest, OpacityAutoReversesAndRepeats) {
  auto blink = KeyframeAnimation::basicAnimation("opacity", 1, 0);
  blink->duration = 0.5;
  blink->autoreverses = true;
  blink->repeatCount = 2;
  addAnimation(*view, blink, "blink");
  struct Sample {
    double at;  // since the start
    float alpha;
  };
  double now = 0;
  for (Sample s : {Sample{0.25, 0.5f}, Sample{0.5, 0}, Sample{0.75, 0.5f}, Sample{1.25, 0.5f}, Sample{1.5, 0},
                   Sample{1.9, 0.8f}}) {
    clock->advance(s.at - now);
    now = s.at;
    EXPECT_NEAR(view->presentationAlpha(), s.alpha, 0.04) << "at " << s.at;
  }
  clock->advance(0.2);
  EXPECT_EQ(view->presentationAlpha(), 1);
  EXPECT_FALSE(animationForKey(*view, "blink"));

  // For ever, until removed; removal is an unfinished stop.
  blink->repeatCount = HUGE_VALF;
  bool finished = true;
  blink->didStop = [&](bool f) { finished = f; };
  addAnimation(*view, blink, "blink");
  clock->advance(100.25);
  EXPECT_NEAR(view->presentationAlpha(), 0.5, 0.04);
  removeAnimation(*view, "blink");
  EXPECT_FALSE(finished);
  EXPECT_EQ(view->presentationAlpha(), 1);
}

TEST_F(LayerAnimationTest, PageCurlUncoversTheNewContentFromTheBottom) {
  view->setBackgroundColor(cg::Color::red());
  for (auto transition : {AnimationTransition::CurlUp, AnimationTransition::CurlDown}) {
    bool up = transition == AnimationTransition::CurlUp;
    SCOPED_TRACE(up ? "curl up" : "curl down");
    view->setBackgroundColor(cg::Color::red());
    window->snapshot();
    bool ended = false;
    View::beginAnimations("PageFlip");
    View::setAnimationDuration(0.8);
    View::setAnimationDidStopSelector([&](const std::string&, bool, void*) { ended = true; });
    View::setAnimationTransition(transition, view.get(), false);
    view->setBackgroundColor(cg::Color::blue());
    View::commitAnimations();
    clock->advance(0.4);
    auto image = window->snapshot();
    // Up: the old page still at the top, the new one at the bottom; down: the
    // reverse (the flap's shadow may darken them a little).
    auto red = [](cg::RGBA p) { return p.r > 150 && p.b < 40; };
    auto blue = [](cg::RGBA p) { return p.b > 150 && p.r < 40; };
    cg::RGBA top = image->pixelAt(50, 3), bottom = image->pixelAt(50, 97);
    EXPECT_TRUE(up ? red(top) && blue(bottom) : blue(top) && red(bottom));
    EXPECT_FALSE(ended);
    clock->advance(0.5);
    EXPECT_TRUE(ended);
    EXPECT_EQ(window->snapshot()->pixelAt(50, up ? 3 : 97), (cg::RGBA{0, 0, 255, 255}));
    EXPECT_EQ(view->subviews().size(), 0u);
  }
}

TEST_F(LayerAnimationTest, CrossFadeBlendsTheOldPictureIntoTheNew) {
  view->setBackgroundColor(cg::Color::white());
  fadeTransition(*view, 1);
  view->setBackgroundColor(cg::Color::black());
  clock->advance(0.5);
  cg::RGBA mid = window->snapshot()->pixelAt(50, 50);
  EXPECT_NEAR(mid.r, 128, 6);
  clock->advance(0.6);
  EXPECT_EQ(window->snapshot()->pixelAt(50, 50), (cg::RGBA{0, 0, 0, 255}));
  EXPECT_TRUE(view->subviews().empty());
}
