#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"
#include "platform/ui/Animator.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {
std::function<void()>& displayObserver() {
  static std::function<void()> observer;
  return observer;
}
}  // namespace

// --- View --------------------------------------------------------------------

View::View() = default;

View::View(cg::Rect frame) : frame_(frame), bounds_(0, 0, frame.width(), frame.height()) {}

View::~View() {
  for (auto& sub : subviews_) sub->superview_ = nullptr;
  for (auto& r : gestureRecognizers_) r->attach(nullptr);  // a recogniser may outlive its view
}

void View::setDisplayObserver(std::function<void()> observer) {
  displayObserver() = std::move(observer);
}

void View::setFrame(cg::Rect frame) {
  Animator::willChange(*this, AnimatedProperty::Frame);
  cg::Size old = bounds_.size;
  frame_ = frame;
  bounds_.size = frame.size;
  if (old != frame.size) {
    resizeSubviewsFromOldSize(old);
    setNeedsLayout();
  }
  setNeedsDisplay();
}

void View::setBounds(cg::Rect bounds) {
  Animator::willChange(*this, AnimatedProperty::Frame);
  cg::Size old = bounds_.size;
  cg::Point c = center();
  bounds_ = bounds;
  frame_ = cg::Rect(c.x - bounds.width() / 2, c.y - bounds.height() / 2, bounds.width(),
                    bounds.height());
  if (old != bounds.size) {
    resizeSubviewsFromOldSize(old);
    setNeedsLayout();
  }
  setNeedsDisplay();
}

void View::setBoundsOrigin(cg::Point origin) {
  if (bounds_.origin == origin) return;
  bounds_.origin = origin;
  setNeedsDisplay();
}

void View::setCenter(cg::Point c) {
  setFrame(cg::Rect(c.x - frame_.width() / 2, c.y - frame_.height() / 2, frame_.width(),
                    frame_.height()));
}

void View::setTransform(const cg::AffineTransform& t) {
  Animator::willChange(*this, AnimatedProperty::Transform);
  transform_ = t;
  setNeedsDisplay();
}

void View::setBackgroundColor(std::optional<cg::Color> color) {
  backgroundColor_ = color;
  setNeedsDisplay();
}

void View::setAlpha(float alpha) {
  Animator::willChange(*this, AnimatedProperty::Alpha);
  alpha_ = std::clamp(alpha, 0.0f, 1.0f);
  setNeedsDisplay();
}

void View::setHidden(bool hidden) {
  if (hidden_ == hidden) return;
  hidden_ = hidden;
  setNeedsDisplay();
}

void View::resizeSubviewsFromOldSize(cg::Size old) {
  if (!autoresizesSubviews_) return;
  for (auto& sub : subviews_) sub->autoresizeFromOldSuperviewSize(old, bounds_.size);
}

// Shares a change of the superview's size out among the flexible parts of one
// axis, in proportion to their sizes as the platform does.
static void resizeAxis(float& origin, float& length, float oldSuper, float newSuper,
                       bool flexMin, bool flexLen, bool flexMax) {
  float delta = newSuper - oldSuper;
  if (delta == 0 || (!flexMin && !flexLen && !flexMax)) return;
  float maxMargin = oldSuper - origin - length;
  float total = (flexMin ? origin : 0) + (flexLen ? length : 0) + (flexMax ? maxMargin : 0);
  int parts = int(flexMin) + int(flexLen) + int(flexMax);
  auto share = [&](float part) { return total > 0 ? delta * part / total : delta / parts; };
  float dMin = flexMin ? share(origin) : 0;
  float dLen = flexLen ? share(length) : 0;
  origin += dMin;
  length += dLen;
}

void View::autoresizeFromOldSuperviewSize(cg::Size old, cg::Size now) {
  unsigned m = autoresizingMask_;
  if (m == ViewAutoresizingNone) return;
  cg::Rect f = frame_;
  resizeAxis(f.origin.x, f.size.width, old.width, now.width, m & ViewAutoresizingFlexibleLeftMargin,
             m & ViewAutoresizingFlexibleWidth, m & ViewAutoresizingFlexibleRightMargin);
  resizeAxis(f.origin.y, f.size.height, old.height, now.height,
             m & ViewAutoresizingFlexibleTopMargin, m & ViewAutoresizingFlexibleHeight,
             m & ViewAutoresizingFlexibleBottomMargin);
  f.size.width = std::max(0.0f, f.size.width);
  f.size.height = std::max(0.0f, f.size.height);
  if (!(f == frame_)) setFrame(f);
}

// --- tree --------------------------------------------------------------------

void View::detachFromSuperview() {
  View* parent = superview_;
  if (!parent) return;
  auto self = shared_from_this();  // keeps this view alive while it moves
  parent->willRemoveSubview(this);
  auto& list = parent->subviews_;
  list.erase(std::remove(list.begin(), list.end(), self), list.end());
  superview_ = nullptr;
}

