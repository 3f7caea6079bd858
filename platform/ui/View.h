#pragma once
// A rectangle of the window's view tree: frame in its superview, bounds in its
// own coordinates, background colour, alpha, hidden, tag, autoresizing and a
// virtual drawRect. A superview owns its subviews; a subview points back weakly.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/Responder.h"

namespace cg {
class Context;
}

namespace ui {

class Window;
class GestureRecognizer;
class ViewController;

// Timing curves of named animations, in the platform's numbering.
enum class AnimationCurve { EaseInOut = 0, EaseIn = 1, EaseOut = 2, Linear = 3 };

// Transitions of a whole view inside a named animation, in the platform's
// numbering (the flips are not drawn: they change the view at once).
enum class AnimationTransition { None = 0, FlipFromLeft = 1, FlipFromRight = 2, CurlUp = 3, CurlDown = 4 };

// Called once when a named animation ends: its name, whether it ran to the end
// and the context given to beginAnimations.
using AnimationDidStop = std::function<void(const std::string& name, bool finished, void* context)>;

// Autoresizing: which margins and dimensions follow a change of the superview's size.
enum AutoresizingMask : unsigned {
  ViewAutoresizingNone = 0,
  ViewAutoresizingFlexibleLeftMargin = 1 << 0,
  ViewAutoresizingFlexibleWidth = 1 << 1,
  ViewAutoresizingFlexibleRightMargin = 1 << 2,
  ViewAutoresizingFlexibleTopMargin = 1 << 3,
  ViewAutoresizingFlexibleHeight = 1 << 4,
  ViewAutoresizingFlexibleBottomMargin = 1 << 5,
};

// How content fits the bounds, in the platform's numbering.
enum class ContentMode {
  ScaleToFill = 0, ScaleAspectFit, ScaleAspectFill, Redraw, Center, Top, Bottom, Left, Right,
  TopLeft, TopRight, BottomLeft, BottomRight,
};

class View : public Responder, public std::enable_shared_from_this<View> {
 public:
  View();
  explicit View(cg::Rect frame);
  ~View() override;
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // Geometry. Setting the frame resizes the bounds and lays out subviews by
  // their autoresizing masks.
  cg::Rect frame() const { return frame_; }
  virtual void setFrame(cg::Rect frame);
  cg::Rect bounds() const { return bounds_; }
  void setBounds(cg::Rect bounds);
  cg::Point center() const { return {frame_.midX(), frame_.midY()}; }
  void setCenter(cg::Point c);
  cg::AffineTransform transform() const { return transform_; }
  void setTransform(const cg::AffineTransform& t);

  // Appearance.
  std::optional<cg::Color> backgroundColor() const { return backgroundColor_; }
  void setBackgroundColor(std::optional<cg::Color> color);
  float alpha() const { return alpha_; }
  void setAlpha(float alpha);
  bool isHidden() const { return hidden_; }
  void setHidden(bool hidden);
  bool isOpaque() const { return opaque_; }
  void setOpaque(bool opaque) { opaque_ = opaque; }
  bool clipsToBounds() const { return clipsToBounds_; }
  void setClipsToBounds(bool clips);
  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }
  bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
  void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
  bool isMultipleTouchEnabled() const { return multipleTouchEnabled_; }
  void setMultipleTouchEnabled(bool enabled) { multipleTouchEnabled_ = enabled; }
  unsigned autoresizingMask() const { return autoresizingMask_; }
  void setAutoresizingMask(unsigned mask) { autoresizingMask_ = mask; }
  ContentMode contentMode() const { return contentMode_; }
  void setContentMode(ContentMode mode) { contentMode_ = mode; setNeedsDisplay(); }
  bool autoresizesSubviews() const { return autoresizesSubviews_; }
  void setAutoresizesSubviews(bool on) { autoresizesSubviews_ = on; }

