#include "Classes/search/SavedSearchesViewController.h"

#include "Classes/common/ScreenMail.h"
#include "Classes/common/ScreenSupport.h"
#include "Classes/core/DatabaseWorkers.h"
#include "Classes/search/SavedSearchCell.h"
#include "Classes/search/SearchMarks.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Screen.h"

namespace {

using screens::localized;

constexpr float kTopBarHeight = 44;
constexpr float kNoticeHeight = 50;

// The five example searches of the first run.
struct Example {
  const char* text;
  int hits;
  int translation;
  bool highlighted;
};
const Example kExamples[] = {
    {"\u0628\u0633\u0645 \u0627\u0644\u0644\u0647", 3, 0, true},
    {"Allah AND Good", 169, 3, false},
    {"heaven OR hell", 176, 3, false},
    {"forgiv*", 196, 3, false},
    {"\"This is\" OR Test", 233, 3, false},
};

// The history, newest first; on the first run the examples follow.
std::vector<SavedSearchPtr> loadHistory(sqlite3* db) {
  std::vector<SavedSearchPtr> entries = ChapterInfo::getSavedSearch(db);
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  if (defaults.integerForKey("FirstTimeInstall") != 0) return entries;
  defaults.setObject(ns::Value(std::string("1")), "FirstTimeInstall");
  defaults.synchronize();
  for (const Example& e : kExamples) {
    auto entry = std::make_shared<SavedSearch>();
    entry->setStrSearchText(e.text);
    entry->setIHitCount(e.hits);
    entry->setITranslation(e.translation);
    entry->setIsReflectedInSurah(e.highlighted);
    entry->setISavedID(ChapterInfo::addSavedSearch(db, *entry));
    entries.push_back(entry);
  }
  return entries;
}

std::shared_ptr<ui::Button> topButton(cg::Rect frame) {
  auto b = std::make_shared<ui::Button>(frame);
  b->titleLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", 12));
  b->setTitleColor(cg::Color::white(), ui::ControlStateNormal);
  b->setTitleColor(cg::Color::white().withAlpha(0.4f), ui::ControlStateDisabled);
  screens::centreTitleAcrossButton(*b);
  return b;
}

}  // namespace

SavedSearchesViewController::SavedSearchesViewController() { setTitle(localized("Search History")); }

SavedSearchesViewController::~SavedSearchesViewController() = default;

std::shared_ptr<SavedSearchesViewController> SavedSearchesViewController::self() {
  return std::static_pointer_cast<SavedSearchesViewController>(shared_from_this());
}

// "SavedSearches": Edit, the title and Search over the notice and the list.
void SavedSearchesViewController::loadView() {
  float w = 288, h = ui::Screen::main().applicationFrame().height();
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, w, h));
  root->setBackgroundColor(cg::Color::white());
  root->setAutoresizesSubviews(true);
  imgBG = std::make_shared<ui::ImageView>(root->bounds());
  imgBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root->addSubview(imgBG);

  viewTopBar = std::make_shared<ui::View>(cg::Rect(0, 0, w, kTopBarHeight));
  viewTopBar->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopBar->setAutoresizesSubviews(true);
  root->addSubview(viewTopBar);
  imgTopBarBG = std::make_shared<ui::ImageView>(viewTopBar->bounds());
  imgTopBarBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopBar->addSubview(imgTopBarBG);
  btnEdit = topButton(cg::Rect(6, 7, 56, 30));
  btnEdit->addTarget(this, [this](ui::Control&) { btnEditPressed(); }, ui::ControlEventTouchUpInside);
  viewTopBar->addSubview(btnEdit);
  lblTopLabel = std::make_shared<ui::Label>(cg::Rect(66, 0, w - 150, kTopBarHeight));
  lblTopLabel->setFont(ui::Font::fontWithName("Helvetica-Bold", 16));
  lblTopLabel->setTextColor(cg::Color::fromRGB255(62, 74, 92));
  lblTopLabel->setTextAlignment(ui::TextAlignment::Center);
  lblTopLabel->setAdjustsFontSizeToFitWidth(true);
  lblTopLabel->setMinimumFontSize(11);
  lblTopLabel->setBackgroundColor(cg::Color::clear());
  lblTopLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopBar->addSubview(lblTopLabel);
  btnSearch = topButton(cg::Rect(w - 82, 7, 76, 30));
  btnSearch->setTitleEdgeInsets(cg::EdgeInsets{0, 0, 0, 8});
  btnSearch->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  btnSearch->addTarget(this, [this](ui::Control&) { btnSearchPressed(); }, ui::ControlEventTouchUpInside);
  viewTopBar->addSubview(btnSearch);

  imgTopBG = std::make_shared<ui::ImageView>(cg::Rect(0, kTopBarHeight, w, kNoticeHeight));
  imgTopBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root->addSubview(imgTopBG);
  lblTopNotice = std::make_shared<ui::Label>(cg::Rect(10, kTopBarHeight, w - 20, kNoticeHeight));
  lblTopNotice->setFont(ui::Font::fontWithName("Helvetica", 12));
  lblTopNotice->setTextColor(cg::Color::fromRGB255(101, 100, 94));
  lblTopNotice->setTextAlignment(ui::TextAlignment::Center);
  lblTopNotice->setNumberOfLines(2);
  lblTopNotice->setBackgroundColor(cg::Color::clear());
  lblTopNotice->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root->addSubview(lblTopNotice);

  float top = kTopBarHeight + kNoticeHeight;
  tblSavedSearches = std::make_shared<ui::TableView>(cg::Rect(0, top, w, h - top), ui::TableViewStyle::Plain);
  tblSavedSearches->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root->addSubview(tblSavedSearches);
  activityIndicator = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::Gray);
  activityIndicator->setCenter(cg::Point(w / 2, top + 40));
  activityIndicator->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleRightMargin);
  activityIndicator->setHidesWhenStopped(true);
  root->addSubview(activityIndicator);
  setView(root);
}

