#pragma once
// The application delegate: the launch and lifecycle, and the class-level
// services every part of the application reaches (cached settings and checks,
// the screen-sleep counter, the shared glyph renderer, the Friday reminders).
//
// The class is declared here so that every layer can name it. The class
// services that need nothing above the data store (the settings caches) are
// defined in this folder; the instance side and every service that needs the
// interface layer, the glyph renderer or the neighbour screens is defined in
// Classes/app, which the application and its tests link.
#include <sqlite3.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Value.h"
#include "platform/services/BackgroundTask.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"

class ArabicFont;
class DBHandler;
class Downloader;
class DownloadRelay;
class iPadRootViewController;
class SavedSearch;
class SocialNetwork;
class ZarvelSDKAppDownloadDelegate;
namespace ui {
class Window;
class ViewController;
}

class ZarvelSDKAppDelegate : public ui::ApplicationDelegate,
                             public ui::AlertViewDelegate,
                             public ui::ActionSheetDelegate,
                             public ui::MailComposeViewControllerDelegate,
                             public std::enable_shared_from_this<ZarvelSDKAppDelegate> {
 public:
  ZarvelSDKAppDelegate();
  ~ZarvelSDKAppDelegate() override;
  ZarvelSDKAppDelegate(const ZarvelSDKAppDelegate&) = delete;
  ZarvelSDKAppDelegate& operator=(const ZarvelSDKAppDelegate&) = delete;

  // ---- class services (settings caches: Classes/core) -----------------------------
  // The class initialiser: registers the default settings and synchronises the
  // store, once per process, before the delegate is first used.
  static void initialize();

  // Whether the preferred interface language is Arabic; computed once and
  // cached until ResetArabicCheck.
  static bool IsLanguageArabic();
  static void ResetArabicCheck();

  // The Arabic and translation font size indexes (0-4), cached until reset.
  static int ArabicFontSize();
  static void ResetArabicFontSize();
  static int TranslationFontSize();
  static void ResetTranslationFontSize();

  // Forgets every cached answer and lets initialize() run again (tests).
  static void ResetClassStateForTesting();

  // ---- class services (Classes/app) ---------------------------------------------
  // The shared application's delegate (null before the application has one).
  static std::shared_ptr<ZarvelSDKAppDelegate> GetInstance();

  // Device and system checks, cached for the process.
  static bool IsDeviceIPad();
  static bool IsIPhoneOS4();
  static bool IsIPhoneOS5();
  static bool IsDeviceRetina();
  static bool BackgroundTasksSupported();

  // The ubiquity container: none on this platform (logged when the system has one).
  static std::optional<std::string> GetiCloudPath();

  // Set by the launch that brought the user database to version 3.24.
  static bool HasUpgradedApp();
  static void MarkUpgraded(bool upgraded);

  // The one shared glyph renderer. Any thread: the creation and the release run
  // on the main thread while the caller waits.
  static std::shared_ptr<ArabicFont> getSharedArabicFontLoader(int resolution, bool forceRecreate);

  // The screen-sleep counter: holders that keep the screen on.
  static bool isSleepEnabled();
  static void disableSleep();
  static void enableSleep();
  static void resetSleep();
  static int sleepCounter();

  // A dictionary kept as a file in Documents. Names that could leave the
  // folder are refused (false / nothing).
  static bool saveDictionaryToDisk(const ns::Dictionary& dictionary, const std::string& fileName);
  static std::optional<ns::Dictionary> getDictionaryFromFile(const std::string& fileName);

  // Friday reminders to read surah 18.
  static void SetupAlKahfReminders();
  static void MarkAlKahfRead();
  static void RemindAlKahfNow();

  // Marks per-verse audio of reciters with a continuous set as not installed.
  static void upgradeToGaplessRequested();

  // Forgets the caches, the counter, the flags and the shared font (tests).
  static void ResetAppStateForTesting();

  // ---- the main interface -----------------------------------------------------
  // The window and the tablet root, as the main interface connects them.
  void setWindow(std::shared_ptr<ui::Window> window) { window_ = std::move(window); }
  ui::Window* window() const { return window_.get(); }
  void setIpadRootViewController(std::shared_ptr<iPadRootViewController> root);
  iPadRootViewController* ipadRootViewController() const { return ipadRootViewController_.get(); }

  // ---- platform call-backs --------------------------------------------------------
  void applicationDidFinishLaunching(ui::Application&) override;
  void applicationWillResignActive(ui::Application&) override;
  void applicationDidEnterBackground(ui::Application&) override;
  void applicationWillEnterForeground(ui::Application&) override;
  void applicationWillTerminate(ui::Application&) override;
  void applicationDidReceiveMemoryWarning(ui::Application&) override {}
  bool handleOpenURL(ui::Application&, const std::string& url) override;
  void didReceiveLocalNotification(ui::Application&, const ui::LocalNotification&) override;

  void clickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override { alertView(alert, buttonIndex); }
  void clickedButtonAtIndex(ui::ActionSheet& sheet, int buttonIndex) override {
    actionSheet(sheet, buttonIndex);
  }
  void alertView(ui::AlertView& alert, int buttonIndex);
  void actionSheet(ui::ActionSheet& sheet, int buttonIndex);
  void mailComposeController(ui::MailComposeViewController& controller, ui::MailComposeResult result,
                             const std::string& error) override;

  // ---- launch steps (virtual: tests trace them) -------------------------------------
  virtual void createEditableCopyOfDatabaseIfNeeded();
  virtual void initializeDatabase();
  virtual void setupForiPad();
  virtual void resetTabbarLabels();
  // Steps 6 to 8 schedule the delegate's delayed calls (remindKahf,
  // showNagScreen, showSlicedWarning) through this, replacing one still
  // pending under the same name; step 9 shows the update notice when due.
  virtual void performAfterDelay(const std::string& name, double delay, std::function<void()> fn);
  virtual void showUpdateNotice();
  // Says, once per session, that the settings cannot be written (the file and the reason).
  void reportSettingsWriteFailure(const std::string& error);
  // Stops the database workers, releases the shared font, then finalises the
  // statements and closes the connections under the data store's lock. False,
  // with the reason, when a worker did not stop (the connections stay open and
  // workers may start again) or a connection did not close cleanly.
  bool finalizeView(std::string* failure = nullptr);

  // ---- the delayed launch prompts ---------------------------------------------------
  void remindKahf() { RemindAlKahfNow(); }
  void showNagScreen();
  void tellAFriend();
  void showSlicedWarning();

  // ---- forwarders to the tablet root ------------------------------------------------
  virtual void showSurahView(int surah, int verse, bool play, bool animated);
  bool isiPadInFullScreen() const;
  bool isiPadLandscape() const;
  void reloadSurahView();
  void reloadIndexView();
  void refreshTheme();
  void filterBookmarksOnGroup(int group);
  void filterSearchViewWithSavedSearch(std::shared_ptr<SavedSearch> search);
  void refreshSurahViewWith(int surah, int verse);
  void refreshIndexSurahRow(int surah) { (void)surah; }  // the phone tab bar only
  void setTabbarItemIndex(int index) { (void)index; }     // the phone tab bar only
  void hideSurahView() {}
  void refreshSettings() {}
  ui::ViewController* getIndexViewController() const { return nullptr; }

  // ---- background tasks -------------------------------------------------------------
  void beginBackgroundTask(int kind);
  void endBackgroundTask(int kind);
  bool isTaskAlreadyInBackground(int kind) const;

  // ---- the shared font, on the main thread --------------------------------------------
  std::shared_ptr<ArabicFont> getSharedArabicFontLoader(int resolution);
  void releaseSharedArabicFontLoader();

  // ---- recitation download (AudioDownload) ---------------------------------------------------
  bool hasSlicedAudioInstalled() const;
  virtual void showIndexViewAndBeginDownloading();
  virtual void requestDownloadSurahAudioAlert(int surah);
  virtual void requestDownloadServerSelection(int surah);
  virtual void downloadSurahAudioAlert(int surah);
  virtual void downloadAllSurahAudio();
  virtual void cancelDownload();
  void dismissDownloadSheet();
  // The set-up of a downloaded archive: on its own thread, reporting back with
  // waiting main-thread calls; the body runs on the calling thread.
  void setupDownloadedSurahAudioInBG(int surah);
  bool setupDownloadedSurahAudio(int surah);
  void setupSucceeded();
  void setupFailed();
  void finalizeDownload();
  void willPerformAudioSetup();
  // What the downloader reports.
  void setCorrectTotal(int bytes);
  void setUpgradeProgress(int bytes);
  void downloadFailed();
  void downloadFinished();
  void updateSurahDownloadLabel();
  // The random mirror draw, 1 to 6.
  virtual float rnd();
  // The downloader of the download under way (none between downloads).
  Downloader* downloaderObj() const { return downloaderObj_.get(); }
  int fileSize() const { return fileSize_; }
  float lastDownloadProgress() const { return lastDownloadProgress_; }
  bool settingUpSurah() const { return settingUpSurah_; }
  // Why the last set-up failed ("" after a success).
  const std::string& lastSetupFailure() const { return lastSetupFailure_; }
  // The mirror the current download came from (1 to 6) and the address asked.
  int currentMirror() const { return currdownloadServer_; }
  const std::string& lastDownloadURL() const { return lastDownloadURL_; }

  // ---- the social-network session ----------------------------------------------------
  // Created on first use, starting the login when needed; null while the
  // network is not configured (see SocialConfiguration).
  std::shared_ptr<SocialNetwork> socialNetwork();
  // The session when one exists, without creating it.
  std::shared_ptr<SocialNetwork> existingSocialNetwork() const { return socialNetwork_; }
  // Starts the login of the existing session again, as its creation does: a
  // login that failed or was cancelled would otherwise leave Post dead.
  void logInToSocialNetworkAgain();
  void snDidLogin();
  void snDidNotLogin(bool cancelled);
  void snDidLogout() {}

  // ---- connections and state -----------------------------------------------------------
  sqlite3* dbConnection() const;
  sqlite3* dbConnectionAudioDownload() const;
  sqlite3* dbConnectionStatic() const;

  ZarvelSDKAppDownloadDelegate* downloadDelegate() const { return downloadDelegate_; }
  void setDownloadDelegate(ZarvelSDKAppDownloadDelegate* d) { downloadDelegate_ = d; }
  bool isDownloading() const { return isDownloading_; }
  bool downloadingAllSurahs() const { return downloadingAllSurahs_; }
  int downloadingSurah() const { return downloadingSurah_; }

  bool IsInBackground = false;
  bool checkedNagScreen = false;
  bool landscapeWarningShown = false;
  bool SplashHasDisplayed = false;

  // The download state the sheet routing reads.
  int nextDownloadSurah = 0;
  int downloadServer = -1;
  std::shared_ptr<ui::ActionSheet> downloadServerActionSheet;
  std::shared_ptr<ui::ActionSheet> downloadActionSheet;
  std::shared_ptr<ui::ActionSheet> failedDownloadActionSheet;
  ns::Timer dismissTimer;

  ui::BackgroundTaskIdentifier bgDownloadAudio = ui::BackgroundTaskInvalid;
  ui::BackgroundTaskIdentifier bgDeletingAudio = ui::BackgroundTaskInvalid;

  // The mail composer shown now (tell-a-friend).
  std::shared_ptr<ui::MailComposeViewController> mailComposer() const { return mailComposer_; }

 protected:
  bool isDownloading_ = false;
  bool downloadingAllSurahs_ = false;
  int downloadingSurah_ = 0;
  // The download state (see the AudioDownload category).
  std::shared_ptr<Downloader> downloaderObj_;
  std::shared_ptr<DownloadRelay> downloadRelay_;
  int fileSize_ = 0;
  long long totalBytesDownloaded_ = 0;
  float lastDownloadProgress_ = 0;
  bool settingUpSurah_ = false;
  bool holdsSleep_ = false;
  int currdownloadServer_ = 0, lastdownloadServer_ = 0, lastSameServerCounter_ = 0;
  std::string lastSetupFailure_, lastDownloadURL_;
  // What a download started with: the set-up installs that, whatever changed since.
  struct SetupJob {
    int surah = 0, reciter = 0, folder = 0;
    bool continuous = false;
  } setupJob_;
  // Gives back the download's sleep hold when it holds one.
  void releaseSleepHold();
  void endDownloadRun();

 private:
  class SessionDelegate;
  void scheduleForegroundChecks();
  void showStorageWarnings();
  ui::BackgroundTaskIdentifier* backgroundSlot(int kind);

  ZarvelSDKAppDownloadDelegate* downloadDelegate_ = nullptr;  // not retained
  std::shared_ptr<ui::Window> window_;
  std::shared_ptr<iPadRootViewController> ipadRootViewController_;
  std::unique_ptr<DBHandler> dbHandler_;
  std::shared_ptr<SocialNetwork> socialNetwork_;
  std::shared_ptr<SessionDelegate> sessionDelegate_;
  std::vector<std::string> permissions;
  std::shared_ptr<ArabicFont> arabicFontLoader;
  std::shared_ptr<ui::MailComposeViewController> mailComposer_;
  bool settingsWriteFailureReported_ = false;
  // The rate prompt while it is on screen or queued (the panel queue holds it).
  std::weak_ptr<ui::ActionSheet> ratePromptSheet_;
};
