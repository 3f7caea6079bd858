// What the reader does with bookmarks: the sheet of a held row (note,
// unbookmark, move), batch editing with its bar (move, mail, remove),
// deleting, moving through the groups screen in a popover, mailing, and the
// keys.
#include <algorithm>
#include <cmath>

#include "Classes/bookmarks/BookmarkCell.h"
#include "Classes/bookmarks/BookmarkCellView.h"
#include "Classes/bookmarks/BookmarkGroupsViewController.h"
#include "Classes/bookmarks/BookmarksViewController.h"
#include "Classes/common/ScreenMail.h"
#include "Classes/common/ScreenSupport.h"
#include "Classes/common/iPadConnectionDelegate.h"
#include "Classes/core/String+More.h"
#include "Classes/notes/MailText.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"

namespace {

using screens::localized;
using screens::numberText;

constexpr int kRowSheetTag = 1;
constexpr int kRemoveAlertTag = 2;
constexpr unsigned kPopoverFromBatchBar = 2;  // the arrow points down
constexpr unsigned kPopoverFromRow = 15;      // any direction


}  // namespace

// ---- the sheet of a held row ----------------------------------------------------------------

void BookmarksViewController::tapAndHoldRow(BookmarkCell& cell) {
  removeCurrentSelection();
  auto path = tblBookmarks_->indexPathForCell(&cell);
  BookmarkPtr bookmark = cell.cellView()->ThisBookmark();
  if (!path || !bookmark) return;
  selectedCell_ = path;
  tblBookmarks_->selectRowAtIndexPath(*path, false, ui::TableViewScrollPosition::None);
  currTblOffset = tblBookmarks_->contentOffset();
  std::string title = ns::format("%s %s, %s %s", localized("Sura").c_str(), numberText(bookmark->surah()).c_str(),
                                 localized("Aya").c_str(), numberText(bookmark->verse()).c_str());
  currentSheet_ = std::make_shared<ui::ActionSheet>(
      title, self(), localized("Cancel"), "",
      std::vector<std::string>{localized(bookmark->hasNote() ? "Edit Note" : "Add Note"), localized("Unbookmark"),
                               localized("Move")});
  currentSheet_->setTag(kRowSheetTag);
  currentSheet_->showFromRect(cell.frame(), tblBookmarks_.get(), true);
}

void BookmarksViewController::clickedButtonAtIndex(ui::ActionSheet& sheet, int index) {
  if (sheet.tag() != kRowSheetTag) return;
  std::shared_ptr<BookmarkCell> cell;
  if (selectedCell_) cell = std::dynamic_pointer_cast<BookmarkCell>(tblBookmarks_->cellForRowAtIndexPath(*selectedCell_));
  switch (index) {
    case 0:
      if (cell) {
        removeCurrentSelection();
        showNoteForBookmark(*cell);
        return;
      }
      break;
    case 1:
      if (auto path = selectedCell_) {
        selectedCell_.reset();  // the row goes: nothing is left to deselect
        deleteBookmarkAtIndexPath(*path);
      }
      break;
    case 2: {
      std::vector<BookmarkPtr> held;
      if (cell && cell->cellView()->ThisBookmark()) held.push_back(cell->cellView()->ThisBookmark());
      showMoveForBookmarks(std::move(held), cell.get(), tblBookmarks_.get(), kPopoverFromRow);
      break;
    }
    default:
      break;
  }
  removeCurrentSelection();
}

// ---- batch editing ---------------------------------------------------------------------------

void BookmarksViewController::btnMorePressed() {
  IsEditing_ = !tblBookmarks_->isEditing();
  tblBookmarks_->setEditing(IsEditing_, true);
  btnMore->setSelected(IsEditing_);
  if (!IsEditing_) {
    resetSelections();
    if (ipaddelegate_) ipaddelegate_->hideViewAboveNavBar(viewBatchEditBar_.get());
    return;
  }
  checkBatchButtons();
  if (ipaddelegate_) ipaddelegate_->showViewAboveNavBar(viewBatchEditBar_, 49);
  // The keys come to the list (Delete, Enter) rather than to the filter.
  if (txtSearchBar_->isFirstResponder()) txtSearchBar_->resignFirstResponder();
  takeKeys();
}

