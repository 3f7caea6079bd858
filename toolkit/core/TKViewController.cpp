#include "toolkit/core/TKViewController.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/View.h"
#include "toolkit/core/TKGlobal.h"
#include "toolkit/core/TKURLRequestQueue.h"
#include "toolkit/core/ViewController+TKCategory.h"

namespace {
constexpr double kKeyboardAnimationDuration = 0.3;

}  // namespace

TKViewController::TKViewController() : _navigationBarTintColor(TKStyleSheetNavigationBarTintColor()) {}

TKViewController::~TKViewController() {
  TKURLRequestQueue::mainQueue().cancelRequestsWithDelegate(this);
  ns::RunLoop::main().cancelPreviousPerformRequests(this);
  setAutoresizesForKeyboard(false);
}

void TKViewController::setFrozenState(const ns::Dictionary* state) {
  if (state)
    _frozenState = *state;
  else
    _frozenState.reset();
}

void TKViewController::loadView() {
  auto view = std::make_shared<ui::View>(TKFrameBelowOneBar());
  view->setAutoresizesSubviews(true);
  view->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  view->setBackgroundColor(TKStyleSheetBackgroundColor());
  setView(view);
}

void TKViewController::viewWillAppear(bool animated) {
  ui::ViewController::viewWillAppear(animated);
  _isViewAppearing = true;
  _hasViewAppeared = true;
  // No load starts while the screen animates in.
  TKURLRequestQueue::mainQueue().setSuspended(true);
  if (ui::popupViewController(*this)) return;
  // Whatever the presenter set on the bar gives way to the controller's own look.
  if (ui::NavigationController* nav = navigationController()) {
    nav->navigationBar()->setTintColor(_navigationBarTintColor);
    nav->navigationBar()->setBarStyle(_navigationBarStyle);
  }
  ui::Application::shared().setStatusBarStyle(_statusBarStyle, animated);
}

void TKViewController::viewDidAppear(bool animated) {
  ui::ViewController::viewDidAppear(animated);
  TKURLRequestQueue::mainQueue().setSuspended(false);
}

void TKViewController::viewWillDisappear(bool animated) {
  ui::ViewController::viewWillDisappear(animated);
  _isViewAppearing = false;
}

void TKViewController::didReceiveMemoryWarning() {
  if (_hasViewAppeared && !_isViewAppearing) {
    ns::Dictionary state;
    persistView(state);
    _frozenState = std::move(state);
    ui::ViewController::didReceiveMemoryWarning();
    _hasViewAppeared = false;
    return;
  }
  ui::ViewController::didReceiveMemoryWarning();
}

void TKViewController::setAutoresizesForKeyboard(bool on) {
  if (on == _autoresizesForKeyboard) return;
  _autoresizesForKeyboard = on;
  if (!on) {
    _keyboardWillShow.remove();
    _keyboardWillHide.remove();
    return;
  }
  auto& centre = ns::NotificationCenter::defaultCenter();
  _keyboardWillShow = centre.addObserver(TKKeyboardWillShowNotification, [this](const ns::Value& info) {
    if (_isViewAppearing) resizeForKeyboard(info, true);
  });
  _keyboardWillHide = centre.addObserver(TKKeyboardWillHideNotification, [this](const ns::Value& info) {
    if (_isViewAppearing) resizeForKeyboard(info, false);
  });
}

void TKViewController::resizeForKeyboard(const ns::Value& info, bool appearing) {
  cg::Rect bounds = TKKeyboardRect(info, TKKeyboardBoundsUserInfoKey);
  cg::Point begin = TKKeyboardPoint(info, TKKeyboardCenterBeginUserInfoKey);
  cg::Point end = TKKeyboardPoint(info, TKKeyboardCenterEndUserInfoKey);
  bool animated = begin.y != end.y;
  if (animated) {
    ui::View::beginAnimations("keyboard");
    ui::View::setAnimationDuration(kKeyboardAnimationDuration);
  }
  if (appearing)
    keyboardWillAppear(animated, bounds);
  else
    keyboardWillDisappear(animated, bounds);
  // The destructor cancels the call, so `this` is alive whenever it runs.
  ns::RunLoop::main().performAfter(this, appearing ? "keyboardDidAppear" : "keyboardDidDisappear",
                                   kKeyboardAnimationDuration, [this, bounds, appearing] {
                                     if (appearing)
                                       keyboardDidAppear(true, bounds);
                                     else
                                       keyboardDidDisappear(true, bounds);
                                   });
  if (animated) ui::View::commitAnimations();
}

void TKViewController::viewDidUnload() {
  ui::ViewController::viewDidUnload();
  _searchController.reset();
}
