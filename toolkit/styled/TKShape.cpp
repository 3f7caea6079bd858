#include "toolkit/styled/TKShape.h"

#include <cmath>

#include "toolkit/styled/TKArchive.h"

using cg::Float;
using cg::Point;

namespace {

using Registry = tkarchive::Registry<TKShape>;

void ensureRegistered() {
  static bool once = [] {
    Registry::shared().addClasses<TKShape, TKRectangleShape, TKRoundedRectangleShape, TKRoundedRightArrowShape,
                                  TKRoundedLeftArrowShape, TKSpeechBubbleShape>();
    return true;
  }();
  (void)once;
}

Float floorf_(Float v) { return std::floor(v); }

// The arrows' point depth.
Float arrowDepth(Float h) { return std::floor(h / Float(2.8)); }

Float arrowInset(Float radius, Float h) {
  Float q = radius == -1 ? std::roundf((h / 3) * Float(0.5)) : radius;
  return std::floor(q);
}

}  // namespace

// --- TKShape ------------------------------------------------------------------

void TKShape::openPath(cg::Context& ctx, const cg::Rect& rect) const {
  ctx.save();
  ctx.translate(rect.minX(), rect.minY());
  ctx.beginPath();
}

void TKShape::closePath(cg::Context& ctx, const cg::Rect&) const {
  ctx.closePath();
  ctx.restore();
}

cg::EdgeInsets TKShape::insetsForSize(cg::Size) const { return {}; }
void TKShape::addTopEdgeToPath(cg::Context&, const cg::Rect&, int) const {}
void TKShape::addRightEdgeToPath(cg::Context&, const cg::Rect&, int) const {}
void TKShape::addBottomEdgeToPath(cg::Context&, const cg::Rect&, int) const {}
void TKShape::addLeftEdgeToPath(cg::Context&, const cg::Rect&, int) const {}
void TKShape::addToPath(cg::Context&, const cg::Rect&) const {}
void TKShape::addInverseToPath(cg::Context&, const cg::Rect&) const {}

Float TKShape::resolveRadius(Float radius, Float height) {
  return radius == -1 ? std::roundf(height * Float(0.5)) : radius;
}

ns::Value TKShape::archive() const {
  ns::Dictionary d;
  encodeWithCoder(d);
  d["$class"] = className();
  return d;
}

std::shared_ptr<TKShape> TKShape::unarchive(const ns::Value& archive) {
  ensureRegistered();
  if (!archive.isDictionary()) return nullptr;
  auto shape = Registry::shared().make(archive["$class"].string());
  if (shape) shape->initWithCoder(archive);
  return shape;
}

std::shared_ptr<TKShape> TKShape::copy() const {
  // The shared rectangle stays the one shared rectangle.
  if (className() == "TKRectangleShape") return TKRectangleShape::shape();
  return unarchive(archive());
}

// --- TKRectangleShape ---------------------------------------------------------

std::shared_ptr<TKRectangleShape> TKRectangleShape::shape() {
  static auto shared = std::make_shared<TKRectangleShape>();
  return shared;
}

void TKRectangleShape::addToPath(cg::Context& ctx, const cg::Rect& rect) const {
  openPath(ctx, rect);
  ctx.addRect({0, 0, rect.width(), rect.height()});
  closePath(ctx, rect);
}

void TKRectangleShape::addInverseToPath(cg::Context& ctx, const cg::Rect& rect) const {
  openPath(ctx, rect);
  ctx.addRect({-5, -5, rect.width() + 10, rect.height() + 10});
  ctx.addRect({0, 0, rect.width(), rect.height()});
  closePath(ctx, rect);
}

void TKRectangleShape::addTopEdgeToPath(cg::Context& ctx, const cg::Rect& r, int) const {
  ctx.moveTo({0, 0});
  ctx.lineTo({r.width(), 0});
}
void TKRectangleShape::addRightEdgeToPath(cg::Context& ctx, const cg::Rect& r, int) const {
  ctx.moveTo({r.width(), 0});
  ctx.lineTo({r.width(), r.height()});
}
void TKRectangleShape::addBottomEdgeToPath(cg::Context& ctx, const cg::Rect& r, int) const {
  ctx.moveTo({r.width(), r.height()});
  ctx.lineTo({0, r.height()});
}
void TKRectangleShape::addLeftEdgeToPath(cg::Context& ctx, const cg::Rect& r, int) const {
  ctx.moveTo({0, r.height()});
  ctx.lineTo({0, 0});
}

