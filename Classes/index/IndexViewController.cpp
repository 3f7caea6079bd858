#include "Classes/index/IndexViewController.h"

#include <cstdlib>
#include <ctime>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/RegisteredDefaults.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/index/IndexTableViewCell.h"
#include "Classes/common/iPadConnectionDelegate.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

namespace {

constexpr char kIndexSelectedRow[] = "IndexSelectedRow";
constexpr char kIndexSelectedSection[] = "IndexSelectedSection";
constexpr char kIsShowingSurahView[] = "IsShowingSurahView";
constexpr int kQuartersPerJuz = 8;

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

// The saved surah; 0 or anything beyond 114 reads as 1.
int savedSurah() {
  int surah = int(defaults().integerForKey(kCurrentlyShowingSurah));
  return surah < 1 || surah > 114 ? 1 : surah;
}

// The saved verse, cut to the surah's last verse.
int savedVerse(int surah) {
  int verse = int(defaults().integerForKey(kCurrentlyShowingVerse));
  return std::min(verse, ChapterInfo::getVersesFromNumber(surah));
}

std::pair<int, int> quarterStart(int quarter) {
  int surah = 1, verse = 1;
  ChapterInfo::setSurahVerseForHizb(surah, verse, quarter);
  return {surah, verse};
}

}  // namespace

IndexViewController::IndexViewController() = default;

// The delegate keeps its listener unretained: a closing index takes itself
// off (unless the delegate is closing too).
IndexViewController::~IndexViewController() {
  auto delegate = downloadHost_.lock();
  if (delegate && delegate->downloadDelegate() == this) delegate->setDownloadDelegate(nullptr);
}

std::shared_ptr<IndexViewController> IndexViewController::self() {
  return std::static_pointer_cast<IndexViewController>(shared_from_this());
}

std::shared_ptr<IndexReadingScreen> IndexViewController::ThisSurahController() {
  if (readingForTesting_) return readingForTesting_;
  if (auto held = iPadController_ ? iPadController_->readingScreenForIndex() : nullptr) return held;
  return ThisSurahController_;
}

// ---- view life -----------------------------------------------------------------------------------

void IndexViewController::viewDidLoad() {
  srandom(unsigned(time(nullptr)));
  auto& center = ns::NotificationCenter::defaultCenter();
  soundStatusObserver = center.addObserver("RequiresRefreshOfSoundStatus",
                                           [this](const ns::Value&) { requiresRefreshOfSoundStatus(); });
  translationObserver = center.addObserver("TranslationDidChange", [this](const ns::Value&) { translationDidChange(); });
  reciterObserver = center.addObserver("ReciterDidChange", [this](const ns::Value&) { reciterChanged(); });
  languageObserver = center.addObserver("ArabicLanguageChanged", [this](const ns::Value&) { arabicLanguageChanged(); });
  navObserver = center.addObserver("SurahDidChangeFromNav", [this](const ns::Value&) { surahDidChange(); });
  viewAdvert->setHidden(true);

  iCurrentlyShowingSurah_ = savedSurah();
  currentlySelectedRow_ = int(defaults().integerForKey(kIndexSelectedRow));
  currentlySelectedSection_ = int(defaults().integerForKey(kIndexSelectedSection));
  styleButtons();

  needsToRefreshAudioStatus = true;
  setTopCurrentSurahButton(iCurrentlyShowingSurah_);
  refreshTheme();
  requiresReloadOfTable = true;
  isShowingSectionedView_ = defaults().boolForKey(kIsShowingSections);
}

void IndexViewController::viewDidUnload() {
  translationObserver.remove();
  reciterObserver.remove();
  languageObserver.remove();
  navObserver.remove();
  surahListTable_.reset();
  arrSectionedMeta.clear();
  arrSectionViews.clear();
  // Nothing to show until the view is loaded again (which themes it again).
  indexLoaded = false;
  requiresReloadOfTable = true;
}

void IndexViewController::viewWillAppear(bool animated) {
  (void)animated;
  appear();
}

