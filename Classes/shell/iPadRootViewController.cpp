#include "Classes/shell/iPadRootViewController.h"

#include <algorithm>
#include <cmath>

#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/settings/HowToUseController.h"
#include "Classes/settings/TipsViewController.h"
#include "Classes/shell/FloatingPanGestureRecognizer.h"
#include "Classes/shell/SurahTranslationViewController.h"
#include "Classes/shell/View+FindAndResignFirstResponder.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextView.h"

namespace {

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

bool statusBarIsLandscape() { return ui::isLandscape(ui::Application::shared().statusBarOrientation()); }

}  // namespace

iPadRootViewController::iPadRootViewController()
    : unsavedNoteRegistration_([this] { return unsavedNote(); }) {}

iPadRootViewController::~iPadRootViewController() { ns::RunLoop::main().cancelPreviousPerformRequests(this); }

void iPadRootViewController::loadView() {
  if (viewEverythingContainer) setView(viewEverythingContainer);
  else ui::ViewController::loadView();
}

void iPadRootViewController::bothPanes(const std::function<void(SurahTranslationViewController&)>& fn) {
  if (viewContPrimTrans) fn(*viewContPrimTrans);
  if (viewContSecondTrans) fn(*viewContSecondTrans);
}

// ---- view life ---------------------------------------------------------------------------

void iPadRootViewController::viewDidLoad() {
  if (!built()) return;  // a stand-in root with a view of its own
  if (!hasLoadedView && imgSplash) imgSplash->setAlpha(1.0f);
  observers_.clear();
  auto& center = ns::NotificationCenter::defaultCenter();
  observers_.push_back(center.addObserver(ui::KeyboardWillShowNotification, [this](const ns::Value&) { keyboardWillShow(); }));
  observers_.push_back(center.addObserver(ui::KeyboardWillHideNotification, [this](const ns::Value&) { keyboardWillHide(); }));
  observers_.push_back(center.addObserver("TranslationDidChange", [this](const ns::Value&) { translationDidChange(); }));
  // The glyph size style follows the scale the window draws at (2x styles on
  // a denser screen): the reading screen chooses its style again as after a
  // change of the Arabic font size.
  observers_.push_back(center.addObserver(ui::ScreenScaleDidChangeNotification, [](const ns::Value&) {
    ns::NotificationCenter::defaultCenter().postNotificationName("ArabicFontChanged");
  }));
  IsPrimaryTranslationNone = defaults().integerForKey("CurrentTranslationPrimary") == 0;
  IsSecondaryTranslationNone = defaults().integerForKey("CurrentTranslationSecondary") == 0;
  viewIndexList->setTag(1);
  viewFloatingVerses->setTag(4);
  setupPages();
  iSelectedBottomTab_ = 3;
  setSelectedController();
  tabbarButtonUp();
  if (viewAirPlayControl) viewAirPlayControl->setHidden(false);
  int tab = defaults().boolForKey("HasLastTabSelection") ? int(defaults().integerForKey("LastTabSelection")) : 3;
  iSelectedBottomTab_ = std::clamp(tab, 0, 3);  // a damaged value opens a tab that exists
  setSelectedController();
  tabbarButtonUp();
  // A window that starts turned sends no rotation: its layout is applied here.
  if (statusBarIsLandscape()) prepareForLandscapeWithAnimation(false, true);
}

