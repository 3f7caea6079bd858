// Turning the reading screen: the top verse kept in place, the popover that
// was open brought back at its anchor (once), the switch between the two
// layouts; the idle timer that lets the display sleep only once nobody has
// read for three minutes; and the watch on a two-finger gesture over the
// verses, which holds the root's floating view still.
#include <cmath>

#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/glyphs/VerseCanvas.h"
#include "Classes/reading/SurahVerseView.h"
#include "Classes/reading/SurahViewController.h"
#include "Classes/reading/VerseOptionsPanel.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Window.h"

namespace {

bool statusBarInLandscape() { return ui::isLandscape(ui::Application::shared().statusBarOrientation()); }

constexpr double kIdleCheckSeconds = 30;
constexpr double kIdleSeconds = 180;

}  // namespace

// ---- rotation ---------------------------------------------------------------------------------------

bool SurahViewController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation o) {
  if (popoverView && popoverView->isPopoverVisible()) {
    reShowPopover = true;
    popoverView->dismissPopoverAnimated(false);
  }
  isRotating_ = true;
  ns::RunLoop::main().performAfter(this, "resetisRotating", 0.4, [this] { resetisRotating(); });
  topIndexPathBeforeRotation = topVerseRow();
  int n = static_cast<int>(o);
  return n >= 1 && n <= 4;
}

void SurahViewController::willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation to, double) {
  if (!showingDialControl_) bringSelectedVerseToTop(topIndexPathBeforeRotation, false, ui::isLandscape(to));
}

void SurahViewController::didRotateFromInterfaceOrientation(ui::InterfaceOrientation from) {
  bool now = statusBarInLandscape();
  if (ui::isPortrait(from) && now) setupForLandscape();
  else if (ui::isLandscape(from) && !now) setupForPortrait();
  // In the shell the root switches the layout; the screen's own chrome follows.
  if (ipaddelegate_ && ui::isLandscape(from) != now) {
    IsInLandscape_ = rootInLandscape();
    applyLayoutChrome(IsInLandscape_);
    tajweedBarDisplayToggled(true);
  }

  cg::Rect R = lastButtonTapped ? lastButtonTapped->frame() : lastPopoverRect;
  if (!viewIsVisible_ || !popoverView || !(popoverView->isPopoverVisible() || reShowPopover)) return;
  // Brought back once: a popover the reader closes later stays closed.
  reShowPopover = false;
  if (showingDialControl_) {
    replaceOptionsPanel();
    return;
  }
  ui::View* anchorView = lastPopoverView ? lastPopoverView : viewSurahDisplay.get();
  popoverView->presentPopoverFromRect(
      cg::Rect(R.x() + std::floor(R.width() / 2), R.y() + std::floor(R.height() / 2) - 10, 5, 5), anchorView,
      lastPopoverPosition, true);
}

// The options panel after a turn points at its verse where the turn has put
// it, the table shifted first where the panel has no room beside it; it is
// anchored as at its opening, so it stands wholly on the screen.
void SurahViewController::replaceOptionsPanel() {
  auto rowFrame = [this]() -> std::optional<cg::Rect> {
    auto cell = mouseLocation ? tblVerses->cellForRowAtIndexPath(*mouseLocation) : nullptr;
    if (!cell) return std::nullopt;
    return cell->convertRectToView(cell->bounds(), viewSurahDisplay.get());
  };
  auto R = rowFrame();
  if (!R && mouseLocation) {  // the verse went out of view: back to the top
    bringSelectedVerseToTop(mouseLocation, false, IsInLandscape_);
    R = rowFrame();
  }
  if (!R) R = verseHUDPoint;
  cg::Rect t = tblVerses->frame();
  int y = int(R->y());
  int space = int(t.y() + t.height()) - (y + 55);
  auto place = VerseOptionsPanel::place(y, space);
  lastPopoverPosition = place.arrow;
  currTblOffset = tblVerses->contentOffset();
  extraTblOffset = 0;
  if (place.shiftsTable) {
    extraTblOffset = place.extraTblOffset;
    ui::View::beginAnimations("ShowBottomAudioBar");
    ui::View::setAnimationDuration(0.35);
    tblVerses->setContentOffset(cg::Point{currTblOffset.x, currTblOffset.y + float(extraTblOffset)});
    ui::View::commitAnimations();
    R = cg::Rect(R->x(), R->y() - float(extraTblOffset), R->width(), R->height());
  }
  verseHUDPoint = *R;
  lastPopoverRect = *R;
  presentPanelPopover(place.arrow, place.anchorOffset);
}