void IndexViewController::appear() {
  if (!indexLoaded) return;
  viewIsVisible = true;
  if (auto delegate = ZarvelSDKAppDelegate::GetInstance()) {
    delegate->setDownloadDelegate(this);
    downloadHost_ = delegate;
  }

  if (needsToRefreshAudioStatus) {
    refreshInstalledAudioCache();
    needsToRefreshAudioStatus = false;
  }
  if (needsToRetheme) {
    needsToRetheme = false;
    refreshTheme();
  }
  if (requiresReloadOfTable) {
    requiresReloadOfTable = false;
    tableTypeChanged();
  }

  iCurrentlyShowingSurah_ = savedSurah();
  setTopCurrentSurahButton(iCurrentlyShowingSurah_);

  ui::InterfaceOrientation orientation = ui::Application::shared().statusBarOrientation();
  if (orientation == ui::InterfaceOrientation::Portrait) viewJuzzScroller->setupPortrait(0.3);
  else if (ui::isLandscape(orientation)) viewJuzzScroller->setupLandscape(0.3);

  if (!firstLoad) {
    firstLoad = true;
    int surah = iCurrentlyShowingSurah_;
    showSurahView(this, surah, savedVerse(surah), false, false);
    if (auto reading = ThisSurahController()) reading->asyncSurahReload();
  }

  if (isShowingSectionedView_) {
    // The stored quarter stays in its own juz.
    if (currentlySelectedRow_ >= 0)
      rowDidMakeSelection(currentlySelectedRow_ - currentlySelectedSection_ * kQuartersPerJuz,
                          currentlySelectedSection_, false);
  } else {
    if (auto reading = ThisSurahController()) showAsCurrent(reading->iCurrentSurah());
    currentlySelectedRow_ = iCurrentlyShowingSurah_ - 1;
    currentlySelectedSection_ = -1;
    rowDidMakeSelection(iCurrentlyShowingSurah_ - 1, 0, false);
  }
}

void IndexViewController::viewDidAppear(bool animated) {
  (void)animated;
  if (!indexLoaded) return;
  firstLoad = true;
  IsShowingSurahView_ = false;
  takeKeysUnlessTaken();
}

// Typing picks a surah unless another screen (the reading screen, which also
// hears the media keys there) already takes the keys.
void IndexViewController::takeKeysUnlessTaken() {
  ui::Window* window = view()->window();
  if (window && !window->firstResponder()) becomeFirstResponder();
}

// The top button names the surah the index treats as current, whenever it
// changes (the index stands beside the reading screen, not only before it).
void IndexViewController::showAsCurrent(int surah) {
  bool changed = surah != iCurrentlyShowingSurah_;
  iCurrentlyShowingSurah_ = surah;
  if (!changed) return;
  if (btnTopCurrentSurah) setTopCurrentSurahButton(surah);
  // The list's rows keep the current surah's mark: the row of the one before loses it.
  if (surahListTable_ && !isShowingSectionedView_) {
    ignoreOverridingRowSelection_ = true;
    unmarkVisibleCells(ui::IndexPath::indexPathForRow(surah - 1, 0));
    ignoreOverridingRowSelection_ = false;
  }
}

// ---- opening the reading screen -----------------------------------------------------------------

void IndexViewController::showSurahView(const void* sender, int surah, int verse, bool startPlaying, bool animated) {
  (void)sender, (void)animated;
  auto reading = ThisSurahController();
  // The surah on screen: only the verse highlight moves.
  if (surah == iCurrentlyShowingSurah_ && firstSurahSetupDone && !isShowingSectionedView_ && !startPlaying) {
    if (verse < 0 || verse == highlightVerse) return;
    if (reading) reading->highlightVerse(verse, true, true, false, true);
    highlightVerse = verse;
    return;
  }
  if (reading && reading->settingUpSurah()) return;

  auto delegate = ZarvelSDKAppDelegate::GetInstance();
  firstSurahSetupDone = true;
  showAsCurrent(surah);
  highlightVerse = verse;
  playSurah = startPlaying && !(delegate && (delegate->isDownloading() || delegate->downloadingAllSurahs()));
  saveTableOffset();
  defaults().synchronize();

  // Asked to play a recitation that is not installed: offer its download and
  // open the surah without playing.
  bool play = playSurah;
  int reciter = int(defaults().integerForKey(kCurrentReciter));
  sqlite3* db = delegate ? delegate->dbConnection() : nullptr;
  bool continuous = db && ChapterInfo::doesReciterSupportContRecitation(reciter) &&
                    ChapterInfo::isSurahAudioContinuous(db, surah, reciter);
  if (!continuous && playSurah && !(db && ChapterInfo::isSurahAudioInstalled(db, surah, reciter))) {
    if (delegate) delegate->requestDownloadSurahAudioAlert(surah);
    play = false;
  }

  IsShowingSurahView_ = true;
  if (auto held = iPadController_ ? iPadController_->readingScreenForIndex() : nullptr; held || readingForTesting_) {
    reading = ThisSurahController();
    reading->setupBasicSurah(surah, verse, play);
    if (startPlaying) reading->asyncSurahReload();
    return;
  }
  defaults().setBool(true, kIsShowingSurahView);
  defaults().setInteger(surah, kCurrentlyShowingSurah);
  defaults().setInteger(verse, kCurrentlyShowingVerse);
  defaults().synchronize();
  setTopCurrentSurahButton(surah);
  ThisSurahController_ = IndexReadingScreen::detached();
  ThisSurahController_->setupBasicSurah(surah, verse, play);
  ThisSurahController_->setRequiresReload(true);
}

