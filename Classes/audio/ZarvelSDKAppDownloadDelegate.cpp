#include "Classes/audio/ZarvelSDKAppDownloadDelegate.h"

#include <cmath>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

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

void styleDownloadStrip(ui::View& strip) {
  strip.setBackgroundColor(cg::Color::fromRGB255(44, 52, 66));
  strip.setOpaque(true);
}

void styleDownloadStatusLabel(ui::Label& label, float fontSize) {
  label.setFont(ui::Font::boldSystemFontOfSize(fontSize));
  label.setTextColor(cg::Color::white());
  label.setBackgroundColor(cg::Color::clear());
}

void styleDownloadCancelButton(ui::Button& button) {
  button.setTitle(Language::get("Cancel", "Cancel"), ui::ControlStateNormal);
  button.setTitleColor(cg::Color::white(), ui::ControlStateNormal);
  button.setTitleColor(cg::Color::white().withAlpha(0.35f), ui::ControlStateDisabled);
  button.titleLabel()->setFont(ui::Font::boldSystemFontOfSize(14));
}
