#pragma once
// A modal alert drawn over the window: title, message and buttons, the
// cancel button first. Shown one at a time; later alerts wait their turn.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ButtonPanel.h"

namespace ui {

class AlertView;

class AlertViewDelegate {
 public:
  virtual ~AlertViewDelegate() = default;
  virtual void clickedButtonAtIndex(AlertView&, int buttonIndex) { (void)buttonIndex; }
  virtual void willPresentAlertView(AlertView&) {}
  virtual void didPresentAlertView(AlertView&) {}
  virtual void willDismissWithButtonIndex(AlertView&, int buttonIndex) { (void)buttonIndex; }
  virtual void didDismissWithButtonIndex(AlertView&, int buttonIndex) { (void)buttonIndex; }
};

class AlertView : public ButtonPanel {
 public:
  // An empty cancel title makes no cancel button.
  AlertView(const std::string& title, const std::string& message,
            std::weak_ptr<AlertViewDelegate> delegate, const std::string& cancelButtonTitle,
            const std::vector<std::string>& otherButtonTitles = {});

  void setDelegate(std::weak_ptr<AlertViewDelegate> delegate) { delegate_ = std::move(delegate); }
  std::shared_ptr<AlertViewDelegate> delegate() const { return delegate_.lock(); }
  // On screen now or after the panels before it.
  void show() { enqueue(nullptr); }

 protected:
  void notifyClicked(int index) override;
  void notifyWillPresent() override;
  void notifyDidPresent() override;
  void notifyWillDismiss(int index) override;
  void notifyDidDismiss(int index) override;
  const Style& style() const override;
  cg::Rect placement(cg::Size size, const cg::Rect& hostRect,
                     const cg::Rect& windowBounds) const override;

 private:
  std::weak_ptr<AlertViewDelegate> delegate_;
};

}  // namespace ui
