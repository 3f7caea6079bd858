// The small pieces of the shell: label padding, first-responder search, the
// glide's evaluators and key frames.
#include <gtest/gtest.h>

#include <cmath>

#include "Classes/shell/AccelerationAnimation.h"
#include "Classes/shell/Label+VerticalAlign.h"
#include "Classes/shell/View+FindAndResignFirstResponder.h"
#include "platform/foundation/Clock.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Window.h"

namespace {

int count(const std::string& text, const std::string& piece) {
  int n = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size())) ++n;
  return n;
}

// Ten points a letter, ten a line: "abcdefgh abcdefgh" takes two lines of a
// label 100 points wide.
struct Padding : ::testing::Test {
  ui::ScopedMeasurer measurer{std::make_shared<ui::FixedAdvanceMeasurer>(10, 10)};
  ui::Label label{cg::Rect(0, 0, 100, 50)};
  void SetUp() override { label.setText("abcdefgh abcdefgh"); }
};

TEST_F(Padding, AlignTopFillsAThousandLinesBelowTheText) {
  ui::alignTop(label);
  EXPECT_EQ(count(label.text(), "\n "), 998);
  EXPECT_EQ(label.text().rfind("abcdefgh abcdefgh", 0), 0u);
}

TEST_F(Padding, AlignBottomFillsTheLineLimitAboveTheText) {
  struct Case {
    int lines;
    int pads;
  };
  for (Case c : {Case{5, 3}, Case{2, 0}, Case{1, 0}, Case{0, 0}}) {
    SCOPED_TRACE(c.lines);
    label.setText("abcdefgh abcdefgh");
    label.setNumberOfLines(c.lines);
    ui::alignBottom(label);
    EXPECT_EQ(count(label.text(), " \n"), c.pads);
    EXPECT_EQ(label.text().substr(label.text().size() - 17), "abcdefgh abcdefgh");
  }
}

TEST_F(Padding, AnEmptyLabelGetsNothing) {
  label.setText("");
  label.setNumberOfLines(4);
  ui::alignTop(label);
  ui::alignBottom(label);
  EXPECT_EQ(label.text(), "");
}

TEST(FindAndResignFirstResponder, SearchesDepthFirstAndAnswersWhetherItResigned) {
  auto clock = ns::VirtualClock::install(1.8e9);
  auto window = std::make_shared<ui::Window>(cg::Rect(0, 0, 400, 400));
  window->makeKeyAndVisible();
  auto branch = std::make_shared<ui::View>(cg::Rect(0, 0, 400, 200));
  auto deep = std::make_shared<ui::View>(cg::Rect(0, 0, 400, 100));
  auto field = std::make_shared<ui::TextView>(cg::Rect(0, 0, 200, 40));
  auto other = std::make_shared<ui::TextView>(cg::Rect(0, 300, 200, 40));
  window->addSubview(branch);
  branch->addSubview(deep);
  deep->addSubview(field);
  window->addSubview(other);

  EXPECT_FALSE(ui::findAndResignFirstResponder(*window));  // nothing below answers

  ASSERT_TRUE(field->becomeFirstResponder());
  EXPECT_FALSE(ui::findAndResignFirstResponder(*other));  // not below that one
  EXPECT_TRUE(field->isFirstResponder());
  EXPECT_TRUE(ui::findAndResignFirstResponder(*window));
  EXPECT_FALSE(field->isFirstResponder());

  ASSERT_TRUE(other->becomeFirstResponder());
  EXPECT_TRUE(ui::findAndResignFirstResponder(*other));  // the view itself
  EXPECT_FALSE(other->isFirstResponder());
}

TEST(Evaluators, GiveTheirEasedProgress) {
  ExponentialDecayEvaluator decay(3.0);
  BezierEvaluator bezier(0.2, 0.9);
  SecondOrderResponseEvaluator response(10, 0.5);
  struct Case {
    const Evaluator* e;
    double t, f;
  };
  double d = std::sqrt(0.75);
  for (Case c : {Case{&decay, 0, 0}, Case{&decay, 0.1, 0.2728}, Case{&decay, 0.25, 0.5553}, Case{&decay, 0.5, 0.8176},
                 Case{&decay, 0.75, 0.9415}, Case{&decay, 1, 1}, Case{&bezier, 0, 0}, Case{&bezier, 1, 1},
                 Case{&bezier, 0.5, 3 * 0.5 * 0.25 * 0.2 + 3 * 0.25 * 0.5 * 0.9 + 0.125},
                 Case{&response, 0, 0},
                 Case{&response, 0.3, 1 - std::exp(-1.5) * std::sin(d * 3 + std::atan(d / 0.5)) / d}}) {
    SCOPED_TRACE(c.t);
    EXPECT_NEAR(c.e->evaluateAt(c.t), c.f, 5e-5);
  }
  EXPECT_DOUBLE_EQ(decay.offset, std::exp(-3.0));
  EXPECT_DOUBLE_EQ(decay.scale, 1 / (1 - std::exp(-3.0)));
}

TEST(AccelerationAnimation, KeyFramesRunFromStartToEnd) {
  ExponentialDecayEvaluator decay(3.0);
  auto frames = AccelerationAnimation::calculateKeyFrames(decay, 100, 400, 99);
  ASSERT_EQ(frames.size(), 101u);
  EXPECT_DOUBLE_EQ(frames.front(), 100);
  EXPECT_NEAR(frames.back(), 400, 1e-9);
  EXPECT_NEAR(frames[25], 100 + 300 * decay.evaluateAt(0.25), 1e-9);
  for (size_t i = 1; i < frames.size(); ++i) EXPECT_GT(frames[i], frames[i - 1]);

  EXPECT_EQ(AccelerationAnimation::calculateKeyFrames(decay, 5, 9, 0), (std::vector<double>{5, 9}));
  auto still = AccelerationAnimation::calculateKeyFrames(decay, 7, 7, 3);
  EXPECT_EQ(still, (std::vector<double>{7, 7, 7, 7, 7}));

  auto animation = AccelerationAnimation::animationWithKeyPath("position.x", 0, 10, decay, 9);
  EXPECT_EQ(animation->keyPath(), "position.x");
  EXPECT_EQ(animation->values.size(), 11u);
}

}  // namespace
