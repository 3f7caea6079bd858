#include "Classes/bookmarks/BookmarksViewController.h"

#include <algorithm>

#include "Classes/bookmarks/BookmarkCell.h"
#include "Classes/bookmarks/BookmarkCellView.h"
#include "Classes/bookmarks/BookmarkFilter.h"
#include "Classes/common/ScreenSupport.h"
#include "Classes/common/iPadConnectionDelegate.h"
#include "Classes/core/DatabaseWorkers.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/String.h"
#include "platform/foundation/Thread.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"

namespace {

using screens::localized;

const char* const kGroupTitles[5] = {"All Bookmarks", "Reading", "Memorizing", "Interesting", "Discussion"};

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

int storedInt(const char* key) { return int(defaults().integerForKey(key)); }

// The bookmarks as sections of one surah each, in surah order, with their
// fold state and the last bookmark of each marked.
std::vector<BookmarkPtr> sectionsOf(sqlite3* db, const std::vector<BookmarkPtr>& bookmarks) {
  std::vector<BookmarkPtr> sections;
  BookmarkPtr section, previous;
  int count = 0;
  for (const BookmarkPtr& bookmark : bookmarks) {
    if (!section || bookmark->surah() != section->surah()) {
      if (section) section->setSectionBookmarkCount(count);
      if (previous) previous->setIsLastInSection(true);
      section = std::make_shared<Bookmark>();
      section->setSurah(bookmark->surah());
      section->setIsSurahSection(true);
      section->setIsSectionCollapsed(ChapterInfo::hasBookmarkSectionCollapsed(db, bookmark->surah()));
      sections.push_back(section);
      count = 0;
    }
    section->AllBookmarks()->push_back(bookmark);
    previous = bookmark;
    ++count;
  }
  if (previous) previous->setIsLastInSection(true);
  if (section) section->setSectionBookmarkCount(count);
  return sections;
}

}  // namespace

BookmarksViewController::BookmarksViewController() = default;

BookmarksViewController::~BookmarksViewController() {
  ns::RunLoop::main().cancelPreviousPerformRequests(this);
  // The window holds its first responder without owning it.
  if (auto window = std::static_pointer_cast<ui::Window>(keysWindow_.lock()); window && window->firstResponder() == this)
    window->clearFirstResponder();
  if (popoverView_ && popoverView_->isPopoverVisible()) popoverView_->dismissPopoverAnimated(false);
}

std::shared_ptr<BookmarksViewController> BookmarksViewController::self() {
  return std::static_pointer_cast<BookmarksViewController>(shared_from_this());
}

void BookmarksViewController::setGroupFilter(int group) {
  currentGroupFilter_ = group;
  if (storedInt("LastCurrentGroupFilter") != group) {
    usePrevOffset = false;
    if (lblNavTitle) defaults().setInteger(group, "LastCurrentGroupFilter");
  }
  defaults().setInteger(group, "CurrentGroupFilter");
  defaults().synchronize();
  refreshView();
}

// ---- view life ---------------------------------------------------------------------------------

void BookmarksViewController::viewDidLoad() {
  bookmarksChanged_ = true;
  auto& center = ns::NotificationCenter::defaultCenter();
  std::weak_ptr<BookmarksViewController> weak = self();
  for (const char* name : {"BookmarkDidChange", "ArabicLanguageChanged", "TranslationDidChange"})
    observers_.push_back(center.addObserver(name, [weak](const ns::Value&) {
      if (auto me = weak.lock()) me->bookmarkDidChange();
    }));
  txtSearchBar_->setPlaceholder(localized("Search Bookmarks"));
  txtSearchBar_->setDelegate(self());
  tblBookmarks_->setDataSource(self());
  tblBookmarks_->setDelegate(self());
  for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted})
    btnGroups->setTitle(localized("Groups"), state);
  btnGroups->setBackgroundImage(screens::stretchedImage("ipad-button-arrow-left.png", 19, 0), ui::ControlStateNormal);
  btnGroups->setBackgroundImage(screens::stretchedImage("ipad-button-arrow-left-t.png", 19, 0),
                                ui::ControlStateHighlighted);
  currentGroupFilter_ = storedInt("CurrentGroupFilter");
  makeOpaqueLayer(*view());
  currTblOffset = cg::Point(0, float(std::max(0, storedInt("LastBookmarkYOffset"))));
  usePrevOffset = true;
  if (storedInt("LastCurrentGroupFilter") != storedInt("CurrentGroupFilter")) {
    usePrevOffset = false;
    defaults().setInteger(storedInt("CurrentGroupFilter"), "LastCurrentGroupFilter");
    defaults().synchronize();
  }
  if (auto* background = txtSearchBar_->backgroundView()) background->setAlpha(0);
  lblNoBookmarks->setText(localized("No Bookmarks Found"));
}

