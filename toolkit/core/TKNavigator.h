#pragma once
// The toolkit's URL-driven navigation: a URL becomes a controller through the
// URL map and is shown as the root, pushed into its parent, presented modally
// or as a popup, or brought to the front where it is already open. URLs that
// belong to other applications go to the system (only what the URL opener
// allows: http, https, mailto). Created on first use; main thread only.
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "toolkit/core/TKURLMap.h"

class TKNavigator;

class TKNavigatorDelegate {
 public:
  virtual ~TKNavigatorDelegate() = default;
  virtual bool navigatorShouldOpenURL(TKNavigator&, const TKURL&) { return true; }
  virtual void navigatorWillOpenURL(TKNavigator&, const TKURL&, ui::ViewController* controller) { (void)controller; }
};

class TKNavigator {
 public:
  // The shared navigator, created on the first call.
  static TKNavigator& navigator();
  static bool exists();
  // Replaces the shared navigator (tests); null forgets it.
  static void setNavigator(std::unique_ptr<TKNavigator> navigator);

  TKNavigator();
  ~TKNavigator();
  TKNavigator(const TKNavigator&) = delete;
  TKNavigator& operator=(const TKNavigator&) = delete;

  TKURLMap& URLMap() { return _URLMap; }
  void setDelegate(TKNavigatorDelegate* delegate) { _delegate = delegate; }
  ui::Window* window() const { return _window.get(); }
  void setWindow(std::shared_ptr<ui::Window> window) { _window = std::move(window); }
  ui::ViewController* rootViewController() const { return _rootViewController.get(); }
  void setRootViewController(std::shared_ptr<ui::ViewController> controller);
  bool supportsShakeToReload() const { return _supportsShakeToReload; }
  void setSupportsShakeToReload(bool on) { _supportsShakeToReload = on; }
  bool opensExternalURLs() const { return _opensExternalURLs; }
  void setOpensExternalURLs(bool on) { _opensExternalURLs = on; }
  int persistenceMode() const { return _persistenceMode; }
  void setPersistenceMode(int mode) { _persistenceMode = mode; }

  // The navigator URL of the top controller.
  std::string URL() const;
  void setURL(const std::string& url) { openURL(url, true); }

  // The worker behind every open; the controller opened, or null.
  std::shared_ptr<ui::ViewController> openURL(const std::string& url, const std::string& parent,
                                              const ns::Dictionary* query, const ns::Dictionary* state,
                                              bool animated, int transition, bool withDelay);
  std::shared_ptr<ui::ViewController> openURL(const std::string& url, bool animated, int transition = 0) {
    return openURL(url, "", nullptr, nullptr, animated, transition, false);
  }
  std::shared_ptr<ui::ViewController> openURL(const std::string& url, const ns::Dictionary& query, bool animated) {
    return openURL(url, "", &query, nullptr, animated, 0, false);
  }
  // Opens each unanimated; the last controller, null for none.
  std::shared_ptr<ui::ViewController> openURLs(const std::vector<std::string>& urls);

  std::shared_ptr<ui::ViewController> viewControllerForURL(const std::string& url, const ns::Dictionary* query = nullptr,
                                                           std::shared_ptr<TKURLNavigatorPattern>* pattern = nullptr);

  bool presentController(const std::shared_ptr<ui::ViewController>& controller, const std::string& parentURL,
                         const TKURLNavigatorPattern* pattern, bool animated, int transition);
  bool presentController(const std::shared_ptr<ui::ViewController>& controller, ui::ViewController* parent,
                         TKNavigationMode mode, bool animated, int transition);

  ui::ViewController* topViewController() const;
  ui::ViewController* visibleViewController() const { return topViewController(); }

  // The front controller: the root's (or a navigation root's) top controller,
  // through any modal ones it shows.
  ui::ViewController* frontNavigationController() const;
  ui::ViewController* frontViewController() const;
  static ui::ViewController* frontViewControllerForController(ui::ViewController* controller);

  // Persistence (mode 0 saves nothing; 1 restores up to the first controller
  // after a container; other values everything): the open controllers' URLs
  // and saved state under "TKNavigatorHistory", the time under
  // "TKNavigatorHistoryTime". Restoring reopens them; an expired history
  // restores nothing.
  double persistenceExpirationAge() const { return _persistenceExpirationAge; }
  void setPersistenceExpirationAge(double age) { _persistenceExpirationAge = age; }
  void persistViewControllers();
  void persistController(ui::ViewController& controller, ns::Array& path);
  std::shared_ptr<ui::ViewController> restoreViewControllers();
  void resetDefaults();
  // The keys from the root to the controller ("1/0"); "" for none; objectForPath reverses it.
  std::string pathForObject(ui::ViewController* controller) const;
  ui::ViewController* objectForPath(const std::string& path) const;

  bool isDelayed() const { return _delayCount > 0; }
  void beginDelay() { ++_delayCount; }
  void endDelay();
  void cancelDelay();

  // Reloads the visible controller when it follows a model.
  void reload();

 private:
  ui::ViewController* parentForController(const std::shared_ptr<ui::ViewController>& controller,
                                          const std::string& parentURL);
  void ensureWindow();

  TKURLMap _URLMap;
  TKNavigatorDelegate* _delegate = nullptr;
  std::shared_ptr<ui::Window> _window;
  std::shared_ptr<ui::ViewController> _rootViewController;
  std::vector<std::shared_ptr<ui::ViewController>> _delayedControllers;
  int _persistenceMode = 0;
  double _persistenceExpirationAge = 0;
  int _delayCount = 0;
  bool _supportsShakeToReload = false;
  bool _opensExternalURLs = false;
  ns::Observer _willTerminate;
};

// Opens the URL animated through the shared navigator (tapped links and rows).
void TKNavigatorOpenURLString(const std::string& url);
