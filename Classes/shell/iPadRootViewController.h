#pragma once
// The one screen of the tablet: a column of two translation panes on the
// left, the floating reading view (the reading screen in a view that slides
// sideways and can widen to the full screen), the column of the selected
// bottom tab on the right, the bottom bar with the four tab buttons and the
// recitation controls, and the notes panel that drops in from the top.
//
// The core (this file's .cpp) holds the state, the view life, the two layouts
// and rotation, and the protocol through which the screens reach each other;
// the tab bar, the floating view, the notes panel and full-screen mode live in
// the category files beside it, the outlets' frames in the interface builder.
// A root whose interface was not built (a stand-in that makes its own view)
// answers the protocol without panes. Main thread only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/notes/DTNotePadView.h"
#include "Classes/notes/UnsavedNotes.h"
#include "Classes/index/IndexViewController.h"
#include "Classes/reading/SurahViewController.h"
#include "Classes/common/iPadConnectionDelegate.h"
#include "Classes/shell/EventInterceptWindow.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ViewController.h"

class BookmarksViewController;
class SearchViewController;
class SavedSearch;
class SurahTranslationViewController;
class FloatingPanGestureRecognizer;
struct LayoutSpec;
namespace ui {
class Button;
class MailComposeViewController;
class NavigationController;
class ImageView;
class Label;
}  // namespace ui

// One sample of the floating view's pan: its state, and the translation and
// velocity (points per second) in the root view.
struct FloatingPan {
  enum class State { Began, Changed, Ended, Cancelled };
  State state = State::Changed;
  cg::Point translation;
  cg::Point velocity;
};

