// The stop-sign list on the More tab: its seven rows in order, rows that are
// never selected, the right-to-left row in the Arabic interface, and the
// pictures in both orientations and both interface languages.
#include "Classes/settings/SignCellView.h"
#include "Classes/settings/StopSignsViewController.h"
#include "tests/Classes/settings/InfoScreensFixture.h"

namespace infotest {
namespace {

class StopSignsTest : public InfoScreensTest {
 protected:
  std::shared_ptr<StopSignsViewController> open() { return openFromMore<StopSignsViewController>("Stop Signs"); }
};

TEST_F(StopSignsTest, ListsTheSevenSignsInOrder) {
  launch();
  auto screen = open();
  ASSERT_EQ(screen->tblGroups->numberOfRowsInSection(0), 7);
  EXPECT_EQ(screen->lblTopLabel->text(), "Stop Signs");
  EXPECT_EQ(screen->btnBack->titleForState(ui::ControlStateNormal), "More");
  const std::pair<const char*, const char*> expected[] = {
      {"Must Stop", "Must stop on this sign"},
      {"Can't Stop", "Never stop on this sign"},
      {"Stop or continue", "Both are fine"},
      // The sign asks to read on, and its explanation says so.
      {"Better to continue", "Continuing is desirable"},
      {"Better to stop", "Stopping is desirable"},
      {"Stop at one", "You can only stop at one of these two"},
      {"A Slight pause", "Take a slight pause without breathing"},
  };
  for (int r = 0; r < 7; ++r) {
    auto* cell = cellAt<SignCellView>(*screen->tblGroups, 0, r);
    ASSERT_NE(cell, nullptr) << r;
    EXPECT_EQ(cell->lblTitle->text(), expected[r].first);
    EXPECT_EQ(cell->lblExplanation->text(), expected[r].second);
    EXPECT_NE(cell->imgSign->image(), nullptr) << "sign" << r + 1 << ".png";
    EXPECT_EQ(cell->frame().height(), 53);
  }
}

TEST_F(StopSignsTest, ATouchSelectsNothingAndBackReturnsToTheMenu) {
  launch();
  auto screen = open();
  auto* cell = cellAt<SignCellView>(*screen->tblGroups, 0, 2);
  ASSERT_NE(cell, nullptr);
  tapView(*cell);
  EXPECT_FALSE(screen->tblGroups->indexPathForSelectedRow());
  EXPECT_FALSE(cell->isHighlighted());
  EXPECT_FALSE(cell->isSelected());
  auto* nav = moreTab();
  ASSERT_EQ(nav->topViewController(), screen.get());
  tapView(*screen->btnBack);
  settle(0.5);
  EXPECT_NE(nav->topViewController(), screen.get());
}

TEST_F(StopSignsTest, ArabicRowsRunFromTheRightEdge) {
  useLanguage("ar");
  launch();
  auto screen = open();
  auto* cell = cellAt<SignCellView>(*screen->tblGroups, 0, 0);
  ASSERT_NE(cell, nullptr);
  float w = cell->contentView()->bounds().width();
  EXPECT_FLOAT_EQ(cell->imgSign->frame().maxX(), w);
  EXPECT_LE(cell->lblTitle->frame().maxX(), cell->imgSign->frame().minX());
  EXPECT_EQ(cell->lblTitle->textAlignment(), ui::TextAlignment::Right);
  EXPECT_EQ(cell->lblTitle->text(), Language::get("Must Stop", "Must Stop"));
  EXPECT_NE(cell->lblTitle->text(), "Must Stop");
  EXPECT_NE(screen->lblTopLabel->text(), "Stop Signs");
}

TEST_F(StopSignsTest, AMissingTableShowsTheEnglishKeys) {
  useLanguage("fr");  // no string table: every look-up falls back to its key
  launch();
  auto screen = open();
  auto* cell = cellAt<SignCellView>(*screen->tblGroups, 0, 4);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->lblTitle->text(), "Better to stop");
}

TEST_F(StopSignsTest, Pictures) {
  inEveryLook([&](const std::string& name) {
    open();
    ASSERT_TRUE(backend().screenshot(picture("stop-signs-" + name)));
  });
}

}  // namespace
}  // namespace infotest
