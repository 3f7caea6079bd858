#include "platform/ui/Control.h"

#include <memory>

namespace ui {

namespace {
constexpr float kReach = 70;  // how far outside a tracked touch still counts as inside
}

void Control::addTarget(const void* target, Action action, unsigned controlEvents) {
  if (!action || controlEvents == 0) return;
  actions_.push_back({target, std::move(action), controlEvents});
}

void Control::removeTarget(const void* target, unsigned controlEvents) {
  for (auto it = actions_.begin(); it != actions_.end();) {
    if (target && it->target != target) {
      ++it;
      continue;
    }
    it->events &= ~controlEvents;
    it = it->events == 0 ? actions_.erase(it) : it + 1;
  }
}

void Control::sendActionsForControlEvents(unsigned controlEvents) {
  // An action may remove actions or the control itself: run a copy, keep the control.
  auto keep = weak_from_this().lock();
  std::vector<Action> due;
  for (const auto& a : actions_)
    if (a.events & controlEvents) due.push_back(a.action);
  for (auto& action : due) action(*this);
}

unsigned Control::allControlEvents() const {
  unsigned all = 0;
  for (const auto& a : actions_) all |= a.events;
  return all;
}

void Control::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (!enabled) highlighted_ = false;
  setNeedsLayout();
  setNeedsDisplay();
}

void Control::setSelected(bool selected) {
  if (selected_ == selected) return;
  selected_ = selected;
  setNeedsLayout();
  setNeedsDisplay();
}

void Control::setHighlighted(bool highlighted) {
  if (highlighted_ == highlighted) return;
  highlighted_ = highlighted;
  setNeedsLayout();
  setNeedsDisplay();
}

unsigned Control::state() const {
  unsigned s = ControlStateNormal;
  if (highlighted_) s |= ControlStateHighlighted;
  if (!enabled_) s |= ControlStateDisabled;
  if (selected_) s |= ControlStateSelected;
  return s;
}

View* Control::hitTest(cg::Point p) {
  View* hit = View::hitTest(p);
  return hit == this && !enabled_ ? nullptr : hit;
}

bool Control::isWithinReach(cg::Point p) const { return bounds().insetBy(-kReach, -kReach).contains(p); }

bool Control::beginTracking(const Touch&) { return true; }
bool Control::continueTracking(const Touch&) { return true; }
void Control::endTracking(const Touch&) {}
void Control::cancelTracking() {}

void Control::touchesBegan(const TouchSet& touches, const Event&) {
  if (!enabled_ || touches.empty()) return;
  const Touch& t = *touches.front();
  tracking_ = true;
  touchInside_ = true;
  setHighlighted(true);
  auto keep = weak_from_this().lock();
  sendActionsForControlEvents(t.tapCount() > 1 ? ControlEventTouchDown | ControlEventTouchDownRepeat
                                               : ControlEventTouchDown);
  if (tracking_ && !beginTracking(t)) tracking_ = false;
}

void Control::touchesMoved(const TouchSet& touches, const Event&) {
  if (!tracking_ || touches.empty()) return;
  const Touch& t = *touches.front();
  bool inside = isWithinReach(t.locationInView(this));
  bool was = touchInside_;
  touchInside_ = inside;
  setHighlighted(inside);
  unsigned events = inside ? ControlEventTouchDragInside : ControlEventTouchDragOutside;
  if (inside != was) events |= inside ? ControlEventTouchDragEnter : ControlEventTouchDragExit;
  auto keep = weak_from_this().lock();
  sendActionsForControlEvents(events);
  if (tracking_ && !continueTracking(t)) tracking_ = false;
}

void Control::touchesEnded(const TouchSet& touches, const Event&) {
  if (!tracking_ || touches.empty()) {
    setHighlighted(false);
    return;
  }
  const Touch& t = *touches.front();
  touchInside_ = isWithinReach(t.locationInView(this));
  tracking_ = false;
  setHighlighted(false);
  auto keep = weak_from_this().lock();
  endTracking(t);
  sendActionsForControlEvents(touchInside_ ? ControlEventTouchUpInside : ControlEventTouchUpOutside);
}

void Control::touchesCancelled(const TouchSet&, const Event&) {
  bool was = tracking_;
  tracking_ = false;
  setHighlighted(false);
  if (!was) return;
  auto keep = weak_from_this().lock();
  cancelTracking();
  sendActionsForControlEvents(ControlEventTouchCancel);
}

}  // namespace ui
