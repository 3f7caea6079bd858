// The verse options panel on the launched screen: where it opens, its two
// pages, the group sheet and the delete confirmation, the panel translation,
// and every share action as far as the desktop takes it.
#include "Classes/core/ChapterInfo.h"
#include "Classes/notes/AddBookmarkNote.h"
#include "Classes/reading/SurahVerseView.h"
#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/VerseOptionsPanel.h"
#include "ReadingFixture.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Pasteboard.h"

namespace readingtest {

// Opens the options panel on a verse as the long press does, the verse's
// row scrolled to the given height in the display first.
void openPanel(SurahViewController& screen, int verse, float topInDisplay = 0);
void openPanel(SurahViewController& screen, int verse, float topInDisplay) {
  auto path = ui::IndexPath::indexPathForRow(screen.verseToRow(verse), 0);
  float rowTop = screen.tblVerses->rectForRowAtIndexPath(path).y();
  screen.tblVerses->setContentOffset(cg::Point{0, rowTop - topInDisplay});
  screen.tblVerses->layoutIfNeeded();
  auto cell = std::dynamic_pointer_cast<SurahViewCell>(screen.tblVerses->cellForRowAtIndexPath(path));
  ASSERT_TRUE(cell);
  screen.showDialControlForVerseCell(cell.get(), cell->CellView(), screen.tblVerses.get(), verse, screen.iCurrentSurah());
}

namespace {

sqlite3* userDb() { return ZarvelSDKAppDelegate::GetInstance()->dbConnection(); }
ui::ButtonPanel* panel() { return ui::ButtonPanel::visiblePanel(); }

TEST(VerseOptionsPlacement, BelowAboveOrTheTableShiftedFirst) {
  struct Case {
    int K, L;
    unsigned arrow;
    float offset;
    bool shifts;
    int extra;
  };
  const Case cases[] = {
      {0, 358, 1, 55, false, 0},     {120, 500, 1, 55, false, 0},  {358, 100, 2, 5, false, 0},
      {600, 0, 2, 5, false, 0},      {-20, 400, 1, 55, true, -20}, {300, 200, 2, 5, true, -57},
      {100, 300, 1, 55, true, 57},   {0, 357, 1, 55, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ns::format("K %d L %d", c.K, c.L));
    auto p = VerseOptionsPanel::place(c.K, c.L);
    EXPECT_EQ(p.arrow, c.arrow);
    EXPECT_EQ(p.anchorOffset, c.offset);
    EXPECT_EQ(p.shiftsTable, c.shifts);
    EXPECT_EQ(p.extraTblOffset, c.extra);
  }
}

class VerseOptionsTest : public ReadingTest {
 protected:
  void SetUp() override {
    ReadingTest::SetUp();
    if (IsSkipped()) return;
    ui::URLOpener::setLauncher([this](const std::string& url) {
      opened.push_back(url);
      return true;
    });
    setTranslation(1);
    launch();
    open(2, 255);
  }
  void TearDown() override {
    ui::URLOpener::setLauncher(nullptr);
    ui::URLOpener::clearSchemes();
    ui::MailComposeViewController::setMailEnabled(true);
    ui::MailComposeViewController::setHandler(nullptr);
    ReadingTest::TearDown();
  }
  VerseOptionsPanel& hud() { return *screen().optionsPanel(); }
  void press(const std::shared_ptr<ui::Button>& b) {
    hud().ayahHudButtonPressed(b.get());
    settle();
  }
  std::vector<std::string> sheetEntries() {
    std::vector<std::string> out;
    auto& sheet = hud().currentSheet();
    for (int i = 0; sheet && i < sheet->numberOfButtons(); ++i)
      if (i != sheet->cancelButtonIndex()) out.push_back(sheet->buttonTitleAtIndex(i));
    return out;
  }
  void choose(int entry) {
    ASSERT_TRUE(hud().currentSheet());
    hud().currentSheet()->tapButtonAtIndex(entry);
    settle();
  }
  bool popoverShown() { return screen().popoverView && screen().popoverView->isPopoverVisible(); }

