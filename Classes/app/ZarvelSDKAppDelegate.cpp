// The delegate's instance side: launch, lifecycle, shutdown, the forwarders to
// the tablet root, the shared glyph renderer, the screen-sleep counter, the
// device checks and the social-network session.
#include "Classes/core/ZarvelSDKAppDelegate.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "Classes/app/AppState.h"
#include "Classes/core/Array+Plus.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/DDInvocationGrabber.h"
#include "Classes/core/Database.h"
#include "Classes/core/Language.h"
#include "Classes/core/DatabaseWorkers.h"
#include "Classes/core/RegisteredDefaults.h"
#include "Classes/core/ZarvelSDKAppDelegate+DBHandler.h"
#include "Classes/glyphs/ArabicFont.h"
#include "Classes/notes/UnsavedNotes.h"
#include "Classes/shell/iPadRootViewController.h"
#include "src/Social/SocialNetwork.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/services/Device.h"
#include "platform/services/IdleTimer.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace {

// The application's identifier with the social network.
// The longest dictionary file read back.
constexpr std::uint64_t kMaxDictionaryFileBytes = 16 * 1024 * 1024;
// Real seconds the shutdown waits for database workers to stop.
constexpr double kWorkerStopTimeout = 10.0;

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

// A yes/no answer computed once for the process.
struct CachedBool {
  std::atomic<int> value{-1};
  template <class Compute>
  bool get(Compute compute) {
    int v = value.load();
    if (v < 0) {
      v = compute() ? 1 : 0;
      value.store(v);
    }
    return v == 1;
  }
  void reset() { value.store(-1); }
};

CachedBool gIsDeviceIPad, gIsIPhoneOS4, gIsIPhoneOS5;
std::atomic<bool> gHasUpgradedApp{false};
int gSleepCounter = 0;  // main thread only

const std::string& systemVersion() { return ui::Device::current().systemVersion(); }

}  // namespace

namespace app_state {
bool gFridayAlertShown = false;
}

// Hears the session's call-backs for the delegate without keeping it alive.
class ZarvelSDKAppDelegate::SessionDelegate : public SNSessionDelegate {
 public:
  explicit SessionDelegate(std::weak_ptr<ZarvelSDKAppDelegate> owner) : owner_(std::move(owner)) {}
  void snDidLogin() override {
    if (auto o = owner_.lock()) o->snDidLogin();
  }
  void snDidNotLogin(bool cancelled) override {
    if (auto o = owner_.lock()) o->snDidNotLogin(cancelled);
  }
  void snDidLogout() override {
    if (auto o = owner_.lock()) o->snDidLogout();
  }

 private:
  std::weak_ptr<ZarvelSDKAppDelegate> owner_;
};

ZarvelSDKAppDelegate::ZarvelSDKAppDelegate() : dbHandler_(std::make_unique<DBHandler>()) { initialize(); }

ZarvelSDKAppDelegate::~ZarvelSDKAppDelegate() {
  ns::RunLoop::main().cancelPreviousPerformRequests(this);
  dismissTimer.invalidate();
}

// ---- class services ------------------------------------------------------------------

std::shared_ptr<ZarvelSDKAppDelegate> ZarvelSDKAppDelegate::GetInstance() {
  return std::dynamic_pointer_cast<ZarvelSDKAppDelegate>(ui::Application::shared().sharedDelegate());
}

bool ZarvelSDKAppDelegate::IsDeviceIPad() {
  return gIsDeviceIPad.get([] {
    return ns::hasPrefix(ui::Device::current().model(), "iPad") || ns::hasPrefix(systemVersion(), "3.2");
  });
}

bool ZarvelSDKAppDelegate::IsIPhoneOS4() {
  return gIsIPhoneOS4.get([] { return !ns::hasPrefix(systemVersion(), "3."); });
}

bool ZarvelSDKAppDelegate::IsIPhoneOS5() {
  return gIsIPhoneOS5.get(
      [] { return !ns::hasPrefix(systemVersion(), "3.") && !ns::hasPrefix(systemVersion(), "4."); });
}

// Asked of the screen each time: a desktop window can move to a denser display.
bool ZarvelSDKAppDelegate::IsDeviceRetina() { return ui::Screen::main().scale() >= 2.0f; }

bool ZarvelSDKAppDelegate::BackgroundTasksSupported() {
  return ui::Device::current().isMultitaskingSupported();
}

