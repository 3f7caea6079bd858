// The bookmarks table: one section per surah with its header view, one row
// per bookmark of an unfolded section; nothing while a load runs.
#include "Classes/bookmarks/BookmarkCell.h"
#include "Classes/bookmarks/BookmarkCellView.h"
#include "Classes/bookmarks/BookmarksViewController.h"

int BookmarksViewController::numberOfSectionsInTableView(ui::TableView*) { return int(arrSectionedBookmarks_.size()); }

int BookmarksViewController::numberOfRowsInSection(ui::TableView*, int section) {
  if (loadingBookmarks_) return 0;
  btnMore->setEnabled(!arrSectionedBookmarks_.empty());
  if (section < 0 || section >= int(arrSectionedBookmarks_.size())) return 0;
  const BookmarkPtr& s = arrSectionedBookmarks_[size_t(section)];
  return s->IsSectionCollapsed() ? 0 : int(s->AllBookmarks()->size());
}

float BookmarksViewController::heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) {
  if (loadingBookmarks_) return 0;
  int s = indexPath.section;
  if (s >= 0 && s < int(arrSectionedBookmarks_.size()) && arrSectionedBookmarks_[size_t(s)]->IsSectionCollapsed())
    return 0;
  return 44;
}

std::shared_ptr<ui::View> BookmarksViewController::viewForHeaderInSection(ui::TableView*, int section) {
  if (loadingBookmarks_ || section < 0 || section >= int(arrSectionViews_.size())) return nullptr;
  const auto& header = arrSectionViews_[size_t(section)];
  header->setThisBookmark(arrSectionedBookmarks_[size_t(section)]);
  return header;
}

std::optional<float> BookmarksViewController::heightForHeaderInSection(ui::TableView*, int section) {
  return loadingBookmarks_ || section < 0 || section >= int(arrSectionViews_.size()) ? 0.0f : 44.0f;
}

std::shared_ptr<ui::TableViewCell> BookmarksViewController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                                 const ui::IndexPath& indexPath) {
  auto cell = std::dynamic_pointer_cast<BookmarkCell>(tableView->dequeueReusableCellWithIdentifier("VerseCell"));
  if (!cell) {
    cell = std::make_shared<BookmarkCell>(ui::TableViewCellStyle::Default, "VerseCell");
    cell->cellView()->setViewController(std::static_pointer_cast<BookmarksViewController>(shared_from_this()));
  }
  int s = indexPath.section;
  if (loadingBookmarks_ || s < 0 || s >= int(arrSectionedBookmarks_.size())) return cell;
  const BookmarkPtr& section = arrSectionedBookmarks_[size_t(s)];
  if (section->IsSectionCollapsed()) {
    cell->cellView()->setThisBookmark(nullptr);
  } else if (BookmarkPtr bookmark = bookmarkAt(indexPath)) {
    cell->cellView()->setThisBookmark(bookmark);
    cell->cellView()->refreshSelectionState();
  }
  return cell;
}

bool BookmarksViewController::canEditRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) {
  BookmarkPtr bookmark = bookmarkAt(indexPath);
  return bookmark && !bookmark->IsSurahSection();
}

ui::TableViewCellEditingStyle BookmarksViewController::editingStyleForRowAtIndexPath(ui::TableView*,
                                                                                     const ui::IndexPath&) {
  return IsEditing_ ? ui::TableViewCellEditingStyle::None : ui::TableViewCellEditingStyle::Delete;
}

void BookmarksViewController::commitEditingStyle(ui::TableView*, ui::TableViewCellEditingStyle,
                                                 const ui::IndexPath& indexPath) {
  deleteBookmarkAtIndexPath(indexPath);
}
