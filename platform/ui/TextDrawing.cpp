#include "platform/ui/TextDrawing.h"

#include <pango/pangocairo.h>

#include <mutex>
#include <string>

#include "platform/graphics/Context.h"
#include "platform/text/PangoShared.h"

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

LaidOutText::LaidOutText(TextLayoutSpec spec) : spec_(std::move(spec)) {
  std::string valid = validUtf8(spec_.text);
  float width = spec_.width;
  std::lock_guard<std::mutex> lock(detail::pangoMutex());
  PangoLayout* layout = pango_layout_new(detail::sharedPangoContext());
  pango_layout_set_font_description(layout, spec_.font.pangoDescription());
  pango_layout_set_text(layout, valid.data(), static_cast<int>(valid.size()));
  PangoWrapMode wrap = spec_.mode == LineBreakMode::CharacterWrap ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR;
  if (width > 0) {
    pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
    setLayoutAlignment(layout, spec_.alignment);
    if (spec_.lines > 1) {
      // Several lines: wrapped, the last one cut as the mode says.
      pango_layout_set_wrap(layout, wrap);
      pango_layout_set_height(layout, -spec_.lines);
      pango_layout_set_ellipsize(layout, ellipsis(spec_.mode));
    } else if (spec_.wrapping) {
      pango_layout_set_wrap(layout, wrap);
    } else {
      // A line that fits is never shortened: a width measured elsewhere (a
      // label sized to its text) may differ from this layout's by a fraction.
      pango_layout_set_width(layout, -1);
      PangoRectangle natural;
      pango_layout_get_extents(layout, nullptr, &natural);
      fits_ = natural.width <= static_cast<int>((width + 1) * PANGO_SCALE);
      if (!fits_ && ellipsis(spec_.mode) != PANGO_ELLIPSIZE_NONE) {
        pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
        pango_layout_set_ellipsize(layout, ellipsis(spec_.mode));
      }
    }
  }
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  size_ = {static_cast<float>(logical.width) / PANGO_SCALE, static_cast<float>(logical.height) / PANGO_SCALE};
  // A single line laid out at its own width is placed by the alignment here.
  if (width > 0 && !spec_.wrapping && spec_.lines <= 1 && (fits_ || ellipsis(spec_.mode) == PANGO_ELLIPSIZE_NONE)) {
    if (spec_.alignment == TextAlignment::Center) dx_ = (width - size_.width) / 2;
    if (spec_.alignment == TextAlignment::Right) dx_ = width - size_.width;
  }
  layout_ = layout;
}

LaidOutText::~LaidOutText() {
  std::lock_guard<std::mutex> lock(detail::pangoMutex());
  g_object_unref(layout_);
}

cg::Size LaidOutText::draw(cg::Context& context, cg::Point origin, float height, const cg::Color& color) const {
  cairo_t* cr = context.cairo();
  context.save();
  if (spec_.width > 0 && height > 0)
    context.clipToRect(cg::Rect(origin.x, origin.y, spec_.width + (fits_ ? 1 : 0), height));
  cairo_set_source_rgba(cr, color.r, color.g, color.b, color.a * context.alpha());
  cairo_move_to(cr, origin.x + dx_, origin.y);
  {
    std::lock_guard<std::mutex> lock(detail::pangoMutex());
    pango_cairo_show_layout(cr, layout_);
  }
  context.restore();
  return size_;
}

cg::Size drawTextInRect(cg::Context& context, std::string_view text, const cg::Rect& rect,
                        const Font& font, const cg::Color& color, TextAlignment alignment,
                        LineBreakMode mode) {
  bool wrapping = mode == LineBreakMode::WordWrap || mode == LineBreakMode::CharacterWrap;
  LaidOutText laid({std::string(text), font, rect.width(), alignment, mode, wrapping, 0});
  return laid.draw(context, rect.origin, rect.height(), color);
}

TextLayoutSpec textLinesSpec(std::string_view text, float width, const Font& font, TextAlignment alignment,
                             LineBreakMode mode, int numberOfLines) {
  bool wraps = mode == LineBreakMode::WordWrap || mode == LineBreakMode::CharacterWrap;
  // One line: cut or truncated as the mode says, never wrapped.
  if (numberOfLines == 1) return {std::string(text), font, width, alignment, wraps ? LineBreakMode::Clip : mode, false, 0};
  // Unlimited lines wrap; a truncating mode still wraps, cut only by the rect.
  if (numberOfLines <= 0)
    return {std::string(text), font, width, alignment, wraps ? mode : LineBreakMode::WordWrap, true, 0};
  return {std::string(text), font, width, alignment, mode, true, numberOfLines};
}

cg::Size drawTextLinesInRect(cg::Context& context, std::string_view text, const cg::Rect& rect,
                             const Font& font, const cg::Color& color, TextAlignment alignment,
                             LineBreakMode mode, int numberOfLines) {
  LaidOutText laid(textLinesSpec(text, rect.width(), font, alignment, mode, numberOfLines));
  return laid.draw(context, rect.origin, rect.height(), color);
}

cg::Size drawTextAtPoint(cg::Context& context, std::string_view text, cg::Point point,
                         const Font& font, const cg::Color& color) {
  LaidOutText laid({std::string(text), font, 0, TextAlignment::Left, LineBreakMode::Clip, false, 0});
  return laid.draw(context, point, 0, color);
}

}  // namespace ui
