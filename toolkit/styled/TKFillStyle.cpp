#include "toolkit/styled/TKFillStyle.h"

#include <cmath>

#include "platform/graphics/ColorHSV.h"
#include "platform/graphics/Context.h"
#include "toolkit/styled/TKArchive.h"
#include "toolkit/styled/TKShape.h"

using cg::Rect;
using cg::Size;

namespace {

void putColor(ns::Dictionary& d, const char* key, const std::optional<cg::Color>& c) {
  if (c) d[key] = tkarchive::encodeColor(c);
}

float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

}  // namespace

// --- TKSolidFillStyle ---------------------------------------------------------

std::shared_ptr<TKSolidFillStyle> TKSolidFillStyle::styleWithColor(std::optional<cg::Color> color,
                                                                   std::shared_ptr<TKStyle> next) {
  auto s = std::make_shared<TKSolidFillStyle>(std::move(next));
  s->color = color;
  return s;
}

void TKSolidFillStyle::draw(TKStyleContext& context) {
  if (cg::Context* g = context.graphics()) {
    g->save();
    context.shape()->addToPath(*g, context.frame());
    if (color) g->setFillColor(*color);
    g->fillPath();
    g->restore();
  }
  drawNext(context);
}

void TKSolidFillStyle::encodeWithCoder(ns::Dictionary& d) const {
  TKStyle::encodeWithCoder(d);
  putColor(d, "color", color);
}

void TKSolidFillStyle::initWithCoder(const ns::Value& v) {
  TKStyle::initWithCoder(v);
  color = tkarchive::decodeColor(v["color"]);
}

// --- TKLinearGradientFillStyle ------------------------------------------------

std::shared_ptr<TKLinearGradientFillStyle> TKLinearGradientFillStyle::styleWithColor1(
    std::optional<cg::Color> color1, std::optional<cg::Color> color2, std::shared_ptr<TKStyle> next) {
  auto s = std::make_shared<TKLinearGradientFillStyle>(std::move(next));
  s->color1 = color1;
  s->color2 = color2;
  return s;
}

void TKLinearGradientFillStyle::draw(TKStyleContext& context) {
  cg::Context* g = context.graphics();
  if (g && color1 && color2) {
    Rect F = context.frame();
    g->save();
    context.shape()->addToPath(*g, F);
    g->clip();
    g->drawLinearGradient(newGradientWithColors({*color1, *color2}), {}, {F.x(), F.y()},
                          {F.x(), F.y() + F.height()}, cg::GradientDrawsAfterEnd);
    g->restore();
  }
  drawNext(context);
}

void TKLinearGradientFillStyle::encodeWithCoder(ns::Dictionary& d) const {
  TKStyle::encodeWithCoder(d);
  putColor(d, "color1", color1);
  putColor(d, "color2", color2);
}

void TKLinearGradientFillStyle::initWithCoder(const ns::Value& v) {
  TKStyle::initWithCoder(v);
  color1 = tkarchive::decodeColor(v["color1"]);
  color2 = tkarchive::decodeColor(v["color2"]);
}

// --- TKReflectiveFillStyle ----------------------------------------------------

std::shared_ptr<TKReflectiveFillStyle> TKReflectiveFillStyle::styleWithColor(std::optional<cg::Color> color,
                                                                             std::shared_ptr<TKStyle> next) {
  auto s = std::make_shared<TKReflectiveFillStyle>(std::move(next));
  s->color = color;
  return s;
}

std::pair<cg::Color, cg::Color> TKReflectiveFillStyle::reflectionColors(const cg::Color& base) {
  cg::HSV x = cg::hsvOfColor(base);
  float H = x.hue, S0 = x.saturation, V0 = x.value;
  if (V0 < 0.5f) {
    return {cg::colorWithHSV(H, clamp01(S0 - 0.5f), clamp01(V0 + 0.25f), 1),
            cg::colorWithHSV(H, clamp01(S0 - 0.1f), clamp01(V0 + 0.1f), 1)};
  }
  cg::Color top = S0 > 0.6f ? cg::colorWithHSV(H, S0 * 0.3f, V0, 1) : cg::colorWithHSV(H, S0 * 0.4f, V0 * 1.2f, 1);
  return {top, cg::colorWithHSV(H, S0 * 0.9f, V0 + 0.05f, 1)};
}

