#include "platform/ui/TransitionView.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Screen.h"

namespace ui {

namespace {
// The fold leans a little, as a page lifted by its corner does.
constexpr float kFoldSlope = 0.18f;
}  // namespace

std::shared_ptr<cg::Image> TransitionView::snapshotOf(View& view) {
  cg::Rect b = view.bounds();
  if (b.width() <= 0 || b.height() <= 0) return nullptr;
  auto ctx = cg::Context::bitmap(b.width(), b.height(), Screen::main().scale());
  view.renderTree(ctx, true);
  return ctx.makeImage();
}

TransitionView::TransitionView(Kind kind, std::shared_ptr<cg::Image> before, cg::Rect frame)
    : View(frame), kind_(kind), before_(std::move(before)) {
  setBackgroundColor(std::nullopt);
  setOpaque(false);
  setUserInteractionEnabled(false);
  setClipsToBounds(true);
  setAutoresizingMask(ViewAutoresizingFlexibleWidth | ViewAutoresizingFlexibleHeight);
}

void TransitionView::setProgress(float progress) {
  progress_ = std::clamp(progress, 0.0f, 1.0f);
  setNeedsDisplay();
}

void TransitionView::drawRect(cg::Context& ctx, cg::Rect) {
  if (!before_ || progress_ >= 1) return;
  if (kind_ == Kind::Fade) {
    ctx.save();
    ctx.setAlpha(1 - progress_);
    ctx.drawImage(*before_, bounds());
    ctx.restore();
    return;
  }
  drawCurl(ctx);
}

// The old page, cut by a fold line that travels up (curl up: the page lifts
// from the bottom and rolls away upwards) or down (curl down: the new page
// rolls down over it). The part beyond the fold is drawn as the back of the
// page, folded over, with a shadow along the fold.
void TransitionView::drawCurl(cg::Context& ctx) {
  cg::Rect b = bounds();
  float w = b.width(), h = b.height();
  bool up = kind_ == Kind::CurlUp;
  // The fold's height at the middle, from off one edge to off the other.
  float lean = kFoldSlope * w / 2;
  float travel = h + 2 * lean;
  float mid = up ? b.maxY() + lean - progress_ * travel : b.minY() - lean + progress_ * travel;
  auto foldY = [&](float x) { return mid + (x - b.midX()) * (up ? kFoldSlope : -kFoldSlope); };
  float yl = foldY(b.minX()), yr = foldY(b.maxX());

  // The old page on its side of the fold.
  ctx.save();
  ctx.beginPath();
  if (up) {
    ctx.moveTo({b.minX(), b.minY()});
    ctx.lineTo({b.maxX(), b.minY()});
    ctx.lineTo({b.maxX(), yr});
    ctx.lineTo({b.minX(), yl});
  } else {
    ctx.moveTo({b.minX(), yl});
    ctx.lineTo({b.maxX(), yr});
    ctx.lineTo({b.maxX(), b.maxY()});
    ctx.lineTo({b.minX(), b.maxY()});
  }
  ctx.closePath();
  ctx.clip();
  ctx.drawImage(*before_, b);
  ctx.restore();

  // The flap: the turned part of the page lying back over the old page, as
  // deep as the page has turned (it curls, so never deeper than a third of it).
  float depth = std::min(progress_ * travel, h / 3) * (up ? -1 : 1);
  if (std::fabs(depth) < 0.5f) return;
  float angle = std::atan(up ? kFoldSlope : -kFoldSlope);
  float nx = -std::sin(angle), ny = std::cos(angle);  // across the fold, downwards
  cg::Point l{b.minX(), yl}, r{b.maxX(), yr};
  cg::Point l2{l.x + nx * depth, l.y + ny * depth}, r2{r.x + nx * depth, r.y + ny * depth};
  auto addFlap = [&] {
    ctx.beginPath();
    ctx.moveTo(l);
    ctx.lineTo(r);
    ctx.lineTo(r2);
    ctx.lineTo(l2);
    ctx.closePath();
  };
  ctx.save();
  ctx.setShadow({0, up ? 8.0f : -8.0f}, 14, cg::Color::black().withAlpha(0.5f));
  addFlap();
  ctx.setFillColor(cg::Color::gray(0.93f));
  ctx.fillPath();
  ctx.restore();
  // Light falls on the roll: brightest along the fold, darker where it bends away.
  ctx.save();
  addFlap();
  ctx.clip();
  cg::Point m{b.midX(), (l.y + r.y) / 2};
  ctx.drawLinearGradient({cg::Color::white().withAlpha(0.9f), cg::Color::gray(0.8f, 0.6f), cg::Color::gray(0.55f, 0.7f)},
                         {0, 0.6f, 1}, m, {m.x + nx * depth, m.y + ny * depth});
  ctx.restore();
}

}  // namespace ui
