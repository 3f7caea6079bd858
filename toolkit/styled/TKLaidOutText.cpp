#include "toolkit/styled/TKLaidOutText.h"

#include <pango/pangocairo.h>

#include <algorithm>

#include "platform/foundation/String.h"
#include "platform/graphics/Context.h"
#include "platform/text/TextConfiguration.h"
#include "platform/text/TextMeasure.h"

namespace {

// The toolkit's own context, with the platform's one text set-up: the main
// thread keeps layouts on it without taking the measurer's lock.
PangoContext* context() {
  static PangoContext* c = ui::newConfiguredPangoContext();
  return c;
}

void setUp(PangoLayout* layout, const std::string& text, const ui::Font& font, float wrapWidth) {
  pango_layout_set_font_description(layout, font.pangoDescription());
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_width(layout, wrapWidth > 0 ? static_cast<int>(wrapWidth * PANGO_SCALE) : -1);
  pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
}

cg::Rect logicalBox(PangoLayout* layout) {
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  return cg::Rect(float(logical.x) / PANGO_SCALE, float(logical.y) / PANGO_SCALE, float(logical.width) / PANGO_SCALE,
                  float(logical.height) / PANGO_SCALE);
}

}  // namespace

std::string TKLaidOutText::settable(std::string_view text) {
  // Checked by glib first: most text is valid, and decoding it again costs.
  bool fine = g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr);
  std::string valid = fine ? std::string(text) : ns::sanitizeUtf8(text);
  if (valid.find('\0') != std::string::npos) std::erase(valid, '\0');
  return valid;
}

TKLaidOutText::TKLaidOutText(std::string_view text, const ui::Font& font, float wrapWidth)
    : text_(settable(text)), layout_(pango_layout_new(context())), wrapWidth_(std::max(wrapWidth, 0.0f)) {
  setUp(layout_, text_, font, wrapWidth_);
  bounds_ = text_.empty() ? cg::Rect() : logicalBox(layout_);
}

TKLaidOutText::~TKLaidOutText() { g_object_unref(layout_); }

int TKLaidOutText::lineCount() const { return pango_layout_get_line_count(layout_); }

std::vector<std::size_t> TKLaidOutText::lineStarts() const {
  std::vector<std::size_t> starts;
  for (GSList* l = pango_layout_get_lines_readonly(layout_); l; l = l->next)
    starts.push_back(static_cast<std::size_t>(static_cast<PangoLayoutLine*>(l->data)->start_index));
  return starts;
}

void TKLaidOutText::drawAtPoint(cg::Context& ctx, cg::Point point, const cg::Color& color) const {
  if (text_.empty()) return;
  cairo_t* cr = ctx.cairo();
  cairo_save(cr);
  cairo_set_source_rgba(cr, color.r, color.g, color.b, color.a * ctx.alpha());
  cairo_move_to(cr, point.x - bounds_.x(), point.y - bounds_.y());
  pango_cairo_show_layout(cr, layout_);
  cairo_restore(cr);
}

cg::Size TKLaidOutText::measure(std::string_view text, const ui::Font& font, float wrapWidth) {
  static PangoLayout* scratch = pango_layout_new(context());
  std::string valid = settable(text);
  if (valid.empty()) return {};
  setUp(scratch, valid, font, wrapWidth);
  return logicalBox(scratch).size;
}

bool TKLaidOutText::measuresWithPango() { return dynamic_cast<ui::PangoMeasurer*>(&ui::currentMeasurer()) != nullptr; }
