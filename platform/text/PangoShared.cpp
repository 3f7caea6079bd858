#include "platform/text/PangoShared.h"

#include <pango/pangocairo.h>

namespace ui::detail {

std::mutex& pangoMutex() {
  static std::mutex m;
  return m;
}

PangoContext* newPangoContext() {
  PangoFontMap* map = pango_cairo_font_map_new();
  PangoContext* ctx = pango_font_map_create_context(map);
  g_object_unref(map);  // the context holds its own reference
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  pango_cairo_context_set_font_options(ctx, options);
  cairo_font_options_destroy(options);
  pango_cairo_context_set_resolution(ctx, 72.0);
  pango_context_set_language(ctx, pango_language_from_string("en"));
  pango_context_set_round_glyph_positions(ctx, FALSE);
  return ctx;
}

PangoContext* sharedPangoContext() {
  // Created once and kept for the life of the process.
  static PangoContext* context = newPangoContext();
  return context;
}

PangoLayout* sharedPangoLayout() {
  static PangoLayout* layout = pango_layout_new(sharedPangoContext());
  return layout;
}

}  // namespace ui::detail

// Fontconfig keeps its configuration for the life of the process and drops
// its last pointers to parts of it; the leak checker of sanitizer builds is
// told so, for every program that measures or draws text through this layer.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
