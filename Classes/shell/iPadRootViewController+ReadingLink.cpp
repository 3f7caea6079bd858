// The reading screen as the index sees it: the index knows only
// IndexReadingScreen, and the root, which holds both, joins them.
#include "Classes/index/IndexReadingScreen.h"
#include "Classes/reading/SurahViewController.h"
#include "Classes/shell/iPadRootViewController.h"

namespace {

class ReadingScreenLink : public IndexReadingScreen {
 public:
  explicit ReadingScreenLink(std::shared_ptr<SurahViewController> screen) : screen_(std::move(screen)) {}

  bool settingUpSurah() const override { return screen_->settingUpSurah(); }
  int iCurrentSurah() const override { return screen_->iCurrentSurah(); }
  int iCurrentVerse() const override { return screen_->iCurrentVerse(); }
  void setupBasicSurah(int surah, int verse, bool play) override { screen_->setupBasicSurah(surah, verse, play); }
  void asyncSurahReload() override { screen_->asyncSurahReload(); }
  void highlightVerse(int verse, bool jumpTo, bool animated, bool force, bool ignorePassing) override {
    screen_->highlightVerse(verse, jumpTo, animated, force, ignorePassing);
  }
  void refreshTheme() override { screen_->refreshTheme(); }
  void setRequiresReload(bool on) override { screen_->setRequiresReload(on); }
  void updateReciterLabel() override { screen_->updateReciterLabel(); }
  ZarvelSDKAppDownloadDelegate* downloadPanel() override { return screen_.get(); }

 private:
  std::shared_ptr<SurahViewController> screen_;
};

}  // namespace

std::shared_ptr<IndexReadingScreen> iPadRootViewController::readingScreenForIndex() {
  auto screen = viewContSurah();
  if (!screen) return nullptr;
  if (!readingLink_ || readingLinkFor_ != screen.get()) {
    readingLink_ = std::make_shared<ReadingScreenLink>(screen);
    readingLinkFor_ = screen.get();
  }
  return readingLink_;
}