// --- TKRoundedRectangleShape --------------------------------------------------

std::shared_ptr<TKRoundedRectangleShape> TKRoundedRectangleShape::shapeWithRadius(Float radius) {
  return shapeWithTopLeft(radius, radius, radius, radius);
}

std::shared_ptr<TKRoundedRectangleShape> TKRoundedRectangleShape::shapeWithTopLeft(Float tl, Float tr, Float br,
                                                                                   Float bl) {
  auto s = std::make_shared<TKRoundedRectangleShape>();
  s->topLeftRadius = tl;
  s->topRightRadius = tr;
  s->bottomRightRadius = br;
  s->bottomLeftRadius = bl;
  return s;
}

void TKRoundedRectangleShape::addOutline(cg::Context& ctx, Float w, Float h) const {
  Float tl = resolveRadius(topLeftRadius, h), tr = resolveRadius(topRightRadius, h);
  Float br = resolveRadius(bottomRightRadius, h), bl = resolveRadius(bottomLeftRadius, h);
  ctx.moveTo({w, floorf_(h * Float(0.5))});
  ctx.arcToPoint({w, h}, {floorf_(w * Float(0.5)), h}, br);
  ctx.arcToPoint({0, h}, {0, floorf_(h * Float(0.5))}, bl);
  ctx.arcToPoint({0, 0}, {floorf_(w * Float(0.5)), 0}, tl);
  ctx.arcToPoint({w, 0}, {w, floorf_(h * Float(0.5))}, tr);
}

void TKRoundedRectangleShape::addToPath(cg::Context& ctx, const cg::Rect& rect) const {
  openPath(ctx, rect);
  addOutline(ctx, rect.width(), rect.height());
  closePath(ctx, rect);
}

void TKRoundedRectangleShape::addInverseToPath(cg::Context& ctx, const cg::Rect& rect) const {
  openPath(ctx, rect);
  ctx.addRect({-5, -5, rect.width() + 10, rect.height() + 10});
  addOutline(ctx, rect.width(), rect.height());
  closePath(ctx, rect);
}

void TKRoundedRectangleShape::addTopEdgeToPath(cg::Context& ctx, const cg::Rect& r, int light) const {
  Float w = r.width(), h = r.height();
  Float tl = resolveRadius(topLeftRadius, h), tr = resolveRadius(topRightRadius, h);
  if (!lightInFirstQuadrant(light)) {
    ctx.moveTo({0, tl});
    ctx.arcToPoint({0, 0}, {tl, 0}, tl);
  } else {
    ctx.moveTo({tl, 0});
  }
  ctx.arcToPoint({w, 0}, {w, tr}, tr);
  ctx.lineTo({w, tr});
}

void TKRoundedRectangleShape::addRightEdgeToPath(cg::Context& ctx, const cg::Rect& r, int) const {
  Float w = r.width(), h = r.height();
  Float tr = resolveRadius(topRightRadius, h), br = resolveRadius(bottomRightRadius, h);
  ctx.moveTo({w, tr});
  ctx.arcToPoint({w, h}, {w - br, h}, br);
  ctx.lineTo({w - br, h});
}

void TKRoundedRectangleShape::addBottomEdgeToPath(cg::Context& ctx, const cg::Rect& r, int) const {
  Float w = r.width(), h = r.height();
  Float br = resolveRadius(bottomRightRadius, h), bl = resolveRadius(bottomLeftRadius, h);
  ctx.moveTo({w - br, h});
  ctx.lineTo({bl, h});
  ctx.arcToPoint({0, h}, {0, h - bl}, bl);
}

void TKRoundedRectangleShape::addLeftEdgeToPath(cg::Context& ctx, const cg::Rect& r, int light) const {
  Float h = r.height();
  Float tl = resolveRadius(topLeftRadius, h), bl = resolveRadius(bottomLeftRadius, h);
  ctx.moveTo({0, h - bl});
  ctx.lineTo({0, tl});
  if (lightInFirstQuadrant(light)) ctx.arcToPoint({0, 0}, {tl, 0}, tl);
}

void TKRoundedRectangleShape::encodeWithCoder(ns::Dictionary& d) const {
  d["topLeftRadius"] = topLeftRadius;
  d["topRightRadius"] = topRightRadius;
  d["bottomRightRadius"] = bottomRightRadius;
  d["bottomLeftRadius"] = bottomLeftRadius;
}

