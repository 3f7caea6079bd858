#include "Classes/shell/SurahTranslationViewController.h"

#include <cmath>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/DatabaseWorkers.h"
#include "Classes/core/Language.h"
#include "Classes/core/TranslationMeta.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/common/ScreenSupport.h"
#include "Classes/reading/PickTranslationController.h"
#include "Classes/reading/SurahVerseView.h"
#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/SurahViewController.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TextView.h"

namespace {

constexpr float kHeaderHeight = 64;  // level with the reading screen's header
const char* const kCellIdentifier = "VerseTransCell";

using screens::contentDatabase;
using screens::userDatabase;

// The extra height of a row for the Arabic font size setting.
float fontSizeExtra() {
  static const float extra[] = {3, 5, 8, 10, 15};
  int size = ZarvelSDKAppDelegate::ArabicFontSize();
  return size >= 0 && size <= 4 ? extra[size] : 0;
}

}  // namespace

SurahTranslationViewController::SurahTranslationViewController(bool isPrimaryTranslation)
    : IsPrimaryTranslation_(isPrimaryTranslation) {}

SurahTranslationViewController::~SurahTranslationViewController() {
  ns::RunLoop::main().cancelPreviousPerformRequests(this);
}

// The root's two layouts: the panes side by side upright (the secondary
// hidden there) and on its side.
float SurahTranslationViewController::paneWidth(bool primary, bool landscape) {
  if (primary) return landscape ? 256 : 288;
  return landscape ? 288 : 280;
}

const std::string& SurahTranslationViewController::defaultsKey() const {
  static const std::string primary = "CurrentTranslationPrimary", secondary = "CurrentTranslationSecondary";
  return IsPrimaryTranslation_ ? primary : secondary;
}

// ---- view ---------------------------------------------------------------------------------

void SurahTranslationViewController::loadView() {
  auto view = std::make_shared<ui::View>(cg::Rect(0, 0, 288, 704));
  view->setBackgroundColor(cg::Color::white());
  view->setAutoresizesSubviews(true);
  cg::Rect b = view->bounds();

  auto header = std::make_shared<ui::ImageView>(cg::Rect(0, 0, b.width(), kHeaderHeight));
  header->setImage(ui::Image::imageNamed("sura-navbar.png"));
  header->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  view->addSubview(header);

  btnTranslation = std::make_shared<ui::Button>(cg::Rect(0, 14, b.width(), 36));
  btnTranslation->setTitleColor(cg::Color::fromRGB255(92, 64, 38), ui::ControlStateNormal);
  btnTranslation->setTitleColor(cg::Color::fromRGB255(160, 120, 80), ui::ControlStateHighlighted);
  btnTranslation->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(16));
  btnTranslation->addTarget(this, [this](ui::Control&) { transChangePressed(); }, ui::ControlEventTouchUpInside);
  view->addSubview(btnTranslation);

  tblTransView_ = std::make_shared<ui::TableView>(cg::Rect(0, kHeaderHeight, b.width(), b.height() - kHeaderHeight),
                                                  ui::TableViewStyle::Plain);
  tblTransView_->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
  tblTransView_->setBackgroundColor(cg::Color::white());
  tblTransView_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  auto self = std::static_pointer_cast<SurahTranslationViewController>(shared_from_this());
  tblTransView_->setDataSource(self);
  tblTransView_->setDelegate(self);
  view->addSubview(tblTransView_);

  txtSingleVerse = std::make_shared<ui::TextView>(cg::Rect(10, kHeaderHeight + 10, b.width() - 20,
                                                           b.height() - kHeaderHeight - 20));
  txtSingleVerse->setEditable(false);
  txtSingleVerse->setBackgroundColor(cg::Color::clear());
  txtSingleVerse->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  txtSingleVerse->setAlpha(0);
  txtSingleVerse->setHidden(true);
  view->addSubview(txtSingleVerse);

  activityIndicator = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::Gray);
  cg::Rect f = activityIndicator->frame();
  activityIndicator->setFrame(cg::Rect(std::floor((b.width() - f.width()) / 2), kHeaderHeight + 40, f.width(),
                                       f.height()));
  activityIndicator->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin |
                                         ui::ViewAutoresizingFlexibleRightMargin);
  view->addSubview(activityIndicator);
  setView(view);
}

