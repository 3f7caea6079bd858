#include "platform/graphics/Context.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

#include "platform/foundation/Log.h"
#include "platform/graphics/Blur.h"
#include "platform/graphics/Layer.h"
#include "platform/graphics/ScaledImageCache.h"

namespace cg {

// What restore() must undo besides cairo's own state: image-mask clips open
// as groups, and a transparency layer begun in this state.
struct Context::Pending {
  cairo_pattern_t* mask = nullptr;  // null: a transparency layer
};

struct Context::State {
  Color fill = Color::black();
  Color stroke = Color::black();
  Float alpha = 1;
  BlendMode blend = BlendMode::Normal;
  Size shadowOffset;
  Float shadowBlur = 0;
  Color shadowColor = Color::clear();
  std::vector<Pending> pending;
  // Set on the state that beginTransparencyLayer() opened: how to composite it.
  bool isLayer = false;
  Float layerAlpha = 1;
  BlendMode layerBlend = BlendMode::Normal;
  Size layerShadowOffset;
  Float layerShadowBlur = 0;
  Color layerShadowColor = Color::clear();
};

namespace {

cairo_operator_t toCairo(BlendMode m) {
  switch (m) {
    case BlendMode::Normal: return CAIRO_OPERATOR_OVER;
    case BlendMode::Multiply: return CAIRO_OPERATOR_MULTIPLY;
    case BlendMode::Screen: return CAIRO_OPERATOR_SCREEN;
    case BlendMode::Overlay: return CAIRO_OPERATOR_OVERLAY;
    case BlendMode::Darken: return CAIRO_OPERATOR_DARKEN;
    case BlendMode::Lighten: return CAIRO_OPERATOR_LIGHTEN;
    case BlendMode::ColorDodge: return CAIRO_OPERATOR_COLOR_DODGE;
    case BlendMode::ColorBurn: return CAIRO_OPERATOR_COLOR_BURN;
    case BlendMode::SoftLight: return CAIRO_OPERATOR_SOFT_LIGHT;
    case BlendMode::HardLight: return CAIRO_OPERATOR_HARD_LIGHT;
    case BlendMode::Difference: return CAIRO_OPERATOR_DIFFERENCE;
    case BlendMode::Exclusion: return CAIRO_OPERATOR_EXCLUSION;
    case BlendMode::Hue: return CAIRO_OPERATOR_HSL_HUE;
    case BlendMode::Saturation: return CAIRO_OPERATOR_HSL_SATURATION;
    case BlendMode::Color: return CAIRO_OPERATOR_HSL_COLOR;
    case BlendMode::Luminosity: return CAIRO_OPERATOR_HSL_LUMINOSITY;
    case BlendMode::Clear: return CAIRO_OPERATOR_CLEAR;
    case BlendMode::Copy: return CAIRO_OPERATOR_SOURCE;
    case BlendMode::SourceIn: return CAIRO_OPERATOR_IN;
    case BlendMode::SourceOut: return CAIRO_OPERATOR_OUT;
    case BlendMode::SourceAtop: return CAIRO_OPERATOR_ATOP;
    case BlendMode::DestinationOver: return CAIRO_OPERATOR_DEST_OVER;
    case BlendMode::DestinationIn: return CAIRO_OPERATOR_DEST_IN;
    case BlendMode::DestinationOut: return CAIRO_OPERATOR_DEST_OUT;
    case BlendMode::DestinationAtop: return CAIRO_OPERATOR_DEST_ATOP;
    case BlendMode::XOR: return CAIRO_OPERATOR_XOR;
    case BlendMode::PlusLighter: return CAIRO_OPERATOR_ADD;
  }
  return CAIRO_OPERATOR_OVER;
}

// cairo lets these operators touch the whole clip; drawing here touches only
// the shape drawn, so they are drawn clipped to the shape.
bool isUnbounded(BlendMode m) {
  return m == BlendMode::SourceIn || m == BlendMode::SourceOut || m == BlendMode::DestinationIn ||
         m == BlendMode::DestinationAtop;
}

void setSource(cairo_t* cr, const Color& c, Float alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a * alpha);
}

cairo_matrix_t toCairo(const AffineTransform& t) {
  cairo_matrix_t m;
  cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
  return m;
}

// A pattern showing pixels `src` of a surface over `rect` of user space.
cairo_pattern_t* surfacePattern(cairo_t* cr, cairo_surface_t* surface, const Rect& rect, const Rect& src) {
  cairo_pattern_t* p = cairo_pattern_create_for_surface(surface);
  cairo_matrix_t m;
  double sx = src.width() / rect.width(), sy = src.height() / rect.height();
  cairo_matrix_init_scale(&m, sx, sy);
  cairo_matrix_translate(&m, -rect.x(), -rect.y());
  m.x0 += src.x();
  m.y0 += src.y();
  cairo_pattern_set_matrix(p, &m);
  // Copies of one bitmap pixel to one device pixel, at whole pixels, stay
  // exact (and fast); anything else is smoothed.
  cairo_matrix_t ctm;
  cairo_get_matrix(cr, &ctm);
  auto whole = [](double v) { return std::abs(v - std::round(v)) < 1e-4; };
  bool exact = ctm.xy == 0 && ctm.yx == 0 && std::abs(sx * ctm.xx - 1) < 1e-6 &&
               std::abs(sy * ctm.yy - 1) < 1e-6 && whole(ctm.xx * rect.x() + ctm.x0) &&
               whole(ctm.yy * rect.y() + ctm.y0) && whole(src.x()) && whole(src.y());
  cairo_pattern_set_filter(p, exact ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
  return p;
}

}  // namespace

Context::Context(cairo_t* cr, Float scale) : cr_(cr), scale_(scale > 0 ? scale : 1) {
  states_.emplace_back();
  cairo_scale(cr_, scale_, scale_);
  cairo_set_line_width(cr_, 1);
}

Context Context::bitmap(Float width, Float height, Float scale) {
  if (!(scale > 0)) scale = 1;
  auto px = [scale](Float v) { return std::isfinite(v) && v > 0 ? std::llround(double(v) * scale) : 0LL; };
  long long w = px(width), h = px(height);
  if (w > Image::kMaxSide || h > Image::kMaxSide || w * h > Image::kMaxPixels) {
    ns::logf("ERROR - bitmap of %lld x %lld pixels refused", w, h);
    w = h = 0;
  }
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(w), int(h));
  cairo_t* cr = cairo_create(s);
  cairo_surface_destroy(s);
  return Context(cr, scale);
}