void TKRoundedRectangleShape::initWithCoder(const ns::Value& v) {
  topLeftRadius = v["topLeftRadius"].floatValue();
  topRightRadius = v["topRightRadius"].floatValue();
  bottomRightRadius = v["bottomRightRadius"].floatValue();
  bottomLeftRadius = v["bottomLeftRadius"].floatValue();
}

// --- TKRoundedRightArrowShape -------------------------------------------------

std::shared_ptr<TKRoundedRightArrowShape> TKRoundedRightArrowShape::shapeWithRadius(Float radius) {
  auto s = std::make_shared<TKRoundedRightArrowShape>();
  s->radius = radius;
  return s;
}

cg::EdgeInsets TKRoundedRightArrowShape::insetsForSize(cg::Size size) const {
  return {0, 0, 0, arrowInset(radius, size.height)};
}

void TKRoundedRightArrowShape::addToPath(cg::Context& ctx, const cg::Rect& rect) const {
  Float w = rect.width(), h = rect.height(), p = arrowDepth(h), r = resolveRadius(radius, h);
  Float mid = floorf_(h * Float(0.5));
  openPath(ctx, rect);
  ctx.moveTo({w, mid});
  ctx.arcToPoint({w - p, h}, {0, h}, 2 * r);
  ctx.arcToPoint({0, h}, {0, 0}, r);
  ctx.arcToPoint({0, 0}, {w - p, 0}, r);
  ctx.arcToPoint({w - p, 0}, {w, mid}, 2 * r);
  ctx.lineTo({w, mid});
  closePath(ctx, rect);
}

void TKRoundedRightArrowShape::addTopEdgeToPath(cg::Context& ctx, const cg::Rect& rect, int light) const {
  Float w = rect.width(), h = rect.height(), p = arrowDepth(h), r = resolveRadius(radius, h);
  if (!lightInFirstQuadrant(light)) {
    ctx.moveTo({0, r});
    ctx.arcToPoint({0, 0}, {r, 0}, r);
  } else {
    ctx.moveTo({r, 0});
  }
  ctx.lineTo({w - (p + 2 * r), 0});
  ctx.arcToPoint({w - p, 0}, {w, floorf_(h * Float(0.5))}, 2 * r);
  ctx.lineTo({w, floorf_(h * Float(0.5))});
}

void TKRoundedRightArrowShape::addRightEdgeToPath(cg::Context& ctx, const cg::Rect& rect, int) const {
  Float w = rect.width(), h = rect.height(), p = arrowDepth(h), r = resolveRadius(radius, h);
  ctx.moveTo({w, floorf_(h * Float(0.5))});
  ctx.arcToPoint({w - p, h}, {w - (p + 2 * r), h}, 2 * r);
  ctx.lineTo({w - (p + 2 * r), h});
}

void TKRoundedRightArrowShape::addBottomEdgeToPath(cg::Context& ctx, const cg::Rect& rect, int) const {
  Float w = rect.width(), h = rect.height(), p = arrowDepth(h), r = resolveRadius(radius, h);
  ctx.moveTo({floorf_(w - (p + 2 * r)), h});
  ctx.arcToPoint({0, h}, {0, floorf_(h - r)}, r);
}

void TKRoundedRightArrowShape::addLeftEdgeToPath(cg::Context& ctx, const cg::Rect& rect, int light) const {
  Float h = rect.height(), r = resolveRadius(radius, h);
  ctx.moveTo({0, floorf_(h - r)});
  ctx.lineTo({0, floorf_(r)});
  if (lightInFirstQuadrant(light)) ctx.arcToPoint({0, 0}, {floorf_(r), 0}, r);
}

// --- TKRoundedLeftArrowShape --------------------------------------------------

std::shared_ptr<TKRoundedLeftArrowShape> TKRoundedLeftArrowShape::shapeWithRadius(Float radius) {
  auto s = std::make_shared<TKRoundedLeftArrowShape>();
  s->radius = radius;
  return s;
}

cg::EdgeInsets TKRoundedLeftArrowShape::insetsForSize(cg::Size size) const {
  return {0, arrowInset(radius, size.height), 0, 0};
}

void TKRoundedLeftArrowShape::addOutline(cg::Context& ctx, Float w, Float h) const {
  Float p = arrowDepth(h), r = resolveRadius(radius, h);
  ctx.moveTo({0, floorf_(h * Float(0.5))});
  ctx.arcToPoint({p, 0}, {floorf_(w - r), 0}, 2 * r);
  ctx.arcToPoint({w, 0}, {w, floorf_(r)}, r);
  ctx.arcToPoint({w, h}, {floorf_(p + 2 * r), h}, r);
  ctx.arcToPoint({p, h}, {0, floorf_(h * Float(0.5))}, 2 * r);
}