void SurahTranslationViewController::viewDidLoad() {
  auto& center = ns::NotificationCenter::defaultCenter();
  observers_.push_back(center.addObserver("TranslationDidChange", [this](const ns::Value&) { translationHasChanged(); }));
  observers_.push_back(center.addObserver("SurahWillChange", [this](const ns::Value&) { translationWillChange(); }));
  selectedVerse_ = -1;
}

void SurahTranslationViewController::viewDidUnload() { observers_.clear(); }

void SurahTranslationViewController::viewWillAppear(bool) { updateTranslationLabel(); }

// A turn from landscape closes the secondary pane's picker (its pane may be
// hidden in portrait); the primary pane's picker stays.
void SurahTranslationViewController::didRotateFromInterfaceOrientation(ui::InterfaceOrientation from) {
  if (IsPrimaryTranslation_ || !popoverView || !popoverView->isPopoverVisible() || !ui::isLandscape(from)) return;
  popoverView->dismissPopoverAnimated(true);
  updateTranslationLabel();
}

// ---- rows ---------------------------------------------------------------------------------

int SurahTranslationViewController::currentSurah() const {
  return ThisSurahController_ ? ThisSurahController_->iCurrentSurah() : 1;
}

bool SurahTranslationViewController::isHeaderlessSurah() const {
  int s = currentSurah();
  return s == 1 || s == 9;
}

int SurahTranslationViewController::rowToVerse(int row) const { return isHeaderlessSurah() ? row + 1 : row; }

int SurahTranslationViewController::verseToRow(int verse) const {
  if (verse < 0) return 0;
  return isHeaderlessSurah() ? verse - 1 : verse;
}

std::shared_ptr<TranslationMeta> SurahTranslationViewController::metaForVerse(int verse) const {
  auto it = transHeightMeta.find(verse);
  return it == transHeightMeta.end() ? nullptr : it->second;
}

// Reads the texts of one surah in one translation and makes their height
// records; touches nothing of the pane, so a worker may run it.
SurahTranslationViewController::Rows SurahTranslationViewController::readRows(int translation, int surah) {
  Rows rows;
  rows.translation = translation;
  int n = ChapterInfo::getVersesFromNumber(surah);
  if (translation == 1000) {
    std::vector<std::string> notes;
    sqlite3* db = userDatabase();
    for (int v = 1; v <= n; ++v) notes.push_back(db ? ChapterInfo::getBookmarkNote(db, surah, v) : "");
    rows.texts = std::move(notes);
  } else if (translation != 0) {
    sqlite3* db = contentDatabase();
    rows.texts = db ? ChapterInfo::getTranslationDataFor(db, translation, surah) : std::vector<std::string>();
  }
  for (int i = 0; i < n; ++i) {
    if (translation != 0 && i >= int(rows.texts->size())) continue;
    std::string text = translation == 0 ? std::string() : (*rows.texts)[i];
    rows.metas[i + 1] = std::make_shared<TranslationMeta>(std::move(text), translation, surah, i + 1, false);
  }
  return rows;
}

void SurahTranslationViewController::takeRows(Rows rows) {
  iCurrentTranslation_ = rows.translation;
  translationArr_ = std::move(rows.texts);
  transHeightMeta = std::move(rows.metas);
}

void SurahTranslationViewController::loadTranslation() {
  int translation = int(ns::UserDefaults::standardUserDefaults().integerForKey(defaultsKey()));
  takeRows(readRows(translation, currentSurah()));
}

// The worker reads into its own record; the main thread alone swaps it in and
// shows it, so nothing is read while it is replaced. A load asked for while
// one runs waits in 0.2 s steps.
void SurahTranslationViewController::startBackgroundLoad() {
  if (loadingInBG_) {
    ns::RunLoop::main().performAfter(this, "loadInBG", 0.2, [this] { startBackgroundLoad(); });
    return;
  }
  loadingInBG_ = true;
  int translation = int(ns::UserDefaults::standardUserDefaults().integerForKey(defaultsKey()));
  int surah = currentSurah();
  std::weak_ptr<SurahTranslationViewController> weak =
      std::static_pointer_cast<SurahTranslationViewController>(shared_from_this());
  ns::Thread::detachNewThread("loadInBG", [weak, translation, surah] {
    auto pass = DatabaseWorkers::enter();
    if (!pass) return;  // the connections are closing with the application
    auto rows = std::make_shared<Rows>(readRows(translation, surah));
    ns::RunLoop::main().post([weak, rows] {
      auto pane = weak.lock();
      if (!pane) return;
      pane->takeRows(std::move(*rows));
      pane->hideLoadingView();
    });
  });
}