Context::Context(cairo_surface_t* target, Float scale) : Context(cairo_create(target), scale) {}

Context::Context(Context&& o) noexcept : cr_(o.cr_), scale_(o.scale_), states_(std::move(o.states_)) {
  o.cr_ = nullptr;
}

Context& Context::operator=(Context&& o) noexcept {
  if (this != &o) {
    this->~Context();
    new (this) Context(std::move(o));
  }
  return *this;
}

Context::~Context() {
  if (!cr_) return;
  while (!states_.empty()) unwindTop();
  cairo_destroy(cr_);
}

Size Context::size() const { return {pixelWidth() / scale_, pixelHeight() / scale_}; }

int Context::pixelWidth() const {
  cairo_surface_t* s = cairo_get_target(cr_);
  return cairo_surface_get_type(s) == CAIRO_SURFACE_TYPE_IMAGE ? cairo_image_surface_get_width(s) : 0;
}

int Context::pixelHeight() const {
  cairo_surface_t* s = cairo_get_target(cr_);
  return cairo_surface_get_type(s) == CAIRO_SURFACE_TYPE_IMAGE ? cairo_image_surface_get_height(s) : 0;
}

std::shared_ptr<Image> Context::makeImage() {
  // Drawing still pending inside mask groups or layers is not in the target yet.
  return Image::copyOfSurface(cairo_get_target(cr_), scale_);
}

bool Context::shiftPixels(int x, int y, int width, int height, int dx, int dy) {
  cairo_surface_t* s = cairo_get_target(cr_);
  if (cairo_surface_get_type(s) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(s) != CAIRO_FORMAT_ARGB32)
    return false;
  int sw = cairo_image_surface_get_width(s), sh = cairo_image_surface_get_height(s);
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + width, sw), y1 = std::min(y + height, sh);
  // The part whose source is inside the rect too.
  int cx0 = std::max(x0, x0 - dx), cx1 = std::min(x1, x1 - dx);
  int cy0 = std::max(y0, y0 - dy), cy1 = std::min(y1, y1 - dy);
  if (cx0 >= cx1 || cy0 >= cy1) return true;
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  std::size_t bytes = std::size_t(cx1 - cx0) * 4;
  auto row = [&](int r) { std::memmove(data + r * stride + cx0 * 4, data + (r + dy) * stride + (cx0 + dx) * 4, bytes); };
  // Rows are copied in the order that reads each source before it is overwritten.
  if (dy > 0) for (int r = cy0; r < cy1; ++r) row(r);
  else for (int r = cy1 - 1; r >= cy0; --r) row(r);
  cairo_surface_mark_dirty_rectangle(s, cx0, cy0, cx1 - cx0, cy1 - cy0);
  return true;
}

void Context::clipToPixelRect(int x, int y, int width, int height) {
  cairo_save(cr_);
  cairo_identity_matrix(cr_);
  cairo_new_path(cr_);
  cairo_rectangle(cr_, x, y, width, height);
  cairo_restore(cr_);  // the path stays, in device space
  cairo_clip(cr_);
}

// --- graphics state -------------------------------------------------------------

void Context::save() {
  cairo_save(cr_);
  State s = states_.back();
  s.pending.clear();
  s.isLayer = false;
  states_.push_back(std::move(s));
}

