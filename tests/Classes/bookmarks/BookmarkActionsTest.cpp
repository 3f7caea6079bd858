// What the reader does with bookmarks: the sheet of a held row, batch
// editing with Move, Mail and Remove, deleting to an empty list, and the keys.
#include "tests/Classes/bookmarks/BookmarksFixture.h"

#include "platform/services/MailComposeViewController.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"

namespace bookmarkstest {
namespace {

using Orientation = ui::InterfaceOrientation;
using Rows = std::vector<std::pair<int, std::vector<int>>>;

class BookmarkActionsTest : public BookmarksTest {
 protected:
  // Holds a row until its sheet opens; the sheet.
  ui::ButtonPanel* hold(BookmarksViewController& l, int section, int row) {
    BookmarkCell* cell = cellAt(l, section, row);
    EXPECT_NE(cell, nullptr);
    if (!cell) return nullptr;
    cg::Rect r = cell->convertRectToView(cell->bounds(), nullptr);
    backend().touchDown(cg::Point(r.midX(), r.midY()));
    backend().advance(0.8);
    backend().touchUp(cg::Point(r.midX(), r.midY()));
    settle(0.3);
    return ui::ButtonPanel::visiblePanel();
  }

  void check(BookmarksViewController& l, int section, int row) {
    BookmarkCell* cell = cellAt(l, section, row);
    ASSERT_NE(cell, nullptr);
    tapView(*cell);
  }
};

TEST_F(BookmarkActionsTest, HoldingARowOffersItsSheetAndUnbookmarkRemovesBothRows) {
  bookmark(2, 255);
  bookmark(2, 255, 0, "", true);  // the same verse with the audio flag: a second row
  bookmark(3, 1, 0, "kept");
  launch(Orientation::LandscapeRight);
  auto& l = openTab();
  EXPECT_EQ(shown(l), (Rows{{2, {255, 255}}, {3, {1}}}));
  auto* sheet = hold(l, 0, 0);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->title(), "Sura 2, Aya 255");
  ASSERT_EQ(sheet->numberOfButtons(), 4);
  EXPECT_EQ(sheet->buttonTitleAtIndex(0), "Add Note");
  EXPECT_EQ(sheet->buttonTitleAtIndex(1), "Unbookmark");
  EXPECT_EQ(sheet->buttonTitleAtIndex(2), "Move");
  EXPECT_EQ(sheet->buttonTitleAtIndex(3), "Cancel");
  ASSERT_TRUE(l.selectedCell());
  sheet->tapButtonAtIndex(1);
  waitForLoad();
  EXPECT_EQ(storedCount("surah = 2"), 0);
  EXPECT_EQ(shown(l), (Rows{{3, {1}}}));
  EXPECT_FALSE(l.selectedCell());
  // A row with a note offers to edit it; a hold in batch editing opens nothing.
  sheet = hold(l, 0, 0);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->buttonTitleAtIndex(0), "Edit Note");
  sheet->tapButtonAtIndex(3);
  settle(0.3);
  l.btnMorePressed();
  settle(0.3);
  EXPECT_EQ(hold(l, 0, 0), nullptr);
}