void View::insertSubviewAtIndex(std::shared_ptr<View> view, size_t index) {
  // This view itself or one of its ancestors would close a loop in the tree.
  if (!view || isDescendantOfView(view.get())) return;
  Window* oldWindow = view->window();
  Window* newWindow = window();
  view->willMoveToSuperview(this);
  if (oldWindow != newWindow) view->willMoveWindow(oldWindow, newWindow);
  if (view->superview_) view->detachFromSuperview();
  index = std::min(index, subviews_.size());
  subviews_.insert(subviews_.begin() + static_cast<long>(index), view);
  view->superview_ = this;
  if (oldWindow != newWindow) view->didMoveWindow();
  view->didMoveToSuperview();
  didAddSubview(view.get());
  setNeedsDisplay();
}

void View::addSubview(std::shared_ptr<View> view) { insertSubviewAtIndex(view, subviews_.size()); }

static size_t indexOf(const std::vector<std::shared_ptr<View>>& list, const View* v) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].get() == v) return i;
  return list.size();
}

void View::insertSubviewAboveSubview(std::shared_ptr<View> view, const View* sibling) {
  size_t i = indexOf(subviews_, sibling);
  if (view && view->superview_ == this && indexOf(subviews_, view.get()) < i) --i;
  insertSubviewAtIndex(view, i == subviews_.size() ? i : i + 1);
}

void View::insertSubviewBelowSubview(std::shared_ptr<View> view, const View* sibling) {
  size_t i = indexOf(subviews_, sibling);
  if (view && view->superview_ == this && indexOf(subviews_, view.get()) < i) --i;
  insertSubviewAtIndex(view, i);
}

void View::bringSubviewToFront(const View* view) {
  size_t i = indexOf(subviews_, view);
  if (i == subviews_.size()) return;
  auto v = subviews_[i];
  subviews_.erase(subviews_.begin() + static_cast<long>(i));
  subviews_.push_back(v);
  setNeedsDisplay();
}

void View::sendSubviewToBack(const View* view) {
  size_t i = indexOf(subviews_, view);
  if (i == subviews_.size()) return;
  auto v = subviews_[i];
  subviews_.erase(subviews_.begin() + static_cast<long>(i));
  subviews_.insert(subviews_.begin(), v);
  setNeedsDisplay();
}

void View::removeFromSuperview() {
  if (!superview_) return;
  Window* oldWindow = window();
  auto self = shared_from_this();
  View* parent = superview_;
  willMoveToSuperview(nullptr);
  if (oldWindow) willMoveWindow(oldWindow, nullptr);
  detachFromSuperview();
  if (oldWindow) didMoveWindow();
  didMoveToSuperview();
  parent->setNeedsDisplay();
}

// A view leaving its window gives up first responder.
void View::willMoveWindow(Window* from, Window* to) {
  if (from && from->firstResponder() == this) from->clearFirstResponder();
  willMoveToWindow(to);
  for (auto& sub : subviews_) sub->willMoveWindow(from, to);
}

void View::didMoveWindow() {
  didMoveToWindow();
  for (auto& sub : subviews_) sub->didMoveWindow();
}

bool View::isDescendantOfView(const View* view) const {
  for (const View* v = this; v; v = v->superview_)
    if (v == view) return true;
  return false;
}

View* View::viewWithTag(int tag) {
  if (tag_ == tag) return this;
  for (auto& sub : subviews_)
    if (View* found = sub->viewWithTag(tag)) return found;
  return nullptr;
}

Window* View::window() const {
  const View* v = this;
  while (v->superview_) v = v->superview_;
  return dynamic_cast<Window*>(const_cast<View*>(v));
}

Responder* View::nextResponder() const {
  if (viewController_) return viewController_;
  return superview_;
}

// --- coordinates -------------------------------------------------------------

// Maps a point of this view's bounds space into its superview's space.
static cg::Point toSuperview(const View* v, cg::Point p) {
  cg::Rect f = v->frame();
  cg::Rect b = v->bounds();
  cg::AffineTransform t = v->transform();
  cg::Point local{p.x - b.origin.x - b.width() / 2, p.y - b.origin.y - b.height() / 2};
  cg::Point q = t.apply(local);
  return {q.x + f.midX(), q.y + f.midY()};
}

static cg::Point fromSuperview(const View* v, cg::Point p) {
  cg::Rect f = v->frame();
  cg::Rect b = v->bounds();
  cg::Point local{p.x - f.midX(), p.y - f.midY()};
  cg::Point q = v->transform().inverted().value_or(cg::AffineTransform()).apply(local);
  return {q.x + b.origin.x + b.width() / 2, q.y + b.origin.y + b.height() / 2};
}

