#pragma once
// Drawing text into a context with pango, laid out the way the text layer
// measures it (the same unhinted metrics), so measured sizes and drawn text
// agree.
#include <string_view>

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/text/Font.h"
#include "platform/text/TextMeasure.h"

namespace cg {
class Context;
}
typedef struct _PangoLayout PangoLayout;

namespace ui {

// The platform's numbering.
// Left, Center and Right place the text on the screen whatever its
// direction; Natural puts each paragraph at the side it starts from (a
// paragraph that starts right to left stands at the right).
enum class TextAlignment { Left = 0, Center = 1, Right = 2, Natural = 4 };

// Draws the text from the top of rect, wrapped to its width (for the wrapping
// modes) or cut to one line per paragraph (truncating modes add an ellipsis),
// clipped to the rect's height. Returns the size the text takes.
cg::Size drawTextInRect(cg::Context& context, std::string_view text, const cg::Rect& rect,
                        const Font& font, const cg::Color& color,
                        TextAlignment alignment = TextAlignment::Left,
                        LineBreakMode mode = LineBreakMode::WordWrap);

// As a label draws: numberOfLines of 1 keeps one line (cut or truncated as
// the mode says), 0 wraps without limit, n wraps into at most n lines with
// the last one truncated by a truncating mode. Right-to-left text is laid out
// right to left; left and right alignment stay the screen's.
cg::Size drawTextLinesInRect(cg::Context& context, std::string_view text, const cg::Rect& rect,
                             const Font& font, const cg::Color& color, TextAlignment alignment,
                             LineBreakMode mode, int numberOfLines);

// Sets the layout's alignment (after its text) so left and right are the
// screen's, whichever way its first paragraph runs.
void setLayoutAlignment(PangoLayout* layout, TextAlignment alignment);

// One line at a point (its top left), not wrapped.
cg::Size drawTextAtPoint(cg::Context& context, std::string_view text, cg::Point point,
                         const Font& font, const cg::Color& color);

}  // namespace ui
