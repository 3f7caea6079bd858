#pragma once
// A caption with a rule after it: a 1-point line that starts 7 points after
// the text, at the text's middle height, and runs on across the label (in a
// right-aligned label, before the text). The line is a view of its own, made
// before the first draw. Main thread only.
#include <memory>
#include <optional>

#include "platform/ui/Label.h"

class UILabelLined : public ui::Label {
 public:
  static cg::Color defaultLineColor() { return cg::Color::fromRGB255(207, 200, 179); }

  using ui::Label::Label;

  std::optional<cg::Color> lineColor() const { return lineColor_; }
  void setLineColor(cg::Color color);

  void layoutSubviews() override;

  std::shared_ptr<ui::View> viewLine;

 private:
  std::optional<cg::Color> lineColor_;
};
