#pragma once
// Measuring text: one-line widths and wrapped heights. The process-wide current
// measurer is pango; tests that check rules rather than pixels swap in a
// FixedAdvanceMeasurer. Thread-safe (the data store measures on workers).
#include <memory>
#include <string_view>

#include "platform/graphics/Geometry.h"
#include "platform/text/Font.h"

namespace ui {

enum class LineBreakMode {
  WordWrap = 0,
  CharacterWrap = 1,
  Clip = 2,
  TruncateHead = 3,
  TruncateTail = 4,
  TruncateMiddle = 5,
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Width of the text set without wrapping (with newlines, the widest line).
  virtual float width(std::string_view text, const Font& font) = 0;
  // Size of the text wrapped at maxWidth: the widest line and the total height.
  // WordWrap and CharacterWrap wrap; the other modes keep one line per paragraph.
  virtual cg::Size sizeForWidth(std::string_view text, const Font& font, float maxWidth,
                                LineBreakMode mode) = 0;
  float heightForWidth(std::string_view text, const Font& font, float maxWidth,
                       LineBreakMode mode = LineBreakMode::WordWrap) {
    return sizeForWidth(text, font, maxWidth, mode).height;
  }
};

// Measures with pango on one shared context, behind a mutex.
class PangoMeasurer : public TextMeasurer {
 public:
  float width(std::string_view text, const Font& font) override;
  cg::Size sizeForWidth(std::string_view text, const Font& font, float maxWidth,
                        LineBreakMode mode) override;
};

// Every UTF-16 unit advances `advance` points; lines are `lineHeight` high
// (0: the font's point size). Wraps at spaces, or within a word that is longer
// than a line.
class FixedAdvanceMeasurer : public TextMeasurer {
 public:
  explicit FixedAdvanceMeasurer(float advance = 10, float lineHeight = 0)
      : advance_(advance), lineHeight_(lineHeight) {}
  float width(std::string_view text, const Font& font) override;
  cg::Size sizeForWidth(std::string_view text, const Font& font, float maxWidth,
                        LineBreakMode mode) override;

 private:
  float advance_;
  float lineHeight_;
};

// The process-wide measurer (pango unless replaced); nullptr restores pango.
TextMeasurer& currentMeasurer();
void setCurrentMeasurer(std::shared_ptr<TextMeasurer> measurer);

// Swaps the measurer for a scope.
class ScopedMeasurer {
 public:
  explicit ScopedMeasurer(std::shared_ptr<TextMeasurer> measurer);
  ~ScopedMeasurer();
  ScopedMeasurer(const ScopedMeasurer&) = delete;
  ScopedMeasurer& operator=(const ScopedMeasurer&) = delete;

 private:
  std::shared_ptr<TextMeasurer> previous_;
};

// The platform's string measuring, through the current measurer: one line, and
// wrapped within the constrained size (the result is clamped to it).
cg::Size sizeWithFont(std::string_view text, const Font& font);
cg::Size sizeWithFont(std::string_view text, const Font& font, cg::Size constrainedToSize,
                      LineBreakMode lineBreakMode = LineBreakMode::WordWrap);

}  // namespace ui
