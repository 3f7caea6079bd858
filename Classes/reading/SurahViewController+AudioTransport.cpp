// The recitation's transport: pause, the fast-forward and rewind taps that
// move between verses, press-and-hold seeking inside a verse with its
// indicator, the remote-control commands (media keys), the play-option
// pickers over the bubbles, and the interruptions of the sound.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "Classes/audio/PlayOptionsPickers.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/core/String+More.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/reading/SurahViewController.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

namespace {

constexpr float kSeekStep = 0.08f;
constexpr double kSeekDelay = 0.5, kSeekRepeat = 0.02;

std::string text(const std::string& key) { return Language::get(key, key); }

}  // namespace

bool SurahViewController::isAudioPaused() const {
  return (btnBottomAudioPause && btnBottomAudioPause->isSelected()) ||
         (btnLandscapeAudioPause && btnLandscapeAudioPause->isSelected());
}

void SurahViewController::setPauseSelected(bool selected) {
  for (auto* b : {btnBottomAudioPause.get(), btnLandscapeAudioPause.get()})
    if (b) b->setSelected(selected);
}

// ---- taps -----------------------------------------------------------------------------------------------

void SurahViewController::btnAudioPausePressed() {
  didSeekFForRR_ = fingerDownOnRR_ = fingerDownOnFF_ = false;
  if (isAudioPaused()) {
    setPauseSelected(false);
    if (CurrentAudioPlayer_) CurrentAudioPlayer_->play();
  } else {
    setPauseSelected(true);
    if (CurrentAudioPlayer_) CurrentAudioPlayer_->pause();
  }
}

void SurahViewController::btnAudioFFPressed() {
  if (didSeekFForRR_) {
    didSeekFForRR_ = fingerDownOnRR_ = fingerDownOnFF_ = false;
    setPauseSelected(false);
    return;
  }
  setPauseSelected(false);
  int v = iCurrentPlayingVerse_;
  if (v + 1 > ChapterInfo::getVersesFromNumber(iCurrentSurah_)) {
    switch (surahRepeatBubbleCounter_) {
      case 2:
        iCurrentPlayingVerse_ = -1;
        playNextVerseForSelectedVerse(-1);
        highlightVerse(iCurrentPlayingVerse_, true);
        highlightForPlayingVerse(iCurrentPlayingVerse_, false);
        break;
      case 1:
        globalShouldStartPlaying_ = true;
        stopPlaying();
        showNextSurah();
        break;
      default: stopPlaying(); break;
    }
    return;
  }
  highlightVerse(v + 1, true);
  highlightForPlayingVerse(v + 1, false);
  canResetTime_ = true;
  playNextVerseForSelectedVerse(v + 1);
  iCurrentPlayingVerse_ = v + 1;
}

void SurahViewController::btnAudioRRPressed() {
  if (didSeekFForRR_) {
    didSeekFForRR_ = fingerDownOnRR_ = fingerDownOnFF_ = false;
    setPauseSelected(false);
    return;
  }
  setPauseSelected(false);
  int v = iCurrentPlayingVerse_;
  if (!CurrentAudioPlayer_) return;
  double t = CurrentAudioPlayer_->currentTime() - kSeekStep;
  double T = isUsingContinuousPlayback_ ? std::trunc(currentVerseBeginTime_ + 1.0) : 1.0;
  if (t >= T) {
    if (isUsingContinuousPlayback_) {
      CurrentAudioPlayer_->setCurrentTime(currentVerseBeginTime_);
      fadeIn(0.6f);
    } else {
      CurrentAudioPlayer_->setCurrentTime(0);
    }
    highlightVerse(v, true, true, true);
    highlightForPlayingVerse(v, false);
    return;
  }
  int p = std::max(v - 1, hasHeaderRow() ? 0 : 1);
  highlightVerse(p, true, true, false);
  highlightForPlayingVerse(p, false);
  canResetTime_ = true;
  playNextVerseForSelectedVerse(p);
  iCurrentPlayingVerse_ = p;
}

// ---- press and hold ------------------------------------------------------------------------------------

void SurahViewController::btnAudioFingerDown(ui::Button* b) {
  currentPlayingTime_ = CurrentAudioPlayer_ ? float(CurrentAudioPlayer_->currentTime()) : 0.0f;
  didSeekFForRR_ = fingerDownOnRR_ = fingerDownOnFF_ = false;
  auto& loop = ns::RunLoop::main();
  if (b && (b == btnBottomAudioFF.get() || b == btnLandscapeAudioFF.get())) {
    fingerDownOnFF_ = true;
    loop.performAfter(this, "seekForward", kSeekDelay, [this] { seekForward(); });
  } else if (b && (b == btnBottomAudioRR.get() || b == btnLandscapeAudioRR.get())) {
    fingerDownOnRR_ = true;
    loop.performAfter(this, "seekBackward", kSeekDelay, [this] { seekBackward(); });
  }
}

