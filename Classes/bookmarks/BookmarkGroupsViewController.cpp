#include "Classes/bookmarks/BookmarkGroupsViewController.h"

#include "Classes/common/ScreenSupport.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/ui/Screen.h"

namespace {

using screens::localized;

constexpr float kTopBarHeight = 44;
constexpr float kRowHeight = 60;

struct Group {
  const char* filterTitle;
  const char* moveTitle;
  const char* icon;
  const char* highlightedIcon;
};
// Row 1 ("Reading") has the "memo" icon and row 2 ("Memorizing") the "reading" one.
const Group kGroups[5] = {{"All Bookmarks", "No Group", "bk-bmg-all.png", "bk-bmg-all-t.png"},
                          {"Reading", "Reading", "bk-bmg-memo.png", "bk-bmg-memo-t.png"},
                          {"Memorizing", "Memorizing", "bk-bmg-reading.png", "bk-bmg-reading-t.png"},
                          {"Interesting", "Interesting", "bk-bmg-int.png", "bk-bmg-int-t.png"},
                          {"Discussion", "Discussion", "bk-bmg-disc.png", "bk-bmg-disc-t.png"}};

const cg::Color kDetailColour = cg::Color::fromRGB255(101, 100, 94);
const cg::Color kHeadingColour = cg::Color::fromRGB255(62, 74, 92);

}  // namespace

// ---- the row ---------------------------------------------------------------------------------

BookmarkGroupCellView::BookmarkGroupCellView(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : ui::TableViewCell(style, reuseIdentifier) {
  imgSide = std::make_shared<ui::ImageView>(cg::Rect(0, 0, 54, 63));
  contentView()->addSubview(imgSide);
  lblTitle = std::make_shared<ui::Label>(cg::Rect(60, 0, 150, frame().height()));
  lblTitle->setFont(ui::Font::fontWithName("Helvetica-Bold", 16));
  lblTitle->setHighlightedTextColor(cg::Color::white());
  lblTitle->setBackgroundColor(cg::Color::clear());
  lblTitle->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleRightMargin |
                                ui::ViewAutoresizingFlexibleHeight);
  contentView()->addSubview(lblTitle);
}

void BookmarkGroupCellView::setSelected(bool selected, bool animated) {
  ui::TableViewCell::setSelected(selected, animated);
  lblTitle->setHighlighted(selected || isHighlighted());
  imgSide->setHighlighted(selected || isHighlighted());
}

void BookmarkGroupCellView::setHighlighted(bool highlighted, bool animated) {
  ui::TableViewCell::setHighlighted(highlighted, animated);
  lblTitle->setHighlighted(highlighted || isSelected());
  imgSide->setHighlighted(highlighted || isSelected());
}

// ---- the screen ------------------------------------------------------------------------------

BookmarkGroupsViewController::BookmarkGroupsViewController() { setTitle(localized("Bookmark Groups")); }

void BookmarkGroupsViewController::setupMovingMode(std::vector<BookmarkPtr> bookmarks) {
  arrBookmarks_ = std::move(bookmarks);
  IsMovingMode_ = true;
}

// "BookmarkGroups": the heading bar, the five groups, the hint under them.
void BookmarkGroupsViewController::loadView() {
  float w = 288, h = ui::Screen::main().applicationFrame().height();
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, w, h));
  root->setAutoresizesSubviews(true);
  root->setBackgroundColor(cg::Color::white());

  imgBG = std::make_shared<ui::ImageView>(root->bounds());
  imgBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root->addSubview(imgBG);

  viewTopBar = std::make_shared<ui::View>(cg::Rect(0, 0, w, kTopBarHeight));
  viewTopBar->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopBar->setAutoresizesSubviews(true);
  root->addSubview(viewTopBar);
  imgTopBarBG = std::make_shared<ui::ImageView>(viewTopBar->bounds());
  imgTopBarBG->setImage(screens::stretchedImage("ipad-column-header-s9.png", 5, 0));
  imgTopBarBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopBar->addSubview(imgTopBarBG);
  lblTopLabel = std::make_shared<ui::Label>(cg::Rect(10, 0, w - 20, kTopBarHeight));
  lblTopLabel->setFont(ui::Font::fontWithName("Helvetica-Bold", 16));
  lblTopLabel->setTextColor(kHeadingColour);
  lblTopLabel->setTextAlignment(ui::TextAlignment::Center);
  lblTopLabel->setBackgroundColor(cg::Color::clear());
  lblTopLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopBar->addSubview(lblTopLabel);
  btnCancel = std::make_shared<ui::Button>(cg::Rect(w - 70, 7, 64, 30));
  btnCancel->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  btnCancel->addTarget(this, [this](ui::Control&) { btnCancelPressed(); }, ui::ControlEventTouchUpInside);
  viewTopBar->addSubview(btnCancel);

  tblGroups = std::make_shared<ui::TableView>(cg::Rect(0, kTopBarHeight, w, 5 * kRowHeight), ui::TableViewStyle::Plain);
  tblGroups->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  tblGroups->setScrollEnabled(false);
  root->addSubview(tblGroups);

  lblBottomNotice = std::make_shared<ui::Label>(cg::Rect(10, kTopBarHeight + 5 * kRowHeight + 8, w - 20, 44));
  lblBottomNotice->setFont(ui::Font::fontWithName("Helvetica", 13));
  lblBottomNotice->setTextColor(kDetailColour);
  lblBottomNotice->setTextAlignment(ui::TextAlignment::Center);
  lblBottomNotice->setNumberOfLines(2);
  lblBottomNotice->setBackgroundColor(cg::Color::clear());
  lblBottomNotice->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root->addSubview(lblBottomNotice);
  setView(root);
}