  std::vector<std::string> opened;
};

TEST_F(VerseOptionsTest, ALongPressOpensThePanelOnItsVerseAndDoneClosesIt) {
  defaults().setInteger(15, "HUDTranslation");
  auto path = ui::IndexPath::indexPathForRow(screen().verseToRow(255), 0);
  screen().tblVerses->scrollToRowAtIndexPath(path, ui::TableViewScrollPosition::Top, false);
  settle();
  auto cell = screen().tblVerses->cellForRowAtIndexPath(path);
  ASSERT_TRUE(cell);
  cg::Point p = cell->convertPointToView(cg::Point{400, 30}, nullptr);
  backend().touchDown(p);
  settle(0.7);
  backend().touchUp(p);
  settle();
  EXPECT_TRUE(screen().showingDialControl());
  EXPECT_TRUE(popoverShown());
  EXPECT_EQ(screen().iCurrentVerse(), 255);
  EXPECT_EQ(screen().mouseLocation, path);
  EXPECT_EQ(screen().popoverView->popoverArrowDirection(), 1u);  // a verse at the top: the panel below
  EXPECT_EQ(hud().currentHUDPage(), 0);
  backend().screenshot(shotPath("options-panel-page1.png"));

  press(hud().btnHUDTranslation);
  EXPECT_EQ(hud().currentHUDPage(), 1);
  settle();
  backend().screenshot(shotPath("options-panel-page2.png"));

  hud().dialCancelledPressed();
  settle();
  EXPECT_FALSE(screen().showingDialControl());
  EXPECT_FALSE(screen().mouseLocation);
  EXPECT_FALSE(popoverShown());
}

TEST_F(VerseOptionsTest, AVerseLowDownGetsThePanelAboveAndOneBetweenShiftsTheTable) {
  float B = screen().tblVerses->frame().maxY();  // 684 in landscape
  struct Case {
    float top;
    unsigned arrow;
    int shift;
  };
  const Case cases[] = {
      {B - 150, 2, 0},                           // room above
      {300, 1, 357 - int(B - 355)},              // neither: shifted up, then below
      {-30, 1, -30},                             // partly above the display: shifted down
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.top);
    openPanel(screen(), 100, c.top);
    float offsetBefore = screen().currTblOffset.y;
    EXPECT_EQ(screen().lastPopoverPosition, c.arrow);
    EXPECT_EQ(screen().extraTblOffset, c.shift);
    settle();
    EXPECT_EQ(screen().tblVerses->contentOffset().y, offsetBefore + float(c.shift));
    EXPECT_EQ(screen().popoverView->popoverArrowDirection(), c.arrow);
    hud().dialCancelledPressed();
    settle();
  }
}

TEST_F(VerseOptionsTest, BookmarkAsksForAGroupUnlessToldNotTo) {
  defaults().setBool(false, "AskForBookmarkGroup");
  openPanel(screen(), 255);
  settle();
  press(hud().btnHUDBookmark);
  EXPECT_EQ(sheetEntries(), (std::vector<std::string>{"Reading", "Memorizing", "Interesting", "Discussion"}));
  EXPECT_EQ(hud().currentSheet()->tag(), kBookmarkGroupSheetTag);
  choose(4);  // Cancel
  EXPECT_FALSE(ChapterInfo::isBookmarked(userDb(), 2, 255));
  EXPECT_TRUE(screen().showingDialControl());

  press(hud().btnHUDBookmark);
  choose(1);
  EXPECT_TRUE(ChapterInfo::isBookmarked(userDb(), 2, 255));
  auto marks = ChapterInfo::getAllBookmarks(userDb(), 2, 2);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_FALSE(screen().showingDialControl());

  defaults().setBool(true, "AskForBookmarkGroup");
  openPanel(screen(), 256);
  settle();
  press(hud().btnHUDBookmark);
  EXPECT_FALSE(hud().currentSheet());
  EXPECT_TRUE(ChapterInfo::isBookmarked(userDb(), 2, 256));
}

TEST_F(VerseOptionsTest, ABookmarkWithANoteGoesOnlyAfterYes) {
  ASSERT_TRUE(ChapterInfo::insertBookmark(userDb(), 2, 255, false, 1, ""));
  ASSERT_TRUE(ChapterInfo::insertBookmarkNote(userDb(), 2, 255, std::string("keep me")));
  screen().reloadBookmarksMap();
  openPanel(screen(), 255);
  settle();
  EXPECT_EQ(hud().btnHUDBookmark->titleForState(ui::ControlStateNormal), "Unbookmark");
  EXPECT_FALSE(hud().txtHUDNotesPreview->isHidden());
  EXPECT_EQ(hud().txtHUDNotesPreview->textView()->text(), "keep me");
  press(hud().btnHUDBookmark);
  ASSERT_NE(panel(), nullptr);
  EXPECT_EQ(panel()->title(), "Delete Bookmark");
  panel()->tapButtonAtIndex(0);  // "No"
  settle();
  EXPECT_TRUE(ChapterInfo::isBookmarked(userDb(), 2, 255));
  press(hud().btnHUDBookmark);
  panel()->tapButtonAtIndex(1);  // "Yes"
  settle();
  EXPECT_FALSE(ChapterInfo::isBookmarked(userDb(), 2, 255));
  EXPECT_FALSE(screen().showingDialControl());

  // A bookmark with no note goes at once.
  ASSERT_TRUE(ChapterInfo::insertBookmark(userDb(), 2, 255, false, 1, ""));
  screen().reloadBookmarksMap();
  openPanel(screen(), 255);
  settle();
  press(hud().btnHUDBookmark);
  EXPECT_EQ(panel(), nullptr);
  EXPECT_FALSE(ChapterInfo::isBookmarked(userDb(), 2, 255));
}

TEST_F(VerseOptionsTest, NoteBookmarksTheVerseAndOpensTheNoteEditor) {
  openPanel(screen(), 255);
  settle();
  EXPECT_FALSE(hud().btnHUDMatches->isEnabled());  // not a hit of a saved search
  EXPECT_FALSE(hud().viewEmptyNotesPlaceholder->isHidden());
  press(hud().btnHUDNote);
  EXPECT_TRUE(ChapterInfo::isBookmarked(userDb(), 2, 255));
  auto* editor = dynamic_cast<AddBookmarkNote*>(screen().modalViewController());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->surah(), 2);
  EXPECT_EQ(editor->verse(), 255);
  EXPECT_FALSE(screen().showingDialControl());
  EXPECT_FALSE(popoverShown());
  editor->txtView->textView()->insertText("a note");
  editor->donePressed();
  settle();
  EXPECT_EQ(ChapterInfo::getBookmarkNote(userDb(), 2, 255), "a note");
  EXPECT_EQ(screen().modalViewController(), nullptr);