void SavedSearchesViewController::viewDidLoad() {
  lblTopLabel->setText(localized("Search History"));
  tblSavedSearches->setSeparatorColor(cg::Color::fromRGB255(187, 211, 237));
  tblSavedSearches->setDataSource(self());
  tblSavedSearches->setDelegate(self());
  imgTopBG->setImage(screens::stretchedImage("search-saved-proxy.png", 159, 0));
  rethemeUI();
}

void SavedSearchesViewController::rethemeUI() {
  imgTopBarBG->setImage(screens::stretchedImage("ipad-column-header-s9.png", 5, 0));
  btnEdit->setBackgroundImage(screens::stretchedImage("ipad-black-button.png", 16, 0), ui::ControlStateNormal);
  for (unsigned state : {ui::ControlStateHighlighted, ui::ControlStateSelected})
    btnEdit->setBackgroundImage(screens::stretchedImage("ipad-black-button-t.png", 16, 0), state);
  btnSearch->setBackgroundImage(screens::stretchedImage("ipad-button-arrow-right.png", 19, 0), ui::ControlStateNormal);
  btnSearch->setBackgroundImage(screens::stretchedImage("ipad-button-arrow-right-t.png", 19, 0),
                                ui::ControlStateHighlighted);
  lblTopLabel->setContentMode(ui::ContentMode::Center);
  lblTopNotice->setContentMode(ui::ContentMode::Center);
  lblTopNotice->setText(localized("Tapping the Eye icon toggles visibility of these results in your reading"));
}

void SavedSearchesViewController::viewWillAppear(bool) {
  setupView();
  for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted, ui::ControlStateDisabled}) {
    btnEdit->setTitle(localized("Edit"), state);
    btnSearch->setTitle(localized("Search"), state);
  }
}

// ---- the list, loaded (and on the first run seeded) on a worker ------------------------------------

void SavedSearchesViewController::setupView() {
  if (!isViewLoaded() || isSettingUp_) return;  // the load running brings the newest list
  isSettingUp_ = true;
  tblSavedSearches->setAlpha(0);
  activityIndicator->startAnimating();
  btnSearch->setEnabled(false);
  sqlite3* db = screens::userDatabase();
  std::weak_ptr<SavedSearchesViewController> weak = self();
  ns::Thread::detachNewThread("setupViewInBG", [weak, db] {
    auto pass = DatabaseWorkers::enter();
    if (!pass || !db) return;  // the connections are closing with the application
    auto entries = std::make_shared<std::vector<SavedSearchPtr>>(loadHistory(db));
    ns::RunLoop::main().post([weak, entries] {
      if (auto me = weak.lock()) me->setupDone(std::move(*entries));
    });
  });
}

void SavedSearchesViewController::setupDone(std::vector<SavedSearchPtr> entries) {
  isSettingUp_ = false;
  arrSavedSearches_ = std::move(entries);
  lblTopNotice->setText(localized(arrSavedSearches_.empty()
                                      ? "No Search History Found"
                                      : "Tapping the Eye icon toggles visibility of these results in your reading"));
  tblSavedSearches->setContentOffset(cg::Point(0, 0), false);
  activityIndicator->stopAnimating();
  tblSavedSearches->setAlpha(1);
  tblSavedSearches->reloadData();
  btnSearch->setEnabled(true);
}

