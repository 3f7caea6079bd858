#include "platform/text/TextConfiguration.h"

#include <pango/pangocairo.h>

namespace ui {

cairo_font_options_t* newTextFontOptions() {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  return options;
}

void applyTextConfiguration(PangoContext* context) {
  cairo_font_options_t* options = newTextFontOptions();
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
  pango_cairo_context_set_resolution(context, 72.0);
  pango_context_set_language(context, pango_language_from_string("en"));
  pango_context_set_round_glyph_positions(context, FALSE);
  pango_context_set_matrix(context, nullptr);
}

PangoContext* newConfiguredPangoContext() {
  PangoFontMap* map = pango_cairo_font_map_new();
  PangoContext* context = pango_font_map_create_context(map);
  g_object_unref(map);  // the context holds its own reference
  applyTextConfiguration(context);
  return context;
}

}  // namespace ui
