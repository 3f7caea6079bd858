// The index as the recitation download's listener while it is on screen:
// after a download has been set up it re-reads the recitation status and the
// visible rows show it. (The strip that follows a download's progress is not
// part of this screen yet.)
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/index/IndexTableViewCell.h"
#include "Classes/index/IndexViewController.h"

void IndexViewController::didSetupDownloadedAudio() { refreshInstalledAudioCache(); }

void IndexViewController::downloadRequiresRefreshOfStatus() {
  if (surahListTable_)
    for (auto& cell : surahListTable_->visibleCells())
      if (auto row = std::dynamic_pointer_cast<IndexTableViewCell>(cell)) row->updateSoundStatus();
  if (auto reading = ThisSurahController()) reading->updateReciterLabel();
}

void IndexViewController::cancelDownload() {
  if (auto delegate = ZarvelSDKAppDelegate::GetInstance()) delegate->cancelDownload();
}