// The first row of the verse whose rows hold the table's top edge (a verse
// starting exactly there is that verse, not the one before).
std::optional<ui::IndexPath> SurahViewController::topVerseRow() const {
  if (!tblVerses) return std::nullopt;
  auto path = tblVerses->indexPathForRowAtPoint(cg::Point{10, tblVerses->contentOffset().y});
  if (!path) return std::nullopt;
  return ui::IndexPath::indexPathForRow(verseToRow(rowToVerse(path->row)), 0);
}

// The table measures its rows again for the layout in force; the verse at
// its top stays there (in a turn, the one that was there when it began).
void SurahViewController::reloadKeepingTopVerse() {
  if (!tblVerses) return;
  // With the options panel up, its verse goes to the top (it is placed again after the turn).
  auto top = showingDialControl_ && mouseLocation            ? mouseLocation
             : isRotating_ && topIndexPathBeforeRotation ? topIndexPathBeforeRotation
                                                          : topVerseRow();
  if (settingUpSurah_ || !hasVerseRecords_ || !top || tblVerses->contentOffset().y <= 0) {
    tblVerses->reloadData();
    return;
  }
  bringSelectedVerseToTop(top, false, IsInLandscape_);
}

bool SurahViewController::prepareForLandscapeWithAnimation(bool animated, bool initial) {
  if (!tblVerses || viewDidUnload_) return false;
  if (IsInLandscape_) return true;
  isRotating_ = true;
  IsInLandscape_ = true;
  tajweedBarDisplayToggled(true);
  if (!settingUpSurah_ && !isSwitchingSurah_) reloadVisibleRows();
  if (animated) {
    ui::View::beginAnimations("PrepLand");
    ui::View::setAnimationDuration(0.1);
  }
  if (IsInPlayMode_) {
    hideBottomAudioBar(animated, false);
    showLSAudioBar(animated, false);
  }
  if (showingDialControl_ && optionsPanel_) {
    optionsPanel_->prepareAyahHUDForLandscape();
    bringSelectedVerseToTop(mouseLocation, false, true);
  }
  applyLayoutChrome(true);
  if (!initial && viewIsVisible_ && !statusBarInLandscape()) tblVerses->setAlpha(0);
  if (animated) ui::View::commitAnimations();
  return true;
}

bool SurahViewController::prepareForPortraitWithAnimation(bool animated, bool initial) {
  if (!tblVerses || viewDidUnload_) return false;
  if (!IsInLandscape_) return true;
  isRotating_ = true;
  IsInLandscape_ = false;
  tajweedBarDisplayToggled(true);
  if (!settingUpSurah_ && !isSwitchingSurah_) reloadVisibleRows();
  if (animated) {
    ui::View::beginAnimations("PrepPort");
    ui::View::setAnimationDuration(0.1);
  }
  if (IsInPlayMode_) {
    hideLSAudioBar(animated, false);
    showBottomAudioBar(animated, false);
  }
  applyLayoutChrome(false);
  if (!initial && viewIsVisible_) tblVerses->setAlpha(0);
  if (showingDialControl_ && optionsPanel_) {
    optionsPanel_->prepareAyahHUDForPortrait();
    bringSelectedVerseToTop(mouseLocation, false, false);
  }
  if (animated) ui::View::commitAnimations();
  return true;
}

// The landscape layout's top buttons take the touches over the header, and
// show; the portrait layout's let them through to the ornaments.
void SurahViewController::applyLayoutChrome(bool landscape) {
  if (viewTopLSButtons) viewTopLSButtons->setUserInteractionEnabled(landscape);
  for (auto* b : {btnSurahNameOptionsBar.get(), btnLSNextSurah.get(), btnLSPrevSurah.get()})
    if (b) b->setAlpha(landscape ? 1 : 0);
}

