#pragma once
// A bar that fills from the left with the progress (0 to 1), in the default
// style or the darker bar style made for toolbars.
#include "platform/ui/View.h"

namespace ui {

// The platform's numbering.
enum class ProgressViewStyle { Default = 0, Bar = 1 };

class ProgressView : public View {
 public:
  explicit ProgressView(ProgressViewStyle style = ProgressViewStyle::Default);

  ProgressViewStyle progressViewStyle() const { return style_; }
  void setProgressViewStyle(ProgressViewStyle style);
  float progress() const { return progress_; }
  // Clamped to 0..1 (a value that is not a number counts as 0).
  void setProgress(float progress);

  void drawRect(cg::Context& context, cg::Rect rect) override;

 private:
  ProgressViewStyle style_;
  float progress_ = 0;
};

}  // namespace ui
