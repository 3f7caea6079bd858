#include "platform/ui/SegmentedControl.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"
#include "platform/ui/ControlDrawing.h"
#include "platform/ui/TextDrawing.h"

namespace ui {

namespace {

const cg::Color kSelectedTop = cg::Color::fromRGB255(95, 151, 240);
const cg::Color kSelectedBottom = cg::Color::fromRGB255(36, 102, 218);
const cg::Color kBorder = cg::Color::gray(0.55f);

}  // namespace

SegmentedControl::SegmentedControl(const std::vector<std::string>& items) : Control(cg::Rect()) {
  setOpaque(false);
  for (const auto& title : items) insertSegmentWithTitle(title, numberOfSegments());
  float width = 0;
  for (const auto& s : segments_) width += std::max(60.0f, sizeWithFont(s.title, Font::boldSystemFontOfSize(17)).width + 20);
  setFrame(cg::Rect(0, 0, width, 44));
}

void SegmentedControl::insert(Segment segment, int index) {
  index = std::clamp(index, 0, numberOfSegments());
  segments_.insert(segments_.begin() + index, std::move(segment));
  if (selected_ >= index) ++selected_;
  setNeedsDisplay();
}

void SegmentedControl::insertSegmentWithTitle(const std::string& title, int index, bool) {
  insert({title, nullptr}, index);
}

void SegmentedControl::insertSegmentWithImage(std::shared_ptr<Image> image, int index, bool) {
  insert({"", std::move(image)}, index);
}

void SegmentedControl::removeSegmentAtIndex(int index, bool) {
  if (!valid(index)) return;
  segments_.erase(segments_.begin() + index);
  if (selected_ == index) selected_ = NoSegment;
  else if (selected_ > index) --selected_;
  setNeedsDisplay();
}

void SegmentedControl::removeAllSegments() {
  segments_.clear();
  selected_ = NoSegment;
  setNeedsDisplay();
}

void SegmentedControl::setTitle(const std::string& title, int segment) {
  if (!valid(segment)) return;
  segments_[std::size_t(segment)].title = title;
  segments_[std::size_t(segment)].image = nullptr;
  setNeedsDisplay();
}

std::string SegmentedControl::titleForSegmentAtIndex(int segment) const {
  return valid(segment) ? segments_[std::size_t(segment)].title : std::string();
}

void SegmentedControl::setImage(std::shared_ptr<Image> image, int segment) {
  if (!valid(segment)) return;
  segments_[std::size_t(segment)].image = std::move(image);
  segments_[std::size_t(segment)].title.clear();
  setNeedsDisplay();
}

std::shared_ptr<Image> SegmentedControl::imageForSegmentAtIndex(int segment) const {
  return valid(segment) ? segments_[std::size_t(segment)].image : nullptr;
}

void SegmentedControl::setEnabled(bool enabled, int segment) {
  if (!valid(segment)) return;
  segments_[std::size_t(segment)].enabled = enabled;
  setNeedsDisplay();
}

bool SegmentedControl::isEnabledForSegmentAtIndex(int segment) const {
  return valid(segment) && segments_[std::size_t(segment)].enabled;
}

void SegmentedControl::setWidth(float width, int segment) {
  if (!valid(segment)) return;
  segments_[std::size_t(segment)].width = std::max(0.0f, width);
  setNeedsDisplay();
}

float SegmentedControl::widthForSegmentAtIndex(int segment) const {
  return valid(segment) ? segments_[std::size_t(segment)].width : 0;
}

void SegmentedControl::setSelectedSegmentIndex(int index) {
  if (index != NoSegment && !valid(index)) return;
  selected_ = index;
  setNeedsDisplay();
}

cg::Rect SegmentedControl::rectForSegmentAtIndex(int segment) const {
  if (!valid(segment)) return {};
  float fixed = 0;
  int flexible = 0;
  for (const auto& s : segments_) {
    fixed += s.width;
    flexible += s.width > 0 ? 0 : 1;
  }
  float share = flexible ? std::max(0.0f, bounds().width() - fixed) / float(flexible) : 0;
  float x = 0;
  for (int i = 0; i < segment; ++i) {
    float w = segments_[std::size_t(i)].width;
    x += w > 0 ? w : share;
  }
  float w = segments_[std::size_t(segment)].width;
  return cg::Rect(std::round(x), 0, std::round(w > 0 ? w : share), bounds().height());
}

int SegmentedControl::segmentAtPoint(cg::Point p) const {
  for (int i = 0; i < numberOfSegments(); ++i)
    if (rectForSegmentAtIndex(i).contains(p)) return i;
  return NoSegment;
}

bool SegmentedControl::beginTracking(const Touch& touch) {
  int i = segmentAtPoint(touch.locationInView(this));
  if (!valid(i) || !segments_[std::size_t(i)].enabled) return false;
  if (momentary_) {
    touched_ = i;
    selected_ = i;
    setNeedsDisplay();
    sendActionsForControlEvents(ControlEventValueChanged);
    return true;
  }
  if (i == selected_) return true;
  selected_ = i;
  setNeedsDisplay();
  sendActionsForControlEvents(ControlEventValueChanged);
  return true;
}

void SegmentedControl::endTracking(const Touch&) { cancelTracking(); }

void SegmentedControl::cancelTracking() {
  if (!momentary_) return;
  touched_ = NoSegment;
  selected_ = NoSegment;
  setNeedsDisplay();
}

void SegmentedControl::drawSegment(cg::Context& context, int index, bool lit) const {
  const Segment& s = segments_[std::size_t(index)];
  cg::Rect r = rectForSegmentAtIndex(index);
  bool bar = style_ == SegmentedControlStyle::Bar || style_ == SegmentedControlStyle::Bezeled;
  cg::Color base = tint_.value_or(bar ? cg::Color::fromRGB255(120, 138, 160) : cg::Color::white());
  cg::Color top = lit ? (tint_ || bar ? scaledColor(base, 0.75f) : kSelectedTop) : (bar || tint_ ? scaledColor(base, 1.25f) : cg::Color::white());
  cg::Color bottom = lit ? (tint_ || bar ? scaledColor(base, 0.6f) : kSelectedBottom) : (bar || tint_ ? base : cg::Color::gray(0.86f));
  context.save();
  context.clipToRect(r);
  context.drawLinearGradient({top, bottom}, {0, 1}, {0, r.minY()}, {0, r.maxY()});
  context.restore();
  bool dim = !s.enabled || !isEnabled();
  if (s.image) {
    cg::Size is = s.image->size();
    s.image->drawInRect(context, cg::Rect(std::floor(r.midX() - is.width / 2), std::floor(r.midY() - is.height / 2),
                                          is.width, is.height));
  } else {
    Font font = Font::boldSystemFontOfSize(bar ? 13 : 17);
    cg::Color color = lit || bar || tint_ ? cg::Color::white() : cg::Color::gray(0.3f);
    if (dim) color = color.withAlpha(0.4f);
    float h = std::ceil(font.lineHeight());
    drawTextInRect(context, s.title, cg::Rect(r.x() + 4, std::floor(r.midY() - h / 2), r.width() - 8, h), font,
                   color, TextAlignment::Center, LineBreakMode::TruncateTail);
  }
  if (index > 0) {
    context.setFillColor(kBorder);
    context.fillRect(cg::Rect(r.x(), r.y(), 1, r.height()));
  }
}

void SegmentedControl::drawRect(cg::Context& context, cg::Rect) {
  cg::Rect outline = bounds().insetBy(0.5f, 0.5f);
  float radius = style_ == SegmentedControlStyle::Bar ? 4 : 7;
  context.save();
  context.beginPath();
  context.addRoundedRect(outline, radius);
  context.clip();
  for (int i = 0; i < numberOfSegments(); ++i) drawSegment(context, i, i == selected_);
  context.restore();
  strokeRoundedRect(context, outline, radius, kBorder);
}

}  // namespace ui
