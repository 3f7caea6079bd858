#include "toolkit/core/TKNavigator.h"

#include "platform/foundation/Clock.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "toolkit/core/TKGlobal.h"
#include "toolkit/core/TKModelViewController.h"
#include "toolkit/core/TKPopupViewController.h"
#include "toolkit/core/ViewController+TKCategory.h"

namespace {

// Kept for the life of the process: its controllers are not freed during
// exit, after the tables and hooks they would tell are gone.
std::unique_ptr<TKNavigator>& sharedNavigator() {
  static auto& navigator = *new std::unique_ptr<TKNavigator>;
  return navigator;
}

std::shared_ptr<ui::ViewController> shared(ui::ViewController* c) {
  return c ? c->weak_from_this().lock() : nullptr;
}

// A pop whose controller was opened with a transition runs the inverse one.
void installPopHook() {
  static const bool installed = [] {
    ui::NavigationController::setPopHook(
        [](ui::NavigationController& nav, bool animated, std::shared_ptr<ui::ViewController>& popped) {
          ui::ViewController* top = nav.topViewController();
          if (!animated || !top || !TKNavigator::exists()) return false;
          std::string url = ui::originalNavigatorURL(*top);
          if (url.empty()) return false;
          int transition = TKNavigator::navigator().URLMap().transitionForURL(url);
          if (transition == 0) return false;
          popped = ui::popViewControllerAnimatedWithTransition(nav, ui::invertTransition(transition));
          return true;
        });
    ui::TKControllerTableCount();  // the controller tables clear themselves from now on
    return true;
  }();
  (void)installed;
}

}  // namespace

TKNavigator& TKNavigator::navigator() {
  auto& n = sharedNavigator();
  if (!n) n = std::make_unique<TKNavigator>();
  return *n;
}

bool TKNavigator::exists() { return sharedNavigator() != nullptr; }

void TKNavigator::setNavigator(std::unique_ptr<TKNavigator> navigator) { sharedNavigator() = std::move(navigator); }

TKNavigator::TKNavigator() {
  installPopHook();
  _willTerminate = ns::NotificationCenter::defaultCenter().addObserver(
      ui::ApplicationWillTerminateNotification, [this](const ns::Value&) {
        if (_persistenceMode != 0) persistViewControllers();
      });
}

TKNavigator::~TKNavigator() = default;

void TKNavigator::setRootViewController(std::shared_ptr<ui::ViewController> controller) {
  if (controller == _rootViewController) return;
  _rootViewController = std::move(controller);
  ensureWindow();
}

void TKNavigator::ensureWindow() {
  ui::Window* window = _window.get();
  if (!window) window = ui::Application::shared().keyWindow();
  if (!window) {
    _window = std::make_shared<ui::Window>(TKOrientedScreenBounds());
    _window->makeKeyAndVisible();
    window = _window.get();
  }
  if (_rootViewController) window->addSubview(_rootViewController->view());
}

std::string TKNavigator::URL() const {
  ui::ViewController* top = topViewController();
  return top ? ui::navigatorURL(*top) : std::string();
}

std::shared_ptr<ui::ViewController> TKNavigator::openURL(const std::string& urlString, const std::string& parent,
                                                         const ns::Dictionary* query, const ns::Dictionary* state,
                                                         bool animated, int transition, bool withDelay) {
  if (urlString.empty()) return nullptr;
  std::optional<TKURL> url = TKURL::parse(urlString);
  if (!url) return nullptr;
  if (_URLMap.isAppURL(*url)) {
    ui::URLOpener::openURL(urlString);
    return nullptr;
  }
  std::string text = urlString;
  if (url->scheme.empty()) {
    text = (url->hasFragment ? URL() : std::string("http://")) + text;
    url = TKURL::parse(text);
    if (!url) return nullptr;
  }
  if (_delegate && !_delegate->navigatorShouldOpenURL(*this, *url)) return nullptr;
  if (withDelay) beginDelay();
  std::shared_ptr<TKURLNavigatorPattern> pattern;
  std::shared_ptr<ui::ViewController> controller = viewControllerForURL(text, query, &pattern);
  if (controller) {
    if (state) {
      ui::restoreView(*controller, *state);
      ui::setFrozenState(*controller, state);
      if (auto* mvc = dynamic_cast<TKModelViewController*>(controller.get())) mvc->model();
    }
    if (_delegate) _delegate->navigatorWillOpenURL(*this, *url, controller.get());
    if (transition == 0 && pattern) transition = pattern->transition();
    bool presented = presentController(controller, parent, pattern.get(), animated, transition);
    if (withDelay && !presented) cancelDelay();
    return controller;
  }
  if (!_opensExternalURLs) return nullptr;
  if (_delegate) _delegate->navigatorWillOpenURL(*this, *url, nullptr);
  ui::URLOpener::openURL(text);
  return nullptr;
}

