#pragma once
// What the index asks of the reading screen: whether a surah is being set
// up, the surah and verse it shows, the quick phase of a surah switch and its
// deferred rebuild, the quick verse highlight, its theme and reciter label.
// Main thread only.
#include <memory>

class SurahViewController;

class IndexReadingScreen {
 public:
  virtual ~IndexReadingScreen() = default;
  virtual bool settingUpSurah() const = 0;
  virtual int iCurrentSurah() const = 0;
  virtual int iCurrentVerse() const = 0;
  virtual void setupBasicSurah(int surah, int verse, bool play) = 0;
  virtual void asyncSurahReload() = 0;
  virtual void highlightVerse(int verse, bool jumpTo, bool animated, bool forceSelection,
                              bool ignorePassingToTrans) = 0;
  virtual void refreshTheme() = 0;
  virtual void setRequiresReload(bool on) = 0;
  virtual void updateReciterLabel() = 0;
  // The controller behind this link, null when it stands for none.
  virtual const SurahViewController* controller() const = 0;

  // The link to a reading-screen controller. An operation the controller
  // does not offer does nothing, and a controller that cannot tell its surah
  // and verse answers the ones it was last asked to set up.
  static std::shared_ptr<IndexReadingScreen> forController(std::shared_ptr<SurahViewController> controller);
};
