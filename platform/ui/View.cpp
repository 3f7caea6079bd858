#include "platform/ui/View.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "platform/graphics/Context.h"
#include "platform/ui/Animator.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/RenderPass.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {
std::function<void()>& displayObserver() {
  static std::function<void()> observer;
  return observer;
}

// How far (points) the drawing of a view of an unknown kind may reach past
// its bounds: the platform's panels cast shadows this far.
constexpr float kDrawingReach = 32;

// Subtrees larger than this count as covering the whole window when they
// move: walking them all would cost more than drawing them.
constexpr int kExtentBudget = 400;
const cg::Rect kEverywhere(-1e7f, -1e7f, 2e7f, 2e7f);
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
  damageDrawnArea();
  cg::Size old = bounds_.size;
  frame_ = frame;
  bounds_.size = frame.size;
  if (old != frame.size) {
    resizeSubviewsFromOldSize(old);
    setNeedsLayout();
  }
  damageDrawnArea();
  needsDisplay_ = true;
}

void View::setBounds(cg::Rect bounds) {
  Animator::willChange(*this, AnimatedProperty::Frame);
  damageDrawnArea();
  cg::Size old = bounds_.size;
  cg::Point c = center();
  bounds_ = bounds;
  frame_ = cg::Rect(c.x - bounds.width() / 2, c.y - bounds.height() / 2, bounds.width(),
                    bounds.height());
  if (old != bounds.size) {
    resizeSubviewsFromOldSize(old);
    setNeedsLayout();
  }
  damageDrawnArea();
  needsDisplay_ = true;
}

void View::setBoundsOrigin(cg::Point origin) {
  if (bounds_.origin == origin) return;
  cg::Point delta{origin.x - bounds_.origin.x, origin.y - bounds_.origin.y};
  // Without clipping, subviews beyond the bounds move too: all of it changes.
  if (!clipsToBounds_) damageDrawnArea();
  bounds_.origin = origin;
  needsDisplay_ = true;
  if (!clipsToBounds_) {
    damageDrawnArea();
    return;
  }
  if (Window* w = window()) w->viewDidScroll(*this, delta);
}

void View::setCenter(cg::Point c) {
  setFrame(cg::Rect(c.x - frame_.width() / 2, c.y - frame_.height() / 2, frame_.width(),
                    frame_.height()));
}

void View::setTransform(const cg::AffineTransform& t) {
  Animator::willChange(*this, AnimatedProperty::Transform);
  damageDrawnArea();
  transform_ = t;
  damageDrawnArea();
}

void View::setBackgroundColor(std::optional<cg::Color> color) {
  backgroundColor_ = color;
  setNeedsDisplay();
}

void View::setAlpha(float alpha) {
  Animator::willChange(*this, AnimatedProperty::Alpha);
  alpha_ = std::clamp(alpha, 0.0f, 1.0f);
  damageDrawnArea();
}

void View::setHidden(bool hidden) {
  if (hidden_ == hidden) return;
  hidden_ = hidden;
  damageDrawnArea();
}

void View::setClipsToBounds(bool clips) {
  if (clipsToBounds_ == clips) return;
  damageDrawnArea();
  clipsToBounds_ = clips;
  damageDrawnArea();
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
  if (view->superview_) view->damageDrawnArea();  // leaves its old place
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
  view->damageDrawnArea();
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
  v->damageDrawnArea();
}

void View::sendSubviewToBack(const View* view) {
  size_t i = indexOf(subviews_, view);
  if (i == subviews_.size()) return;
  auto v = subviews_[i];
  subviews_.erase(subviews_.begin() + static_cast<long>(i));
  subviews_.insert(subviews_.begin(), v);
  v->damageDrawnArea();
}

void View::removeFromSuperview() {
  if (!superview_) return;
  Window* oldWindow = window();
  auto self = shared_from_this();
  damageDrawnArea();
  willMoveToSuperview(nullptr);
  if (oldWindow) willMoveWindow(oldWindow, nullptr);
  detachFromSuperview();
  if (oldWindow) didMoveWindow();
  didMoveToSuperview();
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
  View* v = const_cast<View*>(this);
  while (v->superview_) v = v->superview_;
  return v->asWindow();
}

Responder* View::nextResponder() const {
  if (viewController_) return viewController_;
  return superview_;
}

cg::Rect View::screenRect(const View* v, cg::Rect r, Window*& w) {
  w = nullptr;
  while (View* parent = v->superview_) {
    r = v->presentationToSuperview().apply(r);
    if (parent->hidden_ || parent->presentationAlpha() <= 0) return {};
    if (parent->clipsToBounds_) r = r.intersection(parent->bounds_);
    if (r.isEmpty()) return {};
    v = parent;
  }
  w = const_cast<View*>(v)->asWindow();
  return w ? r : cg::Rect();
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
  Window* w = nullptr;
  float reach = clipsToBounds_ ? 0 : reachNow();
  cg::Rect r = screenRect(this, bounds_.insetBy(-reach, -reach), w);
  if (w) w->addDamage(r);
}