bool ZarvelSDKAppDelegate::HasUpgradedApp() { return gHasUpgradedApp.load(); }
void ZarvelSDKAppDelegate::MarkUpgraded(bool upgraded) { gHasUpgradedApp.store(upgraded); }

std::optional<std::string> ZarvelSDKAppDelegate::GetiCloudPath() {
  if (!IsIPhoneOS5()) return std::nullopt;
  ns::logf("INFO  - [%s] No iCloud access", ns::logTimestamp().c_str());
  return std::nullopt;
}

void ZarvelSDKAppDelegate::ResetAppStateForTesting() {
  for (CachedBool* c : {&gIsDeviceIPad, &gIsIPhoneOS4, &gIsIPhoneOS5}) c->reset();
  gHasUpgradedApp.store(false);
  gSleepCounter = 0;
  app_state::gFridayAlertShown = false;
}

// ---- screen-sleep counter ----------------------------------------------------------------

bool ZarvelSDKAppDelegate::isSleepEnabled() { return gSleepCounter <= 0; }
int ZarvelSDKAppDelegate::sleepCounter() { return gSleepCounter; }

void ZarvelSDKAppDelegate::disableSleep() {
  int old = gSleepCounter++;
  if (old == 0 && !ui::IdleTimer::isDisabled()) ui::IdleTimer::setDisabled(true);
}

void ZarvelSDKAppDelegate::enableSleep() {
  --gSleepCounter;
  if (gSleepCounter > 0) return;
  // The setting keeps the screen on: the counter keeps its value.
  if (defaults().boolForKey(kDisableDeviceSleep)) return;
  if (ui::IdleTimer::isDisabled()) ui::IdleTimer::setDisabled(false);
  gSleepCounter = 0;
}

void ZarvelSDKAppDelegate::resetSleep() {
  ui::IdleTimer::setDisabled(false);
  gSleepCounter = 0;
}

// ---- dictionaries in Documents ------------------------------------------------------------

namespace {

// Documents/<name>, or nothing for a name that could leave the folder.
std::optional<std::string> documentsFile(const std::string& fileName) {
  if (!ns::isSafePathComponent(fileName) || fileName.find("..") != std::string::npos) return std::nullopt;
  return ns::pathJoin(ns::documentsDirectory(), fileName);
}

}  // namespace

bool ZarvelSDKAppDelegate::saveDictionaryToDisk(const ns::Dictionary& dictionary, const std::string& fileName) {
  auto path = documentsFile(fileName);
  if (!path) return false;
  ns::createDirectory(ns::documentsDirectory());
  // Written to a temporary file and renamed over the old one: whole or unchanged.
  return ns::writeFileAtomically(*path, ns::Value(dictionary).toJSON(true));
}

