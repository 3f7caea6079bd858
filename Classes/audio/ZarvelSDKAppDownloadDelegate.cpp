#include "Classes/audio/ZarvelSDKAppDownloadDelegate.h"

#include <cmath>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "platform/foundation/Log.h"

std::string downloadSizeText(long long bytes) {
  double k = double(bytes) / 1024.0;
  if (k >= 1024) return ns::format("%i MB", int(std::floor(k / 1024)));
  if (k > 0) return ns::format("%i kB", int(std::floor(k)));
  return "-- kB";
}

std::string downloadStatusText(int surah, long long bytes) {
  return Language::get("Downloading", "Downloading") + " " + ChapterInfo::getNameFromNumber(surah) + " (" +
         downloadSizeText(bytes) + ")";
}