void iPadRootViewController::setupPages() {
  if (hasSetupPages || !built()) return;
  lastPosition = -1.0f;
  viewContIndex_ = std::make_shared<IndexViewController>();
  viewContIndex_->setIPadController(this);
  if (!viewContSurah_) viewContSurah_ = std::make_shared<SurahViewController>();
  viewContSurah_->setIpaddelegate(this);

  auto readingView = viewContSurah_->view();
  readingView->setTag(1);
  viewVersesContainer->setTag(1);
  viewPrimTransContainer->setTag(3);
  viewSecTransContainer->setTag(3);
  readingView->setFrame(viewVersesContainer->bounds());
  readingView->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  viewVersesContainer->addSubview(readingView);
  viewContSurah_->viewWillAppear(false);
  viewContSurah_->viewDidAppear(false);

  auto makePane = [this](bool primary, ui::View& container) {
    auto pane = std::make_shared<SurahTranslationViewController>(primary);
    pane->setDelegate(this);
    pane->setThisSurahController(viewContSurah_);
    pane->view()->setFrame(container.bounds());
    pane->view()->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
    container.addSubview(pane->view());
    return pane;
  };
  viewContPrimTrans = makePane(true, *viewPrimTransContainer);
  viewContSecondTrans = makePane(false, *viewSecTransContainer);
  // The reading screen set up its surah before the panes existed.
  surahRequiresTranslationsReload();

  if (viewContSurah_->viewTopRepeatBubbles && !viewContSurah_->viewTopRepeatBubbles->superview()) {
    viewContSurah_->viewTopRepeatBubbles->setFrame(cg::Rect(0, 0, 480, viewBottomBar->frame().height()));
    viewBottomBar->addSubview(viewContSurah_->viewTopRepeatBubbles);
  }
  hideNotesWithSave(false, false, false);
  prepareForPortraitWithAnimation(false, true);
  viewSecTransContainer->setAlpha(0);
  currentFloatingFrame = viewFloatingVerses->frame();

  panGesture = std::make_shared<FloatingPanGestureRecognizer>(
      [this](const FloatingPan& pan) { handlePanGesture(pan); }, [this] { return gestureRecognizerShouldBegin(); });
  viewFloatingVerses->addGestureRecognizer(panGesture);

  for (ui::ViewController* c : {static_cast<ui::ViewController*>(viewContIndex_.get()),
                                static_cast<ui::ViewController*>(viewContPrimTrans.get()),
                                static_cast<ui::ViewController*>(viewContSecondTrans.get())}) {
    c->view();
    c->viewWillAppear(false);
    c->viewDidAppear(false);
  }
  bothPanes([](SurahTranslationViewController& p) { p.hideLoadingView(); });
  ns::RunLoop::main().performAfter(this, "markSetupComplete", 1.0, [this] { markSetupComplete(); });
}

void iPadRootViewController::markSetupComplete() {
  hasSetupPages = true;
  if (defaults().boolForKey("ExpandedState")) expandFloatingView(true);
}

void iPadRootViewController::viewDidAppear(bool) {
  if (!built()) return;
  hasLoadedView = true;
  // The reading screen takes the keys (its arrows); the rest come up here.
  if (viewContSurah_) viewContSurah_->becomeFirstResponder();
  ui::View::beginAnimations("PrepLand");
  ui::View::setAnimationDuration(0.28);
  // Faded, the launch picture leaves the screen (its image goes with the
  // layouts' last choice of it, once the launch is complete).
  ui::View::setAnimationDidStopSelector([splash = std::weak_ptr<ui::View>(imgSplash)](const std::string&, bool, void*) {
    if (auto view = splash.lock(); view && view->alpha() == 0) view->removeFromSuperview();
  });
  if (imgSplash) imgSplash->setAlpha(0);
  ui::View::commitAnimations();
  ns::RunLoop::main().performAfter(this, "setHasLoadedCompletely", 1.0, [this] { setHasLoadedCompletely(); });
  // The tips once per installation: the key is set when they are shown, so a
  // start that ends before they come up shows them the next time.
  if (!defaults().boolForKey("TipsHaveShownHD")) {
    ns::RunLoop::main().cancelPreviousPerformRequests(this, "showTipsView");
    ns::RunLoop::main().performAfter(this, "showTipsView", 1.0, [this] { showTipsView(); });
  }
}

// The layouts stop choosing the launch picture: nothing holds it any more.
void iPadRootViewController::setHasLoadedCompletely() {
  hasLoadedCompletely = true;
  if (imgSplash && !imgSplash->superview()) imgSplash->setImage(nullptr);
}

void iPadRootViewController::showTipsView() {
  auto sheet = ui::NavigationController::withRoot(std::make_shared<TipsViewController>());
  sheet->setModalPresentationStyle(ui::ModalPresentationStyle::FormSheet);
  presentModalViewController(sheet, true);
  if (modalViewController() != sheet.get()) return;  // another sheet is up: next time
  defaults().setBool(true, "TipsHaveShownHD");
  defaults().synchronize();
}