std::shared_ptr<ui::TableViewCell> SavedSearchesViewController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                                     const ui::IndexPath& indexPath) {
  auto cell = std::dynamic_pointer_cast<SavedSearchCell>(tableView->dequeueReusableCellWithIdentifier("VerseCell"));
  if (!cell) {
    cell = std::make_shared<SavedSearchCell>(ui::TableViewCellStyle::Value1, "VerseCell");
    cell->setViewController(this);
  }
  if (!isSettingUp_) {
    int r = indexPath.row;
    cell->setSavedSearch(r >= 0 && r < int(arrSavedSearches_.size()) ? arrSavedSearches_[size_t(r)] : nullptr);
    cell->updateReflectionState();
  }
  return cell;
}

// The entry runs again in the search screen and rises to the top of the history.
void SavedSearchesViewController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  tableView->deselectRowAtIndexPath(indexPath, true);
  int r = indexPath.row;
  if (isSettingUp_ || r < 0 || r >= int(arrSavedSearches_.size())) return;
  SavedSearchPtr entry = arrSavedSearches_[size_t(r)];
  if (sqlite3* db = screens::userDatabase()) ChapterInfo::updateSavedSearch(db, *entry);
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->filterSearchViewWithSavedSearch(entry);
}

void SavedSearchesViewController::btnSearchPressed() {
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->filterSearchViewWithSavedSearch(nullptr);
}

// ---- editing ---------------------------------------------------------------------------------

void SavedSearchesViewController::btnEditPressed() {
  bool editing = !tblSavedSearches->isEditing();
  tblSavedSearches->setEditing(editing, true);
  btnEdit->setSelected(editing);
}

void SavedSearchesViewController::commitEditingStyle(ui::TableView* tableView, ui::TableViewCellEditingStyle,
                                                     const ui::IndexPath& indexPath) {
  deleteSearchAtIndexPath(indexPath);
  if (!tableView->isEditing()) btnEdit->setSelected(false);
}

// The entry's marks go with it, whatever its query finds today.
void SavedSearchesViewController::deleteSearchAtIndexPath(const ui::IndexPath& indexPath) {
  int r = indexPath.row;
  if (r < 0 || r >= int(arrSavedSearches_.size())) return;
  SavedSearchPtr entry = arrSavedSearches_[size_t(r)];
  arrSavedSearches_.erase(arrSavedSearches_.begin() + r);
  tblSavedSearches->deleteRowsAtIndexPaths({indexPath}, ui::TableViewRowAnimation::Left);
  sqlite3* db = screens::userDatabase();
  if (!db) return;
  ChapterInfo::removeReflecttionOnSearchedVerses(db, entry->iSavedID());
  ChapterInfo::deleteSavedSearch(db, *entry);
}

// ---- marks -------------------------------------------------------------------------------------

void SavedSearchesViewController::reflectSearchedVerses(bool highlighted, const SavedSearchPtr& entry) {
  if (!entry || marking_) return;
  marking_ = true;
  bool was = entry->isReflectedInSurah();
  entry->setIsReflectedInSurah(highlighted);
  activityIndicator->startAnimating();
  tblSavedSearches->setUserInteractionEnabled(false);
  for (auto& cell : tblSavedSearches->visibleCells())
    if (auto* row = dynamic_cast<SavedSearchCell*>(cell.get())) row->updateReflectionState();
  // The worker marks a copy; the entry the rows show changes on the main thread.
  auto copy = std::make_shared<SavedSearch>(*entry);
  copy->setIsReflectedInSurah(was);
  sqlite3* user = screens::userDatabase();
  sqlite3* content = screens::contentDatabase();
  std::weak_ptr<SavedSearchesViewController> weak = self();
  ns::Thread::detachNewThread("asyncReflectSearches", [weak, entry, copy, user, content, highlighted] {
    auto pass = DatabaseWorkers::enter();
    if (!pass) return;  // the connections are closing with the application
    bool ok = searchmarks::reflect(user, content, *copy, highlighted);
    ns::RunLoop::main().post([weak, entry, copy, ok] {
      if (auto me = weak.lock()) me->doneReflectingSearches(entry, *copy, ok);
    });
  });
}

void SavedSearchesViewController::doneReflectingSearches(const SavedSearchPtr& entry, const SavedSearch& stored,
                                                         bool ok) {
  marking_ = false;
  entry->setIsReflectedInSurah(stored.isReflectedInSurah());
  entry->setDateSearched(stored.DateSearched());
  activityIndicator->stopAnimating();
  tblSavedSearches->setUserInteractionEnabled(true);
  for (auto& cell : tblSavedSearches->visibleCells())
    if (auto* row = dynamic_cast<SavedSearchCell*>(cell.get())) row->updateReflectionState();
  if (!ok) screens::alert(localized("Error"), localized("The marks of this search could not be changed."));
}