  // The note preview: this root has no notes panel, so the editor opens.
  openPanel(screen(), 256);
  settle();
  hud().hudAddEditNotePressed();
  settle();
  EXPECT_TRUE(ChapterInfo::isBookmarked(userDb(), 2, 256));
  editor = dynamic_cast<AddBookmarkNote*>(screen().modalViewController());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->verse(), 256);
  EXPECT_FALSE(screen().showingDialControl());
}

TEST_F(VerseOptionsTest, ThePanelTranslationPageShowsItsOwnTranslationAlignedByDirection) {
  struct Case {
    int translation;
    ui::TextAlignment alignment;
  };
  for (const auto& c : {Case{15, ui::TextAlignment::Right}, Case{5, ui::TextAlignment::Left}}) {
    defaults().setInteger(c.translation, "HUDTranslation");
    openPanel(screen(), 255);
    settle();
    EXPECT_EQ(hud().txtHUDTranslation->textAlignment(), c.alignment);
    EXPECT_EQ(hud().txtHUDTranslation->text(),
              ChapterInfo::getTranslationFor(ZarvelSDKAppDelegate::GetInstance()->dbConnectionStatic(), c.translation, 2, 255));
    EXPECT_EQ(hud().btnHUDTranslationSwitcher->titleForState(ui::ControlStateNormal),
              ChapterInfo::getTranslationFullNameForNumber(c.translation));
    hud().dialCancelledPressed();
    settle();
  }
}

TEST_F(VerseOptionsTest, ThePanelPickerChangesOnlyThePanelTranslation) {
  defaults().setInteger(5, "HUDTranslation");
  openPanel(screen(), 255);
  settle();
  hud().btnHUDTranslationPressed();
  settle();
  auto picker = hud().pickTranslationView();
  ASSERT_TRUE(picker);
  EXPECT_TRUE(picker->isNormalPickerMode());
  auto& list = picker->translations();
  int row = int(std::find(list.begin(), list.end(), 15) - list.begin());
  picker->didSelectRowAtIndexPath(picker->table.get(), ui::IndexPath::indexPathForRow(row, 0));
  settle();
  EXPECT_EQ(root->modalViewController(), nullptr);
  EXPECT_TRUE(popoverShown());
  EXPECT_EQ(hud().txtHUDTranslation->textAlignment(), ui::TextAlignment::Right);
  EXPECT_EQ(defaults().integerForKey("CurrentTranslationPrimary"), 1);
}

TEST_F(VerseOptionsTest, CopyPutsTheChosenTextOnTheClipboardAsUtf8) {
  ui::Pasteboard::generalPasteboard().setString("");
  openPanel(screen(), 255);
  settle();
  press(hud().btnHUDCopy);
  EXPECT_EQ(sheetEntries().size(), 4u);  // no web site configured: no web link
  EXPECT_EQ(hud().currentSheet()->title(), "Copy to Clipboard");
  backend().screenshot(shotPath("options-panel-copy-sheet.png"));
  choose(0);
  std::string arabic = ChapterInfo::getArabicVerseFor(ZarvelSDKAppDelegate::GetInstance()->dbConnectionStatic(), 2, 255);
  EXPECT_EQ(ui::Pasteboard::generalPasteboard().string(), arabic);
  EXPECT_TRUE(ns::isValidUtf8(ui::Pasteboard::generalPasteboard().string()));
  EXPECT_FALSE(screen().showingDialControl());

  openPanel(screen(), 255);
  settle();
  press(hud().btnHUDCopy);
  choose(3);
  EXPECT_EQ(ui::Pasteboard::generalPasteboard().string(), "zarvel://2:255:1");
}

