#include "Classes/reading/BorderedView.h"

void BorderedView::setLineColor(cg::Color color) {
  lineColor_ = color;
  setNeedsLayout();
}

void BorderedView::layoutSubviews() {
  cg::Rect b = bounds();
  if (!viewVert) {
    viewVert = std::make_shared<ui::View>(cg::Rect(0, 13, 1, b.height() - 13));
    viewVert->setAutoresizingMask(ui::ViewAutoresizingFlexibleHeight);
    viewVert->setBackgroundColor(defaultLineColor());
    addSubview(viewVert);
    viewHoriz = std::make_shared<ui::View>(cg::Rect(0, b.height(), b.width(), 1));
    viewHoriz->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleTopMargin);
    viewHoriz->setBackgroundColor(defaultLineColor());
    addSubview(viewHoriz);
  }
  if (lineColor_) {
    viewVert->setBackgroundColor(*lineColor_);
    viewHoriz->setBackgroundColor(*lineColor_);
  }
}
