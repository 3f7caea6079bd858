// Translation rows in the shell a reader uses: every row of both panes, in
// both orientations, and the inline rows of full screen hold their whole
// text, and a row is no taller than its text needs (nor the tallest of the
// verse's rows); the panes keep their rows level with the reading table.
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/TranslationMeta.h"
#include "Classes/reading/SurahVerseView.h"
#include "Classes/reading/SurahViewCell.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Label.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

using Orientation = ui::InterfaceOrientation;

class TranslationRowsTest : public ShellTest {
 protected:
  // Opens a surah with two translations and lets the panes load it.
  void openWith(int surah, int primaryTranslation, int secondaryTranslation, Orientation orientation) {
    defaults().setInteger(primaryTranslation, "CurrentTranslationPrimary");
    defaults().setInteger(secondaryTranslation, "CurrentTranslationSecondary");
    defaults().setInteger(primaryTranslation, "CurrentTranslationv22");
    defaults().setInteger(surah, "CurrentlyShowingSurah");
    defaults().setInteger(1, "CurrentlyShowingVerse");
    launch(orientation);
    settle();
    ASSERT_EQ(reading().iCurrentSurah(), surah);
  }

  // Walks every row of the table, scrolled into view one at a time: each
  // translation row's label holds its text at the label's own width and
  // font, sits inside its row, and is no taller than its text needs. The
  // pane's rows are as high as the tallest row of their verse, no more.
  void expectEveryRowHoldsItsText(ui::TableView& table, const std::string& where,
                                  const std::function<float(int verse)>& verseHeight = nullptr) {
    int rows = table.numberOfRowsInSection(0);
    ASSERT_GT(rows, 0) << where;
    int checked = 0;
    for (int r = 0; r < rows; ++r) {
      ui::IndexPath path{0, r};
      table.setContentOffset(cg::Point{0, table.rectForRowAtIndexPath(path).y()}, false);
      auto cell = std::dynamic_pointer_cast<SurahViewCell>(table.cellForRowAtIndexPath(path));
      ASSERT_TRUE(cell) << where << " row " << r;
      SurahVerseView& row = *cell->CellView();
      if (row.ThisVerseType != 1 || !row.TranslationMetaData) continue;
      auto meta = row.TranslationMetaData;
      ui::Label& label = *row.lblTranslation;
      ASSERT_FALSE(label.isHidden());
      float width = label.frame().width();
      float text = ui::sizeWithFont(meta->Translation(), label.font(), cg::Size{width, 100000},
                                    ui::LineBreakMode::WordWrap).height;
      cg::Rect inRow = label.convertRectToView(label.bounds(), cell.get());
      float rowHeight = table.rectForRowAtIndexPath(path).height();
      std::string at = where + " verse " + std::to_string(meta->ThisVerse());
      EXPECT_GE(label.frame().height(), text) << at;
      EXPECT_LE(inRow.maxY(), rowHeight) << at;
      EXPECT_LE(label.frame().height(), text + 16) << at;  // the row's padding, no more
      if (verseHeight) {
        EXPECT_EQ(rowHeight, verseHeight(meta->ThisVerse())) << at;
      } else {
        // An inline row of its own: no taller than its label and padding.
        EXPECT_LE(rowHeight, inRow.maxY() + 16) << at;
      }
      ++checked;
    }
    EXPECT_GT(checked, 0) << where;
  }

  // The panes' rows in the orientation: the primary pane always, the
  // secondary in landscape (it is hidden upright); all three tables level.
  void expectPanesHoldTheirText(const std::string& where) {
    root->showOrHideIndex();  // the panes in view
    settle();
    auto maxHeight = [this](int verse) { return std::floor(root->getMaxVerseHeightForCurrentSurah(verse)); };
    expectEveryRowHoldsItsText(*primary().tblTransView(), where + " primary", maxHeight);
    if (root->IsInLandscape()) expectEveryRowHoldsItsText(*secondary().tblTransView(), where + " secondary", maxHeight);
    for (int verse : {1, 100, ChapterInfo::getVersesFromNumber(reading().iCurrentSurah())}) {
      int row = reading().verseToRow(verse);
      float top = reading().tblVerses->rectForRowAtIndexPath({0, row}).y();
      EXPECT_EQ(primary().tblTransView()->rectForRowAtIndexPath({0, primary().verseToRow(verse)}).y(), top) << where;
      EXPECT_EQ(secondary().tblTransView()->rectForRowAtIndexPath({0, secondary().verseToRow(verse)}).y(), top) << where;
    }
  }

  void expectFullScreenRowsHoldTheirText(const std::string& where) {
    defaults().setBool(false, "HideTransInFullScreen");
    root->expandFloatingView(true);
    settle(2);
    ASSERT_TRUE(reading().iCurrentTranslation() != 0) << where;
    expectEveryRowHoldsItsText(*reading().tblVerses, where + " full screen");
  }
};

struct Case {
  int surah, primary, secondary;
};
// Surah 2 in English and Indonesian; surah 4's long verses in French and Urdu.
const Case kCases[] = {{2, 1, 5}, {4, 8, 15}};

// Each case in both orientations, each on a fresh launch.
void forEachCaseUpright(TranslationRowsTest& test, const std::function<void(const Case&, Orientation, const std::string&)>& fn) {
  for (const Case& c : kCases) {
    for (Orientation o : {Orientation::LandscapeRight, Orientation::Portrait}) {
      fn(c, o, std::to_string(c.surah) + (ui::isLandscape(o) ? " landscape" : " portrait"));
      test.restart();
    }
  }
}

TEST_F(TranslationRowsTest, PaneRowsHoldTheirWholeTextInBothOrientations) {
  forEachCaseUpright(*this, [this](const Case& c, Orientation o, const std::string& where) {
    openWith(c.surah, c.primary, c.secondary, o);
    expectPanesHoldTheirText(where);
  });
}

TEST_F(TranslationRowsTest, FullScreenRowsHoldTheirWholeTextInBothOrientations) {
  forEachCaseUpright(*this, [this](const Case& c, Orientation o, const std::string& where) {
    openWith(c.surah, c.secondary, c.primary, o);
    expectFullScreenRowsHoldTheirText(where);
  });
}

}  // namespace
}  // namespace shelltest
