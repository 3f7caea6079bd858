#pragma once
// A row of pages from a data source, one page centred at a time with its
// two neighbours laid out beside it. One finger pages (and drags a zoomed
// page about), two fingers or a double tap zoom the centre page, a still
// finger can press and hold, and the pages follow the device's orientation.
// All motion is four page-edge offsets: the gestures move them and an
// animation on the run loop's clock settles them; the page views are moved
// by frame and transform, never redrawn by this view. At most three page
// views exist; pages leaving the ring wait in a queue for reuse. On the
// desktop the second finger is the Ctrl+mouse stand-in. Main thread only.
#include <memory>
#include <optional>
#include <vector>

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/ui/View.h"

class TKScrollView;

class TKScrollViewDataSource {
 public:
  virtual ~TKScrollViewDataSource() = default;
  virtual int numberOfPagesInScrollView(TKScrollView& scrollView) = 0;
  // A page for the slot (taken from dequeueReusablePage when one waits); none
  // leaves the slot empty.
  virtual std::shared_ptr<ui::View> pageAtIndex(TKScrollView& scrollView, int index) = 0;
  // The page's natural size for fitting; none (or a zero side): the view's page size.
  virtual std::optional<cg::Size> sizeOfPageAtIndex(TKScrollView& scrollView, int index) {
    (void)scrollView, (void)index;
    return std::nullopt;
  }
};

// Only didMoveToPageAtIndex is required; the rest do nothing unless answered.
class TKScrollViewDelegate {
 public:
  virtual ~TKScrollViewDelegate() = default;
  virtual void didMoveToPageAtIndex(TKScrollView& scrollView, int index) = 0;
  virtual void scrollViewWillRotate(TKScrollView&, int toOrientation) { (void)toOrientation; }
  virtual void scrollViewDidRotate(TKScrollView&) {}
  virtual void scrollViewWillBeginDragging(TKScrollView&) {}
  virtual void scrollViewDidEndDragging(TKScrollView&, bool willDecelerate) { (void)willDecelerate; }
  virtual void scrollViewDidEndDecelerating(TKScrollView&) {}
  virtual bool scrollViewShouldZoom(TKScrollView&) { return true; }
  virtual void scrollViewDidBeginZooming(TKScrollView&) {}
  virtual void scrollViewDidEndZooming(TKScrollView&) {}
  virtual void touchedDown(TKScrollView&, const ui::Touch&) {}
  virtual void touchedUpInside(TKScrollView&, const ui::Touch&) {}
  // 0.2 s after a single tap that no second tap followed.
  virtual void tapped(TKScrollView&, const ui::Touch&) {}
  virtual void scrollViewDidBeginHolding(TKScrollView&) {}
  virtual void scrollViewDidEndHolding(TKScrollView&) {}
  virtual bool shouldAutorotateToInterfaceOrientation(TKScrollView&, int orientation) {
    (void)orientation;
    return true;
  }
};

class TKScrollView : public ui::View {
 public:
  static constexpr int kMaxPages = 3;
  static constexpr float kFlickDistance = 60;
  static constexpr double kAnimationTick = 0.005;
  static constexpr double kTapDelay = 0.2;
  // The device orientation notification the view follows.
  static constexpr const char* kDeviceOrientationDidChangeNotification = "UIDeviceOrientationDidChangeNotification";

  explicit TKScrollView(cg::Rect frame = {});
  ~TKScrollView() override;