  // The tree.
  View* superview() const { return superview_; }
  const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
  void addSubview(std::shared_ptr<View> view);
  void insertSubviewAtIndex(std::shared_ptr<View> view, size_t index);
  void insertSubviewAboveSubview(std::shared_ptr<View> view, const View* sibling);
  void insertSubviewBelowSubview(std::shared_ptr<View> view, const View* sibling);
  void bringSubviewToFront(const View* view);
  void sendSubviewToBack(const View* view);
  void removeFromSuperview();
  bool isDescendantOfView(const View* view) const;
  // This view when its tag matches, else the first match depth-first.
  View* viewWithTag(int tag);
  // The window at the root of the tree, or null when not in one.
  Window* window() const;
  Window* responderWindow() const override { return window(); }

  // Coordinates.
  cg::Point convertPointToView(cg::Point p, const View* view) const;    // null: to the window
  cg::Point convertPointFromView(cg::Point p, const View* view) const;  // null: from the window
  cg::Rect convertRectToView(cg::Rect r, const View* view) const;

  // Hit testing: the deepest visible, interactive view containing the point
  // (in this view's bounds coordinates), front-most first.
  virtual View* hitTest(cg::Point p);
  virtual bool pointInside(cg::Point p) const;
  // A wheel or touchpad scroll over this view; false passes it to the superview.
  virtual bool scrollWheel(const ScrollWheelEvent& event) { (void)event; return false; }

  // Drawing. drawRect draws this view's own content in its bounds
  // coordinates; the background colour is already filled. setNeedsDisplay
  // marks the view's area of its window as changed: the window draws again
  // only what changed (and what moved, appeared or disappeared).
  virtual void drawRect(cg::Context& context, cg::Rect rect);
  void setNeedsDisplay();
  bool needsDisplay() const { return needsDisplay_; }
  // Draws this view and its visible subviews into the context, whose current
  // user space is this view's superview space (or the view's own bounds
  // space when asRoot is true). Everything is drawn: the window's own
  // display draws only what changed.
  void renderTree(cg::Context& context, bool asRoot = false);
  // A rect of this view's bounds space in its window's space as drawn now
  // (animations included), cut to what its clipping ancestors show; empty
  // when the view is not in a window or an ancestor is hidden or clear.
  cg::Rect rectOnScreen(cg::Rect rect) const;

  // Layout.
  virtual void layoutSubviews() {}
  void setNeedsLayout();
  void layoutIfNeeded();
  virtual cg::Size sizeThatFits(cg::Size size) const { (void)size; return frame_.size; }
  void sizeToFit();

  // Hooks of the tree.
  virtual void willMoveToSuperview(View*) {}
  virtual void didMoveToSuperview() {}
  virtual void willMoveToWindow(Window*) {}
  virtual void didMoveToWindow() {}
  virtual void didAddSubview(View*) {}
  virtual void willRemoveSubview(View*) {}

  // Gesture recognisers attached to this view (the view owns them).
  void addGestureRecognizer(std::shared_ptr<GestureRecognizer> recognizer);
  void removeGestureRecognizer(const GestureRecognizer* recognizer);
  const std::vector<std::shared_ptr<GestureRecognizer>>& gestureRecognizers() const {
    return gestureRecognizers_;
  }

  Responder* nextResponder() const override;

  // The values drawn now: the animated presentation while an animation runs,
  // else the model values above.
  cg::Rect presentationFrame() const;
  float presentationAlpha() const;
  cg::AffineTransform presentationTransform() const;

  // Told of every setNeedsDisplay (the window keeps its own account of
  // what changed; this is for watchers such as tests).
  static void setDisplayObserver(std::function<void()> observer);

  // The controller whose view this is (it comes before the superview in the
  // responder chain).
  ViewController* viewController() const { return viewController_; }

