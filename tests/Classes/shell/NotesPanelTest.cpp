// The notes panel: opening on a verse, turning the page with a save, revert,
// delete, a write that fails, the mail of a note, and the desktop's keys.
#include <sqlite3.h>

#include "Classes/core/ChapterInfo.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

class NotesTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    if (IsSkipped()) return;
    launch();
    watch = ns::NotificationCenter::defaultCenter().addObserver("BookmarkDidChange",
                                                                [this](const ns::Value&) { ++bookmarkChanges; });
  }
  void TearDown() override {
    watch.remove();
    ShellTest::TearDown();
  }

  void type(const std::string& text) {
    root->txtNotes->textView()->setText(text);
    root->notePadViewDidChange(*root->txtNotes);
  }
  void choose(int index) {
    ui::ActionSheet sheet("", {}, "Cancel", "", {"Mail", "Revert", "Delete"});
    sheet.setTag(800);
    root->clickedButtonAtIndex(sheet, index);
  }
  std::string stored(int surah, int verse) {
    return ChapterInfo::getBookmarkNote(delegate->dbConnection(), surah, verse);
  }
  std::string shown() { return root->txtNotes->textView()->text(); }

  ns::Observer watch;
  int bookmarkChanges = 0;
};

TEST_F(NotesTest, OpensOnAVerseWithItsTitleAndTheKeyboardForAnEmptyNote) {
  root->showNotesForSurah(2, 0, false, true);  // a header row has no note
  EXPECT_FALSE(root->isShowingNotes());
  root->showNotesForSurah(2, 5, false, true);
  EXPECT_TRUE(root->isShowingNotes());
  EXPECT_EQ(root->viewRoot->frame().y(), 218);
  EXPECT_EQ(root->viewNotesView->frame().y(), 0);
  EXPECT_EQ(root->lblTopBarLabel->text(), "Note: Surah 2, Aya 5");
  EXPECT_TRUE(root->txtNotes->textView()->isFirstResponder());
  EXPECT_TRUE(root->isShowingNoteEditorFor(2, 5));
  root->hideNotesWithoutSave();
  settle(0.5);
  EXPECT_FALSE(root->isShowingNotes());
  EXPECT_EQ(root->viewNotesView->frame().y(), 100);
  EXPECT_TRUE(root->isShowingNoteEditorFor(2, 5));  // kept after closing
  EXPECT_EQ(bookmarkChanges, 0);
}

TEST_F(NotesTest, AnimatedOpeningPutsTheKeyboardUpWhenItEnds) {
  root->showNotesForSurah(2, 5, true, true);
  EXPECT_FALSE(root->txtNotes->textView()->isFirstResponder());
  settle(0.5);
  EXPECT_TRUE(root->txtNotes->textView()->isFirstResponder());
}

TEST_F(NotesTest, TurningThePageSavesTheEditedNoteIntoANewBookmark) {
  root->showNotesForSurah(2, 5, false, true);
  type("Patience");
  root->showNotesForSurah(2, 6, false, true, false, true);
  EXPECT_EQ(stored(2, 5), "Patience");
  EXPECT_TRUE(ChapterInfo::isBookmarked(delegate->dbConnection(), 2, 5));
  EXPECT_EQ(bookmarkChanges, 1);
  EXPECT_EQ(shown(), "");
  EXPECT_EQ(root->lblTopBarLabel->text(), "Note: Surah 2, Aya 6");
  EXPECT_FALSE(root->noteGotEditedForTesting());

  // The same verse again: unedited, nothing; edited, saved and turned.
  root->showNotesForSurah(2, 6, false, true);
  EXPECT_EQ(bookmarkChanges, 1);
  type("Again");
  root->showNotesForSurah(2, 6, false, true);
  EXPECT_EQ(stored(2, 6), "Again");
  EXPECT_EQ(shown(), "Again");
  EXPECT_EQ(bookmarkChanges, 2);
}

TEST_F(NotesTest, DoneSavesCancelDoesNotButBothTellTheBookmarks) {
  root->showNotesForSurah(3, 2, false, true);
  type("Kept");
  root->btnNotesNavDone->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  EXPECT_EQ(stored(3, 2), "Kept");
  EXPECT_EQ(bookmarkChanges, 1);
  root->showNotesForSurah(3, 2, false, true);
  EXPECT_EQ(shown(), "Kept");
  type("Dropped");
  root->btnNotesNavCancel->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  EXPECT_EQ(stored(3, 2), "Kept");
  EXPECT_EQ(bookmarkChanges, 2);
}

