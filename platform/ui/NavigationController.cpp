#include "platform/ui/NavigationController.h"

#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {
constexpr double kSlideDuration = 0.35;
}  // namespace

NavigationController::NavigationController(std::shared_ptr<ViewController> root) {
  if (root) stack_.push_back(std::move(root));
}

std::shared_ptr<NavigationController> NavigationController::withRoot(std::shared_ptr<ViewController> root) {
  auto nav = std::make_shared<NavigationController>(nullptr);
  if (root) {
    nav->adopt(root);
    nav->stack_.push_back(root);
  }
  return nav;
}

NavigationController::~NavigationController() = default;

void NavigationController::adopt(const std::shared_ptr<ViewController>& controller) {
  controller->navigationController_ = std::static_pointer_cast<ViewController>(shared_from_this());
}

// The root given to the constructor joins once shared ownership exists.
void NavigationController::adoptRoot() {
  for (auto& c : stack_)
    if (!c->navigationController()) adopt(c);
}

ViewController* NavigationController::visibleViewController() const {
  ViewController* top = topViewController();
  if (top && top->modalViewController()) return top->modalViewController();
  return top;
}

bool NavigationController::isVisible() const { return isViewLoaded() && viewIfLoaded()->window(); }

NavigationBar* NavigationController::navigationBar() {
  view();
  return bar_.get();
}

cg::Rect NavigationController::contentFrame() const {
  cg::Rect b = viewIfLoaded()->bounds();
  if (barHidden_) return b;
  return cg::Rect(b.x(), b.y() + NavigationBar::kHeight, b.width(), b.height() - NavigationBar::kHeight);
}

void NavigationController::loadView() {
  auto v = std::make_shared<View>(Screen::main().applicationFrame());
  v->setBackgroundColor(cg::Color::white());
  v->setClipsToBounds(true);
  setView(v);
  bar_ = std::make_shared<NavigationBar>(cg::Rect(0, 0, v->bounds().width(), NavigationBar::kHeight));
  bar_->setHidden(barHidden_);
  std::weak_ptr<ViewController> weak = weak_from_this();
  bar_->setBackHandler([weak] {
    if (auto self = std::static_pointer_cast<NavigationController>(weak.lock()))
      self->popViewControllerAnimated(true);
  });
  std::vector<std::shared_ptr<NavigationItem>> items;
  adoptRoot();
  for (auto& c : stack_) items.push_back(c->navigationItem());
  bar_->setItems(items);
  v->addSubview(bar_);
  if (!stack_.empty()) attach(stack_.back());
}

void NavigationController::viewDidUnload() {
  bar_.reset();
  ViewController::viewDidUnload();
}

// Puts the controller's view into the content area.
void NavigationController::attach(const std::shared_ptr<ViewController>& controller) {
  auto v = controller->view();
  v->setFrame(contentFrame());
  v->setAutoresizingMask(ViewAutoresizingFlexibleWidth | ViewAutoresizingFlexibleHeight);
  viewIfLoaded()->insertSubviewBelowSubview(v, bar_.get());
}

void NavigationController::pushViewController(std::shared_ptr<ViewController> controller, bool animated) {
  if (!controller || controller->navigationController()) return;
  finishPendingTransition();
  adoptRoot();
  adopt(controller);
  auto from = stack_.empty() ? nullptr : stack_.back();
  stack_.push_back(controller);
  if (!isViewLoaded()) return;
  bar_->pushNavigationItem(controller->navigationItem(), animated);
  transition(from, controller, Direction::Push, animated);
}

namespace {
NavigationController::PopHook& popHook() {
  static NavigationController::PopHook hook;
  return hook;
}
bool gInPopHook = false;
}  // namespace

void NavigationController::setPopHook(PopHook hook) { popHook() = std::move(hook); }

std::shared_ptr<ViewController> NavigationController::popViewControllerAnimated(bool animated) {
  if (stack_.size() < 2) return nullptr;
  if (popHook() && !gInPopHook) {
    gInPopHook = true;
    std::shared_ptr<ViewController> popped;
    bool handled = false;
    try {
      handled = popHook()(*this, animated, popped);
    } catch (...) {
      gInPopHook = false;
      throw;
    }
    gInPopHook = false;
    if (handled) return popped;
  }
  finishPendingTransition();
  auto popped = stack_.back();
  stack_.pop_back();
  popped->navigationController_.reset();
  if (isViewLoaded()) {
    bar_->popNavigationItemAnimated(animated);
    transition(popped, stack_.back(), Direction::Pop, animated);
  }
  return popped;
}

std::vector<std::shared_ptr<ViewController>> NavigationController::popToRootViewControllerAnimated(bool animated) {
  std::vector<std::shared_ptr<ViewController>> popped;
  if (stack_.size() < 2) return popped;
  finishPendingTransition();
  auto top = stack_.back();
  popped.assign(stack_.begin() + 1, stack_.end());
  stack_.resize(1);
  for (auto& c : popped) c->navigationController_.reset();
  if (isViewLoaded()) {
    bar_->setItems({stack_.front()->navigationItem()});
    transition(top, stack_.front(), Direction::Pop, animated);
  }
  return popped;
}