void Context::unwindTop() {
  State& top = states_.back();
  // Close this state's mask groups, innermost first: each group holds what was
  // drawn under the mask and replaces the destination in proportion to it.
  for (auto it = top.pending.rbegin(); it != top.pending.rend(); ++it) {
    cairo_pop_group_to_source(cr_);
    cairo_save(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    cairo_mask(cr_, it->mask);
    cairo_restore(cr_);
    cairo_pattern_destroy(it->mask);
  }
  top.pending.clear();
  if (top.isLayer) {
    cairo_pattern_t* group = cairo_pop_group(cr_);
    State layer = top;
    states_.pop_back();
    // Composite with the state the layer began in.
    State& outer = states_.back();
    Float a = layer.layerAlpha;
    State saved = outer;
    outer.shadowOffset = layer.layerShadowOffset;
    outer.shadowBlur = layer.layerShadowBlur;
    outer.shadowColor = layer.layerShadowColor;
    cairo_save(cr_);
    cairo_set_operator(cr_, toCairo(layer.layerBlend));
    paint([&](cairo_t* c) {
      cairo_set_source(c, group);
      cairo_paint_with_alpha(c, a);
    });
    cairo_restore(cr_);
    outer.shadowOffset = saved.shadowOffset;
    outer.shadowBlur = saved.shadowBlur;
    outer.shadowColor = saved.shadowColor;
    cairo_pattern_destroy(group);
    return;
  }
  states_.pop_back();
  if (!states_.empty()) cairo_restore(cr_);
}

void Context::restore() {
  if (states_.size() <= 1) {
    ns::log("ERROR - graphics state restored without a matching save");
    return;
  }
  if (states_.back().isLayer) {
    ns::log("ERROR - graphics state restored inside a transparency layer");
    return;
  }
  unwindTop();
}

int Context::saveDepth() const { return int(states_.size()) - 1; }

// --- transforms -----------------------------------------------------------------

// cairo stops drawing for good after a singular or non-finite matrix, so
// those are ignored here.
void Context::translate(Float tx, Float ty) { concatCTM(AffineTransform::translation(tx, ty)); }
void Context::scaleBy(Float sx, Float sy) { concatCTM(AffineTransform::scaling(sx, sy)); }
void Context::rotate(Float angle) { concatCTM(AffineTransform::rotation(angle)); }

void Context::concatCTM(const AffineTransform& t) {
  Float det = t.determinant();
  if (det == 0 || !std::isfinite(det) || !std::isfinite(t.tx) || !std::isfinite(t.ty)) return;
  cairo_matrix_t m = toCairo(t);
  cairo_transform(cr_, &m);
}

AffineTransform Context::ctm() const {
  cairo_matrix_t m;
  cairo_get_matrix(cr_, &m);
  Float k = 1 / scale_;
  return {Float(m.xx * k), Float(m.yx * k), Float(m.xy * k), Float(m.yy * k), Float(m.x0 * k), Float(m.y0 * k)};
}

// --- clipping ---------------------------------------------------------------------

void Context::clipToRect(const Rect& r) {
  cairo_new_path(cr_);
  cairo_rectangle(cr_, r.x(), r.y(), r.width(), r.height());
  cairo_clip(cr_);
}

void Context::clip(FillRule rule) {
  cairo_fill_rule_t before = cairo_get_fill_rule(cr_);
  cairo_set_fill_rule(cr_, rule == FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
  cairo_clip(cr_);
  cairo_set_fill_rule(cr_, before);
}

void Context::clipToMask(const Rect& rect, const Image& mask) {
  if (rect.isEmpty()) {
    clipToRect(Rect());
    return;
  }
  cairo_pattern_t* m = surfacePattern(cr_, mask.surface(), rect, Rect(0, 0, mask.width(), mask.height()));
  cairo_surface_t* below = cairo_get_group_target(cr_);
  cairo_push_group(cr_);
  // The group starts as a copy of the destination, so every blend mode
  // works against the real pixels; restore blends it back through the mask.
  cairo_save(cr_);
  cairo_identity_matrix(cr_);
  cairo_set_source_surface(cr_, below, 0, 0);
  cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr_);
  cairo_restore(cr_);
  states_.back().pending.push_back({m});
}

Rect Context::clipBoundingBox() const { return extents(cairo_clip_extents); }

bool Context::castsShadow() const { return states_.back().shadowColor.a > 0; }

// --- state values -------------------------------------------------------------------

void Context::setFillColor(const Color& c) { states_.back().fill = c; }
void Context::setStrokeColor(const Color& c) { states_.back().stroke = c; }
Color Context::fillColor() const { return states_.back().fill; }
Color Context::strokeColor() const { return states_.back().stroke; }
void Context::setLineWidth(Float w) { cairo_set_line_width(cr_, std::max<Float>(w, 0)); }

void Context::setLineCap(LineCap cap) {
  cairo_set_line_cap(cr_, cap == LineCap::Round    ? CAIRO_LINE_CAP_ROUND
                          : cap == LineCap::Square ? CAIRO_LINE_CAP_SQUARE
                                                   : CAIRO_LINE_CAP_BUTT);
}

void Context::setLineJoin(LineJoin join) {
  cairo_set_line_join(cr_, join == LineJoin::Round   ? CAIRO_LINE_JOIN_ROUND
                           : join == LineJoin::Bevel ? CAIRO_LINE_JOIN_BEVEL
                                                     : CAIRO_LINE_JOIN_MITER);
}

void Context::setMiterLimit(Float limit) { cairo_set_miter_limit(cr_, limit); }

void Context::setLineDash(Float phase, const std::vector<Float>& lengths) {
  std::vector<double> d(lengths.begin(), lengths.end());
  bool valid = std::all_of(d.begin(), d.end(), [](double v) { return v >= 0; }) &&
               std::any_of(d.begin(), d.end(), [](double v) { return v > 0; });
  cairo_set_dash(cr_, valid ? d.data() : nullptr, valid ? int(d.size()) : 0, phase);
}

void Context::setBlendMode(BlendMode mode) {
  states_.back().blend = mode;
  cairo_set_operator(cr_, toCairo(mode));
}

BlendMode Context::blendMode() const { return states_.back().blend; }
void Context::setAlpha(Float alpha) { states_.back().alpha = std::clamp<Float>(alpha, 0, 1); }
Float Context::alpha() const { return states_.back().alpha; }

void Context::setShouldAntialias(bool on) {
  cairo_set_antialias(cr_, on ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void Context::setShadow(Size offset, Float blur, const Color& color) {
  State& s = states_.back();
  s.shadowOffset = offset;
  s.shadowBlur = std::max<Float>(blur, 0);
  s.shadowColor = color;
}

void Context::setShadow(Size offset, Float blur) { setShadow(offset, blur, Color(0, 0, 0, Float(1) / 3)); }
void Context::clearShadow() { setShadow({}, 0, Color::clear()); }

// --- paths ------------------------------------------------------------------------------

void Context::beginPath() { cairo_new_path(cr_); }
void Context::moveTo(Point p) { cairo_move_to(cr_, p.x, p.y); }

void Context::lineTo(Point p) {
  if (cairo_has_current_point(cr_)) cairo_line_to(cr_, p.x, p.y);
  else cairo_move_to(cr_, p.x, p.y);
}

void Context::curveTo(Point c1, Point c2, Point end) {
  if (!cairo_has_current_point(cr_)) cairo_move_to(cr_, c1.x, c1.y);
  cairo_curve_to(cr_, c1.x, c1.y, c2.x, c2.y, end.x, end.y);
}

void Context::quadCurveTo(Point c, Point end) {
  if (!cairo_has_current_point(cr_)) cairo_move_to(cr_, c.x, c.y);
  double x0, y0;
  cairo_get_current_point(cr_, &x0, &y0);
  // The cubic with the same curve: control points two thirds towards c.
  cairo_curve_to(cr_, x0 + 2.0 / 3 * (c.x - x0), y0 + 2.0 / 3 * (c.y - y0),
                 end.x + 2.0 / 3 * (c.x - end.x), end.y + 2.0 / 3 * (c.y - end.y), end.x, end.y);
}

void Context::arc(Point center, Float radius, Float startAngle, Float endAngle, bool clockwise) {
  if (radius < 0) return;
  if (clockwise) cairo_arc(cr_, center.x, center.y, radius, startAngle, endAngle);
  else cairo_arc_negative(cr_, center.x, center.y, radius, startAngle, endAngle);
}

void Context::arcToPoint(Point p1, Point p2, Float radius) {
  if (!cairo_has_current_point(cr_)) {
    cairo_move_to(cr_, p1.x, p1.y);
    return;
  }
  double x0, y0;
  cairo_get_current_point(cr_, &x0, &y0);
  // Unit vectors from the corner p1 back to the current point and on to p2.
  double ux = x0 - p1.x, uy = y0 - p1.y, vx = p2.x - p1.x, vy = p2.y - p1.y;
  double lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
  double cross = ux * vy - uy * vx;
  if (radius <= 0 || lu == 0 || lv == 0 || std::abs(cross) < 1e-9 * lu * lv) {
    cairo_line_to(cr_, p1.x, p1.y);  // no corner to round
    return;
  }
  ux /= lu; uy /= lu; vx /= lv; vy /= lv;
  double cosTheta = std::clamp(ux * vx + uy * vy, -1.0, 1.0);
  double theta = std::acos(cosTheta);              // the corner's angle
  double tangent = radius / std::tan(theta / 2);   // corner to each tangent point
  double bisector = radius / std::sin(theta / 2);  // corner to the centre
  double t1x = p1.x + ux * tangent, t1y = p1.y + uy * tangent;
  double t2x = p1.x + vx * tangent, t2y = p1.y + vy * tangent;
  double bx = ux + vx, by = uy + vy, lb = std::hypot(bx, by);
  double cx = p1.x + bx / lb * bisector, cy = p1.y + by / lb * bisector;
  double a1 = std::atan2(t1y - cy, t1x - cx), a2 = std::atan2(t2y - cy, t2x - cx);
  cairo_line_to(cr_, t1x, t1y);
  // Turning from u towards v: cross < 0 means the path bends with increasing angle.
  if (cross < 0) cairo_arc(cr_, cx, cy, radius, a1, a2);
  else cairo_arc_negative(cr_, cx, cy, radius, a1, a2);
}

void Context::closePath() { cairo_close_path(cr_); }

void Context::addRect(const Rect& r) { cairo_rectangle(cr_, r.x(), r.y(), r.width(), r.height()); }

void Context::addRoundedRect(const Rect& r, Float radius) {
  Float k = std::clamp<Float>(radius, 0, std::min(std::abs(r.width()), std::abs(r.height())) / 2);
  if (k <= 0) {
    addRect(r);
    return;
  }
  Float x0 = r.minX(), y0 = r.minY(), x1 = r.maxX(), y1 = r.maxY();
  constexpr double pi = 3.14159265358979323846;
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, x1 - k, y0 + k, k, -pi / 2, 0);
  cairo_arc(cr_, x1 - k, y1 - k, k, 0, pi / 2);
  cairo_arc(cr_, x0 + k, y1 - k, k, pi / 2, pi);
  cairo_arc(cr_, x0 + k, y0 + k, k, pi, 3 * pi / 2);
  cairo_close_path(cr_);
}

void Context::addEllipseInRect(const Rect& r) {
  if (r.isEmpty()) return;
  constexpr double pi = 3.14159265358979323846;
  cairo_save(cr_);
  cairo_translate(cr_, r.midX(), r.midY());
  cairo_scale(cr_, r.width() / 2, r.height() / 2);
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, 0, 0, 1, 0, 2 * pi);
  cairo_close_path(cr_);
  cairo_restore(cr_);
}

bool Context::isPathEmpty() const {
  cairo_path_t* p = cairo_copy_path(cr_);
  bool empty = p->num_data == 0;
  cairo_path_destroy(p);
  return empty;
}

Point Context::currentPoint() const {
  double x = 0, y = 0;
  cairo_get_current_point(cr_, &x, &y);
  return {Float(x), Float(y)};
}

Rect Context::pathBoundingBox() const { return extents(cairo_path_extents); }

// --- drawing ----------------------------------------------------------------------------

// The device-space box around user-space `r`.
Rect Context::deviceBox(const Rect& r) const {
  double xs[2] = {r.minX(), r.maxX()}, ys[2] = {r.minY(), r.maxY()};
  double x0 = 1e30, y0 = 1e30, x1 = -1e30, y1 = -1e30;
  for (double x : xs) {
    for (double y : ys) {
      double dx = x, dy = y;
      cairo_user_to_device(cr_, &dx, &dy);
      x0 = std::min(x0, dx); x1 = std::max(x1, dx);
      y0 = std::min(y0, dy); y1 = std::max(y1, dy);
    }
  }
  return Rect(Float(x0), Float(y0), Float(x1 - x0), Float(y1 - y0));
}

// Runs one drawing operation on this context, with the state's shadow cast
// first when there is one.
template <class Draw>
void Context::paint(Draw&& draw, const Rect* bounds) {
  if (castsShadow()) castShadow(draw, bounds);
  draw(cr_);
}

// The shadow comes from the shape as drawn without the clip (an inner shadow
// relies on it): the shape is drawn again into a scratch bitmap covering the
// part whose shadow can land inside the clip, and its blurred alpha is painted
// in the shadow colour, offset, under the clip.
void Context::castShadow(const std::function<void(cairo_t*)>& draw, const Rect* bounds) {
  const State& s = states_.back();
  double dx = s.shadowOffset.width * scale_, dy = -s.shadowOffset.height * scale_;
  double margin = 2.0 * s.shadowBlur * scale_ + 2;
  double x0, y0, x1, y1;
  cairo_save(cr_);
  cairo_identity_matrix(cr_);
  cairo_clip_extents(cr_, &x0, &y0, &x1, &y1);
  cairo_restore(cr_);
  x0 -= dx + margin; x1 -= dx - margin;
  y0 -= dy + margin; y1 -= dy - margin;
  if (bounds) {
    Rect box = deviceBox(*bounds).insetBy(Float(-margin), Float(-margin));
    x0 = std::max<double>(x0, box.minX()); x1 = std::min<double>(x1, box.maxX());
    y0 = std::max<double>(y0, box.minY()); y1 = std::min<double>(y1, box.maxY());
  }
  x0 = std::floor(x0); y0 = std::floor(y0);
  x1 = std::ceil(x1); y1 = std::ceil(y1);
  if (x1 <= x0 || y1 <= y0 || x1 - x0 > Image::kMaxSide || y1 - y0 > Image::kMaxSide) return;

  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(x1 - x0), int(y1 - y0));
  cairo_t* t = cairo_create(scratch);
  cairo_matrix_t m;
  cairo_get_matrix(cr_, &m);
  m.x0 -= x0;
  m.y0 -= y0;
  cairo_set_matrix(t, &m);
  cairo_set_line_width(t, cairo_get_line_width(cr_));
  cairo_set_line_cap(t, cairo_get_line_cap(cr_));
  cairo_set_line_join(t, cairo_get_line_join(cr_));
  cairo_set_miter_limit(t, cairo_get_miter_limit(cr_));
  cairo_set_fill_rule(t, cairo_get_fill_rule(cr_));
  cairo_set_antialias(t, cairo_get_antialias(cr_));
  if (int n = cairo_get_dash_count(cr_); n > 0) {
    std::vector<double> dashes(n);
    double offset = 0;
    cairo_get_dash(cr_, dashes.data(), &offset);
    cairo_set_dash(t, dashes.data(), n, offset);
  }
  cairo_path_t* path = cairo_copy_path(cr_);
  cairo_append_path(t, path);
  cairo_path_destroy(path);
  draw(t);
  cairo_destroy(t);

  cairo_surface_t* shadow = blurredAlpha(scratch, s.shadowBlur * scale_);
  cairo_surface_destroy(scratch);
  if (!shadow) return;
  cairo_save(cr_);
  cairo_identity_matrix(cr_);
  setSource(cr_, s.shadowColor, 1);
  cairo_mask_surface(cr_, shadow, x0 + dx, y0 + dy);
  cairo_restore(cr_);
  cairo_surface_destroy(shadow);
}

