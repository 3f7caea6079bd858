// Inbound links: "zarvel://surah:verse" (and a third field, ignored) opens the
// reading screen at that verse; other URLs end the social-network login.
#include <algorithm>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/String+More.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "src/Social/SocialNetwork.h"
#include "platform/foundation/String.h"

namespace {

constexpr size_t kMaxLinkLength = 2000;
constexpr int kLastSurah = 114;

}  // namespace

bool ZarvelSDKAppDelegate::handleOpenURL(ui::Application&, const std::string& url) {
  // Counted in UTF-16 units, as links are measured everywhere else.
  if (url.empty() || ns::length16(url) > kMaxLinkLength) return false;
  std::vector<std::string> parts = ns::explode(url, "//");
  if ((parts.size() == 2 || parts.size() == 3) && ns::hasPrefix(parts.front(), "zarvel")) {
    std::vector<std::string> fields = ns::explode(parts.back(), ":");
    if (fields.size() == 2 || fields.size() == 3) {
      // Leading numbers, clamped on overflow; a surah out of range opens nothing.
      int surah = ns::intValue(fields[0]);
      if (surah >= 1 && surah <= kLastSurah) {
        int verse = std::clamp(ns::intValue(fields[1]), 0, ChapterInfo::getVersesFromNumber(surah));
        showSurahView(surah, verse, false, false);
      }
    }
    return true;
  }
  // Only a session that exists takes the URL: a link never starts a login.
  auto session = existingSocialNetwork();
  return session && session->handleOpenURL(url);
}
