#include "Classes/index/IndexReadingScreen.h"

namespace {

class DetachedReadingScreen : public IndexReadingScreen {
 public:
  bool settingUpSurah() const override { return false; }
  int iCurrentSurah() const override { return surah_; }
  int iCurrentVerse() const override { return verse_; }
  void setupBasicSurah(int surah, int verse, bool) override {
    surah_ = surah;
    verse_ = verse;
  }
  void asyncSurahReload() override {}
  void highlightVerse(int verse, bool, bool, bool, bool) override { verse_ = verse; }
  void refreshTheme() override {}
  void setRequiresReload(bool) override {}
  void updateReciterLabel() override {}

 private:
  int surah_ = 1;
  int verse_ = -1;
};

}  // namespace

std::shared_ptr<IndexReadingScreen> IndexReadingScreen::detached() {
  return std::make_shared<DetachedReadingScreen>();
}
