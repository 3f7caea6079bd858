#pragma once
// Drawing text into a context with pango, laid out on the text layer's own
// context in its one set-up (TextConfiguration.h), so measured sizes and
// drawn text agree whatever transform the drawing is under.
#include <string>
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

// How a text is laid out: everything but where and in which colour it is drawn.
struct TextLayoutSpec {
  std::string text;
  Font font;
  float width = 0;  // 0: one line per paragraph at its natural width
  TextAlignment alignment = TextAlignment::Left;
  LineBreakMode mode = LineBreakMode::WordWrap;
  bool wrapping = false;
  int lines = 0;  // more than 1: at most that many lines, the last one cut as the mode says
  friend bool operator==(const TextLayoutSpec&, const TextLayoutSpec&) = default;
};

// The spec drawTextLinesInRect lays a text out with, for a rect of the width.
TextLayoutSpec textLinesSpec(std::string_view text, float width, const Font& font, TextAlignment alignment,
                             LineBreakMode mode, int numberOfLines);

// A text shaped once and drawn as often as wanted, in any colour, at any
// place and under any transform (a label keeps one while its text, font and
// width stay the same). Thread-safe.
class LaidOutText {
 public:
  explicit LaidOutText(TextLayoutSpec spec);
  ~LaidOutText();
  LaidOutText(const LaidOutText&) = delete;
  LaidOutText& operator=(const LaidOutText&) = delete;

  const TextLayoutSpec& spec() const { return spec_; }
  // The size the text takes.
  cg::Size size() const { return size_; }
  // Draws with the top left of the text's rect at origin, clipped to the
  // height (none when 0); returns size().
  cg::Size draw(cg::Context& context, cg::Point origin, float height, const cg::Color& color) const;

 private:
  TextLayoutSpec spec_;
  PangoLayout* layout_ = nullptr;
  cg::Size size_;
  float dx_ = 0;       // a single line placed by the alignment
  bool fits_ = false;  // a single line that fits is never shortened
};

// One line at a point (its top left), not wrapped.
cg::Size drawTextAtPoint(cg::Context& context, std::string_view text, cg::Point point,
                         const Font& font, const cg::Color& color);

}  // namespace ui
