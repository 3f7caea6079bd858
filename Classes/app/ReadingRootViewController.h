#pragma once
// The tablet root until the application shell is built: the surah index as
// the left column in landscape and the reading screen beside it (upright, the
// reading screen alone), opened on the last read surah and verse. It answers the reading screen as a root whose reading view
// is expanded (the translation is a row of the table), and passes the
// reading screen's selection checks on to the index.
#include <memory>

#include "Classes/reading/SurahViewController.h"
#include "Classes/common/iPadConnectionDelegate.h"
#include "Classes/shell/iPadRootViewController.h"

class ReadingRootViewController : public iPadRootViewController {
 public:
  ReadingRootViewController();

  std::shared_ptr<SurahViewController> viewContSurah() const override { return reading_; }
  std::shared_ptr<IndexViewController> viewContIndex() const override { return index_; }
  SurahViewController* reading() const { return reading_.get(); }

  void loadView() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation o) override;
  void willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation to, double duration) override;
  void didRotateFromInterfaceOrientation(ui::InterfaceOrientation from) override;

  bool isFloatingViewExpanded() const override { return true; }
  bool isFloatingViewExpanded() override { return true; }
  bool IsInLandscape() const override;
  bool IsViewInLandscape() override { return IsInLandscape(); }
  ui::ViewController* getViewController() override { return this; }
  void verifyIndexSelection() override { index_->verifyIndexSelection(); }
  void tryAndUpdateIndexRowSelection() override {
    index_->selectSectionForSurah(reading_->iCurrentSurah(), reading_->iCurrentVerse());
  }
  void reloadIndexView() override { index_->reloadIndexView(); }
  // The reading screen keeps the keys; what it leaves (typed text, Enter)
  // picks and opens a surah in the index while the index is shown.
  void insertText(const std::string& text) override;
  void keyDown(const ui::KeyEvent& key) override;

 private:
  void layoutColumns();

  std::shared_ptr<SurahViewController> reading_;
  std::shared_ptr<IndexViewController> index_;
  bool appeared_ = false;
};
