#pragma once
// The bar along the top of a navigation stack: a stack of navigation items,
// of which it shows the top one's title and bar button items, and a back
// button for the item below it. Drawn in its tint.
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"

namespace ui {

class NavigationBar : public View {
 public:
  static constexpr float kHeight = 44;

  explicit NavigationBar(cg::Rect frame);
  ~NavigationBar() override;

  cg::Color tintColor() const { return tint_; }
  void setTintColor(std::optional<cg::Color> tint);  // none: the default
  // The platform's bar styles: 0 default, 1 black. A black bar without a tint
  // of its own is drawn black.
  int barStyle() const { return barStyle_; }
  void setBarStyle(int style);

  const std::vector<std::shared_ptr<NavigationItem>>& items() const { return items_; }
  void setItems(std::vector<std::shared_ptr<NavigationItem>> items, bool animated = false);
  void pushNavigationItem(std::shared_ptr<NavigationItem> item, bool animated = false);
  std::shared_ptr<NavigationItem> popNavigationItemAnimated(bool animated = false);
  NavigationItem* topItem() const { return items_.empty() ? nullptr : items_.back().get(); }
  NavigationItem* backItem() const {
    return items_.size() < 2 ? nullptr : items_[items_.size() - 2].get();
  }

  // A tap on the back button: the handler (a navigation controller pops its
  // stack), or else the bar pops its own top item.
  void setBackHandler(std::function<void()> handler) { onBack_ = std::move(handler); }

  // The views of the items shown now (for tests and hit testing).
  BarButtonView* backButtonView() const { return backView_.get(); }
  BarButtonView* leftButtonView() const { return leftView_.get(); }
  BarButtonView* rightButtonView() const { return rightView_.get(); }

  cg::Size sizeThatFits(cg::Size size) const override { return {size.width, kHeight}; }
  void layoutSubviews() override;
  void drawRect(cg::Context& context, cg::Rect rect) override;

 private:
  void rebuild();
  void watch(bool on);
  std::shared_ptr<BarButtonView> addItemView(std::shared_ptr<BarButtonItem> item,
                                             BarButtonView::Kind kind);
  cg::Rect titleRect() const;

  cg::Color tint_;
  bool customTint_ = false;
  int barStyle_ = 0;
  std::vector<std::shared_ptr<NavigationItem>> items_;
  std::shared_ptr<BarButtonView> backView_, leftView_, rightView_;
  std::shared_ptr<View> titleView_;
  std::function<void()> onBack_;
  std::shared_ptr<NavigationItem> watchedItem_;
  std::vector<std::shared_ptr<BarButtonItem>> watchedButtons_;
};

}  // namespace ui