TEST_F(BookmarkActionsTest, BatchEditingChecksRowsAndRemovingTheLastLeavesAnEmptyList) {
  bookmark(2, 1);
  bookmark(2, 2);
  bookmark(4, 9);
  launch(Orientation::Portrait);
  auto& l = openTab();
  l.btnMorePressed();
  settle(0.5);
  EXPECT_TRUE(l.IsEditing());
  EXPECT_TRUE(l.tblBookmarks()->isEditing());
  EXPECT_TRUE(l.btnMore->isSelected());
  EXPECT_EQ(l.viewBatchEditBar()->superview(), root->viewBottomBar.get());
  EXPECT_EQ(l.viewBatchEditBar()->alpha(), 1);
  EXPECT_FALSE(l.btnBatchRemove->isEnabled());
  // In batch editing the column stays in view in portrait.
  root->prepareForPortraitWithAnimation(false, true);
  EXPECT_EQ(root->viewFloatingVerses->frame().x(), 0);

  check(l, 0, 1);
  check(l, 1, 0);
  EXPECT_TRUE(l.btnBatchRemove->isEnabled());
  BookmarkCell* checked = cellAt(l, 0, 1);
  ASSERT_NE(checked->cellView()->imgEditCircle, nullptr);
  EXPECT_EQ(checked->cellView()->imgEditCircle->image(), ui::Image::imageNamed("todo-edit-on.png"));
  EXPECT_EQ(checked->cellView()->imgEditCircle->frame().x(), 1);
  tapView(*l.btnBatchRemove);
  EXPECT_EQ(shown(l), (Rows{{2, {1}}}));
  EXPECT_EQ(storedCount(), 1);
  EXPECT_EQ(l.arrSectionViews().size(), 1u);
  EXPECT_EQ(l.arrSectionViews()[0]->header.btnVerseCounter->titleForState(ui::ControlStateDisabled), "1");
  EXPECT_FALSE(l.btnBatchRemove->isEnabled());  // nothing checked any more
  EXPECT_TRUE(l.IsEditing());

  // The last bookmark goes: batch editing ends and the empty list says so.
  check(l, 0, 0);
  tapView(*l.btnBatchRemove);
  settle(0.5);
  EXPECT_TRUE(l.arrSectionedBookmarks().empty());
  EXPECT_FALSE(l.IsEditing());
  EXPECT_FALSE(l.tblBookmarks()->isEditing());
  EXPECT_EQ(l.viewBatchEditBar()->alpha(), 0);
  EXPECT_EQ(l.lblNoBookmarks->alpha(), 1);
  EXPECT_EQ(l.lblNoBookmarks->text(), "No Bookmarks Found");
  EXPECT_FALSE(l.btnMore->isEnabled());
}

TEST_F(BookmarkActionsTest, MovingCheckedBookmarksToAGroupThroughThePopover) {
  bookmark(2, 1, 1);
  bookmark(2, 2, 1);
  bookmark(5, 5, 3);
  launch(Orientation::LandscapeRight);
  auto& l = openTab();
  l.btnMorePressed();
  check(l, 0, 0);
  check(l, 1, 0);
  tapView(*l.btnBatchMove);
  ASSERT_TRUE(l.popoverView());
  ASSERT_TRUE(l.popoverView()->isPopoverVisible());
  auto groups = std::dynamic_pointer_cast<BookmarkGroupsViewController>(l.popoverView()->contentViewController());
  ASSERT_TRUE(groups);
  EXPECT_TRUE(groups->IsMovingMode());
  EXPECT_EQ(groups->lblTopLabel->text(), "Move Bookmarks (2)");  // the English table spells it right
  auto noGroup = groups->tblGroups->cellForRowAtIndexPath({0, 0});
  EXPECT_EQ(noGroup->detailTextLabel()->text(), "");  // "No Group" shows no count
  tapView(*groups->tblGroups->cellForRowAtIndexPath({0, 4}));
  waitForLoad();
  EXPECT_EQ(storedCount("bkgroup = 4"), 2);
  EXPECT_EQ(storedCount("surah = 2 AND verse = 2 AND bkgroup = 1"), 1);
  EXPECT_FALSE(l.popoverView()->isPopoverVisible());
  EXPECT_FALSE(l.IsEditing());
}