  std::shared_ptr<TKScrollViewDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<TKScrollViewDelegate> delegate) { delegate_ = std::move(delegate); }
  std::shared_ptr<TKScrollViewDataSource> dataSource() const { return dataSource_.lock(); }
  // Loads the pages afresh.
  void setDataSource(std::weak_ptr<TKScrollViewDataSource> dataSource);

  int centerPageIndex() const { return centerPageIndex_; }
  // A neighbour recycles the page that falls out of the ring; a jump reloads.
  void setCenterPageIndex(int index);
  float pageSpacing() const { return pageSpacing_; }
  void setPageSpacing(float spacing) { pageSpacing_ = spacing; }
  bool scrollEnabled() const { return scrollEnabled_; }
  void setScrollEnabled(bool on) { scrollEnabled_ = on; }
  bool zoomEnabled() const { return zoomEnabled_; }
  void setZoomEnabled(bool on) { zoomEnabled_ = on; }
  bool rotateEnabled() const { return rotateEnabled_; }
  void setRotateEnabled(bool on) { rotateEnabled_ = on; }
  // 1 portrait, 2 upside down, 3 landscape left, 4 landscape right; 1 at first.
  int orientation() const { return orientation_; }
  void setOrientation(int orientation) { setOrientation(orientation, true); }
  void setOrientation(int orientation, bool animated);
  double holdsAfterTouchingForInterval() const { return holdsAfterTouchingForInterval_; }
  void setHoldsAfterTouchingForInterval(double seconds) { holdsAfterTouchingForInterval_ = seconds; }
  bool holding() const { return holding_; }
  bool dragging() const { return dragging_; }
  bool zooming() const { return zooming_; }
  bool isAnimating() const { return animationTimer_.isValid(); }

  int numberOfPages() const;
  std::shared_ptr<ui::View> centerPage() { return pageAtIndex(centerPageIndex_, true); }
  // Only a page already in a slot.
  std::shared_ptr<ui::View> pageAtIndex(int index) { return pageAtIndex(index, false); }
  // The centre page and its neighbours, made where missing, by index.
  std::vector<std::pair<int, std::shared_ptr<ui::View>>> visiblePages();
  // The last page put aside, taken out of the queue; none when it is empty.
  std::shared_ptr<ui::View> dequeueReusablePage();
  void reloadData();
  // Back to the fitted page, or into it by a distance on every side (0.5 s).
  void zoomToFit();
  void zoomToDistance(float distance);

  // The page-edge state, for those who watch the view move.
  cg::EdgeInsets pageEdges() const { return pageEdges_; }
  float pageWidth() const;
  float pageHeight() const;
  bool zoomed() const { return edgesAreZoomed(pageEdges_); }
  bool pinched() const { return pageEdges_.right - pageEdges_.left < 0; }
  bool pulled() const;
  float zoomFactor() const;
  bool flipped() const { return orientation_ == 4 || orientation_ == 2; }
  bool isFirstPage() const { return centerPageIndex_ == 0; }
  bool isLastPage() const { return centerPageIndex_ + 1 >= numberOfPages(); }
  bool flicked() const;
  int realPageIndex() const;
  // The centre page's fitted frame in the view.
  cg::Rect frameOfPageAtIndex(int index) const;

  void layoutSubviews() override;
  void didMoveToSuperview() override;
  void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;

 private:
  // Pages and slots.
  int arrayIndexForPageIndex(int pageIndex, int relativeTo) const;
  std::shared_ptr<ui::View> pageAtIndex(int index, bool create);
  void enqueuePageAtIndex(int pageIndex);
  void enqueueAllPages();
  float overflowForFrame(cg::Rect frame) const;
  cg::Point offsetForOrientation(float x, float y) const;
  cg::AffineTransform transformForOrientation(int orientation) const;
  void adjustPageEdgesForPageAtIndex(int index);
  void moveToPageAtIndex(int index, bool resetEdges);
  void layoutPage();
  void layoutAdjacentPages();
  cg::EdgeInsets reversePageEdges() const;
  void updateZooming(cg::EdgeInsets edges);
  void stopDragging(bool willDecelerate);
  void rotationDidStop();
  void deviceOrientationDidChange();

  // Animation.
  void startAnimationTo(cg::EdgeInsets change, double duration);
  void stopAnimation(bool resetEdges);
  void animator();

  // Gestures.
  cg::Point touchLocation(const ui::Touch& touch) const;
  void acquireTouch(const std::shared_ptr<ui::Touch>& touch);
  std::shared_ptr<ui::Touch> removeTouch(const ui::Touch* touch);
  bool isTracked(const ui::Touch* touch) const { return touch && (touch == touch1_.get() || touch == touch2_.get()); }
  cg::EdgeInsets squareTouchEdges(cg::EdgeInsets edges) const;
  float resist(float from, float to, float max) const;
  cg::EdgeInsets resistPageEdges(cg::EdgeInsets edges) const;
  cg::EdgeInsets pageEdgesForAnimation() const;
  cg::EdgeInsets zoomPageEdgesTo(cg::Point point) const;
  bool canZoom();
  static bool edgesAreZoomed(const cg::EdgeInsets& e) { return e.left != e.right || e.top != e.bottom; }
  void startTapTimer(std::shared_ptr<ui::Touch> touch);
  void beginHolding();
  void endHolding();

  std::weak_ptr<TKScrollViewDelegate> delegate_;
  std::weak_ptr<TKScrollViewDataSource> dataSource_;
  int centerPageIndex_ = 0;
  int visiblePageIndex_ = -1;
  bool scrollEnabled_ = true, zoomEnabled_ = true, rotateEnabled_ = true;
  float pageSpacing_ = 40;
  int orientation_ = 1;
  double holdsAfterTouchingForInterval_ = 0;
  std::vector<std::shared_ptr<ui::View>> pages_;  // kMaxPages slots, null when empty
  std::vector<std::shared_ptr<ui::View>> pageQueue_;
  int pageArrayIndex_ = 0;
  ns::Timer tapTimer_, holdingTimer_, animationTimer_;
  double animationStartTime_ = 0;
  double animationDuration_ = 0;
  cg::EdgeInsets animateEdges_, pageEdges_, pageStartEdges_, touchEdges_, touchStartEdges_;
  unsigned touchCount_ = 0;
  std::shared_ptr<ui::Touch> touch1_, touch2_;
  bool dragging_ = false, zooming_ = false, holding_ = false;
  ns::Observer orientationObserver_;
};