void IndexViewController::btnTopCurrentSurahPressed(const void* sender) {
  (void)sender;
  showSurahView(nullptr, iCurrentlyShowingSurah_, savedVerse(iCurrentlyShowingSurah_), false);
}

// ---- the selection ----------------------------------------------------------------------------------

void IndexViewController::unmark(const ui::IndexPath& path) {
  if (auto cell = surahListTable_->cellForRowAtIndexPath(path)) {
    cell->setSelected(false, false);
    cell->setHighlighted(false, false);
  }
  surahListTable_->deselectRowAtIndexPath(path, false);
}

void IndexViewController::unmarkVisibleCells(std::optional<ui::IndexPath> keep) {
  for (const ui::IndexPath& path : surahListTable_->indexPathsForVisibleRows())
    if (path != keep) unmark(path);
}

bool IndexViewController::rowDidMakeSelection(int row, int section, bool open) {
  int oldSection = isShowingSectionedView_ ? currentlySelectedSection_ : 0;
  int oldRow = isShowingSectionedView_ ? currentlySelectedRow_ - currentlySelectedSection_ * kQuartersPerJuz
                                       : currentlySelectedRow_;
  if (open && row == oldRow && section == oldSection) return false;

  int n = isShowingSectionedView_ ? row + section * kQuartersPerJuz : row;
  currentlySelectedSection_ = section;
  currentlySelectedRow_ = n;
  auto [surah, verse] = isShowingSectionedView_ ? quarterStart(n + 1) : std::make_pair(n + 1, -1);
  defaults().setInteger(currentlySelectedRow_, kIndexSelectedRow);
  defaults().setInteger(currentlySelectedSection_, kIndexSelectedSection);
  if (open) showSurahView(nullptr, surah, verse, false);
  else defaults().synchronize();

  if (surahListTable_) {
    ignoreOverridingRowSelection_ = true;
    ui::IndexPath old = ui::IndexPath::indexPathForRow(oldRow, oldSection);
    if (oldRow >= 0 && surahListTable_->cellForRowAtIndexPath(old)) unmark(old);
    else unmarkVisibleCells(open ? std::optional(ui::IndexPath::indexPathForRow(row, section)) : std::nullopt);
    ignoreOverridingRowSelection_ = false;
  }
  if (open) return true;

  if (!surahListTable_) return true;
  ui::IndexPath path = ui::IndexPath::indexPathForRow(row, section);
  if (auto cell = surahListTable_->cellForRowAtIndexPath(path)) {
    cell->setSelected(true, false);
    cell->setHighlighted(true, false);
  }
  if (section >= 0 && section < surahListTable_->numberOfSections() && row >= 0 &&
      row < surahListTable_->numberOfRowsInSection(section))
    surahListTable_->selectRowAtIndexPath(path, false, ui::TableViewScrollPosition::None);
  return true;
}

// The quarter that holds a verse is the last one that begins at or before it,
// comparing surah first and then verse.
int IndexViewController::quarterOfVerse(int surah, int verse) {
  std::pair<int, int> place{surah, verse};
  int quarter = 1;
  while (quarter < 240 && quarterStart(quarter + 1) <= place) ++quarter;
  return quarter;
}

