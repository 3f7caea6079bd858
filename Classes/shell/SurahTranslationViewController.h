#pragma once
// One translation pane beside the floating reading view: a one-section table
// whose rows line up with the reading screen's verse rows (same heights, same
// offset, same selected and playing verse), a header button naming the
// translation (its touch opens the picker), and a single-verse text shown
// while the reading view is expanded (primary pane only). The pane follows
// the reading screen it is given and is driven by the root; the rows can be
// read on a worker, which hands them to the main thread. Main thread only,
// except that worker.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/common/iPadConnectionDelegate.h"
#include "Classes/reading/PickTranslationController.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class SurahViewController;
class SurahVerseView;
class TranslationMeta;
namespace ui {
class ActivityIndicatorView;
class Button;
class ImageView;
class TextView;
}  // namespace ui

class SurahTranslationViewController : public ui::ViewController,
                                       public ui::TableViewDataSource,
                                       public ui::TableViewDelegate,
                                       public ui::PopoverControllerDelegate,
                                       public PickTranslationControllerDelegate {
 public:
  // initWithNibName:bundle:isPrimaryTranslation: ("SurahTranslationViewController").
  explicit SurahTranslationViewController(bool isPrimaryTranslation);
  ~SurahTranslationViewController() override;

  iPadConnectionDelegate* delegate() const { return delegate_; }
  void setDelegate(iPadConnectionDelegate* root) { delegate_ = root; }  // not retained
  std::shared_ptr<SurahViewController> ThisSurahController() const { return ThisSurahController_; }
  void setThisSurahController(std::shared_ptr<SurahViewController> c) { ThisSurahController_ = std::move(c); }

  void loadView() override;
  void viewDidLoad() override;
  void viewDidUnload() override;
  void viewWillAppear(bool animated) override;
  void didRotateFromInterfaceOrientation(ui::InterfaceOrientation from) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }

  // ---- what the root sends ----------------------------------------------------------
  void loadTranslation();
  void hideLoadingView();
  // Measures the rows again and takes the reading table's offset (after a
  // reload or a change of layout).
  void reloadRowsInPlace();
  void showLoadingView();
  void reloadVisibleRows();
  void updateVisibleRowBGs();
  // A verse's row height in a layout: its text measured at the width the
  // pane's rows have in that layout.
  virtual float getHeightForVerse(int verse, bool landscape);
  // The pane's width in each of the root's layouts.
  static float paneWidth(bool primary, bool landscape);
  void highlightVerse(int verse, bool jumpTo) { highlightVerse(verse, jumpTo, true, false); }
  void highlightVerse(int verse, bool jumpTo, bool animated) { highlightVerse(verse, jumpTo, animated, false); }
  void highlightVerse(int verse, bool jumpTo, bool animated, bool forceSelection);
  void highlightForPlayingVerse(int verse, bool stopPlaying);
  void updateBookmarkForVerse(int verse, int surah);
  void showSingleTranslationMode();
  void hideSingleTranslationMode();
  void translationHasChanged();
  void translationWillChange();
  // Reads the rows again on a worker (the pane's own reload).
  void translationDidChange();
  void transChangePressed();
  // The picker in the pane's popover: a choice keeps it open (the slot's
  // notification reloads the pane); its Back button closes it.
  void translationPickerPicked(int) override {}
  void translationPickerCancelled() override;
  void updateTranslationLabel();
  void updateSingleVerseDisplay();

  // ---- row model ------------------------------------------------------------------------
  int rowToVerse(int row) const;
  int verseToRow(int verse) const;

  // ---- table and scroll callbacks ------------------------------------------------------------
  int numberOfSectionsInTableView(ui::TableView*) override { return 1; }
  int numberOfRowsInSection(ui::TableView* tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  float heightForRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  void scrollViewWillBeginDragging(ui::ScrollView* scrollView) override;
  void scrollViewDidScroll(ui::ScrollView* scrollView) override;
  void scrollViewDidEndDragging(ui::ScrollView* scrollView, bool willDecelerate) override;
  void scrollViewDidEndDecelerating(ui::ScrollView* scrollView) override;
  bool scrollViewShouldScrollToTop(ui::ScrollView* scrollView) override;
  void scrollViewDidScrollToTop(ui::ScrollView* scrollView) override;

  // ---- state --------------------------------------------------------------------------------
  ui::TableView* tblTransView() const { return tblTransView_.get(); }
  bool IsPrimaryTranslation() const { return IsPrimaryTranslation_; }
  int iCurrentTranslation() const { return iCurrentTranslation_; }
  bool IgnoreSendingScrollEvents() const { return IgnoreSendingScrollEvents_; }
  void setIgnoreSendingScrollEvents(bool on) { IgnoreSendingScrollEvents_ = on; }
  int selectedVerse() const { return selectedVerse_; }
  int iCurrentPlayingVerse() const { return iCurrentPlayingVerse_; }
  bool showingSingleVerseMode() const { return showingSingleVerseMode_; }
  bool loadingInBG() const { return loadingInBG_; }
  // nullopt: no text array (translation 0, or before the first load).
  const std::optional<std::vector<std::string>>& translationArr() const { return translationArr_; }
  std::shared_ptr<TranslationMeta> metaForVerse(int verse) const;
  const std::string& defaultsKey() const;

  std::shared_ptr<ui::Button> btnTranslation;
  std::shared_ptr<ui::ActivityIndicatorView> activityIndicator;
  std::shared_ptr<ui::TextView> txtSingleVerse;
  std::shared_ptr<ui::ImageView> imgDownArrowTranslation;
  std::shared_ptr<ui::PopoverController> popoverView;

 private:
  // What one read of a surah's rows gives: the texts and the height records.
  struct Rows {
    int translation = 0;
    std::optional<std::vector<std::string>> texts;
    std::map<int, std::shared_ptr<TranslationMeta>> metas;
  };
  static Rows readRows(int translation, int surah);
  void takeRows(Rows rows);
  void startBackgroundLoad();
  SurahVerseView* viewForVerse(int verse);
  bool isHeaderlessSurah() const;
  int currentSurah() const;
  void initSingleVerseView();
  void takeReadingTablePlace();

  bool IsPrimaryTranslation_;
  iPadConnectionDelegate* delegate_ = nullptr;
  std::shared_ptr<SurahViewController> ThisSurahController_;
  std::shared_ptr<ui::TableView> tblTransView_;
  std::optional<std::vector<std::string>> translationArr_;
  std::map<int, std::shared_ptr<TranslationMeta>> transHeightMeta;
  bool loadingInBG_ = false;
  bool previouslyDragging_ = false;
  int iCurrentTranslation_ = 0;
  bool IgnoreSendingScrollEvents_ = false;
  int selectedVerse_ = -1;
  int iCurrentPlayingVerse_ = 0;
  bool showingSingleVerseMode_ = false;
  std::vector<ns::Observer> observers_;
};
