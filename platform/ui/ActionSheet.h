#pragma once
// A sheet of choices shown over a view: the destructive button first, then
// the others, the cancel button last. A tap outside it cancels. It shares the
// alerts' one-at-a-time queue.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/ButtonPanel.h"

namespace ui {

class ActionSheet;

class ActionSheetDelegate {
 public:
  virtual ~ActionSheetDelegate() = default;
  virtual void clickedButtonAtIndex(ActionSheet&, int buttonIndex) { (void)buttonIndex; }
  virtual void willPresentActionSheet(ActionSheet&) {}
  virtual void didPresentActionSheet(ActionSheet&) {}
  virtual void willDismissWithButtonIndex(ActionSheet&, int buttonIndex) { (void)buttonIndex; }
  virtual void didDismissWithButtonIndex(ActionSheet&, int buttonIndex) { (void)buttonIndex; }
};

class ActionSheet : public ButtonPanel {
 public:
  // Empty cancel or destructive titles make no such button.
  ActionSheet(const std::string& title, std::weak_ptr<ActionSheetDelegate> delegate,
              const std::string& cancelButtonTitle, const std::string& destructiveButtonTitle,
              const std::vector<std::string>& otherButtonTitles = {});

  void setDelegate(std::weak_ptr<ActionSheetDelegate> delegate) { delegate_ = std::move(delegate); }
  std::shared_ptr<ActionSheetDelegate> delegate() const { return delegate_.lock(); }

  // Centred over the view.
  void showInView(View* view);
  // Beside a rectangle of the view (below it, or above when there is no room).
  void showFromRect(cg::Rect rect, View* view, bool animated);

 protected:
  void tappedOutside() override;
  void notifyClicked(int index) override;
  void notifyWillPresent() override;
  void notifyDidPresent() override;
  void notifyWillDismiss(int index) override;
  void notifyDidDismiss(int index) override;
  const Style& style() const override;
  cg::Rect placement(cg::Size size, const cg::Rect& hostRect,
                     const cg::Rect& windowBounds) const override;

 private:
  std::weak_ptr<ActionSheetDelegate> delegate_;
  std::optional<cg::Rect> anchor_;  // window coordinates, for showFromRect
};

}  // namespace ui