void SurahTranslationViewController::translationDidChange() {
  if (popoverView && popoverView->isPopoverVisible()) popoverView->dismissPopoverAnimated(true);
  updateTranslationLabel();
  showLoadingView();
  startBackgroundLoad();
}

void SurahTranslationViewController::showLoadingView() {
  if (!isViewLoaded()) return;
  activityIndicator->startAnimating();
  ui::View::beginAnimations("TransLoading");
  ui::View::setAnimationDuration(0.15);
  txtSingleVerse->setAlpha(0);
  tblTransView_->setAlpha(0);
  ui::View::commitAnimations();
}

// The rows measured again, level with the reading table.
void SurahTranslationViewController::reloadRowsInPlace() {
  if (!isViewLoaded()) return;
  tblTransView_->reloadData();
  takeReadingTablePlace();
}

void SurahTranslationViewController::takeReadingTablePlace() {
  if (!isViewLoaded() || !ThisSurahController_ || !ThisSurahController_->tblVerses) return;
  bool ignoring = IgnoreSendingScrollEvents_;
  IgnoreSendingScrollEvents_ = true;  // following is not scrolling
  tblTransView_->setContentOffset(ThisSurahController_->tblVerses->contentOffset(), false);
  IgnoreSendingScrollEvents_ = ignoring;
}

void SurahTranslationViewController::hideLoadingView() {
  if (isViewLoaded()) {
    reloadRowsInPlace();
    activityIndicator->stopAnimating();
    ui::View::beginAnimations("TransLoading");
    ui::View::setAnimationDuration(0.15);
    if (!delegate_ || !delegate_->isFloatingViewExpanded()) tblTransView_->setAlpha(1);
    else if (showingSingleVerseMode_) txtSingleVerse->setAlpha(1);
    ui::View::commitAnimations();
  }
  loadingInBG_ = false;
}

void SurahTranslationViewController::reloadVisibleRows() {
  if (isViewLoaded()) tblTransView_->reloadRowsAtIndexPaths(tblTransView_->indexPathsForVisibleRows(),
                                                            ui::TableViewRowAnimation::None);
}

void SurahTranslationViewController::updateVisibleRowBGs() {
  if (isViewLoaded()) tblTransView_->reloadRowsAtIndexPaths(tblTransView_->indexPathsForVisibleRows(),
                                                            ui::TableViewRowAnimation::Fade);
}

float SurahTranslationViewController::getHeightForVerse(int verse, bool landscape) {
  auto meta = metaForVerse(verse);
  int h = 0;
  if (meta) h = meta->heightForWidth(SurahVerseView::translationTextWidth(paneWidth(IsPrimaryTranslation_, landscape), true));
  float height;
  if (h == 0 || (verse <= 0 && !isHeaderlessSurah())) height = 65;
  else height = float(h + (iCurrentTranslation_ == 1000 ? 8 : 3));
  return height + fontSizeExtra();
}

// ---- table --------------------------------------------------------------------------------

int SurahTranslationViewController::numberOfRowsInSection(ui::TableView*, int) {
  int n = translationArr_ ? int(translationArr_->size()) : ChapterInfo::getVersesFromNumber(currentSurah());
  return isHeaderlessSurah() ? n : n + 1;
}

float SurahTranslationViewController::heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) {
  if (!translationArr_ && iCurrentTranslation_ != 0) return 0;
  int verse = rowToVerse(indexPath.row);
  return delegate_ ? delegate_->getMaxVerseHeightForCurrentSurah(verse) : getHeightForVerse(verse, false);
}

