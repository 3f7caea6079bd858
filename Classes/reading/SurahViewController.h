#pragma once
// The reading screen as the rest of the application reaches it. The screen
// itself is not built yet: every operation has a body that does nothing, and
// the screen that lands later overrides them.
#include "platform/ui/ViewController.h"

class SurahViewController : public ui::ViewController {
 public:
  // Stores the surah and verse on screen in the defaults and synchronises.
  virtual void saveCurrentSurahAndVerse() {}
  // With multitasking and while playing: receive remote-control events and
  // become first responder.
  virtual void registerRemoteEvents() {}
  virtual void unregisterRemoteEvents() {}
  // Refreshes the surah-name title for the current surah.
  virtual void updateSurahNameButton() {}
  // The deferred second half of a surah switch.
  virtual void asyncSurahReload() {}
  // Refreshes the bookmark mark of the verse's row (ignored for another surah).
  virtual void updateBookmarkForVerse(int verse, int surah) { (void)verse; (void)surah; }
};
