// The translation panes beside the reading view: their rows and verses,
// heights, scrolling in step, the background load and single-verse mode.
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/TranslationMeta.h"
#include "platform/ui/TextView.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

float fontExtra() {
  static const float extra[] = {3, 5, 8, 10, 15};
  int size = ZarvelSDKAppDelegate::ArabicFontSize();
  return size >= 0 && size <= 4 ? extra[size] : 0;
}

class PaneTest : public ShellTest {
 protected:
  void open(int surah, int verse = 1) {
    reading().setupBasicSurah(surah, verse, false);
    reading().asyncSurahReload();
    settle(1);
  }
};

TEST_F(PaneTest, RowsAndVersesOfSurahsWithAndWithoutAHeaderRow) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  launch();
  struct Case {
    int surah, firstVerseOfRow0, rows;
  };
  for (Case c : {Case{1, 1, 7}, Case{9, 1, 129}, Case{2, 0, 287}, Case{114, 0, 7}}) {
    SCOPED_TRACE(c.surah);
    open(c.surah);
    EXPECT_EQ(primary().rowToVerse(0), c.firstVerseOfRow0);
    EXPECT_EQ(primary().rowToVerse(5), c.firstVerseOfRow0 + 5);
    EXPECT_EQ(primary().verseToRow(5), 5 - c.firstVerseOfRow0);
    EXPECT_EQ(primary().verseToRow(-1), 0);
    EXPECT_EQ(primary().tblTransView()->numberOfRowsInSection(0), c.rows);
    ASSERT_TRUE(primary().translationArr());
    EXPECT_EQ(primary().translationArr()->at(0), ChapterInfo::getTranslationFor(delegate->dbConnectionStatic(), 1,
                                                                                 c.surah, 1));
  }
}

TEST_F(PaneTest, HeightsOfHeaderMeasuredAndNoteRows) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  defaults().setInteger(0, "CurrentTranslationSecondary");
  launch();
  open(2);
  float extra = fontExtra();
  EXPECT_EQ(primary().getHeightForVerse(0, false), 65 + extra);  // the header row
  auto meta = primary().metaForVerse(5);
  ASSERT_TRUE(meta);
  EXPECT_EQ(primary().getHeightForVerse(5, false), float(meta->LandscapeHeight() + 3) + extra);
  EXPECT_EQ(primary().getHeightForVerse(5, true), float(meta->Height() + 3) + extra);
  // No translation: every verse the fixed height, rows still one per verse.
  EXPECT_EQ(secondary().iCurrentTranslation(), 0);
  EXPECT_FALSE(secondary().translationArr());
  EXPECT_EQ(secondary().tblTransView()->numberOfRowsInSection(0), 287);
  EXPECT_EQ(secondary().getHeightForVerse(5, true), 65 + extra);

  // The notes pane: a note adds 8, a verse without one stays unmeasured.
  ASSERT_TRUE(ChapterInfo::insertBookmark(delegate->dbConnection(), 2, 5, false, -1, std::string("A note")));
  defaults().setInteger(1000, "CurrentTranslationPrimary");
  primary().loadTranslation();
  auto note = primary().metaForVerse(5);
  ASSERT_TRUE(note);
  EXPECT_EQ(primary().getHeightForVerse(5, false), float(note->LandscapeHeight() + 8) + extra);
  EXPECT_EQ(primary().getHeightForVerse(6, false), 7 + extra);
}

TEST_F(PaneTest, TablesScrollInStepWithoutEcho) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  defaults().setInteger(5, "CurrentTranslationSecondary");
  launch();
  open(2);
  auto& verses = *reading().tblVerses;
  verses.setContentOffset({0, 300});
  root->versesViewDidScroll(&verses);
  for (auto* pane : {&primary(), &secondary()}) {
    EXPECT_EQ(pane->tblTransView()->contentOffset().y, 300);
    EXPECT_TRUE(pane->IgnoreSendingScrollEvents());  // their own did-scroll stays quiet
  }
  EXPECT_EQ(verses.contentOffset().y, 300);

  root->finishedViewScrolling();
  EXPECT_FALSE(primary().IgnoreSendingScrollEvents());
  primary().tblTransView()->setContentOffset({0, 520});  // reports through its did-scroll
  EXPECT_EQ(verses.contentOffset().y, 520);
  EXPECT_EQ(secondary().tblTransView()->contentOffset().y, 520);
  EXPECT_FALSE(primary().IgnoreSendingScrollEvents());
  EXPECT_TRUE(secondary().IgnoreSendingScrollEvents());
  EXPECT_TRUE(reading().IgnoreSendingScrollEvents());
  root->finishedViewScrolling();
  EXPECT_FALSE(reading().IgnoreSendingScrollEvents());
  EXPECT_FALSE(secondary().IgnoreSendingScrollEvents());
}

