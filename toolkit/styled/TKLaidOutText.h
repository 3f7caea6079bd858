#pragma once
// A piece of text laid out once by pango and kept, so that drawing it covers
// exactly what measuring it gave. Its context has the platform's one text
// set-up (platform/text/TextConfiguration.h), the measurer's, so a size the
// measurer gives is the size drawn. Right-to-left paragraphs are set to the
// right of the wrap width, as pango sets them. Main thread only.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/text/Font.h"

namespace cg {
class Context;
}
typedef struct _PangoLayout PangoLayout;

class TKLaidOutText {
 public:
  // A wrap width above 0 wraps at words (a word longer than a line breaks
  // between characters); 0 keeps each paragraph on one line. NUL characters
  // are left out, here as in every other measure of styled text.
  TKLaidOutText(std::string_view text, const ui::Font& font, float wrapWidth);
  ~TKLaidOutText();
  TKLaidOutText(const TKLaidOutText&) = delete;
  TKLaidOutText& operator=(const TKLaidOutText&) = delete;

  // The logical box of the lines: its x is where the text begins inside the
  // wrap width (above 0 for a right-to-left paragraph shorter than the width).
  const cg::Rect& bounds() const { return bounds_; }
  float wrapWidth() const { return wrapWidth_; }
  int lineCount() const;
  // The byte offset, in the text laid out, at which each line starts.
  std::vector<std::size_t> lineStarts() const;
  const std::string& text() const { return text_; }

  // Draws the text with its logical box's top left at the point.
  void drawAtPoint(cg::Context& context, cg::Point point, const cg::Color& color) const;

  // The size of text on one line (or wrapped at wrapWidth) as a kept layout
  // of it would have, measured on one reused layout.
  static cg::Size measure(std::string_view text, const ui::Font& font, float wrapWidth = 0);

  // Whether text is measured by pango here; tests that check the layout's
  // rules with a stand-in measurer get its sizes and keep no layouts.
  static bool measuresWithPango();

  // The text a styled layout sets: valid UTF-8, without NUL characters.
  static std::string settable(std::string_view text);

 private:
  std::string text_;
  PangoLayout* layout_ = nullptr;
  float wrapWidth_ = 0;
  cg::Rect bounds_;
};
