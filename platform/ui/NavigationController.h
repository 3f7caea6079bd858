#pragma once
// A stack of controllers in one column: the top one's view fills the area
// below a navigation bar (which can be hidden). Push and pop slide the views
// sideways, or swap them at once, and send the appearance calls while the
// stack's view is in a window. Appearance and rotation calls that reach the
// navigation controller pass on to the top controller.
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/NavigationBar.h"
#include "platform/ui/ViewController.h"

namespace ui {

class NavigationController : public ViewController {
 public:
  explicit NavigationController(std::shared_ptr<ViewController> root);
  // The root controller joins the stack here (it needs the shared owner).
  static std::shared_ptr<NavigationController> withRoot(std::shared_ptr<ViewController> root);
  ~NavigationController() override;

  void pushViewController(std::shared_ptr<ViewController> controller, bool animated);
  // The popped controller; null when only the root is left. A pop hook, when
  // set, may take the pop over (and pops inside it run plainly).
  std::shared_ptr<ViewController> popViewControllerAnimated(bool animated);
  // Answers true when it popped (setting `popped`), false to let the plain pop run.
  using PopHook = std::function<bool(NavigationController& nav, bool animated,
                                     std::shared_ptr<ViewController>& popped)>;
  static void setPopHook(PopHook hook);
  std::vector<std::shared_ptr<ViewController>> popToRootViewControllerAnimated(bool animated);

  const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return stack_; }
  ViewController* topViewController() const { return stack_.empty() ? nullptr : stack_.back().get(); }
  // The top controller, or the controller it presents modally.
  ViewController* visibleViewController() const;

  NavigationBar* navigationBar();
  bool isNavigationBarHidden() const { return barHidden_; }
  void setNavigationBarHidden(bool hidden, bool animated);

  // The top controller's size in a popover, with the bar's height on top when
  // the bar shows.
  cg::Size contentSizeForViewInPopover() const override;

  void loadView() override;
  void viewDidUnload() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  void viewDidDisappear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation o) override;
  void willRotateToInterfaceOrientation(InterfaceOrientation to, double duration) override;
  void willAnimateRotationToInterfaceOrientation(InterfaceOrientation to, double duration) override;
  void didRotateFromInterfaceOrientation(InterfaceOrientation from) override;

 private:
  enum class Direction { Push, Pop };
  void adopt(const std::shared_ptr<ViewController>& controller);
  void adoptRoot();
  void attach(const std::shared_ptr<ViewController>& controller);
  void transition(std::shared_ptr<ViewController> from, std::shared_ptr<ViewController> to,
                  Direction direction, bool animated);
  void finishPendingTransition();
  cg::Rect contentFrame() const;
  bool isVisible() const;

  std::vector<std::shared_ptr<ViewController>> stack_;
  std::shared_ptr<NavigationBar> bar_;
  bool barHidden_ = false;
  std::function<void()> pendingFinish_;  // ends the slide now running
};

}  // namespace ui
