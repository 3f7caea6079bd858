#pragma once
// The search rows' sheet: the default look plus "yellowBox", the rounded
// highlight behind a matched word in a snippet, and "whiteBox", white text;
// highlighted rows draw their text in white. A new one is installed as the
// global sheet each time a search-result row is made. Main thread only.
#include "toolkit/styled/TKDefaultStyleSheet.h"

class HighlightTextStyleSheet : public TKDefaultStyleSheet {
 public:
  HighlightTextStyleSheet();
  cg::Color highlightedTextColor() override { return cg::Color::white(); }
};