std::optional<ns::Dictionary> ZarvelSDKAppDelegate::getDictionaryFromFile(const std::string& fileName) {
  auto path = documentsFile(fileName);
  if (!path || !ns::fileExists(*path)) return std::nullopt;
  auto bytes = ns::readFile(*path, kMaxDictionaryFileBytes);
  if (!bytes) return std::nullopt;
  auto value = ns::Value::fromJSON(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  if (!value || !value->isDictionary()) return std::nullopt;
  return value->dictionary();
}

// ---- the shared glyph renderer ---------------------------------------------------------------

std::shared_ptr<ArabicFont> ZarvelSDKAppDelegate::getSharedArabicFontLoader(int resolution, bool forceRecreate) {
  auto delegate = GetInstance();
  if (!delegate) return nullptr;
  if (forceRecreate)
    dd_invokeOnMainThreadAndWaitUntilDone(delegate, true).call([](ZarvelSDKAppDelegate& d) {
      d.releaseSharedArabicFontLoader();
    });
  return dd_invokeOnMainThreadAndWaitUntilDone(delegate, true).call(
      [resolution](ZarvelSDKAppDelegate& d) { return d.getSharedArabicFontLoader(resolution); });
}

std::shared_ptr<ArabicFont> ZarvelSDKAppDelegate::getSharedArabicFontLoader(int resolution) {
  if (!arabicFontLoader) arabicFontLoader = std::make_shared<ArabicFont>(static_cast<unsigned>(resolution), false);
  return arabicFontLoader;
}

void ZarvelSDKAppDelegate::releaseSharedArabicFontLoader() { arabicFontLoader.reset(); }

// ---- connections ------------------------------------------------------------------------------

sqlite3* ZarvelSDKAppDelegate::dbConnection() const { return dbHandler_->dbConnection(); }
sqlite3* ZarvelSDKAppDelegate::dbConnectionAudioDownload() const { return dbHandler_->dbConnectionAudioDownload(); }
sqlite3* ZarvelSDKAppDelegate::dbConnectionStatic() const { return dbHandler_->dbConnectionStatic(); }

void ZarvelSDKAppDelegate::createEditableCopyOfDatabaseIfNeeded() { dbHandler_->createEditableCopyOfDatabaseIfNeeded(); }

void ZarvelSDKAppDelegate::initializeDatabase() {
  dbHandler_->initializeDatabase();
  if (dbHandler_->hasUpgradedApp()) MarkUpgraded(true);
  DatabaseWorkers::reopen();
}

bool ZarvelSDKAppDelegate::finalizeView(std::string* failure) {
  // A note still being written is stored (or kept aside) while the store is open.
  UnsavedNotes::saveAll();
  resetSleep();
  // Workers first: a query must never run on a closed connection.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(kWorkerStopTimeout);
  bool stopped = DatabaseWorkers::stopAndWait(
      {dbConnection(), dbConnectionAudioDownload(), dbConnectionStatic()}, [&] {
        // Runs what workers post meanwhile, so one waiting for the main thread finishes.
        if (ns::RunLoop::isMainThread())
          ns::RunLoop::main().runUntil([] { return DatabaseWorkers::activeCount() == 0; }, 0.02);
        else
          std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return std::chrono::steady_clock::now() < deadline;
      });
  if (!stopped) {
    ns::logf("ERROR - [%s] Database workers did not stop; the connections stay open",
             ns::logTimestamp().c_str());
    DatabaseWorkers::reopen();  // the connections stay in use
    if (failure) *failure = "a database task did not stop";
    return false;
  }
  releaseSharedArabicFontLoader();
  store::Guard guard(store::lock());
  if (auto error = dbHandler_->closeDatabases()) {
    if (failure) *failure = *error;
    return false;
  }
  return true;
}

// ---- launch and lifecycle -----------------------------------------------------------------------

void ZarvelSDKAppDelegate::applicationDidFinishLaunching(ui::Application&) {
  createEditableCopyOfDatabaseIfNeeded();
  initializeDatabase();
  setupForiPad();
  resetTabbarLabels();
  SetupAlKahfReminders();
  scheduleForegroundChecks();

  if (!defaults().boolForKey(kCheckedSlicedAudio)) {
    defaults().setBool(true, kCheckedSlicedAudio);
    defaults().synchronize();
    if (hasSlicedAudioInstalled()) performAfterDelay("showSlicedWarning", 2.0, [this] { showSlicedWarning(); });
  }
  if (HasUpgradedApp() && ChapterInfo::dbVersion(dbConnection()) == 3.24) showUpdateNotice();
  showStorageWarnings();
  // A settings write that fails later in the session is said once, on the main thread.
  std::weak_ptr<ZarvelSDKAppDelegate> weak = weak_from_this();
  defaults().setWriteFailureHandler([weak](const std::string& error) {
    ns::RunLoop::main().post([weak, error] {
      if (auto delegate = weak.lock()) delegate->reportSettingsWriteFailure(error);
    });
  });
}

void ZarvelSDKAppDelegate::reportSettingsWriteFailure(const std::string& error) {
  if (settingsWriteFailureReported_) return;
  settingsWriteFailureReported_ = true;
  auto alert = std::make_shared<ui::AlertView>(
      app_state::text("Changes Will Not Be Saved"),
      app_state::text("The settings could not be saved, so the reading place and the choices changed now will be "
                      "lost:") + "\n" + error,
      std::weak_ptr<ui::AlertViewDelegate>(), app_state::text("OK"));
  alert->show();
}

// Says once, at launch, when the settings were reset, when the saved data had to
// be moved aside, or when changes cannot be kept, so nobody writes notes that
// will be lost.
void ZarvelSDKAppDelegate::showStorageWarnings() {
  if (std::string old = defaults().setAsidePath(); !old.empty()) {
    auto alert = std::make_shared<ui::AlertView>(
        app_state::text("Settings Reset"),
        app_state::text("The settings file could not be read, so the settings were reset. The old file was kept "
                        "as:") + "\n" + old,
        std::weak_ptr<ui::AlertViewDelegate>(), app_state::text("OK"));
    alert->show();
  }
  // The launch moved aside a user database it could not read: say where it is kept.
  if (const auto& moved = dbHandler_->movedAsidePath()) {
    auto alert = std::make_shared<ui::AlertView>(
        app_state::text("Saved Data Could Not Be Read"),
        ns::replaceAll(app_state::text("Your bookmarks, notes and searches could not be read, so a new empty store "
                                       "was started. The old file is kept at %@."),
                       "%@", *moved),
        weak_from_this(), app_state::text("OK"));
    alert->setTag(app_state::kUserDatabaseMovedTag);
    alert->show();
  }

  // A note that could not be stored at the last exit was kept in a file.
  if (std::string kept = UnsavedNotes::takeKeptFile(); !kept.empty()) {
    auto alert = std::make_shared<ui::AlertView>(
        app_state::text("Unsaved Note Kept"),
        ns::replaceAll(app_state::text("A note being written when Zarvel last closed could not be saved. Its text is "
                                       "kept in %@."),
                       "%@", kept),
        std::weak_ptr<ui::AlertViewDelegate>(), app_state::text("OK"));
    alert->show();
  }

  std::vector<std::string> readOnly;
  if (auto reason = dbHandler_->userDatabaseReadOnlyReason()) readOnly.push_back(*reason);
  if (std::string reason = defaults().lastWriteError(); !reason.empty()) {
    readOnly.push_back(reason);
    settingsWriteFailureReported_ = true;  // said here for this session
  }
  if (readOnly.empty()) return;
  auto alert = std::make_shared<ui::AlertView>(
      app_state::text("Changes Will Not Be Saved"),
      app_state::text("Zarvel can only read its data, so bookmarks, notes and settings changed now will be "
                      "lost:") + "\n" + ns::implode(readOnly, "\n"),
      std::weak_ptr<ui::AlertViewDelegate>(), app_state::text("OK"));
  alert->show();
}

void ZarvelSDKAppDelegate::showUpdateNotice() {
  MarkUpgraded(false);
  auto notice = std::make_shared<ui::AlertView>(
      app_state::text("Update Notice"),
      app_state::text("Zarvel now supports color coded Tajweed and changing of font sizes. These can be "
                      "configured from the settings screen."),
      std::weak_ptr<ui::AlertViewDelegate>(), app_state::text("OK"));
  notice->show();
}

void ZarvelSDKAppDelegate::performAfterDelay(const std::string& name, double delay, std::function<void()> fn) {
  auto& loop = ns::RunLoop::main();
  loop.cancelPreviousPerformRequests(this, name);
  loop.performAfter(this, name, delay, std::move(fn));
}

// The Friday check 3 s on, and the rate prompt 2 s on once per foreground period.
// A check still pending from the period before (back within the delay) is
// replaced, so the prompt never shows twice.
void ZarvelSDKAppDelegate::scheduleForegroundChecks() {
  performAfterDelay("remindKahf", 3.0, [this] { remindKahf(); });
  if (!checkedNagScreen) {
    checkedNagScreen = true;
    performAfterDelay("showNagScreen", 2.0, [this] { showNagScreen(); });
  }
}

void ZarvelSDKAppDelegate::applicationWillResignActive(ui::Application&) {
  auto surah = ipadRootViewController_ ? ipadRootViewController_->viewContSurah() : nullptr;
  if (!surah) return;
  surah->saveCurrentSurahAndVerse();
  surah->registerRemoteEvents();
}

void ZarvelSDKAppDelegate::applicationDidEnterBackground(ui::Application&) {
  IsInBackground = true;
  resetSleep();
  checkedNagScreen = false;
  landscapeWarningShown = false;
}

void ZarvelSDKAppDelegate::applicationWillEnterForeground(ui::Application&) {
  IsInBackground = false;
  if (auto surah = ipadRootViewController_ ? ipadRootViewController_->viewContSurah() : nullptr)
    surah->unregisterRemoteEvents();
  ResetArabicCheck();
  SetupAlKahfReminders();
  scheduleForegroundChecks();
}

void ZarvelSDKAppDelegate::applicationWillTerminate(ui::Application&) {
  defaults().synchronize();
  finalizeView();
}

void ZarvelSDKAppDelegate::didReceiveLocalNotification(ui::Application&, const ui::LocalNotification&) {
  showSurahView(18, 1, false, false);
}

// ---- forwarders to the tablet root -----------------------------------------------------------------

void ZarvelSDKAppDelegate::setIpadRootViewController(std::shared_ptr<iPadRootViewController> root) {
  ipadRootViewController_ = std::move(root);
}

void ZarvelSDKAppDelegate::showSurahView(int surah, int verse, bool play, bool animated) {
  if (!ipadRootViewController_) return;
  if (auto index = ipadRootViewController_->viewContIndex()) index->showSurahView(this, surah, verse, play, animated);
  auto reading = ipadRootViewController_->viewContSurah();
  if (!reading) return;
  reading->updateSurahNameButton();
  if (!play) reading->asyncSurahReload();
}

bool ZarvelSDKAppDelegate::isiPadInFullScreen() const {
  return ipadRootViewController_ && ipadRootViewController_->isFloatingViewExpanded();
}

bool ZarvelSDKAppDelegate::isiPadLandscape() const {
  return ipadRootViewController_ && ipadRootViewController_->IsInLandscape();
}

void ZarvelSDKAppDelegate::reloadSurahView() {
  if (ipadRootViewController_) ipadRootViewController_->reloadSurahView();
}

void ZarvelSDKAppDelegate::reloadIndexView() {
  if (ipadRootViewController_) ipadRootViewController_->reloadIndexView();
}

void ZarvelSDKAppDelegate::refreshTheme() {
  if (ipadRootViewController_) ipadRootViewController_->refreshTheme();
}

void ZarvelSDKAppDelegate::filterBookmarksOnGroup(int group) {
  if (ipadRootViewController_) ipadRootViewController_->filterBookmarksOnGroup(group);
}

void ZarvelSDKAppDelegate::filterSearchViewWithSavedSearch(std::shared_ptr<SavedSearch> search) {
  if (ipadRootViewController_) ipadRootViewController_->filterSearchViewWithSavedSearch(std::move(search));
}

// Callers pass surah then verse; the reading screen takes verse then surah.
void ZarvelSDKAppDelegate::refreshSurahViewWith(int surah, int verse) {
  auto reading = ipadRootViewController_ ? ipadRootViewController_->viewContSurah() : nullptr;
  if (reading) reading->updateBookmarkForVerse(verse, surah);
}

// ---- the social-network session ----------------------------------------------------------------------

// A copy that has not been told where the network is has no session.
std::shared_ptr<SocialNetwork> ZarvelSDKAppDelegate::socialNetwork() {
  if (socialNetwork_) return socialNetwork_;
  SocialConfiguration services = SocialConfiguration::current();
  if (!services.isConfigured()) return nullptr;
  socialNetwork_ = std::make_shared<SocialNetwork>(services.appId, services);
  sessionDelegate_ = std::make_shared<SessionDelegate>(weak_from_this());
  if (!defaults().boolForKey(kSocialAuth) || !socialNetwork_->isSessionValid()) logInToSocialNetworkAgain();
  return socialNetwork_;
}

void ZarvelSDKAppDelegate::logInToSocialNetworkAgain() {
  if (!socialNetwork_) return;
  permissions.clear();
  if (defaults().boolForKey(kSocialAuth)) {
    socialNetwork_->authorize({}, sessionDelegate_);
  } else {
    permissions = {"publish_stream", "offline_access"};
    socialNetwork_->authorize(permissions, sessionDelegate_);
  }
}

// A login that failed (not one the reader cancelled) says so.
void ZarvelSDKAppDelegate::snDidNotLogin(bool cancelled) {
  if (cancelled) return;
  auto alert = std::make_shared<ui::AlertView>(
      Language::get("Login Failed", "Login Failed"),
      Language::get("Logging in to the social network did not succeed. Please try again.",
                    "Logging in to the social network did not succeed. Please try again."),
      std::weak_ptr<ui::AlertViewDelegate>(), Language::get("OK", "OK"));
  alert->show();
}

void ZarvelSDKAppDelegate::snDidLogin() {
  defaults().setBool(true, kSocialAuth);
  defaults().synchronize();
}