TEST_F(VerseOptionsTest, TweetAndLogNeedTheirApplications) {
  openPanel(screen(), 255);
  settle();
  press(hud().btnHUDTweet);
  ASSERT_NE(panel(), nullptr);
  EXPECT_EQ(panel()->title(), "Twitter Not Installed");
  panel()->tapButtonAtIndex(0);
  settle();
  press(hud().btnHUDSorvane);
  ASSERT_NE(panel(), nullptr);
  EXPECT_EQ(panel()->title(), "Sorvane Not Installed");
  panel()->tapButtonAtIndex(0);
  settle();
  EXPECT_TRUE(screen().showingDialControl());  // both leave the panel open

  std::vector<std::string> apps;
  auto record = [&](const std::string& url) {
    apps.push_back(url);
    return true;
  };
  ui::URLOpener::registerScheme("twitterrific", record);
  ui::URLOpener::registerScheme("sorvanelog", record);
  press(hud().btnHUDSorvane);
  EXPECT_EQ(panel(), nullptr);
  press(hud().btnHUDTweet);
  EXPECT_EQ(sheetEntries(), (std::vector<std::string>{"Arabic Verse", "Translation"}));
  choose(1);
  ASSERT_EQ(apps.size(), 2u);
  EXPECT_EQ(apps[0], "sorvanelog://2:255");
  EXPECT_EQ(apps[1].rfind("twitterrific://post?message=", 0), 0u);
  EXPECT_NE(apps[1].find("Great%20[2%3A255]"), std::string::npos) << apps[1];  // the mail escaping
  EXPECT_FALSE(screen().showingDialControl());
}

TEST_F(VerseOptionsTest, EmailMessageAndPostTakeTheDesktopsPaths) {
  openPanel(screen(), 255);
  settle();
  EXPECT_FALSE(hud().btnHUDSMS->isEnabled());  // no text-message composer here
  hud().smsText("x");
  settle();
  ASSERT_NE(panel(), nullptr);
  EXPECT_EQ(panel()->title(), "Cannot Send SMS");
  panel()->tapButtonAtIndex(0);
  settle();

  std::vector<ui::MailMessage> sent;
  ui::MailComposeViewController::setHandler([&](const ui::MailMessage& m, const std::string&, std::string&) {
    sent.push_back(m);
    return ui::MailComposeResult::Sent;
  });
  press(hud().btnHUDEmail);
  EXPECT_EQ(sheetEntries(), (std::vector<std::string>{"Arabic Verse", "Translation", "Both"}));
  choose(1);
  ASSERT_TRUE(hud().mailComposer());
  const std::string& body = hud().mailComposer()->message().body;
  EXPECT_EQ(body.rfind("Saheeh Intl.:<br><b>Surah 2. ", 0), 0u) << body;
  EXPECT_NE(body.find("<br><br><br><a href=\"https://zarvel.example/app\">via Zarvel HD</a><br><br>"), std::string::npos);
  hud().mailComposer()->send();
  settle();
  EXPECT_EQ(sent.size(), 1u);
  EXPECT_EQ(root->modalViewController(), nullptr);
  EXPECT_TRUE(screen().showingDialControl());

  ui::MailComposeViewController::setMailEnabled(false);
  hud().refreshHUDButtons();
  EXPECT_FALSE(hud().btnHUDEmail->isEnabled());
  hud().emailText("x");
  settle();
  ASSERT_NE(panel(), nullptr);
  EXPECT_EQ(panel()->title(), "Email Not Setup");
  panel()->tapButtonAtIndex(0);
  settle();

  // Where the network is not configured, Post says so, starts no login, and closes the panel.
  press(hud().btnHUDSocial);
  choose(0);
  settle();
  ASSERT_NE(panel(), nullptr);
  EXPECT_EQ(panel()->title(), "Posting Not Set Up");
  panel()->tapButtonAtIndex(0);
  settle();
  EXPECT_EQ(root->modalViewController(), nullptr);
  EXPECT_TRUE(opened.empty());
  EXPECT_FALSE(ZarvelSDKAppDelegate::GetInstance()->existingSocialNetwork());
  EXPECT_FALSE(screen().showingDialControl());
}

}  // namespace
}  // namespace readingtest
