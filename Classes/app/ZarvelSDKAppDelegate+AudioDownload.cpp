// What the delegate offers the recitation download code: the installed-audio
// checks, the continuous-audio upgrade and the download sheets. The download
// itself (mirrors, archives, installation) is not in this build: starting one
// says that it is unavailable.
#include "Classes/app/AppState.h"
#include "Classes/audio/ZarvelSDKAppDownloadDelegate.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/RegisteredDefaults.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/AlertView.h"

using app_state::text;

namespace {

constexpr int kSurahCount = 114;
constexpr int kDownloadAudioTask = 1;
constexpr int kDeletingAudioTask = 2;

// A chosen download that cannot start says so, rather than nothing at all.
void logUnavailable(const char* what) {
  ns::logf("INFO  - [%s] %s: recitation downloads are not available", ns::logTimestamp().c_str(), what);
  auto alert = std::make_shared<ui::AlertView>(
      text("Download Unavailable"), text("Recitations cannot be downloaded in this build of Zarvel."),
      std::weak_ptr<ui::AlertViewDelegate>(), text("OK"));
  alert->show();
}

}  // namespace

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
  int reciter = static_cast<int>(ns::UserDefaults::standardUserDefaults().integerForKey(kCurrentReciter));
  if (!ChapterInfo::doesReciterSupportContRecitation(reciter) || !dbConnection()) return;
  int surah = kSurahCount;
  while (surah > 1 && ChapterInfo::isSurahAudioInstalled(dbConnection(), surah, reciter)) --surah;
  if (ipadRootViewController_) ipadRootViewController_->bringIndexToView();
  requestDownloadSurahAudioAlert(surah);
}

void ZarvelSDKAppDelegate::requestDownloadSurahAudioAlert(int surah) {
  ui::View* host = ipadRootViewController_ ? ipadRootViewController_->view().get() : nullptr;
  std::shared_ptr<ui::ActionSheet> sheet;
  if (isDownloading_) {
    nextDownloadSurah = surah;
    sheet = std::make_shared<ui::ActionSheet>(text("Would you like to cancel the currently downloading surah?"),
                                              weak_from_this(), text("No"), text("Yes"));
    sheet->setTag(app_state::kCancelDownloadSheetTag);
  } else {
    sheet = std::make_shared<ui::ActionSheet>(
        "", weak_from_this(), text("Cancel"), "",
        std::vector<std::string>{text("Download this Audio"), text("Download all Audios")});
    sheet->setTag(app_state::kSurahSheetTagBase + surah);
  }
  sheet->showInView(host);
}

void ZarvelSDKAppDelegate::requestDownloadServerSelection(int surah) {
  std::vector<std::string> mirrors;
  for (const char* mirror : {"Mirror 1 (US)", "Mirror 2 (US)", "Mirror 3 (US)", "Mirror 4 (UK)", "Mirror 5 (US)",
                             "Mirror 6 (EU)", "Random (Recommended)"})
    mirrors.push_back(text(mirror));
  downloadServerActionSheet = std::make_shared<ui::ActionSheet>(
      text("Select server to download audios from. If one fails, please try another."), weak_from_this(),
      text("Cancel"), "", mirrors);
  downloadServerActionSheet->setTag(surah);
  downloadServerActionSheet->showInView(ipadRootViewController_ ? ipadRootViewController_->view().get() : nullptr);
}

void ZarvelSDKAppDelegate::downloadSurahAudioAlert(int surah) {
  (void)surah;
  logUnavailable("downloadSurahAudioAlert");
}

void ZarvelSDKAppDelegate::downloadAllSurahAudio() { logUnavailable("downloadAllSurahAudio"); }

void ZarvelSDKAppDelegate::cancelDownload() {
  if (!isDownloading_) return;
  isDownloading_ = false;
  downloadingAllSurahs_ = false;
  if (downloadDelegate_) downloadDelegate_->didEndDownloading();
  endBackgroundTask(kDownloadAudioTask);
  ns::NotificationCenter::defaultCenter().postNotificationName("DidFinishDownloadingAudio");
}
