// The guide's examples: each listen button plays its example verse from the
// reader's installed recitation, faded in; a second tap fades it out, a tap
// on another switches at once. Without the surah installed the button offers
// its download. Every recording holds the audio session from its start to its
// end (a fade-out ends when its fade does), so a fade that ends never
// silences a newer recording.
#include <algorithm>

#include "Classes/audio/MXAudioPlayerFadeOperation.h"
#include "Classes/common/ScreenSupport.h"
#include "Classes/reading/TajweedInfoViewController.h"
#include "Classes/reading/TajweedRuleBoxes.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/media/AudioSession.h"
#include "platform/ui/Button.h"

using namespace tajweedguide;

namespace {

constexpr float kFade = 0.3f;
constexpr double kEndCheck = 0.05;
const cg::Color kGuideListenInk = cg::Color::fromRGB255(86, 128, 171);
const cg::Color kSingleListenInk = cg::Color::fromRGB255(126, 107, 69);
const cg::Color kPlayingInk = cg::Color::fromRGB255(83, 132, 64);

// Tells the guide, on its main thread, that the fade of one player ended.
class ExampleFade : public MXAudioPlayerFadeOperationDelegate {
 public:
  ExampleFade(std::weak_ptr<TajweedInfoViewController> guide, std::shared_ptr<av::AudioPlayer> player)
      : guide_(std::move(guide)), player_(std::move(player)) {}
  void fadeOperationFinished() override {
    ns::RunLoop::main().post([guide = guide_, player = player_] {
      if (auto g = guide.lock()) g->fadeOperationFinished(player);
    });
  }

 private:
  std::weak_ptr<TajweedInfoViewController> guide_;
  std::shared_ptr<av::AudioPlayer> player_;
};


}  // namespace

void TajweedInfoViewController::listenPressed(ui::Button* sender) {
  int box = boxOfButton(sender);
  if (box < 0) return;
  int t = kRuleBoxes[box].audioType;
  bool same = t == lastPlayingType_;
  stopAudio(same);
  if (same) {
    lastPlayingType_ = -1;
    return;
  }
  playAudio(t);
  if (lastPlayingType_ != t) return;  // nothing to play: the download was offered
  sender->setBackgroundImage(screens::stretchedImage("taj-example-on.png", 15, 0), ui::ControlStateNormal);
  sender->setTitleColor(kPlayingInk, ui::ControlStateNormal);
}

std::optional<TajweedInfoViewController::Recording> TajweedInfoViewController::installedRecording(Box box,
                                                                                                int* reciter) const {
  auto [surah, verse] = exampleVerse(box);
  sqlite3* user = screens::userDatabase();
  sqlite3* content = screens::contentDatabase();
  int chosen = int(ns::UserDefaults::standardUserDefaults().integerForKey("CurrentReciterv22"));
  *reciter = user ? ChapterInfo::getResolvedReciterCode(user, chosen, surah) : chosen;
  if (!user || !content) return std::nullopt;
  Recording r;
  if (ChapterInfo::doesReciterSupportContRecitation(*reciter) &&
      ChapterInfo::isSurahAudioContinuous(user, surah, *reciter)) {
    int part = ChapterInfo::getContMP3Part(content, surah, verse, *reciter);
    r.mp3 = ChapterInfo::getContMP3Recitation(user, surah, part, *reciter);
    r.from = ChapterInfo::getContMP3BeginsTime(content, surah, verse, *reciter);
    // The verse ends where the next begins, when that is in the same part.
    if (verse < ChapterInfo::getVersesFromNumber(surah) &&
        ChapterInfo::getContMP3Part(content, surah, verse + 1, *reciter) == part) {
      double next = ChapterInfo::getContMP3BeginsTime(content, surah, verse + 1, *reciter);
      if (next > r.from) r.until = next;
    }
    return r;
  }
  if (!ChapterInfo::isSurahAudioInstalled(user, surah, *reciter)) return std::nullopt;
  int record = surah == 1 || surah == 9 ? verse - 1 : verse;  // record 0 is the opening formula
  r.mp3 = ChapterInfo::getMP3Recitation(user, surah, record, *reciter);
  return r;
}

void TajweedInfoViewController::playAudio(int type) {
  int box = boxOfAudioType(type);
  if (box < 0) return;
  lastPlayingType_ = type;
  int reciter = 0;
  auto recording = installedRecording(Box(box), &reciter);
  if (!recording) {
    lastPlayingType_ = -1;
    offerDownload(Box(box), reciter);
    return;
  }
  auto& session = av::AudioSession::sharedInstance();
  ns::Error error;
  if (!session.setCategory(av::AudioSessionCategoryPlayback, &error)) {
    auto alert = std::make_shared<ui::AlertView>(screens::localized("Error"), error.description,
                                                 std::weak_ptr<ui::AlertViewDelegate>(), screens::localized("OK"));
    alert->show();
    return;
  }
  // A recording that cannot be opened plays nothing; its button keeps the
  // playing look until it is tapped again.
  auto player = av::AudioPlayer::initWithData(recording->mp3, &error);
  if (!player) {
    ns::logf("ERROR - [%s] [AUDIO PLAYER] Could Not Initiate: %s", ns::logTimestamp().c_str(),
             error.description.c_str());
    return;
  }
  if (ZarvelSDKAppDelegate::IsIPhoneOS4() && !session.setActive(true, &error))
    ns::logf("Could NOT activate Audio Session: %s", error.description.c_str());
  player->setDelegate(std::static_pointer_cast<TajweedInfoViewController>(shared_from_this()));
  CurrentAudioPlayer_ = player;
  player->setCurrentTime(recording->from);
  fadeIn(kFade);
  player->prepareToPlay();
  player->play();
  if (recording->until > 0) watchExampleEnd(recording->until);
}