void BookmarksViewController::viewWillAppear(bool) {
  auto& center = ns::NotificationCenter::defaultCenter();
  std::weak_ptr<BookmarksViewController> weak = self();
  keyboardObservers_.clear();
  keyboardObservers_.push_back(center.addObserver(ui::KeyboardWillShowNotification, [weak](const ns::Value& info) {
    if (auto me = weak.lock()) me->keyboardWillShow(info);
  }));
  keyboardObservers_.push_back(center.addObserver(ui::KeyboardWillHideNotification, [weak](const ns::Value& info) {
    if (auto me = weak.lock()) me->keyboardWillHide(info);
  }));
  lastVerseNoteShowing = -1;
  refreshTheme();
  tblBookmarks_->setContentOffset(cg::Point(0, 0), false);
  viewIsVisible = true;
  if (bookmarksChanged_) {
    setupBookmarkRows();
  } else if (usePrevOffset) {
    float y = std::min(float(storedInt("LastBookmarkYOffset")), tblBookmarks_->contentSize().height);
    currTblOffset = cg::Point(0, std::max(0.0f, y));
    tblBookmarks_->setContentOffset(currTblOffset, false);
  }
  refreshBookmarkBadge();
  checkBatchButtons();
}

void BookmarksViewController::viewDidAppear(bool) {
  viewIsVisible = true;
  // On the desktop the filter takes the keys as soon as the list shows; the
  // overlay waits for typing, so that a first click still reaches the list.
  if (!IsEditing_ && txtSearchBar_ && txtSearchBar_->window() && !txtSearchBar_->isFirstResponder()) {
    quietFocus_ = true;
    txtSearchBar_->becomeFirstResponder();
  }
}

// The list takes the keys, and remembers the window that gives them, so that
// it can give them back from wherever it goes.
void BookmarksViewController::takeKeys() {
  ui::Window* window = view()->window();
  if (!window || !becomeFirstResponder()) return;
  keysWindow_ = window->weak_from_this();
}

void BookmarksViewController::viewWillDisappear(bool) {
  if (isFirstResponder()) resignFirstResponder();
  keyboardObservers_.clear();
  usePrevOffset = true;
  currTblOffset = tblBookmarks_->contentOffset();
  defaults().setInteger(int(currTblOffset.y), "LastBookmarkYOffset");
  defaults().synchronize();
  viewIsVisible = false;
  refreshBookmarkBadge();
  if (keyboardIsShowing) showHideKeyboard(false);
}

void BookmarksViewController::viewDidUnload() {
  viewIsVisible = false;
  keyboardIsShowing = false;
  usePrevOffset = true;
  bookmarksChanged_ = true;
  observers_.clear();
  keyboardObservers_.clear();
}

bool BookmarksViewController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) {
  if (popoverView_ && popoverView_->isPopoverVisible()) popoverView_->dismissPopoverAnimated(false);
  if (currentSheet_ && currentSheet_->isVisible()) currentSheet_->dismissWithClickedButtonIndex(3, false);
  currentSheet_.reset();
  removeCurrentSelection();
  return true;
}

