// The note editor over the launched application: opening with the keyboard,
// Done and its change notice, Delete with its confirmation, the mail of a
// note, and a note that cannot be stored staying in the editor.
#include "Classes/core/ChapterInfo.h"
#include "Classes/notes/AddBookmarkNote.h"
#include "platform/ui/Button.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "tests/Classes/reading/ReadingFixture.h"

namespace readingtest {
namespace {

sqlite3* userDb() { return ZarvelSDKAppDelegate::GetInstance()->dbConnection(); }

class NoteEditorTest : public ReadingTest {
 protected:
  void SetUp() override {
    ReadingTest::SetUp();
    if (IsSkipped()) return;
    launch();
    changes = ns::NotificationCenter::defaultCenter().addObserver("BookmarkDidChange",
                                                                  [this](const ns::Value&) { ++posted; });
  }

  std::shared_ptr<AddBookmarkNote> openEditor(int surah, int verse) {
    auto editor = std::make_shared<AddBookmarkNote>(surah, verse);
    root->presentModalViewController(editor, false);
    settle();
    return editor;
  }

  static void bookmark(int surah, int verse, const std::optional<std::string>& note) {
    ASSERT_TRUE(ChapterInfo::insertBookmark(userDb(), surah, verse, false, 1, ""));
    ASSERT_TRUE(ChapterInfo::insertBookmarkNote(userDb(), surah, verse, note));
  }

  static ui::ButtonPanel* panel() { return ui::ButtonPanel::visiblePanel(); }

