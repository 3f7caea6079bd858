// The floating reading view: the pan that slides it over the columns, damped
// past its limits; the glide to a rest position on release; the animated
// show and hide of the right-hand column; the suspension by the reading
// screen; the recitation bar's place (the bar itself comes with the
// recitation screens).
#include <cmath>

#include "Classes/shell/AccelerationAnimation.h"
#include "Classes/shell/SurahTranslationViewController.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/ui/Button.h"

namespace {
constexpr float kFlingSpeed = 500, kFlingTravel = 10, kSlowTravel = 40, kDamping = 0.21f;
constexpr float kExpandedPaneX = 288;  // the expanded view pushed right to show the primary pane
}  // namespace

float iPadRootViewController::columnCoveredX() const {
  return viewRoot->frame().width() - viewFloatingVerses->frame().width();
}

float iPadRootViewController::columnShownX() const { return columnCoveredX() - viewIndexList->frame().width(); }

// Where a pan released at x with horizontal speed vx comes to rest.
float iPadRootViewController::releaseTarget(float x, float vx) const {
  float w = viewFloatingVerses->frame().width(), W = viewRoot->frame().width(), Lx = viewIndexList->frame().x();
  float r = x + w;
  if (vx >= 0) {
    if (isFloatingViewExpanded_) {
      if ((vx > kFlingSpeed && x > kFlingTravel - w) || x > kSlowTravel - w) return x > 0 ? kExpandedPaneX : 0;
      return columnShownX();
    }
    if ((vx > kFlingSpeed && r > Lx + kFlingTravel) || r > Lx + kSlowTravel) return columnCoveredX();
    return columnShownX();
  }
  if ((vx < -kFlingSpeed && r < W - kFlingTravel) || r < W - kSlowTravel) return columnShownX();
  return columnCoveredX();
}

// Where the view goes from x in the direction of the last pan.
float iPadRootViewController::snapTarget(float x) const {
  float w = viewFloatingVerses->frame().width(), W = viewRoot->frame().width(), Lx = viewIndexList->frame().x();
  float r = x + w;
  if (lastPosition == 0.0f) {
    if (isFloatingViewExpanded_) return x > kSlowTravel - w ? (x > 0 ? kExpandedPaneX : 0) : columnShownX();
    return r > Lx + kSlowTravel ? columnCoveredX() : columnShownX();
  }
  return r < W - kSlowTravel ? columnShownX() : columnCoveredX();
}

void iPadRootViewController::handlePanGesture(const FloatingPan& pan) {
  if (!built() || pan.state == FloatingPan::State::Began) return;
  if (floatingDisabled && !alreadyStartedPanning) return;
  bool ending = pan.state == FloatingPan::State::Ended || pan.state == FloatingPan::State::Cancelled;
  auto* verses = viewContSurah_ ? viewContSurah_->tblVerses.get() : nullptr;
  if (floatingWasDisabled && ending) {
    snapToPage();
    if (verses) verses->setScrollEnabled(true);
    floatingWasDisabled = alreadyStartedPanning = false;
    lastPosition = -1.0f;
    return;
  }
  if (pan.translation.x >= 2.0f) {
    alreadyStartedPanning = true;
    if (verses) verses->setScrollEnabled(false);
  }
  if (lastPosition == -1.0f) lastPosition = pan.velocity.x >= 0 ? 0.0f : 1.0f;

  float w = currentFloatingFrame.width(), H = viewFloatingVerses->frame().height();
  double x = double(currentFloatingFrame.x()) + pan.translation.x;
  double lower = double(viewIndexList->frame().x()) - w;
  double upper = isFloatingViewExpanded_ ? kExpandedPaneX : double(viewRoot->frame().width()) - w;
  if (x >= upper) x = upper + (x - upper) * kDamping;
  else if (x <= lower) x = lower + (x - lower) * kDamping;
  viewFloatingVerses->setFrame(cg::Rect(float(x), 0, w, H));

  if (ending) {
    lastPanStopped = ns::Date::now();
    floatingDisabled = alreadyStartedPanning = false;
    if (verses) verses->setScrollEnabled(true);
    float target = releaseTarget(float(x), pan.velocity.x);
    glideFloatingView(target);
    lastPosition = -1.0f;
    currentFloatingFrame = cg::Rect(target, 0, w, H);
  } else if (verses) {
    verses->setScrollEnabled(false);
  }
}

// The model value goes to the end first; the key frames only change what is
// drawn on the way, so nothing jumps when they end.
void iPadRootViewController::glideFloatingView(float target) {
  cg::Rect f = viewFloatingVerses->frame();
  double s = f.x() + f.width() / 2, e = s + (target - f.x());
  auto animation = AccelerationAnimation::animationWithKeyPath("position.x", s, e, ExponentialDecayEvaluator(3.0), 99);
  std::weak_ptr<ui::ViewController> weak = weak_from_this();
  animation->didStop = [weak](bool finished) {
    auto root = std::static_pointer_cast<iPadRootViewController>(weak.lock());
    if (finished && root && root->isPrimaryTranslationNone())
      root->bothPanes([](SurahTranslationViewController& p) { p.updateVisibleRowBGs(); });
  };
  viewFloatingVerses->setFrame(cg::Rect(target, f.y(), f.width(), f.height()));
  ui::addAnimation(*viewFloatingVerses, animation, "position");
}

