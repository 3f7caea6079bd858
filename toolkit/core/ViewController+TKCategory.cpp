#include "toolkit/core/ViewController+TKCategory.h"

#include <algorithm>
#include <map>

#include <functional>

#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "toolkit/core/TKNavigator.h"
#include "toolkit/core/TKURLRequestQueue.h"
#include "toolkit/core/TKViewController.h"

namespace ui {

namespace {

struct Entries {
  std::string url;
  std::weak_ptr<ViewController> super;
  std::weak_ptr<ViewController> popup;
  bool empty() const { return url.empty() && super.expired() && popup.expired(); }
};

// Keyed by the controller's address, which stays unique while it lives: the
// destruction hook removes the entry before the address can be reused. The
// tables outlive every static, as controllers may be destroyed during exit.
std::map<const ViewController*, Entries>& tables() {
  static auto& entries = *new std::map<const ViewController*, Entries>;
  static const bool hooked = [] {
    ViewController::addDestructionHook([](const ViewController* c) {
      auto& t = tables();
      auto it = t.find(c);
      if (it == t.end()) return;
      std::string url = it->second.url;
      t.erase(it);
      if (!url.empty() && TKNavigator::exists()) TKNavigator::navigator().URLMap().removeObjectForURL(url);
    });
    return true;
  }();
  (void)hooked;
  return entries;
}

Entries* entriesFor(const ViewController& c) {
  auto& t = tables();
  auto it = t.find(&c);
  return it == t.end() ? nullptr : &it->second;
}

void update(const ViewController& c, const std::function<void(Entries&)>& change) {
  auto& t = tables();
  Entries& e = t[&c];
  change(e);
  if (e.empty()) t.erase(&c);
}

NavigationController* navigationOf(const ViewController& c) { return c.navigationController(); }

// Turns the navigation controller's view like a page from what it showed to
// what it shows now; the queue, suspended meanwhile, resumes at the end.
void runTransition(NavigationController& nav, int transition, const std::function<void()>& change) {
  bool valid = transition >= 1 && transition <= 4;
  if (valid) {
    View::beginAnimations("pushAnimation");
    View::setAnimationDuration(kTransitionDuration);
    View::setAnimationTransition(static_cast<AnimationTransition>(transition), nav.view().get(), true);
    View::setAnimationDidStopSelector(
        [](const std::string&, bool, void*) { TKURLRequestQueue::mainQueue().setSuspended(false); });
  }
  change();
  // Suspended after the change: the controller's own appearance resumes the
  // queue, and the pause is to last as long as the transition.
  TKURLRequestQueue::mainQueue().setSuspended(true);
  if (valid)
    View::commitAnimations();
  else
    TKURLRequestQueue::mainQueue().setSuspended(false);
}

}  // namespace

std::size_t TKControllerTableCount() { return tables().size(); }

std::string originalNavigatorURL(const ViewController& controller) {
  Entries* e = entriesFor(controller);
  return e ? e->url : std::string();
}

void setOriginalNavigatorURL(const ViewController& controller, const std::string& url) {
  update(controller, [&](Entries& e) { e.url = url; });
}

ViewController* superController(const ViewController& controller) {
  if (ViewController* parent = controller.parentViewController()) return parent;
  Entries* e = entriesFor(controller);
  return e ? e->super.lock().get() : nullptr;
}

void setSuperController(const ViewController& controller, const std::shared_ptr<ViewController>& super) {
  update(controller, [&](Entries& e) { e.super = super; });
}

ViewController* popupViewController(const ViewController& controller) {
  Entries* e = entriesFor(controller);
  return e ? e->popup.lock().get() : nullptr;
}

void setPopupViewController(const ViewController& controller, const std::shared_ptr<ViewController>& popup) {
  update(controller, [&](Entries& e) { e.popup = popup; });
}

const ns::Dictionary* frozenState(const ViewController& controller) {
  auto* tk = dynamic_cast<const TKViewController*>(&controller);
  return tk ? tk->frozenState() : nullptr;
}

void setFrozenState(ViewController& controller, const ns::Dictionary* state) {
  if (auto* tk = dynamic_cast<TKViewController*>(&controller)) tk->setFrozenState(state);
}

bool persistView(ViewController& controller, ns::Dictionary& state) {
  auto* tk = dynamic_cast<TKViewController*>(&controller);
  return tk ? tk->persistView(state) : true;
}

void restoreView(ViewController& controller, const ns::Dictionary& state) {
  if (auto* tk = dynamic_cast<TKViewController*>(&controller)) tk->restoreView(state);
}

bool canContainControllers(const ViewController& controller) {
  return dynamic_cast<const NavigationController*>(&controller) != nullptr;
}

ViewController* topSubcontroller(const ViewController& controller) {
  // While a toolkit screen searches, its results screen is the one in front.
  if (auto* tk = dynamic_cast<const TKViewController*>(&controller))
    if (ViewController* results = tk->activeSearchResultsController()) return results;
  auto* nav = dynamic_cast<const NavigationController*>(&controller);
  return nav ? nav->topViewController() : nullptr;
}

namespace {
ViewController* neighbour(const ViewController& controller, int step) {
  NavigationController* nav = navigationOf(controller);
  if (!nav) return nullptr;
  auto& stack = nav->viewControllers();
  if (stack.size() < 2) return nullptr;
  auto it = std::find_if(stack.begin(), stack.end(), [&](const auto& c) { return c.get() == &controller; });
  if (it == stack.end()) return nullptr;
  auto index = static_cast<std::ptrdiff_t>(it - stack.begin()) + step;
  if (index < 0 || index >= static_cast<std::ptrdiff_t>(stack.size())) return nullptr;
  return stack[static_cast<std::size_t>(index)].get();
}
}  // namespace

ViewController* previousViewController(const ViewController& controller) { return neighbour(controller, -1); }

ViewController* nextViewController(const ViewController& controller) { return neighbour(controller, 1); }

void addSubcontroller(ViewController& parent, const std::shared_ptr<ViewController>& controller, bool animated,
                      int transition) {
  auto* nav = dynamic_cast<NavigationController*>(&parent);
  if (!nav) nav = parent.navigationController();
  if (!nav) return;
  if (animated && transition != 0)
    pushViewControllerAnimatedWithTransition(*nav, controller, transition);
  else
    nav->pushViewController(controller, animated);
}

void bringControllerToFront(ViewController& parent, ViewController& controller, bool animated) {
  auto* nav = dynamic_cast<NavigationController*>(&parent);
  if (!nav) return;
  auto& stack = nav->viewControllers();
  bool inStack = std::any_of(stack.begin(), stack.end(), [&](const auto& c) { return c.get() == &controller; });
  while (inStack && nav->topViewController() != &controller && nav->viewControllers().size() > 1)
    nav->popViewControllerAnimated(animated && nextViewController(controller) == nav->topViewController());
}

void removeFromSupercontroller(ViewController& controller, bool animated) {
  if (NavigationController* nav = controller.navigationController()) nav->popViewControllerAnimated(animated);
}

std::string keyForSubcontroller(const ViewController& parent, const ViewController& controller) {
  auto* nav = dynamic_cast<const NavigationController*>(&parent);
  if (!nav) return "";
  auto& stack = nav->viewControllers();
  for (std::size_t i = 0; i < stack.size(); ++i)
    if (stack[i].get() == &controller) return std::to_string(i);
  return "";
}

ViewController* subcontrollerForKey(const ViewController& parent, const std::string& key) {
  auto* nav = dynamic_cast<const NavigationController*>(&parent);
  if (!nav || key.empty()) return nullptr;
  // Only plain decimal keys name an index; "-1" or "x" name nothing.
  if (!std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; }) || key.size() > 9)
    return nullptr;
  std::size_t index = std::stoul(key);
  return index < nav->viewControllers().size() ? nav->viewControllers()[index].get() : nullptr;
}

void showBars(ViewController& controller, bool show, bool animated) {
  if (Window* window = controller.responderWindow()) window->setShowsStatusBar(show);
  NavigationController* nav = controller.navigationController();
  if (!nav) nav = dynamic_cast<NavigationController*>(&controller);
  if (!nav) return;
  if (animated) {
    View::beginAnimations("showBars");
    View::setAnimationDuration(0.3);
  }
  nav->navigationBar()->setAlpha(show ? 1 : 0);
  if (animated) View::commitAnimations();
}

int invertTransition(int transition) {
  switch (transition) {
    case 1: return 2;
    case 2: return 1;
    case 3: return 4;
    case 4: return 3;
    default: return 0;
  }
}

void pushViewControllerAnimatedWithTransition(NavigationController& nav, const std::shared_ptr<ViewController>& c,
                                              int transition) {
  runTransition(nav, transition, [&] { nav.pushViewController(c, false); });
}

std::shared_ptr<ViewController> popViewControllerAnimatedWithTransition(NavigationController& nav, int transition) {
  std::shared_ptr<ViewController> popped;
  runTransition(nav, transition, [&] { popped = nav.popViewControllerAnimated(false); });
  return popped;
}

}  // namespace ui
