// The verse options panel in the shell the program builds: a long press on
// a verse of a short surah, or at the end of a long one, where making room
// for the panel moves the table past its end and it springs back. Every
// action of the panel acts on the verse the panel shows.
#include "Classes/app/MainInterface.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/notes/AddBookmarkNote.h"
#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/VerseOptionsPanel.h"
#include "ShellFixture.h"
#include "platform/ui/Button.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/Label.h"
#include "platform/ui/PopoverController.h"

namespace shelltest {
namespace {

class PanelInShellTest : public ShellTest {
 protected:
  // Starts the program's own main interface.
  void launchMainInterface() {
    delegate = loadMainInterface();
    root = std::shared_ptr<iPadRootViewController>(delegate, delegate->ipadRootViewController());
    backend().launch(delegate);
    settle(1.5);
  }

  sqlite3* userDb() { return delegate->dbConnection(); }
  VerseOptionsPanel& hud() { return *reading().optionsPanel(); }

  // A long press on the verse's row, as a finger holds it.
  void longPress(int verse) {
    auto& screen = reading();
    auto path = ui::IndexPath::indexPathForRow(screen.verseToRow(verse), 0);
    screen.tblVerses->scrollToRowAtIndexPath(path, ui::TableViewScrollPosition::None, false);
    settle();
    auto cell = screen.tblVerses->cellForRowAtIndexPath(path);
    ASSERT_TRUE(cell) << "verse " << verse;
    cg::Rect r = cell->bounds();
    cg::Point p = cell->convertPointToView(cg::Point{r.midX(), std::min(r.height() * 0.5f, 30.0f)}, nullptr);
    backend().touchDown(p);
    settle(0.7);
    backend().touchUp(p);
    settle(2);  // the table's shift and any spring back end
    ASSERT_TRUE(screen.showingDialControl()) << "verse " << verse;
  }

  void press(const std::shared_ptr<ui::Button>& button) {
    hud().ayahHudButtonPressed(button.get());
    settle();
  }

  // The verse the panel's translation page shows.
  std::string shownTranslation() { return hud().txtHUDTranslation->text(); }
  std::string translationOf(int surah, int verse) {
    return ChapterInfo::getTranslationFor(delegate->dbConnectionStatic(), int(defaults().integerForKey("HUDTranslation")),
                                          surah, verse);
  }
};

TEST_F(PanelInShellTest, BookmarkAndNoteActOnThePressedVerseOfAShortSurah) {
  launchMainInterface();
  ASSERT_EQ(reading().iCurrentSurah(), 1);
  for (int verse : {4, 5}) {
    SCOPED_TRACE(verse);
    defaults().setBool(true, "AskForBookmarkGroup");  // marks at once
    longPress(verse);
    EXPECT_EQ(reading().iCurrentVerse(), verse);
    EXPECT_EQ(shownTranslation(), translationOf(1, verse));
    press(hud().btnHUDBookmark);
    EXPECT_TRUE(ChapterInfo::isBookmarked(userDb(), 1, verse));
    EXPECT_FALSE(ChapterInfo::isBookmarked(userDb(), 1, 1));
  }

  // Note opens the editor on the pressed verse.
  longPress(5);
  press(hud().btnHUDNote);
  auto* editor = dynamic_cast<AddBookmarkNote*>(reading().modalViewController());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->surah(), 1);
  EXPECT_EQ(editor->verse(), 5);
}

TEST_F(PanelInShellTest, UnbookmarkingAVerseNeverTakesAnotherVersesNote) {
  launchMainInterface();
  ASSERT_TRUE(ChapterInfo::insertBookmark(userDb(), 1, 1, false, -1, "the note of 1:1"));
  ASSERT_TRUE(ChapterInfo::insertBookmark(userDb(), 1, 4, false, -1, "the note of 1:4"));
  ns::NotificationCenter::defaultCenter().postNotificationName("BookmarkDidChange");
  longPress(4);
  EXPECT_EQ(hud().txtHUDNotesPreview->textView()->text(), "the note of 1:4");
  press(hud().btnHUDBookmark);
  ui::ButtonPanel* confirm = ui::ButtonPanel::visiblePanel();
  ASSERT_NE(confirm, nullptr);
  EXPECT_EQ(confirm->title(), "Delete Bookmark");
  // The question names the verse whose note goes.
  EXPECT_NE(confirm->message().find("1:4"), std::string::npos) << confirm->message();
  confirm->tapButtonAtIndex(1);  // "Yes"
  settle();
  EXPECT_FALSE(ChapterInfo::isBookmarked(userDb(), 1, 4));
  EXPECT_EQ(ChapterInfo::getBookmarkNote(userDb(), 1, 1), "the note of 1:1");
}

TEST_F(PanelInShellTest, AtTheEndOfTheLongestSurahTheLastVerseKeepsThePanel) {
  launchMainInterface();
  delegate->showSurahView(2, 286, false, false);
  settle(2);
  ASSERT_EQ(reading().iCurrentSurah(), 2);
  defaults().setBool(true, "AskForBookmarkGroup");
  longPress(286);
  EXPECT_EQ(reading().iCurrentVerse(), 286);
  EXPECT_EQ(shownTranslation(), translationOf(2, 286));
  press(hud().btnHUDBookmark);
  EXPECT_TRUE(ChapterInfo::isBookmarked(userDb(), 2, 286));
  EXPECT_FALSE(ChapterInfo::isBookmarked(userDb(), 2, 284));
}

}  // namespace
}  // namespace shelltest
