#pragma once
// What the navigator needs of every controller: the URL it was opened with, a
// super controller and a popup kept beside the platform's parent links (not
// retained, keyed by the controller's identity and dropped when it is
// destroyed), the container operations of navigation controllers, and pushes
// and pops with a view transition. Main thread only.
#include <memory>
#include <string>

#include "platform/foundation/Value.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"

namespace ui {

// "" when the controller was not opened by URL.
std::string originalNavigatorURL(const ViewController& controller);
void setOriginalNavigatorURL(const ViewController& controller, const std::string& url);
inline std::string navigatorURL(const ViewController& controller) { return originalNavigatorURL(controller); }

// The platform's parent when there is one, else the one set here.
ViewController* superController(const ViewController& controller);
void setSuperController(const ViewController& controller, const std::shared_ptr<ViewController>& superController);
ViewController* popupViewController(const ViewController& controller);
void setPopupViewController(const ViewController& controller, const std::shared_ptr<ViewController>& popup);

// Saved view state; only toolkit controllers keep it.
const ns::Dictionary* frozenState(const ViewController& controller);
void setFrozenState(ViewController& controller, const ns::Dictionary* state);
// Fills the state to save; true when the controller is to be saved.
bool persistView(ViewController& controller, ns::Dictionary& state);
void restoreView(ViewController& controller, const ns::Dictionary& state);

// Containers: navigation controllers hold controllers, others do not.
bool canContainControllers(const ViewController& controller);
ViewController* topSubcontroller(const ViewController& controller);
// The neighbours in the controller's navigation stack; null at either end.
ViewController* previousViewController(const ViewController& controller);
ViewController* nextViewController(const ViewController& controller);
// Pushes into the container (a plain controller forwards to its navigation controller).
void addSubcontroller(ViewController& parent, const std::shared_ptr<ViewController>& controller, bool animated,
                      int transition);
void bringControllerToFront(ViewController& parent, ViewController& controller, bool animated);
void removeFromSupercontroller(ViewController& controller, bool animated = true);
// The controller's index in the stack as text; "" when absent or no stack.
std::string keyForSubcontroller(const ViewController& parent, const ViewController& controller);
ViewController* subcontrollerForKey(const ViewController& parent, const std::string& key);

// Shows or hides the window's status bar and fades the navigation bar in or
// out (over 0.3 s when animated).
void showBars(ViewController& controller, bool show, bool animated);

// View transitions (1, 2 flip from left and right; 3, 4 curl up and down).
int invertTransition(int transition);
inline constexpr double kTransitionDuration = 0.7;
// The push or pop happens at once; the shared request queue stays suspended
// for the length of the transition.
void pushViewControllerAnimatedWithTransition(NavigationController& nav, const std::shared_ptr<ViewController>& c,
                                              int transition);
std::shared_ptr<ViewController> popViewControllerAnimatedWithTransition(NavigationController& nav, int transition);

// Number of controllers with entries in the tables (tests).
std::size_t TKControllerTableCount();

}  // namespace ui