TEST_F(BookmarkActionsTest, TheMailEscapesTheReadersTextsAndBreaksTheirLines) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  defaults().setInteger(0, "CurrentTranslationSecondary");
  bookmark(2, 255, 0, "<b>bold</b> & more\nsecond line");
  bookmark(3, 2);
  launch(Orientation::LandscapeRight);
  auto& l = openTab();
  l.btnMorePressed();
  check(l, 0, 0);
  check(l, 1, 0);
  std::string body = l.batchMailBody();
  EXPECT_EQ(body.rfind("I would like to share the following Qur'anic verses with you:<br><br>", 0), 0u);
  EXPECT_NE(body.find("<b>Surah 2, Verse 255</b>:<br><div dir='rtl'>"), std::string::npos);
  EXPECT_NE(body.find("<br><br><b>" + ChapterInfo::getTranslationNameForNumber(1) + "</b>:<br>"), std::string::npos);
  EXPECT_NE(body.find("Notes:<br>&lt;b&gt;bold&lt;/b&gt; &amp; more<br>second line<br><hr><br>"), std::string::npos);
  EXPECT_EQ(body.find("<b>bold</b>"), std::string::npos);
  // The verse without a note ends its block with the rule alone.
  EXPECT_NE(body.find(ChapterInfo::getTranslationFor(content(), 1, 3, 2) + "<br><hr><br>"), std::string::npos);
  EXPECT_NE(body.find("via Zarvel HD</a><br><br>"), std::string::npos);

  ui::MailMessage sent;
  ui::MailComposeViewController::setMailEnabled(true);
  ui::MailComposeViewController::setHandler([&](const ui::MailMessage& m, const std::string&, std::string&) {
    sent = m;
    return ui::MailComposeResult::Sent;
  });
  tapView(*l.btnBatchShare);
  ASSERT_TRUE(l.mailComposer);
  l.mailComposer->send();
  settle(0.5);
  EXPECT_TRUE(sent.isHTML);
  EXPECT_EQ(sent.body, body);
  ui::MailComposeViewController::setHandler(nullptr);
}

TEST_F(BookmarkActionsTest, KeysMoveOpenAndRemoveAfterAConfirmation) {
  bookmark(2, 7);
  bookmark(2, 9);
  launch(Orientation::LandscapeRight);
  auto& l = openTab();
  ASSERT_TRUE(l.txtSearchBar()->isFirstResponder());
  // Enter ends the filter's editing; Down picks a bookmark and Enter opens it.
  backend().key("Return");
  settle(0.3);
  EXPECT_FALSE(l.txtSearchBar()->isFirstResponder());
  backend().key("Down");
  backend().key("Down");
  ASSERT_TRUE(l.tblBookmarks()->indexPathForSelectedRow());
  EXPECT_EQ(*l.tblBookmarks()->indexPathForSelectedRow(), (ui::IndexPath{0, 1}));
  backend().key("Return");
  settle(1.5);
  EXPECT_EQ(reading().iCurrentSurah(), 2);
  EXPECT_EQ(reading().iCurrentVerse(), 9);

  // Delete in batch editing asks first; Cancel keeps them, Remove removes them.
  l.btnMorePressed();
  check(l, 0, 0);
  backend().key("Delete");
  auto* confirm = ui::ButtonPanel::visiblePanel();
  ASSERT_NE(confirm, nullptr);
  EXPECT_EQ(confirm->message(), "Remove the 1 selected bookmarks?");
  confirm->tapButtonAtIndex(confirm->cancelButtonIndex());
  settle(0.3);
  EXPECT_EQ(storedCount(), 2);
  backend().key("Delete");
  confirm = ui::ButtonPanel::visiblePanel();
  ASSERT_NE(confirm, nullptr);
  confirm->tapButtonAtIndex(confirm->firstOtherButtonIndex());
  settle(0.3);
  EXPECT_EQ(storedCount(), 1);
  EXPECT_EQ(shown(l), (Rows{{2, {9}}}));
  // The list with the keys (batch editing gives them to it), dropped with its
  // tab, leaves none behind it.
  if (l.IsEditing()) l.btnMorePressed();
  l.btnMorePressed();
  ASSERT_TRUE(l.isFirstResponder());
  root->tabbarButtonPressed(3);
  backend().key("Down");
}

}  // namespace
}  // namespace bookmarkstest