void TKReflectiveFillStyle::draw(TKStyleContext& context) {
  cg::Context* g = context.graphics();
  if (g) {
    Rect F = context.frame();
    g->save();
    context.shape()->addToPath(*g, F);
    g->clip();
    if (color) g->setFillColor(*color);
    g->fillRect(F);
    if (color) {
      auto [top, middle] = reflectionColors(*color);
      g->drawLinearGradient(newGradientWithColors({top, middle}), {}, {F.x(), F.y()},
                            {F.x(), F.y() + F.height() * 0.5f}, cg::GradientDrawsBeforeStart);
    }
    g->restore();
  }
  drawNext(context);
}

void TKReflectiveFillStyle::encodeWithCoder(ns::Dictionary& d) const {
  TKStyle::encodeWithCoder(d);
  putColor(d, "color", color);
}

void TKReflectiveFillStyle::initWithCoder(const ns::Value& v) {
  TKStyle::initWithCoder(v);
  color = tkarchive::decodeColor(v["color"]);
}

// --- TKShadowStyle ------------------------------------------------------------

cg::EdgeInsets TKShadowStyle::shadowInsets() const {
  float b = std::roundf(blur * 0.5f);
  auto sides = [b](float o, float& before, float& after) {
    if (o < 0) {
      before = b + std::fabs(o) + 2 * b;
      after = 0;
    } else if (o > 0) {
      before = 0;
      after = b + std::fabs(o) + 2 * b;
    } else {
      before = after = b;
    }
  };
  cg::EdgeInsets e;
  sides(offset.width, e.left, e.right);
  sides(offset.height, e.top, e.bottom);
  return e;
}

void TKShadowStyle::draw(TKStyleContext& context) {
  cg::EdgeInsets e = shadowInsets();
  context.setFrame(cg::insetRect(context.frame(), e));
  context.setContentFrame(cg::insetRect(context.contentFrame(), e));
  cg::Context* g = context.graphics();
  if (!g) {
    drawNext(context);
    return;
  }
  g->save();
  context.shape()->addToPath(*g, context.frame());
  g->setShadow({offset.width, -offset.height}, blur, color.value_or(cg::Color::clear()));
  g->beginTransparencyLayer();
  drawNext(context);
  g->endTransparencyLayer();
  g->restore();
}

Size TKShadowStyle::addToSize(Size size, TKStyleContext& context) {
  // The same room as drawing takes: the offsets count by their size, whatever their sign.
  float b = std::roundf(blur * 0.5f);
  float ow = std::fabs(offset.width), oh = std::fabs(offset.height);
  size.width += ow + (ow != 0 ? b : 0) + 2 * b;
  size.height += oh + (oh != 0 ? b : 0) + 2 * b;
  return TKStyle::addToSize(size, context);
}

void TKShadowStyle::encodeWithCoder(ns::Dictionary& d) const {
  TKStyle::encodeWithCoder(d);
  putColor(d, "color", color);
  d["blur"] = blur;
  d["offset"] = tkarchive::encodeSize(offset);
}

void TKShadowStyle::initWithCoder(const ns::Value& v) {
  TKStyle::initWithCoder(v);
  color = tkarchive::decodeColor(v["color"]);
  blur = v["blur"].floatValue();
  offset = tkarchive::decodeSize(v["offset"]);
}

// --- TKInnerShadowStyle -------------------------------------------------------

void TKInnerShadowStyle::draw(TKStyleContext& context) {
  if (cg::Context* g = context.graphics()) {
    Rect F = context.frame();
    g->save();
    context.shape()->addToPath(*g, F);
    g->clip();
    context.shape()->addInverseToPath(*g, F);
    g->setFillColor(cg::Color::white());
    g->setShadow({offset.width, -offset.height}, blur, color.value_or(cg::Color::clear()));
    g->fillPath(cg::FillRule::EvenOdd);
    g->restore();
  }
  drawNext(context);
}

