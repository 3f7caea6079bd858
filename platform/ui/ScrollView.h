#pragma once
// A view whose content is larger than itself: the content offset is the
// bounds origin, so scrolling moves the drawn subviews without laying them
// out again. A finger drags it (with a rubber band past the edges) and a
// flick carries on and slows down on the main run loop's clock; a mouse wheel
// or touchpad moves it too. Main thread only.
#include <memory>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/View.h"

namespace ui {

class ScrollView;

// Hears a scroll view move, in the platform's order: will begin dragging,
// did scroll (many), did end dragging (will decelerate), will begin
// decelerating, did scroll (many), did end decelerating.
class ScrollViewDelegate {
 public:
  virtual ~ScrollViewDelegate() = default;
  virtual void scrollViewDidScroll(ScrollView* scrollView) { (void)scrollView; }
  virtual void scrollViewWillBeginDragging(ScrollView* scrollView) { (void)scrollView; }
  virtual void scrollViewDidEndDragging(ScrollView* scrollView, bool willDecelerate) {
    (void)scrollView, (void)willDecelerate;
  }
  virtual void scrollViewWillBeginDecelerating(ScrollView* scrollView) { (void)scrollView; }
  virtual void scrollViewDidEndDecelerating(ScrollView* scrollView) { (void)scrollView; }
  // After setContentOffset(.., true) and scrollRectToVisible(.., true) come to rest.
  virtual void scrollViewDidEndScrollingAnimation(ScrollView* scrollView) { (void)scrollView; }
  virtual bool scrollViewShouldScrollToTop(ScrollView* scrollView) { (void)scrollView; return true; }
  virtual void scrollViewDidScrollToTop(ScrollView* scrollView) { (void)scrollView; }
};

class ScrollView : public View {
 public:
  ScrollView();
  explicit ScrollView(cg::Rect frame);
  ~ScrollView() override;

  std::weak_ptr<ScrollViewDelegate> delegate() const { return delegate_; }
  void setDelegate(std::weak_ptr<ScrollViewDelegate> delegate) { delegate_ = std::move(delegate); }

  cg::Size contentSize() const { return contentSize_; }
  void setContentSize(cg::Size size);
  cg::Point contentOffset() const { return bounds().origin; }
  // Set plainly it stops any motion and moves at once; inside a begin/commit
  // animation block it moves with the block's timing.
  void setContentOffset(cg::Point offset);
  // Animated: eases there, then did end scrolling animation.
  virtual void setContentOffset(cg::Point offset, bool animated);
  cg::EdgeInsets contentInset() const { return contentInset_; }
  void setContentInset(cg::EdgeInsets insets);
  cg::EdgeInsets scrollIndicatorInsets() const { return indicatorInsets_; }
  void setScrollIndicatorInsets(cg::EdgeInsets insets);
  // Scrolls the least that makes the rect (content coordinates) visible.
  void scrollRectToVisible(cg::Rect rect, bool animated);

  bool isScrollEnabled() const { return scrollEnabled_; }
  void setScrollEnabled(bool on) { scrollEnabled_ = on; }
  bool bounces() const { return bounces_; }
  void setBounces(bool on) { bounces_ = on; }
  bool alwaysBounceVertical() const { return alwaysBounceVertical_; }
  void setAlwaysBounceVertical(bool on) { alwaysBounceVertical_ = on; }
  bool alwaysBounceHorizontal() const { return alwaysBounceHorizontal_; }
  void setAlwaysBounceHorizontal(bool on) { alwaysBounceHorizontal_ = on; }
  // Paging: a drag comes to rest on a multiple of the bounds size.
  bool isPagingEnabled() const { return pagingEnabled_; }
  void setPagingEnabled(bool on) { pagingEnabled_ = on; }
  bool scrollsToTop() const { return scrollsToTop_; }
  void setScrollsToTop(bool on) { scrollsToTop_ = on; }
  bool showsVerticalScrollIndicator() const { return showsVertical_; }
  void setShowsVerticalScrollIndicator(bool on) { showsVertical_ = on; }
  bool showsHorizontalScrollIndicator() const { return showsHorizontal_; }
  void setShowsHorizontalScrollIndicator(bool on) { showsHorizontal_ = on; }
  // Shows the indicators for a moment.
  void flashScrollIndicators();

