#include "toolkit/tables/TKSearchlightLabel.h"

#include <pango/pangocairo.h>

#include <cmath>
#include <limits>

#include "platform/text/TextMeasure.h"
#include "platform/ui/TextDrawing.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"

namespace {

// The height of a capital above the baseline, from the ink of "H".
float capHeight(cairo_t* cr, const ui::Font& font) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  pango_layout_set_font_description(layout, font.pangoDescription());
  pango_layout_set_text(layout, "H", -1);
  PangoRectangle ink;
  pango_layout_get_pixel_extents(layout, &ink, nullptr);
  float baseline = float(pango_layout_get_baseline(layout)) / PANGO_SCALE;
  g_object_unref(layout);
  return baseline - float(ink.y);
}

}  // namespace

TKSearchlightLabel::TKSearchlightLabel(cg::Rect frame) : ui::View(frame) {
  setFont(TKStyleSheet::globalStyleSheet()->font());
  setBackgroundColor(cg::Color::clear());
  setOpaque(false);
  setContentMode(ui::ContentMode::Center);
}

TKSearchlightLabel::~TKSearchlightLabel() { stopAnimating(); }

void TKSearchlightLabel::startAnimating() {
  if (timer_.isValid()) return;
  std::weak_ptr<ui::View> weak = weak_from_this();
  timer_ = ns::RunLoop::main().scheduleTimer(kTick, true, [weak, this] {
    if (!weak.expired()) updateSpotlight();
  });
  spotlightPoint_ = -0.5f;
  newMask();
}

void TKSearchlightLabel::stopAnimating() {
  if (timer_.isValid()) {
    timer_.invalidate();
    timer_ = ns::Timer();
    releaseMask();
  }
  setNeedsDisplay();
}

void TKSearchlightLabel::updateSpotlight() {
  spotlightPoint_ = float(double(spotlightPoint_) + kStep);
  if (spotlightPoint_ > 2) spotlightPoint_ = -0.5f;
  // Past 1.5 the glint is off the text: nothing to draw until the next sweep.
  if (spotlightPoint_ <= 1.5f) setNeedsDisplay();
}

void TKSearchlightLabel::newMask() {
  maskSize_ = cg::Size(std::floor(frame().width()), std::floor(frame().height()));
  maskContext_ = std::make_unique<cg::Context>(cg::Context::bitmap(std::max(1.0f, maskSize_.width),
                                                                   std::max(1.0f, maskSize_.height)));
}

void TKSearchlightLabel::releaseMask() { maskContext_.reset(); }

std::shared_ptr<cg::Image> TKSearchlightLabel::newSpotlightMask(cg::Rect rect, cg::Point origin, float radius) {
  cg::Context& mask = *maskContext_;
  mask.clearRect(rect);
  cairo_t* cr = mask.cairo();
  cairo_save(cr);
  cairo_pattern_t* glint = cairo_pattern_create_radial(origin.x, origin.y, 0, origin.x, origin.y, radius);
  cairo_pattern_add_color_stop_rgba(glint, 0, 1, 1, 1, 1);
  cairo_pattern_add_color_stop_rgba(glint, 1, 0, 0, 0, 0);
  cairo_pattern_set_extend(glint, CAIRO_EXTEND_NONE);
  cairo_rectangle(cr, rect.x(), rect.y(), rect.width(), rect.height());
  cairo_set_source(cr, glint);
  cairo_fill(cr);
  cairo_pattern_destroy(glint);
  cairo_restore(cr);
  return mask.makeImage();
}

cg::Size TKSearchlightLabel::sizeThatFits(cg::Size) const {
  if (text_.empty()) return {};
  float big = std::numeric_limits<float>::max();
  return ui::sizeWithFont(text_, font_, {big, big}, ui::LineBreakMode::WordWrap);
}

void TKSearchlightLabel::drawRect(cg::Context& context, cg::Rect rect) {
  if (text_.empty()) return;
  cg::Size S = sizeThatFits({});
  float W = frame().width();
  float x = 0;
  if (textAlignment_ == 1) x = std::ceil(W * 0.5f - S.width * 0.5f);
  else if (textAlignment_ == 2) x = W - S.width;
  float cap = capHeight(context.cairo(), font_);
  float baseline = cap;
  if (contentMode() == ui::ContentMode::Center) baseline = std::ceil(rect.height() * 0.5f + cap * 0.5f);
  else if (contentMode() == ui::ContentMode::Bottom) baseline = rect.height() + font_.descender();
  // Pango sets a line from its top: the baseline lies an ascender below.
  cg::Point at{x, baseline - font_.ascender()};
  ui::drawTextAtPoint(context, text_, at, font_, textColor_);

  if (!timer_.isValid()) return;
  if (!maskContext_ || !(maskSize_ == cg::Size(std::floor(W), std::floor(frame().height())))) newMask();
  auto mask = newSpotlightMask(rect, {x + S.width * spotlightPoint_, baseline - std::ceil(cap * 0.5f)}, cap * 2);
  context.save();
  context.clipToMask(cg::Rect(0, 0, maskSize_.width, maskSize_.height), *mask);
  ui::drawTextAtPoint(context, text_, at, font_, spotlightColor_);
  context.restore();
}
