// The recitation download controller: the download sheets, one archive at a
// time from a mirror of the configured list through a Downloader, the set-up
// of the finished archive on a thread of its own (unpacked warily and stored
// in one transaction on the second user-database connection), and the reports
// to the one registered download delegate. Also the installed-audio checks and
// the continuous-audio upgrade. Main thread except the set-up.
#include <cstdlib>
#include <fstream>
#include <random>

#include "Classes/app/AppState.h"
#include "Classes/audio/Downloader.h"
#include "Classes/audio/RecitationArchive.h"
#include "Classes/audio/RecitationMirrors.h"
#include "Classes/audio/ZarvelSDKAppDownloadDelegate.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/RegisteredDefaults.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/String.h"
#include "platform/foundation/Thread.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"

using app_state::text;

namespace {

constexpr int kSurahCount = 114;
constexpr int kDownloadAudioTask = 1;
constexpr int kDeletingAudioTask = 2;
constexpr int kFailedSheetTag = -115;

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

int currentReciter() { return int(defaults().integerForKey(kCurrentReciter)); }

void networkIndicator(bool on) { ui::Application::shared().setNetworkActivityIndicatorVisible(on); }

void post(const char* name) { ns::NotificationCenter::defaultCenter().postNotificationName(name); }

// Caches/audio/<folder>/..., made when missing.
std::string audioFolder(int folder) {
  std::string dir = ns::pathJoin(ns::cachesDirectory(), "audio", std::to_string(folder));
  ns::createDirectory(dir);
  return dir;
}

}  // namespace

// Passes the downloader's reports to the delegate, which it does not own.
class DownloadRelay : public DownloaderDelegate {
 public:
  explicit DownloadRelay(ZarvelSDKAppDelegate* app) : app_(app) {}
  void setCorrectTotal(int bytes) override { app_->setCorrectTotal(bytes); }
  void setUpgradeProgress(int bytes) override { app_->setUpgradeProgress(bytes); }
  void downloadFailed() override { app_->downloadFailed(); }
  void downloadFinished() override { app_->downloadFinished(); }

 private:
  ZarvelSDKAppDelegate* app_;  // owns the relay
};

// ---- installed audio and the continuous upgrade ---------------------------------------------------

bool ZarvelSDKAppDelegate::hasSlicedAudioInstalled() const {
  sqlite3* db = dbConnection();
  if (!db) return false;
  for (int reciter : ChapterInfo::getInstalledAudioReciters(db)) {
    if (!ChapterInfo::doesReciterSupportContRecitation(reciter)) continue;
    for (int surah : ChapterInfo::getInstalledAudios(db, reciter))
      if (!ChapterInfo::isSurahAudioContinuous(db, surah, reciter)) return true;
  }
  return false;
}

void ZarvelSDKAppDelegate::upgradeToGaplessRequested() {
  auto delegate = GetInstance();
  if (!delegate || !delegate->dbConnection()) return;
  sqlite3* db = delegate->dbConnection();
  delegate->beginBackgroundTask(kDeletingAudioTask);
  for (int reciter : ChapterInfo::getInstalledAudioReciters(db)) {
    if (!ChapterInfo::doesReciterSupportContRecitation(reciter)) continue;
    for (int surah = 1; surah <= kSurahCount; ++surah)
      if (!ChapterInfo::isSurahAudioContinuous(db, surah, reciter))
        ChapterInfo::deleteAudio(db, surah, reciter, false);  // the audio rows stay
  }
  delegate->endBackgroundTask(kDeletingAudioTask);
}

void ZarvelSDKAppDelegate::showIndexViewAndBeginDownloading() {
  int reciter = currentReciter();
  if (!ChapterInfo::doesReciterSupportContRecitation(reciter) || !dbConnectionAudioDownload()) return;
  int surah = kSurahCount;
  while (surah > 1 && ChapterInfo::isSurahAudioInstalled(dbConnectionAudioDownload(), surah, reciter)) --surah;
  if (ipadRootViewController_) ipadRootViewController_->bringIndexToView();
  requestDownloadSurahAudioAlert(surah);
}

// ---- the sheets --------------------------------------------------------------------------------------

