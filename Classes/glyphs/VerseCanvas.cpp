#include "Classes/glyphs/VerseCanvas.h"

void VerseCanvas::drawRect(cg::Context& context, cg::Rect rect) {
  ui::View::drawRect(context, rect);
  if (auto d = delegate()) d->drawArabicVerseInCanvas(context, *this);
}
