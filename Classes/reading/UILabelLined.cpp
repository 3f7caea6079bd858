#include "Classes/reading/UILabelLined.h"

#include <cmath>

#include "platform/text/TextMeasure.h"

void UILabelLined::setLineColor(cg::Color color) {
  lineColor_ = color;
  setNeedsLayout();
}

void UILabelLined::layoutSubviews() {
  if (!viewLine) {
    viewLine = std::make_shared<ui::View>();
    viewLine->setBackgroundColor(defaultLineColor());
    addSubview(viewLine);
  }
  if (lineColor_) viewLine->setBackgroundColor(*lineColor_);
  cg::Rect b = bounds();
  float tw = ui::sizeWithFont(text(), font()).width;
  float y = std::floor(b.height() * 0.5f) + 2;
  if (textAlignment() == ui::TextAlignment::Right)
    viewLine->setFrame(cg::Rect(0, y, std::max(0.0f, b.width() - tw - 7), 1));
  else
    viewLine->setFrame(cg::Rect(tw + 7, y, b.width(), 1));
}
