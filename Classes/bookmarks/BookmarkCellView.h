#pragma once
// One line of the bookmarks list for a Bookmark record: either a surah's
// section header (number, name as text or calligraphic image, count badge,
// fold arrow; the whole line folds the section) or a bookmark (verse badge,
// Arabic text, translation, a mark for a note, prostration, juz or hizb
// quarter, a bottom rule). It shows the check circle of batch editing and
// reports a hold of 0.7 s. Section headers stand alone; bookmark lines live
// in a BookmarkCell. Main thread only.
#include <memory>

#include "Classes/bookmarks/BookmarkCellHost.h"
#include "Classes/common/SurahSectionHeader.h"
#include "Classes/core/Bookmark.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

class BookmarkCell;

class BookmarkCellView : public ui::View {
 public:
  explicit BookmarkCellView(cg::Rect frame);
  ~BookmarkCellView() override;

  // Not retained.
  void setViewController(std::weak_ptr<BookmarkCellHost> host) { viewController_ = std::move(host); }
  // The hosting cell, which owns this view (none for a section header).
  void setCell(BookmarkCell* cell) { thisCell = cell; }
  BookmarkCell* cell() const { return thisCell; }
  const BookmarkPtr& ThisBookmark() const { return ThisBookmark_; }
  // A different record (or none) is shown at once; the same one again changes nothing.
  void setThisBookmark(BookmarkPtr bookmark);
  // Lets the record go without showing it: for a header that shows nothing
  // until it is given its next record.
  void releaseBookmark() { ThisBookmark_.reset(); }
  // A plain list: section headers made afterwards have no count badge.
  void setDuaMode() { dueMode = true; }

  void refresh();
  void refreshMeta(bool selected);
  void refreshSelectionState();
  void toggleSelection();
  void setSelected(bool selected);
  void setHighlighted(bool highlighted);
  void setEditing(bool editing, bool animated);

  void btnCollapsePressed();
  void btnVerseMetaPressed();
  void noteButtonPressed();
  void bookmarkButtonPressed();

  void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;
  void tapNHoldFired();
  void cancelTapNHold();

  // The parts, for the list's tests and pictures.
  SurahSectionHeader header;
  std::shared_ptr<ui::View> contentView;
  std::shared_ptr<ui::ImageView> imgEditCircle;
  std::shared_ptr<ui::Button> btnVerse, btnVerseMeta;
  std::shared_ptr<ui::Label> lblArabicVerse, lblTranslation;
  std::shared_ptr<ui::View> viewBorder;

 private:
  void refreshHeader();
  void refreshBookmarkLine();
  void makeBookmarkParts();
  void setMetaImages(const char* normalName, const char* litName, bool selected);
  void setHighlightedText(bool lit);
  bool cellIsEditing() const;
  bool cellIsSelected() const;

  std::weak_ptr<BookmarkCellHost> viewController_;
  BookmarkCell* thisCell = nullptr;
  BookmarkPtr ThisBookmark_;
  bool dueMode = false;
};