void BookmarksViewController::leaveBatchEditing() {
  tblBookmarks_->setEditing(false, true);
  IsEditing_ = false;
  btnMore->setSelected(false);
  if (ipaddelegate_) ipaddelegate_->hideViewAboveNavBar(viewBatchEditBar_.get());
}

std::vector<BookmarkPtr> BookmarksViewController::selectedBookmarks() const {
  std::vector<BookmarkPtr> chosen;
  for (const BookmarkPtr& section : arrSectionedBookmarks_)
    for (const BookmarkPtr& bookmark : *section->AllBookmarks())
      if (bookmark->IsSelected()) chosen.push_back(bookmark);
  return chosen;
}

void BookmarksViewController::checkBatchButtons() {
  if (!btnBatchMove) return;
  bool any = !selectedBookmarks().empty();
  static const char* const kBatchTitles[] = {"Move", "Mail", "Remove"};
  ui::Button* buttons[] = {btnBatchMove.get(), btnBatchShare.get(), btnBatchRemove.get()};
  for (int i = 0; i < 3; ++i) {
    buttons[i]->setEnabled(any);
    for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted, ui::ControlStateDisabled})
      buttons[i]->setTitle(localized(kBatchTitles[i]), state);
  }
}

void BookmarksViewController::resetSelections() {
  for (const BookmarkPtr& section : arrSectionedBookmarks_)
    for (const BookmarkPtr& bookmark : *section->AllBookmarks()) bookmark->setIsSelected(false);
  for (auto& cell : tblBookmarks_->visibleCells())
    if (auto* c = dynamic_cast<BookmarkCell*>(cell.get())) c->cellView()->refreshSelectionState();
}

void BookmarksViewController::batchEditButtonPressed(ui::Button* sender) {
  if (sender == btnBatchMove.get()) {
    showMoveForBookmarks(selectedBookmarks(), btnBatchMove.get(), viewBatchEditBar_.get(), kPopoverFromBatchBar);
  } else if (sender == btnBatchRemove.get()) {
    removeCheckedBookmarks();
  } else if (sender == btnBatchShare.get()) {
    mailSelectedBookmarks();
  }
}

void BookmarksViewController::removeCheckedBookmarks() {
  std::vector<ui::IndexPath> paths;
  for (size_t s = 0; s < arrSectionedBookmarks_.size(); ++s) {
    const auto& rows = *arrSectionedBookmarks_[s]->AllBookmarks();
    for (size_t r = 0; r < rows.size(); ++r)
      if (rows[r]->IsSelected()) paths.push_back({int(s), int(r)});
  }
  deleteBookmarkAtIndexPaths(paths);
}

// ---- deleting --------------------------------------------------------------------------------

