#pragma once
// A controller owns one view, made on first use by loadView (a builder that
// creates the outlets) followed by viewDidLoad, and hears the appearance
// calls. It can present another controller modally over the window.
//
// Appearance calls come from the window (root), the navigation and modal
// presentations, never from adding the view as a subview: a container that
// places a child's view by hand sends the child's calls by hand. The window
// sends the rotation calls to its root, which passes them on.
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/InterfaceOrientation.h"
#include "platform/ui/Responder.h"
#include "platform/ui/View.h"

namespace ui {

class NavigationController;
class NavigationItem;

// The item a tab bar shows for a controller: its title, image and a badge
// (empty: no badge).
struct TabBarItem {
  std::string title;
  std::string imageName;
  int tag = 0;
  std::string badgeValue;
};

enum class ModalPresentationStyle { FullScreen, PageSheet, FormSheet };

class ViewController : public Responder, public std::enable_shared_from_this<ViewController> {
 public:
  ViewController();
  ~ViewController() override;
  ViewController(const ViewController&) = delete;
  ViewController& operator=(const ViewController&) = delete;

  // The view, loaded on first use.
  std::shared_ptr<View> view();
  void setView(std::shared_ptr<View> view);
  bool isViewLoaded() const { return view_ != nullptr; }

  // The builder: the default makes a plain view of the screen's application area.
  virtual void loadView();
  virtual void viewDidLoad() {}
  virtual void viewDidUnload() {}
  virtual void viewWillAppear(bool animated) { (void)animated; }
  virtual void viewDidAppear(bool animated) { (void)animated; }
  virtual void viewWillDisappear(bool animated) { (void)animated; }
  virtual void viewDidDisappear(bool animated) { (void)animated; }
  // Unloads the view when it is not in a window (viewDidUnload follows); the
  // next use of view() builds it again. Overrides call this first.
  virtual void didReceiveMemoryWarning();
  // Sends didReceiveMemoryWarning to every controller alive (the application
  // does on memory pressure).
  static void sendMemoryWarningToAll();

  // Rotation. The window asks its root whether to turn, then sends will-rotate,
  // will-animate (inside the rotation's animation) and did-rotate; containers
  // pass them on. The default turns only to upright portrait.
  virtual bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation o) {
    return o == InterfaceOrientation::Portrait;
  }
  virtual void willRotateToInterfaceOrientation(InterfaceOrientation to, double duration) {
    (void)to, (void)duration;
  }
  virtual void willAnimateRotationToInterfaceOrientation(InterfaceOrientation to, double duration) {
    (void)to, (void)duration;
  }
  virtual void didRotateFromInterfaceOrientation(InterfaceOrientation from) { (void)from; }
  // The orientation of the interface now (it changes before will-animate).
  InterfaceOrientation interfaceOrientation() const;

  const std::string& title() const { return title_; }
  // Also titles the navigation item.
  void setTitle(const std::string& title);

  // The size the controller asks for inside a popover (the platform's default
  // is 320 x 1100).
  virtual cg::Size contentSizeForViewInPopover() const { return contentSizeInPopover_; }
  void setContentSizeForViewInPopover(cg::Size size) { contentSizeInPopover_ = size; }

  TabBarItem& tabBarItem() { return tabBarItem_; }
  // What a navigation bar shows while this controller is on a stack.
  std::shared_ptr<NavigationItem> navigationItem();
  // The navigation controller whose stack holds this controller, if any.
  NavigationController* navigationController() const;

  // Modal presentation: the presented controller's view covers the window
  // (full screen) or sits centred over a dimmed window (page and form sheets).
  void presentModalViewController(std::shared_ptr<ViewController> controller, bool animated);
  // Sent to the presenter or to the presented controller: dismisses the
  // controller presented by the presenter.
  void dismissModalViewControllerAnimated(bool animated);
  ViewController* modalViewController() const { return modal_.get(); }
  // The presenter, or the navigation controller holding this one.
  ViewController* parentViewController() const;
  ModalPresentationStyle modalPresentationStyle() const { return style_; }
  void setModalPresentationStyle(ModalPresentationStyle style) { style_ = style; }

  Responder* nextResponder() const override;
  Window* responderWindow() const override;

  // Called with every controller as it is destroyed (at the start of the
  // base destructor: only its address is still meaningful), so that tables
  // keyed by controllers can drop their entries. Hooks are never removed.
  using DestructionHook = std::function<void(const ViewController*)>;
  static void addDestructionHook(DestructionHook hook);

 protected:
  View* viewIfLoaded() const { return view_.get(); }
  // Drops the view (not in a window) and sends viewDidUnload.
  void unloadView();

 private:
  friend class NavigationController;
  // Takes the modal's view and its container out of the window; the presenter
  // (null when it is gone) hears that it appears again.
  static void finishDismissal(ViewController* presenter, const std::shared_ptr<ViewController>& modal,
                              const std::shared_ptr<View>& container, bool animated);
  cg::Rect sheetFrame(cg::Rect windowBounds) const;

  std::shared_ptr<View> view_;
  std::string title_;
  std::shared_ptr<ViewController> modal_;        // presented by this controller
  std::shared_ptr<View> modalContainer_;         // dimming view holding the modal's view
  std::weak_ptr<ViewController> parent_;         // the presenter
  ModalPresentationStyle style_ = ModalPresentationStyle::FullScreen;
  cg::Size contentSizeInPopover_{320, 1100};
  TabBarItem tabBarItem_;
  std::shared_ptr<NavigationItem> navigationItem_;
  std::weak_ptr<ViewController> navigationController_;
};

}  // namespace ui
