#pragma once
// Round progress: a pie that fills clockwise from the top over a faint disc
// with a white ring (MBRoundProgressView), and the same as a button with a
// grey spinner inside that turns until the progress is whole
// (RoundProgressButton). Progress is 0 to 1. Main thread.
#include <memory>

#include "platform/ui/Button.h"

namespace ui {
class ActivityIndicatorView;
}

namespace round_progress {
// The disc, ring and pie of a progress in the bounds.
void draw(cg::Context& context, cg::Rect bounds, float progress);
}  // namespace round_progress

class MBRoundProgressView : public ui::View {
 public:
  explicit MBRoundProgressView(cg::Rect frame = cg::Rect(0, 0, 37, 37));
  float progress() const { return progress_; }
  void setProgress(float progress);
  void drawRect(cg::Context& context, cg::Rect rect) override;

 private:
  float progress_ = 0;
};

class RoundProgressButton : public ui::Button {
 public:
  explicit RoundProgressButton(cg::Rect frame = cg::Rect(0, 0, 37, 37));
  float progress() const { return progress_; }
  // Exactly 1 stops the spinner; any other value starts it.
  void setProgress(float progress);
  ui::ActivityIndicatorView* spinner() const { return spinner_.get(); }
  void drawRect(cg::Context& context, cg::Rect rect) override;
  void layoutSubviews() override;

 private:
  float progress_ = 0;
  std::shared_ptr<ui::ActivityIndicatorView> spinner_;
};