void BookmarksViewController::didRotateFromInterfaceOrientation(ui::InterfaceOrientation) {
  if (popoverView_ && popoverView_->isPopoverVisible()) popoverView_->dismissPopoverAnimated(false);
}

void BookmarksViewController::refreshTheme() {
  if (!imgTopBarBG) return;
  imgTopBarBG->setImage(screens::stretchedImage("ipad-column-header-s9.png", 5, 0));
  lblNavTitle->setContentMode(ui::ContentMode::Center);
}

// ---- the list ----------------------------------------------------------------------------------

void BookmarksViewController::refreshViewWithRetry() {
  if (loadingBookmarks_) {
    ns::RunLoop::main().cancelPreviousPerformRequests(this, "refreshViewWithRetry");
    std::weak_ptr<BookmarksViewController> weak = self();
    ns::RunLoop::main().performAfter(this, "refreshViewWithRetry", 0.2, [weak] {
      if (auto me = weak.lock()) me->refreshViewWithRetry();
    });
    return;
  }
  setupBookmarkRows(true);
}

// A key in the filter narrows the bookmarks already read; every other
// request reads them again.
void BookmarksViewController::setupBookmarkRows(bool narrowLoaded) {
  if (!isViewLoaded()) return;  // the view's load asks for the list itself
  if (currentGroupFilter_ >= 0 && currentGroupFilter_ <= 4) lblNavTitle->setText(localized(kGroupTitles[currentGroupFilter_]));
  currentGroupFilter_ = storedInt("CurrentGroupFilter");
  if (storedInt("LastCurrentGroupFilter") != currentGroupFilter_) {
    usePrevOffset = false;
    defaults().setInteger(currentGroupFilter_, "LastCurrentGroupFilter");
    defaults().synchronize();
  }
  if (!isTextFilterResults) tblBookmarks_->setAlpha(0);
  activityView->startAnimating();
  if (loadingBookmarks_) {
    // Run when the load in progress ends, with what is current then.
    reloadPending_ = true;
    pendingNarrows_ = pendingNarrows_ && narrowLoaded;
    return;
  }
  loadingBookmarks_ = true;
  if (currentGroupFilter_ == 0) currentGroupFilter_ = -1;
  std::string text = txtSearchBar_->text();
  std::optional<std::string> filter = text.empty() ? std::nullopt : std::optional<std::string>(text);
  int group = currentGroupFilter_;
  std::shared_ptr<BookmarkFilter> loaded = narrowLoaded && loaded_ && loaded_->group() == group ? loaded_ : nullptr;
  sqlite3* db = screens::userDatabase();
  sqlite3* content = screens::contentDatabase();
  std::weak_ptr<BookmarksViewController> weak = self();
  ns::Thread::detachNewThread("setupBookmarkRowsInBG", [weak, db, content, group, filter, loaded] {
    auto pass = DatabaseWorkers::enter();
    if (!pass || !db) return;  // the connections are closing with the application
    auto bookmarks = loaded ? loaded : BookmarkFilter::load(db, group);
    auto shown = loaded || filter ? bookmarks->matching(db, content, filter) : bookmarks->records();
    auto sections = std::make_shared<std::vector<BookmarkPtr>>(sectionsOf(db, shown));
    ns::RunLoop::main().post([weak, sections, bookmarks] {
      if (auto me = weak.lock()) me->doneLoadingBookmarks(std::move(*sections), bookmarks);
    });
  });
}