void View::damageDrawnArea() {
  Window* w = window();
  if (!w || w->isWhollyDamaged()) return;
  int budget = kExtentBudget;
  cg::Rect r = screenRect(this, drawnExtent(budget), w);
  if (w) w->addDamage(r);
}

cg::Rect View::rectOnScreen(cg::Rect rect) const {
  Window* w = nullptr;
  return screenRect(this, rect, w);
}

cg::Rect View::drawnFrame() const {
  if (!animFrame_) return frame_;
  for (const View* p = superview_; p; p = p->superview_)
    if (p->animFrame_ && !(p->animFrame_->size == p->bounds_.size)) return frame_;
  return *animFrame_;
}

cg::AffineTransform View::presentationToSuperview() const {
  cg::Rect f = drawnFrame();
  cg::AffineTransform m = cg::AffineTransform::translation(-bounds_.x() - bounds_.width() / 2,
                                                           -bounds_.y() - bounds_.height() / 2);
  // While the frame animates, the content stretches to it as a layer would.
  if (bounds_.width() > 0 && bounds_.height() > 0 && !(f.size == bounds_.size))
    m = m.concat(cg::AffineTransform::scaling(f.width() / bounds_.width(), f.height() / bounds_.height()));
  cg::AffineTransform t = presentationTransform();
  if (!t.isIdentity()) m = m.concat(t);
  return m.concat(cg::AffineTransform::translation(f.midX(), f.midY()));
}

cg::Rect View::drawnExtent(int& budget) const {
  if (clipsToBounds_) return bounds_;
  float reach = reachNow();
  cg::Rect extent = bounds_.insetBy(-reach, -reach);
  for (auto& sub : subviews_) {
    if (sub->hidden_) continue;
    if (--budget < 0) return kEverywhere;
    extent = extent.unionWith(sub->presentationToSuperview().apply(sub->drawnExtent(budget)));
  }
  return extent;
}

bool View::drawsInOnePaint() const { return typeid(*this) == typeid(View); }

float View::drawingReach() const { return typeid(*this) == typeid(View) ? 0 : kDrawingReach; }

float View::reachNow() const { return std::max(drawnReach_, drawingReach()); }

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

namespace {

// The smallest rect of whole pixels holding r, and the largest inside it.
cg::Rect outerPixels(const cg::Rect& r) {
  float x0 = std::floor(r.minX()), y0 = std::floor(r.minY());
  return cg::Rect(x0, y0, std::ceil(r.maxX()) - x0, std::ceil(r.maxY()) - y0);
}
// Edges this close to a whole pixel are on it (float noise of the transforms).
float roundUp(float v) { return std::fabs(v - std::round(v)) < 1e-3f ? std::round(v) : std::ceil(v); }
float roundDown(float v) { return std::fabs(v - std::round(v)) < 1e-3f ? std::round(v) : std::floor(v); }
cg::Rect innerPixels(const cg::Rect& r) {
  float x0 = roundUp(r.minX()), y0 = roundUp(r.minY());
  float x1 = roundDown(r.maxX()), y1 = roundDown(r.maxY());
  return x1 > x0 && y1 > y0 ? cg::Rect(x0, y0, x1 - x0, y1 - y0) : cg::Rect();
}
bool isUpright(const cg::AffineTransform& t) { return std::fabs(t.b) < 1e-6f && std::fabs(t.c) < 1e-6f; }

}  // namespace

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
  drawnReach_ = drawingReach();
}

void View::renderTree(cg::Context& context, bool asRoot) {
  RenderPass(context, false, cg::Rect()).draw(*this, asRoot);
}

RenderPass::RenderPass(cg::Context& context, bool cull, cg::Rect clip, std::vector<cg::Rect> regions)
    : context_(context), cull_(cull), clip_(clip), regions_(std::move(regions)) {}

// Some part of r lies in a region and is not covered by an opaque view.
bool RenderPass::shows(const cg::Rect& r) const {
  if (r.isEmpty()) return false;
  if (regions_.empty()) return !occluded(r);
  for (const cg::Rect& region : regions_) {
    cg::Rect part = region.intersection(r);
    if (!part.isEmpty() && !occluded(part)) return true;
  }
  return false;
}

void RenderPass::draw(View& view, bool asRoot) {
  float k = context_.scale();
  cg::AffineTransform toDevice = context_.ctm().concat(cg::AffineTransform::scaling(k, k));
  drawView(view, toDevice, clip_, clip_, asRoot);
}

