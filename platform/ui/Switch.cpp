#include "platform/ui/Switch.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"
#include "platform/ui/ControlDrawing.h"
#include "platform/ui/TextDrawing.h"

namespace ui {

namespace {

constexpr float kKnob = 40;
constexpr float kRadius = 6;
constexpr double kSlide = 0.2;
constexpr float kDragSlop = 4;
const cg::Color kOnColor = cg::Color::fromRGB255(0, 127, 234);
const cg::Color kOffColor = cg::Color::gray(0.93f);

// The knob: a light button with a soft edge.
class Knob : public View {
 public:
  using View::View;
  void drawRect(cg::Context& context, cg::Rect) override {
    cg::Rect r = bounds().insetBy(0.5f, 0.5f);
    fillRoundedRectWithGradient(context, r, kRadius, cg::Color::gray(0.99f), cg::Color::gray(0.82f));
    strokeRoundedRect(context, r, kRadius, cg::Color::gray(0.55f));
  }
};

}  // namespace

Switch::Switch(cg::Rect frame) : Control(cg::Rect(frame.origin, kSize)) {
  setOpaque(false);
  knob_ = std::make_shared<Knob>(knobFrame(false));
  knob_->setUserInteractionEnabled(false);
  knob_->setOpaque(false);
  addSubview(knob_);
}

void Switch::setFrame(cg::Rect frame) { Control::setFrame(cg::Rect(frame.origin, kSize)); }

cg::Rect Switch::knobFrame(bool on) const { return cg::Rect(on ? kSize.width - kKnob : 0, 0, kKnob, kSize.height); }

void Switch::moveKnob(bool on, bool animated) {
  if (!animated) {
    knob_->setFrame(knobFrame(on));
    return;
  }
  View::beginAnimations("switch");
  View::setAnimationDuration(kSlide);
  knob_->setFrame(knobFrame(on));
  View::commitAnimations();
}

void Switch::setOn(bool on, bool animated) {
  on_ = on;
  moveKnob(on, animated);
  setNeedsDisplay();
}

bool Switch::beginTracking(const Touch& touch) {
  dragged_ = false;
  touchX_ = touch.locationInView(this).x;
  return true;
}

bool Switch::continueTracking(const Touch& touch) {
  float x = touch.locationInView(this).x;
  if (std::fabs(x - touchX_) > kDragSlop) dragged_ = true;
  if (dragged_) {
    float left = std::clamp(knobFrame(on_).x() + x - touchX_, 0.0f, kSize.width - kKnob);
    knob_->setFrame(cg::Rect(left, 0, kKnob, kSize.height));
    setNeedsDisplay();
  }
  return true;
}

void Switch::endTracking(const Touch&) {
  bool on = dragged_ ? knob_->frame().midX() > kSize.width / 2 : !on_;
  bool changed = on != on_;
  setOn(on, true);
  if (changed) sendActionsForControlEvents(ControlEventValueChanged);
}

void Switch::cancelTracking() { moveKnob(on_, true); }

// The track slides with the knob: "ON" on blue to its left, "OFF" on grey to
// its right, inside a rounded frame.
void Switch::drawRect(cg::Context& context, cg::Rect) {
  cg::Rect b = bounds();
  float knobX = knob_->presentationFrame().x();
  cg::Rect inner = b.insetBy(0.5f, 0.5f);
  context.save();
  context.beginPath();
  context.addRoundedRect(inner, kRadius);
  context.clip();
  context.setFillColor(kOnColor);
  context.fillRect(cg::Rect(b.x(), b.y(), knobX + kKnob / 2, b.height()));
  context.setFillColor(kOffColor);
  context.fillRect(cg::Rect(knobX + kKnob / 2, b.y(), b.width(), b.height()));
  Font font = Font::boldSystemFontOfSize(16);
  float textY = std::floor((b.height() - font.lineHeight()) / 2);
  float side = b.width() - kKnob;
  drawTextInRect(context, "ON", cg::Rect(knobX - side, textY, side, font.lineHeight()), font, cg::Color::white(),
                 TextAlignment::Center, LineBreakMode::Clip);
  drawTextInRect(context, "OFF", cg::Rect(knobX + kKnob, textY, side, font.lineHeight()), font,
                 cg::Color::gray(0.45f), TextAlignment::Center, LineBreakMode::Clip);
  context.restore();
  strokeRoundedRect(context, inner, kRadius, cg::Color::gray(0.55f));
}

}  // namespace ui
