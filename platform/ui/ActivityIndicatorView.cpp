#include "platform/ui/ActivityIndicatorView.h"

#include <cmath>

#include "platform/graphics/Context.h"

namespace ui {

namespace {
float sizeFor(ActivityIndicatorViewStyle style) { return style == ActivityIndicatorViewStyle::WhiteLarge ? 37 : 20; }
}  // namespace

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorViewStyle style)
    : View(cg::Rect(0, 0, sizeFor(style), sizeFor(style))), style_(style) {
  setOpaque(false);
  setUserInteractionEnabled(false);
  setHidden(true);
}

ActivityIndicatorView::~ActivityIndicatorView() { timer_.invalidate(); }

void ActivityIndicatorView::setActivityIndicatorViewStyle(ActivityIndicatorViewStyle style) {
  style_ = style;
  cg::Point c = center();
  float s = sizeFor(style);
  setFrame(cg::Rect(c.x - s / 2, c.y - s / 2, s, s));
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides) {
  hidesWhenStopped_ = hides;
  if (!isAnimating()) setHidden(hides);
}

void ActivityIndicatorView::startAnimating() {
  setHidden(false);
  if (isAnimating()) return;
  std::weak_ptr<View> weak = weak_from_this();
  timer_ = ns::RunLoop::main().scheduleTimer(kTurnInterval, true, [this, weak](ns::Timer& t) {
    if (weak.expired()) return t.invalidate();
    step_ = (step_ + 1) % kSpokes;
    setNeedsDisplay();
  });
}

void ActivityIndicatorView::stopAnimating() {
  timer_.invalidate();
  if (hidesWhenStopped_) setHidden(true);
}

// Twelve rounded spokes, fading behind the brightest one.
void ActivityIndicatorView::drawRect(cg::Context& context, cg::Rect) {
  cg::Rect b = bounds();
  float r = b.width() / 2;
  cg::Color color = style_ == ActivityIndicatorViewStyle::Gray ? cg::Color::gray(0.5f) : cg::Color::white();
  context.save();
  context.translate(b.midX(), b.midY());
  context.setLineCap(cg::LineCap::Round);
  context.setLineWidth(r * 0.2f);
  for (int i = 0; i < kSpokes; ++i) {
    int behind = (step_ - i + kSpokes) % kSpokes;
    float angle = float(i) * 2 * float(M_PI) / kSpokes - float(M_PI) / 2;
    float c = std::cos(angle), s = std::sin(angle);
    context.setStrokeColor(color.withAlpha(1.0f - 0.07f * float(behind)));
    context.beginPath();
    context.moveTo({c * r * 0.5f, s * r * 0.5f});
    context.lineTo({c * r * 0.88f, s * r * 0.88f});
    context.strokePath();
  }
  context.restore();
}

}  // namespace ui