std::shared_ptr<ui::ViewController> TKNavigator::openURLs(const std::vector<std::string>& urls) {
  std::shared_ptr<ui::ViewController> last;
  for (const std::string& url : urls) last = openURL(url, false);
  return last;
}

std::shared_ptr<ui::ViewController> TKNavigator::viewControllerForURL(
    const std::string& url, const ns::Dictionary* query, std::shared_ptr<TKURLNavigatorPattern>* pattern) {
  std::size_t hash = url.rfind('#');
  if (hash == std::string::npos) {
    auto controller = std::dynamic_pointer_cast<ui::ViewController>(_URLMap.objectForURL(url, query, pattern));
    if (!controller) return nullptr;
    ui::setOriginalNavigatorURL(*controller, url);
    if (isDelayed()) _delayedControllers.push_back(controller);
    return controller;
  }
  std::string base = url.substr(0, hash);
  std::shared_ptr<TKObject> target;
  if (base == URL()) {
    target = std::dynamic_pointer_cast<TKObject>(shared(visibleViewController()));
  } else {
    target = _URLMap.objectForURL(base, nullptr, pattern);
  }
  if (!target) return nullptr;
  auto result = std::dynamic_pointer_cast<ui::ViewController>(_URLMap.dispatchURL(url, target.get(), query));
  return result ? result : std::dynamic_pointer_cast<ui::ViewController>(target);
}

bool TKNavigator::presentController(const std::shared_ptr<ui::ViewController>& controller,
                                    const std::string& parentURL, const TKURLNavigatorPattern* pattern,
                                    bool animated, int transition) {
  ui::ViewController* topAtStart = topViewController();
  if (!controller || controller.get() == topAtStart) return false;
  std::string parentText = !parentURL.empty() ? parentURL : (pattern ? pattern->parentURL() : "");
  ui::ViewController* parent = parentForController(controller, parentText);
  if (parent && parent != topAtStart) presentController(shared(parent), nullptr, TKNavigationModeNone, false, 0);
  return presentController(controller, parent, pattern ? pattern->navigationMode() : TKNavigationModeNone,
                           animated, transition);
}

ui::ViewController* TKNavigator::parentForController(const std::shared_ptr<ui::ViewController>& controller,
                                                     const std::string& parentURL) {
  if (controller == _rootViewController) return nullptr;
  if (!_rootViewController && !ui::canContainControllers(*controller))
    setRootViewController(ui::NavigationController::withRoot(nullptr));
  if (!parentURL.empty()) return openURL(parentURL, "", nullptr, nullptr, false, 0, false).get();
  ui::ViewController* top = topViewController();
  return top == controller.get() ? nullptr : top;
}

bool TKNavigator::presentController(const std::shared_ptr<ui::ViewController>& controller, ui::ViewController* parent,
                                    TKNavigationMode mode, bool animated, int transition) {
  if (!controller) return false;
  if (!_rootViewController) {
    setRootViewController(controller);
    return true;
  }
  if (ui::ViewController* super = ui::superController(*controller)) {
    if (super == parent) return false;
    // Already open somewhere: bring it and each container above it to the front.
    ui::ViewController* x = controller.get();
    ui::ViewController* y = super;
    while (x && y) {
      ui::ViewController* next = ui::superController(*y);
      ui::bringControllerToFront(*y, *x, animated && !next);
      x = y;
      y = next;
    }
    return false;
  }
  if (!parent) return true;
  if (auto popup = std::dynamic_pointer_cast<TKPopupViewController>(controller)) {
    ui::setPopupViewController(*parent, popup);
    ui::setSuperController(*popup, shared(parent));
    popup->showInView(*parent->view(), animated);
    return true;
  }
  if (mode == TKNavigationModeModal) {
    std::shared_ptr<ui::ViewController> presented = controller;
    if (!dynamic_cast<ui::NavigationController*>(controller.get()))
      presented = ui::NavigationController::withRoot(controller);
    parent->presentModalViewController(presented, animated);
    return true;
  }
  ui::addSubcontroller(*parent, controller, animated, transition);
  return true;
}

ui::ViewController* TKNavigator::topViewController() const {
  ui::ViewController* c = _rootViewController.get();
  for (int steps = 0; c && steps < 1000; ++steps) {
    ui::ViewController* next = c->modalViewController();
    if (!next) next = ui::topSubcontroller(*c);
    if (!next) break;
    c = next;
  }
  return c;
}

ui::ViewController* TKNavigator::frontViewControllerForController(ui::ViewController* controller) {
  ui::ViewController* c = controller;
  for (int steps = 0; c && steps < 1000; ++steps) {
    if (ui::ViewController* top = ui::topSubcontroller(*c)) c = top;
    if (!c->modalViewController()) break;
    c = c->modalViewController();
  }
  return c;
}

