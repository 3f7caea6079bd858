#pragma once
// A drawing context on a cairo surface: the graphics state stack, transforms,
// clipping (rectangles, paths and image masks), paths, fills and strokes,
// images, transparency layers, gradients and shadows.
// Points, origin at the top left, y downwards. One thread at a time.
#include <cairo.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"

namespace cg {

class Layer;

enum class BlendMode {
  Normal, Multiply, Screen, Overlay, Darken, Lighten, ColorDodge, ColorBurn, SoftLight,
  HardLight, Difference, Exclusion, Hue, Saturation, Color, Luminosity,
  Clear, Copy, SourceIn, SourceOut, SourceAtop, DestinationOver, DestinationIn,
  DestinationOut, DestinationAtop, XOR, PlusLighter,
};
enum class LineCap { Butt, Round, Square };
enum class LineJoin { Miter, Round, Bevel };
enum class FillRule { NonZero, EvenOdd };

// Whether a linear gradient also paints before its start and after its end.
enum GradientOptions : unsigned {
  GradientDrawsBeforeStart = 1,
  GradientDrawsAfterEnd = 2,
};

class Context {
 public:
  // An offscreen transparent ARGB bitmap of round(width x scale) by
  // round(height x scale) pixels; the context draws in points.
  static Context bitmap(Float width, Float height, Float scale = 1);
  // A new picture of a window begins. A bitmap smoothed to another size is
  // kept once it is drawn at that size in a second picture: the passing
  // sizes of an animation, each drawn in one picture, are not kept.
  static void beginPicture();
  // Draws on a surface owned elsewhere (a window's backing store); takes a reference.
  explicit Context(cairo_surface_t* target, Float scale = 1);

  Context(Context&&) noexcept;
  Context& operator=(Context&&) noexcept;
  ~Context();

  Float scale() const { return scale_; }
  Size size() const;  // points
  int pixelWidth() const;
  int pixelHeight() const;
  // A copy of the pixels drawn so far, marked with this context's scale.
  std::shared_ptr<Image> makeImage();

  // Within the rect of the surface's pixels (x, y, width, height), each pixel
  // takes the value of the one (dx, dy) pixels away where that one lies in
  // the rect too; the others keep theirs (scrolling what is shown). False
  // when the target is not an image surface.
  bool shiftPixels(int x, int y, int width, int height, int dx, int dy);
  // Rects of the surface's pixels outside which nothing need be drawn (a
  // window drawing only what changed). Only operations whose pixels inside
  // them a cut leaves exactly as they are keep to them: rectangle fills and
  // bitmap copies at whole pixels. Empty: no limit.
  void setPixelLimit(std::vector<Rect> limit) { pixelLimit_ = std::move(limit); }
  // Clips to a rect given in the surface's pixels, whatever the transform.
  void clipToPixelRect(int x, int y, int width, int height);

  // The underlying cairo context.
  cairo_t* cairo() const { return cr_; }
  // Runs drawing done directly in cairo (text, say) the way this context's own
  // operations run: the source set to the fill colour at the state's alpha, and
  // the state's shadow cast under it. `bounds` (user space), when given, limits
  // the shadow work. The callback may run twice (for the shadow and the ink).
  void drawWithCairo(const std::function<void(cairo_t*)>& draw, const Rect* bounds = nullptr);

  // Graphics state: transform, clip, colours, line style, blend mode, alpha, shadow.
  void save();
  void restore();
  int saveDepth() const;

  void translate(Float tx, Float ty);
  void scaleBy(Float sx, Float sy);
  void rotate(Float angle);  // radians, +x towards +y
  void concatCTM(const AffineTransform& t);
  AffineTransform ctm() const;  // user space to points of the surface

  void clipToRect(const Rect& r);
  void clip(FillRule rule = FillRule::NonZero);  // to the current path, which it consumes
  // Later drawing is scaled by the image's alpha, the image upright in rect,
  // until the state is restored.
  void clipToMask(const Rect& rect, const Image& mask);
  Rect clipBoundingBox() const;

