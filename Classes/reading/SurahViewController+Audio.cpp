// The reading screen's recitation: the play command, the start of each verse
// (per verse from a file written to Documents, or continuously from a part's
// MP3 held in memory with the verse times of the content database), stop with
// a fade-out, the audio session, and the verse-end step with its repeat, group
// and play-on rules and the two bubbles that tell them.
#include <cfloat>
#include <cmath>

#include "Classes/audio/MXAudioPlayerFadeOperation.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/reading/SurahViewController.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/media/AudioFile.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"

namespace {

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

sqlite3* userDatabase() {
  auto app = ZarvelSDKAppDelegate::GetInstance();
  return app ? app->dbConnection() : nullptr;
}

sqlite3* contentDatabase() {
  auto app = ZarvelSDKAppDelegate::GetInstance();
  return app ? app->dbConnectionStatic() : nullptr;
}

std::string text(const std::string& key) { return Language::get(key, key); }

double now() { return ns::Clock::current().now(); }

// The verse surahs 1 and 9 start with: they have no opening formula row.
int firstVerse(int surah) { return surah == 1 || surah == 9 ? 1 : 0; }

// The small down arrow of a bubble, made on first need.
void placeBubbleArrow(std::shared_ptr<ui::ImageView>& arrow, ui::Button* bubble, float xFromRight) {
  if (!bubble) return;
  if (!arrow) {
    arrow = std::make_shared<ui::ImageView>(ui::Image::imageNamed("sura-navbar-arrow.png"));
    arrow->setAlpha(0.6f);
    arrow->setUserInteractionEnabled(false);
    bubble->addSubview(arrow);
  }
  cg::Rect b = bubble->frame();
  arrow->setFrame(cg::Rect(b.width() - xFromRight, std::floor((b.height() - 9) * 0.5f) + 1, 10, 9));
}

}  // namespace

// ---- the play command ---------------------------------------------------------------------------

void SurahViewController::playStopOrDownload() {
  if (playButtonPressed_) return;
  if (isShowingSurahInfo_) surahNameButtonPressed();
  sqlite3* db = userDatabase();
  int chosen = int(defaults().integerForKey("CurrentReciterv22"));
  currentReciter_ = db ? ChapterInfo::getResolvedReciterCode(db, chosen, iCurrentSurah_) : chosen;
  useSmallFade_ = false;
  hasFadedSoundIn_ = false;
  noteActivity();
  playButtonPressed_ = true;

  auto& session = av::AudioSession::sharedInstance();
  session.setDelegate(std::static_pointer_cast<SurahViewController>(shared_from_this()));
  ns::Error error;
  if (!session.setCategory(av::AudioSessionCategoryPlayback, &error)) {
    auto alert = std::make_shared<ui::AlertView>(text("Error"), error.description,
                                                 std::weak_ptr<ui::AlertViewDelegate>(), text("OK"));
    alert->show();
    playButtonPressed_ = false;
    return;
  }

  isUsingContinuousPlayback_ = db && ChapterInfo::doesReciterSupportContRecitation(currentReciter_) &&
                               ChapterInfo::isSurahAudioContinuous(db, iCurrentSurah_, currentReciter_);
  if (!isUsingContinuousPlayback_ && !(db && ChapterInfo::isSurahAudioInstalled(db, iCurrentSurah_, currentReciter_))) {
    playButtonPressed_ = false;
    if (ipaddelegate_) ipaddelegate_->downloadAudioForSurah(iCurrentSurah_);
    else if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->downloadSurahAudioAlert(iCurrentSurah_);
    return;
  }

  if (IsInPlayMode_) {
    stopPlaying();
  } else {
    if (ZarvelSDKAppDelegate::IsIPhoneOS4() && !session.setActive(true, &error))
      ns::logf("Could NOT activate Audio Session: %s", error.description.c_str());
    ns::NotificationCenter::defaultCenter().postNotificationName("DidStartPlaying");
    ayahRepeatCount_ = 0;
    playedVerseRange_ = 0;
    startedPlayingFromVerse_ = selectedVerse_;
    setCorrectSurahRepeatButton();
    canResetTime_ = true;
    playNextVerseForSelectedVerse(selectedVerse_);
    if (CurrentAudioPlayer_) {
      showAudioControls(true);
      if (ipaddelegate_) ipaddelegate_->surahDidBeginPlayingAudio();
    }
  }
  playButtonPressed_ = false;
}

