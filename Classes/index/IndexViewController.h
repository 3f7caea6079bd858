#pragma once
// The surah index as the rest of the application reaches it: the one road
// that opens a surah and verse. The index is not built yet: every operation
// has a body that does nothing, and the index that lands later overrides them.
#include "platform/ui/ViewController.h"

class IndexViewController : public ui::ViewController {
 public:
  // Opens the reading screen at the surah and verse (-1: the header); when
  // the same surah is shown and play is NO only the verse is highlighted.
  virtual void showSurahView(const void* sender, int surah, int verse, bool startPlaying, bool animated) {
    (void)sender; (void)surah; (void)verse; (void)startPlaying; (void)animated;
  }
  virtual bool IsShowingSurahView() const { return false; }
  virtual void hideSurahView() {}
  // Opens the reading screen at the current surah and the stored verse.
  virtual void btnTopCurrentSurahPressed(const void* sender) { (void)sender; }
  // Refreshes a surah's row when it is on screen.
  virtual void reloadSurahCell(int row) { (void)row; }
};
