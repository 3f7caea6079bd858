// The reading screen's core: the view life cycle, the two-phase surah set-up
// (a quick phase that updates the header, then the deferred rebuild), the
// per-verse records and the reading position kept in the defaults.
#include "Classes/reading/SurahViewController.h"

#include <algorithm>
#include <mutex>

#include "Classes/core/ArabicVerseMeta.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/reading/PreparedRows.h"
#include "Classes/core/TranslationMeta.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/glyphs/ArabicFont.h"
#include "Classes/reading/SurahVerseView.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace {

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

// Guards the rebuild of the verse records for every reading screen.
std::mutex& recordsLock() {
  static std::mutex lock;
  return lock;
}

int wrapSurah(int surah) { return surah < 1 ? 114 : surah > 114 ? 1 : surah; }

}  // namespace

SurahViewController::SurahViewController() : preparedRows_(std::make_unique<PreparedRows>()) {}

SurahViewController::~SurahViewController() {
  ns::RunLoop::main().cancelPreviousPerformRequests(this);
  observers_.clear();
}

void SurahViewController::loadView() { buildSurahView(); }

void SurahViewController::observeNotifications() {
  auto& center = ns::NotificationCenter::defaultCenter();
  auto on = [this, &center](const char* name, std::function<void()> fn) {
    observers_.push_back(center.addObserver(name, [fn](const ns::Value&) { fn(); }));
  };
  on("ArabicFontChanged", [this] { arabicFontChanged(); });
  on("BookmarkDidChange", [this] { bookmarkDidChange(); });
  on("TajweedBarDisplayToggled", [this] { tajweedBarDisplayToggled(true); });
  on("WillBeginDownloadingAudio", [this] { willBeginDownloadingAudio(); });
  on("DidFinishDownloadingAudio", [this] { didFinishDownloadingAudio(); });
  on("TranslationDidChange", [this] { translationDidChange(); });
  on("SurahDidChangeFromIndex", [this] { translationDidChange(); });
  on("ReciterDidChange", [this] { reciterDidChange(); });
  on("PlayVerseRangeDidChange", [this] { playVerseDidChange(); });
  on("SurahRepeatDidChange", [this] { surahRepeatDidChange(); });
  on("AyahRepeatDidChange", [this] { ayahRepeatDidChange(); });
}

void SurahViewController::viewDidLoad() {
  viewDidUnload_ = false;
  observeNotifications();
  updateReciterLabel();
  tblVerses->flashScrollIndicators();
  tblVerses->setScrollsToTop(true);
  updateSurahNameButton();
  updateTranslationLabel();
  refreshTheme();
  setupTajweedBar();
  tajweedBarDisplayToggled(false);
  currTblOffset = cg::Point{0, float(defaults().integerForKey("LastSurahYOffset"))};
  usePrevOffset_ = true;
  installVerseOptions();
  startIdleTimer();
}

void SurahViewController::viewWillAppear(bool) {
  viewIsVisible_ = true;
  IsInLandscape_ = rootInLandscape();
  applyLayoutChrome(IsInLandscape_);
  tajweedBarDisplayToggled(false);
  if (RequiresReload_) hideVersesBeforeLoading(true, false);
  surahRepeatBubbleCounter_ = int(defaults().integerForKey("SurahRepeatCounter"));
  ayahRepeatBubbleCounter_ = int(defaults().integerForKey("AyahRepeatCounter"));
  playVerseRangeCounter_ = int(defaults().integerForKey("PlayVerseRange"));
  setCorrectSurahRepeatButton();
  setCorrectAyahRepeatButton();
  canRecreateFontLoader_ = true;
  refreshVerseHeights();
  if (ipaddelegate_) ipaddelegate_->translationsCanNowAppear();
  tblVerses->reloadData();
  std::string back = defaults().boolForKey("IsShowingSections") ? "Sections" : "Suras";
  btnBackToIndex->setTitle(Language::get(back, back), ui::ControlStateNormal);
  btnBackToIndex->setTitle(Language::get(back, back), ui::ControlStateHighlighted);
  setupTajweedBar();
}

