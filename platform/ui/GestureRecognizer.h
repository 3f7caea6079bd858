#pragma once
// Gesture recognisers: watch the touches of the view they are attached to (and
// of its subviews) and call their actions when the gesture is recognised.
// Long presses are timed on the main run loop's clock.
#include <functional>
#include <memory>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/ui/Responder.h"

namespace ui {

class View;

enum class GestureRecognizerState { Possible, Began, Changed, Ended, Cancelled, Failed };

class GestureRecognizer {
 public:
  using Action = std::function<void(GestureRecognizer&)>;

  explicit GestureRecognizer(Action action = nullptr);
  virtual ~GestureRecognizer();
  GestureRecognizer(const GestureRecognizer&) = delete;
  GestureRecognizer& operator=(const GestureRecognizer&) = delete;

  void addTarget(Action action);
  GestureRecognizerState state() const { return state_; }
  View* view() const { return view_; }
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);
  // When recognised, the view's own touches are cancelled (default true).
  bool cancelsTouchesInView() const { return cancelsTouchesInView_; }
  void setCancelsTouchesInView(bool on) { cancelsTouchesInView_ = on; }
  // Where the gesture is: the centroid of its touches, in the view's space.
  cg::Point locationInView(const View* view) const;

  // Fed by the window with the touches of the hit view's chain.
  virtual void touchesBegan(const TouchSet& touches, const Event& event);
  virtual void touchesMoved(const TouchSet& touches, const Event& event);
  virtual void touchesEnded(const TouchSet& touches, const Event& event);
  virtual void touchesCancelled(const TouchSet& touches, const Event& event);
  // Back to Possible once every touch of the sequence has lifted.
  virtual void reset();

  // Set by View::addGestureRecognizer.
  void attach(View* view) { view_ = view; }

 protected:
  // Moves to the state and calls the actions for Began, Changed and Ended.
  void setState(GestureRecognizerState state);
  bool isActive() const {
    return state_ == GestureRecognizerState::Began || state_ == GestureRecognizerState::Changed;
  }
  void rememberLocation(const TouchSet& touches);
  cg::Point startLocation() const { return start_; }
  cg::Point lastLocation() const { return location_; }

 private:
  std::vector<Action> actions_;
  GestureRecognizerState state_ = GestureRecognizerState::Possible;
  View* view_ = nullptr;  // the view owns the recogniser
  bool enabled_ = true;
  bool cancelsTouchesInView_ = true;
  cg::Point start_;     // window coordinates
  cg::Point location_;  // window coordinates
};

// Recognised when the taps are lifted without moving further than
// allowableMovement (10 points) from where they went down.
class TapGestureRecognizer : public GestureRecognizer {
 public:
  using GestureRecognizer::GestureRecognizer;
  int numberOfTapsRequired() const { return tapsRequired_; }
  void setNumberOfTapsRequired(int n) { tapsRequired_ = n; }

  void touchesMoved(const TouchSet& touches, const Event& event) override;
  void touchesEnded(const TouchSet& touches, const Event& event) override;

 private:
  int tapsRequired_ = 1;
};

// Begins when a touch has stayed down for minimumPressDuration (0.5 s by
// default) within allowableMovement; then reports moves and the lift.
class LongPressGestureRecognizer : public GestureRecognizer {
 public:
  using GestureRecognizer::GestureRecognizer;
  ~LongPressGestureRecognizer() override;
  double minimumPressDuration() const { return minimumPressDuration_; }
  void setMinimumPressDuration(double seconds) { minimumPressDuration_ = seconds; }
  float allowableMovement() const { return allowableMovement_; }
  void setAllowableMovement(float points) { allowableMovement_ = points; }

  void touchesBegan(const TouchSet& touches, const Event& event) override;
  void touchesMoved(const TouchSet& touches, const Event& event) override;
  void touchesEnded(const TouchSet& touches, const Event& event) override;
  void touchesCancelled(const TouchSet& touches, const Event& event) override;
  void reset() override;

 private:
  void cancelTimer();
  double minimumPressDuration_ = 0.5;
  float allowableMovement_ = 10;
};

}  // namespace ui