Size TKInnerShadowStyle::addToSize(Size size, TKStyleContext& context) { return TKStyle::addToSize(size, context); }

// --- TKSolidBorderStyle -------------------------------------------------------

std::shared_ptr<TKSolidBorderStyle> TKSolidBorderStyle::styleWithColor(std::optional<cg::Color> color, float width,
                                                                       std::shared_ptr<TKStyle> next) {
  auto s = std::make_shared<TKSolidBorderStyle>(std::move(next));
  s->color = color;
  s->width = width;
  return s;
}

void TKSolidBorderStyle::draw(TKStyleContext& context) {
  Rect F = context.frame();
  if (cg::Context* g = context.graphics()) {
    g->save();
    context.shape()->addToPath(*g, F.insetBy(width * 0.5f, width * 0.5f));
    if (color) g->setStrokeColor(*color);
    g->setLineWidth(width);
    g->strokePath();
    g->restore();
  }
  context.setFrame(F.insetBy(width, width));
  drawNext(context);
}

void TKSolidBorderStyle::encodeWithCoder(ns::Dictionary& d) const {
  TKStyle::encodeWithCoder(d);
  putColor(d, "color", color);
  d["width"] = width;
}

void TKSolidBorderStyle::initWithCoder(const ns::Value& v) {
  TKStyle::initWithCoder(v);
  color = tkarchive::decodeColor(v["color"]);
  width = v["width"].floatValue();
}

// --- TKFourBorderStyle --------------------------------------------------------

std::shared_ptr<TKFourBorderStyle> TKFourBorderStyle::styleWithTop(OptColor top, OptColor right, OptColor bottom,
                                                                   OptColor left, float width,
                                                                   std::shared_ptr<TKStyle> next) {
  auto s = std::make_shared<TKFourBorderStyle>(std::move(next));
  s->top = top;
  s->right = right;
  s->bottom = bottom;
  s->left = left;
  s->width = width;
  return s;
}

std::shared_ptr<TKFourBorderStyle> TKFourBorderStyle::styleWithTop(OptColor top, float width,
                                                                   std::shared_ptr<TKStyle> next) {
  return styleWithTop(top, std::nullopt, std::nullopt, std::nullopt, width, std::move(next));
}
std::shared_ptr<TKFourBorderStyle> TKFourBorderStyle::styleWithRight(OptColor right, float width,
                                                                     std::shared_ptr<TKStyle> next) {
  return styleWithTop(std::nullopt, right, std::nullopt, std::nullopt, width, std::move(next));
}
std::shared_ptr<TKFourBorderStyle> TKFourBorderStyle::styleWithBottom(OptColor bottom, float width,
                                                                      std::shared_ptr<TKStyle> next) {
  return styleWithTop(std::nullopt, std::nullopt, bottom, std::nullopt, width, std::move(next));
}
std::shared_ptr<TKFourBorderStyle> TKFourBorderStyle::styleWithLeft(OptColor left, float width,
                                                                    std::shared_ptr<TKStyle> next) {
  return styleWithTop(std::nullopt, std::nullopt, std::nullopt, left, width, std::move(next));
}

void TKFourBorderStyle::draw(TKStyleContext& context) {
  Rect F = context.frame();
  if (cg::Context* g = context.graphics()) {
    Rect R = F.insetBy(width * 0.5f, width * 0.5f);
    TKShape& shape = *context.shape();
    shape.openPath(*g, R);
    g->setLineWidth(width);
    auto stroke = [&](const OptColor& c) {
      g->setStrokeColor(c.value_or(cg::Color::clear()));
      g->strokePath();
    };
    shape.addTopEdgeToPath(*g, R, 125);
    stroke(top);
    shape.addRightEdgeToPath(*g, R, 125);
    stroke(right);
    shape.addBottomEdgeToPath(*g, R, 125);
    stroke(bottom);
    shape.addLeftEdgeToPath(*g, R, 125);
    stroke(left);
    g->restore();
  }
  float wt = top ? width : 0, wr = right ? width : 0, wb = bottom ? width : 0, wl = left ? width : 0;
  context.setFrame(Rect(F.x() + wl, F.y() + wt, F.width() - wl - wr, F.height() - wt - wb));
  drawNext(context);
}

