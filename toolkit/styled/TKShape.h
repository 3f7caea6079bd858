#pragma once
// Outlines of a rectangle, traced into a graphics context: the closed outline
// (for fills and clips), the region just outside it (for inner shadows) and
// its four sides one by one (for borders with a colour per side). The
// rectangle, the rounded rectangle, rounded boxes with an arrow point on the
// right or the left, and the speech bubble. A radius of -1 means half the
// height. Main thread only, inside a drawing pass.
#include <memory>
#include <string>

#include "platform/foundation/Value.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Geometry.h"

class TKShape : public std::enable_shared_from_this<TKShape> {
 public:
  virtual ~TKShape() = default;

  // Saves the graphics state, moves the origin to the rectangle's and begins a path.
  void openPath(cg::Context& ctx, const cg::Rect& rect) const;
  // Closes the current subpath and restores the graphics state.
  void closePath(cg::Context& ctx, const cg::Rect& rect) const;

  virtual cg::EdgeInsets insetsForSize(cg::Size size) const;
  // Open subpaths in coordinates local to the rectangle; the caller opens the path.
  virtual void addTopEdgeToPath(cg::Context&, const cg::Rect&, int lightSource) const;
  virtual void addRightEdgeToPath(cg::Context&, const cg::Rect&, int lightSource) const;
  virtual void addBottomEdgeToPath(cg::Context&, const cg::Rect&, int lightSource) const;
  virtual void addLeftEdgeToPath(cg::Context&, const cg::Rect&, int lightSource) const;
  // The closed outline at the rectangle's place; left as the current path.
  virtual void addToPath(cg::Context&, const cg::Rect&) const;
  // A rectangle 5 points larger on every side, then the outline.
  virtual void addInverseToPath(cg::Context&, const cg::Rect&) const;

  // Archive form; the copy is a round trip through it.
  virtual std::string className() const { return "TKShape"; }
  virtual void encodeWithCoder(ns::Dictionary&) const {}
  virtual void initWithCoder(const ns::Value&) {}
  ns::Value archive() const;
  static std::shared_ptr<TKShape> unarchive(const ns::Value& archive);
  std::shared_ptr<TKShape> copy() const;

  // A radius of -1 resolves to roundf(height / 2).
  static cg::Float resolveRadius(cg::Float radius, cg::Float height);
  // Light sources 0..90, compared unsigned: a negative angle is outside.
  static bool lightInFirstQuadrant(int lightSource) { return static_cast<unsigned>(lightSource) <= 90; }
};

class TKRectangleShape : public TKShape {
 public:
  // The one shared rectangle.
  static std::shared_ptr<TKRectangleShape> shape();

  void addTopEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addRightEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addBottomEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addLeftEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addToPath(cg::Context&, const cg::Rect&) const override;
  void addInverseToPath(cg::Context&, const cg::Rect&) const override;
  std::string className() const override { return "TKRectangleShape"; }
};

class TKRoundedRectangleShape : public TKShape {
 public:
  static std::shared_ptr<TKRoundedRectangleShape> shapeWithRadius(cg::Float radius);
  static std::shared_ptr<TKRoundedRectangleShape> shapeWithTopLeft(cg::Float topLeft, cg::Float topRight,
                                                                   cg::Float bottomRight, cg::Float bottomLeft);

  cg::Float topLeftRadius = 0, topRightRadius = 0, bottomRightRadius = 0, bottomLeftRadius = 0;

  void addTopEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addRightEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addBottomEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addLeftEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addToPath(cg::Context&, const cg::Rect&) const override;
  void addInverseToPath(cg::Context&, const cg::Rect&) const override;
  std::string className() const override { return "TKRoundedRectangleShape"; }
  void encodeWithCoder(ns::Dictionary&) const override;
  void initWithCoder(const ns::Value&) override;

 private:
  void addOutline(cg::Context&, cg::Float w, cg::Float h) const;
};

class TKRoundedRightArrowShape : public TKShape {
 public:
  static std::shared_ptr<TKRoundedRightArrowShape> shapeWithRadius(cg::Float radius);
  cg::Float radius = 0;

  cg::EdgeInsets insetsForSize(cg::Size size) const override;
  void addTopEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addRightEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addBottomEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addLeftEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addToPath(cg::Context&, const cg::Rect&) const override;
  std::string className() const override { return "TKRoundedRightArrowShape"; }
  void encodeWithCoder(ns::Dictionary& d) const override { d["radius"] = radius; }
  void initWithCoder(const ns::Value& v) override { radius = v["radius"].floatValue(); }
};

class TKRoundedLeftArrowShape : public TKShape {
 public:
  static std::shared_ptr<TKRoundedLeftArrowShape> shapeWithRadius(cg::Float radius);
  cg::Float radius = 0;

  cg::EdgeInsets insetsForSize(cg::Size size) const override;
  void addTopEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addRightEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addBottomEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addLeftEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addToPath(cg::Context&, const cg::Rect&) const override;
  void addInverseToPath(cg::Context&, const cg::Rect&) const override;
  std::string className() const override { return "TKRoundedLeftArrowShape"; }
  void encodeWithCoder(ns::Dictionary& d) const override { d["radius"] = radius; }
  void initWithCoder(const ns::Value& v) override { radius = v["radius"].floatValue(); }

 private:
  void addOutline(cg::Context&, cg::Float w, cg::Float h) const;
};

class TKSpeechBubbleShape : public TKShape {
 public:
  static std::shared_ptr<TKSpeechBubbleShape> shapeWithRadius(cg::Float radius, int pointLocation,
                                                              int pointAngle, cg::Size pointSize);
  cg::Float radius = 0;
  int pointLocation = 0;  // degrees clockwise around the box; 45 top-left, 135 top-right
  int pointAngle = 0;     // degrees; 0..179 points up (or left), else down
  cg::Size pointSize;     // width of the tail's base, depth of the tail

  // The box left once the tail has room, in local coordinates.
  cg::Rect subtractPointFromRect(const cg::Rect& rect) const;

  void addTopEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addRightEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addBottomEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addLeftEdgeToPath(cg::Context&, const cg::Rect&, int) const override;
  void addToPath(cg::Context&, const cg::Rect&) const override;
  void addInverseToPath(cg::Context&, const cg::Rect&) const override;
  std::string className() const override { return "TKSpeechBubbleShape"; }
  void encodeWithCoder(ns::Dictionary&) const override;
  void initWithCoder(const ns::Value&) override;

 private:
  enum Edge { Top, Right, Bottom, Left };
  void addEdge(cg::Context&, Edge edge, cg::Size size, int lightSource, bool reset) const;
  void addOutline(cg::Context&, const cg::Rect& box, bool inverse) const;
  void addOneEdge(cg::Context&, const cg::Rect&, Edge edge, int lightSource) const;
};
