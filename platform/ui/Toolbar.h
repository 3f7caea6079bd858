#pragma once
// A bar of bar button items laid out from the left, flexible spaces sharing
// the room that is left; drawn in its tint.
#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/BarButtonItem.h"

namespace ui {

class Toolbar : public View {
 public:
  static constexpr float kHeight = 44;

  explicit Toolbar(cg::Rect frame);
  ~Toolbar() override;

  cg::Color tintColor() const { return tint_; }
  void setTintColor(std::optional<cg::Color> tint);  // none: the default

  const std::vector<std::shared_ptr<BarButtonItem>>& items() const { return items_; }
  void setItems(std::vector<std::shared_ptr<BarButtonItem>> items, bool animated = false);
  // The view showing an item (null for spaces and unknown items).
  View* viewForItem(const BarButtonItem* item) const;

  cg::Size sizeThatFits(cg::Size size) const override { return {size.width, kHeight}; }
  void layoutSubviews() override;
  void drawRect(cg::Context& context, cg::Rect rect) override;

 private:
  void unwatch();

  cg::Color tint_;
  std::vector<std::shared_ptr<BarButtonItem>> items_;
  std::vector<std::shared_ptr<View>> views_;  // one per item, in order
};

}  // namespace ui
