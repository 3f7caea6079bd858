#pragma once
// The view that shows a verse row's Arabic text. It draws nothing of its own
// beyond the view's background: its delegate draws the verse into the
// context inside the canvas's drawing pass.
#include <memory>

#include "platform/ui/View.h"

class VerseCanvas;

class VerseCanvasDelegate {
 public:
  virtual ~VerseCanvasDelegate() = default;
  virtual void drawArabicVerseInCanvas(cg::Context& context, VerseCanvas& canvas) = 0;
};

class VerseCanvas : public ui::View {
 public:
  using ui::View::View;

  void drawRect(cg::Context& context, cg::Rect rect) override;

  // The verse row that owns the canvas is its delegate, so the link is weak.
  std::shared_ptr<VerseCanvasDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<VerseCanvasDelegate> delegate) { delegate_ = std::move(delegate); }

 private:
  std::weak_ptr<VerseCanvasDelegate> delegate_;
};