std::shared_ptr<ui::TableViewCell> SurahTranslationViewController::cellForRowAtIndexPath(
    ui::TableView* tableView, const ui::IndexPath& indexPath) {
  int verse = rowToVerse(indexPath.row);
  auto cell = std::dynamic_pointer_cast<SurahViewCell>(tableView->dequeueReusableCellWithIdentifier(kCellIdentifier));
  if (!cell) {
    cell = SurahViewCell::create(kCellIdentifier, ThisSurahController_, true);
    cell->setThisTable(tableView);
  }
  SurahVerseView* row = cell->CellView();
  row->IsPrimaryTranslation = IsPrimaryTranslation_;
  row->setTranslationMetaData(metaForVerse(verse));
  row->refreshView();
  auto* reading = ThisSurahController_.get();
  row->setIsSelected(reading && verse == reading->selectedVerse());
  if (reading && reading->IsInPlayMode()) {
    row->setIsLastPlaying(false);
    row->setIsPlaying(verse == reading->iCurrentPlayingVerse());
  } else {
    row->setIsPlaying(false);
    row->setIsLastPlaying(false);
  }
  return cell;
}

SurahVerseView* SurahTranslationViewController::viewForVerse(int verse) {
  if (!isViewLoaded()) return nullptr;
  auto cell = std::dynamic_pointer_cast<SurahViewCell>(tblTransView_->cellForRowAtIndexPath({0, verseToRow(verse)}));
  return cell ? cell->CellView() : nullptr;
}

void SurahTranslationViewController::highlightVerse(int verse, bool, bool animated, bool forceSelection) {
  if (verse == selectedVerse_ && !forceSelection) return;
  if (verse != selectedVerse_ && isViewLoaded()) {
    if (auto* old = viewForVerse(selectedVerse_)) {
      old->setIsSelected(false);
      old->updateVerseBG();
    }
    tblTransView_->deselectRowAtIndexPath({0, verseToRow(selectedVerse_)}, false);
  }
  selectedVerse_ = verse;
  auto* row = viewForVerse(verse);
  if (!row && animated && isViewLoaded() && verseToRow(verse) < tblTransView_->numberOfRowsInSection(0)) {
    tblTransView_->selectRowAtIndexPath({0, verseToRow(verse)}, true, ui::TableViewScrollPosition::Top);
    row = viewForVerse(verse);
  }
  if (row) row->setIsSelected(true);
  updateSingleVerseDisplay();
}

void SurahTranslationViewController::highlightForPlayingVerse(int verse, bool stopPlaying) {
  if (auto* old = viewForVerse(iCurrentPlayingVerse_)) old->setIsPlaying(false);
  if (stopPlaying) return;
  iCurrentPlayingVerse_ = verse;
  if (auto* row = viewForVerse(verse)) row->setIsPlaying(!(verse == 0 && !isHeaderlessSurah()));
}

void SurahTranslationViewController::updateBookmarkForVerse(int verse, int surah) {
  if (surah != currentSurah()) return;
  SurahVerseView* row = viewForVerse(verse);
  if (iCurrentTranslation_ == 1000) {
    if (auto meta = metaForVerse(verse)) {
      meta->ResetHeights();
      sqlite3* db = userDatabase();
      meta->setTranslation(db ? ChapterInfo::getBookmarkNote(db, surah, verse) : "");
    }
    if (isViewLoaded()) tblTransView_->reloadRowsAtIndexPaths({{0, verseToRow(verse)}}, ui::TableViewRowAnimation::Fade);
    row = viewForVerse(verse);  // the reload may have put a new cell there
  }
  if (row) {
    row->refreshBookmarked();
    row->updateVerseNumberColumn();
    row->updateVerseBG();
  }
}

void SurahTranslationViewController::didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) {
  tableView->deselectRowAtIndexPath(indexPath, true);
  int previous = ThisSurahController_ ? ThisSurahController_->selectedVerse() : -1;
  int verse = rowToVerse(indexPath.row);
  if (!delegate_) return;
  delegate_->surahHighlightVerse(verse, false);
  bool notesShowing = delegate_->IsShowingNotes();
  bool showsNotes = iCurrentTranslation_ == 1000;
  if (!notesShowing && !(showsNotes && verse == previous)) return;
  delegate_->showNotesForSurah(currentSurah(), verse, !notesShowing, delegate_->IsViewInLandscape(), showsNotes,
                               verse >= previous);
}

