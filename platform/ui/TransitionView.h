#pragma once
// Drawn over a view during a transition: the picture of the view taken
// before the change, going away by a page curl (up or down) or a fade, as
// the progress runs from 0 to 1. The live content shows where the old
// picture has gone.
#include <memory>

#include "platform/ui/View.h"

namespace cg {
class Image;
}

namespace ui {

class TransitionView : public View {
 public:
  enum class Kind { CurlUp, CurlDown, Fade };

  // A picture of the view's tree as it is drawn now (its bounds, at the
  // screen's scale).
  static std::shared_ptr<cg::Image> snapshotOf(View& view);

  TransitionView(Kind kind, std::shared_ptr<cg::Image> before, cg::Rect frame);

  Kind kind() const { return kind_; }
  float progress() const { return progress_; }
  void setProgress(float progress);

  // Touches go to the live content beneath.
  View* hitTest(cg::Point) override { return nullptr; }
  void drawRect(cg::Context& context, cg::Rect rect) override;

 private:
  void drawCurl(cg::Context& context);

  Kind kind_;
  std::shared_ptr<cg::Image> before_;
  float progress_ = 0;
};

}  // namespace ui