TEST_F(NotesTest, RevertAndDelete) {
  ASSERT_TRUE(ChapterInfo::insertBookmark(delegate->dbConnection(), 4, 1, false, 2, std::string("First")));
  root->showNotesForSurah(4, 1, false, true);
  EXPECT_EQ(shown(), "First");
  type("Changed");
  choose(1);  // Revert
  EXPECT_EQ(shown(), "First");
  EXPECT_FALSE(root->noteGotEditedForTesting());
  EXPECT_TRUE(root->isShowingNotes());

  choose(2);  // Delete: the bookmark itself goes
  EXPECT_FALSE(ChapterInfo::isBookmarked(delegate->dbConnection(), 4, 1));
  EXPECT_FALSE(root->isShowingNotes());
  EXPECT_EQ(bookmarkChanges, 1);
  choose(3);  // Cancel: nothing
  EXPECT_EQ(bookmarkChanges, 1);
}

// The panel's note is the reader's own writing, edited with the desktop's
// keys: a select-all typed over is one Control-Z away, words are walked and
// deleted in Arabic and Latin lines, and what Done saves is what shows.
TEST_F(NotesTest, TheDesktopsKeysEditTheNoteAndASlipIsOneUndoAway) {
  const std::string note = "الحمد لله رب العالمين\nRead after the dawn prayer.";
  ASSERT_TRUE(ChapterInfo::insertBookmark(delegate->dbConnection(), 1, 2, false, 2, note));
  root->showNotesForSurah(1, 2, false, true);
  auto view = root->txtNotes->textView();
  ASSERT_EQ(shown(), note);
  // A note already written opens without the keyboard: a click puts it in.
  cg::Rect box = view->convertRectToView(view->bounds(), nullptr);
  backend().tap({box.midX(), box.maxY() - 10});
  ASSERT_TRUE(view->isFirstResponder());
  backend().key("A", ui::KeyModifierControl);
  backend().typeText("x");
  EXPECT_EQ(shown(), "x");
  EXPECT_TRUE(root->noteGotEditedForTesting());
  backend().key("Z", ui::KeyModifierControl);
  EXPECT_EQ(shown(), note);
  backend().key("Z", ui::KeyModifierControl | ui::KeyModifierShift);
  EXPECT_EQ(shown(), "x");
  backend().key("Z", ui::KeyModifierControl);
  EXPECT_EQ(shown(), note);

  // From the start of the Arabic line, Control-Left goes a word on (the line
  // runs right to left) and Control-Delete takes the next word with its space.
  view->setSelectedRange({0, 0});
  backend().key("Left", ui::KeyModifierControl);
  EXPECT_EQ(view->selectedRange(), (ns::Range{5, 0}));
  backend().key("Delete", ui::KeyModifierControl);
  EXPECT_EQ(shown(), "الحمد رب العالمين\nRead after the dawn prayer.");
  // The Latin line: Control-End, back a word selecting it, typed over.
  backend().key("End", ui::KeyModifierControl);
  backend().key("Left", ui::KeyModifierControl | ui::KeyModifierShift);
  backend().typeText("night");
  EXPECT_EQ(shown(), "الحمد رب العالمين\nRead after the dawn night");
  backend().key("BackSpace", ui::KeyModifierControl);
  EXPECT_EQ(shown(), "الحمد رب العالمين\nRead after the dawn ");
  for (int i = 0; i < 3; ++i) backend().key("Z", ui::KeyModifierControl);
  EXPECT_EQ(shown(), note);
  backend().key("Y", ui::KeyModifierControl);
  backend().key("Y", ui::KeyModifierControl);
  root->btnNotesNavDone->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  EXPECT_EQ(stored(1, 2), "الحمد رب العالمين\nRead after the dawn night");
}

