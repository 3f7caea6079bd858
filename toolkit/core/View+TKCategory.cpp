#include "toolkit/core/View+TKCategory.h"

#include <cmath>
#include <cstdlib>

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/String.h"
#include "toolkit/core/TKGlobal.h"

namespace ui {

void setRight(View& view, float right) {
  cg::Rect f = view.frame();
  view.setFrame(cg::Rect(right - f.width(), f.y(), f.width(), f.height()));
}

void setBottom(View& view, float bottom) {
  cg::Rect f = view.frame();
  view.setFrame(cg::Rect(f.x(), bottom - f.height(), f.width(), f.height()));
}

float screenX(const View& view) {
  float x = 0;
  for (const View* v = &view; v; v = v->superview()) x += v->frame().x();
  return x;
}

float screenY(const View& view) {
  float y = 0;
  for (const View* v = &view; v; v = v->superview()) y += v->frame().y();
  return y;
}

cg::Point offsetFromView(const View& view, const View* ancestor) {
  cg::Point p{0, 0};
  if (!ancestor) return p;
  for (const View* v = &view; v && v != ancestor; v = v->superview()) {
    p.x += v->frame().x();
    p.y += v->frame().y();
  }
  return p;
}

void removeAllSubviews(View& view) {
  while (!view.subviews().empty()) view.subviews().back()->removeFromSuperview();
}

cg::Rect frameWithKeyboardSubtracted(const View& view, float margin) {
  cg::Rect frame = view.frame();
  if (TKKeyboardIsShown()) {
    float free = TKOrientedScreenBounds().height() - (TKKeyboardHeightForOrientation() + margin);
    float overlap = screenY(view) + frame.height() - free;
    if (overlap > 0) frame = cg::Rect(frame.x(), frame.y(), frame.width(), frame.height() - overlap);
  }
  return frame;
}

namespace {

// The keyboard notification's user info for a view of that size.
ns::Value keyboardInfo(const View& view, bool showing) {
  cg::Rect screen = TKOrientedScreenBounds();
  float w = view.frame().width(), h = view.frame().height();
  float x = std::floor(screen.width() / 2 - w / 2);
  float inside = screen.height() - std::floor(h / 2), outside = screen.height() + std::floor(h / 2);
  float begin = showing ? outside : inside, end = showing ? inside : outside;
  return ns::Value(ns::Dictionary{{TKKeyboardBoundsUserInfoKey, ns::Array{0, 0, screen.width(), h}},
                                  {TKKeyboardCenterBeginUserInfoKey, ns::Array{x, begin}},
                                  {TKKeyboardCenterEndUserInfoKey, ns::Array{x, end}}});
}

void moveVertically(View& view, float dy) {
  cg::Rect f = view.frame();
  view.setFrame(cg::Rect(f.x(), f.y() + dy, f.width(), f.height()));
}

}  // namespace

void presentAsKeyboardInView(const std::shared_ptr<View>& view, View& container) {
  cg::Rect f = view->frame();
  view->setFrame(cg::Rect(f.x(), container.bounds().height(), f.width(), f.height()));
  container.addSubview(view);
  std::weak_ptr<View> weak = view;
  View::beginAnimations("presentAsKeyboard");
  View::setAnimationDuration(kPresentAsKeyboardDuration);
  View::setAnimationDidStopSelector([weak](const std::string&, bool, void*) {
    if (auto v = weak.lock())
      ns::NotificationCenter::defaultCenter().postNotificationName(TKKeyboardWillShowNotification,
                                                                   keyboardInfo(*v, true));
  });
  moveVertically(*view, -f.height());
  View::commitAnimations();
}

void dismissAsKeyboard(const std::shared_ptr<View>& view, bool animated) {
  ns::NotificationCenter::defaultCenter().postNotificationName(TKKeyboardWillHideNotification,
                                                               keyboardInfo(*view, false));
  float h = view->frame().height();
  if (!animated) {
    moveVertically(*view, h);
    view->removeFromSuperview();
    return;
  }
  std::weak_ptr<View> weak = view;
  View::beginAnimations("dismissAsKeyboard");
  View::setAnimationDuration(kPresentAsKeyboardDuration);
  View::setAnimationDidStopSelector([weak](const std::string&, bool, void*) {
    if (auto v = weak.lock()) v->removeFromSuperview();
  });
  moveVertically(*view, h);
  View::commitAnimations();
}

ViewController* viewController(const View& view) {
  for (View* v = view.superview(); v; v = v->superview())
    if (v->viewController()) return v->viewController();
  return nullptr;
}

std::string frameOfElementScript(const std::string& expression) {
  return "    var target = " + expression +
         ";     var x = 0, y = 0;     for (var n = target; n && n.nodeType == 1; n = n.offsetParent) {"
         "        x += n.offsetLeft;       y += n.offsetTop;     }     x + ',' + y + ',' + "
         "target.offsetWidth + ',' + target.offsetHeight; ";
}

cg::Rect frameOfElementFromAnswer(const std::string& answer) {
  std::vector<std::string> parts = ns::componentsSeparatedByString(answer, ",");
  if (parts.size() != 4) return {};
  float v[4];
  for (int i = 0; i < 4; ++i) {
    std::string part = ns::trim(parts[i]);
    char* end = nullptr;
    v[i] = std::strtof(part.c_str(), &end);
    if (part.empty() || end != part.c_str() + part.size() || !std::isfinite(v[i])) return {};
  }
  return cg::Rect(v[0], v[1], v[2], v[3]);
}

cg::Rect frameOfElement(const std::function<std::string(const std::string&)>& evaluate,
                        const std::string& expression) {
  return evaluate ? frameOfElementFromAnswer(evaluate(frameOfElementScript(expression))) : cg::Rect{};
}

}  // namespace ui
