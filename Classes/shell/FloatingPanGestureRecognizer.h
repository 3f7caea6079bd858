#pragma once
// The pan of the floating reading view: recognised once one finger has moved
// 10 points; reports its translation and velocity in a reference view on
// every move and at its end (ended or cancelled). It leaves the touches to
// the views below (the verse table keeps scrolling until the root stops it).
#include <functional>

#include "Classes/shell/iPadRootViewController.h"
#include "platform/ui/GestureRecognizer.h"

class FloatingPanGestureRecognizer : public ui::GestureRecognizer {
 public:
  using Handler = std::function<void(const FloatingPan&)>;
  using ShouldBegin = std::function<bool()>;
  FloatingPanGestureRecognizer(Handler handler, ShouldBegin shouldBegin);

  void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;
  void reset() override;

 private:
  void report(FloatingPan::State state);
  Handler handler_;
  ShouldBegin shouldBegin_;
  bool tracking_ = false, panning_ = false;
  cg::Point start_, last_, velocity_;
  double lastTime_ = 0;
};
