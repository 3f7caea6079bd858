#pragma once
// The surah index: the screen from which the reader picks what to read. One
// table in one of two modes: the 114 surahs (number, name, verse count and
// recitation status), or the 30 juz in sections of 8 hizb quarters (the
// quarter's mark, the opening words of its first verse and the status).
// Beside it a juz bar for fast jumps and a top bar with the mode label, the
// mode switch and the current surah. Choosing a row opens the reading screen
// there; the reading screen keeps the index's selection in step with the
// verse being read.
//
// The core (this file's .cpp) holds the state, the view life, opening the
// reading screen, the selection and the notification handlers; the layout,
// the table and the juz bar, the audio status and the download listener live
// in the category files beside it. One instance, made by the tablet root.
// Main thread only.
#include <memory>
#include <string>
#include <vector>

#include "Classes/audio/ZarvelSDKAppDownloadDelegate.h"
#include "Classes/index/IndexReadingScreen.h"
#include "Classes/index/IndexRowMeta.h"
#include "Classes/index/IndexViewCellHost.h"
#include "Classes/index/UIScrollableBar.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewController.h"

class iPadConnectionDelegate;
class ZarvelSDKAppDelegate;

class IndexViewController : public ui::ViewController,
                            public ui::TableViewDataSource,
                            public ui::TableViewDelegate,
                            public UIScrollableBarDelegate,
                            public IndexViewCellHost,
                            public ZarvelSDKAppDownloadDelegate {
 public:
  IndexViewController();
  ~IndexViewController() override;

  // The tablet root (not owned), and the reading screen it holds.
  void setIPadController(iPadConnectionDelegate* root) { iPadController_ = root; }
  iPadConnectionDelegate* iPadController() const { return iPadController_; }
  std::shared_ptr<IndexReadingScreen> ThisSurahController();

  // ---- view life ---------------------------------------------------------------------
  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewDidUnload() override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }

  // ---- opening the reading screen and the selection ------------------------------------------
  // Opens the reading screen at the surah and verse (−1: its header row).
  virtual void showSurahView(const void* sender, int surah, int verse, bool startPlaying, bool animated);
  void showSurahView(const void* sender, int surah, int verse, bool startPlaying) override {
    showSurahView(sender, surah, verse, startPlaying, true);
  }
  virtual bool IsShowingSurahView() const { return IsShowingSurahView_; }
  void setIsShowingSurahView(bool on) { IsShowingSurahView_ = on; }
  virtual void hideSurahView() {}
  // Stores a selection and opens it or only marks it; false when asked to
  // open the row already selected.
  bool rowDidMakeSelection(int row, int section, bool showSurahView) override;
  // Sectioned mode: marks the quarter that holds the verse.
  void selectSectionForSurah(int surah, int verse);
  // The quarter (1-240) that holds the verse.
  static int quarterOfVerse(int surah, int verse);
  // List mode: brings the selection in line with the reading screen.
  void verifyIndexSelection();
  void reloadIndexView();
  virtual void reloadSurahCell(int row);
  void refreshTheme();
  void tableTypeChanged();
  void btnSectionsPressed();
  virtual void btnTopCurrentSurahPressed(const void* sender);
  void setTopCurrentSurahButton(int surah);

  // ---- audio status (IndexViewController+AudioStatus.cpp) ------------------------------------
  void refreshInstalledAudioCache();
  bool isSurahAudioInstalled(int surah) const override;
  bool isSurahAudioInstalledForOthers(int surah) const override;
  const std::vector<int>& arrAudioInstalledStatus() const { return arrAudioInstalledStatus_; }

  // ---- notification handlers -------------------------------------------------------------
  void surahDidChange();
  void translationDidChange();
  void reciterChanged();
  void arabicLanguageChanged();
  void requiresRefreshOfSoundStatus() {}

  // ---- accessors ---------------------------------------------------------------------------
  int iCurrentlyShowingSurah() const override { return iCurrentlyShowingSurah_; }
  int currentlySelectedRow() const override { return currentlySelectedRow_; }
  int currentlySelectedSection() const { return currentlySelectedSection_; }
  bool isShowingSectionedView() const override { return isShowingSectionedView_; }
  void setIsShowingSectionedView(bool on) { isShowingSectionedView_ = on; }
  ui::TableView* surahListTable() const override { return surahListTable_.get(); }
  bool ignoreOverridingRowSelection() const override { return ignoreOverridingRowSelection_; }
  const std::vector<IndexRowMetaPtr>& sectionedMeta() const { return arrSectionedMeta; }

  // ---- table data source and delegate (IndexViewController+TableDelegate.cpp) -----------------
  int numberOfSectionsInTableView(ui::TableView* tableView) override;
  int numberOfRowsInSection(ui::TableView* tableView, int section) override;
  float heightForRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  std::optional<float> heightForHeaderInSection(ui::TableView* tableView, int section) override;
  std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView* tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  void asyncSurahDidChangeNotice();

  // ---- the juz bar -------------------------------------------------------------------------------
  void scrollableBarSelectedIndex(int index) override;
  void scrollableBarFingerDown() override {}
  void scrollableBarFingerUp() override;

  // ---- keys: type a surah's number or the start of its name, Enter opens it ---------------------
  bool canBecomeFirstResponder() const override { return true; }
  void keyDown(const ui::KeyEvent& key) override;
  void insertText(const std::string& text) override;

  // ---- the download listener (IndexViewController+AudioDownload.cpp) ----------------------------
  // The index's own strip follows the download from its start to its end, and
  // so does the reading screen's panel beside the index.
  void didBeginDownloading() override;
  void didUpdateFileSize(int bytes) override;
  void didUpdateDownloadProgress(float progress) override;
  void willPerformAudioSetup() override;
  void didSetupDownloadedAudio() override;
  void downloadRequiresRefreshOfStatus() override;
  void didEndDownloading() override;
  void checkDownloadStatus();
  void cancelDownload();
  // The index's own strip over the foot of the table, hidden when idle.
  static constexpr float kDownloadStripHeight = 44;
  std::shared_ptr<ui::View> viewIndexDownloadContainer;
  std::shared_ptr<ui::Label> lblIndexDownload;
  std::shared_ptr<ui::ProgressView> progressIndexDownload;
  std::shared_ptr<ui::Button> btnIndexDownload;

  // The outlets, as the layout builder made them ("IndexView").
  std::shared_ptr<ui::TableView> surahListTable_;
  std::shared_ptr<UIScrollableBar> viewJuzzScroller;
  std::shared_ptr<ui::Label> lblTopBarLabel, lblPartitionTitle;
  std::shared_ptr<ui::View> viewTopBar, viewAdvert;
  std::shared_ptr<ui::ImageView> imgTopBarBG, imgPartitionBG;
  std::shared_ptr<ui::Button> btnTopCurrentSurah, btnSections;

  // Where the reading screen comes from when the tablet root has none to give
  // (tests give their own).
  void setReadingScreenForTesting(std::shared_ptr<IndexReadingScreen> screen) { readingForTesting_ = screen; }

 private:
  // Layout (IndexViewController+Layout.cpp), one function per area.
  void buildIndexView(ui::View& root);
  void buildTopBar(ui::View& root);
  void buildTableArea(ui::View& root);
  void buildJuzBar(ui::View& root);
  void buildDownloadStrip(ui::View& root);
  // The strip in or out, the table's foot kept clear of it while it shows.
  void showDownloadStrip(bool show);
  void downloadStripAnimDidStop();
  void styleButtons();
  std::shared_ptr<ui::View> makeSectionHeader(int juz) const;
  void buildSectionedMeta();
  void showPartitionTitleForOffset(float offset);

  // Appearance work, also run by the notification handlers.
  void appear();
  void saveTableOffset();
  const char* offsetKey() const;
  std::shared_ptr<IndexViewController> self();
  // Clears the marks of every visible cell but the one to keep (the
  // controller moving them).
  void unmarkVisibleCells(std::optional<ui::IndexPath> keep = std::nullopt);
  void unmark(const ui::IndexPath& path);
  void takeKeysUnlessTaken();
  void showAsCurrent(int surah);
  // The typed-ahead row for the text typed so far, if any.
  std::optional<ui::IndexPath> rowForTypedText() const;

  iPadConnectionDelegate* iPadController_ = nullptr;
  std::shared_ptr<IndexReadingScreen> ThisSurahController_;
  std::shared_ptr<IndexReadingScreen> readingForTesting_;
  std::weak_ptr<ZarvelSDKAppDelegate> downloadHost_;  // whose download listener this is

  int iCurrentlyShowingSurah_ = 1;
  int currentlySelectedRow_ = -1;
  int currentlySelectedSection_ = -1;
  int highlightVerse = -1;
  bool playSurah = false;
  bool firstSurahSetupDone = false;
  bool IsShowingSurahView_ = false;
  bool isShowingSectionedView_ = false;
  bool ignoreOverridingRowSelection_ = false;
  bool indexLoaded = false;
  bool firstLoad = false;
  bool viewIsVisible = false;
  bool needsToRefreshAudioStatus = false;
  bool requiresReloadOfTable = false;
  bool needsToRetheme = false;
  std::vector<int> arrAudioInstalledStatus_;
  std::vector<IndexRowMetaPtr> arrSectionedMeta;
  std::vector<std::shared_ptr<ui::View>> arrSectionViews;

  std::string typedText_;
  double lastTypedAt_ = -1;

  ns::Observer soundStatusObserver, translationObserver, reciterObserver, languageObserver, navObserver;
};