void NavigationController::finishPendingTransition() {
  if (auto finish = std::move(pendingFinish_)) finish();
  pendingFinish_ = nullptr;
}

// Slides `to` in over the content area and `from` out, telling both while the
// stack is on screen. The end runs once: at the slide's end or when the next
// push or pop comes first.
void NavigationController::transition(std::shared_ptr<ViewController> from,
                                      std::shared_ptr<ViewController> to, Direction direction,
                                      bool animated) {
  bool visible = isVisible();
  animated = animated && visible && View::areAnimationsEnabled() && from;
  to->view();  // loaded before it hears that it will appear
  if (visible) {
    if (from) from->viewWillDisappear(animated);
    to->viewWillAppear(animated);
  }
  attach(to);
  auto fromView = from && from->isViewLoaded() ? from->view() : nullptr;
  auto done = std::make_shared<bool>(false);
  std::function<void()> finish = [from, to, fromView, visible, animated, done] {
    if (*done) return;
    *done = true;
    if (fromView && fromView->superview() && (!to->isViewLoaded() || to->view() != fromView))
      fromView->removeFromSuperview();
    if (visible) {
      if (from) from->viewDidDisappear(animated);
      to->viewDidAppear(animated);
    }
  };
  if (!animated) {
    finish();
    return;
  }
  pendingFinish_ = finish;
  cg::Rect content = contentFrame();
  float w = content.width();
  float sign = direction == Direction::Push ? 1 : -1;
  auto toView = to->view();
  toView->setFrame(content.offsetBy(sign * w, 0));
  if (direction == Direction::Pop) viewIfLoaded()->insertSubviewBelowSubview(toView, fromView.get());
  View::beginAnimations(direction == Direction::Push ? "NavigationPush" : "NavigationPop");
  View::setAnimationDuration(kSlideDuration);
  std::weak_ptr<ViewController> weak = weak_from_this();
  View::setAnimationDidStopSelector([weak, finish, done](const std::string&, bool, void*) {
    if (*done) return;
    if (auto self = std::static_pointer_cast<NavigationController>(weak.lock())) self->pendingFinish_ = nullptr;
    finish();
  });
  toView->setFrame(content);
  if (fromView) fromView->setFrame(content.offsetBy(-sign * w, 0));
  View::commitAnimations();
}

void NavigationController::setNavigationBarHidden(bool hidden, bool animated) {
  barHidden_ = hidden;
  if (!isViewLoaded()) return;
  animated = animated && isVisible();
  if (animated) {
    View::beginAnimations("NavigationBarHide");
    View::setAnimationDuration(0.2);
  }
  bar_->setHidden(hidden);
  if (ViewController* top = topViewController(); top && top->isViewLoaded()) top->view()->setFrame(contentFrame());
  if (animated) View::commitAnimations();
}

cg::Size NavigationController::contentSizeForViewInPopover() const {
  cg::Size s = stack_.empty() ? ViewController::contentSizeForViewInPopover()
                              : stack_.back()->contentSizeForViewInPopover();
  if (!barHidden_) s.height += NavigationBar::kHeight;
  return s;
}

void NavigationController::viewWillAppear(bool animated) {
  if (ViewController* top = topViewController()) top->viewWillAppear(animated);
}
void NavigationController::viewDidAppear(bool animated) {
  if (ViewController* top = topViewController()) top->viewDidAppear(animated);
}
void NavigationController::viewWillDisappear(bool animated) {
  if (ViewController* top = topViewController()) top->viewWillDisappear(animated);
}
void NavigationController::viewDidDisappear(bool animated) {
  if (ViewController* top = topViewController()) top->viewDidDisappear(animated);
}

bool NavigationController::shouldAutorotateToInterfaceOrientation(InterfaceOrientation o) {
  ViewController* top = topViewController();
  return top ? top->shouldAutorotateToInterfaceOrientation(o) : ViewController::shouldAutorotateToInterfaceOrientation(o);
}
void NavigationController::willRotateToInterfaceOrientation(InterfaceOrientation to, double duration) {
  if (ViewController* top = topViewController()) top->willRotateToInterfaceOrientation(to, duration);
}
void NavigationController::willAnimateRotationToInterfaceOrientation(InterfaceOrientation to, double duration) {
  if (ViewController* top = topViewController()) top->willAnimateRotationToInterfaceOrientation(to, duration);
}
void NavigationController::didRotateFromInterfaceOrientation(InterfaceOrientation from) {
  if (ViewController* top = topViewController()) top->didRotateFromInterfaceOrientation(from);
}

}  // namespace ui
