// A long surah name in the index keeps clear of the verse count beside it,
// in the shell a reader uses.
#include "Classes/core/ChapterInfo.h"
#include "Classes/index/IndexViewController.h"
#include "Classes/index/SurahCellView.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Label.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

// Where a label's text is drawn, along x.
std::pair<float, float> textExtent(const ui::Label& label) {
  cg::Rect f = label.frame();
  float w = std::min(f.width(), ui::sizeWithFont(label.text(), label.fontForDrawing()).width);
  switch (label.textAlignment()) {
    case ui::TextAlignment::Right: return {f.maxX() - w, f.maxX()};
    case ui::TextAlignment::Center: return {f.midX() - w / 2, f.midX() + w / 2};
    default: return {f.minX(), f.minX() + w};
  }
}

TEST_F(ShellTest, LongSurahNamesKeepClearOfTheVerseCount) {
  launch();
  settle();
  ui::TableView& table = *root->viewContIndex()->surahListTable();
  for (int row = 0; row < 114; ++row) {
    ui::IndexPath path{0, row};
    table.scrollToRowAtIndexPath(path, ui::TableViewScrollPosition::Middle, false);
    delegate->window()->layoutIfNeeded();
    auto cell = table.cellForRowAtIndexPath(path);
    ASSERT_TRUE(cell);
    SurahCellView* view = nullptr;
    for (auto& sub : cell->contentView()->subviews())
      if ((view = dynamic_cast<SurahCellView*>(sub.get()))) break;
    ASSERT_TRUE(view);
    auto name = textExtent(*view->nameLabel());
    auto count = textExtent(*view->verseCountLabel());
    EXPECT_GE(count.first - name.second, 8) << ChapterInfo::getNameFromNumber(row + 1);
  }
}

}  // namespace
}  // namespace shelltest
