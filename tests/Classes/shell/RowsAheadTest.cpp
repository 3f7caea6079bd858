// Rows drawn ahead of a scroll, in the shell the program builds: a row that
// comes into view takes the bitmaps prepared for it and shows the pixels it
// would have drawn itself; cells back in the table's pool keep no bitmaps,
// and what is prepared stays within a screen ahead.
#include <algorithm>

#include "Classes/reading/PreparedRows.h"
#include "Classes/reading/SurahVerseView.h"
#include "Classes/reading/SurahViewCell.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/TableView.h"
#include "tests/Classes/shell/ShellFixture.h"
#include "tests/platform/ui/Pixels.h"

namespace shelltest {
namespace {

class RowsAheadTest : public ShellTest {
 protected:
  // Surah 2 with a translation row under each verse, on a window drawn as a
  // backend draws it: frame after frame on the surface it keeps, the idle
  // turns after each.
  void start(float scale) {
    ui::Screen::main().setScale(scale);
    defaults().setInteger(1, "CurrentTranslationPrimary");
    defaults().setInteger(2, "CurrentlyShowingSurah");
    defaults().setObject(ns::Value(std::string("2")), "LastSurah");
    launch(ui::InterfaceOrientation::LandscapeRight, 0.1);
    settle();
    cg::Rect b = window().bounds();
    surface_ = std::make_unique<cg::Context>(cg::Context::bitmap(b.width(), b.height(), scale));
    frame();
    frame();
  }
  void TearDown() override {
    surface_.reset();
    ui::Screen::main().setScale(1);
    ShellTest::TearDown();
  }
  ui::Window& window() { return *ui::Window::keyWindow(); }
  ui::TableView& verses() { return *reading().tblVerses; }
  PreparedRows& store() { return reading().preparedRows(); }
  void frame() {
    backend().advance(1.0 / 60);
    window().display(*surface_);
    ns::RunLoop::main().runUntilIdle();
  }
  void scrollBy(float dy) {
    verses().setContentOffset({0, verses().contentOffset().y + dy});
    frame();
  }
  std::vector<std::shared_ptr<SurahViewCell>> shownCells() {
    std::vector<std::shared_ptr<SurahViewCell>> cells;
    for (auto& c : verses().visibleCells())
      if (auto cell = std::dynamic_pointer_cast<SurahViewCell>(c)) cells.push_back(cell);
    return cells;
  }

  std::unique_ptr<cg::Context> surface_;
};

TEST_F(RowsAheadTest, RowsComingIntoViewShowTheirPreparedBitmapsAsIfDrawnThere) {
  for (float scale : {1.0f, 2.0f}) {
    SCOPED_TRACE(scale);
    if (scale > 1) restart();
    start(scale);
    ASSERT_GT(store().count(), 0u) << "nothing was drawn ahead after the first frames";
    size_t before = store().taken();
    for (int i = 0; i < 12; ++i) scrollBy(90);
    EXPECT_GT(store().taken(), before + 4) << "the rows that came into view drew their own bitmaps";

    auto shown = surface_->makeImage();
    // The same rows drawing every bitmap themselves.
    store().clear();
    for (auto& cell : shownCells()) cell->CellView()->dropBitmaps();
    window().setNeedsRedraw();
    cg::Context fresh = cg::Context::bitmap(window().bounds().width(), window().bounds().height(), scale);
    window().display(fresh);
    auto onDemand = fresh.makeImage();
    cg::Rect bad = testpixels::differingPixels(*shown, *onDemand);
    if (!bad.isEmpty()) {
      shown->writePNG(shotPath("rows-ahead-shown.png"));
      onDemand->writePNG(shotPath("rows-ahead-on-demand.png"));
    }
    EXPECT_TRUE(bad.isEmpty()) << "pixels " << bad.x() << "," << bad.y() << " " << bad.width() << "x"
                               << bad.height() << " differ";
  }
}

TEST_F(RowsAheadTest, PooledCellsLetTheirBitmapsGoAndWhatIsPreparedStaysAScreenAhead) {
  start(1);
  cg::Rect b = verses().bounds();
  // Rows meeting the screen below the visible one, the last of them reaching
  // past it by less than a screen.
  size_t bound = size_t(b.width() * 2 * b.height() * 4);
  std::vector<std::weak_ptr<SurahViewCell>> seen;
  auto check = [&](const char* way) {
    auto shown = shownCells();
    for (auto& cell : shown) seen.push_back(cell);
    for (auto& weak : seen) {
      auto cell = weak.lock();
      if (!cell || std::find(shown.begin(), shown.end(), cell) != shown.end()) continue;
      EXPECT_FALSE(cell->CellView()->keepsBitmaps()) << way << ": a cell off the screen keeps its bitmaps";
    }
    EXPECT_LE(store().bytes(), bound) << way;
  };
  for (int i = 0; i < 40; ++i) {
    scrollBy(150);
    check("down");
  }
  size_t taken = store().taken();
  for (int i = 0; i < 20; ++i) {
    scrollBy(-150);
    check("up");
  }
  EXPECT_GT(store().taken(), taken) << "nothing was drawn ahead of a scroll up";
}

}  // namespace
}  // namespace shelltest