  // A finger is moving the content.
  bool isDragging() const { return dragging_; }
  // The content moves on after the finger lifted (carrying on, bouncing back
  // or settling on a page).
  bool isDecelerating() const { return decelerating_; }
  // The finger went down on this view (a drag may still follow).
  bool isTracking() const { return tracking_; }

  // The offsets the content rests between (the insets included).
  cg::Point minimumContentOffset() const;
  cg::Point maximumContentOffset() const;

  // A status-bar tap: the one visible scroll view of the window with
  // scrollsToTop that its delegate lets go scrolls to the top.
  static void scrollToTopFromStatusBar(View& root);

  void setFrame(cg::Rect frame) override;
  bool scrollWheel(const ScrollWheelEvent& event) override;
  void didAddSubview(View* view) override;
  void layoutSubviews() override;

 protected:
  // Called after every change of the offset, before the delegate hears it.
  virtual void contentOffsetDidChange() {}
  // True when the touch now down began by stopping a moving scroll (such a
  // touch selects nothing).
  bool touchStoppedScrolling() const { return touchStoppedScrolling_; }

 private:
  friend class ScrollPanRecognizer;

  enum class Motion { None, Deceleration, Animation, Block, Wheel };
  struct Axis {
    enum class Kind { Still, Decay, Spring, Ease } kind = Kind::Still;
    double start = 0;
    float from = 0;
    float velocity = 0;  // points per second, in offset terms
    float target = 0;
    double duration = 0;
    AnimationCurve curve = AnimationCurve::EaseInOut;
  };

  void init();
  // Moves the offset and tells everyone; the one door for every change.
  void applyOffset(cg::Point offset);
  void notifyDidScroll();
  std::shared_ptr<ScrollViewDelegate> liveDelegate() const { return delegate_.lock(); }

  // Touch handling, fed by the pan recogniser.
  void touchDown();
  void touchUpWithoutDrag();
  void beginDrag();
  void dragBy(cg::Point translation);
  void endDrag(cg::Point velocity, bool cancelled);
  bool canScrollVertically() const;
  bool canScrollHorizontally() const;
  float rubberBand(float offset, float min, float max, float dimension) const;

  // Motion after release, animations and wheel easing on one timer.
  void startMotion(Motion motion);
  void stopMotion();
  void tick();
  bool stepAxis(Axis& axis, float& value, float min, float max, double now);
  void easeTo(cg::Point target, double duration, double delay, AnimationCurve curve, Motion motion);
  float pageTarget(float offset, float velocity, float page, float min, float max, float start) const;

  void updateIndicators();
  void hideIndicatorsLater();

  std::weak_ptr<ScrollViewDelegate> delegate_;
  cg::Size contentSize_;
  cg::EdgeInsets contentInset_;
  cg::EdgeInsets indicatorInsets_;
  bool scrollEnabled_ = true;
  bool bounces_ = true;
  bool alwaysBounceVertical_ = false;
  bool alwaysBounceHorizontal_ = false;
  bool pagingEnabled_ = false;
  bool scrollsToTop_ = true;
  bool showsVertical_ = true;
  bool showsHorizontal_ = true;

  bool dragging_ = false;
  bool decelerating_ = false;
  bool tracking_ = false;
  bool touchStoppedScrolling_ = false;
  bool scrollingToTop_ = false;
  cg::Point dragStartOffset_;
  cg::Point dragStartUnclamped_;
  cg::Point pageAtDragStart_;

  Motion motion_ = Motion::None;
  Axis axisX_, axisY_;
  ns::Timer timer_;

  std::shared_ptr<View> verticalIndicator_;
  std::shared_ptr<View> horizontalIndicator_;
  bool indicatorsShown_ = false;
};

}  // namespace ui