void ZarvelSDKAppDelegate::requestDownloadSurahAudioAlert(int surah) {
  ui::View* host = ipadRootViewController_ ? ipadRootViewController_->view().get() : nullptr;
  std::shared_ptr<ui::ActionSheet> sheet;
  if (isDownloading_ || downloadingAllSurahs_) {
    if (settingUpSurah_ || surah == downloadingSurah_) return;
    nextDownloadSurah = surah;
    sheet = std::make_shared<ui::ActionSheet>(text("Would you like to cancel the currently downloading surah?"),
                                              weak_from_this(), text("No"), text("Yes"));
    sheet->setTag(app_state::kCancelDownloadSheetTag);
  } else {
    std::string title = ChapterInfo::getReciterFullNameFromNumber(currentReciter()) + "\n" + text("Download") + " " +
                        std::to_string(surah) + ". " + ChapterInfo::getNameFromNumber(surah);
    sheet = std::make_shared<ui::ActionSheet>(
        title, weak_from_this(), text("Cancel"), text("Download this Audio"),
        std::vector<std::string>{text("Download all Audios")});
    sheet->setTag(app_state::kSurahSheetTagBase + surah);
  }
  sheet->showInView(host);
}

void ZarvelSDKAppDelegate::requestDownloadServerSelection(int surah) {
  const auto& mirrors = RecitationMirrors::shared();
  std::vector<std::string> names;
  // The configured mirrors by the sheet's names for the six.
  static const char* const kNames[] = {"Mirror 1 (US)", "Mirror 2 (US)", "Mirror 3 (US)",
                                       "Mirror 4 (UK)", "Mirror 5 (US)", "Mirror 6 (EU)"};
  for (int m = 0; m < mirrors.count() && m < 6; ++m) names.push_back(text(kNames[m]));
  names.push_back(text("Random (Recommended)"));
  downloadServerActionSheet = std::make_shared<ui::ActionSheet>(
      text("Select server to download audios from. If one fails, please try another."), weak_from_this(),
      text("Cancel"), "", names);
  downloadServerActionSheet->setTag(surah);
  downloadServerActionSheet->showInView(ipadRootViewController_ ? ipadRootViewController_->view().get() : nullptr);
}

// ---- one download ---------------------------------------------------------------------------------------

float ZarvelSDKAppDelegate::rnd() {
  static std::mt19937 generator(std::random_device{}());
  return float(generator() % 6 + 1);
}

void ZarvelSDKAppDelegate::downloadSurahAudioAlert(int surah) {
  if (settingUpSurah_) return;  // the set-up of the last one runs to its end first
  const auto& mirrors = RecitationMirrors::shared();
  if (mirrors.empty()) {
    // No mirror to ask: the reader is told where the list belongs.
    auto alert = std::make_shared<ui::AlertView>(
        text("No Download Mirror"),
        ns::replaceAll(text("Recitations are downloaded from the mirrors listed in %@, one address a line."), "%@",
                       ns::pathJoin(ns::documentsDirectory(), RecitationMirrors::kFileName)),
        std::weak_ptr<ui::AlertViewDelegate>(), text("OK"));
    alert->show();
    if (downloadingAllSurahs_) endDownloadRun();
    return;
  }
  if (!downloadingAllSurahs_) beginBackgroundTask(kDownloadAudioTask);
  fileSize_ = 0;
  post("WillBeginDownloadingAudio");
  if (downloadDelegate_) downloadDelegate_->didBeginDownloading();
  isDownloading_ = true;
  downloadingSurah_ = surah;
  totalBytesDownloaded_ = 0;
  lastDownloadProgress_ = 0;

  int reciter = currentReciter();
  setupJob_.surah = surah;
  setupJob_.reciter = reciter;
  setupJob_.folder = ChapterInfo::getRemoteFolderNumberForReciter(reciter);
  setupJob_.continuous = ChapterInfo::doesReciterSupportContRecitation(reciter);
  fileSize_ = setupJob_.continuous ? 0 : ChapterInfo::getMP3RecitationSize(dbConnectionStatic(), surah, reciter);

  std::string target = ns::pathJoin(audioFolder(setupJob_.folder), ns::format("%i.tar.gz", surah));
  std::remove(target.c_str());
  downloaderObj_.reset();

  currdownloadServer_ = downloadServer;
  if (downloadServer == -1) {
    currdownloadServer_ = int(rnd());
    if (currdownloadServer_ == lastdownloadServer_ && ++lastSameServerCounter_ >= 3) {
      lastSameServerCounter_ = 0;
      currdownloadServer_ = int(rnd());
    }
    lastdownloadServer_ = currdownloadServer_;
    static const int kDrawnToMirror[] = {0, 4, 2, 3, 5, 1, 6};
    currdownloadServer_ = kDrawnToMirror[std::clamp(currdownloadServer_, 1, 6)];
  } else if (downloadServer < 2 || downloadServer > 6) {
    currdownloadServer_ = 1;
  }
  // A shorter list than six: the numbers go round it.
  int mirror = (currdownloadServer_ - 1) % mirrors.count() + 1;
  lastDownloadURL_ = mirrors.baseURL(mirror) +
                     ns::format("/downloads/iphone/%s/%d/%s.tar.gz", setupJob_.continuous ? "audioCont" : "audiov2.2",
                                setupJob_.folder, ChapterInfo::getThreeDigitNumberFromInt(surah).c_str());
  disableSleep();
  holdsSleep_ = true;
  networkIndicator(true);
  if (!downloadRelay_) downloadRelay_ = std::make_shared<DownloadRelay>(this);
  downloaderObj_ = Downloader::downloadURL(lastDownloadURL_, target, downloadRelay_, fileSize_);
  if (downloaderObj_) {
    if (downloadDelegate_) {
      downloadDelegate_->didUpdateFileSize(fileSize_);
      downloadDelegate_->didUpdateDownloadProgress(0);
    }
    return;
  }
  if (downloadDelegate_) downloadDelegate_->didEndDownloading();
  downloadFailed();
}

