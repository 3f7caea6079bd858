#pragma once
// A view that turns touches into control events sent to its targets: the
// base of buttons, switches, segmented and page controls and text fields.
// It tracks one touch: down highlights, dragging out of reach (70 points
// around the bounds) unhighlights, lifting inside or outside ends it.
// Main thread only.
#include <functional>
#include <vector>

#include "platform/ui/View.h"

namespace ui {

// States, combinable, in the platform's numbering.
enum ControlState : unsigned {
  ControlStateNormal = 0,
  ControlStateHighlighted = 1 << 0,
  ControlStateDisabled = 1 << 1,
  ControlStateSelected = 1 << 2,
};

// Events, combinable, in the platform's numbering.
enum ControlEvents : unsigned {
  ControlEventTouchDown = 1 << 0,
  ControlEventTouchDownRepeat = 1 << 1,
  ControlEventTouchDragInside = 1 << 2,
  ControlEventTouchDragOutside = 1 << 3,
  ControlEventTouchDragEnter = 1 << 4,
  ControlEventTouchDragExit = 1 << 5,
  ControlEventTouchUpInside = 1 << 6,
  ControlEventTouchUpOutside = 1 << 7,
  ControlEventTouchCancel = 1 << 8,
  ControlEventValueChanged = 1 << 12,
  ControlEventEditingDidBegin = 1 << 16,
  ControlEventEditingChanged = 1 << 17,
  ControlEventEditingDidEnd = 1 << 18,
  ControlEventEditingDidEndOnExit = 1 << 19,
  ControlEventAllTouchEvents = 0x00000FFF,
  ControlEventAllEditingEvents = 0x000F0000,
  ControlEventAllEvents = 0xFFFFFFFF,
};

enum class ControlContentHorizontalAlignment { Center = 0, Left = 1, Right = 2, Fill = 3 };
enum class ControlContentVerticalAlignment { Center = 0, Top = 1, Bottom = 2, Fill = 3 };

class Control : public View {
 public:
  using View::View;
  // The action gets the control that sent it.
  using Action = std::function<void(Control& sender)>;

  // Target-action. The target only keys removal: it is not retained, and an
  // action that needs its target captures it weakly.
  void addTarget(const void* target, Action action, unsigned controlEvents);
  // Removes the target's actions for the events (all its actions for
  // ControlEventAllEvents); a null target removes every target's.
  void removeTarget(const void* target, unsigned controlEvents);
  // Runs the actions registered for any of the events, in order of adding.
  void sendActionsForControlEvents(unsigned controlEvents);
  unsigned allControlEvents() const;

  bool isEnabled() const { return enabled_; }
  virtual void setEnabled(bool enabled);
  bool isSelected() const { return selected_; }
  virtual void setSelected(bool selected);
  bool isHighlighted() const { return highlighted_; }
  virtual void setHighlighted(bool highlighted);
  unsigned state() const;
  bool isTracking() const { return tracking_; }
  bool isTouchInside() const { return touchInside_; }

  ControlContentHorizontalAlignment contentHorizontalAlignment() const { return hAlign_; }
  void setContentHorizontalAlignment(ControlContentHorizontalAlignment a) { hAlign_ = a; setNeedsLayout(); setNeedsDisplay(); }
  ControlContentVerticalAlignment contentVerticalAlignment() const { return vAlign_; }
  void setContentVerticalAlignment(ControlContentVerticalAlignment a) { vAlign_ = a; setNeedsLayout(); setNeedsDisplay(); }

  // A disabled control takes no touches (they pass to what lies beneath).
  View* hitTest(cg::Point p) override;

  void touchesBegan(const TouchSet& touches, const Event& event) override;
  void touchesMoved(const TouchSet& touches, const Event& event) override;
  void touchesEnded(const TouchSet& touches, const Event& event) override;
  void touchesCancelled(const TouchSet& touches, const Event& event) override;

 protected:
  // Tracking steps, in the control's bounds coordinates. Begin answers
  // whether to keep tracking; continue answers the same for each move.
  virtual bool beginTracking(const Touch& touch);
  virtual bool continueTracking(const Touch& touch);
  virtual void endTracking(const Touch& touch);
  virtual void cancelTracking();
  // Inside the reach of a tracked touch.
  bool isWithinReach(cg::Point p) const;

 private:
  struct TargetAction {
    const void* target;
    Action action;
    unsigned events;
  };
  std::vector<TargetAction> actions_;
  bool enabled_ = true;
  bool selected_ = false;
  bool highlighted_ = false;
  bool tracking_ = false;
  bool touchInside_ = false;
  ControlContentHorizontalAlignment hAlign_ = ControlContentHorizontalAlignment::Center;
  ControlContentVerticalAlignment vAlign_ = ControlContentVerticalAlignment::Center;
};

}  // namespace ui
