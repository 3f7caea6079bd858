#pragma once
// Strategies that place a view's subviews: the flow layout sets them in rows
// like the words of a paragraph, the grid layout in equal columns. A layout
// holds only its settings and can serve several views. Main thread only.
#include <memory>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace ui {
class View;
}

class TKLayout {
 public:
  virtual ~TKLayout() = default;
  // Places the views inside the view and answers the size their arrangement
  // needs; the base places nothing and needs nothing.
  virtual cg::Size layoutSubviews(const std::vector<std::shared_ptr<ui::View>>& subviews, ui::View& view);
};

class TKFlowLayout : public TKLayout {
 public:
  float padding() const { return padding_; }
  void setPadding(float padding) { padding_ = padding; }
  float spacing() const { return spacing_; }
  void setSpacing(float spacing) { spacing_ = spacing; }

  // Row by row from the top left: a subview that would pass the width less
  // twice the padding starts a new row, which moves down by that subview's
  // height. The width answered includes the widest row's trailing spacing.
  cg::Size layoutSubviews(const std::vector<std::shared_ptr<ui::View>>& subviews, ui::View& view) override;

 private:
  float padding_ = 0;
  float spacing_ = 0;
};

class TKGridLayout : public TKLayout {
 public:
  int columnCount() const { return columnCount_; }
  // At least one column: the width is divided by the count.
  void setColumnCount(int count);
  float padding() const { return padding_; }
  void setPadding(float padding) { padding_ = padding; }
  float spacing() const { return spacing_; }
  void setSpacing(float spacing) { spacing_ = spacing; }

  // Equal columns of whole points; each subview is as high as it says it
  // fits in its column, and a row moves down by the height of the last
  // subview of the row before it.
  cg::Size layoutSubviews(const std::vector<std::shared_ptr<ui::View>>& subviews, ui::View& view) override;

 private:
  int columnCount_ = 1;
  float padding_ = 0;
  float spacing_ = 0;
};