void iPadRootViewController::showHelpView() {
  auto sheet = ui::NavigationController::withRoot(std::make_shared<HowToUseController>());
  sheet->setModalPresentationStyle(ui::ModalPresentationStyle::FormSheet);
  presentModalViewController(sheet, true);
}

void iPadRootViewController::viewWillDisappear(bool) {
  ns::logf("DEBUG - [%s] iPad Root Controller Disappearing", ns::logTimestamp().c_str());
}

void iPadRootViewController::viewDidUnload() {
  observers_.clear();
  viewContPrimTrans.reset();
  viewContSecondTrans.reset();
  viewContIndex_.reset();
  hasSetupPages = false;
  hasLoadedView = false;
}

void iPadRootViewController::translationDidChange() {
  IsPrimaryTranslationNone = defaults().integerForKey("CurrentTranslationPrimary") == 0;
  IsSecondaryTranslationNone = defaults().integerForKey("CurrentTranslationSecondary") == 0;
  if (IsPrimaryTranslationNone) bothPanes([](SurahTranslationViewController& p) { p.updateVisibleRowBGs(); });
}

// ---- layouts -------------------------------------------------------------------------------

// What differs between the two layouts.
struct LayoutSpec {
  bool landscape;
  const char* animation;
  const char* splash;
  const char* wood;
  float notesHeight;        // the root moves down this far while the notes show
  float translationsWidth;  // the column of both panes
  float primaryWidth;
  float secondaryX, secondaryWidth;
};

namespace {

using Pane = SurahTranslationViewController;
const LayoutSpec kPortrait{false, "PrepPortrait", "Default-Portrait~ipad.png", "ipad-note-wood-bg-pr.png", 281,
                           576, Pane::paneWidth(true, false), Pane::paneWidth(true, false), Pane::paneWidth(false, false)};
const LayoutSpec kLandscape{true, "PrepLand", "Default-Landscape~ipad.png", "ipad-note-wood-bg-ls.png", 218,
                            544, Pane::paneWidth(true, true), Pane::paneWidth(true, true), Pane::paneWidth(false, true)};

}  // namespace

void iPadRootViewController::prepareForPortraitWithAnimation(bool animated, bool) { applyLayout(kPortrait, animated); }

void iPadRootViewController::prepareForLandscapeWithAnimation(bool animated, bool) { applyLayout(kLandscape, animated); }

