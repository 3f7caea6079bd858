#pragma once
// What the index asks of the reading screen: whether a surah is being set
// up, the surah and verse it shows, the quick phase of a surah switch and its
// deferred rebuild, the quick verse highlight, its theme and reciter label.
// Main thread only.
#include <memory>

class ZarvelSDKAppDownloadDelegate;

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
  // The reading screen's download panel, where the index shows a download's progress.
  virtual ZarvelSDKAppDownloadDelegate* downloadPanel() { return nullptr; }

  // A link to no screen (an index without a root): it remembers the surah and
  // verse it was last asked to set up and answers them.
  static std::shared_ptr<IndexReadingScreen> detached();
};