void BookmarksViewController::doneLoadingBookmarks(std::vector<BookmarkPtr> sections,
                                                   std::shared_ptr<BookmarkFilter> loaded) {
  arrSectionedBookmarks_ = std::move(sections);
  loaded_ = std::move(loaded);
  // One header per section; those of the last list are shown again with the
  // new records, each given its section when the table shows it.
  std::weak_ptr<BookmarkCellHost> host = self();
  arrSectionViews_.resize(std::min(arrSectionViews_.size(), arrSectionedBookmarks_.size()));
  for (const auto& header : arrSectionViews_) header->releaseBookmark();
  while (arrSectionViews_.size() < arrSectionedBookmarks_.size()) {
    auto header = std::make_shared<BookmarkCellView>(cg::Rect(0, 0, 320, 44));
    header->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleRightMargin);
    header->setViewController(host);
    arrSectionViews_.push_back(header);
  }
  activityView->stopAnimating();
  loadingBookmarks_ = false;
  tblBookmarks_->reloadData();
  if (usePrevOffset) tblBookmarks_->setContentOffset(currTblOffset, false);
  usePrevOffset = false;
  if (isTextFilterResults) {
    tblBookmarks_->setAlpha(1);
  } else {
    ui::View::beginAnimations("Show Table");
    ui::View::setAnimationDuration(0.1);
    tblBookmarks_->setAlpha(1);
    ui::View::commitAnimations();
  }
  refreshBookmarkBadge(loaded_ ? std::optional<int>(int(loaded_->size())) : std::nullopt);
  bookmarksChanged_ = false;
  showNoBookmarks(arrSectionedBookmarks_.empty());
  checkBatchButtons();  // the new records are not checked
  if (reloadPending_) {
    bool narrows = pendingNarrows_;
    reloadPending_ = false;
    pendingNarrows_ = true;
    setupBookmarkRows(narrows);
  }
}

void BookmarksViewController::showNoBookmarks(bool none) {
  btnMore->setEnabled(!none);
  if (!none) {
    lblNoBookmarks->setAlpha(0);
    return;
  }
  ui::View::beginAnimations("ShowNoBookmarks");
  ui::View::setAnimationDuration(0.3);
  lblNoBookmarks->setAlpha(1);
  ui::View::commitAnimations();
}

void BookmarksViewController::refreshBookmarkBadge(std::optional<int> count) {
  // The tab's stack, kept from the last appearance: a list just popped is off it.
  if (auto* nav = navigationController()) badgeHolder_ = nav->weak_from_this();
  auto nav = badgeHolder_.lock();
  if (!nav) return;
  std::string badge;
  if (viewIsVisible) {
    sqlite3* db = screens::userDatabase();
    if (!count) count = db ? ChapterInfo::getBookmarkCount(db, -1, currentGroupFilter_) : 0;
    if (*count > 0) badge = screens::numberText(*count);
  }
  nav->tabBarItem().badgeValue = badge;
}

void BookmarksViewController::bookmarkDidChange() {
  if (popoverView_ && popoverView_->isPopoverVisible()) {
    if ((tblBookmarks_ && tblBookmarks_->isEditing()) || IsEditing_) leaveBatchEditing();
    popoverView_->dismissPopoverAnimated(true);
  }
  if (viewIsVisible) setupBookmarkRows();
  else bookmarksChanged_ = true;
}

void BookmarksViewController::btnGroupPressed() {
  if (tblBookmarks_->isEditing()) btnMorePressed();
  if (auto* nav = navigationController()) nav->popViewControllerAnimated(true);
}

// ---- rows ---------------------------------------------------------------------------------------

BookmarkPtr BookmarksViewController::bookmarkAt(const ui::IndexPath& p) const {
  if (p.section < 0 || p.section >= int(arrSectionedBookmarks_.size())) return nullptr;
  const auto& rows = *arrSectionedBookmarks_[size_t(p.section)]->AllBookmarks();
  return p.row >= 0 && p.row < int(rows.size()) ? rows[size_t(p.row)] : nullptr;
}

void BookmarksViewController::sectionWithRow(const BookmarkPtr& section, bool willCollapse) {
  auto it = std::find(arrSectionedBookmarks_.begin(), arrSectionedBookmarks_.end(), section);
  if (it == arrSectionedBookmarks_.end()) return;
  int s = int(it - arrSectionedBookmarks_.begin());
  std::vector<ui::IndexPath> rows;
  for (int r = 0; r < int(section->AllBookmarks()->size()); ++r) rows.push_back({s, r});
  if (willCollapse) tblBookmarks_->deleteRowsAtIndexPaths(rows, ui::TableViewRowAnimation::Fade);
  else tblBookmarks_->insertRowsAtIndexPaths(rows, ui::TableViewRowAnimation::Fade);
}

