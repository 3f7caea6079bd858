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

class ActionSheetDelegate : public ButtonPanelDelegate<ActionSheet> {
 public:
  virtual void willPresentActionSheet(ActionSheet&) {}
  virtual void didPresentActionSheet(ActionSheet&) {}
};

class ActionSheet : public DelegatingButtonPanel<ActionSheet, ActionSheetDelegate> {
 public:
  // Empty cancel or destructive titles make no such button.
  ActionSheet(const std::string& title, std::weak_ptr<ActionSheetDelegate> delegate,
              const std::string& cancelButtonTitle, const std::string& destructiveButtonTitle,
              const std::vector<std::string>& otherButtonTitles = {});

  // Centred over the view.
  void showInView(View* view);
  // Beside a rectangle of the view (below it, or above when there is no room).
  void showFromRect(cg::Rect rect, View* view, bool animated);

 protected:
  void tappedOutside() override;
  void notifyWillPresent() override;
  void notifyDidPresent() override;
  const Style& style() const override;
  cg::Rect placement(cg::Size size, const cg::Rect& hostRect,
                     const cg::Rect& windowBounds) const override;

 private:
  std::optional<cg::Rect> anchor_;  // window coordinates, for showFromRect
};

}  // namespace ui
