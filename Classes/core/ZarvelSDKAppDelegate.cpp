#include "Classes/core/ZarvelSDKAppDelegate.h"

#include <atomic>
#include <mutex>

#include "Classes/core/Language.h"
#include "Classes/core/RegisteredDefaults.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"

namespace {

// A class-level answer computed on first use and kept until reset. Read on the
// main thread as a rule; atomic so that a worker's read is still sound.
struct CachedInt {
  std::atomic<bool> computed{false};
  std::atomic<int> value{0};

  template <class Compute>
  int get(Compute compute) {
    if (!computed.load()) {
      value.store(compute());
      computed.store(true);
    }
    return value.load();
  }
  void reset() { computed.store(false); }
};

CachedInt gIsLanguageArabic;
CachedInt gArabicFontSize;
CachedInt gTranslationFontSize;

std::mutex gInitializeMutex;
bool gInitialized = false;

// The stored size, or the registered one when the stored value is no size.
int fontSize(const char* key) {
  const ns::Value stored = ns::UserDefaults::standardUserDefaults().objectForKey(key);
  return RegisteredDefaults::isFontSizeValue(stored) ? static_cast<int>(stored.integerValue())
                                                     : kRegisteredFontSize;
}

}  // namespace

void ZarvelSDKAppDelegate::initialize() {
  std::lock_guard<std::mutex> lock(gInitializeMutex);
  if (gInitialized) return;
  gInitialized = true;
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  RegisteredDefaults::registerWith(defaults, IsLanguageArabic());
  defaults.synchronize();
}

bool ZarvelSDKAppDelegate::IsLanguageArabic() {
  return gIsLanguageArabic.get([] { return ns::hasPrefix(Language::preferredLanguage(), "ar"); });
}

void ZarvelSDKAppDelegate::ResetArabicCheck() { gIsLanguageArabic.reset(); }

int ZarvelSDKAppDelegate::ArabicFontSize() {
  return gArabicFontSize.get([] { return fontSize(kArabicFontSize); });
}

void ZarvelSDKAppDelegate::ResetArabicFontSize() { gArabicFontSize.reset(); }

int ZarvelSDKAppDelegate::TranslationFontSize() {
  return gTranslationFontSize.get([] { return fontSize(kTranslationFontSize); });
}

void ZarvelSDKAppDelegate::ResetTranslationFontSize() { gTranslationFontSize.reset(); }

void ZarvelSDKAppDelegate::ResetClassStateForTesting() {
  std::lock_guard<std::mutex> lock(gInitializeMutex);
  gInitialized = false;
  gIsLanguageArabic.reset();
  gArabicFontSize.reset();
  gTranslationFontSize.reset();
}