void iPadRootViewController::applyLayout(const LayoutSpec& spec, bool animated) {
  if (!built()) return;
  IsInLandscape_ = spec.landscape;
  if (animated) {
    ui::View::beginAnimations(spec.animation);
    ui::View::setAnimationDuration(0.1);
  }
  float W = viewRoot->frame().width(), B = viewBottomBar->frame().height();
  float E = viewEverythingContainer->frame().height();
  if (!hasLoadedCompletely && imgSplash) imgSplash->setImage(ui::Image::imageNamed(spec.splash));
  imgNotesContainerBG->setImage(ui::Image::imageNamed(spec.wood));
  float notesY = isShowingNotes_ ? spec.notesHeight : 0;
  cg::Rect r = viewRoot->frame();
  viewRoot->setFrame(cg::Rect(r.x(), notesY, r.width(), E - notesY));
  layoutNotesStrip(spec.notesHeight);
  float H = viewRoot->frame().height() - B;
  cg::Rect t = viewTranslationsContainer->frame();
  viewTranslationsContainer->setFrame(cg::Rect(0, t.y(), spec.translationsWidth, H));
  cg::Rect p = viewPrimTransContainer->frame();
  viewPrimTransContainer->setFrame(cg::Rect(0, p.y(), spec.primaryWidth, p.height()));
  cg::Rect s = viewSecTransContainer->frame();
  viewSecTransContainer->setFrame(cg::Rect(spec.secondaryX, s.y(), spec.secondaryWidth, s.height()));
  if (spec.landscape) viewSecTransContainer->setAlpha(1);
  cg::Rect L = viewIndexList->frame();
  if (viewBottomNavBarOverlay) {
    cg::Rect o = viewBottomNavBarOverlay->frame();
    viewBottomNavBarOverlay->setFrame(cg::Rect(L.x(), std::floor((B - o.height()) * 0.5f), L.width(), o.height()));
  }
  auto* reading = viewContSurah_.get();
  bool playing = reading && reading->IsInPlayMode();
  cg::Rect bubbles;
  if (spec.landscape) {
    float x = W - L.width() - 480;
    viewFloatingVerses->setFrame(cg::Rect(x, 0, 479, H));
    viewFloatingVerses->setFrame(isFloatingViewExpanded_ ? cg::Rect(0, 0, W, H) : cg::Rect(x, 0, 480, H));
    bubbles = cg::Rect(x, 0, 480, B);
  } else {
    // Until the set-up completes the view rests at the left, and so it does
    // while the bookmarks or search screen is edited.
    float width = isFloatingViewExpanded_ ? W : 480;
    float x = hasSetupPages && !tabScreenPinsColumn() ? W - width : 0;
    viewFloatingVerses->setFrame(cg::Rect(x, 0, width - 1, H));  // the contents lay out again
    viewFloatingVerses->setFrame(cg::Rect(x, 0, width, H));
    bubbles = playing ? cg::Rect(0, 0, 480, B) : cg::Rect(54, 0, 426, B);
  }
  btnTabNextVerse->setAlpha(playing ? 0 : 1);
  if (reading && reading->viewTopRepeatBubbles) reading->viewTopRepeatBubbles->setFrame(bubbles);
  if (reading && reading->viewLandscapeAudioBar) reading->viewLandscapeAudioBar->setFrame(cg::Rect(280, 6, 144, 44));
  if (viewAirPlayControl) viewAirPlayControl->setAlpha(spec.landscape && playing ? 1 : 0);
  currentFloatingFrame = viewFloatingVerses->frame();
  if (animated) ui::View::commitAnimations();
  if (reading) {
    if (spec.landscape) reading->prepareForLandscapeWithAnimation(false, true);
    else reading->prepareForPortraitWithAnimation(false, true);
  }
  relayoutTables();
  if (IsPrimaryTranslationNone) bothPanes([](SurahTranslationViewController& pane) { pane.updateVisibleRowBGs(); });
}

// The rows' heights follow the layout (the panes' widths, the reading
// view's): the reading table measures its rows again keeping its top verse,
// and the panes, measured again too, take its place.
void iPadRootViewController::relayoutTables() {
  if (!viewContSurah_ || !viewContSurah_->isViewLoaded()) return;
  viewContSurah_->reloadKeepingTopVerse();
  bothPanes([](SurahTranslationViewController& pane) { pane.reloadRowsInPlace(); });
}

void iPadRootViewController::finishedRotatingToPortrait() {
  if (!built()) return;
  viewSecTransContainer->setAlpha(0);
  currentFloatingFrame = viewFloatingVerses->frame();
}

void iPadRootViewController::finishedRotatingToLandscape() {
  if (built()) currentFloatingFrame = viewFloatingVerses->frame();
}

// ---- rotation: passed on first, then the root's own layout -------------------------------------

bool iPadRootViewController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation o) {
  if (viewContSurah_) viewContSurah_->shouldAutorotateToInterfaceOrientation(o);
  bothPanes([o](SurahTranslationViewController& p) { p.shouldAutorotateToInterfaceOrientation(o); });
  if (currenController_ && currenController_ != viewContIndex_) currenController_->shouldAutorotateToInterfaceOrientation(o);
  if (ui::isLandscape(o) && viewSecTransContainer) viewSecTransContainer->setAlpha(1);
  return true;
}

void iPadRootViewController::willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation to, double d) {
  if (viewContSurah_) viewContSurah_->willAnimateRotationToInterfaceOrientation(to, d);
  bothPanes([to, d](SurahTranslationViewController& p) { p.willAnimateRotationToInterfaceOrientation(to, d); });
  if (currenController_ && currenController_ != viewContIndex_)
    currenController_->willAnimateRotationToInterfaceOrientation(to, d);
  bool landscapeBar = statusBarIsLandscape();
  if (!ui::isLandscape(to) && !landscapeBar) prepareForPortraitWithAnimation(false, hasLoadedView);
  else if (ui::isLandscape(to) && landscapeBar) prepareForLandscapeWithAnimation(false, hasLoadedView);
}