void SurahViewController::stopIfPlaying() {
  if (IsInPlayMode_) playStopOrDownload();
}

// ---- the start of one verse ---------------------------------------------------------------------

void SurahViewController::playNextVerseForSelectedVerse(int n) {
  iCurrentPlayingVerse_ = n;
  if (n < 0) {
    lastPlayedVerse_ = -1;
    canResetTime_ = true;
    selectedVerse_ = iCurrentPlayingVerse_ = firstVerse(iCurrentSurah_);
  }
  int v = iCurrentPlayingVerse_;
  bool replace = isUsingContinuousPlayback_ ? playButtonPressed_ : true;
  sqlite3* content = contentDatabase();
  std::optional<ns::Error> playerError;

  if (!isUsingContinuousPlayback_ && v == lastPlayedVerse_) {
    // The same verse again: its file is still there.
  } else if (isUsingContinuousPlayback_) {
    int count = ChapterInfo::getVersesFromNumber(iCurrentSurah_);
    int P = ChapterInfo::getContMP3Part(content, iCurrentSurah_, v, currentReciter_);
    int Q = v + 1 <= count ? ChapterInfo::getContMP3Part(content, iCurrentSurah_, v + 1, currentReciter_) : P;
    bool partChanged = P != lastVersePart_;
    if (partChanged) {
      lastversePlaybackData_ = std::make_shared<ns::Data>(
          ChapterInfo::getContMP3Recitation(userDatabase(), iCurrentSurah_, P, currentReciter_));
      lastVersePart_ = P;
      replace = true;
    }
    currentVerseBeginTime_ = ChapterInfo::getContMP3BeginsTime(content, iCurrentSurah_, v, currentReciter_);
    if (Q != P || v >= count) {
      nextVerseBeginTime_ = -1;
    } else {
      nextVerseBeginTime_ = ChapterInfo::getContMP3BeginsTime(content, iCurrentSurah_, v + 1, currentReciter_);
      if (nextVerseBeginTime_ == 0) nextVerseBeginTime_ = -1;
    }
  } else {
    lastPlayedVerse_ = v;
    std::string name = getPathToVerseAudioForVerse(v, false);
    lastPlayedVerseFile_ = name.empty() ? std::string() : ns::pathJoin(ns::documentsDirectory(), name);
  }

  continuousTimer.invalidate();
  if (replace && CurrentAudioPlayer_) {
    CurrentAudioPlayer_->stop();
    CurrentAudioPlayer_->setDelegate({});
    CurrentAudioPlayer_.reset();
  }
  ns::Error error;
  if (isUsingContinuousPlayback_) {
    if (replace) {
      CurrentAudioPlayer_ = lastversePlaybackData_ ? av::AudioPlayer::initWithData(*lastversePlaybackData_, &error)
                                                   : nullptr;
      if (!CurrentAudioPlayer_) playerError = error;
    }
    std::weak_ptr<SurahViewController> weak = std::static_pointer_cast<SurahViewController>(shared_from_this());
    continuousTimer = ns::RunLoop::main().scheduleTimer(0.1, true, [weak](ns::Timer& timer) {
      if (auto self = weak.lock()) self->checkContinuousPlayback();
      else timer.invalidate();
    });
  } else if (lastPlayedVerseFile_.empty()) {
    // A verse without stored data: nothing was written and nothing plays.
    playerError = ns::Error{av::kAudioErrorDomain, -43, "The verse has no recitation data"};
  } else {
    CurrentAudioPlayer_ = av::AudioPlayer::initWithContentsOfFile(lastPlayedVerseFile_, &error);
    if (!CurrentAudioPlayer_) playerError = error;
  }

  if (!CurrentAudioPlayer_) {
    if (playerError)
      ns::logf("ERROR - [%s] [AUDIO PLAYER] Could Not Initiate: %s", ns::logTimestamp().c_str(),
               playerError->description.c_str());
    ns::logf("DEBUG - [%s]   NO AUDIO PLAYER!!!", ns::logTimestamp().c_str());
    stopPlaying();
    return;
  }
  CurrentAudioPlayer_->setDelegate(std::static_pointer_cast<SurahViewController>(shared_from_this()));
  IsInPlayMode_ = true;
  highlightForPlayingVerse(v, false);
  bool seekToVerse = isUsingContinuousPlayback_ && (replace || canResetTime_);
  if (seekToVerse) CurrentAudioPlayer_->setCurrentTime(currentVerseBeginTime_);
  if (!isUsingContinuousPlayback_ && replace) {
    CurrentAudioPlayer_->prepareToPlay();
    CurrentAudioPlayer_->play();
  }
  if (seekToVerse) {
    if (hasFadedSoundIn_ || v == 0) {
      CurrentAudioPlayer_->prepareToPlay();
      CurrentAudioPlayer_->play();
      hasFadedSoundIn_ = true;
    } else {
      fadeIn(useSmallFade_ ? 0.3f : 0.6f);
      hasFadedSoundIn_ = true;
      useSmallFade_ = false;
    }
  }
  // The last verse of a part ends with the part's data, not at a time.
  if (isUsingContinuousPlayback_ && nextVerseBeginTime_ <= -1) nextVerseBeginTime_ = FLT_MAX;
  canResetTime_ = false;
  btnPlay->setAlpha(1.0f);
  btnPlay->setImage(ui::Image::imageNamed("ipad-sound-on.png"), ui::ControlStateNormal);
}

