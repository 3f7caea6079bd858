#pragma once
// An on/off switch of the platform's fixed size (94 x 27): a tap turns it,
// sliding the knob on the run loop's clock; a drag carries the knob and the
// side it is let go on wins. A change by touch sends value changed; setOn
// does not.
#include <memory>
#include <string>

#include "platform/ui/Control.h"

namespace ui {

class Switch : public Control {
 public:
  static constexpr cg::Size kSize{94, 27};
  explicit Switch(cg::Rect frame = {});

  bool isOn() const { return on_; }
  void setOn(bool on, bool animated = false);

  // The words on the track's two sides ("ON" and "OFF" unless set), so that
  // a screen can show them in its own language.
  void setTitles(std::string on, std::string off);
  const std::string& onTitle() const { return onTitle_; }
  const std::string& offTitle() const { return offTitle_; }

  // Keeps the fixed size at the frame's origin.
  void setFrame(cg::Rect frame) override;
  void drawRect(cg::Context& context, cg::Rect rect) override;

 protected:
  bool beginTracking(const Touch& touch) override;
  bool continueTracking(const Touch& touch) override;
  void endTracking(const Touch& touch) override;
  void cancelTracking() override;

 private:
  cg::Rect knobFrame(bool on) const;
  void moveKnob(bool on, bool animated);

  bool on_ = false;
  std::string onTitle_ = "ON", offTitle_ = "OFF";
  bool dragged_ = false;
  float touchX_ = 0;
  std::shared_ptr<View> knob_;
};

}  // namespace ui
