#include "Classes/shell/Label+VerticalAlign.h"

#include <cmath>

#include "platform/text/TextMeasure.h"

namespace ui {
namespace {

// How many empty lines of the label's font fit between the text and the
// height of `lines` lines at the label's width.
int freeLines(const Label& label, float lines) {
  const std::string& text = label.text();
  float h = text.empty() ? 0 : sizeWithFont(text, label.font()).height;
  if (h <= 0) return 0;
  float m = h * lines;
  // Measured over many lines, every mode but character wrapping breaks at
  // words (the truncating ones only shorten the last line).
  LineBreakMode mode = label.lineBreakMode() == LineBreakMode::CharacterWrap ? LineBreakMode::CharacterWrap
                                                                              : LineBreakMode::WordWrap;
  float t = sizeWithFont(text, label.font(), cg::Size(label.frame().width(), m), mode).height;
  return static_cast<int>(std::floor((m - t) / h));
}

std::string repeated(const char* piece, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += piece;
  return out;
}

}  // namespace

// The padding is built first and set once: one layout of the label, not n.
void alignTop(Label& label) {
  int n = freeLines(label, 1000);
  if (n >= 1) label.setText(label.text() + repeated("\n ", n));
}

void alignBottom(Label& label) {
  int n = freeLines(label, float(label.numberOfLines()));
  if (n >= 1) label.setText(repeated(" \n", n) + label.text());
}

}  // namespace ui
