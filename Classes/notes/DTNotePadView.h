#pragma once
// A text editor that looks like ruled writing paper: a multi-line text view
// over a ruling (LinesView) that moves with the text when it scrolls and
// grows with it, so there are always lines below the last one written.
// Clients read and write the text, and move the keyboard focus, through
// textView(). Main thread only.
#include <functional>
#include <memory>

#include "platform/foundation/Value.h"
#include "platform/ui/TextView.h"

class DTNotePadView;

// Every call is optional.
class DTNotePadViewDelegate {
 public:
  virtual ~DTNotePadViewDelegate() = default;
  virtual void notePadViewDidChange(DTNotePadView&) {}
  virtual void notePadViewDidBeginEditing(DTNotePadView&) {}
  virtual void notePadViewDidEndEditing(DTNotePadView&) {}
};

// The ruling: grey lines at y = 24 + 19k over the view's width, nothing else.
class LinesView : public ui::View {
 public:
  static constexpr float kFirstLine = 24;
  static constexpr float kLineSpacing = 19;
  explicit LinesView(cg::Rect frame);
  void drawRect(cg::Context& context, cg::Rect rect) override;
};

class DTNotePadView : public ui::View {
 public:
  // initWithFrame: builds the pad (the set-up needs the pad shared).
  static std::shared_ptr<DTNotePadView> create(cg::Rect frame);
  explicit DTNotePadView(cg::Rect frame);
  ~DTNotePadView() override;

  const std::shared_ptr<ui::TextView>& textView() const { return textView_; }
  const std::shared_ptr<LinesView>& linesView() const { return linesView_; }
  // Not retained.
  void setDelegate(std::weak_ptr<DTNotePadViewDelegate> delegate) { delegate_ = std::move(delegate); }

  // Keeps the ruling under the text lines.
  void scrollViewDidScroll(ui::ScrollView* scrollView);
  // The text's content size changed: the ruling covers it and two pad heights more.
  void contentSizeDidChange(cg::Size size);

  // Keyboard following that a client may register for the keyboard's
  // will-show and will-hide notifications (the pad registers neither): the
  // text ends just above the keyboard, then returns to the pad's size.
  void liftMainViewWhenKeybordAppears(const ns::Value& userInfo);
  void returnMainViewToInitialposition(const ns::Value& userInfo);

 private:
  class TextDelegate;
  void setup();
  // Runs the change inside one animation of the notification's duration and curve.
  static void animateLikeKeyboard(const ns::Value& userInfo, const std::function<void()>& change);

  std::shared_ptr<ui::TextView> textView_;
  std::shared_ptr<LinesView> linesView_;
  std::shared_ptr<TextDelegate> textDelegate_;
  std::weak_ptr<DTNotePadViewDelegate> delegate_;
};