void TKRoundedLeftArrowShape::addToPath(cg::Context& ctx, const cg::Rect& rect) const {
  openPath(ctx, rect);
  addOutline(ctx, rect.width(), rect.height());
  closePath(ctx, rect);
}

void TKRoundedLeftArrowShape::addInverseToPath(cg::Context& ctx, const cg::Rect& rect) const {
  openPath(ctx, rect);
  ctx.addRect({-5, -5, rect.width() + 10, rect.height() + 10});
  addOutline(ctx, rect.width(), rect.height());
  closePath(ctx, rect);
}

void TKRoundedLeftArrowShape::addTopEdgeToPath(cg::Context& ctx, const cg::Rect& rect, int light) const {
  Float w = rect.width(), h = rect.height(), p = arrowDepth(h), r = resolveRadius(radius, h);
  ctx.moveTo({0, floorf_(h * Float(0.5))});
  ctx.arcToPoint({p, 0}, {floorf_(w - r), 0}, 2 * r);
  if (!lightInFirstQuadrant(light)) {
    ctx.arcToPoint({w, 0}, {w, floorf_(r)}, r);
  } else {
    ctx.lineTo({floorf_(w - r), 0});
  }
}

void TKRoundedLeftArrowShape::addRightEdgeToPath(cg::Context& ctx, const cg::Rect& rect, int light) const {
  Float w = rect.width(), h = rect.height(), r = resolveRadius(radius, h);
  if (lightInFirstQuadrant(light)) {
    ctx.moveTo({floorf_(w - r), 0});
    ctx.arcToPoint({w, 0}, {w, floorf_(r)}, r);
  } else {
    ctx.moveTo({w, r});
    ctx.lineTo({w, h - r});
  }
}

void TKRoundedLeftArrowShape::addBottomEdgeToPath(cg::Context& ctx, const cg::Rect& rect, int) const {
  Float w = rect.width(), h = rect.height(), p = arrowDepth(h), r = resolveRadius(radius, h);
  ctx.moveTo({w, floorf_(h - r)});
  ctx.arcToPoint({w, h}, {floorf_(p + 2 * r), h}, r);
  ctx.lineTo({floorf_(p + 2 * r) - 1, h});
}

void TKRoundedLeftArrowShape::addLeftEdgeToPath(cg::Context& ctx, const cg::Rect& rect, int) const {
  Float h = rect.height(), p = arrowDepth(h), r = resolveRadius(radius, h);
  ctx.moveTo({floorf_(p + 2 * r), h});
  ctx.arcToPoint({p, h}, {0, floorf_(h * Float(0.5))}, 2 * r);
  ctx.lineTo({0, floorf_(h * Float(0.5))});
}

// --- TKSpeechBubbleShape ------------------------------------------------------

std::shared_ptr<TKSpeechBubbleShape> TKSpeechBubbleShape::shapeWithRadius(Float radius, int pointLocation,
                                                                          int pointAngle, cg::Size pointSize) {
  auto s = std::make_shared<TKSpeechBubbleShape>();
  s->radius = radius;
  s->pointLocation = pointLocation;
  s->pointAngle = pointAngle;
  s->pointSize = pointSize;
  return s;
}

cg::Rect TKSpeechBubbleShape::subtractPointFromRect(const cg::Rect& rect) const {
  cg::Rect r(0, 0, rect.width(), rect.height());
  int loc = pointLocation, a = pointAngle;
  Float pw = pointSize.width, ph = pointSize.height;
  if ((loc >= 0 && loc < 45) || (loc >= 315 && loc < 360)) {
    if ((a >= 270 && a < 360) || (a >= 0 && a < 90)) {
      r.origin.x = pw;
      r.size.width -= pw;
    }
  } else if (loc >= 45 && loc < 135) {
    if (a >= 0 && a < 180) {
      r.origin.y = ph;
      r.size.height -= ph;
    }
  } else if (loc >= 135 && loc < 225) {
    if (a >= 90 && a < 270) r.size.width -= pw;
  } else if (loc >= 225 && loc <= 315) {
    if (a >= 180 && a < 360) r.size.height -= ph;
  }
  return r;
}

