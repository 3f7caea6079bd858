#pragma once
// Points, sizes, rectangles and edge insets in points: single precision,
// origin at the top left, y growing downwards.
#include <algorithm>
#include <cmath>

namespace cg {

using Float = float;

struct Point {
  Float x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  Float width = 0, height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  Point origin;
  Size size;

  constexpr Rect() = default;
  constexpr Rect(Float x, Float y, Float w, Float h) : origin{x, y}, size{w, h} {}
  constexpr Rect(Point o, Size s) : origin(o), size(s) {}

  Float x() const { return origin.x; }
  Float y() const { return origin.y; }
  Float width() const { return size.width; }
  Float height() const { return size.height; }
  Float minX() const { return std::min(origin.x, origin.x + size.width); }
  Float minY() const { return std::min(origin.y, origin.y + size.height); }
  Float maxX() const { return std::max(origin.x, origin.x + size.width); }
  Float maxY() const { return std::max(origin.y, origin.y + size.height); }
  Float midX() const { return origin.x + size.width / 2; }
  Float midY() const { return origin.y + size.height / 2; }
  bool isEmpty() const { return size.width <= 0 || size.height <= 0; }

  bool contains(Point p) const {
    return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
  }
  // The whole of r lies inside (edges may touch).
  bool contains(const Rect& r) const {
    return r.minX() >= minX() && r.minY() >= minY() && r.maxX() <= maxX() && r.maxY() <= maxY();
  }
  bool intersects(const Rect& r) const {
    return !isEmpty() && !r.isEmpty() && minX() < r.maxX() && r.minX() < maxX() &&
           minY() < r.maxY() && r.minY() < maxY();
  }
  Rect intersection(const Rect& r) const {
    if (!intersects(r)) return Rect();
    Float x0 = std::max(minX(), r.minX()), y0 = std::max(minY(), r.minY());
    Float x1 = std::min(maxX(), r.maxX()), y1 = std::min(maxY(), r.maxY());
    return Rect(x0, y0, x1 - x0, y1 - y0);
  }
  Rect unionWith(const Rect& r) const {
    if (isEmpty()) return r;
    if (r.isEmpty()) return *this;
    Float x0 = std::min(minX(), r.minX()), y0 = std::min(minY(), r.minY());
    Float x1 = std::max(maxX(), r.maxX()), y1 = std::max(maxY(), r.maxY());
    return Rect(x0, y0, x1 - x0, y1 - y0);
  }
  Rect insetBy(Float dx, Float dy) const {
    return Rect(origin.x + dx, origin.y + dy, size.width - 2 * dx, size.height - 2 * dy);
  }
  Rect offsetBy(Float dx, Float dy) const {
    return Rect(origin.x + dx, origin.y + dy, size.width, size.height);
  }
  Rect integral() const {
    Float x0 = std::floor(minX()), y0 = std::floor(minY());
    return Rect(x0, y0, std::ceil(maxX()) - x0, std::ceil(maxY()) - y0);
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct EdgeInsets {
  Float top = 0, left = 0, bottom = 0, right = 0;
  friend bool operator==(const EdgeInsets&, const EdgeInsets&) = default;
};

inline Rect insetRect(const Rect& r, const EdgeInsets& e) {
  return Rect(r.origin.x + e.left, r.origin.y + e.top, r.size.width - e.left - e.right,
              r.size.height - e.top - e.bottom);
}

}  // namespace cg
