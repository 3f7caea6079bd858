#include "tools/artwork/Paint.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

namespace artwork {

Colour Colour::shade(double amount) const {
  double t = std::clamp(amount, -1.0, 1.0);
  double target = t > 0 ? 1.0 : 0.0;
  t = std::abs(t);
  return {r + (target - r) * t, g + (target - g) * t, b + (target - b) * t, a};
}

void roundedRect(cairo_t* cr, const Box& b, double radius) {
  double r = std::min({radius, b.w / 2, b.h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, b.right() - r, b.y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, b.right() - r, b.bottom() - r, r, 0, M_PI / 2);
  cairo_arc(cr, b.x + r, b.bottom() - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, b.x + r, b.y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void circle(cairo_t* cr, double cx, double cy, double radius) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
  cairo_close_path(cr);
}

void arrowCapsule(cairo_t* cr, const Box& b, bool pointLeft, double radius) {
  // The point takes a depth of about half the height; the far end is rounded.
  double depth = std::min(b.h * 0.42, b.w / 3);
  double r = std::min(radius, b.h / 2);
  double tipR = 2.2;  // a softened tip
  cairo_save(cr);
  if (!pointLeft) {
    cairo_translate(cr, b.x + b.right(), 0);
    cairo_scale(cr, -1, 1);
  }
  double x0 = b.x, x1 = b.x + depth, x2 = b.right();
  cairo_new_sub_path(cr);
  cairo_move_to(cr, x0 + tipR * 0.7, b.cy() - tipR * 0.7);
  cairo_line_to(cr, x1, b.y + 0.5);
  cairo_line_to(cr, x2 - r, b.y + 0.5);
  cairo_arc(cr, x2 - r, b.y + 0.5 + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x2 - r, b.bottom() - 0.5 - r, r, 0, M_PI / 2);
  cairo_line_to(cr, x1, b.bottom() - 0.5);
  cairo_line_to(cr, x0 + tipR * 0.7, b.cy() + tipR * 0.7);
  cairo_curve_to(cr, x0, b.cy() + 0.3, x0, b.cy() - 0.3, x0 + tipR * 0.7, b.cy() - tipR * 0.7);
  cairo_close_path(cr);
  cairo_restore(cr);
}

void setColour(cairo_t* cr, const Colour& c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void fill(cairo_t* cr, const Colour& c) {
  setColour(cr, c);
  cairo_fill(cr);
}

void stroke(cairo_t* cr, const Colour& c, double width) {
  setColour(cr, c);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

void fillVertical(cairo_t* cr, const Box& b, const Colour& top, const Colour& bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, b.y, 0, b.bottom());
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void buttonFace(cairo_t* cr, const Box& b, const Colour& base, bool pressed) {
  cairo_path_t* shape = cairo_copy_path(cr);
  Colour face = pressed ? base.shade(-0.22) : base;
  // A quiet gradient: lighter at the top, the base at the bottom.
  fillVertical(cr, b, face.shade(pressed ? 0.04 : 0.14), face.shade(pressed ? 0.08 : -0.04));
  // A light line inside the top edge, the hairline edge around.
  cairo_save(cr);
  cairo_append_path(cr, shape);
  cairo_clip(cr);
  cairo_append_path(cr, shape);
  cairo_translate(cr, 0, 1);
  cairo_set_line_width(cr, 1);
  setColour(cr, palette::white.withAlpha(pressed ? 0.06 : 0.22));
  cairo_stroke(cr);
  cairo_restore(cr);
  cairo_append_path(cr, shape);
  setColour(cr, face.shade(-0.35).withAlpha(0.9));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_path_destroy(shape);
}

void bar(Canvas& c, const Colour& top, const Colour& bottom, const Colour& edge) {
  cairo_rectangle(c.cr, 0, 0, c.w, c.h);
  fillVertical(c.cr, c.bounds(), top, bottom);
  cairo_rectangle(c.cr, 0, 0, c.w, 1);
  fill(c.cr, palette::white.withAlpha(0.25));
  cairo_rectangle(c.cr, 0, c.h - 1, c.w, 1);
  fill(c.cr, edge);
}

void chevron(cairo_t* cr, double cx, double cy, double half, Direction d, const Colour& c, double width) {
  double a = half, b = half * 0.55;
  switch (d) {
    case Direction::left:
      cairo_move_to(cr, cx + b, cy - a); cairo_line_to(cr, cx - b, cy); cairo_line_to(cr, cx + b, cy + a);
      break;
    case Direction::right:
      cairo_move_to(cr, cx - b, cy - a); cairo_line_to(cr, cx + b, cy); cairo_line_to(cr, cx - b, cy + a);
      break;
    case Direction::up:
      cairo_move_to(cr, cx - a, cy + b); cairo_line_to(cr, cx, cy - b); cairo_line_to(cr, cx + a, cy + b);
      break;
    case Direction::down:
      cairo_move_to(cr, cx - a, cy - b); cairo_line_to(cr, cx, cy + b); cairo_line_to(cr, cx + a, cy - b);
      break;
  }
  stroke(cr, c, width);
}

void triangle(cairo_t* cr, const Box& b, Direction d, const Colour& c) {
  switch (d) {
    case Direction::left:
      cairo_move_to(cr, b.right(), b.y); cairo_line_to(cr, b.x, b.cy()); cairo_line_to(cr, b.right(), b.bottom());
      break;
    case Direction::right:
      cairo_move_to(cr, b.x, b.y); cairo_line_to(cr, b.right(), b.cy()); cairo_line_to(cr, b.x, b.bottom());
      break;
    case Direction::up:
      cairo_move_to(cr, b.x, b.bottom()); cairo_line_to(cr, b.cx(), b.y); cairo_line_to(cr, b.right(), b.bottom());
      break;
    case Direction::down:
      cairo_move_to(cr, b.x, b.y); cairo_line_to(cr, b.cx(), b.bottom()); cairo_line_to(cr, b.right(), b.y);
      break;
  }
  cairo_close_path(cr);
  fill(cr, c);
}

namespace {

PangoLayout* makeLayout(cairo_t* cr, const std::string& s, const TextStyle& style) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* desc = pango_font_description_new();
  pango_font_description_set_family(desc, style.family.c_str());
  pango_font_description_set_absolute_size(desc, style.size * PANGO_SCALE);
  pango_font_description_set_weight(desc, style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_layout_set_font_description(layout, desc);
  pango_font_description_free(desc);
  pango_layout_set_text(layout, s.c_str(), -1);
  return layout;
}

}  // namespace

void measureText(cairo_t* cr, const std::string& s, const TextStyle& style, double* width, double* height) {
  PangoLayout* layout = makeLayout(cr, s, style);
  PangoRectangle ink, logical;
  pango_layout_get_extents(layout, &ink, &logical);
  if (width) *width = double(ink.width) / PANGO_SCALE;
  if (height) *height = double(ink.height) / PANGO_SCALE;
  g_object_unref(layout);
}

double text(cairo_t* cr, const std::string& s, const Box& b, const TextStyle& style) {
  PangoLayout* layout = makeLayout(cr, s, style);
  PangoRectangle ink, logical;
  pango_layout_get_extents(layout, &ink, &logical);
  double iw = double(ink.width) / PANGO_SCALE, ih = double(ink.height) / PANGO_SCALE;
  double ix = double(ink.x) / PANGO_SCALE, iy = double(ink.y) / PANGO_SCALE;
  double x = style.align == Align::left    ? b.x - ix
             : style.align == Align::right ? b.right() - iw - ix
                                           : b.cx() - iw / 2 - ix;
  double y = b.cy() - ih / 2 - iy;  // ink centred: digits and Arabic sit in the middle
  cairo_move_to(cr, x, y);
  setColour(cr, style.colour);
  pango_cairo_show_layout(cr, layout);
  cairo_new_path(cr);
  g_object_unref(layout);
  return iw;
}

}  // namespace artwork