void ZarvelSDKAppDelegate::setCorrectTotal(int bytes) {
  fileSize_ = bytes;
  updateSurahDownloadLabel();
}

void ZarvelSDKAppDelegate::updateSurahDownloadLabel() {
  if (downloadDelegate_) downloadDelegate_->didUpdateFileSize(fileSize_);
}

void ZarvelSDKAppDelegate::setUpgradeProgress(int bytes) {
  totalBytesDownloaded_ += bytes;
  // Without a known size the progress stays where it is (the bar shows no share).
  lastDownloadProgress_ =
      fileSize_ > 0 ? std::clamp(float(double(totalBytesDownloaded_) / double(fileSize_)), 0.0f, 1.0f) : 0.0f;
  if (!isDownloading_ || !downloadDelegate_) return;
  if (fileSize_ > 0 && totalBytesDownloaded_ >= fileSize_) downloadDelegate_->willPerformAudioSetup();
  else downloadDelegate_->didUpdateDownloadProgress(lastDownloadProgress_);
}

void ZarvelSDKAppDelegate::releaseSleepHold() {
  if (!holdsSleep_) return;
  holdsSleep_ = false;
  enableSleep();
}

// The run (a single download or a download-all run) is over: every flag down,
// the background task ended, the hold and the indicator given back.
void ZarvelSDKAppDelegate::endDownloadRun() {
  isDownloading_ = false;
  downloadingAllSurahs_ = false;
  endBackgroundTask(kDownloadAudioTask);
  releaseSleepHold();
  networkIndicator(false);
}

void ZarvelSDKAppDelegate::downloadFailed() {
  if (downloadDelegate_) downloadDelegate_->didEndDownloading();
  downloaderObj_.reset();
  endDownloadRun();
  failedDownloadActionSheet = std::make_shared<ui::ActionSheet>(
      ns::replaceAll(text("Downloading Audio for %@ Failed\nCould not connect to Download Server"), "%@",
                     ChapterInfo::getNameFromNumber(downloadingSurah_)),
      weak_from_this(), "", text("OK"));
  failedDownloadActionSheet->setTag(kFailedSheetTag);
  failedDownloadActionSheet->showInView(ipadRootViewController_ ? ipadRootViewController_->view().get() : nullptr);
  dismissTimer.invalidate();
  dismissTimer = ns::RunLoop::main().scheduleTimer(2.0, false, [this] { dismissDownloadSheet(); });
  if (downloadDelegate_) downloadDelegate_->downloadRequiresRefreshOfStatus();
  post("RequiresRefreshOfSoundStatus");
}

void ZarvelSDKAppDelegate::dismissDownloadSheet() {
  if (downloadDelegate_) downloadDelegate_->didEndDownloading();
  if (failedDownloadActionSheet) failedDownloadActionSheet->dismissWithClickedButtonIndex(0, true);
  failedDownloadActionSheet.reset();
  dismissTimer.invalidate();
  dismissTimer = ns::Timer();
  if (downloadDelegate_) downloadDelegate_->downloadRequiresRefreshOfStatus();
  post("RequiresRefreshOfSoundStatus");
  downloadingAllSurahs_ = false;
  endBackgroundTask(kDownloadAudioTask);
  post("DidFinishDownloadingAudio");
}

void ZarvelSDKAppDelegate::cancelDownload() {
  if (settingUpSurah_ || !isDownloading_) return;
  if (downloadDelegate_) downloadDelegate_->didEndDownloading();
  if (downloaderObj_) downloaderObj_->cancelDownload();
  downloaderObj_.reset();
  endDownloadRun();
  post("DidFinishDownloadingAudio");
}