void SurahViewController::seekForward() {
  ns::RunLoop::main().cancelPreviousPerformRequests(this, "seekForward");
  if (!fingerDownOnFF_ || !CurrentAudioPlayer_) return;
  if (!isShowingFFRRHUD_) showAudioFFRRHUD(0);
  didSeekFForRR_ = true;
  if (CurrentAudioPlayer_->isPlaying()) CurrentAudioPlayer_->pause();
  float s = float(CurrentAudioPlayer_->currentTime()) + kSeekStep;
  // The last verse of a part has no next begin time (the largest float): the
  // part's own end is the limit then.
  float duration = float(CurrentAudioPlayer_->duration());
  s = std::min(s, isUsingContinuousPlayback_ ? std::min(nextVerseBeginTime_, duration) : duration);
  s = std::max(s, 0.0f);
  CurrentAudioPlayer_->setCurrentTime(s);
  if (lblFFRR) lblFFRR->setText("+" + ns::getTimeElapsedFrom(s - currentPlayingTime_));
  ns::RunLoop::main().performAfter(this, "seekForward", kSeekRepeat, [this] { seekForward(); });
}

void SurahViewController::seekBackward() {
  ns::RunLoop::main().cancelPreviousPerformRequests(this, "seekBackward");
  if (!fingerDownOnRR_ || !CurrentAudioPlayer_) return;
  if (!isShowingFFRRHUD_) showAudioFFRRHUD(1);
  didSeekFForRR_ = true;
  if (CurrentAudioPlayer_->isPlaying()) CurrentAudioPlayer_->pause();
  float s = float(CurrentAudioPlayer_->currentTime()) - kSeekStep;
  s = std::max(s, isUsingContinuousPlayback_ ? currentVerseBeginTime_ : 0.0f);
  CurrentAudioPlayer_->setCurrentTime(s);
  if (lblFFRR) lblFFRR->setText("-" + ns::getTimeElapsedFrom(currentPlayingTime_ - s));
  ns::RunLoop::main().performAfter(this, "seekBackward", kSeekRepeat, [this] { seekBackward(); });
}

void SurahViewController::btnAudioFingerUp() {
  fingerDownOnRR_ = fingerDownOnFF_ = false;
  hideAudioFFRRHUD();
  if (CurrentAudioPlayer_ && !CurrentAudioPlayer_->isPlaying()) fadeIn(0.6f);
  ns::RunLoop::main().cancelPreviousPerformRequests(this, "seekForward");
  ns::RunLoop::main().cancelPreviousPerformRequests(this, "seekBackward");
}

void SurahViewController::showAudioFFRRHUD(int backward) {
  if (isShowingFFRRHUD_ || !viewFFRRHud || !viewSurahDisplay) return;
  isShowingFFRRHUD_ = true;
  if (!viewFFRRHud->superview()) {
    viewFFRRHud->setUserInteractionEnabled(false);
    viewSurahDisplay->addSubview(viewFFRRHud);
  }
  lblFFRR->setText("00:00");
  cg::Rect host = viewSurahDisplay->bounds(), hud = viewFFRRHud->frame();
  viewFFRRHud->setFrame(cg::Rect(std::floor((host.width() - hud.width()) / 2), std::floor((host.height() - hud.height()) / 2),
                                 hud.width(), hud.height()));
  viewFFRRHud->setAlpha(0);
  imgFFRRType->setImage(ui::Image::imageNamed(backward ? "sura-hud-rr.png" : "sura-hud-ff.png"));
  ui::View::beginAnimations("ShowFFRRHud");
  ui::View::setAnimationDuration(0.2);
  viewFFRRHud->setAlpha(1);
  ui::View::commitAnimations();
}

void SurahViewController::hideAudioFFRRHUD() {
  if (!isShowingFFRRHUD_ || !viewFFRRHud) return;
  isShowingFFRRHUD_ = false;
  ui::View::beginAnimations("HideFFRRHud");
  ui::View::setAnimationDuration(0.2);
  viewFFRRHud->setAlpha(0);
  ui::View::commitAnimations();
}

// ---- remote control ---------------------------------------------------------------------------------------