void TKFourBorderStyle::encodeWithCoder(ns::Dictionary& d) const {
  TKStyle::encodeWithCoder(d);
  putColor(d, "top", top);
  putColor(d, "right", right);
  putColor(d, "bottom", bottom);
  putColor(d, "left", left);
  d["width"] = width;
}

void TKFourBorderStyle::initWithCoder(const ns::Value& v) {
  TKStyle::initWithCoder(v);
  top = tkarchive::decodeColor(v["top"]);
  right = tkarchive::decodeColor(v["right"]);
  bottom = tkarchive::decodeColor(v["bottom"]);
  left = tkarchive::decodeColor(v["left"]);
  width = v["width"].floatValue();
}

// --- TKBevelBorderStyle -------------------------------------------------------

std::shared_ptr<TKBevelBorderStyle> TKBevelBorderStyle::styleWithHighlight(OptColor highlight, OptColor shadow,
                                                                           float width, int lightSource,
                                                                           std::shared_ptr<TKStyle> next) {
  auto s = std::make_shared<TKBevelBorderStyle>(std::move(next));
  s->highlight = highlight;
  s->shadow = shadow;
  s->width = width;
  s->lightSource = lightSource;
  return s;
}

std::shared_ptr<TKBevelBorderStyle> TKBevelBorderStyle::styleWithColor(const cg::Color& color, float width,
                                                                       std::shared_ptr<TKStyle> next) {
  return styleWithHighlight(cg::multiplyHSV(color, 1, 0.4f, 1.2f), cg::multiplyHSV(color, 1, 0.6f, 0.6f), width, 125,
                            std::move(next));
}

std::array<bool, 4> TKBevelBorderStyle::sidesInLight(int L) {
  if (L < 0 || L > 360) return {false, false, false, false};
  return {L <= 180, L >= 270 || L <= 90, L >= 180 || L == 0, L >= 90 && L <= 270};
}

void TKBevelBorderStyle::draw(TKStyleContext& context) {
  Rect F = context.frame();
  Rect G = F;
  auto lit = sidesInLight(lightSource);
  OptColor sides[4];
  for (int i = 0; i < 4; ++i) sides[i] = lit[i] ? highlight : shadow;
  cg::Context* g = context.graphics();
  Rect R = F.insetBy(width * 0.5f, width * 0.5f);
  TKShape& shape = *context.shape();
  if (g) {
    shape.openPath(*g, R);
    g->setLineWidth(width);
  }
  auto edge = [&](int i, auto add) {
    if (g) {
      (shape.*add)(*g, R, lightSource);
      g->setStrokeColor(sides[i].value_or(cg::Color::clear()));
      g->strokePath();
    }
    return sides[i].has_value();
  };
  if (edge(0, &TKShape::addTopEdgeToPath)) {
    G.origin.y += width;
    G.size.height -= width;
  }
  if (edge(1, &TKShape::addRightEdgeToPath)) G.size.width -= width;
  if (edge(2, &TKShape::addBottomEdgeToPath)) G.size.height -= width;
  if (edge(3, &TKShape::addLeftEdgeToPath)) {
    G.origin.x += width;
    G.size.width -= width;
  }
  if (g) g->restore();
  context.setFrame(G);
  drawNext(context);
}

void TKBevelBorderStyle::encodeWithCoder(ns::Dictionary& d) const {
  TKStyle::encodeWithCoder(d);
  putColor(d, "highlight", highlight);
  putColor(d, "shadow", shadow);
  d["width"] = width;
  d["lightSource"] = lightSource;
}

void TKBevelBorderStyle::initWithCoder(const ns::Value& v) {
  TKStyle::initWithCoder(v);
  highlight = tkarchive::decodeColor(v["highlight"]);
  shadow = tkarchive::decodeColor(v["shadow"]);
  width = v["width"].floatValue();
  lightSource = v["lightSource"].intValue();
}
