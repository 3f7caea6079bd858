#pragma once
// The tablet root screen as the application delegate reaches it: the reading
// screen and the index it owns, and the operations the delegate forwards. The
// root is not built yet; the application shows a placeholder root in its place.
#include <memory>

#include "Classes/index/IndexViewController.h"
#include "Classes/reading/SurahViewController.h"
#include "platform/ui/ViewController.h"

class SavedSearch;

class iPadRootViewController : public ui::ViewController {
 public:
  // The reading screen and the index; null until they exist.
  virtual std::shared_ptr<SurahViewController> viewContSurah() const { return nullptr; }
  virtual std::shared_ptr<IndexViewController> viewContIndex() const { return nullptr; }

  // The root lays itself out below the status bar, never under it.
  void setWantsFullScreenLayout(bool on) { wantsFullScreenLayout_ = on; }
  bool wantsFullScreenLayout() const { return wantsFullScreenLayout_; }

  virtual bool isFloatingViewExpanded() const { return false; }
  virtual bool IsInLandscape() const { return true; }
  virtual void reloadSurahView() {}
  virtual void reloadIndexView() {}
  virtual void refreshTheme() {}
  virtual void bringIndexToView() {}
  virtual void filterBookmarksOnGroup(int group) { (void)group; }
  virtual void filterSearchViewWithSavedSearch(std::shared_ptr<SavedSearch> search) { (void)search; }

 private:
  bool wantsFullScreenLayout_ = true;
};
