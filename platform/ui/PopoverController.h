#pragma once
// A panel floating over the window with an arrow pointing at a rectangle of
// a view, holding a content controller. It is placed as the tablet places
// it: on the permitted side with room for it, the arrow at the rectangle.
// A tap outside (not on a pass-through view) asks the delegate whether to
// close, closes, and then tells the delegate; a dismissal in code tells no
// one. While the window turns, a visible popover hides and comes back at its
// rectangle afterwards.
#include <memory>
#include <vector>

#include "platform/ui/ViewController.h"

namespace ui {

class PopoverController;

// The platform's bits.
enum PopoverArrowDirection : unsigned {
  PopoverArrowDirectionUp = 1,
  PopoverArrowDirectionDown = 2,
  PopoverArrowDirectionLeft = 4,
  PopoverArrowDirectionRight = 8,
  PopoverArrowDirectionAny = 15,
  PopoverArrowDirectionUnknown = ~0u,
};

class PopoverControllerDelegate {
 public:
  virtual ~PopoverControllerDelegate() = default;
  // Asked on a tap outside; YES when not answered.
  virtual bool popoverControllerShouldDismissPopover(PopoverController&) { return true; }
  // Told after a tap outside closed the popover (never after a dismissal in code).
  virtual void popoverControllerDidDismissPopover(PopoverController&) {}
};

// Where a popover goes: its frame in window coordinates (arrow included),
// the arrow's direction and the point of its tip.
struct PopoverPlacement {
  cg::Rect frame;
  unsigned arrowDirection = PopoverArrowDirectionUnknown;
  cg::Point arrowTip;
};

class PopoverController : public std::enable_shared_from_this<PopoverController> {
 public:
  static constexpr float kBorder = 8;       // frame around the content
  static constexpr float kArrowLength = 20;
  static constexpr float kArrowHalfWidth = 18;
  static constexpr float kScreenMargin = 10;

  explicit PopoverController(std::shared_ptr<ViewController> content);
  ~PopoverController();
  PopoverController(const PopoverController&) = delete;
  PopoverController& operator=(const PopoverController&) = delete;

  const std::shared_ptr<ViewController>& contentViewController() const { return content_; }
  void setContentViewController(std::shared_ptr<ViewController> content, bool animated = false);

  // The content's size (zero until set: then the content controller's own).
  cg::Size popoverContentSize() const;
  void setPopoverContentSize(cg::Size size, bool animated = false);

  void presentPopoverFromRect(cg::Rect rect, View* inView, unsigned arrowDirections, bool animated);
  void dismissPopoverAnimated(bool animated);
  bool isPopoverVisible() const { return visible_; }
  unsigned popoverArrowDirection() const { return visible_ ? placement_.arrowDirection : PopoverArrowDirectionUnknown; }
  // Where the popover stands now, in window coordinates.
  const PopoverPlacement& placement() const { return placement_; }

  // Touches on these views go through to them, without closing the popover.
  void setPassthroughViews(std::vector<std::weak_ptr<View>> views) { passthrough_ = std::move(views); }
  const std::vector<std::weak_ptr<View>>& passthroughViews() const { return passthrough_; }

  void setDelegate(std::weak_ptr<PopoverControllerDelegate> delegate) { delegate_ = std::move(delegate); }

  // The placement for a content size at a rectangle (window coordinates),
  // inside the area the popover may use.
  static PopoverPlacement place(cg::Rect anchor, cg::Size content, unsigned directions, cg::Rect area);

  // Sent by the window around a rotation.
  static void hideVisiblePopoversForRotation();
  static void showPopoversAfterRotation();

  // Called by the views (touch outside).
  void touchedOutside();
  bool passesThrough(cg::Point windowPoint) const;

 private:
  class FrameView;
  class OutsideView;
  cg::Size shownContentSize() const;
  cg::Rect anchorInWindow() const;
  PopoverPlacement placementNow() const;
  void layoutPanel(bool animated);
  void installContent();
  void close(bool animated, bool tellDelegate);
  void finishDismissal(const std::shared_ptr<View>& outside, const std::shared_ptr<ViewController>& content,
                       bool animated, bool tellDelegate);

  std::shared_ptr<ViewController> content_;
  cg::Size contentSize_{0, 0};
  std::weak_ptr<PopoverControllerDelegate> delegate_;
  std::vector<std::weak_ptr<View>> passthrough_;
  bool visible_ = false;
  bool hiddenForRotation_ = false;
  cg::Rect anchorRect_;
  std::weak_ptr<View> anchorView_;
  unsigned directions_ = PopoverArrowDirectionAny;
  PopoverPlacement placement_;
  std::shared_ptr<OutsideView> outside_;
  std::shared_ptr<FrameView> frame_;
};

}  // namespace ui
