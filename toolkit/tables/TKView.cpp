#include "toolkit/tables/TKView.h"

#include "toolkit/styled/TKStyle.h"
#include "toolkit/tables/TKLayout.h"

TKView::TKView(cg::Rect frame) : ui::View(frame) { setContentMode(ui::ContentMode::Redraw); }

void TKView::setStyle(std::shared_ptr<TKStyle> style) {
  if (style == style_) return;
  style_ = std::move(style);
  setNeedsDisplay();
}

TKStyleContext TKView::styleContext(cg::Context* graphics, cg::Rect frame) const {
  TKStyleContext context(graphics);
  context.setDelegate(const_cast<TKView*>(this));
  context.setFrame(frame);
  context.setContentFrame(frame);
  return context;
}

void TKView::drawRect(cg::Context& context, cg::Rect) {
  std::shared_ptr<TKStyle> style = this->style();
  if (!style) {
    drawContent(context, bounds());
    return;
  }
  TKStyleContext styleContext = this->styleContext(&context, bounds());
  style->draw(styleContext);
  if (!styleContext.didDrawContent()) drawContent(context, bounds());
}

void TKView::layoutSubviews() {
  if (layout_) layout_->layoutSubviews(subviews(), *this);
}

cg::Size TKView::sizeThatFits(cg::Size) const {
  if (!style_) return {};
  TKStyleContext context = styleContext(nullptr, {});
  return style_->addToSize({}, context);
}

void TKView::drawContent(cg::Context&, cg::Rect) {}
