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

void Switch::setTitles(std::string on, std::string off) {
  onTitle_ = std::move(on);
  offTitle_ = std::move(off);
  setNeedsDisplay();
}

void Switch::cancelTracking() { moveKnob(on_, true); }

// The track slides with the knob: the on title on blue to its left, the off
// title on grey to its right, inside a rounded frame.
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
  float side = b.width() - kKnob;
  auto title = [&](const std::string& text, float x, const cg::Color& ink) {
    // A longer word (another language's) shrinks to its side of the knob.
    Font font = Font::boldSystemFontOfSize(16);
    for (float size = 15; size >= 10 && sizeWithFont(text, font).width > side - 12; --size)
      font = font.fontWithSize(size);
    float y = std::floor((b.height() - font.lineHeight()) / 2);
    drawTextInRect(context, text, cg::Rect(x, y, side, font.lineHeight()), font, ink, TextAlignment::Center,
                   LineBreakMode::Clip);
  };
  title(onTitle_, knobX - side, cg::Color::white());
  title(offTitle_, knobX + kKnob, cg::Color::gray(0.45f));
  context.restore();
  strokeRoundedRect(context, inner, kRadius, cg::Color::gray(0.55f));
}

}  // namespace ui