std::string SurahViewController::getPathToVerseAudioForVerse(int verse, bool) {
  int record = hasHeaderRow() ? verse : verse - 1;
  record = std::max(record, 0);
  sqlite3* db = userDatabase();
  ns::Data data;
  if (isUsingContinuousPlayback_)
    data = ChapterInfo::getContMP3Recitation(
        db, iCurrentSurah_, ChapterInfo::getContMP3Part(contentDatabase(), iCurrentSurah_, record, currentReciter_),
        currentReciter_);
  else
    data = ChapterInfo::getMP3Recitation(db, iCurrentSurah_, record, currentReciter_);
  if (data.empty()) return "";
  std::string name = isAltVerse_ ? "next.mp3" : "current.mp3";
  ns::createDirectory(ns::documentsDirectory());
  std::string failure;
  if (!av::writeAudioFile(ns::pathJoin(ns::documentsDirectory(), name), data, &failure)) {
    ns::logf("ERROR - [%s] [AUDIO PLAYER] Could not write %s: %s", ns::logTimestamp().c_str(), name.c_str(),
             failure.c_str());
    return "";
  }
  isAltVerse_ = !isAltVerse_;
  altVerseFileName_ = name;
  return altVerseFileName_;
}

void SurahViewController::checkContinuousPlayback() {
  if (!CurrentAudioPlayer_) return;
  if (CurrentAudioPlayer_->currentTime() >= nextVerseBeginTime_ && nextVerseBeginTime_ > 0)
    finishedPlayingVerseMoveToNext();
}

void SurahViewController::audioPlayerDidFinishPlaying(av::AudioPlayer& player, bool) {
  if (&player == CurrentAudioPlayer_.get()) finishedPlayingVerseMoveToNext();
}

void SurahViewController::audioPlayerDecodeErrorDidOccur(av::AudioPlayer&, const ns::Error& error) {
  ns::logf("ERROR - [%s] [Audio Player] Decode Problem: %s", ns::logTimestamp().c_str(), error.description.c_str());
}

// ---- stop --------------------------------------------------------------------------------------------

void SurahViewController::stopPlaying(bool hide, bool animated) {
  if (hide) hideAudioControls(animated);
  useSmallFade_ = hasFadedSoundIn_ = IsInPlayMode_ = canResetTime_ = isUsingContinuousPlayback_ = false;
  didSeekFForRR_ = fingerDownOnRR_ = fingerDownOnFF_ = false;
  setPauseSelected(false);
  continuousTimer.invalidate();
  bool faded = false;
  if (CurrentAudioPlayer_) {
    if (CurrentAudioPlayer_->currentTime() < CurrentAudioPlayer_->duration()) {
      faded = fadeOut(0.5f);
    } else {
      CurrentAudioPlayer_->stop();
    }
    CurrentAudioPlayer_->setDelegate({});
    CurrentAudioPlayer_.reset();  // a running fade keeps the player until it ends
  }
  highlightForPlayingVerse(iCurrentPlayingVerse_, true);
  if (btnPlay) btnPlay->setAlpha(0.8f);
  updateReciterLabel();
  if (popoverView && popoverView->isPopoverVisible() && !isShowingSurahInfo_) popoverView->dismissPopoverAnimated(true);
  isAltVerse_ = false;
  lastPlayedVerse_ = -2;
  lastVersePart_ = -1;
  lastPlayedVerseFile_.clear();
  altVerseFileName_ = "current.mp3";
  if (ipaddelegate_) ipaddelegate_->surahDidStopPlayingAudio();
  if (!faded) releaseAudioSession();
  ns::NotificationCenter::defaultCenter().postNotificationName("DidStopPlaying");
}