bool RenderPass::occluded(const cg::Rect& r) const {
  for (const Occluder& o : occluders_)
    if (o.rect.contains(r)) return true;
  return false;
}

// The later siblings that paint their whole frame opaquely, nearest last, so
// that the ones behind a child are those above the entries of earlier children.
void RenderPass::pushOccluders(View& parent, const cg::AffineTransform& toDevice, const cg::Rect& clip) {
  auto& subs = parent.subviews_;
  for (std::size_t j = subs.size(); j-- > 1;) {
    View& s = *subs[j];
    if (s.hidden_ || s.presentationAlpha() < 1 || !s.backgroundColor_ || s.backgroundColor_->a < 1) continue;
    cg::AffineTransform m = s.presentationToSuperview().concat(toDevice);
    if (!isUpright(m)) continue;
    cg::Rect r = innerPixels(m.apply(s.bounds_)).intersection(clip);
    if (!r.isEmpty()) occluders_.push_back({r, j});
  }
}

void RenderPass::drawView(View& v, const cg::AffineTransform& toDevice, const cg::Rect& clip, const cg::Rect& solid,
                          bool asRoot) {
  float alpha = v.presentationAlpha();
  if (v.hidden_ || alpha <= 0.0f) return;
  cg::AffineTransform local =
      asRoot ? cg::AffineTransform::translation(-v.bounds_.x(), -v.bounds_.y()) : v.presentationToSuperview();
  cg::AffineTransform m = local.concat(toDevice);
  cg::Rect onDevice = m.apply(v.bounds_);
  bool drawsOwn = true;
  if (cull_) {
    // Own drawing is clipped to the bounds when the view clips.
    float reach = v.clipsToBounds_ ? 0 : v.reachNow() * context_.scale();
    cg::Rect own = onDevice.insetBy(-reach, -reach).intersection(clip);
    drawsOwn = shows(own);
    // Nothing of this view or its subviews falls outside its bounds.
    bool closed = v.clipsToBounds_ || v.subviews_.empty();
    if (closed && !drawsOwn) return;
  }

  context_.save();
  if (!asRoot) {
    cg::Rect f = v.drawnFrame();
    context_.translate(f.midX(), f.midY());
    cg::AffineTransform t = v.presentationTransform();
    if (!t.isIdentity()) context_.concatCTM(t);
    // While the frame animates, the content stretches to it as a layer would.
    if (v.bounds_.width() > 0 && v.bounds_.height() > 0 && !(f.size == v.bounds_.size))
      context_.scaleBy(f.width() / v.bounds_.width(), f.height() / v.bounds_.height());
    context_.translate(-v.bounds_.width() / 2, -v.bounds_.height() / 2);
  }
  context_.translate(-v.bounds_.x(), -v.bounds_.y());
  cg::Rect inner = v.clipsToBounds_ ? clip.intersection(outerPixels(onDevice)) : clip;
  // The pixels the clip leaves whole: only there does an opaque view cover for sure.
  cg::Rect innerSolid = v.clipsToBounds_ ? solid.intersection(innerPixels(onDevice)) : solid;
  bool layered = false;
  if (alpha < 1.0f) {
    // A single paint takes the alpha itself; anything else is composed apart,
    // in a layer no larger than what it can draw (on whole pixels, which
    // leaves the composition as it was).
    layered = !(v.subviews_.empty() && v.drawsInOnePaint());
    if (layered) {
      cg::Rect reach = onDevice;
      if (!v.clipsToBounds_) {
        int budget = 1 << 20;
        reach = m.apply(v.drawnExtent(budget));
      }
      cg::Rect box = outerPixels(reach);
      context_.clipToPixelRect(int(box.x()), int(box.y()), int(box.width()), int(box.height()));
    }
    context_.setAlpha(alpha);
    if (layered) context_.beginTransparencyLayer();
  }
  if (v.clipsToBounds_) context_.clipToRect(v.bounds_);
  if (drawsOwn) v.drawSelf(context_);
  if (!v.subviews_.empty() && !(cull_ && inner.isEmpty())) {
    std::size_t base = occluders_.size();
    if (cull_) pushOccluders(v, m, innerSolid);
    for (std::size_t i = 0; i < v.subviews_.size(); ++i) {
      while (occluders_.size() > base && occluders_.back().index <= i) occluders_.pop_back();
      std::shared_ptr<View> sub = v.subviews_[i];  // drawing may change the tree
      drawView(*sub, m, inner, innerSolid, false);
    }
    occluders_.resize(base);
  }
  if (layered) context_.endTransparencyLayer();
  context_.restore();
}

}  // namespace ui