void ZarvelSDKAppDelegate::downloadFinished() {
  downloaderObj_.reset();
  totalBytesDownloaded_ = 0;
  willPerformAudioSetup();
  setupDownloadedSurahAudioInBG(downloadingSurah_);
}

void ZarvelSDKAppDelegate::willPerformAudioSetup() {
  if (downloadDelegate_) downloadDelegate_->willPerformAudioSetup();
}

// ---- the set-up ---------------------------------------------------------------------------------------------

void ZarvelSDKAppDelegate::setupDownloadedSurahAudioInBG(int surah) {
  // Set here, on the main thread: from now on a cancel is refused.
  settingUpSurah_ = true;
  auto self = shared_from_this();
  ns::Thread::detachNewThread("audio-setup", [self, surah] {
    bool ok = self->setupDownloadedSurahAudio(surah);
    ns::performOnMainAndWait([&] { ok ? self->setupSucceeded() : self->setupFailed(); });
    ns::performOnMainAndWait([&] { self->finalizeDownload(); });
  });
}

bool ZarvelSDKAppDelegate::setupDownloadedSurahAudio(int surah) {
  SetupJob job;  // as the download started, read on the main thread
  ns::performOnMainAndWait([this, &job] {
    willPerformAudioSetup();
    settingUpSurah_ = true;
    job = setupJob_;
  });
  auto fail = [this](std::string why) {
    ns::logf("INFO  - [%s] Recitation set-up failed: %s", ns::logTimestamp().c_str(), why.c_str());
    ns::performOnMainAndWait([&] { lastSetupFailure_ = why; });
    return false;
  };
  std::string why;
  std::string archive = ns::pathJoin(audioFolder(job.folder), ns::format("%i.tar.gz", surah));
  if (!recitation_archive::install(dbConnectionAudioDownload(), archive, surah, job.reciter, job.continuous, &why))
    return fail(why);
  ns::performOnMainAndWait([this] { lastSetupFailure_.clear(); });
  return true;
}

void ZarvelSDKAppDelegate::setupSucceeded() {
  settingUpSurah_ = false;
  if (downloadDelegate_) {
    downloadDelegate_->didSetupDownloadedAudio();
    downloadDelegate_->downloadRequiresRefreshOfStatus();
  }
  post("RequiresRefreshOfSoundStatus");
  isDownloading_ = false;
  if (downloadingAllSurahs_) {
    downloadAllSurahAudio();
  } else {
    downloadingAllSurahs_ = false;
    showSurahView(downloadingSurah_, -1, true, true);
  }
}

void ZarvelSDKAppDelegate::setupFailed() {
  settingUpSurah_ = false;
  if (downloadDelegate_) downloadDelegate_->didEndDownloading();
  auto sheet = std::make_shared<ui::ActionSheet>(
      text("Setup Failed\nError setting up downloaded data. Please try:\n1) Downloading chapter again\n2) Restart "
           "Zarvel and try downloading again"),
      weak_from_this(), "", text("OK"));
  sheet->setTag(kFailedSheetTag);
  sheet->showInView(ipadRootViewController_ ? ipadRootViewController_->view().get() : nullptr);
  // A failed set-up ends a download-all run too: the same surah would come again.
  downloadingAllSurahs_ = false;
  isDownloading_ = false;
}

void ZarvelSDKAppDelegate::finalizeDownload() {
  if (!downloadingAllSurahs_) {
    if (downloadDelegate_) downloadDelegate_->didEndDownloading();
    endBackgroundTask(kDownloadAudioTask);
  }
  releaseSleepHold();
  networkIndicator(false);
  post("DidFinishDownloadingAudio");
  if (!downloadingAllSurahs_) isDownloading_ = false;
}

void ZarvelSDKAppDelegate::downloadAllSurahAudio() {
  bool wasRunning = downloadingAllSurahs_;
  downloadingAllSurahs_ = false;
  if (!wasRunning) beginBackgroundTask(kDownloadAudioTask);
  sqlite3* db = dbConnectionAudioDownload();
  int reciter = currentReciter();
  for (int n = kSurahCount; n >= 1 && db; --n) {
    if (ChapterInfo::isSurahAudioInstalled(db, n, reciter)) continue;
    downloadingAllSurahs_ = true;
    downloadSurahAudioAlert(n);
    return;
  }
  endBackgroundTask(kDownloadAudioTask);
}