void SurahViewController::releaseAudioSession() {
  ns::Error error;
  auto& session = av::AudioSession::sharedInstance();
  if (ZarvelSDKAppDelegate::IsIPhoneOS4()) {
    if (!session.setActive(false, av::AudioSessionSetActiveFlagNotifyOthersOnDeactivation, &error))
      ns::logf("[1] Could NOT deactivate Audio Session: %s", error.description.c_str());
  } else if (!session.setActive(false, &error)) {
    ns::logf("Could NOT deactivate Audio Session: %s", error.description.c_str());
  }
}

// ---- fades --------------------------------------------------------------------------------------------

void SurahViewController::fadeIn(float seconds) {
  if (!CurrentAudioPlayer_) return;
  CurrentAudioPlayer_->setVolume(0);
  lastFadeInTime_ = now();
  auto fade = std::make_shared<MXAudioPlayerFadeOperation>(CurrentAudioPlayer_, 1.0f, seconds, 0.0);
  MXAudioPlayerFadeOperation::addToNewQueue(fade);
}

bool SurahViewController::fadeOut(float seconds) {
  if (!CurrentAudioPlayer_) return false;
  if (lastFadeInTime_ && now() - *lastFadeInTime_ < 2.0) {
    CurrentAudioPlayer_->stop();
    return false;
  }
  auto fade = std::make_shared<MXAudioPlayerFadeOperation>(CurrentAudioPlayer_, 0.0f, seconds, 0.0);
  fade->delegate = std::static_pointer_cast<SurahViewController>(shared_from_this());
  MXAudioPlayerFadeOperation::addToNewQueue(fade);
  return true;
}

// Called on the fade's thread: the session is released on the main loop.
void SurahViewController::fadeOperationFinished() {
  std::weak_ptr<SurahViewController> weak = std::static_pointer_cast<SurahViewController>(shared_from_this());
  ns::RunLoop::main().post([weak] {
    if (auto self = weak.lock()) self->releaseAudioSession();
  });
}

// ---- the audio position memory ---------------------------------------------------------------------------

void SurahViewController::updateLastAudioVerseForselectedVerse(bool save) {
  if (save && int(defaults().integerForKey("LastAudioSurah")) == iCurrentSurah_) {
    defaults().setObject(ns::Value(std::string("-1")), "LastAudioSurah");
    defaults().setObject(ns::Value(std::string("-1")), "LastAudioVerse");
  }
  if (save) {
    iLastAudioSurah_ = iCurrentSurah_;
    iLastAudioVerse_ = iCurrentPlayingVerse_;
    defaults().setObject(ns::Value(std::to_string(iLastAudioSurah_)), "LastAudioSurah");
    defaults().setObject(ns::Value(std::to_string(iLastAudioVerse_)), "LastAudioVerse");
    defaults().synchronize();
  }
  highlightForPlayingVerse(iCurrentPlayingVerse_, true);
}

// ---- the verse-end step ----------------------------------------------------------------------------------

// Plays the verse again from its start (repeat, group restart).
void SurahViewController::restartVerse(int verse) {
  highlightVerse(verse, true, true, true);
  highlightForPlayingVerse(verse, false);
  canResetTime_ = true;
  hasFadedSoundIn_ = false;
  useSmallFade_ = true;
  playNextVerseForSelectedVerse(verse);
}

