#include "Classes/index/IndexReadingScreen.h"

#include "Classes/reading/SurahViewController.h"

namespace {

// Forwards to whatever the controller class offers; the checks are made when
// the class is compiled, so the index follows the reading screen as it grows.
template <class Screen>
class ReadingScreenLink : public IndexReadingScreen {
 public:
  explicit ReadingScreenLink(std::shared_ptr<Screen> screen) : screen_(std::move(screen)) {}

  bool settingUpSurah() const override {
    if constexpr (requires(const Screen& s) { bool(s.settingUpSurah()); }) return screen_->settingUpSurah();
    return false;
  }
  int iCurrentSurah() const override {
    if constexpr (requires(const Screen& s) { int(s.iCurrentSurah()); }) return screen_->iCurrentSurah();
    return surah_;
  }
  int iCurrentVerse() const override {
    if constexpr (requires(const Screen& s) { int(s.iCurrentVerse()); }) return screen_->iCurrentVerse();
    return verse_;
  }
  void setupBasicSurah(int surah, int verse, bool play) override {
    surah_ = surah;
    verse_ = verse;
    if constexpr (requires(Screen& s) { s.setupBasicSurah(surah, verse, play); })
      screen_->setupBasicSurah(surah, verse, play);
  }
  void asyncSurahReload() override { screen_->asyncSurahReload(); }
  void highlightVerse(int verse, bool jumpTo, bool animated, bool force, bool ignorePassing) override {
    verse_ = verse;
    if constexpr (requires(Screen& s) { s.highlightVerse(verse, jumpTo, animated, force, ignorePassing); })
      screen_->highlightVerse(verse, jumpTo, animated, force, ignorePassing);
  }
  void refreshTheme() override {
    if constexpr (requires(Screen& s) { s.refreshTheme(); }) screen_->refreshTheme();
  }
  void setRequiresReload(bool on) override {
    if constexpr (requires(Screen& s) { s.setRequiresReload(on); }) screen_->setRequiresReload(on);
  }
  void updateReciterLabel() override {
    if constexpr (requires(Screen& s) { s.updateReciterLabel(); }) screen_->updateReciterLabel();
  }
  const SurahViewController* controller() const override { return screen_.get(); }

 private:
  std::shared_ptr<Screen> screen_;
  int surah_ = 1;
  int verse_ = -1;
};

}  // namespace

std::shared_ptr<IndexReadingScreen> IndexReadingScreen::forController(std::shared_ptr<SurahViewController> controller) {
  if (!controller) return nullptr;
  return std::make_shared<ReadingScreenLink<SurahViewController>>(std::move(controller));
}
