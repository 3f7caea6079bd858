// The index as the recitation download's listener while it is on screen: the
// start in its own strip, the size, progress and set-up in the reading
// screen's panel beside it, and after a set-up the recitation status of the
// rows read again.
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

}  // namespace

void IndexViewController::didBeginDownloading() {
  auto app = ZarvelSDKAppDelegate::GetInstance();
  if (!viewIndexDownloadContainer) {
    viewIndexDownloadContainer = std::make_shared<ui::View>(cg::Rect(0, 0, 288, 44));
    lblIndexDownload = std::make_shared<ui::Label>(cg::Rect(8, 4, 230, 18));
    progressIndexDownload = std::make_shared<ui::ProgressView>();
    btnIndexDownload = std::make_shared<ui::Button>(cg::Rect(244, 6, 40, 32));
    btnIndexDownload->addTarget(this, [this](ui::Control&) { cancelDownload(); }, ui::ControlEventTouchUpInside);
    for (auto v : std::initializer_list<std::shared_ptr<ui::View>>{lblIndexDownload, progressIndexDownload, btnIndexDownload})
      viewIndexDownloadContainer->addSubview(v);
  }
  progressIndexDownload->setProgressViewStyle(ui::ProgressViewStyle::Default);
  progressIndexDownload->setProgress(0);
  lblIndexDownload->setText(downloadStatusText(app ? app->downloadingSurah() : 0, app ? app->fileSize() : 0));
  btnIndexDownload->setEnabled(true);
  if (auto* panel = panelOf(*this)) panel->didBeginDownloading();
}

void IndexViewController::didUpdateFileSize(int bytes) {
  if (auto* panel = panelOf(*this)) panel->didUpdateFileSize(bytes);
}

void IndexViewController::didUpdateDownloadProgress(float progress) {
  if (auto* panel = panelOf(*this)) panel->didUpdateDownloadProgress(progress);
}

void IndexViewController::willPerformAudioSetup() {
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
  if (auto* panel = panelOf(*this)) panel->didEndDownloading();
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
