#pragma once
// The toolkit's additions to views: edge setters, positions in the window,
// searches up and down the tree, emptying a view and the frame left free by
// the keyboard. Main thread only.
#include <functional>
#include <string>

#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

namespace ui {

// Moves the frame so that its right (bottom) edge is at the value; size kept.
void setRight(View& view, float right);
void setBottom(View& view, float bottom);

// The sum of the origins of the view and every superview, the window's included.
float screenX(const View& view);
float screenY(const View& view);
// The origins summed up to, not including, the ancestor; (0, 0) for the view itself.
cg::Point offsetFromView(const View& view, const View* ancestor);

// The view or the first descendant (depth first) of the type; null when none.
template <typename T>
T* descendantOrSelfWithClass(View& view) {
  if (auto* hit = dynamic_cast<T*>(&view)) return hit;
  for (auto& sub : view.subviews())
    if (T* hit = descendantOrSelfWithClass<T>(*sub)) return hit;
  return nullptr;
}
// The view or its nearest ancestor of the type; null when none.
template <typename T>
T* ancestorOrSelfWithClass(View& view) {
  for (View* v = &view; v; v = v->superview())
    if (auto* hit = dynamic_cast<T*>(v)) return hit;
  return nullptr;
}

// Removes the subviews, the last first.
void removeAllSubviews(View& view);

// The frame less what the keyboard, when it shows, covers of it (and a margin above it).
cg::Rect frameWithKeyboardSubtracted(const View& view, float margin);

// A view that slides in from the bottom of the container like the keyboard,
// and out again, announcing itself with the keyboard's will-show and
// will-hide notifications (bounds and begin and end centres), so screens
// that make room for the keyboard make room for it too.
inline constexpr double kPresentAsKeyboardDuration = 0.3;
void presentAsKeyboardInView(const std::shared_ptr<View>& view, View& container);
void dismissAsKeyboard(const std::shared_ptr<View>& view, bool animated);

// The controller of the nearest superview that has one (the view's own is not looked at).
ViewController* viewController(const View& view);

// The script that measures a page element (a script expression) and the frame
// read from its answer: the zero rectangle unless four numbers come back.
std::string frameOfElementScript(const std::string& expression);
cg::Rect frameOfElementFromAnswer(const std::string& answer);
// Runs the script through the page's evaluator and reads the frame.
cg::Rect frameOfElement(const std::function<std::string(const std::string&)>& evaluate,
                        const std::string& expression);

}  // namespace ui