// A verse inside a continuous part ends where the next verse begins.
void TajweedInfoViewController::watchExampleEnd(double until) {
  std::weak_ptr<TajweedInfoViewController> weak =
      std::static_pointer_cast<TajweedInfoViewController>(shared_from_this());
  exampleEnd_ = ns::RunLoop::main().scheduleTimer(kEndCheck, true, [weak, until](ns::Timer& timer) {
    auto self = weak.lock();
    if (!self || !self->CurrentAudioPlayer_) {
      timer.invalidate();
      return;
    }
    if (self->CurrentAudioPlayer_->currentTime() < until) return;
    timer.invalidate();
    self->stopAudio(false);
    self->lastPlayingType_ = -1;
  });
}

void TajweedInfoViewController::fadeIn(float seconds) {
  if (!CurrentAudioPlayer_) return;
  CurrentAudioPlayer_->setVolume(0);
  MXAudioPlayerFadeOperation::addToNewQueue(
      std::make_shared<MXAudioPlayerFadeOperation>(CurrentAudioPlayer_, 1.0f, seconds, 0.0));
}

// The current recording fades out on its own: it stops, and gives back its
// hold on the session, when its fade ends.
void TajweedInfoViewController::fadeOut(float seconds) {
  if (!CurrentAudioPlayer_) return;
  auto player = std::move(CurrentAudioPlayer_);
  CurrentAudioPlayer_.reset();
  // The guide keeps the fade's delegate: a guide that goes first hears nothing.
  auto tell = std::make_shared<ExampleFade>(
      std::static_pointer_cast<TajweedInfoViewController>(shared_from_this()), player);
  fadingPlayers_.push_back({player, tell});
  auto fade = std::make_shared<MXAudioPlayerFadeOperation>(player, 0.0f, seconds, 0.0);
  fade->delegate = tell;
  MXAudioPlayerFadeOperation::addToNewQueue(fade);
}

void TajweedInfoViewController::stopAudio(bool withFade) {
  exampleEnd_.invalidate();
  if (CurrentAudioPlayer_) {
    if (withFade) {
      fadeOut(kFade);
    } else {
      CurrentAudioPlayer_->stop();
      CurrentAudioPlayer_->setDelegate({});
      CurrentAudioPlayer_.reset();
      releaseSession();
    }
  }
  resetListenButtons();
}

void TajweedInfoViewController::fadeOperationFinished(const std::shared_ptr<av::AudioPlayer>& faded) {
  auto it = std::find_if(fadingPlayers_.begin(), fadingPlayers_.end(),
                         [&](const Fading& f) { return f.player == faded; });
  if (it == fadingPlayers_.end()) return;
  fadingPlayers_.erase(it);
  faded->stop();
  faded->setDelegate({});
  releaseSession();
  // A recording started during the fade plays on.
  if (!CurrentAudioPlayer_) {
    resetListenButtons();
    lastPlayingType_ = -1;
  }
}

void TajweedInfoViewController::releaseSession() {
  if (!ZarvelSDKAppDelegate::IsIPhoneOS4()) return;
  ns::Error error;
  auto& session = av::AudioSession::sharedInstance();
  if (!session.setActive(false, av::AudioSessionSetActiveFlagNotifyOthersOnDeactivation, &error))
    ns::logf("[1] Could NOT deactivate Audio Session: %s", error.description.c_str());
}

void TajweedInfoViewController::audioPlayerDidFinishPlaying(av::AudioPlayer& player, bool) {
  if (&player != CurrentAudioPlayer_.get()) return;  // a fading one ends with its fade
  stopAudio(false);
  lastPlayingType_ = -1;
}

void TajweedInfoViewController::resetListenButtons() {
  if (!isViewLoaded()) return;
  for (int i = 0; i < kBoxCount; ++i) {
    if (!btnListen[i]) continue;
    if (fromSettings_) {
      btnListen[i]->setTitleColor(kGuideListenInk, ui::ControlStateNormal);
      btnListen[i]->setBackgroundImage(screens::stretchedImage("taj-example-blue.png", 15, 0),
                                       ui::ControlStateNormal);
    } else {
      btnListen[i]->setTitleColor(kSingleListenInk, ui::ControlStateNormal);
    }
  }
  if (!fromSettings_)
    if (int box = boxOfAudioType(lastPlayingType_); box >= 0)
      btnListen[box]->setBackgroundImage(screens::stretchedImage("taj-example.png", 15, 0), ui::ControlStateNormal);
}

// ---- the download offer -----------------------------------------------------------------------------

void TajweedInfoViewController::offerDownload(Box box, int reciter) {
  int surah = kRuleBoxes[box].surah;
  offeredSurah_ = surah;
  std::string message = screens::withValues(screens::localized("The recitation of surah %@ by %@ is not installed."),
                                            {ChapterInfo::getNameFromNumber(surah),
                                             ChapterInfo::getReciterFullNameFromNumber(reciter)});
  message += "\n" + screens::localized("Would you like to download it?");
  auto alert = std::make_shared<ui::AlertView>(
      screens::localized("Listen to this example"), message,
      std::static_pointer_cast<TajweedInfoViewController>(shared_from_this()), screens::localized("Cancel"),
      std::vector<std::string>{screens::localized("Download")});
  alert->show();
}

void TajweedInfoViewController::clickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) {
  if (buttonIndex == alert.cancelButtonIndex() || offeredSurah_ == 0) return;
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->downloadSurahAudioAlert(offeredSurah_);
}
