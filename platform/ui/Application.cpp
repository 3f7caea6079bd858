#include "platform/ui/Application.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Image.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {
void post(const char* name) { ns::NotificationCenter::defaultCenter().postNotificationName(name); }
}  // namespace

Application& Application::shared() {
  static Application app;
  return app;
}

// The delegate leaves its slot before it is destroyed: whatever its screens
// ask of the application while they go (their delegate) finds none, instead
// of a pointer whose owner is half destroyed.
Application::~Application() { auto last = std::move(delegate_); }

void Application::setDelegate(std::shared_ptr<ApplicationDelegate> delegate) {
  delegate_ = std::move(delegate);
}

Window* Application::keyWindow() const { return Window::keyWindow(); }

void Application::launch() {
  if (launched_) return;
  launched_ = true;
  state_ = ApplicationState::Inactive;
  if (delegate_) delegate_->applicationDidFinishLaunching(*this);
  post(ApplicationDidFinishLaunchingNotification);
  becomeActive();
}

void Application::becomeActive() {
  if (!launched_ || terminated_ || state_ != ApplicationState::Inactive) return;
  state_ = ApplicationState::Active;
  if (delegate_) delegate_->applicationDidBecomeActive(*this);
  post(ApplicationDidBecomeActiveNotification);
}

void Application::resignActive() {
  if (terminated_ || state_ != ApplicationState::Active) return;
  if (Window* w = keyWindow()) w->cancelAllTouches();
  state_ = ApplicationState::Inactive;
  if (delegate_) delegate_->applicationWillResignActive(*this);
  post(ApplicationWillResignActiveNotification);
}

void Application::enterBackground() {
  if (!launched_ || terminated_ || state_ == ApplicationState::Background) return;
  resignActive();
  state_ = ApplicationState::Background;
  if (delegate_) delegate_->applicationDidEnterBackground(*this);
  post(ApplicationDidEnterBackgroundNotification);
}

void Application::enterForeground() {
  if (terminated_ || state_ != ApplicationState::Background) return;
  state_ = ApplicationState::Inactive;
  if (delegate_) delegate_->applicationWillEnterForeground(*this);
  post(ApplicationWillEnterForegroundNotification);
  becomeActive();
}

void Application::terminate() {
  if (terminated_) return;
  terminated_ = true;
  if (delegate_) delegate_->applicationWillTerminate(*this);
  post(ApplicationWillTerminateNotification);
  if (onTerminate_) onTerminate_();
}

void Application::receiveMemoryWarning() {
  ViewController::sendMemoryWarningToAll();
  if (delegate_) delegate_->applicationDidReceiveMemoryWarning(*this);
  post(ApplicationDidReceiveMemoryWarningNotification);
  // Last, so the images the steps above let go of go too.
  Image::purgeUnusedNamedImages();
}

bool Application::openInboundURL(const std::string& url) {
  return delegate_ && !terminated_ && delegate_->handleOpenURL(*this, url);
}

void Application::deliverLocalNotification(const LocalNotification& notification) {
  if (delegate_ && !terminated_) delegate_->didReceiveLocalNotification(*this, notification);
}

void Application::setNetworkActivityIndicatorVisible(bool visible) {
  if (networkActivity_ == visible) return;
  networkActivity_ = visible;
  if (Window* w = keyWindow()) w->setNeedsRedraw();
}

void Application::resetForTesting() {
  statusBarOrientation_ = InterfaceOrientation::LandscapeRight;
  networkActivity_ = false;
  statusBarStyle_ = 0;
  receivesRemoteControl_ = false;
  delegate_.reset();
  state_ = ApplicationState::Inactive;
  launched_ = false;
  terminated_ = false;
  relaunch_ = false;
  onTerminate_ = nullptr;
}

}  // namespace ui