void SurahViewController::remoteControlReceivedWithEvent(const ui::Event& event) {
  if (event.type != ui::EventType::RemoteControl) return;
  using S = ui::EventSubtype;
  bool playing = IsInPlayMode_;
  switch (event.subtype) {
    case S::RemoteControlPlay:
      if (!playing) playStopOrDownload();
      else if (isAudioPaused()) btnAudioPausePressed();
      break;
    case S::RemoteControlPause:
      if (playing && !isAudioPaused()) btnAudioPausePressed();
      break;
    case S::RemoteControlStop:
      if (playing) playStopOrDownload();
      break;
    case S::RemoteControlTogglePlayPause:
      if (playing) btnAudioPausePressed();
      else playStopOrDownload();
      break;
    case S::RemoteControlNextTrack:
      if (playing) btnAudioFFPressed();
      break;
    case S::RemoteControlPreviousTrack:
      if (playing) btnAudioRRPressed();
      break;
    case S::RemoteControlBeginSeekingBackward:
      if (playing) {
        btnAudioFingerDown(btnBottomAudioRR.get());
        seekBackward();
      }
      break;
    case S::RemoteControlBeginSeekingForward:
      if (playing) {
        btnAudioFingerDown(btnBottomAudioFF.get());
        seekForward();
      }
      break;
    case S::RemoteControlEndSeekingBackward:
    case S::RemoteControlEndSeekingForward:
      if (playing) btnAudioFingerUp();
      break;
    default: break;
  }
}

// Losing the focus while reciting keeps the media keys on the recitation.
void SurahViewController::registerRemoteEvents() {
  if (!ZarvelSDKAppDelegate::IsIPhoneOS4() || !IsInPlayMode_) return;
  ui::Application::shared().beginReceivingRemoteControlEvents();
  becomeFirstResponder();
}

// The desktop's media keys reach only the focused window, where they are this
// screen's remote: they stop only while the screen is away.
void SurahViewController::unregisterRemoteEvents() {
  if (!ZarvelSDKAppDelegate::IsIPhoneOS4() || viewIsVisible_) return;
  ui::Application::shared().endReceivingRemoteControlEvents();
  resignFirstResponder();
}

// ---- interruptions --------------------------------------------------------------------------------------------

void SurahViewController::audioPlayerBeginInterruption(av::AudioPlayer&) {
  if (!isAudioPaused()) btnAudioPausePressed();
}

void SurahViewController::audioPlayerEndInterruption(av::AudioPlayer&, unsigned) {
  if (isAudioPaused()) btnAudioPausePressed();
}

void SurahViewController::beginInterruption() { ns::log("INTERRUPTED"); }

void SurahViewController::endInterruption() { ns::log("ENDED INTERRUPTION"); }

// ---- the play-option pickers ----------------------------------------------------------------------------------

namespace {

// The popover over a bubble: the picker in a navigation controller, pointing down.
template <class Picker>
std::shared_ptr<Picker> openPicker(SurahViewController& screen, ui::Button& bubble, const std::string& title,
                                   cg::Size size) {
  auto picker = std::make_shared<Picker>();
  picker->delegate = std::static_pointer_cast<SurahViewController>(screen.shared_from_this());
  screen.lastButtonTapped = &bubble;
  screen.lastPopoverRect = bubble.frame();
  screen.lastPopoverView = screen.viewTopRepeatBubbles.get();
  screen.lastPopoverPosition = 2;
  auto navigation = std::make_shared<ui::NavigationController>(picker);
  navigation->setNavigationBarHidden(true, false);
  picker->setTitle(title);
  auto& popover = screen.createPopoverViewWithController(navigation);
  popover.setPopoverContentSize(size, true);
  cg::Rect f = bubble.frame();
  popover.presentPopoverFromRect(
      cg::Rect(f.x() + std::floor(f.width() / 2), f.y() + std::floor(f.height() / 2) - 10, 5, 5),
      screen.viewTopRepeatBubbles.get(), ui::PopoverArrowDirectionDown, true);
  return picker;
}

}  // namespace

void SurahViewController::btnPlayNextPressed() {
  if (!btnSurahRepeatBubble) return;
  isShowingPlayOptions_ = true;
  optionsview = openPicker<PlayNextAyasController>(*this, *btnSurahRepeatBubble, text("Play Options"), {320, 480});
}

void SurahViewController::btnAyahRepeatPressed() {
  if (!btnAyahRepeatBubble) return;
  isShowingPlayOptions_ = true;
  ayahOptionsView = openPicker<AyaRepeatController>(*this, *btnAyahRepeatBubble, text("Play each aya"), {320, 340});
}

void SurahViewController::dismissNextAyahOptionSheet() {
  if (popoverView && popoverView->isPopoverVisible() && !isShowingSurahInfo_) popoverView->dismissPopoverAnimated(true);
  isShowingPlayOptions_ = false;
  setCorrectSurahRepeatButton();
}

void SurahViewController::dismissAyahRepeatOptionSheet() { dismissNextAyahOptionSheet(); }
