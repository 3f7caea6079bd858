#pragma once
// The toolkit's base screen controller: its navigation bar takes the
// controller's tint and bar style, and the application the controller's
// status-bar style, as it appears; the shared request queue pauses while the
// view comes on screen, a hidden screen freezes its state at a memory
// warning, and subclasses resize for the keyboard through hooks. Main thread.
#include <memory>
#include <optional>

#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/Color.h"
#include "platform/ui/ViewController.h"
#include "toolkit/core/TKClassRegistry.h"
#include "toolkit/core/TKStyleProvider.h"

class TKSearchDisplayController;
class TKTableViewController;

class TKViewController : public ui::ViewController, public TKObject {
 public:
  // The default style sheet's navigation bar tint.
  static constexpr cg::Color kDefaultNavigationBarTint = TKDefaultNavigationBarTintColor;

  // The tint is the global style sheet's at the time the controller is made.
  TKViewController();
  ~TKViewController() override;
  std::string className() const override { return "TKViewController"; }

  int navigationBarStyle() const { return _navigationBarStyle; }
  void setNavigationBarStyle(int style) { _navigationBarStyle = style; }
  cg::Color navigationBarTintColor() const { return _navigationBarTintColor; }
  void setNavigationBarTintColor(cg::Color tint) { _navigationBarTintColor = tint; }
  int statusBarStyle() const { return _statusBarStyle; }
  void setStatusBarStyle(int style) { _statusBarStyle = style; }
  bool isViewAppearing() const { return _isViewAppearing; }
  bool hasViewAppeared() const { return _hasViewAppeared; }
  bool autoresizesForKeyboard() const { return _autoresizesForKeyboard; }
  // Listens for the keyboard's will-show and will-hide notifications while YES.
  void setAutoresizesForKeyboard(bool on);

  const ns::Dictionary* frozenState() const { return _frozenState ? &*_frozenState : nullptr; }
  void setFrozenState(const ns::Dictionary* state);
  // Saved and restored view state for subclasses; true keeps the controller in a saved path.
  virtual bool persistView(ns::Dictionary&) { return true; }
  virtual void restoreView(const ns::Dictionary&) {}
  // Sent by the navigator when a delay ends.
  virtual void delayDidEnd() {}

  void loadView() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  void didReceiveMemoryWarning() override;

  // Keyboard hooks: empty here.
  virtual void keyboardWillAppear(bool animated, cg::Rect bounds) { (void)animated, (void)bounds; }
  virtual void keyboardWillDisappear(bool animated, cg::Rect bounds) { (void)animated, (void)bounds; }
  virtual void keyboardDidAppear(bool animated, cg::Rect bounds) { (void)animated, (void)bounds; }
  virtual void keyboardDidDisappear(bool animated, cg::Rect bounds) { (void)animated, (void)bounds; }
  // Runs the will-hook (inside a 0.3 s animation when the keyboard moves) and
  // the did-hook 0.3 s later.
  void resizeForKeyboard(const ns::Value& userInfo, bool appearing);

  // A search of this screen's content whose results show in a toolkit table
  // screen: the first one given makes the search display (with a search bar
  // of its own); none lets the display go. Defined with the table screens.
  void setSearchViewController(std::shared_ptr<TKTableViewController> controller);
  std::shared_ptr<TKTableViewController> searchViewController() const;
  const std::shared_ptr<TKSearchDisplayController>& searchDisplayController() const { return _searchController; }
  // The results screen while a search is active (the navigator steps into it).
  ui::ViewController* activeSearchResultsController() const { return _activeSearchResults.lock().get(); }
  void setActiveSearchResultsController(std::weak_ptr<ui::ViewController> controller) {
    _activeSearchResults = std::move(controller);
  }

  void viewDidUnload() override;

 protected:
  std::optional<ns::Dictionary> _frozenState;
  int _navigationBarStyle = 0;
  cg::Color _navigationBarTintColor = kDefaultNavigationBarTint;
  int _statusBarStyle = 0;
  bool _isViewAppearing = false;
  bool _hasViewAppeared = false;
  bool _autoresizesForKeyboard = false;
  std::shared_ptr<TKSearchDisplayController> _searchController;
  std::weak_ptr<ui::ViewController> _activeSearchResults;

 private:
  ns::Observer _keyboardWillShow, _keyboardWillHide;
};