TEST_F(PaneTest, BackgroundLoadSwapsTheRowsOnTheMainThread) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  launch();
  open(2);
  auto before = primary().translationArr();
  defaults().setInteger(5, "CurrentTranslationPrimary");
  primary().translationDidChange();
  primary().translationDidChange();  // a second load waits for the first
  EXPECT_TRUE(primary().loadingInBG());
  // Nothing of the pane changed while the worker reads.
  EXPECT_EQ(primary().translationArr(), before);
  settle(1);
  EXPECT_FALSE(primary().loadingInBG());
  EXPECT_EQ(primary().iCurrentTranslation(), 5);
  ASSERT_TRUE(primary().translationArr());
  EXPECT_EQ(primary().translationArr()->size(), 286u);
  EXPECT_EQ(primary().translationArr()->at(0), ChapterInfo::getTranslationFor(delegate->dbConnectionStatic(), 5, 2, 1));
  EXPECT_EQ(primary().tblTransView()->alpha(), 1);
}

TEST_F(PaneTest, APaneDroppedWhileItsWorkerReadsIsNotTouched) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  launch();
  auto pane = std::make_shared<SurahTranslationViewController>(true);
  pane->setThisSurahController(root->viewContSurah());
  pane->view();
  pane->translationDidChange();
  std::weak_ptr<SurahTranslationViewController> weak = pane;
  pane.reset();
  EXPECT_TRUE(weak.expired());
  settle(1);  // the worker's result finds no pane and is dropped
}

TEST_F(PaneTest, SingleVerseModeWhileExpanded) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  defaults().setBool(true, "HideTransInFullScreen");
  launch();
  open(2, 4);
  root->expandFloatingView(true);
  settle(1);
  ASSERT_TRUE(primary().showingSingleVerseMode());
  EXPECT_FALSE(primary().txtSingleVerse->isHidden());
  EXPECT_EQ(primary().txtSingleVerse->text(),
            ChapterInfo::getTranslationFor(delegate->dbConnectionStatic(), 1, 2, reading().iCurrentVerse()));
  EXPECT_EQ(primary().tblTransView()->alpha(), 0);
  EXPECT_FALSE(secondary().showingSingleVerseMode());
  root->shrinkFloatingView(true);
  settle(1);
  EXPECT_FALSE(primary().showingSingleVerseMode());
  EXPECT_EQ(primary().tblTransView()->alpha(), 1);
}

TEST_F(PaneTest, HighlightsFollowTheReadingScreen) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  launch();
  open(2);
  root->surahHighlightVerse(4, false);
  EXPECT_EQ(reading().selectedVerse(), 4);
  EXPECT_EQ(primary().selectedVerse(), 4);
  EXPECT_EQ(secondary().selectedVerse(), 4);
  root->highlightForPlayingVerse(5, false);
  EXPECT_EQ(primary().iCurrentPlayingVerse(), 5);
  root->highlightForPlayingVerse(6, true);  // stopping keeps the stored verse
  EXPECT_EQ(primary().iCurrentPlayingVerse(), 5);
}

}  // namespace
}  // namespace shelltest

namespace shelltest {
namespace {

TEST_F(PaneTest, TheHeaderOpensThePickerWhichATurnFromLandscapeClosesOnTheSecondPaneOnly) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  defaults().setInteger(5, "CurrentTranslationSecondary");
  launch(ui::InterfaceOrientation::LandscapeRight);
  EXPECT_EQ(primary().btnTranslation->titleForState(ui::ControlStateNormal), ChapterInfo::getTranslationNameForNumber(1));
  primary().transChangePressed();
  secondary().transChangePressed();
  settle(0.5);
  ASSERT_TRUE(primary().popoverView && secondary().popoverView);
  EXPECT_TRUE(primary().popoverView->isPopoverVisible());
  EXPECT_EQ(primary().popoverView->popoverContentSize(), cg::Size(320, 480));
  delegate->window()->rotateToInterfaceOrientation(ui::InterfaceOrientation::Portrait);
  settle(1);
  EXPECT_FALSE(secondary().popoverView->isPopoverVisible());
}

}  // namespace
}  // namespace shelltest