void iPadRootViewController::snapToPage() {
  if (!built()) return;
  float x = viewFloatingVerses->frame().x();
  float target = snapTarget(x);
  glideFloatingView(target);
  cg::Rect f = viewFloatingVerses->frame();
  currentFloatingFrame = cg::Rect(target, 0, f.width(), f.height());
  lastPosition = -1.0f;
}

void iPadRootViewController::animateFloatingView(float target) {
  ui::View::beginAnimations("PageSnap");
  ui::View::setAnimationDuration(0.3);
  std::weak_ptr<ui::ViewController> weak = weak_from_this();
  ui::View::setAnimationDelegate(weak);
  ui::View::setAnimationDidStopSelector([weak](const std::string&, bool, void*) {
    auto root = std::static_pointer_cast<iPadRootViewController>(weak.lock());
    if (root && root->isPrimaryTranslationNone())
      root->bothPanes([](SurahTranslationViewController& p) { p.updateVisibleRowBGs(); });
  });
  cg::Rect f = viewFloatingVerses->frame();
  viewFloatingVerses->setFrame(cg::Rect(target, f.y(), f.width(), f.height()));
  ui::View::commitAnimations();
  currentFloatingFrame = viewFloatingVerses->frame();
}

void iPadRootViewController::showIndex() {
  if (built()) animateFloatingView(columnShownX());
}

void iPadRootViewController::showOrHideIndex() {
  if (!built()) return;
  float x = viewFloatingVerses->frame().x();
  animateFloatingView(x == columnShownX() ? columnCoveredX() : columnShownX());
}

bool iPadRootViewController::showIndexIfObscured() {
  if (!built() || !isFloatingViewExpanded_ || viewFloatingVerses->frame().x() != 0) return false;
  showIndex();
  return true;
}

void iPadRootViewController::refillFloatingView() {
  if (!built()) return;
  ui::View::beginAnimations("ExpandView");
  ui::View::setAnimationDuration(0.3);
  cg::Rect f = viewFloatingVerses->frame();
  viewFloatingVerses->setFrame(cg::Rect(0, f.y(), viewRoot->frame().width(), f.height()));
  ui::View::commitAnimations();
  currentFloatingFrame = viewFloatingVerses->frame();
}

void iPadRootViewController::shouldDisableFloatingWindow(bool) {
  if (alreadyStartedPanning) return;
  floatingDisabled = true;
  floatingWasDisabled = false;
}

void iPadRootViewController::shouldEnableFloatingWindow() {
  if (floatingDisabled) snapToPage();
  floatingDisabled = false;
  floatingWasDisabled = true;
}

void iPadRootViewController::surahDidBeginPlayingAudio() {
  if (!built() || !viewContSurah_) return;
  auto& reading = *viewContSurah_;
  btnTabNextVerse->setAlpha(0);
  float W = viewRoot->frame().width(), Lw = viewIndexList->frame().width(), B = viewBottomBar->frame().height();
  // The recitation bar takes the place of the reciter's button in the bubbles' bar.
  if (auto& bar = reading.viewLandscapeAudioBar) {
    bar->setAlpha(0);
    if (!bar->superview() && reading.viewTopRepeatBubbles) reading.viewTopRepeatBubbles->addSubview(bar);
    bar->setFrame(cg::Rect(280, 6, 144, 44));
  }
  ui::View::beginAnimations("ShowAudioBar");
  ui::View::setAnimationDuration(0.3);
  ui::View::setAnimationCurve(ui::AnimationCurve::EaseOut);
  if (viewAirPlayControl) viewAirPlayControl->setAlpha(IsInLandscape_ ? 1 : 0);
  if (reading.btnReciter) reading.btnReciter->setAlpha(0);
  if (reading.viewLandscapeAudioBar) reading.viewLandscapeAudioBar->setAlpha(1);
  if (reading.viewTopRepeatBubbles)
    reading.viewTopRepeatBubbles->setFrame(IsInLandscape_ ? cg::Rect(W - Lw - 480, 0, 480, B) : cg::Rect(0, 0, 480, B));
  if (!IsInLandscape_) btnTabNextVerse->setAlpha(0);
  ui::View::commitAnimations();
}

void iPadRootViewController::surahDidStopPlayingAudio() {
  if (!built() || !viewContSurah_) return;
  auto& reading = *viewContSurah_;
  btnTabNextVerse->setAlpha(1);
  float W = viewRoot->frame().width(), Lw = viewIndexList->frame().width(), B = viewBottomBar->frame().height();
  ui::View::beginAnimations("ShowAudioBar");
  ui::View::setAnimationDuration(0.3);
  ui::View::setAnimationCurve(ui::AnimationCurve::EaseOut);
  if (viewAirPlayControl) viewAirPlayControl->setAlpha(0);
  if (reading.btnReciter) reading.btnReciter->setAlpha(1);
  if (reading.viewLandscapeAudioBar) reading.viewLandscapeAudioBar->setAlpha(0);
  if (reading.viewTopRepeatBubbles)
    reading.viewTopRepeatBubbles->setFrame(IsInLandscape_ ? cg::Rect(W - Lw - 480, 0, 480, B) : cg::Rect(54, 0, 426, B));
  ui::View::commitAnimations();
}
