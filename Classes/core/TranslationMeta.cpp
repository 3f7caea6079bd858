#include "Classes/core/TranslationMeta.h"

#include <mutex>

#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/text/TextMeasure.h"

namespace {
std::mutex gProviderMutex;
std::function<bool()> gFullScreen;

bool isFullScreen() {
  std::lock_guard<std::mutex> lock(gProviderMutex);
  return gFullScreen && gFullScreen();
}

// Portrait and landscape text widths, normal and with the verse view in full screen.
constexpr float kPortraitWidth = 230, kPortraitFullWidth = 688;
constexpr float kLandscapeWidth = 262, kLandscapeFullWidth = 944;
constexpr int kRowPadding = 15;
}  // namespace

TranslationMeta::TranslationMeta(std::string translation, int translator, int surah, int verse,
                                 bool usingDynamicHeights)
    : ThisSurah_(surah),
      ThisVerse_(verse),
      ThisTranslator_(translator),
      usingDynamicHeights_(usingDynamicHeights),
      Translation_(std::move(translation)) {
  (void)usingDynamicHeights_;  // kept as given; nothing reads it
}

void TranslationMeta::setFullScreenProvider(std::function<bool()> provider) {
  std::lock_guard<std::mutex> lock(gProviderMutex);
  gFullScreen = std::move(provider);
}

int TranslationMeta::Height() { return measure(Height_, kPortraitWidth, kPortraitFullWidth); }
int TranslationMeta::LandscapeHeight() { return measure(LandscapeHeight_, kLandscapeWidth, kLandscapeFullWidth); }

void TranslationMeta::ResetHeights() { Height_ = LandscapeHeight_ = -1; }

int TranslationMeta::measure(int& cached, float width, float fullScreenWidth) {
  if (cached != -1 || ThisSurah_ == 0) return cached;
  std::string text;
  if (ThisTranslator_ == 1000) {
    if (Translation_.empty()) return cached;
    text = Translation_;
  } else {
    text = getSimpleTransliteration();
  }
  ui::Font font = ui::Font::fontWithName("Helvetica", static_cast<float>(getFontSize()));
  float w = isFullScreen() ? fullScreenWidth : width;
  cg::Size size = ui::sizeWithFont(text, font, cg::Size{w, 100000}, ui::LineBreakMode::WordWrap);
  cached = static_cast<int>(size.height);
  if (cached >= 1) cached += kRowPadding;
  return cached;
}

std::string TranslationMeta::getSimpleTransliteration() const {
  if (ThisTranslator_ != 10) return Translation_;
  std::string text = Translation_;
  for (const char* tag : {"<b>", "<i>", "<u>", "</b>", "</u>", "</i>"}) text = ns::replaceAll(text, tag, "W");
  return text;
}

int TranslationMeta::getFontSize() const {
  static const int kLarge[] = {17, 19, 21, 23, 26};     // 15, 16, 36
  static const int kIndic[] = {16, 18, 20, 22, 24};     // 22, 26, 31
  static const int kTafsir[] = {15, 17, 19, 21, 23};    // 27, 38
  static const int kDefault[] = {12, 14, 16, 19, 21};
  int setting = ZarvelSDKAppDelegate::TranslationFontSize();
  if (setting < 0 || setting > 4) setting = 0;
  switch (ThisTranslator_) {
    case 15: case 16: case 36: return kLarge[setting];
    case 22: case 26: case 31: return kIndic[setting];
    case 27: case 38: return kTafsir[setting];
    default: return kDefault[setting];
  }
}

std::string TranslationMeta::description() const {
  return ns::format("Translation: %s, Height: %i, Landscape Height: %i, Surah: %i, Verse: %i, Translator: %i",
                    Translation_.c_str(), Height_, LandscapeHeight_, ThisSurah_, ThisVerse_, ThisTranslator_);
}