  void setFillColor(const Color& c);
  void setStrokeColor(const Color& c);
  Color fillColor() const;
  Color strokeColor() const;
  void setLineWidth(Float w);
  void setLineCap(LineCap cap);
  void setLineJoin(LineJoin join);
  void setMiterLimit(Float limit);
  void setLineDash(Float phase, const std::vector<Float>& lengths);  // empty: solid
  void setBlendMode(BlendMode mode);
  BlendMode blendMode() const;
  void setAlpha(Float alpha);
  Float alpha() const;
  void setShouldAntialias(bool on);
  // The shadow under everything drawn from now on. The offset is in points of
  // the surface, whatever the transform, and its height points UP (the
  // convention the drawing styles are written in): (0, -2) casts the shadow
  // 2 points below. Blur in points; a clear colour turns the shadow off.
  void setShadow(Size offset, Float blur, const Color& color);
  void setShadow(Size offset, Float blur);  // black at one third opacity
  void clearShadow();
  // Whether a shadow is cast under what is drawn now.
  bool castsShadow() const;

  // Paths.
  void beginPath();
  void moveTo(Point p);
  void lineTo(Point p);
  void curveTo(Point c1, Point c2, Point end);
  void quadCurveTo(Point c, Point end);
  // Angles in radians from +x towards +y; clockwise as seen on the screen.
  void arc(Point center, Float radius, Float startAngle, Float endAngle, bool clockwise);
  // A line towards p1 and an arc of radius tangent to (current, p1) and (p1, p2).
  void arcToPoint(Point p1, Point p2, Float radius);
  void closePath();
  void addRect(const Rect& r);
  void addRoundedRect(const Rect& r, Float radius);
  void addEllipseInRect(const Rect& r);
  bool isPathEmpty() const;
  Point currentPoint() const;
  Rect pathBoundingBox() const;
  void fillPath(FillRule rule = FillRule::NonZero);  // consumes the path
  void strokePath();                                  // consumes the path

  void fillRect(const Rect& r);
  void strokeRect(const Rect& r);
  void clearRect(const Rect& r);  // transparent, whatever the blend mode
  void fillEllipseInRect(const Rect& r);

  // The image scaled into rect, upright.
  void drawImage(const Image& image, const Rect& rect);
  // The part source (in the image's points) stretched over rect.
  void drawImage(const Image& image, const Rect& rect, const Rect& source);
  // The image's alpha used as a mask, filled with the fill colour.
  void fillMask(const Image& image, const Rect& rect);
  void drawLayer(const Layer& layer, Point at);
  void drawLayer(const Layer& layer, const Rect& rect);

  // Drawing until the end is composed apart, then composited once with the
  // alpha, blend mode and shadow in force at the beginning.
  void beginTransparencyLayer();
  void endTransparencyLayer();

  // Fills the clip with the gradient along start..end.
  void drawLinearGradient(const std::vector<Color>& colors, const std::vector<Float>& locations,
                          Point start, Point end, unsigned options = 0);

 private:
  struct State;
  struct Pending;
  Context(cairo_t* cr, Float scale);
  template <class Draw> void paint(Draw&& draw, const Rect* bounds = nullptr);
  void castShadow(const std::function<void(cairo_t*)>& draw, const Rect* bounds);
  Rect deviceBox(const Rect& r) const;
  Rect extents(void (*measure)(cairo_t*, double*, double*, double*, double*)) const;
  void drawSurface(cairo_surface_t* surface, int pxWidth, int pxHeight, const Rect& rect,
                   const Rect& sourcePx, bool asMask, bool immutable = true);
  bool drawScaledCopy(cairo_surface_t* surface, const Rect& rect, const Rect& sourcePx);
  void unwindTop();

  template <class F> void withinPixelLimit(const Rect& deviceBox, F&& f);

  cairo_t* cr_ = nullptr;
  Float scale_ = 1;
  std::vector<Rect> pixelLimit_;
  std::vector<State> states_;
};

}  // namespace cg
