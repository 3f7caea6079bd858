#include "toolkit/tables/TKLayout.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/View.h"

cg::Size TKLayout::layoutSubviews(const std::vector<std::shared_ptr<ui::View>>&, ui::View&) { return {}; }

cg::Size TKFlowLayout::layoutSubviews(const std::vector<std::shared_ptr<ui::View>>& subviews, ui::View& view) {
  float maxWidth = view.frame().width() - padding_ * 2;
  float x = padding_, y = padding_, maxX = 0, rowHeight = 0;
  for (const auto& subview : std::vector(subviews)) {
    cg::Rect f = subview->frame();
    if (x + f.width() > maxWidth) {
      x = padding_;
      y += f.height() + spacing_;
    }
    subview->setFrame(cg::Rect(x, y, f.width(), f.height()));
    x += f.width() + spacing_;
    rowHeight = f.height();
    maxX = std::max(maxX, x);
  }
  return {maxX + padding_, y + rowHeight + padding_};
}

void TKGridLayout::setColumnCount(int count) { columnCount_ = std::max(1, count); }

cg::Size TKGridLayout::layoutSubviews(const std::vector<std::shared_ptr<ui::View>>& subviews, ui::View& view) {
  float cellWidth = std::ceil((view.frame().width() - padding_ * 2) / float(columnCount_));
  float x = padding_, y = padding_, maxX = 0, lastHeight = 0;
  int i = 0;
  for (const auto& subview : std::vector(subviews)) {
    if (i % columnCount_ == 0) {
      x = padding_;
      y += lastHeight + spacing_;
    }
    float height = subview->sizeThatFits({cellWidth, 0}).height;
    subview->setFrame(cg::Rect(x, y, cellWidth, height));
    x += subview->frame().width() + spacing_;
    lastHeight = height;
    maxX = std::max(maxX, x);
    ++i;
  }
  return {maxX + padding_, y + lastHeight + padding_};
}