// To window (root) coordinates: the root's bounds space.
static cg::Point toRoot(const View* v, cg::Point p) {
  for (; v->superview(); v = v->superview()) p = toSuperview(v, p);
  return p;
}

static cg::Point fromRoot(const View* v, cg::Point p) {
  std::vector<const View*> chain;
  for (; v->superview(); v = v->superview()) chain.push_back(v);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) p = fromSuperview(*it, p);
  return p;
}

cg::Point View::convertPointToView(cg::Point p, const View* view) const {
  cg::Point root = toRoot(this, p);
  return view ? fromRoot(view, root) : root;
}

cg::Point View::convertPointFromView(cg::Point p, const View* view) const {
  cg::Point root = view ? toRoot(view, p) : p;
  return fromRoot(this, root);
}

cg::Rect View::convertRectToView(cg::Rect r, const View* view) const {
  cg::Point a = convertPointToView(r.origin, view);
  cg::Point b = convertPointToView({r.maxX(), r.maxY()}, view);
  return cg::Rect(std::min(a.x, b.x), std::min(a.y, b.y), std::fabs(b.x - a.x), std::fabs(b.y - a.y));
}

// --- hit testing -------------------------------------------------------------

bool View::pointInside(cg::Point p) const { return bounds_.contains(p); }

View* View::hitTest(cg::Point p) {
  if (hidden_ || !userInteractionEnabled_ || alpha_ < 0.01f) return nullptr;
  if (!pointInside(p)) return nullptr;
  for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
    View* sub = it->get();
    if (View* hit = sub->hitTest(fromSuperview(sub, p))) return hit;
  }
  return this;
}

// --- display and layout --------------------------------------------------------

void View::drawRect(cg::Context&, cg::Rect) {}

void View::setNeedsDisplay() {
  needsDisplay_ = true;
  if (auto& observer = displayObserver()) observer();
}

void View::setNeedsLayout() { needsLayout_ = true; }

void View::layoutIfNeeded() {
  if (needsLayout_) {
    needsLayout_ = false;
    layoutSubviews();
  }
  for (auto& sub : subviews_) sub->layoutIfNeeded();
}

void View::sizeToFit() {
  cg::Size s = sizeThatFits(frame_.size);
  setFrame(cg::Rect(frame_.origin, s));
}

// --- gestures ----------------------------------------------------------------

void View::addGestureRecognizer(std::shared_ptr<GestureRecognizer> recognizer) {
  if (!recognizer) return;
  if (View* old = recognizer->view()) old->removeGestureRecognizer(recognizer.get());
  recognizer->attach(this);
  gestureRecognizers_.push_back(std::move(recognizer));
}

void View::removeGestureRecognizer(const GestureRecognizer* recognizer) {
  auto& list = gestureRecognizers_;
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (it->get() == recognizer) {
      (*it)->attach(nullptr);
      list.erase(it);
      return;
    }
  }
}

// --- presentation ------------------------------------------------------------

cg::Rect View::presentationFrame() const { return animFrame_.value_or(frame_); }
float View::presentationAlpha() const { return animAlpha_.value_or(alpha_); }
cg::AffineTransform View::presentationTransform() const { return animTransform_.value_or(transform_); }

}  // namespace ui

// --- rendering ---------------------------------------------------------------

namespace ui {

void View::drawSelf(cg::Context& context) {
  if (backgroundColor_ && !backgroundColor_->isClear()) {
    context.save();
    context.setFillColor(*backgroundColor_);
    context.fillRect(bounds_);
    context.restore();
  }
  context.save();
  drawRect(context, bounds_);
  context.restore();
  needsDisplay_ = false;
}

void View::renderTree(cg::Context& context, bool asRoot) {
  float alpha = presentationAlpha();
  if (hidden_ || alpha <= 0.0f) return;
  context.save();
  if (!asRoot) {
    cg::Rect f = presentationFrame();
    context.translate(f.midX(), f.midY());
    cg::AffineTransform t = presentationTransform();
    if (!t.isIdentity()) context.concatCTM(t);
    // While the frame animates, the content stretches to it as a layer would.
    if (bounds_.width() > 0 && bounds_.height() > 0 && !(f.size == bounds_.size))
      context.scaleBy(f.width() / bounds_.width(), f.height() / bounds_.height());
    context.translate(-bounds_.width() / 2, -bounds_.height() / 2);
  }
  context.translate(-bounds_.x(), -bounds_.y());
  bool layered = alpha < 1.0f;
  if (layered) {
    context.setAlpha(alpha);
    context.beginTransparencyLayer();
  }
  if (clipsToBounds_) context.clipToRect(bounds_);
  drawSelf(context);
  for (auto& sub : subviews_) sub->renderTree(context, false);
  if (layered) context.endTransparencyLayer();
  context.restore();
}

}  // namespace ui
