#include "platform/ui/Keyboard.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {

ns::Value rectValue(cg::Rect r) {
  return ns::Array{double(r.x()), double(r.y()), double(r.width()), double(r.height())};
}

ns::Value pointValue(cg::Point p) { return ns::Array{double(p.x), double(p.y)}; }

constexpr const char* kDidPerform = "keyboard-did";

}  // namespace

cg::Rect keyboardRect(const ns::Value& userInfo, const char* key) {
  const ns::Value& v = userInfo[key];
  if (v.count() != 4) return {};
  return cg::Rect(v[std::size_t(0)].floatValue(), v[1].floatValue(), v[2].floatValue(), v[3].floatValue());
}

cg::Point keyboardPoint(const ns::Value& userInfo, const char* key) {
  const ns::Value& v = userInfo[key];
  if (v.count() != 2) return {};
  return {v[std::size_t(0)].floatValue(), v[1].floatValue()};
}

Keyboard& Keyboard::shared() {
  static Keyboard keyboard;
  return keyboard;
}

cg::Size Keyboard::keysSize(cg::Rect screen) {
  return screen.width() > screen.height() ? cg::Size{screen.width(), 352} : cg::Size{screen.width(), 264};
}

void Keyboard::firstResponderChanged(Window& window) {
  Responder* r = window.firstResponder();
  if (r && r->hasKeyboardInput()) show(window, r->inputAccessoryView());
  else if (visible_ && window_ == &window) hide();
}

void Keyboard::screenDidTurn(Window& window) {
  if (visible_ && window_ == &window) show(window, accessory_);
}

void Keyboard::windowWillClose(Window* window) {
  if (window_ != window) return;
  removeAccessory();
  window_ = nullptr;
  visible_ = false;
  ns::RunLoop::main().cancelPreviousPerformRequests(this, kDidPerform);
}

void Keyboard::resetForTesting() {
  removeAccessory();
  window_ = nullptr;
  visible_ = false;
  frame_ = {};
  ns::RunLoop::main().cancelPreviousPerformRequests(this, kDidPerform);
}

cg::Rect Keyboard::hiddenFrame(cg::Rect shown) const {
  cg::Rect screen = Screen::main().bounds();
  return cg::Rect(shown.x(), screen.maxY(), shown.width(), shown.height());
}

void Keyboard::show(Window& window, std::shared_ptr<View> accessory) {
  cg::Rect screen = Screen::main().bounds();
  cg::Size keys = keysSize(screen);
  float extra = accessory ? accessory->frame().height() : 0;
  cg::Rect end(screen.x(), screen.maxY() - keys.height - extra, keys.width, keys.height + extra);
  // Moving between two fields with the same keyboard changes nothing on screen.
  if (visible_ && window_ == &window && end == frame_ && accessory == accessory_) return;
  cg::Rect begin = visible_ ? frame_ : hiddenFrame(end);
  if (accessory != accessory_) removeAccessory();
  visible_ = true;
  window_ = &window;
  frame_ = end;
  accessory_ = accessory;
  if (accessory_) placeAccessory(window, end, begin != end);
  post(KeyboardWillShowNotification, begin, end);
  ns::RunLoop::main().cancelPreviousPerformRequests(this, kDidPerform);
  ns::RunLoop::main().performAfter(this, kDidPerform, kAnimationDuration, [this, begin, end] {
    post(KeyboardDidShowNotification, begin, end);
  });
}

void Keyboard::hide() {
  cg::Rect begin = frame_;
  cg::Rect end = hiddenFrame(begin);
  visible_ = false;
  if (accessory_ && window_) {
    View::beginAnimations("keyboard");
    View::setAnimationDuration(kAnimationDuration);
    accessory_->setFrame(cg::Rect(begin.x(), end.y(), begin.width(), accessory_->frame().height()));
    View::commitAnimations();
  }
  post(KeyboardWillHideNotification, begin, end);
  ns::RunLoop::main().cancelPreviousPerformRequests(this, kDidPerform);
  ns::RunLoop::main().performAfter(this, kDidPerform, kAnimationDuration, [this, begin, end] {
    if (!visible_) removeAccessory();
    post(KeyboardDidHideNotification, begin, end);
  });
}

void Keyboard::placeAccessory(Window& window, cg::Rect keyboardFrame, bool animated) {
  cg::Rect from = hiddenFrame(keyboardFrame);
  cg::Rect to(keyboardFrame.x(), keyboardFrame.y(), keyboardFrame.width(), accessory_->frame().height());
  accessory_->setAutoresizingMask(ViewAutoresizingFlexibleWidth | ViewAutoresizingFlexibleTopMargin);
  if (accessory_->superview() != &window) window.addSubview(accessory_);
  else window.bringSubviewToFront(accessory_.get());
  if (!animated) {
    accessory_->setFrame(to);
    return;
  }
  accessory_->setFrame(cg::Rect(from.x(), from.y(), to.width(), to.height()));
  View::beginAnimations("keyboard");
  View::setAnimationDuration(kAnimationDuration);
  accessory_->setFrame(to);
  View::commitAnimations();
}

void Keyboard::removeAccessory() {
  if (accessory_) accessory_->removeFromSuperview();
  accessory_.reset();
}

void Keyboard::post(const char* name, cg::Rect begin, cg::Rect end) {
  ns::Dictionary info{
      {KeyboardFrameBeginUserInfoKey, rectValue(begin)},
      {KeyboardFrameEndUserInfoKey, rectValue(end)},
      {KeyboardBoundsUserInfoKey, rectValue(cg::Rect(0, 0, end.width(), end.height()))},
      {KeyboardCenterBeginUserInfoKey, pointValue({begin.midX(), begin.midY()})},
      {KeyboardCenterEndUserInfoKey, pointValue({end.midX(), end.midY()})},
      {KeyboardAnimationDurationUserInfoKey, kAnimationDuration},
      {KeyboardAnimationCurveUserInfoKey, static_cast<int>(AnimationCurve::EaseInOut)},
  };
  ns::NotificationCenter::defaultCenter().postNotificationName(name, ns::Value(std::move(info)));
}

}  // namespace ui