void iPadRootViewController::didRotateFromInterfaceOrientation(ui::InterfaceOrientation from) {
  if (viewContSurah_) viewContSurah_->didRotateFromInterfaceOrientation(from);
  bothPanes([from](SurahTranslationViewController& p) { p.didRotateFromInterfaceOrientation(from); });
  if (currenController_ && currenController_ != viewContIndex_) currenController_->didRotateFromInterfaceOrientation(from);
  bool landscapeBar = statusBarIsLandscape();
  if (!ui::isLandscape(from) && landscapeBar) finishedRotatingToLandscape();
  else if (ui::isLandscape(from) && !landscapeBar) finishedRotatingToPortrait();
}

// ---- the protocol --------------------------------------------------------------------------------

void iPadRootViewController::refreshTheme() {
  if (viewContSurah_) viewContSurah_->refreshTheme();
  refreshTabScreenTheme();
}

bool iPadRootViewController::isSecondaryTranslationVisible() {
  if (!built()) return false;
  return IsInLandscape_ && !isFloatingViewExpanded_ &&
         viewFloatingVerses->frame().x() > viewRoot->frame().width() - viewIndexList->frame().width() - 480;
}

bool iPadRootViewController::isNavigationCovered() {
  return built() && viewFloatingVerses->frame().x() >= viewRoot->frame().width() - 480;
}

bool iPadRootViewController::isDownloadAllAudios() {
  auto app = ZarvelSDKAppDelegate::GetInstance();
  return app && app->downloadingAllSurahs();
}

void iPadRootViewController::versesViewDidScroll(ui::TableView* table) {
  if (!table) return;
  cg::Point offset = table->contentOffset();
  bothPanes([offset](SurahTranslationViewController& p) {
    p.setIgnoreSendingScrollEvents(true);
    if (p.tblTransView()) p.tblTransView()->setContentOffset(offset, false);
  });
}

void iPadRootViewController::translationViewDidScroll(ui::TableView* table, bool isPrimary) {
  if (!table) return;
  cg::Point offset = table->contentOffset();
  if (viewContSurah_) {
    viewContSurah_->setIgnoreSendingScrollEvents(true);
    if (viewContSurah_->tblVerses) viewContSurah_->tblVerses->setContentOffset(offset, false);
  }
  auto* scrolled = isPrimary ? viewContPrimTrans.get() : viewContSecondTrans.get();
  auto* other = isPrimary ? viewContSecondTrans.get() : viewContPrimTrans.get();
  if (scrolled) scrolled->setIgnoreSendingScrollEvents(false);
  if (other) {
    other->setIgnoreSendingScrollEvents(true);
    if (other->tblTransView()) other->tblTransView()->setContentOffset(offset, false);
  }
}

void iPadRootViewController::finishedViewScrolling() {
  bothPanes([](SurahTranslationViewController& p) { p.setIgnoreSendingScrollEvents(false); });
  if (viewContSurah_) viewContSurah_->setIgnoreSendingScrollEvents(false);
}

void iPadRootViewController::resignKeyboard() {
  if (txtNotes && txtNotes->textView()->isFirstResponder()) txtNotes->textView()->resignFirstResponder();
}

float iPadRootViewController::getMaxVerseHeightForCurrentSurah(int verse) {
  return getMaxVerseHeightForCurrentSurah(verse, IsInLandscape());
}

float iPadRootViewController::getMaxVerseHeightForCurrentSurah(int verse, bool landscape) {
  if (!built()) return iPadConnectionDelegate::getMaxVerseHeightForCurrentSurah(verse, landscape);
  float A = viewContPrimTrans ? viewContPrimTrans->getHeightForVerse(verse, landscape) : 0;
  float V = viewContSurah_ ? viewContSurah_->getHeightForVerse(verse, landscape) : 65;
  if (viewContSurah_ && viewContSurah_->iCurrentTranslation() == 0) {
    static const float pad[] = {3, 0, 11, 13, 18};
    int size = ZarvelSDKAppDelegate::ArabicFontSize();
    if (size >= 0 && size <= 4) V += pad[size];
  }
  if (!landscape) return std::max(V, A);
  float B = viewContSecondTrans ? viewContSecondTrans->getHeightForVerse(verse, landscape) : 0;
  return A > B ? std::max(V, A) : std::max(V, B);
}

