#pragma once
// A modal progress display laid over a view while work runs: a dark rounded
// box holding a large spinner, a round progress pie or a view of the caller's,
// and up to two lines of text. It takes every touch over the view it covers.
// It can wait a grace time before showing (and then not show at all when the
// work ended first), stay a least time once shown, and run the work on a
// thread of its own. Its delegate hears when it has been hidden. Main thread;
// the mode, texts and progress may be set from any thread.
#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/View.h"

class MBProgressHUD;
namespace ui {
class Label;
}

class MBProgressHUDDelegate {
 public:
  virtual ~MBProgressHUDDelegate() = default;
  virtual void hudWasHidden(MBProgressHUD& hud) { (void)hud; }
};

class MBProgressHUD : public ui::View {
 public:
  enum Mode { Indeterminate = 0, Determinate = 1, CustomView = 2 };
  enum AnimationType { Fade = 0, Zoom = 1 };

  // initWithView: covers the view (which must exist).
  static std::shared_ptr<MBProgressHUD> initWithView(ui::View& view);
  // Makes one for the view, adds it and shows it.
  static std::shared_ptr<MBProgressHUD> showHUDAddedTo(ui::View& view, bool animated);
  // Hides the last one among the view's subviews (removed once hidden); false when none.
  static bool hideHUDForView(ui::View& view, bool animated);

  explicit MBProgressHUD(cg::Rect frame);

  void show(bool animated);
  void hide(bool animated);
  void hide(bool animated, double delay);
  // Runs the work on a new thread while the display shows; hides it (on the
  // main thread) when the work returns.
  void showWhileExecuting(std::function<void()> work, bool animated);

  int mode() const { return mode_; }
  void setMode(int mode);
  const std::string& labelText() const { return labelText_; }
  void setLabelText(const std::string& text);
  const std::string& detailsLabelText() const { return detailsLabelText_; }
  void setDetailsLabelText(const std::string& text);
  float progress() const { return progress_; }
  void setProgress(float progress);
  void setCustomView(std::shared_ptr<ui::View> view) { customView_ = std::move(view); }

  int animationType = Fade;
  float opacity = 0.8f;
  float xOffset = 0, yOffset = 0;
  float margin = 20;
  cg::Size minSize{0, 0};
  bool dimBackground = false;
  double graceTime = 0;
  double minShowTime = 0;
  bool removeFromSuperViewOnHide = false;
  bool taskInProgress() const { return taskInProgress_; }
  std::weak_ptr<MBProgressHUDDelegate> delegate;
  // The box's size after the last layout.
  cg::Size boxSize() const { return {width_, height_}; }
  bool isShowing() const { return showing_; }
  ui::Label* label() const { return label_.get(); }
  ui::Label* detailsLabel() const { return detailsLabel_.get(); }
  ui::View* indicator() const { return indicator_.get(); }

  void layoutSubviews() override;
  void drawRect(cg::Context& context, cg::Rect rect) override;

 private:
  void updateIndicator();
  void showNow(bool animated);
  void hideNow(bool animated);
  void done();
  template <class F>
  void onMain(F fn);

  int mode_ = Indeterminate;
  std::string labelText_, detailsLabelText_;
  float progress_ = 0;
  float width_ = 0, height_ = 0;
  bool taskInProgress_ = false, showing_ = false, useAnimation_ = false;
  double showStarted_ = 0;
  std::shared_ptr<ui::View> indicator_, customView_;
  std::shared_ptr<ui::Label> label_, detailsLabel_;
  ns::Timer graceTimer_, minShowTimer_;
};
