// The index as the recitation download's listener while it is on screen: its
// own strip over the foot of the table follows the download from the start
// to the end (status, bar, set-up, cancel), the reading screen's panel beside
// it likewise, and after a set-up the recitation status of the rows is read
// again.
#include "Classes/core/Language.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/index/IndexTableViewCell.h"
#include "Classes/index/IndexViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressView.h"

namespace {

ZarvelSDKAppDownloadDelegate* panelOf(IndexViewController& index) {
  auto reading = index.ThisSurahController();
  return reading ? reading->downloadPanel() : nullptr;
}

int downloadingSurah() {
  auto app = ZarvelSDKAppDelegate::GetInstance();
  return app ? app->downloadingSurah() : 0;
}

}  // namespace

void IndexViewController::didBeginDownloading() {
  auto app = ZarvelSDKAppDelegate::GetInstance();
  if (viewIndexDownloadContainer) {
    progressIndexDownload->setProgressViewStyle(ui::ProgressViewStyle::Default);
    progressIndexDownload->setProgress(0);
    lblIndexDownload->setText(downloadStatusText(downloadingSurah(), app ? app->fileSize() : 0));
    btnIndexDownload->setEnabled(true);
    showDownloadStrip(true);
  }
  if (auto* panel = panelOf(*this)) panel->didBeginDownloading();
}

void IndexViewController::didUpdateFileSize(int bytes) {
  if (lblIndexDownload) lblIndexDownload->setText(downloadStatusText(downloadingSurah(), bytes));
  if (auto* panel = panelOf(*this)) panel->didUpdateFileSize(bytes);
}

void IndexViewController::didUpdateDownloadProgress(float progress) {
  if (progressIndexDownload) progressIndexDownload->setProgress(progress);
  if (auto* panel = panelOf(*this)) panel->didUpdateDownloadProgress(progress);
}

void IndexViewController::willPerformAudioSetup() {
  if (viewIndexDownloadContainer) {
    progressIndexDownload->setProgress(1.0f);
    lblIndexDownload->setText(Language::get("Setting Up... Please Wait", "Setting Up... Please Wait"));
    btnIndexDownload->setEnabled(false);  // a set-up runs to its end
  }
  if (auto* panel = panelOf(*this)) panel->willPerformAudioSetup();
}

void IndexViewController::didSetupDownloadedAudio() { refreshInstalledAudioCache(); }

void IndexViewController::downloadRequiresRefreshOfStatus() {
  if (surahListTable_)
    for (auto& cell : surahListTable_->visibleCells())
      if (auto row = std::dynamic_pointer_cast<IndexTableViewCell>(cell)) row->updateSoundStatus();
  if (auto reading = ThisSurahController()) reading->updateReciterLabel();
}

void IndexViewController::didEndDownloading() {
  if (viewIndexDownloadContainer) showDownloadStrip(false);
  if (auto* panel = panelOf(*this)) panel->didEndDownloading();
}

// Fades in over 0.2 s and out over 0.18 s; hidden once faded out. While it
// shows, the table's last rows can scroll out from under it.
void IndexViewController::showDownloadStrip(bool show) {
  ui::View::beginAnimations("PrepLand");
  ui::View::setAnimationDuration(show ? 0.2 : 0.18);
  if (!show) {
    std::weak_ptr<IndexViewController> weak = self();
    ui::View::setAnimationDelegate(weak);
    ui::View::setAnimationDidStopSelector([weak](const std::string&, bool, void*) {
      if (auto index = weak.lock()) index->downloadStripAnimDidStop();
    });
  }
  if (show) viewIndexDownloadContainer->setHidden(false);
  viewIndexDownloadContainer->setAlpha(show ? 1 : 0);
  ui::View::commitAnimations();
  if (show && surahListTable_) {
    cg::EdgeInsets inset = surahListTable_->contentInset();
    inset.bottom = kDownloadStripHeight;
    surahListTable_->setContentInset(inset);
    surahListTable_->setScrollIndicatorInsets(inset);
  }
}

void IndexViewController::downloadStripAnimDidStop() {
  // A download that began again meanwhile has faded it back in.
  if (viewIndexDownloadContainer->alpha() > 0) return;
  viewIndexDownloadContainer->setHidden(true);
  if (surahListTable_) {
    cg::EdgeInsets inset = surahListTable_->contentInset();
    inset.bottom = 0;
    surahListTable_->setContentInset(inset);
    surahListTable_->setScrollIndicatorInsets(inset);
  }
}

void IndexViewController::checkDownloadStatus() {
  auto app = ZarvelSDKAppDelegate::GetInstance();
  if (app && app->isDownloading()) {
    didBeginDownloading();
    didUpdateFileSize(app->fileSize());
    didUpdateDownloadProgress(app->lastDownloadProgress());
    if (app->settingUpSurah()) willPerformAudioSetup();
  } else {
    didEndDownloading();
  }
}

void IndexViewController::cancelDownload() {
  if (auto delegate = ZarvelSDKAppDelegate::GetInstance()) delegate->cancelDownload();
}