void SurahViewController::viewDidAppear(bool) {
  viewIsVisible_ = true;
  dateLastActivity_ = ns::Date(ns::Clock::current().now());
  if (ZarvelSDKAppDelegate::isSleepEnabled()) ZarvelSDKAppDelegate::disableSleep();
  updateTranslationLabel();
  becomeFirstResponder();
  // The desktop's media keys are this screen's remote while it shows.
  ui::Application::shared().beginReceivingRemoteControlEvents();
  watchTwoFingerGesture();
  if (RequiresReload_) {
    RequiresReload_ = false;
    tblVerses->setAlpha(0);
    progressIndicator->startAnimating();
    ns::NotificationCenter::defaultCenter().postNotificationName("SurahWillChange");
    ns::RunLoop::main().performAfter(this, "asyncSurahReload", 0.05, [this] { asyncSurahReload(); });
  } else if (globalShouldStartPlaying_ && !IsInPlayMode_) {
    playStopOrDownload();
    globalShouldStartPlaying_ = false;
  }
}

void SurahViewController::viewWillDisappear(bool) {
  if (isShowingSurahInfo_) surahNameButtonPressed();
  if (showingDialControl_) hideDialControl();
  stopIfPlaying();
  usePrevOffset_ = true;
  saveCurrentSurahAndVerse();
  viewIsVisible_ = false;
  tblVerses->setAlpha(1);
  if (!ZarvelSDKAppDelegate::isSleepEnabled()) ZarvelSDKAppDelegate::enableSleep();
}

void SurahViewController::viewDidUnload() {
  observers_.clear();
  idleTimer.invalidate();
  ns::RunLoop::main().cancelPreviousPerformRequests(this);
  IsInLandscape_ = false;
  viewIsVisible_ = false;
  viewDidUnload_ = true;
}

// ---- the quick phase --------------------------------------------------------------------------

void SurahViewController::setupBasicSurah(int surah, int verse, bool play) {
  isSwitchingSurah_ = true;
  ChapterInfo::finalizeDynamicQueries();
  SurahVerseView::checkColoredTranslation();
  if (surah == iCurrentSurah_ && play && IsInPlayMode_) {
    stopPlaying();  // asking to play the surah that plays stops it
    isSwitchingSurah_ = false;
    return;
  }
  selectedVerse_ = -1;
  iCurrentVerse_ = verse;
  iCurrentSurah_ = wrapSurah(surah);
  highlightWithAnim_ = false;
  globalShouldStartPlaying_ = play;
  if (IsInPlayMode_) stopPlaying();
  if (btnTopOptionBar) btnTopOptionBar->setEnabled(true);
  if (popoverView && popoverView->isPopoverVisible() && !isShowingSurahInfo_) popoverView->dismissPopoverAnimated(true);
  hideDialControl();
  if (!isViewLoaded()) return;
  updateSurahNameButton();
  updateReciterLabel();
  updateTranslationLabel();
  lblLoading->setAlpha(0);
  bool wasSettingUp = settingUpSurah_;
  settingUpSurah_ = true;
  if (!IsInLandscape_) IsInLandscape_ = rootInLandscape();
  settingUpSurah_ = wasSettingUp;
}

// ---- the deferred phase ---------------------------------------------------------------------

void SurahViewController::asyncSurahReload() {
  if (viewDidUnload_ || !isViewLoaded()) {
    RequiresReload_ = true;
    return;
  }
  setupSurah(iCurrentSurah_, iCurrentVerse_, globalShouldStartPlaying_);
  showVersesAfterLoading(false);
  int count = ChapterInfo::getVersesFromNumber(iCurrentSurah_);
  if (iCurrentVerse_ != 0 && iCurrentVerse_ <= count) {
    highlightVerse(iCurrentVerse_, true, highlightWithAnim_);
  } else if (numberOfVerseRows() > 0) {
    tblVerses->scrollToRowAtIndexPath(ui::IndexPath::indexPathForRow(0, 0), ui::TableViewScrollPosition::Top, true);
  }
  usePrevOffset_ = false;
  if (globalShouldStartPlaying_ && !IsInPlayMode_) playStopOrDownload();
  globalShouldStartPlaying_ = false;
}

