// Text typed in a note and not yet saved when the application ends (the
// window closed, the session ending) is stored as Done would store it; what
// cannot be stored is kept in a file beside the database and named at the
// next start.
#include <sqlite3.h>

#include <fstream>
#include <sstream>

#include "Classes/core/ChapterInfo.h"
#include "Classes/notes/AddBookmarkNote.h"
#include "Classes/notes/UnsavedNotes.h"
#include "platform/foundation/FileManager.h"
#include "platform/ui/TextView.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

class NotesOnExitTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    if (IsSkipped()) return;
    launch();
  }

  // The window closes; the next start reads the data again.
  void closeAndStartAgain() {
    backend().close();
    ui::Application::shared().setDelegate(nullptr);
    delegate.reset();
    root.reset();
    testenv::forgetProcessState();
    defaults().setBool(true, "TipsHaveShownHD");
    launch();
  }

  std::string stored(int surah, int verse) { return ChapterInfo::getBookmarkNote(delegate->dbConnection(), surah, verse); }

  static std::string contents(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(NotesOnExitTest, TheNotesPanelsTextIsSavedWhenTheWindowCloses) {
  root->showNotesForSurah(2, 255, false, true);
  ASSERT_TRUE(root->txtNotes->textView()->isFirstResponder());
  backend().typeText("Written just before the window closed");
  closeAndStartAgain();
  EXPECT_EQ(stored(2, 255), "Written just before the window closed");
  EXPECT_EQ(ui::ButtonPanel::visiblePanel(), nullptr);
}

TEST_F(NotesOnExitTest, TheNoteEditorsTextIsSavedIntoTheBookmarkTheNoteButtonMade) {
  ASSERT_TRUE(ChapterInfo::insertBookmark(delegate->dbConnection(), 36, 58, false, -1, ""));
  auto editor = std::make_shared<AddBookmarkNote>(36, 58);
  reading().presentModalViewController(editor, false);
  settle();
  editor->txtView->textView()->becomeFirstResponder();
  backend().typeText("Peace, a word from a merciful Lord");
  editor.reset();  // the screen holds it
  closeAndStartAgain();
  EXPECT_EQ(stored(36, 58), "Peace, a word from a merciful Lord");

  // An editor closed without an edit, or after Done, stores nothing more.
  auto unedited = std::make_shared<AddBookmarkNote>(36, 58);
  reading().presentModalViewController(unedited, false);
  settle();
  ASSERT_TRUE(ChapterInfo::insertBookmarkNote(delegate->dbConnection(), 36, 58, std::string("changed elsewhere")));
  closeAndStartAgain();
  EXPECT_EQ(stored(36, 58), "changed elsewhere");
}

TEST_F(NotesOnExitTest, ANoteThatCannotBeStoredIsKeptBesideTheDatabaseAndNamedAtTheNextStart) {
  root->showNotesForSurah(2, 255, false, true);
  backend().typeText("Too precious to lose");
  ASSERT_EQ(sqlite3_exec(delegate->dbConnection(), "PRAGMA query_only = ON", nullptr, nullptr, nullptr), SQLITE_OK);
  closeAndStartAgain();
  EXPECT_EQ(stored(2, 255), "");
  EXPECT_FALSE(ns::fileExists(UnsavedNotes::keptFilePath()));

  ui::ButtonPanel* alert = ui::ButtonPanel::visiblePanel();
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->title(), "Unsaved Note Kept");
  std::string message = alert->message();
  auto at = message.find(ns::documentsDirectory() + "/unsaved-notes-");
  ASSERT_NE(at, std::string::npos) << message;
  std::string kept = message.substr(at, message.find(".txt", at) + 4 - at);
  std::string text = contents(kept);
  EXPECT_NE(text.find("2:255"), std::string::npos) << text;
  EXPECT_NE(text.find("Too precious to lose"), std::string::npos) << text;
  alert->tapButtonAtIndex(0);
  settle();

  // Said once.
  closeAndStartAgain();
  EXPECT_EQ(ui::ButtonPanel::visiblePanel(), nullptr);
  EXPECT_TRUE(ns::fileExists(kept));
}

}  // namespace
}  // namespace shelltest
