// The index in the application as it starts: the left column beside the
// reading screen, where a person picks a surah or a quarter and reads it.
#include "Classes/app/ReadingRootViewController.h"
#include "IndexTestEnvironment.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"

namespace indextest {
namespace {

class IndexBesideReadingTest : public IndexTest {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(ns::builtResourceDirectory() + "/zarvel.db"))
      GTEST_SKIP() << "the content database is not built";
    prepare(true);
  }
  // The application's window with the stand-in root, turned on its side.
  void start() {
    ui::Application::shared().setStatusBarOrientation(ui::InterfaceOrientation::LandscapeRight);
    ui::Screen::main().setBounds(cg::Rect(0, 0, 1024, 768));
    root = std::make_shared<ReadingRootViewController>();
    delegate->setIpadRootViewController(root);
    delegate->setupForiPad();
    window = std::shared_ptr<ui::Window>(delegate->window(), [](ui::Window*) {});
    settle();
  }
  void settle(double seconds = 1.0) {
    advance(seconds);
    ns::RunLoop::main().runUntilIdle();
  }
  IndexViewController& column() { return *root->viewContIndex(); }
  cg::Point rowIn(int row, int section = 0) {
    auto* table = column().surahListTable();
    table->scrollToRowAtIndexPath(ui::IndexPath::indexPathForRow(row, section), ui::TableViewScrollPosition::Middle,
                                  false);
    window->layoutIfNeeded();
    cg::Rect r = table->rectForRowAtIndexPath(ui::IndexPath::indexPathForRow(row, section));
    return table->convertPointToView(cg::Point(r.midX(), r.midY()), nullptr);
  }

  std::shared_ptr<ReadingRootViewController> root;
};

TEST_F(IndexBesideReadingTest, APickedSurahOrQuarterOpensInTheReadingScreen) {
  defaults().setObject(ns::Value(std::string("18")), "LastSurah");
  start();
  SurahViewController& reading = *root->reading();
  EXPECT_EQ(reading.iCurrentSurah(), 18);
  EXPECT_EQ(column().iCurrentlyShowingSurah(), 18);
  EXPECT_FALSE(column().view()->isHidden());
  EXPECT_EQ(reading.view()->frame().x(), column().view()->frame().width());

  tap(rowIn(35));
  settle();
  EXPECT_EQ(reading.iCurrentSurah(), 36);
  EXPECT_EQ(column().btnTopCurrentSurah->titleForState(ui::ControlStateNormal), ChapterInfo::getNameFromNumber(36));
  EXPECT_TRUE(writePicture("beside-reading-list.png"));

  // The reading screen has the keys; typed text and Enter reach the index.
  EXPECT_EQ(window->firstResponder(), &reading);
  for (const char* k : {"a", "l", "-", "k"}) window->sendKey({"", k, 0});
  window->sendKey({"Return", "", 0});
  settle();
  EXPECT_EQ(reading.iCurrentSurah(), 18);
  advance(1.5);
  window->sendKey({"", "2", 0});
  window->sendKey({"Return", "", 0});
  settle();
  EXPECT_EQ(reading.iCurrentSurah(), 2);
  EXPECT_EQ(window->firstResponder(), &reading);

  // A quarter of juz 3 opens at its first verse, and stays marked as the
  // reading screen highlights it.
  tap(column().btnSections->convertPointToView(cg::Point(20, 15), nullptr));
  settle();
  ASSERT_TRUE(column().isShowingSectionedView());
  tap(rowIn(3, 2));
  settle();
  int surah = 0, verse = 0;
  ChapterInfo::setSurahVerseForHizb(surah, verse, 2 * 8 + 3 + 1);
  EXPECT_EQ(reading.iCurrentSurah(), surah);
  EXPECT_EQ(column().currentlySelectedRow(), 19);
  EXPECT_TRUE(writePicture("beside-reading-juz.png"));

  // Upright the reading screen takes the whole width.
  window->rotateToInterfaceOrientation(ui::InterfaceOrientation::Portrait);
  settle();
  EXPECT_TRUE(column().view()->isHidden());
  EXPECT_EQ(reading.view()->frame().x(), 0);
}

}  // namespace
}  // namespace indextest
