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

int TranslationMeta::Height() {
  if (Height_ == -1) Height_ = heightForWidth(isFullScreen() ? kPortraitFullWidth : kPortraitWidth);
  return Height_;
}

int TranslationMeta::LandscapeHeight() {
  if (LandscapeHeight_ == -1) LandscapeHeight_ = heightForWidth(isFullScreen() ? kLandscapeFullWidth : kLandscapeWidth);
  return LandscapeHeight_;
}

void TranslationMeta::ResetHeights() {
  Height_ = LandscapeHeight_ = -1;
  heights_.clear();
}

int TranslationMeta::heightForWidth(float width) {
  for (const auto& [w, h] : heights_)
    if (w == width) return h;
  int h = measure(width);
  // A note not written yet stays unmeasured: it may be written later.
  if (h != -1) heights_.emplace_back(width, h);
  return h;
}

int TranslationMeta::measure(float width) {
  if (ThisSurah_ == 0) return -1;
  std::string text;
  if (ThisTranslator_ == 1000) {
    if (Translation_.empty()) return -1;
    text = Translation_;
  } else {
    text = getSimpleTransliteration();
  }
  ui::Font font = ui::Font::fontWithName("Helvetica", static_cast<float>(getFontSize()));
  cg::Size size = ui::sizeWithFont(text, font, cg::Size{width, 100000}, ui::LineBreakMode::WordWrap);
  int height = static_cast<int>(size.height);
  return height >= 1 ? height + kRowPadding : height;
}

std::string TranslationMeta::getSimpleTransliteration() const {
  if (ThisTranslator_ != 10) return Translation_;
  std::string text = Translation_;
  for (const char* tag : {"<b>", "<i>", "<u>", "</b>", "</u>", "</i>"}) text = ns::replaceAll(text, tag, "W");
  return text;
}

int TranslationMeta::getFontSize() const { return fontSizeForTranslator(ThisTranslator_); }

int TranslationMeta::fontSizeForTranslator(int translator) {
  static const int kLarge[] = {17, 19, 21, 23, 26};     // 15, 16, 36
  static const int kIndic[] = {16, 18, 20, 22, 24};     // 22, 26, 31
  static const int kTafsir[] = {15, 17, 19, 21, 23};    // 27, 38
  static const int kDefault[] = {12, 14, 16, 19, 21};
  int setting = ZarvelSDKAppDelegate::TranslationFontSize();
  if (setting < 0 || setting > 4) setting = 1;  // an unknown setting reads as the default
  switch (translator) {
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