TEST_F(NotesTest, TheMoreButtonOffersMailRevertAndDelete) {
  root->showNotesForSurah(4, 2, false, true);
  root->btnNotesNavMore->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  settle(0.5);
  auto* sheet = ui::ButtonPanel::visiblePanel();
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->tag(), 800);
  EXPECT_EQ(sheet->buttonTitleAtIndex(0), "Mail");
  EXPECT_EQ(sheet->buttonTitleAtIndex(1), "Revert");
  EXPECT_EQ(sheet->buttonTitleAtIndex(2), "Delete");
  EXPECT_EQ(sheet->destructiveButtonIndex(), 2);
}

TEST_F(NotesTest, AFailedWriteKeepsThePanelOpenWithTheText) {
  root->showNotesForSurah(5, 3, false, true);
  type("Must not vanish");
  ASSERT_EQ(sqlite3_exec(delegate->dbConnection(), "PRAGMA query_only = ON", nullptr, nullptr, nullptr), SQLITE_OK);
  root->hideNotesWithSave();
  EXPECT_TRUE(root->isShowingNotes());
  EXPECT_EQ(shown(), "Must not vanish");
  EXPECT_NE(ui::ButtonPanel::visiblePanel(), nullptr);  // the alert
  EXPECT_EQ(bookmarkChanges, 0);
  // A page turn does not lose it either.
  root->showNotesForSurah(5, 4, false, true);
  EXPECT_TRUE(root->isShowingNoteEditorFor(5, 3));
  EXPECT_EQ(shown(), "Must not vanish");
  sqlite3_exec(delegate->dbConnection(), "PRAGMA query_only = OFF", nullptr, nullptr, nullptr);
  root->hideNotesWithSave();
  EXPECT_EQ(stored(5, 3), "Must not vanish");
  EXPECT_EQ(bookmarkChanges, 1);
}

TEST_F(NotesTest, TheMailEscapesTheNoteAndBreaksItsLines) {
  defaults().setInteger(1, "CurrentTranslationv22");
  root->showNotesForSurah(1, 2, false, true);
  type("<b>bold</b> & more\nsecond line");
  std::string body = root->noteMailBody();
  EXPECT_NE(body.find("Qur'an <b>Surah 1, Verse 2</b>:<br>"), std::string::npos);
  EXPECT_NE(body.find("<div dir='rtl'>" + ChapterInfo::getArabicVerseFor(delegate->dbConnectionStatic(), 1, 2)),
            std::string::npos);
  EXPECT_NE(body.find("<b>Translation</b>:<br>"), std::string::npos);
  EXPECT_NE(body.find("Notes:<br>&lt;b&gt;bold&lt;/b&gt; &amp; more<br>second line<br><br><br><br>"), std::string::npos);
  EXPECT_EQ(body.find("<b>bold</b>"), std::string::npos);
}

TEST_F(NotesTest, MailSendsTheHTMLBodyAndReportsAFailure) {
  root->showNotesForSurah(1, 2, false, true);
  type("A line");
  ui::MailComposeViewController::setMailEnabled(false);
  choose(0);
  ASSERT_NE(ui::ButtonPanel::visiblePanel(), nullptr);
  EXPECT_EQ(ui::ButtonPanel::visiblePanel()->title(), "Email Not Setup");
  ui::ButtonPanel::resetForTesting();

  ui::MailComposeViewController::setMailEnabled(true);
  ui::MailMessage sent;
  ui::MailComposeViewController::setHandler([&](const ui::MailMessage& m, const std::string&, std::string& error) {
    sent = m;
    error = "no route";
    return ui::MailComposeResult::Failed;
  });
  choose(0);
  settle(0.5);
  ASSERT_TRUE(root->mailComposer);
  root->mailComposer->send();
  settle(0.5);
  EXPECT_TRUE(sent.isHTML);
  EXPECT_EQ(sent.body, root->noteMailBody());
  ASSERT_NE(ui::ButtonPanel::visiblePanel(), nullptr);
  EXPECT_EQ(ui::ButtonPanel::visiblePanel()->title(), "Message Failed");
  EXPECT_EQ(ui::ButtonPanel::visiblePanel()->message(), "The message could not be sent with error: no route");
  EXPECT_FALSE(root->mailComposer);
  EXPECT_EQ(stored(1, 2), "");  // the note is unchanged
  ui::MailComposeViewController::setHandler(nullptr);
}

}  // namespace
}  // namespace shelltest