class iPadRootViewController : public ui::ViewController,
                               public iPadConnectionDelegate,
                               public DTNotePadViewDelegate,
                               public ui::ActionSheetDelegate,
                               public ui::MailComposeViewControllerDelegate,
                               public EventInterceptWindowDelegate {
 public:
  iPadRootViewController();
  ~iPadRootViewController() override;

  // Builds the outlets with their frames, as the interface file did; the
  // view of the root is then the container of everything.
  void buildInterface(cg::Rect frame);

  // ---- what the application delegate reaches -----------------------------------------
  virtual std::shared_ptr<SurahViewController> viewContSurah() const { return viewContSurah_; }
  virtual std::shared_ptr<IndexViewController> viewContIndex() const { return viewContIndex_; }
  void setViewContSurah(std::shared_ptr<SurahViewController> c) { viewContSurah_ = std::move(c); }
  // The reading screen behind the index's interface, made again when the
  // held reading screen changes.
  std::shared_ptr<IndexReadingScreen> readingScreenForIndex() override;
  // The root lays itself out below the status bar, never under it.
  void setWantsFullScreenLayout(bool on) { wantsFullScreenLayout_ = on; }
  bool wantsFullScreenLayout() const { return wantsFullScreenLayout_; }
  virtual bool isFloatingViewExpanded() const { return isFloatingViewExpanded_; }
  virtual bool IsInLandscape() const { return IsInLandscape_; }
  bool isShowingNotes() const { return isShowingNotes_; }

  // ---- view life and rotation --------------------------------------------------------
  void loadView() override;
  void viewDidLoad() override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  void viewDidUnload() override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation o) override;
  void willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation to, double duration) override;
  void didRotateFromInterfaceOrientation(ui::InterfaceOrientation from) override;
  void keyDown(const ui::KeyEvent& key) override;
  void insertText(const std::string& text) override;
  bool isIndexShown();
  // The window's events go to the reading screen first (its two-finger pinch).
  bool interceptEvent(const ui::Event& event) override {
    return viewContSurah_ && viewContSurah_->interceptEvent(event);
  }

  void setupPages();
  void markSetupComplete();
  void showTipsView();
  // The help ("How do I..."), as a form sheet: F1.
  void showHelpView();
  void setHasLoadedCompletely();
  void keyboardWillShow() { iskeyboardShowing = true; }
  void keyboardWillHide() { iskeyboardShowing = false; }
  void translationDidChange();
  void prepareForPortraitWithAnimation(bool animated, bool settingupInitialView);
  void prepareForLandscapeWithAnimation(bool animated, bool settingupInitialView);
  void finishedRotatingToPortrait();
  void finishedRotatingToLandscape();

  // ---- iPadConnectionDelegate ------------------------------------------------------------
  virtual void refreshTheme();
  void shouldDisableFloatingWindow(bool wait) override;
  void shouldEnableFloatingWindow() override;
  bool isSecondaryTranslationVisible() override;
  bool isNavigationCovered();
  bool isPrimaryTranslationNone() override { return IsPrimaryTranslationNone; }
  bool isSecondaryTranslationNone() override { return IsSecondaryTranslationNone; }
  bool isDownloadAllAudios() override;
  std::optional<ns::Date> lastFloatingWindowPanTime() override { return lastPanStopped; }
  void resetLastPanTime() override { lastPanStopped.reset(); }
  void versesViewDidScroll(ui::TableView* table) override;
  void translationViewDidScroll(ui::TableView* table, bool isPrimary) override;
  void finishedViewScrolling() override;
  bool IsViewInLandscape() override { return IsInLandscape(); }
  bool IsShowingNotes() override { return isShowingNotes_; }
  void resignKeyboard() override;
  float getMaxVerseHeightForCurrentSurah(int verse) override;
  float getMaxVerseHeightForCurrentSurah(int verse, bool landscape) override;
  void tryAndUpdateIndexRowSelection() override;
  void surahRequiresTranslationsReload() override;
  void translationsCanNowAppear() override;
  void translationsReloadVisibleRows();
  ui::View* getNavigationViewContainer() override;
  ui::ViewController* getViewController() override { return this; }
  void verifyIndexSelection() override;
  using iPadConnectionDelegate::showNotesForSurah;
  void showNotesForSurah(int surah, int verse, bool animated, bool landscape, bool becomeFirstResponder,
                         bool flipUp) override;
  bool isShowingNoteEditorFor(int surah, int verse) override { return noteSurah == surah && noteVerse == verse; }
  void hideNotesWithSave() override;
  void hideNotesWithOutSave() override { hideNotesWithoutSave(); }
  bool isFloatingViewExpanded() override { return isFloatingViewExpanded_; }
  void expandFloatingView(bool animated);
  void shrinkFloatingView(bool animated);
  void highlightVerse(int verse, bool jumpTo, bool animated, bool forceSelection) override;
  void highlightForPlayingVerse(int verse, bool stopPlaying) override;
  using iPadConnectionDelegate::surahHighlightVerse;
  void surahHighlightVerse(int verse, bool jumpTo, bool animated, bool forceSelection) override;
  void updateBookmarkForVerse(int verse, int surah) override;
  void showViewAboveNavBar(std::shared_ptr<ui::View> view, int height) override;
  void hideViewAboveNavBar(ui::View* view) override;
  void surahDidBeginPlayingAudio() override;
  void surahDidStopPlayingAudio() override;
  void downloadAudioForSurah(int surah) override;
  void cancelAudioDownload();
  bool isKeyboardShowing() override { return iskeyboardShowing; }
  void dismissKeyboard() override;

  // ---- tab bar -------------------------------------------------------------------------------
  void tabbarButtonDown(ui::Button* button);
  void tabbarButtonUp();
  void tabbarButtonPressed(int tab);
  void setSelectedController();
  virtual void filterBookmarksOnGroup(int group);
  virtual void filterSearchViewWithSavedSearch(std::shared_ptr<SavedSearch> search);
  virtual void reloadIndexView();
  void refreshIndexSurahRow(int row);
  void refreshSurahViewWith(int surah, int verse);
  virtual void bringIndexToView();
  bool showIndexColumn() override;
  virtual void reloadSurahView() {}
  void refreshSettings() {}
  void smoothScrollToNextVerse();
  int iSelectedBottomTab() const { return iSelectedBottomTab_; }
  ui::ViewController* currenController() const { return currenController_.get(); }

  // ---- floating view ---------------------------------------------------------------------------
  void handlePanGesture(const FloatingPan& pan);
  bool gestureRecognizerShouldBegin() const { return !floatingDisabled; }
  void snapToPage();
  void showIndex();
  void showOrHideIndex();
  bool showIndexIfObscured();
  void refillFloatingView();
  bool isFloatingWindowPanning() override { return alreadyStartedPanning; }
  void floatingViewTouchUp() { alreadyStartedPanning = false; }
  // The x the floating view rests at, and the x the release of a pan picks.
  float columnCoveredX() const;
  float columnShownX() const;
  float releaseTarget(float x, float vx) const;
  float snapTarget(float x) const;

  // ---- notes panel -----------------------------------------------------------------------------
  void showNotesForSurah();
  void hideNotesWithSave(bool save, bool animated, bool landscape);
  void hideNotesWithoutSave();
  void moreNotesPressed();
  void clickedButtonAtIndex(ui::ActionSheet& sheet, int index) override;
  void notePadViewDidBeginEditing(DTNotePadView&) override;
  void notePadViewDidChange(DTNotePadView&) override { noteGotEdited = true; }
  void notesViewDidStop();
  // The HTML body of the note's mail.
  std::string noteMailBody() const;
  void mailNote();
  void mailComposeController(ui::MailComposeViewController& controller, ui::MailComposeResult result,
                              const std::string& error) override;
  bool noteGotEditedForTesting() const { return noteGotEdited; }
  int noteSurahShown() const { return noteSurah; }
  int noteVerseShown() const { return noteVerse; }

  // ---- outlets ----------------------------------------------------------------------------------
  std::shared_ptr<ui::View> viewEverythingContainer, viewRoot, viewBottomBar, viewBottomNavBarOverlay, viewIndexList,
      viewFloatingVerses, viewVersesContainer, viewTranslationsContainer, viewPrimTransContainer,
      viewSecTransContainer, viewAirPlayControl;
  std::shared_ptr<ui::ImageView> imgSplash, imgBottomOverlay;
  std::shared_ptr<ui::Button> btnTabMore, btnTabSearch, btnTabBookmark, btnTabIndex, btnTabNextVerse;
  std::shared_ptr<ui::View> viewNotesContainer, viewNotesAnimContainer, viewNotesTextViewContainer,
      viewNotesTextViewContainerTransition, viewNotesView, viewNotesTopNavBar;
  std::shared_ptr<ui::ImageView> imgNotesRightFade, imgNotesContainerBG, imgNotesViewBG;
  std::shared_ptr<ui::Label> lblTopBarLabel;
  std::shared_ptr<ui::Button> btnNotesNavCancel, btnNotesNavDone, btnNotesNavMore;
  std::shared_ptr<DTNotePadView> txtNotes;
  std::shared_ptr<SurahTranslationViewController> viewContPrimTrans, viewContSecondTrans;
  std::shared_ptr<FloatingPanGestureRecognizer> panGesture;
  std::shared_ptr<ui::MailComposeViewController> mailComposer;

  cg::Rect currentFloatingFrame;
  bool hasSetupPages = false;
  bool hasLoadedView = false;
  bool hasLoadedCompletely = false;

 private:
  bool built() const { return viewRoot != nullptr; }
  void applyLayout(const LayoutSpec& spec, bool animated);
  void relayoutTables();
  void bothPanes(const std::function<void(SurahTranslationViewController&)>& fn);
  std::shared_ptr<ui::ViewController> makeTabController(int tab);
  std::shared_ptr<BookmarksViewController> makeBookmarksList();
  std::shared_ptr<SearchViewController> makeSearchScreen();
  // The bookmarks or search screen on top of the selected tab, if it shows one.
  ui::ViewController* visibleTabScreen() const;
  bool tabScreenPinsColumn() const;
  void refreshTabScreenTheme();
  bool searchKeyPressed(const ui::KeyEvent& key);
  ui::Button* tabButton(int tab) const;
  // The tab button at a place in the bar, counting from the left.
  ui::Button* tabButtonAtPlace(int place) const;
  void setTabImage(int tab, bool selected);
  ui::NavigationController* tabNavigation() const;
  void glideFloatingView(float target);
  void animateFloatingView(float target);
  void saveNoteOf(int surah, int verse);
  void postNoteNotifications(bool withTranslation);
  bool panesShowNotes() const;
  void layoutNotesStrip(float height);
  void setZoomImage(const char* name);
  void moveFloatingViewForFullScreen(const char* name, cg::Rect target, bool animated);

  std::shared_ptr<SurahViewController> viewContSurah_;
  std::shared_ptr<IndexReadingScreen> readingLink_;
  const SurahViewController* readingLinkFor_ = nullptr;
  std::shared_ptr<IndexViewController> viewContIndex_;
  std::shared_ptr<ui::ViewController> currenController_;
  bool wantsFullScreenLayout_ = true;
  int iSelectedBottomTab_ = -1;
  bool IsInLandscape_ = false;
  bool IsPrimaryTranslationNone = true, IsSecondaryTranslationNone = true;
  bool iskeyboardShowing = false;
  bool isShowingNotes_ = false;
  int noteSurah = 0, noteVerse = 0;
  bool noteGotEdited = false;
  bool isFloatingViewExpanded_ = false;
  bool floatingDisabled = false, floatingWasDisabled = false, alreadyStartedPanning = false;
  std::optional<ns::Date> lastPanStopped;
  float lastPosition = -1.0f;
  std::vector<ns::Observer> observers_;
  // The notes panel's edited note, saved if the application ends meanwhile.
  std::optional<UnsavedNotes::Note> unsavedNote();
  UnsavedNotes::Registration unsavedNoteRegistration_;
};
