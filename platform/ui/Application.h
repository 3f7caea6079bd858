#pragma once
// The application object: one per process. It holds the delegate, the windows
// and the life-cycle state, and is driven by the backend (launch, focus,
// minimise, close, memory pressure, inbound URLs, fired notifications).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/InterfaceOrientation.h"
#include "platform/ui/LocalNotification.h"
#include "platform/ui/Responder.h"

namespace ui {

class Application;
class Window;

enum class ApplicationState { Active, Inactive, Background };

// Notification names posted on the default centre along with the delegate calls.
inline constexpr const char* ApplicationDidFinishLaunchingNotification =
    "UIApplicationDidFinishLaunchingNotification";
inline constexpr const char* ApplicationWillResignActiveNotification =
    "UIApplicationWillResignActiveNotification";
inline constexpr const char* ApplicationDidEnterBackgroundNotification =
    "UIApplicationDidEnterBackgroundNotification";
inline constexpr const char* ApplicationWillEnterForegroundNotification =
    "UIApplicationWillEnterForegroundNotification";
inline constexpr const char* ApplicationDidBecomeActiveNotification =
    "UIApplicationDidBecomeActiveNotification";
inline constexpr const char* ApplicationWillTerminateNotification =
    "UIApplicationWillTerminateNotification";
inline constexpr const char* ApplicationDidReceiveMemoryWarningNotification =
    "UIApplicationDidReceiveMemoryWarningNotification";

// What the application tells its delegate. Every call is optional.
class ApplicationDelegate {
 public:
  virtual ~ApplicationDelegate() = default;
  virtual void applicationDidFinishLaunching(Application&) {}
  virtual void applicationWillResignActive(Application&) {}
  virtual void applicationDidEnterBackground(Application&) {}
  virtual void applicationWillEnterForeground(Application&) {}
  virtual void applicationDidBecomeActive(Application&) {}
  virtual void applicationWillTerminate(Application&) {}
  virtual void applicationDidReceiveMemoryWarning(Application&) {}
  // Answers whether the URL was handled (NO when not answered).
  virtual bool handleOpenURL(Application&, const std::string& url) { (void)url; return false; }
  virtual void didReceiveLocalNotification(Application&, const LocalNotification&) {}
};

class Application : public Responder {
 public:
  static Application& shared();
  ~Application() override;

  // The application owns its delegate.
  void setDelegate(std::shared_ptr<ApplicationDelegate> delegate);
  ApplicationDelegate* delegate() const { return delegate_.get(); }
  std::shared_ptr<ApplicationDelegate> sharedDelegate() const { return delegate_; }

  ApplicationState applicationState() const { return state_; }
  bool isLaunched() const { return launched_; }
  bool isTerminated() const { return terminated_; }
  Window* keyWindow() const;

  // Driven by the backend. Each moves the state machine and tells the
  // delegate; calls that do not fit the current state are ignored.
  void launch();                 // didFinishLaunching, then becomes active
  void resignActive();           // active -> inactive
  void becomeActive();           // inactive -> active
  void enterBackground();        // (resigns first) -> background
  void enterForeground();        // background -> inactive -> active
  void terminate();              // willTerminate once; stops the run loop
  void receiveMemoryWarning();
  bool openInboundURL(const std::string& url);
  void deliverLocalNotification(const LocalNotification& notification);

  // The orientation of the status bar, which the interface follows (the window
  // sets it as it turns).
  InterfaceOrientation statusBarOrientation() const { return statusBarOrientation_; }
  void setStatusBarOrientation(InterfaceOrientation o) { statusBarOrientation_ = o; }
  // The look of the status bar in the platform's numbering (0 default, 1 black
  // translucent, 2 black opaque); the desktop draws none, so it is only kept.
  int statusBarStyle() const { return statusBarStyle_; }
  void setStatusBarStyle(int style, bool animated = false) {
    (void)animated;
    statusBarStyle_ = style;
  }
  // The spinner in the status bar.
  bool isNetworkActivityIndicatorVisible() const { return networkActivity_; }
  void setNetworkActivityIndicatorVisible(bool visible);

  // Remote-control events (media keys) reach the first responder only between
  // these two calls.
  void beginReceivingRemoteControlEvents() { receivesRemoteControl_ = true; }
  void endReceivingRemoteControlEvents() { receivesRemoteControl_ = false; }
  bool isReceivingRemoteControlEvents() const { return receivesRemoteControl_; }

  // Asks for the program to start again once it has ended (the entry point
  // starts it, on the same data); terminate() ends it.
  void requestRelaunch() { relaunch_ = true; }
  bool relaunchRequested() const { return relaunch_; }

  // Called when terminate() has run (the backend closes its window).
  void setTerminationHandler(std::function<void()> handler) { onTerminate_ = std::move(handler); }

  // Forgets the delegate and state (tests).
  void resetForTesting();

 private:
  std::shared_ptr<ApplicationDelegate> delegate_;
  ApplicationState state_ = ApplicationState::Inactive;
  bool launched_ = false;
  bool terminated_ = false;
  bool relaunch_ = false;
  std::function<void()> onTerminate_;
  InterfaceOrientation statusBarOrientation_ = InterfaceOrientation::LandscapeRight;
  bool networkActivity_ = false;
  int statusBarStyle_ = 0;
  bool receivesRemoteControl_ = false;
};

}  // namespace ui
