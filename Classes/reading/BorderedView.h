#pragma once
// The frame lines of a tajweed guide box: a vertical line down its left edge,
// starting 13 points down (beside the rule's name), and one along its bottom
// edge. The lines are views of their own, made before the first draw and
// kept at the edges as the box resizes. Main thread only.
#include <memory>
#include <optional>

#include "platform/ui/View.h"

class BorderedView : public ui::View {
 public:
  static cg::Color defaultLineColor() { return cg::Color::fromRGB255(207, 200, 179); }

  using ui::View::View;

  std::optional<cg::Color> lineColor() const { return lineColor_; }
  void setLineColor(cg::Color color);

  void layoutSubviews() override;

  std::shared_ptr<ui::View> viewVert, viewHoriz;

 private:
  std::optional<cg::Color> lineColor_;
};
