#pragma once
// 2-D affine transforms: x' = a*x + c*y + tx, y' = b*x + d*y + ty.
#include <cmath>
#include <optional>

#include "platform/graphics/Geometry.h"

namespace cg {

struct AffineTransform {
  Float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

  static constexpr AffineTransform identity() { return {}; }
  static constexpr AffineTransform translation(Float x, Float y) { return {1, 0, 0, 1, x, y}; }
  static constexpr AffineTransform scaling(Float sx, Float sy) { return {sx, 0, 0, sy, 0, 0}; }
  // Angle in radians; positive turns +x towards +y (clockwise on a y-down screen).
  static AffineTransform rotation(Float angle) {
    Float s = std::sin(angle), co = std::cos(angle);
    return {co, s, -s, co, 0, 0};
  }

  // this, then other (a point goes through this first).
  constexpr AffineTransform concat(const AffineTransform& o) const {
    return {a * o.a + b * o.c,           a * o.b + b * o.d,
            c * o.a + d * o.c,           c * o.b + d * o.d,
            tx * o.a + ty * o.c + o.tx,  tx * o.b + ty * o.d + o.ty};
  }
  // The transform applied before this one, as the context's translate/scale/rotate do.
  constexpr AffineTransform translated(Float x, Float y) const { return translation(x, y).concat(*this); }
  constexpr AffineTransform scaled(Float sx, Float sy) const { return scaling(sx, sy).concat(*this); }
  AffineTransform rotated(Float angle) const { return rotation(angle).concat(*this); }

  constexpr Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
  constexpr Size applyToSize(Size s) const { return {a * s.width + c * s.height, b * s.width + d * s.height}; }
  // The bounding box of the transformed rectangle.
  Rect apply(const Rect& r) const;

  constexpr Float determinant() const { return a * d - b * c; }
  constexpr bool isIdentity() const { return *this == AffineTransform{}; }
  // Nothing for a singular transform.
  std::optional<AffineTransform> inverted() const;

  friend constexpr bool operator==(const AffineTransform&, const AffineTransform&) = default;
};

inline Rect AffineTransform::apply(const Rect& r) const {
  Point p[4] = {apply(Point{r.minX(), r.minY()}), apply(Point{r.maxX(), r.minY()}),
                apply(Point{r.minX(), r.maxY()}), apply(Point{r.maxX(), r.maxY()})};
  Float x0 = p[0].x, x1 = p[0].x, y0 = p[0].y, y1 = p[0].y;
  for (const Point& q : p) {
    x0 = std::min(x0, q.x); x1 = std::max(x1, q.x);
    y0 = std::min(y0, q.y); y1 = std::max(y1, q.y);
  }
  return Rect(x0, y0, x1 - x0, y1 - y0);
}

inline std::optional<AffineTransform> AffineTransform::inverted() const {
  Float det = determinant();
  if (det == 0 || !std::isfinite(det)) return std::nullopt;
  return AffineTransform{d / det, -b / det, -c / det, a / det,
                         (c * ty - d * tx) / det, (b * tx - a * ty) / det};
}

}  // namespace cg
