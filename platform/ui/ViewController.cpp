#include "platform/ui/ViewController.h"

#include <algorithm>
#include <vector>

#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {
constexpr double kModalDuration = 0.3;
const cg::Color kDimming(0, 0, 0, 0.4f);

// Both lists outlive every static: a controller held by a static may be
// destroyed during exit, after function-local statics made later are gone.
std::vector<ViewController*>& liveControllers() {
  static auto& list = *new std::vector<ViewController*>;
  return list;
}

std::vector<ViewController::DestructionHook>& destructionHooks() {
  static auto& hooks = *new std::vector<ViewController::DestructionHook>;
  return hooks;
}
}  // namespace

void ViewController::addDestructionHook(DestructionHook hook) {
  destructionHooks().push_back(std::move(hook));
}

ViewController::ViewController() { liveControllers().push_back(this); }

ViewController::~ViewController() {
  for (auto& hook : destructionHooks()) hook(this);
  auto& list = liveControllers();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  if (Window* w = responderWindow(); w && w->firstResponder() == this) w->clearFirstResponder();
  if (view_ && view_->viewController_ == this) view_->viewController_ = nullptr;
}

std::shared_ptr<View> ViewController::view() {
  if (!view_) {
    loadView();
    if (!view_) setView(std::make_shared<View>(Screen::main().applicationFrame()));
    viewDidLoad();
  }
  return view_;
}

void ViewController::setView(std::shared_ptr<View> view) {
  if (view_ && view_->viewController_ == this) view_->viewController_ = nullptr;
  view_ = std::move(view);
  if (view_) view_->viewController_ = this;
}

void ViewController::unloadView() {
  if (!view_ || view_->window()) return;
  setView(nullptr);
  viewDidUnload();
}

void ViewController::didReceiveMemoryWarning() { unloadView(); }

void ViewController::sendMemoryWarningToAll() {
  // A handler may create or destroy controllers: walk a copy, skipping the dead.
  auto snapshot = liveControllers();
  for (ViewController* c : snapshot) {
    auto& live = liveControllers();
    if (std::find(live.begin(), live.end(), c) == live.end()) continue;
    auto keep = c->weak_from_this().lock();  // held while it runs, when shared
    c->didReceiveMemoryWarning();
  }
}

InterfaceOrientation ViewController::interfaceOrientation() const {
  return Application::shared().statusBarOrientation();
}

void ViewController::setTitle(const std::string& title) {
  title_ = title;
  if (navigationItem_) navigationItem_->setTitle(title);
}

std::shared_ptr<NavigationItem> ViewController::navigationItem() {
  if (!navigationItem_) navigationItem_ = std::make_shared<NavigationItem>(title_);
  return navigationItem_;
}

NavigationController* ViewController::navigationController() const {
  return static_cast<NavigationController*>(navigationController_.lock().get());
}

ViewController* ViewController::parentViewController() const {
  if (auto nav = navigationController_.lock()) return nav.get();
  return parent_.lock().get();
}

void ViewController::loadView() {
  auto v = std::make_shared<View>(Screen::main().applicationFrame());
  v->setBackgroundColor(cg::Color::white());
  setView(v);
}

Responder* ViewController::nextResponder() const {
  return view_ ? view_->superview() : nullptr;
}

Window* ViewController::responderWindow() const { return view_ ? view_->window() : nullptr; }

cg::Rect ViewController::sheetFrame(cg::Rect b) const {
  cg::Size s = style_ == ModalPresentationStyle::FormSheet ? cg::Size{540, 620}
                                                           : cg::Size{768, b.height()};
  s.width = std::min(s.width, b.width());
  s.height = std::min(s.height, b.height());
  return cg::Rect(b.midX() - s.width / 2, b.maxY() - s.height - (b.height() - s.height) / 2,
                  s.width, s.height);
}