int SurahViewController::chosenTranslation() const {
  if (!isFloatingViewExpanded() || defaults().boolForKey("HideTransInFullScreen")) return 0;
  int t = int(defaults().integerForKey("CurrentTranslationPrimary"));
  return t != 0 ? t : int(defaults().integerForKey("CurrentTranslationSecondary"));
}

void SurahViewController::setupSurah(int surah, int verse, bool play) {
  if (viewDidUnload_ || !isViewLoaded()) {
    RequiresReload_ = true;
    return;
  }
  settingUpSurah_ = true;
  int S = wrapSurah(surah);
  int count = ChapterInfo::getVersesFromNumber(S);
  int v = verse;
  if (resetVersePosition_) {
    v = -1;
    resetVersePosition_ = false;
  }
  highlightWithAnim_ = false;
  if (v > 0 && v > count) v = count;
  bool noHeader = S == 1 || S == 9;
  if (v <= 0 && (noHeader || v != -1)) v = 1;
  iCurrentVerse_ = v;
  iCurrentPlayingVerse_ = v;
  globalShouldStartPlaying_ = play;
  iCurrentSurah_ = S;
  updateReciterLabel();
  updateTranslationLabel();
  updateSurahNameButton();
  if (popoverView && popoverView->isPopoverVisible() && (!isShowingSurahInfo_ || play)) {
    isShowingSurahInfo_ = false;
    popoverView->dismissPopoverAnimated(true);
  }
  if (S == 18) ZarvelSDKAppDelegate::MarkAlKahfRead();
  isAltVerse_ = false;
  lastPlayedVerse_ = -2;
  lastPlayedVerseFile_.clear();
  altVerseFileName_ = "current.mp3";
  if (btnTopOptionBar) btnTopOptionBar->setEnabled(true);
  hideDialControl();
  globalShouldStartPlaying_ = false;
  iLastAudioSurah_ = int(defaults().integerForKey("LastAudioSurah"));
  iLastAudioVerse_ = int(defaults().integerForKey("LastAudioVerse"));

  iCurrentTranslation_ = chosenTranslation();
  translationArr.clear();
  auto app = ZarvelSDKAppDelegate::GetInstance();
  if (iCurrentTranslation_ == 1000) {
    for (int i = 1; i <= count; ++i)
      translationArr.push_back(app ? ChapterInfo::getBookmarkNote(app->dbConnection(), S, i) : std::string());
  } else if (iCurrentTranslation_ != 0 && app) {
    translationArr = ChapterInfo::getTranslationDataFor(app->dbConnectionStatic(), iCurrentTranslation_, S);
  }
  if (ipaddelegate_) ipaddelegate_->surahRequiresTranslationsReload();
  // Records of another surah or translation must never be drawn with the new
  // layout, so they are rebuilt now when visible and dropped otherwise.
  if (viewIsVisible_) {
    refreshVerseHeights();
  } else {
    std::lock_guard<std::mutex> lock(recordsLock());
    verseMetaData.clear();
    transHeightMeta.clear();
    hasVerseRecords_ = false;
  }
  invalidateRowOffsets();

  defaults().setObject(ns::Value(std::to_string(iCurrentSurah_)), "LastSurah");
  defaults().setObject(ns::Value(std::to_string(verse)), "LastVerse");
  defaults().setInteger(iCurrentSurah_, "CurrentlyShowingSurah");
  defaults().setInteger(verse, "CurrentlyShowingVerse");

  bool earlierVisible = viewIsVisible_;
  reloadBookmarksMap();
  if (earlierVisible) tblVerses->reloadData();

  bool highlighted = false;
  int K = iCurrentVerse_;
  if (K >= 1 || (K >= 0 && !usePrevOffset_)) {
    highlightVerse(K, true, highlightWithAnim_, didRecentlyChangeTrans_);
    highlighted = true;
  }
  didRecentlyChangeTrans_ = false;
  tabBarItem().badgeValue = dictBookmarkedVerseMap.empty() ? std::string() : std::to_string(dictBookmarkedVerseMap.size());
  updateSurahNameButton();
  if (play) {
    if (viewIsVisible_) playStopOrDownload();
    else globalShouldStartPlaying_ = true;
  }
  lblLoading->setAlpha(0);
  tblVerses->setScrollsToTop(true);
  if (!isSwitchingSurah_) setTableAlpha(1, true, "ShowSurahTable", 0.15);
  if (!highlighted) {
    if (usePrevOffset_ && iCurrentVerse_ < 1 && iCurrentSurah_ == int(defaults().integerForKey("LastSurahShowing")))
      tblVerses->setContentOffset(currTblOffset, false);
    else
      tblVerses->setContentOffset(cg::Point{0, 0}, false);
  }
  usePrevOffset_ = false;
  defaults().synchronize();
  tblVerses->setUserInteractionEnabled(true);
  isSwitchingSurah_ = false;
  settingUpSurah_ = false;
  if (viewIsVisible_ && ipaddelegate_) ipaddelegate_->translationsCanNowAppear();
  if (earlierVisible && ipaddelegate_) ipaddelegate_->verifyIndexSelection();
}