void iPadRootViewController::tryAndUpdateIndexRowSelection() {
  if (built() && viewContIndex_ && viewContSurah_)
    viewContIndex_->selectSectionForSurah(viewContSurah_->iCurrentSurah(), viewContSurah_->iCurrentVerse());
}

void iPadRootViewController::surahRequiresTranslationsReload() {
  bothPanes([](SurahTranslationViewController& p) { p.loadTranslation(); });
}

void iPadRootViewController::translationsCanNowAppear() {
  bothPanes([](SurahTranslationViewController& p) { p.hideLoadingView(); });
  if (viewContSurah_) viewContSurah_->updateSurahNameButton();
}

void iPadRootViewController::translationsReloadVisibleRows() {
  bothPanes([](SurahTranslationViewController& p) { p.reloadVisibleRows(); });
}

ui::View* iPadRootViewController::getNavigationViewContainer() {
  return currenController_ && currenController_ == viewContIndex_ ? viewIndexList.get() : nullptr;
}

void iPadRootViewController::verifyIndexSelection() {
  if (built() && viewContIndex_) viewContIndex_->verifyIndexSelection();
}

void iPadRootViewController::highlightVerse(int verse, bool jumpTo, bool animated, bool forceSelection) {
  bothPanes([=](SurahTranslationViewController& p) { p.highlightVerse(verse, jumpTo, animated, forceSelection); });
}

void iPadRootViewController::highlightForPlayingVerse(int verse, bool stopPlaying) {
  bothPanes([=](SurahTranslationViewController& p) { p.highlightForPlayingVerse(verse, stopPlaying); });
}

void iPadRootViewController::surahHighlightVerse(int verse, bool jumpTo, bool animated, bool forceSelection) {
  if (viewContSurah_) viewContSurah_->highlightVerse(verse, jumpTo, animated, forceSelection, false);
}

void iPadRootViewController::updateBookmarkForVerse(int verse, int surah) {
  if (viewContSurah_) viewContSurah_->updateBookmarkForVerse(verse, surah);
  bothPanes([=](SurahTranslationViewController& p) { p.updateBookmarkForVerse(verse, surah); });
}

void iPadRootViewController::downloadAudioForSurah(int surah) {
  if (viewContIndex_) viewContIndex_->cancelDownload();
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->downloadSurahAudioAlert(surah);
}

void iPadRootViewController::cancelAudioDownload() {
  if (viewContIndex_) viewContIndex_->cancelDownload();
}

void iPadRootViewController::dismissKeyboard() {
  if (isViewLoaded()) ui::findAndResignFirstResponder(*view());
}

// The index column is in view: its tab is chosen and the floating view lies
// beside it, not over it.
bool iPadRootViewController::isIndexShown() {
  return built() && iSelectedBottomTab_ == 3 && viewContIndex_ && viewContIndex_->isViewLoaded() &&
         viewFloatingVerses->frame().maxX() <= viewIndexList->frame().x() + 1;
}

// The reading screen keeps the keys; what it leaves (typed text, Enter)
// picks and opens a surah in the index while the index is in view.
void iPadRootViewController::insertText(const std::string& text) {
  if (isIndexShown()) return viewContIndex_->insertText(text);
  ui::ViewController::insertText(text);
}

// Keys of the shell: Ctrl+1..Ctrl+4 choose the tabs in the order their
// buttons stand, left to right; Escape leaves full screen; Enter opens the
// surah picked in the index; F1 opens the help; anything else goes up the
// chain.
void iPadRootViewController::keyDown(const ui::KeyEvent& key) {
  if (key.key == "F1") {
    showHelpView();
    return;
  }
  if ((key.modifiers & ui::KeyModifierControl) && key.key.size() == 1 && key.key[0] >= '1' && key.key[0] <= '4') {
    if (ui::Button* button = tabButtonAtPlace(key.key[0] - '1')) tabbarButtonPressed(button->tag());
    return;
  }
  if (key.key == "Return" && isIndexShown()) return viewContIndex_->keyDown(key);
  if (searchKeyPressed(key)) return;
  if (key.key == "Escape" && isFloatingViewExpanded_) {
    shrinkFloatingView(true);
    return;
  }
  ui::ViewController::keyDown(key);
}