// ---- scrolling: the root keeps the three tables in step --------------------------------------

void SurahTranslationViewController::scrollViewWillBeginDragging(ui::ScrollView*) {
  if (delegate_ && delegate_->isKeyboardShowing()) delegate_->resignKeyboard();
}

void SurahTranslationViewController::scrollViewDidScroll(ui::ScrollView* scrollView) {
  if (!delegate_) return;
  if (scrollView->isDragging() && !previouslyDragging_) {
    previouslyDragging_ = true;
    delegate_->finishedViewScrolling();
  }
  if (IgnoreSendingScrollEvents_ && scrollView->isDragging()) IgnoreSendingScrollEvents_ = false;
  if (delegate_->isFloatingViewExpanded()) IgnoreSendingScrollEvents_ = true;
  if (!IgnoreSendingScrollEvents_) delegate_->translationViewDidScroll(tblTransView_.get(), IsPrimaryTranslation_);
}

void SurahTranslationViewController::scrollViewDidEndDragging(ui::ScrollView*, bool willDecelerate) {
  previouslyDragging_ = false;
  if (!willDecelerate && delegate_) delegate_->finishedViewScrolling();
}

void SurahTranslationViewController::scrollViewDidEndDecelerating(ui::ScrollView*) {
  if (delegate_) delegate_->finishedViewScrolling();
  previouslyDragging_ = false;
}

bool SurahTranslationViewController::scrollViewShouldScrollToTop(ui::ScrollView*) {
  if (!IgnoreSendingScrollEvents_ && delegate_)
    delegate_->translationViewDidScroll(tblTransView_.get(), IsPrimaryTranslation_);
  return true;
}

void SurahTranslationViewController::scrollViewDidScrollToTop(ui::ScrollView*) {
  previouslyDragging_ = false;
  if (delegate_) delegate_->finishedViewScrolling();
}

// ---- header and picker -----------------------------------------------------------------------

void SurahTranslationViewController::updateTranslationLabel() {
  iCurrentTranslation_ = int(ns::UserDefaults::standardUserDefaults().integerForKey(defaultsKey()));
  if (!isViewLoaded()) return;
  std::string title = ChapterInfo::getTranslationNameForNumber(iCurrentTranslation_);
  btnTranslation->setTitle(title, ui::ControlStateNormal);
  btnTranslation->setTitle(title, ui::ControlStateHighlighted);
  if (!imgDownArrowTranslation) {
    imgDownArrowTranslation = std::make_shared<ui::ImageView>(ui::Image::imageNamed("sura-navbar-arrow.png"));
    imgDownArrowTranslation->setAlpha(0.6f);
    btnTranslation->addSubview(imgDownArrowTranslation);
  }
  float w = ui::sizeWithFont(title, btnTranslation->titleLabel()->font()).width;
  cg::Rect f = btnTranslation->frame();
  btnTranslation->setFrame(cg::Rect(std::floor((view()->bounds().width() - w) * 0.5f), f.y(), w + 10, f.height()));
  imgDownArrowTranslation->setFrame(cg::Rect(w + 5, std::floor((f.height() - 9) * 0.5f) + 1, 10, 9));
}

void SurahTranslationViewController::transChangePressed() {
  if (delegate_ && delegate_->IsShowingNotes()) delegate_->resignKeyboard();
  auto picker = std::make_shared<PickTranslationController>();
  picker->setIsPrimaryTranslation(IsPrimaryTranslation_);
  picker->setTitle(Language::get("Show", "Show"));
  picker->setDelegate(std::static_pointer_cast<SurahTranslationViewController>(shared_from_this()));
  auto nav = ui::NavigationController::withRoot(picker);
  nav->setNavigationBarHidden(true, false);  // the picker has its own top bar
  if (!popoverView) {
    popoverView = std::make_shared<ui::PopoverController>(nav);
    popoverView->setDelegate(std::static_pointer_cast<SurahTranslationViewController>(shared_from_this()));
  } else {
    popoverView->setPassthroughViews({});
    popoverView->setContentViewController(nav);
  }
  popoverView->setPopoverContentSize(cg::Size(320, 480), true);
  cg::Rect b = btnTranslation->frame();
  cg::Rect anchor(b.x() + std::floor(b.width() / 2), b.y() + std::floor(b.height() / 2), 5, 5);
  popoverView->presentPopoverFromRect(anchor, view().get(), ui::PopoverArrowDirectionUp, true);
}