void IndexViewController::selectSectionForSurah(int surah, int verse) {
  if (!isShowingSectionedView_) return;
  int juz = ChapterInfo::nearestjuzFrom(surah, verse);
  int quarter = std::max(quarterOfVerse(surah, verse), ChapterInfo::getHizbForJuz(juz));
  rowDidMakeSelection((quarter - 1) - (juz - 1) * kQuartersPerJuz, juz - 1, false);
}

// The list marks the surah being read, whoever opened it: a row stored for
// another surah (the list's own pick before a link or a move in the reading
// screen) loses its mark.
void IndexViewController::verifyIndexSelection() {
  if (isShowingSectionedView_) return;
  auto reading = ThisSurahController();
  int surah = reading ? reading->iCurrentSurah() : iCurrentlyShowingSurah_;
  showAsCurrent(surah);
  currentlySelectedRow_ = surah - 1;
  currentlySelectedSection_ = 0;
  rowDidMakeSelection(surah - 1, 0, false);
}

// ---- notifications -----------------------------------------------------------------------------------

void IndexViewController::surahDidChange() {
  if (!surahListTable_) return;
  int oldRow = isShowingSectionedView_ ? currentlySelectedRow_ - currentlySelectedSection_ * kQuartersPerJuz
                                       : currentlySelectedRow_;
  int oldSection = isShowingSectionedView_ ? currentlySelectedSection_ : 0;
  if (!isShowingSectionedView_ && currentlySelectedRow_ == -1) unmarkVisibleCells();
  if (auto reading = ThisSurahController()) showAsCurrent(reading->iCurrentSurah());
  if (isShowingSectionedView_) {
    currentlySelectedRow_ = -1;
    currentlySelectedSection_ = -1;
  } else {
    currentlySelectedSection_ = 0;
    currentlySelectedRow_ = iCurrentlyShowingSurah_ - 1;
    surahListTable_->selectRowAtIndexPath(ui::IndexPath::indexPathForRow(iCurrentlyShowingSurah_ - 1, 0), false,
                                          ui::TableViewScrollPosition::None);
  }
  ui::IndexPath old = ui::IndexPath::indexPathForRow(oldRow, oldSection);
  if (old != ui::IndexPath::indexPathForRow(currentlySelectedRow_, currentlySelectedSection_) || isShowingSectionedView_)
    if (surahListTable_->cellForRowAtIndexPath(old)) unmark(old);
}

void IndexViewController::translationDidChange() {
  requiresReloadOfTable = true;
  arrSectionedMeta.clear();
  appear();
}

void IndexViewController::reciterChanged() {
  requiresReloadOfTable = true;
  needsToRefreshAudioStatus = true;
  appear();
}

void IndexViewController::arabicLanguageChanged() {
  requiresReloadOfTable = true;
  arrSectionedMeta.clear();
  needsToRetheme = true;
  ZarvelSDKAppDelegate::ResetArabicCheck();
  appear();
}

// ---- the mode and the top bar ---------------------------------------------------------------------------

const char* IndexViewController::offsetKey() const {
  return isShowingSectionedView_ ? "SectionListYOffset" : "SurahListYOffset";
}

void IndexViewController::saveTableOffset() {
  if (surahListTable_) defaults().setFloat(surahListTable_->contentOffset().y, offsetKey());
}

void IndexViewController::btnSectionsPressed() {
  currentlySelectedRow_ = -1;
  currentlySelectedSection_ = -1;
  saveTableOffset();
  defaults().synchronize();
  isShowingSectionedView_ = !isShowingSectionedView_;
  if (isShowingSectionedView_)
    if (auto reading = ThisSurahController()) selectSectionForSurah(reading->iCurrentSurah(), reading->iCurrentVerse());
  tableTypeChanged();
}

void IndexViewController::reloadIndexView() {
  if (surahListTable_) surahListTable_->reloadData();
}

void IndexViewController::reloadSurahCell(int row) {
  if (!surahListTable_) return;
  auto cell = std::dynamic_pointer_cast<IndexTableViewCell>(
      surahListTable_->cellForRowAtIndexPath(ui::IndexPath::indexPathForRow(row, 0)));
  if (cell) cell->setRow(row, true);
}
