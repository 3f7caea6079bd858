#pragma once
// The spinning wheel of twelve spokes, turned a spoke at a time on the run
// loop's clock while animating; hidden while stopped unless told otherwise.
#include "platform/foundation/RunLoop.h"
#include "platform/ui/View.h"

namespace ui {

// The platform's numbering.
enum class ActivityIndicatorViewStyle { WhiteLarge = 0, White = 1, Gray = 2 };

class ActivityIndicatorView : public View {
 public:
  static constexpr int kSpokes = 12;
  static constexpr double kTurnInterval = 1.0 / kSpokes;  // one turn a second

  // Sized for the style (37 points large, else 20).
  explicit ActivityIndicatorView(ActivityIndicatorViewStyle style = ActivityIndicatorViewStyle::White);
  ~ActivityIndicatorView() override;

  ActivityIndicatorViewStyle activityIndicatorViewStyle() const { return style_; }
  void setActivityIndicatorViewStyle(ActivityIndicatorViewStyle style);
  bool hidesWhenStopped() const { return hidesWhenStopped_; }
  void setHidesWhenStopped(bool hides);

  void startAnimating();
  void stopAnimating();
  bool isAnimating() const { return timer_.isValid(); }
  // The spoke drawn brightest now.
  int step() const { return step_; }

  void drawRect(cg::Context& context, cg::Rect rect) override;

 private:
  ActivityIndicatorViewStyle style_;
  bool hidesWhenStopped_ = true;
  int step_ = 0;
  ns::Timer timer_;
};

}  // namespace ui
