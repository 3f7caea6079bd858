#pragma once
// What alert views and action sheets share: a title, a message, buttons with
// cancel and destructive indexes, one panel on screen at a time with the rest
// queued, taps on the buttons, and dismissal that tells the delegate once.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace ui {

class ButtonPanel : public View {
 public:
  ~ButtonPanel() override;

  const std::string& title() const { return title_; }
  void setTitle(const std::string& t) { title_ = t; setNeedsDisplay(); }
  const std::string& message() const { return message_; }
  void setMessage(const std::string& m) { message_ = m; setNeedsDisplay(); }

  // Appends a button; answers its index.
  int addButtonWithTitle(const std::string& title);
  int numberOfButtons() const { return static_cast<int>(buttons_.size()); }
  std::string buttonTitleAtIndex(int index) const;
  int cancelButtonIndex() const { return cancelButtonIndex_; }
  void setCancelButtonIndex(int index) { cancelButtonIndex_ = index; }
  int destructiveButtonIndex() const { return destructiveButtonIndex_; }
  void setDestructiveButtonIndex(int index) { destructiveButtonIndex_ = index; }
  // The first button that is neither cancel nor destructive; -1 when none.
  int firstOtherButtonIndex() const;

  // On screen now (queued panels are not).
  bool isVisible() const { return visible_; }
  // Dismisses as if the button were tapped, without the clicked call: the
  // delegate hears will/did-dismiss once. A queued panel just leaves the queue.
  void dismissWithClickedButtonIndex(int index, bool animated);

  // The panel on screen now and the number waiting (for tests and the backend).
  static ButtonPanel* visiblePanel();
  static size_t queuedCount();
  // Drops every shown and queued panel without callbacks (tests).
  static void resetForTesting();

  // The button under a point of the panel's bounds; -1 when none.
  int buttonIndexAtPoint(cg::Point p) const;
  // Where a button is drawn, in the panel's bounds (empty when out of range).
  cg::Rect buttonRectAtIndex(int index) const;
  // Taps the button as a person would: clicked, then dismissal.
  void tapButtonAtIndex(int index);

  void touchesBegan(const TouchSet& touches, const Event& event) override;
  void touchesMoved(const TouchSet& touches, const Event& event) override;
  void touchesEnded(const TouchSet& touches, const Event& event) override;
  void touchesCancelled(const TouchSet& touches, const Event& event) override;
  void drawRect(cg::Context& context, cg::Rect rect) override;

  // Look of the panel.
  struct Style {
    float width;
    cg::Color fill, border, titleColor, messageColor, buttonFill, buttonText;
    cg::Color cancelFill, destructiveFill, dimming;
    bool buttonsSideBySideWhenTwo;
    float titleSize;
    bool titleBold;
  };

 protected:
  ButtonPanel(std::string title, std::string message);

  // Puts the panel on screen over the host view (the key window when null),
  // or queues it behind the one showing.
  void enqueue(View* host);
  // A tap outside the panel: alerts ignore it, sheets cancel.
  virtual void tappedOutside() {}

  // The delegate's calls, told by the subclass.
  virtual void notifyClicked(int index) = 0;
  virtual void notifyWillPresent() {}
  virtual void notifyDidPresent() {}
  virtual void notifyWillDismiss(int index) { (void)index; }
  virtual void notifyDidDismiss(int index) { (void)index; }

  virtual const Style& style() const = 0;
  // Where the panel goes in its overlay (window coordinates), given its size.
  virtual cg::Rect placement(cg::Size size, const cg::Rect& hostRect,
                             const cg::Rect& windowBounds) const = 0;

  std::vector<std::string> buttons_;
  int cancelButtonIndex_ = -1;
  int destructiveButtonIndex_ = -1;

 private:
  class Overlay;
  void present();
  void finishDismissal(int index);
  void beginDismissal(int index, bool animated);
  // Sizes the panel and its button rectangles for its texts.
  void layoutPanel();
  std::vector<cg::Rect> buttonRects_;
  float textHeight_ = 0;
  std::string title_;
  std::string message_;
  bool visible_ = false;
  bool dismissing_ = false;
  int pressed_ = -1;
  std::weak_ptr<View> host_;
  std::weak_ptr<View> overlay_;  // the window owns the overlay, the overlay this panel
};

// The calls a delegate of either kind of panel P answers alike; each kind
// adds its own presentation calls.
template <class P>
class ButtonPanelDelegate {
 public:
  virtual ~ButtonPanelDelegate() = default;
  virtual void clickedButtonAtIndex(P&, int buttonIndex) { (void)buttonIndex; }
  virtual void willDismissWithButtonIndex(P&, int buttonIndex) { (void)buttonIndex; }
  virtual void didDismissWithButtonIndex(P&, int buttonIndex) { (void)buttonIndex; }
};

// A panel of kind Self that tells a delegate of kind D, held weakly, about
// clicks and dismissal.
template <class Self, class D>
class DelegatingButtonPanel : public ButtonPanel {
 public:
  void setDelegate(std::weak_ptr<D> delegate) { delegate_ = std::move(delegate); }
  std::shared_ptr<D> delegate() const { return delegate_.lock(); }

 protected:
  DelegatingButtonPanel(std::string title, std::string message, std::weak_ptr<D> delegate)
      : ButtonPanel(std::move(title), std::move(message)), delegate_(std::move(delegate)) {}

  void notifyClicked(int i) override {
    if (auto d = delegate()) d->clickedButtonAtIndex(self(), i);
  }
  void notifyWillDismiss(int i) override {
    if (auto d = delegate()) d->willDismissWithButtonIndex(self(), i);
  }
  void notifyDidDismiss(int i) override {
    if (auto d = delegate()) d->didDismissWithButtonIndex(self(), i);
  }
  Self& self() { return static_cast<Self&>(*this); }

 private:
  std::weak_ptr<D> delegate_;
};

}  // namespace ui