void BookmarksViewController::deleteBookmarkAtIndexPaths(const std::vector<ui::IndexPath>& indexPaths) {
  sqlite3* db = screens::userDatabase();
  std::vector<BookmarkPtr> goneSections, goneBookmarks;
  std::vector<int> goneSectionIndexes;
  tblBookmarks_->beginUpdates();
  for (const ui::IndexPath& p : indexPaths) {
    if (p.section < 0 || p.section >= int(arrSectionedBookmarks_.size())) continue;
    const BookmarkPtr& section = arrSectionedBookmarks_[size_t(p.section)];
    if (BookmarkPtr bookmark = bookmarkAt(p)) {
      if (ipaddelegate_ && ipaddelegate_->IsShowingNotes() &&
          ipaddelegate_->isShowingNoteEditorFor(bookmark->surah(), bookmark->verse()))
        ipaddelegate_->hideNotesWithOutSave();
      // Both rows of the verse go, with and without the audio flag.
      if (db) {
        ChapterInfo::deleteBookmark(db, bookmark->surah(), bookmark->verse(), false);
        ChapterInfo::deleteBookmark(db, bookmark->surah(), bookmark->verse(), true);
      }
      section->setSectionBookmarkCount(section->SectionBookmarkCount() - 1);
      goneBookmarks.push_back(bookmark);
      tblBookmarks_->deleteRowsAtIndexPaths({p}, ui::TableViewRowAnimation::Fade);
    }
    if (section->SectionBookmarkCount() < 1 &&
        std::find(goneSections.begin(), goneSections.end(), section) == goneSections.end()) {
      goneSections.push_back(section);
      goneSectionIndexes.push_back(p.section);
      tblBookmarks_->deleteSections({p.section}, ui::TableViewRowAnimation::Fade);
    }
  }
  std::sort(goneSectionIndexes.rbegin(), goneSectionIndexes.rend());
  for (int s : goneSectionIndexes)
    if (s < int(arrSectionViews_.size())) arrSectionViews_.erase(arrSectionViews_.begin() + s);
  for (const BookmarkPtr& section : goneSections)
    arrSectionedBookmarks_.erase(std::find(arrSectionedBookmarks_.begin(), arrSectionedBookmarks_.end(), section));
  for (const BookmarkPtr& bookmark : goneBookmarks)
    for (size_t s = 0; s < arrSectionedBookmarks_.size(); ++s) {
      auto& rows = *arrSectionedBookmarks_[s]->AllBookmarks();
      auto it = std::find(rows.begin(), rows.end(), bookmark);
      if (it == rows.end()) continue;
      rows.erase(it);
      if (!rows.empty()) rows.back()->setIsLastInSection(true);
      // A header the table has not shown since the load gets its section when it does.
      if (s < arrSectionViews_.size() && arrSectionViews_[s]->ThisBookmark()) arrSectionViews_[s]->refresh();
    }
  tblBookmarks_->endUpdates();
  if (arrSectionedBookmarks_.empty() && (tblBookmarks_->isEditing() || IsEditing_)) leaveBatchEditing();
  showNoBookmarks(arrSectionedBookmarks_.empty());
  checkBatchButtons();
  refreshBookmarkBadge();
  ns::NotificationCenter::defaultCenter().postNotificationName("TranslationDidChange");
}

// ---- moving ----------------------------------------------------------------------------------

ui::PopoverController& BookmarksViewController::createPopoverViewWithController(
    std::shared_ptr<ui::ViewController> content) {
  if (!popoverView_) {
    popoverView_ = std::make_shared<ui::PopoverController>(std::move(content));
    popoverView_->setDelegate(self());
  } else {
    popoverView_->setPassthroughViews({});
    popoverView_->setContentViewController(std::move(content));
  }
  return *popoverView_;
}

void BookmarksViewController::showMoveForBookmarks(std::vector<BookmarkPtr> bookmarks, ui::View* anchor,
                                                   ui::View* inView, unsigned position) {
  auto groups = std::make_shared<BookmarkGroupsViewController>();
  groups->setupMovingMode(std::move(bookmarks));
  lastButtonTapped = anchor ? anchor->weak_from_this() : std::weak_ptr<ui::View>();
  lastPopoverRect = anchor ? anchor->frame() : cg::Rect();
  lastPopoverView = inView ? inView->weak_from_this() : std::weak_ptr<ui::View>();
  lastPopoverPosition = position;
  auto& popover = createPopoverViewWithController(groups);
  popover.setPopoverContentSize(cg::Size{320, 412}, true);
  cg::Rect r = lastPopoverRect;
  popover.presentPopoverFromRect(
      cg::Rect(r.x() + std::trunc(r.width() * 0.5f), r.y() + std::trunc(r.height() * 0.5f) - 10, 5, 5), inView,
      position, true);
}

// ---- mailing ---------------------------------------------------------------------------------

