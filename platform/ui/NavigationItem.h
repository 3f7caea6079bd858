#pragma once
// What a navigation bar shows for one controller: a title (or a title view),
// bar button items left and right, and the back item the next controller's
// bar shows to come back here. The bar showing it hears its changes.
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/BarButtonItem.h"

namespace ui {

class NavigationItem {
 public:
  explicit NavigationItem(std::string title = "") : title_(std::move(title)) {}

  const std::string& title() const { return title_; }
  void setTitle(const std::string& title) { title_ = title; changed(); }
  const std::shared_ptr<View>& titleView() const { return titleView_; }
  void setTitleView(std::shared_ptr<View> view) { titleView_ = std::move(view); changed(); }

  const std::shared_ptr<BarButtonItem>& leftBarButtonItem() const { return left_; }
  void setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false) {
    (void)animated;
    left_ = std::move(item);
    changed();
  }
  const std::shared_ptr<BarButtonItem>& rightBarButtonItem() const { return right_; }
  void setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false) {
    (void)animated;
    right_ = std::move(item);
    changed();
  }
  // Shown as the back button by the bar of the item pushed after this one
  // (null: a back button titled with this item's title).
  const std::shared_ptr<BarButtonItem>& backBarButtonItem() const { return back_; }
  void setBackBarButtonItem(std::shared_ptr<BarButtonItem> item) { back_ = std::move(item); changed(); }
  bool hidesBackButton() const { return hidesBack_; }
  void setHidesBackButton(bool hides) { hidesBack_ = hides; changed(); }

  void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

 private:
  void changed() const {
    auto handler = changed_;  // the handler may replace itself while it runs
    if (handler) handler();
  }

  std::string title_;
  std::shared_ptr<View> titleView_;
  std::shared_ptr<BarButtonItem> left_, right_, back_;
  bool hidesBack_ = false;
  std::function<void()> changed_;
};

}  // namespace ui
