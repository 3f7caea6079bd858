// Full-screen mode: the floating reading view widens to the whole width and
// narrows back; the state survives a relaunch.
#include "Classes/shell/SurahTranslationViewController.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Button.h"

void iPadRootViewController::smoothScrollToNextVerse() {
  if (isFloatingViewExpanded_) shrinkFloatingView(true);
  else expandFloatingView(true);
}

void iPadRootViewController::setZoomImage(const char* name) {
  auto image = ui::Image::imageNamed(name);
  btnTabNextVerse->setBackgroundImage(image, ui::ControlStateNormal);
  btnTabNextVerse->setBackgroundImage(image, ui::ControlStateHighlighted);
}

namespace {

// The reading screen is rebuilt for the new width at the end of the move,
// and its saved verse comes back.
ui::AnimationDidStop expandAnimEnded(std::weak_ptr<SurahViewController> weak) {
  return [weak](const std::string&, bool, void*) {
    if (auto reading = weak.lock()) {
      reading->asyncSurahReload();
      reading->restoreLastSavedVerse();
    }
  };
}

}  // namespace

// Only the animated move ends by rebuilding the reading screen.
void iPadRootViewController::moveFloatingViewForFullScreen(const char* name, cg::Rect target, bool animated) {
  if (animated) {
    ui::View::beginAnimations(name);
    ui::View::setAnimationDuration(0.3);
    ui::View::setAnimationDelegate(weak_from_this());
    ui::View::setAnimationDidStopSelector(expandAnimEnded(viewContSurah_));
  }
  viewFloatingVerses->setFrame(target);
  if (animated) ui::View::commitAnimations();
  currentFloatingFrame = target;
}

void iPadRootViewController::expandFloatingView(bool animated) {
  if (isFloatingViewExpanded_ || !built()) return;
  auto& d = ns::UserDefaults::standardUserDefaults();
  d.setBool(true, "ExpandedState");
  if (!IsInLandscape_) d.setInteger(int(viewFloatingVerses->frame().x()), "LastFloatingViewX");
  d.synchronize();
  if (viewContSurah_) {
    viewContSurah_->saveCurrentSurahAndVerse();
    viewContSurah_->hideVersesBeforeLoading(true, false);
  }
  ns::NotificationCenter::defaultCenter().postNotificationName("SurahWillChange");
  cg::Rect f = viewFloatingVerses->frame();
  cg::Rect target(0, f.y(), viewRoot->frame().width(), f.height());
  // Expanded before the move ends, so the reading screen's rows are laid out
  // for the full width when it rebuilds them.
  isFloatingViewExpanded_ = true;
  moveFloatingViewForFullScreen("ExpandView", target, animated);
  setZoomImage("ipad-zoom-out.png");
  if (viewContPrimTrans) viewContPrimTrans->showSingleTranslationMode();
}

void iPadRootViewController::shrinkFloatingView(bool animated) {
  if (!isFloatingViewExpanded_ || !built()) return;
  auto& d = ns::UserDefaults::standardUserDefaults();
  int storedX = IsInLandscape_ ? 0 : int(d.integerForKey("LastFloatingViewX"));
  d.setBool(false, "ExpandedState");
  d.removeObjectForKey("LastFloatingViewX");
  d.synchronize();
  if (viewContPrimTrans) viewContPrimTrans->hideSingleTranslationMode();
  if (viewContSurah_) {
    viewContSurah_->saveCurrentSurahAndVerse();
    viewContSurah_->hideVersesBeforeLoading(true, false);
  }
  ns::NotificationCenter::defaultCenter().postNotificationName("SurahWillChange");
  float W = viewRoot->frame().width(), Lw = viewIndexList->frame().width();
  cg::Rect f = viewFloatingVerses->frame();
  cg::Rect target = IsInLandscape_ ? cg::Rect(W - Lw - 480, f.y(), 480, f.height())
                                   : cg::Rect(storedX != 0 ? Lw : 0, f.y(), W - Lw, f.height());
  isFloatingViewExpanded_ = false;
  moveFloatingViewForFullScreen("Shrink", target, animated);
  setZoomImage("ipad-zoom.png");
}
