#pragma once
// The one set-up every text of the platform is measured and drawn with, so
// that what is drawn takes exactly the room that was measured: outlines and
// metrics unhinted, glyph positions unrounded, 72 dots an inch (1 pt = 1 px
// at scale 1), English for text that names no language. Layouts are made on
// a context of their own, never from a drawing's cairo context: a text laid
// out once is drawn under any transform (a turn, a stretch, scale 2) with the
// metrics it was measured with, and the font map keeps one set of fonts
// whatever the transforms are.
typedef struct _PangoContext PangoContext;
typedef struct _cairo_font_options cairo_font_options_t;

namespace ui {

// Applies the set-up to a pango context made on a pango-cairo font map.
void applyTextConfiguration(PangoContext* context);
// The font options of the set-up; the caller destroys them.
cairo_font_options_t* newTextFontOptions();
// A new context with the set-up, on a font map of its own; the caller owns it.
PangoContext* newConfiguredPangoContext();

}  // namespace ui
