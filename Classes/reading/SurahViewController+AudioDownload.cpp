// Download progress in the reading screen: a strip over the foot of the
// verses with the round progress, the status ("Downloading <surah> (<size>)"),
// a bar and a cancel button, drawn from the download controller's reports
// while this screen is its listener, or brought up to date from its state.
#include "Classes/audio/RoundProgressButton.h"
#include "Classes/core/Language.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/reading/SurahViewController.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressView.h"

#include <algorithm>

namespace {

std::string text(const std::string& key) { return Language::get(key, key); }

}  // namespace

void SurahViewController::buildDownloadArea() {
  cg::Rect d = viewSurahDisplay->bounds();
  viewDownloadAudioProgress = std::make_shared<ui::View>(cg::Rect(0, d.height() - 56, d.width(), 56));
  viewDownloadAudioProgress->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth |
                                                 ui::ViewAutoresizingFlexibleTopMargin);
  styleDownloadStrip(*viewDownloadAudioProgress);
  viewDownloadAudioProgress->setHidden(true);
  viewDownloadAudioProgressContainer = std::make_shared<ui::View>(viewDownloadAudioProgress->bounds());
  viewDownloadAudioProgressContainer->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewDownloadAudioProgressContainer->setAlpha(0);
  viewDownloadAudioProgress->addSubview(viewDownloadAudioProgressContainer);
  float w = d.width();
  auto round = std::make_shared<RoundProgressButton>(cg::Rect(10, 9, 37, 37));
  btnDownloadProgress = round;
  btnDownloadProgress->setUserInteractionEnabled(false);
  lblAudioDownloadDetails = std::make_shared<ui::Label>(cg::Rect(57, 8, w - 57 - 90, 20));
  styleDownloadStatusLabel(*lblAudioDownloadDetails, 13);
  lblAudioDownloadDetails->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  downloadAudioProgressBar = std::make_shared<ui::ProgressView>(ui::ProgressViewStyle::Default);
  downloadAudioProgressBar->setFrame(cg::Rect(57, 34, w - 57 - 90, 9));
  downloadAudioProgressBar->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  btnAudioDownloadCancel = std::make_shared<ui::Button>(cg::Rect(w - 80, 12, 70, 32));
  btnAudioDownloadCancel->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  styleDownloadCancelButton(*btnAudioDownloadCancel);
  btnAudioDownloadCancel->addTarget(this, [this](ui::Control&) { cancelAudioDownload(); },
                                    ui::ControlEventTouchUpInside);
  activityAudioDownload = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::White);
  activityAudioDownload->setHidesWhenStopped(true);
  for (auto v : std::initializer_list<std::shared_ptr<ui::View>>{btnDownloadProgress, lblAudioDownloadDetails,
                                                                 downloadAudioProgressBar, btnAudioDownloadCancel})
    viewDownloadAudioProgressContainer->addSubview(v);
  viewSurahDisplay->addSubview(viewDownloadAudioProgress);
}

void SurahViewController::didBeginDownloading() {
  auto app = ZarvelSDKAppDelegate::GetInstance();
  downloadAudioProgressBar->setProgressViewStyle(ui::ProgressViewStyle::Default);
  downloadAudioProgressBar->setProgress(0);
  static_cast<RoundProgressButton&>(*btnDownloadProgress).setProgress(0);
  lblAudioDownloadDetails->setText(downloadStatusText(app ? app->downloadingSurah() : iCurrentSurah_, app ? app->fileSize() : 0));
  btnAudioDownloadCancel->setEnabled(true);
  ui::View::beginAnimations("PrepLand");
  ui::View::setAnimationDuration(0.2);
  viewDownloadAudioProgress->setHidden(false);
  viewDownloadAudioProgressContainer->setAlpha(1);
  ui::View::commitAnimations();
}

void SurahViewController::didUpdateFileSize(int bytes) {
  auto app = ZarvelSDKAppDelegate::GetInstance();
  lblAudioDownloadDetails->setText(downloadStatusText(app ? app->downloadingSurah() : iCurrentSurah_, bytes));
}

void SurahViewController::didUpdateDownloadProgress(float progress) {
  downloadAudioProgressBar->setProgress(progress);
  static_cast<RoundProgressButton&>(*btnDownloadProgress).setProgress(std::min(progress, 0.999f));
}

void SurahViewController::willPerformAudioSetup() {
  downloadAudioProgressBar->setProgress(1.0f);
  static_cast<RoundProgressButton&>(*btnDownloadProgress).setProgress(1.0f);
  lblAudioDownloadDetails->setText(text("Setting Up... Please Wait"));
  btnAudioDownloadCancel->setEnabled(false);
}

void SurahViewController::didEndDownloading() {
  ui::View::beginAnimations("PrepLand");
  ui::View::setAnimationDuration(0.18);
  std::weak_ptr<SurahViewController> weak = std::static_pointer_cast<SurahViewController>(shared_from_this());
  ui::View::setAnimationDelegate(weak);
  ui::View::setAnimationDidStopSelector([weak](const std::string&, bool, void*) {
    if (auto self = weak.lock()) self->downloadViewAnimDidStop();
  });
  viewDownloadAudioProgressContainer->setAlpha(0);
  ui::View::commitAnimations();
}

void SurahViewController::downloadViewAnimDidStop() {
  // A download that began again meanwhile keeps its strip.
  auto app = ZarvelSDKAppDelegate::GetInstance();
  if (!(app && app->isDownloading())) viewDownloadAudioProgress->setHidden(true);
}

void SurahViewController::checkDownloadStatus() {
  auto app = ZarvelSDKAppDelegate::GetInstance();
  if (app && app->isDownloading()) {
    stopIfPlaying();
    didBeginDownloading();
    didUpdateFileSize(app->fileSize());
    didUpdateDownloadProgress(app->lastDownloadProgress());
    if (app->settingUpSurah()) willPerformAudioSetup();
  } else {
    didEndDownloading();
  }
}

void SurahViewController::cancelAudioDownload() {
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->cancelDownload();
}
