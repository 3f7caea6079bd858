#pragma once
// The toolkit's base view: its whole look comes from one style chain, and a
// layout strategy, when given one, places its subviews on every layout pass.
// The section header, the label, the image view, the text editor and the
// search bar build on it. Main thread only.
#include <memory>

#include "platform/ui/View.h"
#include "toolkit/styled/TKStyleContext.h"

class TKStyle;
class TKLayout;

class TKView : public ui::View, public TKStyleDelegate {
 public:
  // Content mode redraw: any resize draws the style again.
  explicit TKView(cg::Rect frame = {});

  const std::shared_ptr<TKStyle>& style() const { return style_; }
  // The same style again changes nothing; another redraws the view.
  virtual void setStyle(std::shared_ptr<TKStyle> style);
  // Assigning a layout does not by itself lay the view out.
  const std::shared_ptr<TKLayout>& layout() const { return layout_; }
  void setLayout(std::shared_ptr<TKLayout> layout) { layout_ = std::move(layout); }

  // Draws the style; the view's own content is drawn by drawContent, once,
  // unless a step of the chain already had the view draw it.
  void drawRect(cg::Context& context, cg::Rect rect) override;
  // Hands the subviews to the layout (its answer is not used).
  void layoutSubviews() override;
  // The size the style wants for empty content, whatever size is offered.
  cg::Size sizeThatFits(cg::Size size) const override;
  // What a subclass draws into the rectangle; nothing here.
  virtual void drawContent(cg::Context& context, cg::Rect rect);

 protected:
  // A fresh drawing state for this view over the rectangle (no font).
  TKStyleContext styleContext(cg::Context* graphics, cg::Rect frame) const;

 private:
  std::shared_ptr<TKStyle> style_;
  std::shared_ptr<TKLayout> layout_;
};
