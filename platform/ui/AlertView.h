#pragma once
// A modal alert drawn over the window: title, message and buttons, the
// cancel button first. Shown one at a time; later alerts wait their turn.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ButtonPanel.h"

namespace ui {

class AlertView;

class AlertViewDelegate : public ButtonPanelDelegate<AlertView> {
 public:
  virtual void willPresentAlertView(AlertView&) {}
  virtual void didPresentAlertView(AlertView&) {}
};

class AlertView : public DelegatingButtonPanel<AlertView, AlertViewDelegate> {
 public:
  // An empty cancel title makes no cancel button.
  AlertView(const std::string& title, const std::string& message,
            std::weak_ptr<AlertViewDelegate> delegate, const std::string& cancelButtonTitle,
            const std::vector<std::string>& otherButtonTitles = {});

  // On screen now or after the panels before it.
  void show() { enqueue(nullptr); }

 protected:
  void notifyWillPresent() override;
  void notifyDidPresent() override;
  const Style& style() const override;
  cg::Rect placement(cg::Size size, const cg::Rect& hostRect,
                     const cg::Rect& windowBounds) const override;
};

}  // namespace ui