ui::ViewController* TKNavigator::frontNavigationController() const {
  auto* root = _rootViewController.get();
  return dynamic_cast<ui::NavigationController*>(root) ? root : nullptr;
}

ui::ViewController* TKNavigator::frontViewController() const {
  ui::ViewController* nav = frontNavigationController();
  return frontViewControllerForController(nav ? nav : _rootViewController.get());
}

void TKNavigator::persistViewControllers() {
  ns::Array path;
  if (_rootViewController) persistController(*_rootViewController, path);
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  defaults.setObject(path, "TKNavigatorHistory");
  defaults.setObject(ns::Date(ns::Clock::current().now()), "TKNavigatorHistoryTime");
  defaults.synchronize();
}

void TKNavigator::persistController(ui::ViewController& controller, ns::Array& path) {
  std::string url = ui::navigatorURL(controller);
  if (!url.empty()) {
    ns::Dictionary state{{"__navigatorURL__", url}};
    if (ui::persistView(controller, state)) path.push_back(state);
  }
  if (auto* nav = dynamic_cast<ui::NavigationController*>(&controller)) {
    auto stack = nav->viewControllers();
    for (auto& c : stack) persistController(*c, path);
  }
  ui::ViewController* modal = controller.modalViewController();
  if (modal && modal->parentViewController() == &controller) {
    persistController(*modal, path);
  } else if (ui::ViewController* popup = ui::popupViewController(controller)) {
    if (ui::superController(*popup) == &controller) persistController(*popup, path);
  }
}

std::shared_ptr<ui::ViewController> TKNavigator::restoreViewControllers() {
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  std::optional<ns::Date> time = defaults.dateForKey("TKNavigatorHistoryTime");
  ns::Array history = defaults.arrayForKey("TKNavigatorHistory");
  if (_persistenceExpirationAge != 0 && time &&
      ns::Clock::current().now() - time->timeIntervalSince1970() > _persistenceExpirationAge)
    return nullptr;
  std::shared_ptr<ui::ViewController> last;
  bool previousContains = false;
  for (const ns::Value& saved : history) {
    if (!saved.isDictionary()) continue;
    const ns::Dictionary& state = saved.dictionary();
    std::string url = saved["__navigatorURL__"].stringValue();
    if (url.empty()) continue;
    std::shared_ptr<ui::ViewController> controller = openURL(url, "", nullptr, &state, false, 0, false);
    if (controller) last = controller;
    if (_persistenceMode == 1 && previousContains) break;
    previousContains = controller && ui::canContainControllers(*controller);
  }
  if (ui::Window* window = _window ? _window.get() : ui::Application::shared().keyWindow()) window->makeKeyAndVisible();
  return last;
}

void TKNavigator::resetDefaults() {
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  defaults.setObject(ns::Value(), "TKNavigatorHistory");
  defaults.setObject(ns::Value(), "TKNavigatorHistoryTime");
  defaults.synchronize();
}

std::string TKNavigator::pathForObject(ui::ViewController* controller) const {
  if (!controller) return "";
  std::vector<std::string> keys;
  ui::ViewController* c = controller;
  for (int steps = 0; steps < 1000; ++steps) {
    ui::ViewController* super = ui::superController(*c);
    if (!super) break;
    std::string key = ui::keyForSubcontroller(*super, *c);
    if (!key.empty()) keys.push_back(key);
    c = super;
  }
  return ns::componentsJoinedByString(keys, "/");
}

ui::ViewController* TKNavigator::objectForPath(const std::string& path) const {
  ui::ViewController* c = _rootViewController.get();
  std::vector<std::string> keys = ns::componentsSeparatedByString(path, "/");
  for (auto it = keys.rbegin(); c && it != keys.rend(); ++it)
    if (!it->empty()) c = ui::subcontrollerForKey(*c, *it);
  return c;
}

void TKNavigator::endDelay() {
  if (_delayCount == 0) return;
  if (--_delayCount == 0) {
    auto delayed = std::move(_delayedControllers);
    _delayedControllers.clear();
    for (auto& c : delayed)
      if (auto* tk = dynamic_cast<TKViewController*>(c.get())) tk->delayDidEnd();
  }
}

void TKNavigator::cancelDelay() {
  if (_delayCount == 0) return;
  if (--_delayCount == 0) _delayedControllers.clear();
}

void TKNavigator::reload() {
  if (auto* mvc = dynamic_cast<TKModelViewController*>(visibleViewController())) mvc->reload();
}

void TKNavigatorOpenURLString(const std::string& url) { TKNavigator::navigator().openURL(url, true); }