// Every text from the store or the reader is escaped, so it shows as written
// and adds no markup of its own.
std::string BookmarksViewController::batchMailBody() const {
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  int P = int(defaults.integerForKey("CurrentTranslationPrimary"));
  int S = int(defaults.integerForKey("CurrentTranslationSecondary"));
  sqlite3* content = screens::contentDatabase();
  sqlite3* user = screens::userDatabase();
  std::string html = localized("I would like to share the following Qur'anic verses with you") + ":<br><br>";
  // The second translation only when the root shows it.
  int secondary = ipaddelegate_ && ipaddelegate_->isSecondaryTranslationVisible() ? S : 0;
  for (const BookmarkPtr& b : selectedBookmarks()) {
    int surah = b->surah(), verse = b->verse();
    html += mailtext::verseHTML(content, surah, verse, P, secondary);
    if (b->hasNote()) {
      std::string note = user ? ChapterInfo::getBookmarkNote(user, surah, verse) : "";
      html += "<br><br>" + localized("Notes") + ":<br>" + mailtext::escapeForHTML(note) + "<br><hr><br>";
    } else {
      html += "<br><hr><br>";
    }
  }
  html += "<br><br><br>" + mailtext::storeLinkHTML(localized("via Zarvel HD")) + "<br><br>";
  return html;
}

void BookmarksViewController::mailSelectedBookmarks() {
  if (!screens::canSendMailOrSay()) return;
  ui::ViewController* presenter = ipaddelegate_ ? ipaddelegate_->getViewController() : nullptr;
  mailComposer = screens::presentMail(batchMailBody(), self(), presenter ? *presenter : *this);
}

void BookmarksViewController::mailComposeController(ui::MailComposeViewController&, ui::MailComposeResult result,
                                                    const std::string& error) {
  ui::ViewController* presenter = ipaddelegate_ ? ipaddelegate_->getViewController() : nullptr;
  screens::finishMail(result, error, presenter ? *presenter : *this);
  mailComposer.reset();
}

// ---- keys --------------------------------------------------------------------------------------

void BookmarksViewController::confirmBatchRemove() {
  int count = int(selectedBookmarks().size());
  if (count == 0) return;
  removeAlert_ = std::make_shared<ui::AlertView>(
      localized("Remove Bookmarks"),
      ns::searchReplace(localized("Remove the %@ selected bookmarks?"), "%@", numberText(count)), self(),
      localized("Cancel"), std::vector<std::string>{localized("Remove")});
  removeAlert_->setTag(kRemoveAlertTag);
  removeAlert_->show();
}

void BookmarksViewController::clickedButtonAtIndex(ui::AlertView& alert, int index) {
  if (alert.tag() != kRemoveAlertTag || index != alert.firstOtherButtonIndex()) return;
  removeAlert_.reset();
  if (IsEditing_) removeCheckedBookmarks();
}

void BookmarksViewController::keyDown(const ui::KeyEvent& key) {
  if (!tblBookmarks_ || loadingBookmarks_) return ui::ViewController::keyDown(key);
  if (key.key == "Delete" && IsEditing_) {
    confirmBatchRemove();
    return;
  }
  if (key.key == "Up" || key.key == "Down") {
    // The next or previous bookmark of an unfolded section.
    std::vector<ui::IndexPath> rows;
    for (size_t s = 0; s < arrSectionedBookmarks_.size(); ++s)
      if (!arrSectionedBookmarks_[s]->IsSectionCollapsed())
        for (size_t r = 0; r < arrSectionedBookmarks_[s]->AllBookmarks()->size(); ++r) rows.push_back({int(s), int(r)});
    if (rows.empty()) return;
    auto current = tblBookmarks_->indexPathForSelectedRow();
    auto it = current ? std::find(rows.begin(), rows.end(), *current) : rows.end();
    size_t i = it == rows.end() ? (key.key == "Down" ? 0 : rows.size() - 1)
               : key.key == "Down" ? std::min(size_t(it - rows.begin()) + 1, rows.size() - 1)
                                   : size_t(std::max<long>(long(it - rows.begin()) - 1, 0));
    tblBookmarks_->selectRowAtIndexPath(rows[i], true, ui::TableViewScrollPosition::None);
    return;
  }
  if (key.key == "Return") {
    if (auto path = tblBookmarks_->indexPathForSelectedRow()) {
      if (selectedCell_ && *selectedCell_ == *path) return;  // the held row: its sheet is up
      didSelectRowAtIndexPath(tblBookmarks_.get(), *path);
    }
    return;
  }
  ui::ViewController::keyDown(key);
}