// The layout switch hid the rows while they changed height; the turn is
// over, so they come back.
void SurahViewController::setupForLandscape() {
  if (!tblVerses) return;
  isRotating_ = false;
  if (!settingUpSurah_ && !isSwitchingSurah_ && tblVerses->alpha() < 1) setTableAlpha(1, true, "LayoutDone", 0.2);
}

void SurahViewController::setupForPortrait() { setupForLandscape(); }

// ---- the idle timer ------------------------------------------------------------------------------------

// The run loop keeps a timer until it is invalidated, so it holds the
// screen weakly and stops itself once the screen is gone.
void SurahViewController::startIdleTimer() {
  idleTimer.invalidate();
  std::weak_ptr<SurahViewController> weak = std::static_pointer_cast<SurahViewController>(shared_from_this());
  idleTimer = ns::RunLoop::main().scheduleTimer(kIdleCheckSeconds, true, [weak](ns::Timer& timer) {
    if (auto self = weak.lock()) self->checkIdleTimeout();
    else timer.invalidate();
  });
}

void SurahViewController::checkIdleTimeout() {
  if (!viewIsVisible_) return;
  auto app = ZarvelSDKAppDelegate::GetInstance();
  if (app && app->isDownloading()) return;
  double last = dateLastActivity_ ? dateLastActivity_->timeIntervalSince1970() : 0;
  double idle = ns::Clock::current().now() - last;
  if (idle < kIdleSeconds) {
    if (ZarvelSDKAppDelegate::isSleepEnabled()) ZarvelSDKAppDelegate::disableSleep();
  } else if (!ZarvelSDKAppDelegate::isSleepEnabled()) {
    ZarvelSDKAppDelegate::enableSleep();
  }
}

// ---- the two-finger watch ----------------------------------------------------------------------------------

void SurahViewController::watchTwoFingerGesture() {
  ui::Window* window = view()->window();
  // The application's event window already hands its events to the root, which
  // passes them to this screen; only a plain window needs the screen's own watch.
  if (!window || window->hasEventInterceptor()) return;
  std::weak_ptr<SurahViewController> weak = std::static_pointer_cast<SurahViewController>(shared_from_this());
  window->setEventInterceptor([weak](const ui::Event& event) {
    auto self = weak.lock();
    return self ? self->interceptEvent(event) : false;
  });
}

bool SurahViewController::interceptEvent(const ui::Event& event) {
  const auto& touches = event.allTouches;
  if (event.type != ui::EventType::Touches) return false;
  if (!pinchZoomBegan_) {
    if (touches.size() != 2) return false;
    for (const auto& t : touches) {
      ui::View* v = t->view();
      if (!dynamic_cast<VerseCanvas*>(v) && !dynamic_cast<SurahVerseView*>(v)) return false;
    }
    pinchZoomBegan_ = true;
  } else if (touches.size() != 2) {
    pinchZoomBegan_ = false;
    if (ipaddelegate_) ipaddelegate_->shouldDisableFloatingWindow(false);
    return false;
  }
  if (ipaddelegate_) ipaddelegate_->shouldDisableFloatingWindow(true);
  cg::Point a = touches[0]->locationInView(view().get()), b = touches[1]->locationInView(view().get());
  float d = std::hypot(a.x - b.x, a.y - b.y);

  ui::TouchPhase phase = ui::TouchPhase::Moved;
  for (const auto& t : touches) {
    if (t->phase() == ui::TouchPhase::Ended || t->phase() == ui::TouchPhase::Cancelled) phase = t->phase();
    else if (t->phase() == ui::TouchPhase::Began && phase == ui::TouchPhase::Moved) phase = ui::TouchPhase::Began;
  }
  switch (phase) {
    case ui::TouchPhase::Began: initialDistance_ = d; break;
    case ui::TouchPhase::Moved:
      if (initialDistance_ == 0) initialDistance_ = d;
      else if (d > initialDistance_ + 100) ns::logf("Zoom in: %f", double(d));
      else if (d < initialDistance_ - 100) ns::logf("Zoom out: %f", double(d));
      break;
    case ui::TouchPhase::Ended:
    case ui::TouchPhase::Cancelled:
      initialDistance_ = 0;
      pinchZoomBegan_ = false;
      if (ipaddelegate_) ipaddelegate_->shouldDisableFloatingWindow(false);
      break;
    default: break;
  }
  return false;
}
