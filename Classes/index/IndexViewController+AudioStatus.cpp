// The recitation status of each surah, kept for the rows: refreshed when the
// screen is loaded, the reciter changes or a download has been set up.
#include "Classes/core/RegisteredDefaults.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/index/IndexAudioStatus.h"
#include "Classes/index/IndexViewController.h"
#include "platform/foundation/UserDefaults.h"

void IndexViewController::refreshInstalledAudioCache() {
  auto delegate = ZarvelSDKAppDelegate::GetInstance();
  int reciter = int(ns::UserDefaults::standardUserDefaults().integerForKey(kCurrentReciter));
  arrAudioInstalledStatus_ =
      IndexAudioStatus::read(delegate ? delegate->dbConnection() : nullptr).codesForReciter(reciter);
}

bool IndexViewController::isSurahAudioInstalled(int surah) const {
  if (surah <= 0 || surah > int(arrAudioInstalledStatus_.size())) return false;
  int code = arrAudioInstalledStatus_[surah - 1];
  return code == 1 || code == 3;
}

bool IndexViewController::isSurahAudioInstalledForOthers(int surah) const {
  if (surah <= 0 || surah > int(arrAudioInstalledStatus_.size())) return false;
  int code = arrAudioInstalledStatus_[surah - 1];
  return code == 2 || code == 3;
}
