#include "platform/ui/TextDrawing.h"

#include <pango/pangocairo.h>

#include <string>

#include "platform/graphics/Context.h"

namespace ui {

namespace {

// Invalid UTF-8 would make pango refuse the whole text; replace bad bytes.
// Each scan resumes after the byte just replaced, so the work stays linear.
std::string validUtf8(std::string_view text) {
  std::string s(text);
  const char* end = nullptr;
  size_t from = 0;
  while (!g_utf8_validate(s.data() + from, static_cast<gssize>(s.size() - from), &end)) {
    size_t bad = static_cast<size_t>(end - s.data());
    s[bad] = '?';
    from = bad + 1;
  }
  return s;
}

PangoEllipsizeMode ellipsis(LineBreakMode mode) {
  switch (mode) {
    case LineBreakMode::TruncateHead: return PANGO_ELLIPSIZE_START;
    case LineBreakMode::TruncateMiddle: return PANGO_ELLIPSIZE_MIDDLE;
    case LineBreakMode::TruncateTail: return PANGO_ELLIPSIZE_END;
    default: return PANGO_ELLIPSIZE_NONE;
  }
}

// Lays the text out on the context's cairo, draws it at origin and returns its size.
cg::Size showText(cg::Context& context, std::string_view text, cg::Point origin, float width,
                  float height, const Font& font, const cg::Color& color, TextAlignment alignment,
                  LineBreakMode mode, bool wrapping, int lines = 0) {
  cairo_t* cr = context.cairo();
  PangoLayout* layout = pango_cairo_create_layout(cr);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
  cairo_font_options_destroy(options);
  pango_layout_context_changed(layout);

  std::string valid = validUtf8(text);
  bool fits = false;
  pango_layout_set_font_description(layout, font.pangoDescription());
  pango_layout_set_text(layout, valid.data(), static_cast<int>(valid.size()));
  if (width > 0) {
    pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
    setLayoutAlignment(layout, alignment);
    if (lines > 1) {
      // Several lines: wrapped, the last one cut as the mode says.
      pango_layout_set_wrap(layout, mode == LineBreakMode::CharacterWrap ? PANGO_WRAP_CHAR
                                                                         : PANGO_WRAP_WORD_CHAR);
      pango_layout_set_height(layout, -lines);
      pango_layout_set_ellipsize(layout, ellipsis(mode));
    } else if (wrapping) {
      pango_layout_set_wrap(layout, mode == LineBreakMode::CharacterWrap ? PANGO_WRAP_CHAR
                                                                         : PANGO_WRAP_WORD_CHAR);
    } else {
      // A line that fits is never shortened: a width measured elsewhere (a
      // label sized to its text) may differ from this layout's by a fraction.
      pango_layout_set_width(layout, -1);
      PangoRectangle natural;
      pango_layout_get_extents(layout, nullptr, &natural);
      fits = natural.width <= static_cast<int>((width + 1) * PANGO_SCALE);
      if (!fits && ellipsis(mode) != PANGO_ELLIPSIZE_NONE) {
        pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
        pango_layout_set_ellipsize(layout, ellipsis(mode));
      }
    }
  }
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  cg::Size size{static_cast<float>(logical.width) / PANGO_SCALE,
                static_cast<float>(logical.height) / PANGO_SCALE};

  context.save();
  if (width > 0 && height > 0) context.clipToRect(cg::Rect(origin.x, origin.y, width + (fits ? 1 : 0), height));
  // A single line laid out at its own width is placed by the alignment here.
  float dx = 0;
  if (width > 0 && !wrapping && lines <= 1 && (fits || ellipsis(mode) == PANGO_ELLIPSIZE_NONE)) {
    if (alignment == TextAlignment::Center) dx = (width - size.width) / 2;
    if (alignment == TextAlignment::Right) dx = width - size.width;
  }
  cairo_set_source_rgba(cr, color.r, color.g, color.b, color.a * context.alpha());
  cairo_move_to(cr, origin.x + dx, origin.y);
  pango_cairo_show_layout(cr, layout);
  context.restore();
  g_object_unref(layout);
  return size;
}

}  // namespace

// Pango mirrors the alignment of a right-to-left paragraph; the platform's
// left and right are the screen's, so a right-to-left text gets them swapped
// back.
void setLayoutAlignment(PangoLayout* layout, TextAlignment alignment) {
  if (alignment == TextAlignment::Natural) {  // pango sets each paragraph at its own start
    pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
    return;
  }
  PangoLayoutLine* first = pango_layout_get_line_readonly(layout, 0);
  bool rtl = first && first->resolved_dir == PANGO_DIRECTION_RTL;
  PangoAlignment a = PANGO_ALIGN_LEFT;
  if (alignment == TextAlignment::Center) a = PANGO_ALIGN_CENTER;
  if (alignment == TextAlignment::Right) a = rtl ? PANGO_ALIGN_LEFT : PANGO_ALIGN_RIGHT;
  if (alignment == TextAlignment::Left && rtl) a = PANGO_ALIGN_RIGHT;
  pango_layout_set_alignment(layout, a);
}

cg::Size drawTextInRect(cg::Context& context, std::string_view text, const cg::Rect& rect,
                        const Font& font, const cg::Color& color, TextAlignment alignment,
                        LineBreakMode mode) {
  bool wrapping = mode == LineBreakMode::WordWrap || mode == LineBreakMode::CharacterWrap;
  return showText(context, text, rect.origin, rect.width(), rect.height(), font, color, alignment,
                  mode, wrapping);
}

cg::Size drawTextLinesInRect(cg::Context& context, std::string_view text, const cg::Rect& rect,
                             const Font& font, const cg::Color& color, TextAlignment alignment,
                             LineBreakMode mode, int numberOfLines) {
  if (numberOfLines == 1) return drawTextInRect(context, text, rect, font, color, alignment,
                                                mode == LineBreakMode::WordWrap ||
                                                        mode == LineBreakMode::CharacterWrap
                                                    ? LineBreakMode::Clip
                                                    : mode);
  if (numberOfLines <= 0) {
    // Unlimited lines wrap; a truncating mode still wraps, cut only by the rect.
    bool wraps = mode == LineBreakMode::WordWrap || mode == LineBreakMode::CharacterWrap;
    return showText(context, text, rect.origin, rect.width(), rect.height(), font, color, alignment,
                    wraps ? mode : LineBreakMode::WordWrap, true);
  }
  return showText(context, text, rect.origin, rect.width(), rect.height(), font, color, alignment,
                  mode, true, numberOfLines);
}

cg::Size drawTextAtPoint(cg::Context& context, std::string_view text, cg::Point point,
                         const Font& font, const cg::Color& color) {
  return showText(context, text, point, 0, 0, font, color, TextAlignment::Left,
                  LineBreakMode::Clip, false);
}

}  // namespace ui