void ViewController::presentModalViewController(std::shared_ptr<ViewController> controller,
                                                bool animated) {
  if (!controller || modal_) return;
  // A controller already presenting ignores another request.
  Window* window = view()->window();
  if (!window) window = Window::keyWindow();
  if (!window) return;
  animated = animated && View::areAnimationsEnabled();
  bool fullScreen = controller->style_ == ModalPresentationStyle::FullScreen;
  modal_ = controller;
  controller->parent_ = weak_from_this();

  cg::Rect b = window->bounds();
  auto container = std::make_shared<View>(b);
  container->setBackgroundColor(fullScreen ? cg::Color::clear() : kDimming);
  container->setOpaque(false);
  container->setAutoresizingMask(ViewAutoresizingFlexibleWidth | ViewAutoresizingFlexibleHeight);
  auto v = controller->view();
  // A full-screen modal leaves the status bar showing.
  cg::Rect below = cg::Rect(b.x(), b.y() + Screen::main().statusBarHeight(), b.width(),
                            b.height() - Screen::main().statusBarHeight());
  v->setFrame(fullScreen ? below : controller->sheetFrame(b));
  // A turn of the window keeps a full-screen modal filling it and a sheet centred.
  v->setAutoresizingMask(fullScreen ? ViewAutoresizingFlexibleWidth | ViewAutoresizingFlexibleHeight
                                    : ViewAutoresizingFlexibleLeftMargin | ViewAutoresizingFlexibleRightMargin |
                                          ViewAutoresizingFlexibleTopMargin | ViewAutoresizingFlexibleBottomMargin);
  modalContainer_ = container;

  if (fullScreen) viewWillDisappear(animated);
  controller->viewWillAppear(animated);
  container->addSubview(v);
  window->addSubview(container);

  auto done = [self = weak_from_this(), controller, fullScreen, animated] {
    auto me = self.lock();
    if (me && fullScreen) me->viewDidDisappear(animated);
    controller->viewDidAppear(animated);
  };
  if (!animated) {
    done();
    return;
  }
  cg::Rect end = v->frame();
  v->setFrame(end.offsetBy(0, b.height()));
  View::beginAnimations("ModalPresent");
  View::setAnimationDuration(kModalDuration);
  View::setAnimationDidStopSelector([done](const std::string&, bool, void*) { done(); });
  v->setFrame(end);
  View::commitAnimations();
}

void ViewController::dismissModalViewControllerAnimated(bool animated) {
  if (!modal_) {
    // The presented controller asks its presenter.
    if (ViewController* parent = parentViewController()) parent->dismissModalViewControllerAnimated(animated);
    return;
  }
  // A modal that presents its own modal goes first.
  if (modal_->modal_) modal_->dismissModalViewControllerAnimated(false);
  auto modal = std::move(modal_);
  auto container = std::move(modalContainer_);
  modal->parent_.reset();
  animated = animated && View::areAnimationsEnabled();
  bool fullScreen = modal->style_ == ModalPresentationStyle::FullScreen;
  modal->viewWillDisappear(animated);
  if (fullScreen) viewWillAppear(animated);
  if (!animated) {
    finishDismissal(this, modal, container, false);
    return;
  }
  auto v = modal->view();
  View::beginAnimations("ModalDismiss");
  View::setAnimationDuration(kModalDuration);
  // The views leave the window even when the presenter is gone by then.
  View::setAnimationDidStopSelector(
      [self = weak_from_this(), modal, container](const std::string&, bool, void*) {
        finishDismissal(self.lock().get(), modal, container, true);
      });
  v->setFrame(v->frame().offsetBy(0, container->bounds().height()));
  View::commitAnimations();
}

void ViewController::finishDismissal(ViewController* presenter,
                                     const std::shared_ptr<ViewController>& modal,
                                     const std::shared_ptr<View>& container, bool animated) {
  bool fullScreen = modal->style_ == ModalPresentationStyle::FullScreen;
  modal->view()->removeFromSuperview();
  container->removeFromSuperview();
  modal->viewDidDisappear(animated);
  if (presenter && fullScreen) presenter->viewDidAppear(animated);
}

}  // namespace ui