  // Named animations. Changes of frame, centre, bounds, alpha and transform
  // made between begin and commit animate from their drawn values to the new
  // ones on the main run loop's clock; the model values change at once.
  static void beginAnimations(const std::string& name, void* context = nullptr);
  static void commitAnimations();
  static void setAnimationDuration(double seconds);  // default 0.2
  static void setAnimationDelay(double seconds);
  static void setAnimationCurve(AnimationCurve curve);
  // The did-stop call runs only while the delegate lives (when one is set).
  static void setAnimationDelegate(std::weak_ptr<const void> delegate);
  static void setAnimationDidStopSelector(AnimationDidStop didStop);
  // The view turns like a page from what it shows now to what the block
  // changes (the picture of it is taken here; cache is accepted and unused).
  static void setAnimationTransition(AnimationTransition transition, View* view, bool cache = false);
  static void setAnimationsEnabled(bool enabled);
  static bool areAnimationsEnabled();
  // Animations running now (for tests and the backend's frame pacing).
  static size_t runningAnimationCount();

 protected:
  // Moves the bounds origin alone (scrolling): no layout, no animation. The
  // window may move the pixels already shown instead of drawing them again.
  void setBoundsOrigin(cg::Point origin);
  // True when drawing is one paint of the whole view (a plain colour, an
  // image), which a view with alpha below 1 and no subviews then paints
  // with that alpha instead of through a transparency layer.
  virtual bool drawsInOnePaint() const;
  // How far (points) this view's own drawing may reach past its bounds: a
  // panel's shadow, a stroke along an edge. Views of unknown kinds answer a
  // margin that holds the platform's shadows; views that keep to their
  // bounds answer 0, which lets the window draw less around them.
  virtual float drawingReach() const;

 private:
  friend class Animator;
  friend class ViewController;
  friend class RenderPass;
  friend struct AnimatorState;
  friend class Window;
  // A rect of v's bounds space in its window's space as drawn now, cut by
  // clipping ancestors; w is the window (null, and the rect empty, when v is
  // in none or an ancestor hides it).
  static cg::Rect screenRect(const View* v, cg::Rect r, Window*& w);
  // The map from this view's bounds space to its superview's, as drawn now.
  cg::AffineTransform presentationToSuperview() const;
  // The frame drawn now: the presentation frame, or the model frame inside
  // an ancestor whose picture is stretched to its animating frame (the
  // subtree is laid out as it will be and stretched once, with it).
  cg::Rect drawnFrame() const;
  // What this view and its subviews may draw, in its bounds space.
  cg::Rect drawnExtent(int& budget) const;
  // Marks the area the view and its subviews take on screen as changed
  // (before and after it moves, turns, fades, appears or disappears).
  void damageDrawnArea();
  // The reach of the drawing shown now or about to be drawn.
  float reachNow() const;
  // A window view answers itself.
  virtual Window* asWindow() { return nullptr; }
  void resizeSubviewsFromOldSize(cg::Size old);
  void autoresizeFromOldSuperviewSize(cg::Size old, cg::Size now);
  void detachFromSuperview();
  void willMoveWindow(Window* from, Window* to);
  void didMoveWindow();
  void drawSelf(cg::Context& context);

  cg::Rect frame_;
  cg::Rect bounds_;
  cg::AffineTransform transform_;
  std::optional<cg::Color> backgroundColor_;
  float alpha_ = 1;
  bool hidden_ = false;
  bool opaque_ = true;
  bool clipsToBounds_ = false;
  bool userInteractionEnabled_ = true;
  bool multipleTouchEnabled_ = false;
  bool autoresizesSubviews_ = true;
  bool needsDisplay_ = true;
  bool needsLayout_ = false;
  float drawnReach_ = 0;  // drawingReach() when last drawn
  unsigned autoresizingMask_ = ViewAutoresizingNone;
  ContentMode contentMode_ = ContentMode::ScaleToFill;
  int tag_ = 0;

  View* superview_ = nullptr;  // the superview owns this view and outlives the link
  ViewController* viewController_ = nullptr;  // the controller owns this view
  std::vector<std::shared_ptr<View>> subviews_;
  std::vector<std::shared_ptr<GestureRecognizer>> gestureRecognizers_;

  // Presentation values while animating (set by the animator).
  std::optional<cg::Rect> animFrame_;
  std::optional<float> animAlpha_;
  std::optional<cg::AffineTransform> animTransform_;
};

}  // namespace ui