void SurahTranslationViewController::translationPickerCancelled() {
  if (popoverView && popoverView->isPopoverVisible()) popoverView->dismissPopoverAnimated(true);
}

// ---- notifications and single-verse mode ----------------------------------------------------

void SurahTranslationViewController::translationWillChange() {
  updateTranslationLabel();
  showLoadingView();
}

void SurahTranslationViewController::translationHasChanged() {
  if (popoverView && popoverView->isPopoverVisible()) popoverView->dismissPopoverAnimated(true);
  updateTranslationLabel();
  updateSingleVerseDisplay();
  if (showingSingleVerseMode_ && ThisSurahController_)
    highlightVerse(ThisSurahController_->iCurrentVerse(), false, false, true);
}

void SurahTranslationViewController::initSingleVerseView() {
  if (!isViewLoaded()) return;
  txtSingleVerse->setTextColor(cg::Color::fromRGB255(15, 29, 63));
  txtSingleVerse->setHidden(false);
  txtSingleVerse->setAlpha(0);
  txtSingleVerse->setTextAlignment(ChapterInfo::isTranslationRTL(iCurrentTranslation_) ? ui::TextAlignment::Right
                                                                                       : ui::TextAlignment::Left);
  static const int sizes[4][5] = {{17, 19, 21, 23, 26}, {16, 18, 20, 22, 24}, {15, 17, 19, 21, 23},
                                  {12, 14, 16, 19, 21}};
  int t = iCurrentTranslation_, group = 3;
  if (t == 15 || t == 16 || t == 36) group = 0;
  else if (t == 22 || t == 26 || t == 31) group = 1;
  else if (t == 27 || t == 38) group = 2;
  int setting = ZarvelSDKAppDelegate::TranslationFontSize();
  if (setting < 0 || setting > 4) setting = 1;
  txtSingleVerse->setFont(ui::Font::fontWithName("Helvetica", float(sizes[group][setting])));
}

void SurahTranslationViewController::updateSingleVerseDisplay() {
  if (!isViewLoaded()) return;
  if (!showingSingleVerseMode_) {
    txtSingleVerse->setAlpha(0);
    txtSingleVerse->setHidden(true);
    return;
  }
  auto& d = ns::UserDefaults::standardUserDefaults();
  if (iCurrentTranslation_ == 0 || !d.boolForKey("HideTransInFullScreen")) {
    txtSingleVerse->setText("");
    return;
  }
  initSingleVerseView();
  txtSingleVerse->setAlpha(1);
  int surah = currentSurah(), verse = ThisSurahController_ ? ThisSurahController_->iCurrentVerse() : 1;
  std::string text;
  if (iCurrentTranslation_ == 1000) {
    if (sqlite3* db = userDatabase()) text = ChapterInfo::getBookmarkNote(db, surah, verse);
  } else if (sqlite3* db = contentDatabase()) {
    text = ChapterInfo::getTranslationFor(db, iCurrentTranslation_, surah, verse);
    if (ChapterInfo::isTranslationRTL(iCurrentTranslation_)) text = "\u202B" + text;
  }
  txtSingleVerse->setText(text);
}

void SurahTranslationViewController::showSingleTranslationMode() {
  showingSingleVerseMode_ = true;
  initSingleVerseView();
  if (isViewLoaded()) {
    ui::View::beginAnimations("SingleVerse");
    ui::View::setAnimationDuration(0.15);
    tblTransView_->setAlpha(0);
    txtSingleVerse->setAlpha(1);
    ui::View::commitAnimations();
  }
  highlightVerse(ThisSurahController_ ? ThisSurahController_->iCurrentVerse() : 1, false, false, true);
}

void SurahTranslationViewController::hideSingleTranslationMode() {
  showingSingleVerseMode_ = false;
  if (!isViewLoaded()) return;
  ui::View::beginAnimations("SingleVerse");
  ui::View::setAnimationDuration(0.15);
  tblTransView_->setAlpha(1);
  txtSingleVerse->setAlpha(0);
  ui::View::commitAnimations();
}