void SurahViewController::setTableAlpha(float alpha, bool animated, const std::string& name, double duration) {
  if (animated) {
    ui::View::beginAnimations(name);
    ui::View::setAnimationDuration(duration);
  }
  tblVerses->setAlpha(alpha);
  if (animated) ui::View::commitAnimations();
}

void SurahViewController::refreshVerseHeights() {
  std::lock_guard<std::mutex> lock(recordsLock());
  verseMetaData.clear();
  transHeightMeta.clear();
  int resolution = ZarvelSDKAppDelegate::ArabicFontSize();
  if (resolution < 0 || resolution > 4) resolution = 0;
  if (ZarvelSDKAppDelegate::IsDeviceRetina()) resolution += 5;
  fontResolution_ = resolution;
  fontLoader_ = ZarvelSDKAppDelegate::getSharedArabicFontLoader(resolution, canRecreateFontLoader_);
  canRecreateFontLoader_ = false;
  int count = ChapterInfo::getVersesFromNumber(iCurrentSurah_);
  for (int v = 1; v <= count; ++v) {
    auto meta = std::make_shared<ArabicVerseMeta>(iCurrentSurah_, v);
    meta->VerseData();
    verseMetaData[v] = meta;
    if (iCurrentTranslation_ != 0 && size_t(v - 1) < translationArr.size())
      transHeightMeta[v] = std::make_shared<TranslationMeta>(translationArr[v - 1], iCurrentTranslation_,
                                                             iCurrentSurah_, v, false);
  }
  hasVerseRecords_ = true;
  invalidateRowOffsets();
}

void SurahViewController::translationDidChange() {
  settingUpSurah_ = true;
  SurahVerseView::checkColoredTranslation();
  iCurrentTranslation_ = chosenTranslation();
  if (ipaddelegate_ && ipaddelegate_->isKeyboardShowing()) ipaddelegate_->dismissKeyboard();
  currTblOffset.y = 0;
  RequiresReload_ = true;
  updateTranslationLabel();
  viewDidAppear(false);
}

void SurahViewController::arabicFontChanged() {
  canRecreateFontLoader_ = true;
  translationDidChange();
}

void SurahViewController::reciterDidChange() {
  updateReciterLabel();
  if (popoverView && popoverView->isPopoverVisible() && !isShowingSurahInfo_) popoverView->dismissPopoverAnimated(true);
}

void SurahViewController::willBeginDownloadingAudio() {
  if (btnPlay) btnPlay->setEnabled(false);
  if (btnReciter) btnReciter->setEnabled(false);
}

void SurahViewController::didFinishDownloadingAudio() {
  if (ipaddelegate_ && ipaddelegate_->isDownloadAllAudios()) return;
  if (btnPlay) btnPlay->setEnabled(true);
  if (btnReciter) btnReciter->setEnabled(true);
}

std::string SurahViewController::getTranslationForSurah(int surah, int index) const {
  if (surah != iCurrentSurah_ || index < 0 || size_t(index) >= translationArr.size()) return "";
  return translationArr[size_t(index)];
}