void Context::drawWithCairo(const std::function<void(cairo_t*)>& draw, const Rect* bounds) {
  const State& s = states_.back();
  paint([&](cairo_t* c) {
    cairo_save(c);
    setSource(c, s.fill, s.alpha);
    draw(c);
    cairo_restore(c);
  }, bounds);
}

Rect Context::extents(void (*measure)(cairo_t*, double*, double*, double*, double*)) const {
  double x0, y0, x1, y1;
  measure(cr_, &x0, &y0, &x1, &y1);
  return Rect(Float(x0), Float(y0), Float(x1 - x0), Float(y1 - y0));
}

void Context::fillPath(FillRule rule) {
  const State& s = states_.back();
  cairo_set_fill_rule(cr_, rule == FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
  bool unbounded = isUnbounded(s.blend);
  Rect bounds = extents(cairo_fill_extents);
  paint([&](cairo_t* c) {
    setSource(c, s.fill, s.alpha);
    if (unbounded) {
      cairo_save(c);
      cairo_clip_preserve(c);
      cairo_paint(c);
      cairo_restore(c);
      cairo_new_path(c);
    } else {
      cairo_fill(c);
    }
  }, &bounds);
  cairo_new_path(cr_);
}

void Context::strokePath() {
  const State& s = states_.back();
  Rect bounds = extents(cairo_stroke_extents);
  paint([&](cairo_t* c) {
    setSource(c, s.stroke, s.alpha);
    cairo_stroke(c);
  }, &bounds);
  cairo_new_path(cr_);
}

// An operation touching the device box: skipped outside the limit, drawn
// as it is inside one of its rects, cut to them otherwise.
template <class F>
void Context::withinPixelLimit(const Rect& box, F&& f) {
  if (pixelLimit_.empty() || states_.back().shadowColor.a > 0) return f();
  bool meets = false;
  for (const Rect& r : pixelLimit_) {
    if (r.contains(box))
      return f();
    meets = meets || r.intersects(box);
  }
  if (!meets) return;
  cairo_save(cr_);
  cairo_save(cr_);
  cairo_identity_matrix(cr_);
  cairo_new_path(cr_);
  for (const Rect& r : pixelLimit_) cairo_rectangle(cr_, r.x(), r.y(), r.width(), r.height());
  cairo_restore(cr_);
  cairo_clip(cr_);
  f();
  cairo_restore(cr_);
}

void Context::fillRect(const Rect& r) {
  cairo_matrix_t m;
  cairo_get_matrix(cr_, &m);
  auto fill = [&] {
    cairo_new_path(cr_);
    addRect(r);
    fillPath();
  };
  if (m.xy == 0 && m.yx == 0) withinPixelLimit(deviceBox(r), fill);
  else fill();
}

void Context::strokeRect(const Rect& r) {
  cairo_new_path(cr_);
  addRect(r);
  strokePath();
}

void Context::clearRect(const Rect& r) {
  cairo_save(cr_);
  cairo_new_path(cr_);
  addRect(r);
  cairo_set_operator(cr_, CAIRO_OPERATOR_CLEAR);
  cairo_fill(cr_);
  cairo_restore(cr_);
}

void Context::fillEllipseInRect(const Rect& r) {
  cairo_new_path(cr_);
  addEllipseInRect(r);
  fillPath();
}

void Context::drawSurface(cairo_surface_t* surface, int pxWidth, int pxHeight, const Rect& rect,
                          const Rect& sourcePx, bool asMask, bool immutable) {
  if (rect.isEmpty() || sourcePx.isEmpty() || pxWidth <= 0 || pxHeight <= 0) return;
  const State& s = states_.back();
  if (immutable && !asMask && s.shadowColor.a <= 0 && s.blend == BlendMode::Normal &&
      drawScaledCopy(surface, rect, sourcePx))
    return;
  // A part of the bitmap is drawn from a view of just that part, so that
  // smoothing at its edges never reaches the pixels around it.
  cairo_surface_t* view = nullptr;
  Rect src = sourcePx;
  if (sourcePx != Rect(0, 0, Float(pxWidth), Float(pxHeight))) {
    Rect whole = sourcePx.integral().intersection(Rect(0, 0, Float(pxWidth), Float(pxHeight)));
    if (whole.isEmpty()) return;
    view = cairo_surface_create_for_rectangle(surface, whole.x(), whole.y(), whole.width(), whole.height());
    src = sourcePx.offsetBy(-whole.x(), -whole.y());
  }
  // Drawing an image leaves the context as it found it: cairo's source and
  // the path being built are put back afterwards, and the image is not kept
  // alive as the source.
  cairo_pattern_t* previousSource = cairo_pattern_reference(cairo_get_source(cr_));
  cairo_path_t* previousPath = cairo_has_current_point(cr_) ? cairo_copy_path(cr_) : nullptr;
  cairo_pattern_t* p = surfacePattern(cr_, view ? view : surface, rect, src);
  // A whole bitmap copied pixel for pixel covers exactly rect by itself.
  bool exact = !view && cairo_pattern_get_filter(p) == CAIRO_FILTER_NEAREST;
  // Edges repeat outward rather than fading into transparency when scaled.
  if (!exact) cairo_pattern_set_extend(p, CAIRO_EXTEND_PAD);
  paint([&](cairo_t* c) {
    if (exact && !asMask && s.alpha >= 1 && !isUnbounded(s.blend)) {
      // The glyph renderer's case: painting the bounded source skips building
      // and filling a path, and cairo composites the bitmap directly.
      cairo_set_source(c, p);
      if (c == cr_) withinPixelLimit(deviceBox(rect), [&] { cairo_paint(c); });
      else cairo_paint(c);
      return;
    }
    cairo_new_path(c);
    cairo_rectangle(c, rect.x(), rect.y(), rect.width(), rect.height());
    if (!asMask && s.alpha >= 1 && !isUnbounded(s.blend)) {
      // The common case, one glyph or picture copied: a plain fill.
      cairo_set_source(c, p);
      cairo_fill(c);
      return;
    }
    cairo_save(c);
    cairo_clip(c);
    if (asMask) {
      setSource(c, s.fill, s.alpha);
      cairo_mask(c, p);
    } else {
      cairo_set_source(c, p);
      cairo_paint_with_alpha(c, s.alpha);
    }
    cairo_restore(c);
  }, &rect);
  cairo_pattern_destroy(p);
  if (view) cairo_surface_destroy(view);
  cairo_set_source(cr_, previousSource);
  cairo_pattern_destroy(previousSource);
  cairo_new_path(cr_);
  if (previousPath) {
    cairo_append_path(cr_, previousPath);
    cairo_path_destroy(previousPath);
  }
}

void Context::beginPicture() { detail::beginScaledCopyPicture(); }

// A bitmap smoothed to another size on an upright device is copied from the
// kept result of smoothing it there (ScaledImageCache.h): the same pixels
// whatever the clip, and no smoothing again. False when it is not such a case.
bool Context::drawScaledCopy(cairo_surface_t* surface, const Rect& rect, const Rect& sourcePx) {
  cairo_matrix_t ctm;
  cairo_get_matrix(cr_, &ctm);
  if (ctm.xy != 0 || ctm.yx != 0 || ctm.xx <= 0 || ctm.yy <= 0) return false;
  Rect device(Float(ctm.xx * rect.x() + ctm.x0), Float(ctm.yy * rect.y() + ctm.y0), Float(ctm.xx * rect.width()),
              Float(ctm.yy * rect.height()));
  auto whole = [](double v) { return std::abs(v - std::round(v)) < 1e-4; };
  bool exact = std::abs(device.width() - sourcePx.width()) < 1e-4 && std::abs(device.height() - sourcePx.height()) < 1e-4 &&
               whole(device.x()) && whole(device.y()) && whole(sourcePx.x()) && whole(sourcePx.y());
  if (exact) return false;  // a plain copy already
  int x = 0, y = 0;
  cairo_surface_t* copy = detail::scaledCopy(surface, sourcePx, device, x, y);
  if (!copy) return false;
  const State& s = states_.back();
  cairo_save(cr_);
  cairo_identity_matrix(cr_);
  cairo_set_source_surface(cr_, copy, x, y);
  Rect box(Float(x), Float(y), Float(cairo_image_surface_get_width(copy)), Float(cairo_image_surface_get_height(copy)));
  withinPixelLimit(box, [&] {
    if (s.alpha >= 1) cairo_paint(cr_);
    else cairo_paint_with_alpha(cr_, s.alpha);
  });
  cairo_restore(cr_);
  cairo_surface_destroy(copy);
  return true;
}

void Context::drawImage(const Image& image, const Rect& rect) {
  drawSurface(image.surface(), image.width(), image.height(), rect,
              Rect(0, 0, Float(image.width()), Float(image.height())), false);
}

void Context::drawImage(const Image& image, const Rect& rect, const Rect& source) {
  Float k = image.scale();
  Rect px(source.x() * k, source.y() * k, source.width() * k, source.height() * k);
  Rect whole(0, 0, Float(image.width()), Float(image.height()));
  drawSurface(image.surface(), image.width(), image.height(), rect, px.intersection(whole), false);
}

void Context::fillMask(const Image& image, const Rect& rect) {
  drawSurface(image.surface(), image.width(), image.height(), rect,
              Rect(0, 0, Float(image.width()), Float(image.height())), true);
}

void Context::drawLayer(const Layer& layer, Point at) { drawLayer(layer, Rect(at, layer.size())); }

void Context::drawLayer(const Layer& layer, const Rect& rect) {
  drawSurface(layer.surface(), layer.pixelWidth(), layer.pixelHeight(), rect,
              Rect(0, 0, Float(layer.pixelWidth()), Float(layer.pixelHeight())), false, false);
}

// --- transparency layers ---------------------------------------------------------------

void Context::beginTransparencyLayer() {
  State outer = states_.back();
  cairo_push_group(cr_);
  State inner = outer;
  inner.pending.clear();
  inner.isLayer = true;
  inner.layerAlpha = outer.alpha;
  inner.layerBlend = outer.blend;
  inner.layerShadowOffset = outer.shadowOffset;
  inner.layerShadowBlur = outer.shadowBlur;
  inner.layerShadowColor = outer.shadowColor;
  // Inside, drawing is plain; the layer gets alpha, blend and shadow once at the end.
  inner.alpha = 1;
  inner.blend = BlendMode::Normal;
  inner.shadowColor = Color::clear();
  cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
  states_.push_back(std::move(inner));
}

void Context::endTransparencyLayer() {
  // Saves made inside the layer and not restored end with it.
  while (states_.size() > 1 && !states_.back().isLayer) unwindTop();
  if (states_.size() <= 1) {
    ns::log("ERROR - transparency layer ended without a beginning");
    return;
  }
  unwindTop();
}

// --- gradients ------------------------------------------------------------------------

void Context::drawLinearGradient(const std::vector<Color>& colors, const std::vector<Float>& locations,
                                 Point start, Point end, unsigned options) {
  if (colors.empty()) return;
  const State& s = states_.back();
  cairo_pattern_t* g = cairo_pattern_create_linear(start.x, start.y, end.x, end.y);
  for (std::size_t i = 0; i < colors.size(); ++i) {
    double at = i < locations.size() ? locations[i]
                : colors.size() == 1 ? 0.0
                                     : double(i) / double(colors.size() - 1);
    const Color& c = colors[i];
    cairo_pattern_add_color_stop_rgba(g, at, c.r, c.g, c.b, c.a * s.alpha);
  }
  cairo_pattern_set_extend(g, CAIRO_EXTEND_PAD);
  paint([&](cairo_t* c) {
    cairo_save(c);
    // Without the options, nothing is painted beyond the ends: clip to the band between them.
    double dx = end.x - start.x, dy = end.y - start.y, len = std::hypot(dx, dy);
    if (len > 0 && (options & (GradientDrawsBeforeStart | GradientDrawsAfterEnd)) !=
                       (GradientDrawsBeforeStart | GradientDrawsAfterEnd)) {
      double far = 1e6;
      double nx = -dy / len * far, ny = dx / len * far;  // along the band
      double ux = dx / len * far, uy = dy / len * far;   // across it
      double bx = (options & GradientDrawsBeforeStart) ? start.x - ux : start.x;
      double by = (options & GradientDrawsBeforeStart) ? start.y - uy : start.y;
      double ex = (options & GradientDrawsAfterEnd) ? end.x + ux : end.x;
      double ey = (options & GradientDrawsAfterEnd) ? end.y + uy : end.y;
      cairo_new_path(c);
      cairo_move_to(c, bx + nx, by + ny);
      cairo_line_to(c, ex + nx, ey + ny);
      cairo_line_to(c, ex - nx, ey - ny);
      cairo_line_to(c, bx - nx, by - ny);
      cairo_close_path(c);
      cairo_clip(c);
    }
    cairo_set_source(c, g);
    cairo_paint(c);
    cairo_restore(c);
  });
  cairo_pattern_destroy(g);
}

}  // namespace cg
