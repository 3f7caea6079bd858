// The surah optimizer view: its font steps by translation, its measuring
// widths by layout, and its background run, which reaches the views and its
// delegate only on the main thread.
#include <gtest/gtest.h>

#include <filesystem>

#include "Classes/reading/SurahOptimizer.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressView.h"
#include "tests/support/HeadlessProcess.h"

namespace {

// A home of its own, so that the settings the tests write stay there.
class SurahOptimizerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testenv::prepareTestFolder("optimizer");
    testenv::forgetProcessState();
  }
  void TearDown() override {
    ns::Thread::waitForDetachedThreads();
    ns::RunLoop::main().runUntilIdle();
    std::filesystem::remove_all(dir_);
  }
  ui::HeadlessBackend backend;

 private:
  std::filesystem::path dir_;
};

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

class Done : public SurahOptimizerDelegate {
 public:
  void surahOptimizerDone(int surah) override {
    reported = surah;
    onMainThread = ns::RunLoop::isMainThread();
    ++calls;
  }
  int reported = 0, calls = 0;
  bool onMainThread = false;
};

TEST_F(SurahOptimizerTest, FontStepsFollowTheTranslation) {
  struct Case {
    int translation;
    int sizes[5];
  };
  const Case cases[] = {{15, {17, 19, 21, 23, 26}}, {36, {17, 19, 21, 23, 26}}, {26, {16, 18, 20, 22, 24}},
                        {38, {15, 17, 19, 21, 23}}, {1, {12, 14, 16, 19, 21}},  {1000, {12, 14, 16, 19, 21}}};
  SurahOptimizer view(cg::Rect(0, 0, 480, 600));
  for (const Case& c : cases) {
    defaults().setInteger(c.translation, "CurrentTranslationv22");
    for (int step = 0; step < 5; ++step) {
      view.setFont(step);
      EXPECT_EQ(SurahOptimizer::lastFontSize(), c.sizes[step]) << c.translation << " step " << step;
      EXPECT_EQ(view.tempTransLabel->font().pointSize(), float(c.sizes[step]));
    }
    view.setFont(9);  // another step sizes as step 1
    EXPECT_EQ(SurahOptimizer::lastFontSize(), c.sizes[1]);
  }
}

TEST_F(SurahOptimizerTest, MeasuresAtTheWidthOfTheLayout) {
  defaults().setInteger(1, "CurrentTranslationv22");
  SurahOptimizer view(cg::Rect(0, 0, 480, 600));
  EXPECT_EQ(SurahOptimizer::lastMeasuredHeight(), 0);
  const std::string text(600, 'w');
  struct Case {
    bool landscape, fullScreen;
    float width;
  };
  for (Case c : {Case{false, false, 230}, Case{true, false, 262}, Case{false, true, 688}, Case{true, true, 944}}) {
    view.getSize(&text, c.landscape, 1, 2, c.fullScreen);
    float expected = ui::sizeWithFont(text, ui::Font::fontWithName("Helvetica", 16), cg::Size{c.width, 100000}).height;
    EXPECT_EQ(SurahOptimizer::lastMeasuredHeight(), expected) << c.width;
  }
  view.getSize(nullptr, false, 1, 2, false);
  EXPECT_EQ(SurahOptimizer::lastMeasuredHeight(), 0);
}

TEST_F(SurahOptimizerTest, TheBackgroundRunReportsOnTheMainThread) {
  auto view = std::make_shared<SurahOptimizer>(cg::Rect(0, 0, 480, 600));
  auto done = std::make_shared<Done>();
  view->setDelegate(done);
  view->setThisSurah(36);
  EXPECT_EQ(view->lblProgress->text(), "Optimizing");
  view->beginOptimizing();
  ASSERT_TRUE(ns::RunLoop::main().runUntil([&] { return done->calls > 0; }, 10));
  ns::Thread::waitForDetachedThreads();
  ns::RunLoop::main().runUntilIdle();
  EXPECT_EQ(done->calls, 1);
  EXPECT_EQ(done->reported, 36);
  EXPECT_TRUE(done->onMainThread);
  EXPECT_EQ(view->lblProgress->text(), "Optimizing Surah for the First Time");
  EXPECT_EQ(view->viewProgress->progress(), 1.0f);
}

}  // namespace