void TKSpeechBubbleShape::addEdge(cg::Context& ctx, Edge edge, cg::Size size, int light, bool reset) const {
  Float w = size.width, h = size.height, r = resolveRadius(radius, h);
  Float pw = pointSize.width;
  Float d = (pointAngle >= 0 && pointAngle < 180) ? pointSize.height : -pointSize.height;
  Float loc = static_cast<Float>(pointLocation);
  switch (edge) {
    case Top:
      if (lightInFirstQuadrant(light)) {
        if (reset) ctx.moveTo({r, 0});
      } else {
        if (reset) ctx.moveTo({0, r});
        ctx.arcToPoint({0, 0}, {r, 0}, r);
      }
      if (loc >= 45 && loc <= 135) {
        Float x = ((loc - 45) / 90) * w;
        ctx.lineTo({x - floorf_(pw * Float(0.5)), 0});
        ctx.lineTo({x, -d});
        ctx.lineTo({x + floorf_(pw * Float(0.5)), 0});
      }
      ctx.arcToPoint({w, 0}, {w, r}, r);
      break;
    case Right:
      if (reset) ctx.moveTo({w, r});
      ctx.arcToPoint({w, h}, {w - r, h}, r);
      break;
    case Bottom:
      if (reset) ctx.moveTo({w - r, h});
      if (loc >= 225 && loc <= 315) {
        ctx.arcToPoint({w - r, h}, {floorf_(w * Float(0.5)), h}, r);
        Float x = w - ((loc - 225) / 90) * w;
        ctx.lineTo({x + floorf_(pw * Float(0.5)), h});
        ctx.lineTo({x, h - d});
        ctx.lineTo({x - floorf_(pw * Float(0.5)), h});
        ctx.lineTo({r, h});
      }
      ctx.arcToPoint({0, h}, {0, h - r}, r);
      break;
    case Left:
      if (reset) ctx.moveTo({0, h - r});
      if (lightInFirstQuadrant(light)) {
        ctx.arcToPoint({0, 0}, {r, 0}, r);
      } else {
        ctx.lineTo({0, r});
      }
      break;
  }
}

void TKSpeechBubbleShape::addOutline(cg::Context& ctx, const cg::Rect& rect, bool inverse) const {
  openPath(ctx, rect);
  cg::Rect box = subtractPointFromRect(rect);
  ctx.translate(box.x(), box.y());
  if (inverse) ctx.addRect({-5, -5, box.width() + 10, box.height() + 10});
  addEdge(ctx, Top, box.size, 0, true);
  addEdge(ctx, Right, box.size, 0, false);
  addEdge(ctx, Bottom, box.size, 0, false);
  addEdge(ctx, Left, box.size, 0, false);
  ctx.closePath();
  ctx.translate(-box.x(), -box.y());
  closePath(ctx, rect);
}

void TKSpeechBubbleShape::addToPath(cg::Context& ctx, const cg::Rect& rect) const { addOutline(ctx, rect, false); }

void TKSpeechBubbleShape::addInverseToPath(cg::Context& ctx, const cg::Rect& rect) const {
  addOutline(ctx, rect, true);
}

void TKSpeechBubbleShape::addOneEdge(cg::Context& ctx, const cg::Rect& rect, Edge edge, int light) const {
  cg::Rect box = subtractPointFromRect(rect);
  ctx.translate(box.x(), box.y());
  addEdge(ctx, edge, box.size, light, true);
  ctx.translate(-box.x(), -box.y());
}

void TKSpeechBubbleShape::addTopEdgeToPath(cg::Context& c, const cg::Rect& r, int l) const { addOneEdge(c, r, Top, l); }
void TKSpeechBubbleShape::addRightEdgeToPath(cg::Context& c, const cg::Rect& r, int l) const {
  addOneEdge(c, r, Right, l);
}
void TKSpeechBubbleShape::addBottomEdgeToPath(cg::Context& c, const cg::Rect& r, int l) const {
  addOneEdge(c, r, Bottom, l);
}
void TKSpeechBubbleShape::addLeftEdgeToPath(cg::Context& c, const cg::Rect& r, int l) const {
  addOneEdge(c, r, Left, l);
}

void TKSpeechBubbleShape::encodeWithCoder(ns::Dictionary& d) const {
  d["radius"] = radius;
  d["pointLocation"] = pointLocation;
  d["pointAngle"] = pointAngle;
  d["pointSize"] = tkarchive::encodeSize(pointSize);
}

void TKSpeechBubbleShape::initWithCoder(const ns::Value& v) {
  radius = v["radius"].floatValue();
  pointLocation = v["pointLocation"].intValue();
  pointAngle = v["pointAngle"].intValue();
  pointSize = tkarchive::decodeSize(v["pointSize"]);
}