void SurahViewController::finishedPlayingVerseMoveToNext() {
  bool options = defaults().boolForKey("PlayOptionsEnabled");
  if (!IsInPlayMode_) return;
  int v = iCurrentPlayingVerse_;
  int N = ChapterInfo::getVersesFromNumber(iCurrentSurah_);
  if (ayahRepeatBubbleCounter_ == 5 || ayahRepeatCount_++ < ayahRepeatBubbleCounter_) {
    restartVerse(v);
    return;
  }
  ayahRepeatCount_ = 0;
  if (options && playVerseRangeCounter_ != 0) {
    ++playedVerseRange_;
    if (playedVerseRange_ > playVerseRangeGroupSize(playVerseRangeCounter_) || v + 1 > N) {
      if (surahRepeatBubbleCounter_ == 2) {
        playedVerseRange_ = 0;
        restartVerse(startedPlayingFromVerse_);
        iCurrentPlayingVerse_ = startedPlayingFromVerse_;
      } else {
        // The end of the group is its end whatever else is stored: a group with
        // "Play surah by surah" (which the pickers never store together) stops.
        stopIfPlaying();
      }
      setCorrectSurahRepeatButton();
      return;
    }
  }
  setCorrectSurahRepeatButton();
  if (v + 1 <= N) {
    highlightVerse(v + 1, true);
    highlightForPlayingVerse(v + 1, false);
    playNextVerseForSelectedVerse(v + 1);
    iCurrentPlayingVerse_ = v + 1;
    return;
  }
  switch (surahRepeatBubbleCounter_) {
    case 2:
      iCurrentPlayingVerse_ = -1;
      playNextVerseForSelectedVerse(-1);
      highlightVerse(iCurrentPlayingVerse_, true);
      highlightForPlayingVerse(iCurrentPlayingVerse_, false);
      break;
    case 1:
      stopPlaying(false, false);
      iCurrentPlayingVerse_ = -1;
      selectedVerse_ = -1;
      globalShouldStartPlaying_ = true;
      showNextSurah();
      break;
    case 0: stopPlaying(); break;
    default: break;
  }
}

// ---- the bubbles -----------------------------------------------------------------------------------------

void SurahViewController::playVerseDidChange() {
  playVerseRangeCounter_ = int(defaults().integerForKey("PlayVerseRange"));
  playedVerseRange_ = 0;
  setCorrectSurahRepeatButton();
}

void SurahViewController::surahRepeatDidChange() {
  surahRepeatBubbleCounter_ = int(defaults().integerForKey("SurahRepeatCounter"));
  setCorrectSurahRepeatButton();
}

void SurahViewController::ayahRepeatDidChange() {
  ayahRepeatBubbleCounter_ = int(defaults().integerForKey("AyahRepeatCounter"));
  setCorrectAyahRepeatButton();
}

void SurahViewController::setCorrectSurahRepeatButton() {
  int S = playVerseRangeGroupSize(playVerseRangeCounter_);
  setCorrectAyahRepeatButton();
  if (!btnSurahRepeatBubble) return;
  placeBubbleArrow(imgDownArrowSurahRepeat, btnSurahRepeatBubble.get(), 10);
  int R = S - playedVerseRange_;
  std::string title;
  if (defaults().boolForKey("PlayOptionsEnabled") && R >= 0 && playVerseRangeCounter_ != 0) {
    if (R >= 3) {
      title = ZarvelSDKAppDelegate::IsLanguageArabic()
                  ? text("Play the next") + " " + ChapterInfo::getArabicNumbersFrom(std::to_string(R)) + " " +
                        text("playverses")
                  : text("Play the next") + " " + std::to_string(R) + " " + text("ayas");
    } else {
      static const char* const kLast[] = {"Playing last aya", "Play the next 1 aya", "Play the next 2 verses"};
      title = text(kLast[R]);
    }
  } else {
    static const char* const kEnds[] = {"Stop at end of surah", "Play surah by surah", "Repeat current surah"};
    if (surahRepeatBubbleCounter_ < 0 || surahRepeatBubbleCounter_ > 2) return;
    title = text(kEnds[surahRepeatBubbleCounter_]);
  }
  btnSurahRepeatBubble->setTitle(title, ui::ControlStateNormal);
  btnSurahRepeatBubble->setTitle(title, ui::ControlStateHighlighted);
}

void SurahViewController::setCorrectAyahRepeatButton() {
  if (!btnAyahRepeatBubble) return;
  bool arabic = ZarvelSDKAppDelegate::IsLanguageArabic();
  if (arabic) btnAyahRepeatBubble->setContentHorizontalAlignment(ui::ControlContentHorizontalAlignment::Center);
  std::string title;
  if (ayahRepeatBubbleCounter_ == 5)
    title = text("Aya repeat") + " \u221E";
  else if (arabic)
    title = text("Aya repeat") + " " + ChapterInfo::getArabicNumbersFrom(std::to_string(ayahRepeatBubbleCounter_ + 1));
  else
    title = text("Aya repeat") + " " + std::to_string(ayahRepeatBubbleCounter_ + 1);
  btnAyahRepeatBubble->setTitle(title, ui::ControlStateNormal);
  btnAyahRepeatBubble->setTitle(title, ui::ControlStateHighlighted);
  placeBubbleArrow(imgDownArrowAyahRepeat, btnAyahRepeatBubble.get(), 6);
}