void BookmarksViewController::removeCurrentSelection() {
  if (selectedCell_) {
    tblBookmarks_->deselectRowAtIndexPath(*selectedCell_, true);
    selectedCell_.reset();
  }
  if (txtSearchBar_) txtSearchBar_->resignFirstResponder();
}

void BookmarksViewController::openBookmark(const Bookmark& bookmark) {
  if (bookmark.IsSurahSection()) return;
  if (auto app = ZarvelSDKAppDelegate::GetInstance())
    app->showSurahView(bookmark.surah(), bookmark.verse(), bookmark.isAudio(), false);
}

void BookmarksViewController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  if (selectedCell_ && *selectedCell_ == indexPath) {
    // The row held for the sheet: its first tap is the end of the hold.
    if (!ignoreNextTap) {
      ignoreNextTap = true;
      return;
    }
    ignoreNextTap = false;
    removeCurrentSelection();
    return;
  }
  removeCurrentSelection();
  tableView->deselectRowAtIndexPath(indexPath, true);
  auto cell = std::dynamic_pointer_cast<BookmarkCell>(tableView->cellForRowAtIndexPath(indexPath));
  BookmarkPtr bookmark = bookmarkAt(indexPath);
  if (!bookmark) return;
  if (IsEditing_) {
    if (cell) cell->cellView()->toggleSelection();
    else bookmark->setIsSelected(!bookmark->IsSelected());
    checkBatchButtons();
    return;
  }
  openBookmark(*bookmark);
  if (ipaddelegate_ && ipaddelegate_->IsShowingNotes() && cell) showNoteForBookmark(*cell);
}

void BookmarksViewController::showNoteForBookmark(BookmarkCell& cell) {
  BookmarkPtr bookmark = cell.cellView()->ThisBookmark();
  if (!bookmark) return;
  int verse = bookmark->verse();
  if (ipaddelegate_)
    ipaddelegate_->showNotesForSurah(bookmark->surah(), verse, true, ipaddelegate_->IsViewInLandscape(), false,
                                     verse >= lastVerseNoteShowing);
  lastVerseNoteShowing = verse;
  openBookmark(*bookmark);
}

// ---- the keyboard --------------------------------------------------------------------------------

void BookmarksViewController::keyboardWillShow(const ns::Value& info) {
  cg::Size size = ui::keyboardRect(info, ui::KeyboardBoundsUserInfoKey).size;
  if (quietFocus_) {
    keyboardSize = size;  // the room is made when the reader starts typing
    return;
  }
  if (keyboardIsShowing) {
    if (size == keyboardSize) return;
    showHideKeyboard(false);  // shown again at another size: start from the whole table
  }
  keyboardSize = size;
  showHideKeyboard(true);
}

void BookmarksViewController::keyboardWillHide(const ns::Value& info) {
  quietFocus_ = false;
  if (!keyboardIsShowing) return;
  keyboardSize = ui::keyboardRect(info, ui::KeyboardBoundsUserInfoKey).size;
  showHideKeyboard(true);
}

// The table gives up (or takes back) the room the keyboard covers.
void BookmarksViewController::showHideKeyboard(bool animated) {
  if (!tblBookmarks_) return;
  keyboardIsShowing = !keyboardIsShowing;
  float d = keyboardSize.height - tblBookmarks_->frame().x() - txtSearchBar_->frame().height() - 5;
  cg::Rect f = tblBookmarks_->frame();
  f.size.height += keyboardIsShowing ? -d : d;
  if (animated) {
    ui::View::beginAnimations("Show Table");
    ui::View::setAnimationDuration(0.3);
  }
  tblBookmarks_->setFrame(f);
  if (animated) ui::View::commitAnimations();
}
