#pragma once
// The reading screen: one surah at a time as a table of verse rows (the
// Arabic drawn by the shared glyph renderer, an optional translation row
// after each verse), under a header with the surah name, the reciter, the
// translation, the play button and the neighbouring-surah ornaments.
//
// The core (this file's .cpp) holds the state every part shares, the view
// life cycle, the two-phase surah set-up and the reading position; the row
// mapping and highlighting, the bookmarks, the header and navigation, the
// table data source and the layout of the outlets live in the category files
// beside it. Main thread only.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/audio/MXAudioPlayerFadeOperation.h"
#include "Classes/audio/PlayOptionsPickers.h"
#include "Classes/audio/ZarvelSDKAppDownloadDelegate.h"
#include "Classes/core/Bookmark.h"
#include "Classes/reading/SurahOptimizer.h"
#include "Classes/reading/VerseHeightCache.h"
#include "Classes/common/iPadConnectionDelegate.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/TableView.h"
#include "platform/media/AudioPlayer.h"
#include "platform/media/AudioSession.h"
#include "platform/ui/ViewController.h"

class ArabicFont;
class ArabicVerseMeta;
class PreparedRows;
class SurahFastScroll;
class VerseOptionsPanel;
class SurahVerseView;
class SurahViewCell;
class TranslationMeta;
namespace ui {
class ActivityIndicatorView;
class Button;
class ImageView;
class Label;
class ProgressView;
}  // namespace ui