  int posted = 0;
  ns::Observer changes;
};

TEST_F(NoteEditorTest, AnEmptyNoteOpensWithTheKeyboardAndOffersNothingOnceItCloses) {
  bookmark(2, 255, std::nullopt);
  auto editor = openEditor(2, 255);
  EXPECT_EQ(editor->lblTitle->text(), "Note");
  EXPECT_TRUE(editor->isKeyboardShowing());
  EXPECT_TRUE(editor->btnMore->isEnabled());

  editor->morePressed();  // with the keyboard up it only closes the keyboard
  settle();
  EXPECT_FALSE(editor->isKeyboardShowing());
  EXPECT_FALSE(editor->moreSheet());
  EXPECT_FALSE(editor->btnMore->isEnabled());
}

TEST_F(NoteEditorTest, DoneRewritesTheNoteAndAnnouncesOnlyATypedChange) {
  bookmark(2, 255, std::string("kept"));
  auto editor = openEditor(2, 255);
  EXPECT_FALSE(editor->isKeyboardShowing());
  EXPECT_EQ(editor->txtView->textView()->text(), "kept");
  editor->donePressed();
  settle();
  EXPECT_EQ(posted, 0);
  EXPECT_EQ(root->modalViewController(), nullptr);
  EXPECT_EQ(ChapterInfo::getBookmarkNote(userDb(), 2, 255), "kept");

  editor = openEditor(2, 255);
  editor->txtView->textView()->becomeFirstResponder();
  editor->txtView->textView()->setSelectedRange(ns::Range{0, 4});
  editor->txtView->textView()->insertText("");
  EXPECT_TRUE(editor->hasChanged());
  editor->donePressed();
  settle();
  EXPECT_EQ(posted, 1);
  EXPECT_EQ(ChapterInfo::getBookmarkNote(userDb(), 2, 255), "");
  EXPECT_TRUE(ChapterInfo::isBookmarked(userDb(), 2, 255));
}

TEST_F(NoteEditorTest, DeleteAsksFirstAndKeepsTheBookmark) {
  bookmark(3, 7, std::string("to go"));
  auto editor = openEditor(3, 7);
  editor->morePressed();
  ASSERT_TRUE(editor->moreSheet());
  EXPECT_EQ(editor->moreSheet()->buttonTitleAtIndex(0), "Delete");
  EXPECT_EQ(editor->moreSheet()->buttonTitleAtIndex(1), "Mail");
  editor->moreSheet()->tapButtonAtIndex(0);
  settle();
  ASSERT_NE(panel(), nullptr);
  EXPECT_EQ(panel()->title(), "Delete Note");
  panel()->tapButtonAtIndex(0);  // "No"
  settle();
  EXPECT_EQ(ChapterInfo::getBookmarkNote(userDb(), 3, 7), "to go");
  EXPECT_EQ(root->modalViewController(), editor.get());

  editor->deletePressed();
  settle();
  panel()->tapButtonAtIndex(1);  // "Yes"
  settle();
  EXPECT_FALSE(ChapterInfo::hasBookmarkNote(userDb(), 3, 7));
  EXPECT_TRUE(ChapterInfo::isBookmarked(userDb(), 3, 7));
  EXPECT_EQ(posted, 1);
  EXPECT_EQ(root->modalViewController(), nullptr);
}

TEST_F(NoteEditorTest, TheMailEscapesEveryTextAndFollowsTheTranslation) {
  bookmark(1, 1, std::string("a <b> & \"c\"\nnext line"));
  struct Case {
    int translation;
    bool block;
    const char* translationPart;
  };
  const Case cases[] = {{0, false, ""}, {1000, true, "<b>Translation</b>:<br><br><br>"}, {1, true, "<b>Translation</b>:<br>"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.translation);
    defaults().setInteger(c.translation, "CurrentTranslationv22");
    auto editor = openEditor(1, 1);
    std::string body = editor->mailBody();
    EXPECT_EQ(body.rfind("Qur&#39;an <b>Surah 1, Verse 1</b>:<br><div dir='rtl'>", 0), 0u) << body;
    EXPECT_NE(body.find("Notes:<br>a &lt;b&gt; &amp; &quot;c&quot;<br>next line<br><br><br><br><a href="),
              std::string::npos)
        << body;
    EXPECT_NE(body.find(">via Zarvel HD</a><br>"), std::string::npos);
    EXPECT_EQ(body.find("<b>Translation</b>") != std::string::npos, c.block);
    if (c.block) {
      EXPECT_NE(body.find(c.translationPart), std::string::npos) << body;
    }
    root->dismissModalViewControllerAnimated(false);
    settle();
  }
}

TEST_F(NoteEditorTest, MailOpensTheComposerOrSaysMailIsNotSetUp) {
  bookmark(1, 2, std::string("note"));
  auto editor = openEditor(1, 2);
  ui::MailComposeViewController::setMailEnabled(false);
  editor->morePressed();
  editor->moreSheet()->tapButtonAtIndex(1);
  settle();
  ASSERT_NE(panel(), nullptr);
  EXPECT_EQ(panel()->title(), "Email Not Setup");
  panel()->tapButtonAtIndex(0);
  settle();

  ui::MailComposeViewController::setMailEnabled(true);
  ui::MailComposeViewController::setHandler(
      [](const ui::MailMessage&, const std::string&, std::string& error) {
        error = "no route";
        return ui::MailComposeResult::Failed;
      });
  editor->morePressed();
  editor->moreSheet()->tapButtonAtIndex(1);
  settle();
  ASSERT_TRUE(editor->mailComposer());
  EXPECT_TRUE(editor->mailComposer()->message().isHTML);
  editor->mailComposer()->send();
  settle();
  ASSERT_NE(panel(), nullptr);
  EXPECT_EQ(panel()->title(), "Message Failed");
  EXPECT_EQ(panel()->message(), "The message could not be sent with error: no route");
  EXPECT_EQ(editor->modalViewController(), nullptr);
  EXPECT_EQ(root->modalViewController(), editor.get());
  ui::MailComposeViewController::setHandler(nullptr);
}

TEST_F(NoteEditorTest, ANoteWithNoBookmarkRowToHoldItStaysInTheEditor) {
  auto editor = openEditor(4, 4);  // never bookmarked
  editor->txtView->textView()->insertText("precious words");
  editor->donePressed();
  settle();
  ASSERT_NE(panel(), nullptr);
  EXPECT_EQ(panel()->title(), "Note Not Saved");
  EXPECT_EQ(root->modalViewController(), editor.get());
  EXPECT_EQ(editor->txtView->textView()->text(), "precious words");
  EXPECT_EQ(posted, 0);
}

TEST_F(NoteEditorTest, ANoteTheDatabaseRefusesStaysInTheEditor) {
  bookmark(4, 5, std::string("old"));
  auto editor = openEditor(4, 5);
  editor->txtView->textView()->becomeFirstResponder();
  editor->txtView->textView()->insertText(" and new");
  ASSERT_EQ(sqlite3_exec(userDb(), "PRAGMA query_only = ON", nullptr, nullptr, nullptr), SQLITE_OK);
  editor->donePressed();
  settle();
  sqlite3_exec(userDb(), "PRAGMA query_only = OFF", nullptr, nullptr, nullptr);
  ASSERT_NE(panel(), nullptr);
  EXPECT_EQ(panel()->title(), "Note Not Saved");
  panel()->tapButtonAtIndex(0);
  settle();
  EXPECT_EQ(root->modalViewController(), editor.get());
  EXPECT_EQ(editor->txtView->textView()->text(), "old and new");
  EXPECT_EQ(ChapterInfo::getBookmarkNote(userDb(), 4, 5), "old");
  EXPECT_EQ(posted, 0);

  editor->donePressed();  // the store takes it now
  settle();
  EXPECT_EQ(ChapterInfo::getBookmarkNote(userDb(), 4, 5), "old and new");
  EXPECT_EQ(root->modalViewController(), nullptr);
}

TEST_F(NoteEditorTest, TheVersePreviewFillsItsBoxOrGrowsBeyondIt) {
  struct Case {
    int translation, surah, verse;
    ui::TextAlignment alignment;
    const char* font;
    bool grows;
  };
  const Case cases[] = {
      {0, 112, 1, ui::TextAlignment::Right, "GeezaPro", false},
      {1000, 112, 1, ui::TextAlignment::Right, "Helvetica", false},
      {1, 2, 282, ui::TextAlignment::Left, "Helvetica", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.translation);
    defaults().setInteger(c.translation, "CurrentTranslationv22");
    auto editor = openEditor(c.surah, c.verse);
    float box = editor->scrollAyahContainer->frame().height();
    float h = editor->lblArabicAyah->frame().height();
    EXPECT_EQ(editor->lblArabicAyah->textAlignment(), c.alignment);
    EXPECT_EQ(editor->lblArabicAyah->font().fontName(), c.font);
    if (c.grows) {
      EXPECT_GT(h, box);
    } else {
      EXPECT_EQ(h, std::floor(box - 5));
    }
    EXPECT_EQ(editor->scrollAyahContainer->contentSize().height, h);
    root->dismissModalViewControllerAnimated(false);
    settle();
  }
}

// The reader's own writing survives a slip of the keys: a select-all and a
// word typed over it is one Control-Z away, in Arabic and in Latin text,
// and words are walked and deleted as on the desktop.
TEST_F(NoteEditorTest, ASelectAllAndTypeOverANoteIsOneUndoAway) {
  const std::string note = "الله لا إله إلا هو\nRead on Fridays.";
  bookmark(2, 255, note);
  auto editor = openEditor(2, 255);
  auto view = editor->txtView->textView();
  view->becomeFirstResponder();
  backend().key("A", ui::KeyModifierControl);
  for (const char* c : {"o", "o", "p", "s"}) backend().typeText(c);
  EXPECT_EQ(view->text(), "oops");
  EXPECT_TRUE(editor->hasChanged());
  backend().key("Z", ui::KeyModifierControl);
  EXPECT_EQ(view->text(), note);
  backend().key("Y", ui::KeyModifierControl);
  EXPECT_EQ(view->text(), "oops");
  backend().key("Z", ui::KeyModifierControl | ui::KeyModifierShift);  // nothing more to redo
  backend().key("Z", ui::KeyModifierControl);
  EXPECT_EQ(view->text(), note);

  // Arabic runs right to left: Control-Left goes on to the next word.
  view->setSelectedRange({0, 0});
  backend().key("Left", ui::KeyModifierControl);
  EXPECT_EQ(view->selectedRange(), (ns::Range{4, 0}));
  backend().key("Delete", ui::KeyModifierControl);
  EXPECT_EQ(view->text(), "الله إله إلا هو\nRead on Fridays.");
  // The Latin line: from its end back a word, and that word deleted.
  backend().key("End", ui::KeyModifierControl);
  backend().key("BackSpace", ui::KeyModifierControl);
  EXPECT_EQ(view->text(), "الله إله إلا هو\nRead on ");
  backend().key("BackSpace", ui::KeyModifierControl);
  EXPECT_EQ(view->text(), "الله إله إلا هو\nRead ");
  backend().key("Z", ui::KeyModifierControl);
  backend().key("Z", ui::KeyModifierControl);
  backend().key("Z", ui::KeyModifierControl);
  EXPECT_EQ(view->text(), note);
  editor->donePressed();
  settle();
  EXPECT_EQ(ChapterInfo::getBookmarkNote(userDb(), 2, 255), note);
}

TEST_F(NoteEditorTest, PicturesOfAnArabicAndAnEnglishNote) {
  bookmark(2, 255, std::string("الله لا إله إلا هو الحي القيوم\nآية الكرسي"));
  bookmark(18, 10, std::string("The youths who took refuge in the cave.\nRead on Fridays."));
  defaults().setInteger(0, "CurrentTranslationv22");
  auto editor = openEditor(2, 255);
  backend().screenshot(shotPath("note-editor-arabic.png"));
  root->dismissModalViewControllerAnimated(false);
  settle();
  defaults().setInteger(1, "CurrentTranslationv22");
  editor = openEditor(18, 10);
  backend().screenshot(shotPath("note-editor-english.png"));
}

}  // namespace
}  // namespace readingtest