bool SurahViewController::isVerseLastAudioBookmark(int surah, int verse) const {
  return surah == int(defaults().integerForKey("LastAudioSurah")) &&
         verse == int(defaults().integerForKey("LastAudioVerse"));
}

// ---- the reading position ---------------------------------------------------------------------------

void SurahViewController::saveCurrentSurahAndVerse() {
  currTblOffset = tblVerses ? tblVerses->contentOffset() : cg::Point{0, 0};
  defaults().setObject(ns::Value(std::to_string(iCurrentSurah_)), "LastSurah");
  defaults().setObject(ns::Value(std::to_string(iCurrentVerse_)), "LastVerse");
  defaults().setInteger(iCurrentVerse_, "CurrentlyShowingVerse");
  defaults().setInteger(iCurrentSurah_, "CurrentlyShowingSurah");
  defaults().setInteger(int(currTblOffset.y), "LastSurahYOffset");
  defaults().setInteger(iCurrentSurah_, "LastSurahShowing");
  defaults().synchronize();
}

void SurahViewController::restoreLastSavedVerse() {
  int v = int(defaults().integerForKey("CurrentlyShowingVerse"));
  v = std::min(v, ChapterInfo::getVersesFromNumber(iCurrentSurah_));
  selectedVerse_ = v;
  highlightVerse(v, true, false, true, true);
}

void SurahViewController::hideVersesBeforeLoading(bool hideTable, bool) {
  lblLoading->setAlpha(1);
  tblVerses->setUserInteractionEnabled(false);
  if (hideTable) tblVerses->setAlpha(0);
  progressIndicator->startAnimating();
}

void SurahViewController::showVersesAfterLoading(bool restoreOffset) {
  tblVerses->setUserInteractionEnabled(true);
  progressIndicator->stopAnimating();
  imgSurahName->setHidden(false);
  lblLoading->setAlpha(0);
  tblVerses->setAlpha(1);
  if (restoreOffset)
    tblVerses->setContentOffset(cg::Point{currTblOffset.x, currTblOffset.y + float(extraTblOffset)}, false);
}

void SurahViewController::cleanupStateClosingView() {
  if (IsInPlayMode_) stopPlaying(true, false);
  if (showingDialControl_) {
    if (popoverView && popoverView->isPopoverVisible() && !isShowingSurahInfo_)
      popoverView->dismissPopoverAnimated(true);
    hideDialControl();
  }
}

// ---- keys ----------------------------------------------------------------------------------------------

// The desktop's keys: pages and arrows move through the verses; Left and
// Right follow the ornaments on screen (the left one opens the previous
// surah, the right one the next).
void SurahViewController::keyDown(const ui::KeyEvent& key) {
  if (!tblVerses || settingUpSurah_) return;
  int count = ChapterInfo::getVersesFromNumber(iCurrentSurah_);
  int first = hasHeaderRow() ? 0 : 1;
  int current = std::max(selectedVerse_, first);
  auto go = [&](int verse) { highlightVerse(std::clamp(verse, first, count), true, true, true); };
  float page = tblVerses->bounds().height();
  auto pageTo = [&](float dy) {
    float maxY = std::max(0.0f, tblVerses->contentSize().height - page);
    cg::Point o = tblVerses->contentOffset();
    tblVerses->setContentOffset(cg::Point{o.x, std::clamp(o.y + dy, 0.0f, maxY)}, true);
  };
  if (key.key == "Space") {
    // Space plays and pauses, as the media keys' play key does.
    ui::Event toggle{0, {}, ui::EventType::RemoteControl, ui::EventSubtype::RemoteControlTogglePlayPause};
    remoteControlReceivedWithEvent(toggle);
  } else if (key.key == "Left") showPreviousSurahNow();
  else if (key.key == "Right") showNextSurahNow();
  else if (key.key == "Down") go(current + 1);
  else if (key.key == "Up") go(current - 1);
  else if (key.key == "Home") go(first);
  else if (key.key == "End") go(count);
  else if (key.key == "PageDown") pageTo(page);
  else if (key.key == "PageUp") pageTo(-page);
  else ui::ViewController::keyDown(key);
}