class SurahViewController : public ui::ViewController,
                            public ui::TableViewDataSource,
                            public ui::TableViewDelegate,
                            public ui::PopoverControllerDelegate,
                            public av::AudioPlayerDelegate,
                            public av::AudioSessionDelegate,
                            public MXAudioPlayerFadeOperationDelegate,
                            public PlayOptionsPickerDelegate,
                            public ZarvelSDKAppDownloadDelegate,
                            public SurahOptimizerDelegate {
 public:
  SurahViewController();
  ~SurahViewController() override;

  // ---- what the application delegate and the root call ---------------------------
  virtual void saveCurrentSurahAndVerse();
  virtual void registerRemoteEvents();
  virtual void unregisterRemoteEvents();
  virtual void updateSurahNameButton();
  virtual void asyncSurahReload();
  virtual void updateBookmarkForVerse(int verse, int surah);

  // ---- view life cycle -------------------------------------------------------------
  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  void viewDidUnload() override;
  bool canBecomeFirstResponder() const override { return true; }
  void keyDown(const ui::KeyEvent& key) override;

  // ---- surah set-up (core) ------------------------------------------------------------
  void setupBasicSurah(int surah, int verse, bool play);
  void setupSurah(int surah, int verse, bool play);
  void refreshVerseHeights();
  void restoreLastSavedVerse();
  void hideVersesBeforeLoading(bool hideTable, bool usePrevOffset);
  void showVersesAfterLoading(bool restoreOffset);
  void cleanupStateClosingView();
  void translationDidChange();
  void arabicFontChanged();
  void reciterDidChange();
  void willBeginDownloadingAudio();
  void didFinishDownloadingAudio();

  int getTranslatorID() const { return iCurrentTranslation_; }
  std::string getTranslationForSurah(int surah, int index) const;
  bool isVerseLastAudioBookmark(int surah, int verse) const;
  bool isTranslationInstalled(int) const { return true; }
  bool isSurahAvailable(int) const { return true; }

  // ---- row mapping, offsets and highlighting ----------------------------------------------
  int rowToVerse(int row) const;
  int verseToRow(int verse) const;
  // The number of rows of the current layout.
  int numberOfVerseRows() const;
  float getHeightForVerse(int verse, bool landscape);
  int getTopOffsetForRow(int row, bool landscape);
  void highlightVerse(int verse, bool jumpTo);
  void highlightVerse(int verse, bool jumpTo, bool animated);
  void highlightVerse(int verse, bool jumpTo, bool animated, bool forceSelection);
  void highlightVerse(int verse, bool jumpTo, bool animated, bool forceSelection, bool ignorePassingToTrans);
  void highlightForPlayingVerse(int verse, bool stopPlaying);
  void highlightForPlayingVerse(int verse, bool stopPlaying, bool ignorePassingToTrans);
  void reloadVisibleRows();
  void refreshSurahView();

  // ---- bookmarks -----------------------------------------------------------------------------
  void reloadBookmarksMap();
  bool isVerseBookmarked(int verse) const;
  bool verseHasNote(int verse) const;
  bool isReflectingSearch(int verse) const;
  // False (and the reader told) when the change could not be stored.
  bool addOrRemoveBookmarkForVerse(int verse);
  bool addOrRemoveBookmarkForVerse(int verse, int group);
  void bookmarkDidChange();

  // ---- header and navigation ------------------------------------------------------------------
  void btnIndexPressed();
  void btnReciterPressed();
  void btnTranslatorPressed();
  void surahNameButtonPressed();
  void btnTopOrnTopDown(ui::Button* sender);
  void btnTopOrnTopUp(ui::Button* sender);
  void updateReciterLabel();
  void updateTranslationLabel();
  void refreshTheme();
  int getNextAvailableSurah() const;
  int getPrevAvailableSurah() const;
  void showNextSurah() { showNextSurahNow(); }
  void showPreviousSurah() { showPreviousSurahNow(); }
  void showNextSurahNow();
  void showPreviousSurahNow();
  void hideDialControl();
  // The screen's one popover, made on first use and reused with new content.
  ui::PopoverController& createPopoverViewWithController(std::shared_ptr<ui::ViewController> content);

  // ---- recitation playback (Audio) -------------------------------------------------------------
  // The play command: starts, stops, or asks the root for the surah's download.
  void playStopOrDownload();
  void playNextVerseForSelectedVerse(int verse);
  void stopIfPlaying();
  void stopPlaying() { stopPlaying(true, true); }
  void stopPlaying(bool hideControls, bool animated);
  void fadeIn(float seconds);
  bool fadeOut(float seconds);
  void fadeOperationFinished() override;
  void checkContinuousPlayback();
  // Writes the verse's MP3 to Documents and answers the file's name ("" when
  // the verse has no data: nothing is written).
  std::string getPathToVerseAudioForVerse(int verse, bool inBg);
  void audioPlayerDidFinishPlaying(av::AudioPlayer& player, bool successfully) override;
  void audioPlayerDecodeErrorDidOccur(av::AudioPlayer& player, const ns::Error& error) override;
  void updateLastAudioVerseForselectedVerse(bool save);
  void hideAudioControls(bool) {}
  void showAudioControls(bool) {}
  void showBottomAudioBar(bool, bool) {}
  void hideBottomAudioBar(bool, bool) {}
  void showLSAudioBar(bool, bool) {}
  void hideLSAudioBar(bool, bool) {}
  // Repeat, range and play-on rules.
  void finishedPlayingVerseMoveToNext();
  void playVerseDidChange();
  void surahRepeatDidChange();
  void ayahRepeatDidChange();
  void setCorrectSurahRepeatButton();
  void setCorrectAyahRepeatButton();
  // The play-option pickers over the bubbles.
  void btnPlayNextPressed();
  void btnAyahRepeatPressed();
  void dismissNextAyahOptionSheet() override;
  void dismissAyahRepeatOptionSheet() override;
  // Transport, seeking, remote control and interruptions.
  void btnAudioPausePressed();
  void btnAudioFFPressed();
  void btnAudioRRPressed();
  void btnAudioFingerDown(ui::Button* button);
  void btnAudioFingerUp();
  void seekForward();
  void seekBackward();
  void showAudioFFRRHUD(int backward);
  void hideAudioFFRRHUD();
  void remoteControlReceivedWithEvent(const ui::Event& event) override;
  void audioPlayerBeginInterruption(av::AudioPlayer& player) override;
  void audioPlayerEndInterruption(av::AudioPlayer& player, unsigned flags) override;
  void beginInterruption() override;
  void endInterruption() override;

  // Download progress in the screen's own strip (AudioDownload).
  void didBeginDownloading() override;
  void didUpdateFileSize(int bytes) override;
  void didUpdateDownloadProgress(float progress) override;
  void willPerformAudioSetup() override;
  void didSetupDownloadedAudio() override {}
  void downloadRequiresRefreshOfStatus() override { updateReciterLabel(); }
  void didEndDownloading() override;
  void downloadViewAnimDidStop();
  void checkDownloadStatus();
  void cancelAudioDownload();
  void btnDownloadProgressPressed() {}

  std::shared_ptr<av::AudioPlayer> CurrentAudioPlayer() const { return CurrentAudioPlayer_; }
  // Either pause button is selected.
  bool isAudioPaused() const;
  bool isUsingContinuousPlayback() const { return isUsingContinuousPlayback_; }
  bool isShowingFFRRHUD() const { return isShowingFFRRHUD_; }
  bool isShowingPlayOptions() const { return isShowingPlayOptions_; }
  int startedPlayingFromVerse() const { return startedPlayingFromVerse_; }
  int playedVerseRange() const { return playedVerseRange_; }
  int lastVersePart() const { return lastVersePart_; }
  float currentVerseBeginTime() const { return currentVerseBeginTime_; }
  float nextVerseBeginTime() const { return nextVerseBeginTime_; }
  const std::string& lastPlayedVerseFile() const { return lastPlayedVerseFile_; }

  // The audio outlets: the portrait and landscape transport bars, the seek
  // indicator, and the repeat bubbles with their bar (which the root carries).
  std::shared_ptr<ui::View> viewBottomAudioBar, viewLandscapeAudioBar, viewAirPlayControl, viewLandscapeAirPlayControl,
      viewFFRRHud;
  std::shared_ptr<ui::ImageView> imgBottomAudioBG, imgFFRRType, imgDownArrowSurahRepeat, imgDownArrowAyahRepeat;
  std::shared_ptr<ui::Button> btnBottomAudioRR, btnBottomAudioPause, btnBottomAudioFF, btnLandscapeAudioRR,
      btnLandscapeAudioPause, btnLandscapeAudioFF, btnSurahRepeatBubble, btnAyahRepeatBubble;
  std::shared_ptr<ui::Label> lblFFRR, lblAyahRepeatCount;
  // The download strip over the foot of the verses.
  std::shared_ptr<ui::View> viewDownloadAudioProgress, viewDownloadAudioProgressContainer;
  std::shared_ptr<ui::ProgressView> downloadAudioProgressBar;
  std::shared_ptr<ui::Label> lblAudioDownloadDetails;
  std::shared_ptr<ui::Button> btnAudioDownloadCancel, btnDownloadProgress;
  std::shared_ptr<ui::ActivityIndicatorView> activityAudioDownload;

  // ---- table data source and delegate -----------------------------------------------------------
  int numberOfSectionsInTableView(ui::TableView* tableView) override;
  int numberOfRowsInSection(ui::TableView* tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  float heightForRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView* tableView,
                                                        const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  void scrollViewDidScroll(ui::ScrollView* scrollView) override;
  void scrollViewWillBeginDragging(ui::ScrollView* scrollView) override;
  void scrollViewDidEndDragging(ui::ScrollView* scrollView, bool willDecelerate) override;
  void scrollViewDidEndDecelerating(ui::ScrollView* scrollView) override;
  bool scrollViewShouldScrollToTop(ui::ScrollView* scrollView) override;
  void scrollViewDidScrollToTop(ui::ScrollView* scrollView) override;
  // The verse whose row is at the top of the table becomes the selection.
  void selectVerseOnTopOfScreen();
  void tableCameToRest();

  // ---- the verse options panel (OptionsHUD) ---------------------------------------------------------
  void showDialControlForVerseCell(SurahViewCell* cell, SurahVerseView* rowView, ui::TableView* table, int verse,
                                   int surah);
  void bringSelectedVerseToTop(std::optional<ui::IndexPath> path, bool animated, bool landscape);
  VerseOptionsPanel* optionsPanel() const { return optionsPanel_.get(); }
  // The long-pressed row while the panel is up, and its frame in the display.
  std::optional<ui::IndexPath> mouseLocation;
  cg::Rect verseHUDPoint;

  // ---- rotation, landscape and the idle timer (Landscape) ---------------------------------------------
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation o) override;
  void willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation to, double duration) override;
  void didRotateFromInterfaceOrientation(ui::InterfaceOrientation from) override;
  void resetisRotating() { isRotating_ = false; }
  bool isRotating() const { return isRotating_; }
  bool canTurnLandscape(ui::InterfaceOrientation) const { return !isSwitchingSurah_; }
  bool prepareForLandscapeWithAnimation(bool animated, bool initial);
  bool prepareForPortraitWithAnimation(bool animated, bool initial);
  // Measures the rows again for a new layout, keeping the verse at the top.
  void reloadKeepingTopVerse();
  std::optional<ui::IndexPath> topVerseRow() const;
  void setupForLandscape();
  void setupForPortrait();
  void checkIdleTimeout();
  // The window offers every event here first; none is consumed.
  bool interceptEvent(const ui::Event& event);
  bool pinchZoomBegan() const { return pinchZoomBegan_; }
  bool reShowPopover = false;
  // Reading activity: the idle timer counts from the last.
  void noteActivity();
  std::optional<ns::Date> dateLastActivity() const { return dateLastActivity_; }

  // ---- the tajweed legend bar (Tajweed) ---------------------------------------------------------------
  // Titles the five buttons; once, from the view's set-up.
  void setupTajweedBar();
  // Shows or hides the bar as "ShowTajweedBar" says.
  void tajweedBarDisplayToggled(bool animated);
  void showTajweedBar(bool animated);
  void hideTajweedBar(bool animated);
  // Opens the guide on the button's rule in a popover over the bar.
  void tajweedButtonPressed(ui::Button* sender);
  // The bar's button of a rule of the guide (0 Ghunna .. 4 Qalqala); null for others.
  ui::Button* tajweedButtonForRule(int rule) const;
  void surahOptimizerDone(int) override {}

  // ---- fast scrolling ---------------------------------------------------------------------------------
  SurahFastScroll* fastScroll() const { return fastScroll_.get(); }

  // ---- popover delegate ---------------------------------------------------------------------------
  bool popoverControllerShouldDismissPopover(ui::PopoverController&) override { return true; }
  void popoverControllerDidDismissPopover(ui::PopoverController&) override;

  // ---- accessors -----------------------------------------------------------------------------------
  int iCurrentSurah() const { return iCurrentSurah_; }
  void setICurrentSurah(int surah) { iCurrentSurah_ = surah; }
  int iCurrentVerse() const { return iCurrentVerse_; }
  int selectedVerse() const { return selectedVerse_; }
  int iCurrentPlayingVerse() const { return iCurrentPlayingVerse_; }
  int iCurrentTranslation() const { return iCurrentTranslation_; }
  int currentReciter() const { return currentReciter_; }
  bool settingUpSurah() const { return settingUpSurah_; }
  bool isSwitchingSurah() const { return isSwitchingSurah_; }
  bool RequiresReload() const { return RequiresReload_; }
  void setRequiresReload(bool on) { RequiresReload_ = on; }
  bool IsInPlayMode() const { return IsInPlayMode_; }
  void setIsInPlayMode(bool on) { IsInPlayMode_ = on; }
  bool IsInLandscape() const { return IsInLandscape_; }
  void setIsInLandscape(bool on) { IsInLandscape_ = on; }
  bool showingDialControl() const { return showingDialControl_; }
  void setShowingDialControl(bool on) { showingDialControl_ = on; }
  bool isShowingSurahInfo() const { return isShowingSurahInfo_; }
  bool IgnoreSendingScrollEvents() const { return IgnoreSendingScrollEvents_; }
  void setIgnoreSendingScrollEvents(bool on) { IgnoreSendingScrollEvents_ = on; }
  std::shared_ptr<ArabicFont> fontLoader() const { return fontLoader_; }
  // The glyph size style of the verse rows (0..4, plus 5 at scale 2).
  int fontResolution() const { return fontResolution_; }
  iPadConnectionDelegate* ipaddelegate() const { return ipaddelegate_; }
  // Not retained: the root owns the screen.
  void setIpaddelegate(iPadConnectionDelegate* root) { ipaddelegate_ = root; }
  const std::map<int, BookmarkPtr>& bookmarkedVerseMap() const { return dictBookmarkedVerseMap; }
  const std::map<int, std::shared_ptr<ArabicVerseMeta>>& verseRecords() const { return verseMetaData; }
  const std::map<int, std::shared_ptr<TranslationMeta>>& translationRecords() const { return transHeightMeta; }
  // The verse and translation bitmaps drawn ahead for rows about to come
  // into view, which the rows take as they are drawn.
  PreparedRows& preparedRows() { return *preparedRows_; }
  // Draws the bitmaps of one row ahead of the visible rows, in the direction
  // the table last scrolled and at most a screen ahead; true when it did and
  // more rows may follow. The table's scrolls call it after each frame.
  bool prepareRowAhead();
  // After the next frame, draws rows ahead one at a time in idle turns: on
  // each scroll of the table, and whenever a row had to draw its own.
  void scheduleRowsAhead();

  // The outlets, as the layout builder made them ("SurahView").
  std::shared_ptr<ui::TableView> tblVerses, tblSurahInfo;
  std::shared_ptr<ui::View> viewSurahDisplay, viewEverything, viewSurahDispAndOrnaments, viewTopButtonsAndTitles,
      viewTopRepeatBubbles, viewSurahInfoHUD;
  std::shared_ptr<ui::ImageView> imgBG, imgSurahName, imgTopCenterOrn, imgOrnamentsUnderLay, imgSurahInfoBG,
      imgDownArrowReciter, imgDownArrowTranslation;
  std::shared_ptr<ui::Label> lblLoading, lblSurahName, lblSurahInfoNotice;
  std::shared_ptr<ui::ActivityIndicatorView> progressIndicator;
  std::shared_ptr<ui::Button> btnSurahTitleBG, btnSurahNameOptionsBar, btnTopOptionBar, btnBackToIndex, btnReciter,
      btnTranslation, btnLeftOrnament, btnRightOrnament, btnTopLeftOrnTop, btnTopRightOrnTop, btnPlay;
  std::shared_ptr<ui::PopoverController> popoverView;
  // The landscape layout's own previous and next buttons over the header.
  std::shared_ptr<ui::View> viewTopLSButtons;
  std::shared_ptr<ui::Button> btnLSPrevSurah, btnLSNextSurah;
  // The tajweed legend over the bottom of the table, and the fade under it.
  std::shared_ptr<ui::View> viewTajweedBar;
  std::shared_ptr<ui::Button> btnTajweedQalqala, btnTajweedIqlab, btnTajweedIdgham, btnTajweedIkhfa, btnTajweedGhunna;
  std::shared_ptr<ui::ImageView> imgNoteCover;
  // The first-time preparation view; nothing makes it.
  std::shared_ptr<SurahOptimizer> viewOptimizer;

  // Where the last popover pointed (1 = arrow up, 2 = arrow down).
  ui::Button* lastButtonTapped = nullptr;
  ui::View* lastPopoverView = nullptr;
  cg::Rect lastPopoverRect;
  unsigned lastPopoverPosition = 0;

  // The saved table offset and the shift the options panel adds.
  cg::Point currTblOffset;
  int extraTblOffset = 0;

 private:
  // Layout of the outlets, one function per area.
  void buildSurahView();
  void buildAudioArea();
  void buildDownloadArea();
  void connectAudioActions();
  void setPauseSelected(bool selected);
  void releaseAudioSession();
  void restartVerse(int verse);
  void buildTableArea(ui::View& root);
  void buildHeaderArea(ui::View& root);
  void buildSurahInfoArea();
  void buildTajweedBarArea(ui::View& display);
  // The landscape layout's chrome: its top buttons and the legend bar.
  void applyLayoutChrome(bool landscape);
  void connectHeaderActions();
  void observeNotifications();
  // The translation the table shows, from the root and the defaults.
  int chosenTranslation() const;
  int translationNamedInHeader() const;
  bool hasHeaderRow() const { return iCurrentSurah_ != 1 && iCurrentSurah_ != 9; }
  bool hasTranslationRows() const { return iCurrentTranslation_ != 0; }
  bool isFloatingViewExpanded() const { return !ipaddelegate_ || ipaddelegate_->isFloatingViewExpanded(); }
  bool rootInLandscape() const { return ipaddelegate_ && ipaddelegate_->IsViewInLandscape(); }
  // The glyph height of a verse at the table's width, from the heights cache.
  int arabicGlyphHeight(int verse);
  int markedHeight(int verse, int height) const;
  float translationRowHeight(int verse);
  SurahVerseView* rowViewAt(int row) const;
  bool isTranslationRow(int row) const;
  void configureVerseCell(SurahViewCell& cell, int row);

  void forEachVisibleRowView(const std::function<void(SurahVerseView&)>& fn) const;
  std::shared_ptr<ui::TableViewCell> infoCellForRow(int row);
  void setTableAlpha(float alpha, bool animated, const std::string& name, double duration);
  void moveToNeighbourSurah(int surah, bool playOn);
  void invalidateRowOffsets() { rowTops_.clear(); }

  int iCurrentSurah_ = 1;
  int iCurrentVerse_ = -1;
  int selectedVerse_ = -1;
  int iCurrentPlayingVerse_ = 0;
  int iCurrentTranslation_ = 0;
  int iLastAudioSurah_ = 0, iLastAudioVerse_ = 0, iLastSetAudioCell_ = -1;
  int currentReciter_ = 0;
  std::vector<std::string> translationArr;
  std::map<int, std::shared_ptr<ArabicVerseMeta>> verseMetaData;
  std::map<int, std::shared_ptr<TranslationMeta>> transHeightMeta;
  std::map<int, BookmarkPtr> dictBookmarkedVerseMap;
  std::shared_ptr<ArabicFont> fontLoader_;
  int fontResolution_ = 0;
  bool hasVerseRecords_ = false;
  bool canRecreateFontLoader_ = false;

  bool settingUpSurah_ = false, isSwitchingSurah_ = false, RequiresReload_ = false, viewDidUnload_ = false,
       viewIsVisible_ = false, usePrevOffset_ = false, resetVersePosition_ = false, highlightWithAnim_ = false,
       didRecentlyChangeTrans_ = false, globalShouldStartPlaying_ = false;
  bool IsInPlayMode_ = false, IsInLandscape_ = false, showingDialControl_ = false, isShowingSurahInfo_ = false;
  bool IgnoreSendingScrollEvents_ = false, ignoreProcessingScrollEvents_ = false, previouslyDragging_ = false,
       deceleratingTable_ = false;
  std::optional<ns::Date> dateLastActivity_;

  // Playback state (see the Audio category).
  std::shared_ptr<av::AudioPlayer> CurrentAudioPlayer_;
  bool playButtonPressed_ = false, isShowingPlayOptions_ = false, isShowingFFRRHUD_ = false, fingerDownOnRR_ = false,
       fingerDownOnFF_ = false, didSeekFForRR_ = false, isAltVerse_ = false, canResetTime_ = false,
       isUsingContinuousPlayback_ = false, hasFadedSoundIn_ = false, useSmallFade_ = false;
  int lastPlayedVerse_ = -2, lastVersePart_ = -1, playVerseRangeCounter_ = 0, surahRepeatBubbleCounter_ = 0,
      ayahRepeatBubbleCounter_ = 0, ayahRepeatCount_ = 0, playedVerseRange_ = 0, startedPlayingFromVerse_ = 0;
  float currentPlayingTime_ = 0, currentVerseBeginTime_ = 0, nextVerseBeginTime_ = 0;
  std::string lastPlayedVerseFile_, altVerseFileName_ = "current.mp3";
  std::shared_ptr<ns::Data> lastversePlaybackData_;
  ns::Timer continuousTimer;
  std::optional<double> lastFadeInTime_;
  std::shared_ptr<ui::ViewController> optionsview, ayahOptionsView;

  // Top offsets of the rows of the current layout (prefix sums of their
  // heights) and what they were measured for; empty when stale.
  std::vector<float> rowTops_;
  std::tuple<int, int, float, bool> rowTopsKey_{};

  iPadConnectionDelegate* ipaddelegate_ = nullptr;
  std::shared_ptr<ui::ViewController> surahInfoController_;

  // Rows ahead of time: the store, the spare cells they are drawn on (an
  // Arabic one and a translation one), the last offset and direction seen,
  // whether a pass is waiting, and what the stored bitmaps were made for.
  std::unique_ptr<PreparedRows> preparedRows_;
  std::shared_ptr<SurahViewCell> spareRows_[2];
  float rowsAheadOffset_ = 0;
  int rowsAheadDirection_ = 1;
  bool rowsAheadPending_ = false;
  std::tuple<int, const void*, float, float, int> rowsAheadFor_{};

  // The options panel, the fast-scroll strip, rotation and the idle timer.
  void installVerseOptions();
  void startIdleTimer();
  void watchTwoFingerGesture();
  void presentPanelPopover(unsigned arrow, float anchorOffset);
  void replaceOptionsPanel();
  std::shared_ptr<VerseOptionsPanel> optionsPanel_;
  std::shared_ptr<SurahFastScroll> fastScroll_;
  bool isRotating_ = false;
  std::optional<ui::IndexPath> topIndexPathBeforeRotation;
  ns::Timer idleTimer;
  float initialDistance_ = 0;
  bool pinchZoomBegan_ = false;
  std::vector<ns::Observer> observers_;
};
