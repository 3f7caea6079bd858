#include "platform/ui/BarButtonItem.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Image.h"
#include "platform/ui/TextDrawing.h"

namespace ui {

namespace {

constexpr float kButtonHeight = 30;
constexpr float kPadding = 10;
constexpr float kMinWidth = 32;
constexpr float kBackArrow = 12;
constexpr float kCorner = 5;

Font titleFont() { return Font::boldSystemFontOfSize(12); }

const char* systemTitle(BarButtonSystemItem item) {
  switch (item) {
    case BarButtonSystemItem::Done: return "Done";
    case BarButtonSystemItem::Cancel: return "Cancel";
    case BarButtonSystemItem::Edit: return "Edit";
    case BarButtonSystemItem::Save: return "Save";
    case BarButtonSystemItem::Add: return "+";
    case BarButtonSystemItem::FlexibleSpace:
    case BarButtonSystemItem::FixedSpace:
    case BarButtonSystemItem::Action:
    case BarButtonSystemItem::Refresh:
    case BarButtonSystemItem::Stop: break;
  }
  return "";
}

BarButtonItemStyle systemStyle(BarButtonSystemItem item) {
  switch (item) {
    case BarButtonSystemItem::Done:
    case BarButtonSystemItem::Save: return BarButtonItemStyle::Done;
    case BarButtonSystemItem::FlexibleSpace:
    case BarButtonSystemItem::FixedSpace:
    case BarButtonSystemItem::Action:
    case BarButtonSystemItem::Refresh:
    case BarButtonSystemItem::Stop: return BarButtonItemStyle::Plain;
    default: break;
  }
  return BarButtonItemStyle::Bordered;
}

// The outline of a button; the back button's left end is an arrow.
void addButtonPath(cg::Context& ctx, cg::Rect r, bool back) {
  ctx.beginPath();
  if (!back) {
    ctx.addRoundedRect(r, kCorner);
    return;
  }
  float x0 = r.minX(), x1 = r.maxX(), y0 = r.minY(), y1 = r.maxY(), my = r.midY();
  ctx.moveTo({x0, my});
  ctx.lineTo({x0 + kBackArrow, y0 + 1});
  ctx.lineTo({x1 - kCorner, y0});
  ctx.quadCurveTo({x1, y0}, {x1, y0 + kCorner});
  ctx.lineTo({x1, y1 - kCorner});
  ctx.quadCurveTo({x1, y1}, {x1 - kCorner, y1});
  ctx.lineTo({x0 + kBackArrow, y1 - 1});
  ctx.closePath();
}

bool isGlyph(const std::optional<BarButtonSystemItem>& item) {
  return item == BarButtonSystemItem::Action || item == BarButtonSystemItem::Refresh ||
         item == BarButtonSystemItem::Stop;
}

// The pictures of the system items that have no title, in a square of 20
// points at the centre.
void drawGlyph(cg::Context& ctx, BarButtonSystemItem item, cg::Point c, cg::Color ink) {
  ctx.save();
  ctx.setStrokeColor(ink);
  ctx.setFillColor(ink);
  ctx.setLineWidth(2.5f);
  ctx.beginPath();
  if (item == BarButtonSystemItem::Stop) {
    ctx.moveTo({c.x - 7, c.y - 7});
    ctx.lineTo({c.x + 7, c.y + 7});
    ctx.moveTo({c.x + 7, c.y - 7});
    ctx.lineTo({c.x - 7, c.y + 7});
    ctx.strokePath();
  } else if (item == BarButtonSystemItem::Refresh) {
    // Most of a circle, and an arrowhead at its open end.
    ctx.arc(c, 7.5f, -1.2f, 4.2f, true);
    ctx.strokePath();
    ctx.beginPath();
    cg::Point tip{c.x + 7.5f * std::cos(-1.2f), c.y + 7.5f * std::sin(-1.2f)};
    ctx.moveTo({tip.x - 5, tip.y - 5});
    ctx.lineTo({tip.x + 5, tip.y - 1});
    ctx.lineTo({tip.x - 1, tip.y + 5});
    ctx.closePath();
    ctx.fillPath();
  } else {
    // A tray with an arrow leaving it.
    ctx.setLineWidth(2);
    ctx.moveTo({c.x - 4, c.y - 3});
    ctx.lineTo({c.x - 8, c.y - 3});
    ctx.lineTo({c.x - 8, c.y + 9});
    ctx.lineTo({c.x + 8, c.y + 9});
    ctx.lineTo({c.x + 8, c.y - 3});
    ctx.lineTo({c.x + 4, c.y - 3});
    ctx.moveTo({c.x, c.y + 4});
    ctx.lineTo({c.x, c.y - 9});
    ctx.strokePath();
    ctx.beginPath();
    ctx.moveTo({c.x - 4, c.y - 5});
    ctx.lineTo({c.x, c.y - 10});
    ctx.lineTo({c.x + 4, c.y - 5});
    ctx.closePath();
    ctx.fillPath();
  }
  ctx.restore();
}

}  // namespace

// --- the item ------------------------------------------------------------------

BarButtonItem::BarButtonItem(std::string title, BarButtonItemStyle style, Action action)
    : title_(std::move(title)), style_(style), action_(std::move(action)) {}

BarButtonItem::BarButtonItem(BarButtonSystemItem item, Action action)
    : title_(systemTitle(item)), style_(systemStyle(item)), systemItem_(item),
      action_(std::move(action)) {}

BarButtonItem::BarButtonItem(std::shared_ptr<View> customView)
    : customView_(std::move(customView)) {}

BarButtonItem::BarButtonItem(std::shared_ptr<Image> image, BarButtonItemStyle style, Action action)
    : style_(style), image_(std::move(image)), action_(std::move(action)) {}

void BarButtonItem::setTitle(const std::string& title) {
  title_ = title;
  changed();
}

void BarButtonItem::setStyle(BarButtonItemStyle style) {
  style_ = style;
  changed();
}

void BarButtonItem::setEnabled(bool enabled) {
  enabled_ = enabled;
  changed();
}

void BarButtonItem::setWidth(float width) {
  width_ = std::max(0.0f, width);
  changed();
}

bool BarButtonItem::isSpace() const {
  return systemItem_ == BarButtonSystemItem::FlexibleSpace ||
         systemItem_ == BarButtonSystemItem::FixedSpace;
}

void BarButtonItem::sendAction() {
  if (enabled_ && action_) action_(*this);
}

// --- the bars' look ---------------------------------------------------------------

namespace bar {

cg::Color defaultTint() { return cg::Color::fromRGB255(109, 132, 162); }

cg::Color shade(cg::Color c, float f) {
  auto ch = [f](float v) { return std::clamp(f > 1 ? v + (1 - v) * (f - 1) : v * f, 0.0f, 1.0f); };
  return cg::Color(ch(c.r), ch(c.g), ch(c.b), c.a);
}

void drawBackground(cg::Context& ctx, cg::Rect r, cg::Color tint, bool bottomEdge) {
  ctx.drawLinearGradient({shade(tint, 1.35f), shade(tint, 1.05f), tint, shade(tint, 0.92f)},
                         {0, 0.5f, 0.5f, 1}, {r.minX(), r.minY()}, {r.minX(), r.maxY()});
  ctx.save();
  ctx.setFillColor(shade(tint, 1.6f));
  ctx.fillRect(cg::Rect(r.minX(), r.minY(), r.width(), 1));
  ctx.setFillColor(shade(tint, 0.55f));
  ctx.fillRect(cg::Rect(r.minX(), bottomEdge ? r.maxY() - 1 : r.minY(), r.width(), 1));
  ctx.restore();
}

}  // namespace bar

// --- the view ----------------------------------------------------------------------

BarButtonView::BarButtonView(std::shared_ptr<BarButtonItem> item, cg::Color tint, Kind kind)
    : item_(std::move(item)), tint_(tint), kind_(kind) {
  setBackgroundColor(std::nullopt);
  setOpaque(false);
}

void BarButtonView::setTint(cg::Color tint) {
  tint_ = tint;
  setNeedsDisplay();
}

std::string BarButtonView::displayTitle() const { return item_ ? item_->title() : ""; }

cg::Size BarButtonView::sizeThatFits(cg::Size) const {
  if (!item_) return {0, 0};
  if (item_->isSpace()) return {item_->width(), kButtonHeight};
  if (isGlyph(item_->systemItem()) || item_->image()) {
    float w = item_->image() ? item_->image()->size().width + 2 * kPadding : kMinWidth;
    if (item_->width() > 0) w = item_->width();
    return {std::ceil(std::max(w, kMinWidth)), kButtonHeight};
  }
  float text = sizeWithFont(displayTitle(), titleFont()).width;
  float w = text + 2 * kPadding + (kind_ == Kind::Back ? kBackArrow - 4 : 0);
  if (item_->width() > 0) w = item_->width();
  return {std::ceil(std::max(w, kMinWidth)), kButtonHeight};
}

void BarButtonView::drawRect(cg::Context& ctx, cg::Rect) {
  if (!item_ || item_->isSpace()) return;
  cg::Rect b = bounds().insetBy(0.5f, 0.5f);
  bool plain = kind_ == Kind::Item && item_->style() == BarButtonItemStyle::Plain;
  bool done = kind_ == Kind::Item && item_->style() == BarButtonItemStyle::Done;
  float alpha = item_->isEnabled() ? 1 : 0.45f;
  if (!plain) {
    cg::Color base = done ? cg::Color::fromRGB255(38, 94, 205) : bar::shade(tint_, 0.82f);
    if (highlighted_) base = bar::shade(base, 0.7f);
    ctx.save();
    addButtonPath(ctx, b, kind_ == Kind::Back);
    ctx.clip();
    ctx.drawLinearGradient({bar::shade(base, 1.3f).withAlpha(alpha), base.withAlpha(alpha),
                            bar::shade(base, 0.9f).withAlpha(alpha)},
                           {0, 0.5f, 1}, {b.minX(), b.minY()}, {b.minX(), b.maxY()});
    ctx.restore();
    ctx.save();
    addButtonPath(ctx, b, kind_ == Kind::Back);
    ctx.setStrokeColor(bar::shade(base, 0.5f).withAlpha(alpha));
    ctx.setLineWidth(1);
    ctx.strokePath();
    ctx.restore();
  }
  cg::Color ink = cg::Color::white().withAlpha(highlighted_ && plain ? 0.6f * alpha : alpha);
  if (isGlyph(item_->systemItem()) || item_->image()) {
    ctx.save();
    ctx.setShadow({0, -1}, 0, cg::Color::black().withAlpha(0.35f));
    if (item_->image()) {
      cg::Size size = item_->image()->size();
      ctx.setAlpha(ink.a);
      item_->image()->drawInRect(ctx, cg::Rect(std::round(b.midX() - size.width / 2),
                                               std::round(b.midY() - size.height / 2), size.width, size.height));
    } else {
      drawGlyph(ctx, *item_->systemItem(), {b.midX(), b.midY()}, ink);
    }
    ctx.restore();
    return;
  }
  Font font = titleFont();
  if (item_->systemItem() == BarButtonSystemItem::Add) font = Font::boldSystemFontOfSize(20);
  float lineH = sizeWithFont(displayTitle(), font).height;
  float left = kind_ == Kind::Back ? kBackArrow - 4 : 0;
  cg::Rect text(b.minX() + left, b.midY() - lineH / 2, b.width() - left, lineH);
  ctx.save();
  ctx.setShadow({0, -1}, 0, cg::Color::black().withAlpha(0.35f));
  drawTextInRect(ctx, displayTitle(), text, font, ink, TextAlignment::Center,
                 LineBreakMode::TruncateTail);
  ctx.restore();
}

bool BarButtonView::touchInside(const TouchSet& touches) const {
  // A finger may stray a little beyond a small button and still count.
  return !touches.empty() && bounds().insetBy(-20, -20).contains(touches.front()->locationInView(this));
}

void BarButtonView::touchesBegan(const TouchSet&, const Event&) {
  if (!item_ || !item_->isEnabled()) return;
  highlighted_ = true;
  setNeedsDisplay();
}

void BarButtonView::touchesMoved(const TouchSet& touches, const Event&) {
  if (!item_ || !item_->isEnabled()) return;
  bool inside = touchInside(touches);
  if (inside != highlighted_) {
    highlighted_ = inside;
    setNeedsDisplay();
  }
}

void BarButtonView::touchesEnded(const TouchSet& touches, const Event&) {
  bool fire = highlighted_ && touchInside(touches);
  highlighted_ = false;
  setNeedsDisplay();
  // The action may take this view out of its bar: keep it alive meanwhile.
  auto self = shared_from_this();
  if (fire && item_) {
    auto item = item_;
    item->sendAction();
  }
}

void BarButtonView::touchesCancelled(const TouchSet&, const Event&) {
  highlighted_ = false;
  setNeedsDisplay();
}

}  // namespace ui
