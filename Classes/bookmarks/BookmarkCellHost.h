#pragma once
// What a bookmark row asks of the list that holds it (the bookmarks screen):
// fold a section, open the sheet of a held row, open a note, whether batch
// editing is on, and the tablet root.
#include "Classes/core/Bookmark.h"

class BookmarkCell;
class iPadConnectionDelegate;

class BookmarkCellHost {
 public:
  virtual ~BookmarkCellHost() = default;
  // The header has flipped and stored the section's fold state.
  virtual void sectionWithRow(const BookmarkPtr& section, bool willCollapse) = 0;
  // A bookmark line was held for 0.7 s outside batch editing.
  virtual void tapAndHoldRow(BookmarkCell& cell) = 0;
  virtual void showNoteForBookmark(BookmarkCell& cell) = 0;
  virtual bool IsEditing() const = 0;
  virtual iPadConnectionDelegate* ipaddelegate() const = 0;
};