void BookmarkGroupsViewController::viewDidLoad() {
  btnCancel->setHidden(true);
  auto self = std::static_pointer_cast<BookmarkGroupsViewController>(shared_from_this());
  tblGroups->setDataSource(self);
  tblGroups->setDelegate(self);
  tblGroups->setSeparatorColor(cg::Color::fromRGB255(187, 211, 237));
  lblTopLabel->setText(localized("Bookmark Groups"));
  lblBottomNotice->setText(localized("Tap on a group to filter bookmarks"));
  rethemeUI();
}

void BookmarkGroupsViewController::rethemeUI() {
  if (!IsMovingMode_ || !lblTopLabel) return;
  lblTopLabel->setText(ns::format("%s (%i)", Language::get("Move Bookmarks", "Move Boomarks").c_str(),
                                  int(arrBookmarks_.size())));
  lblBottomNotice->setText(localized("To on a group to move selected bookmarks to"));
  lblTopLabel->setContentMode(ui::ContentMode::Center);
  lblBottomNotice->setContentMode(ui::ContentMode::Center);
}

void BookmarkGroupsViewController::viewWillAppear(bool) {
  if (tblGroups) tblGroups->reloadData();
}

std::shared_ptr<ui::TableViewCell> BookmarkGroupsViewController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                                      const ui::IndexPath& indexPath) {
  auto cell = std::dynamic_pointer_cast<BookmarkGroupCellView>(tableView->dequeueReusableCellWithIdentifier("VerseCell"));
  if (!cell) {
    cell = std::make_shared<BookmarkGroupCellView>(ui::TableViewCellStyle::Value1, "VerseCell");
    cell->detailTextLabel()->setFont(ui::Font::fontWithName("Helvetica", 15));
    cell->detailTextLabel()->setTextColor(kDetailColour);
  }
  int r = indexPath.row;
  if (r < 0 || r > 4) return cell;
  const Group& g = kGroups[r];
  cell->lblTitle->setText(localized(IsMovingMode_ ? g.moveTitle : g.filterTitle));
  cell->imgSide->setImage(ui::Image::imageNamed(g.icon));
  cell->imgSide->setHighlightedImage(ui::Image::imageNamed(g.highlightedIcon));
  cell->setAccessoryType(ui::TableViewCellAccessoryType::DisclosureIndicator);
  sqlite3* db = screens::userDatabase();
  int n = db ? ChapterInfo::getBookmarkCount(db, -1, r) : 0;
  bool noCount = n == 0 || (IsMovingMode_ && r == 0);
  cell->detailTextLabel()->setText(noCount ? "" : screens::numberText(n));
  return cell;
}

void BookmarkGroupsViewController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  tableView->deselectRowAtIndexPath(indexPath, true);
  int group = indexPath.row;
  if (group < 0 || group > 4) return;
  if (IsMovingMode_) {
    // The bookmarks screen closes the popover when it hears of the change.
    if (sqlite3* db = screens::userDatabase()) ChapterInfo::moveBookmarks(db, arrBookmarks_, group);
    ns::NotificationCenter::defaultCenter().postNotificationName("BookmarkDidChange");
    return;
  }
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->filterBookmarksOnGroup(group);
}
