#pragma once
// The narrow strip at the edge of the reading area that jumps through a long
// surah: a drag along it previews the verse under the finger and jumps there
// on release; a tap pages forward. The strip only recognises the gestures
// (a tap, or a pan once the finger has moved off the tap's 10 points) and
// reports them to its delegate; it draws nothing. Main thread only.
#include <memory>
#include <optional>

#include "platform/foundation/Date.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/View.h"

class FastScrollViewDelegate {
 public:
  virtual ~FastScrollViewDelegate() = default;
  virtual void fastScrollTapped() = 0;
  // The finger's point in the strip.
  virtual void updateFastScrollPreview(cg::Point point) = 0;
  // The finger lifted on the strip: jump.
  virtual void hideFastScrollPreview() = 0;
  // The gesture was abandoned: no jump.
  virtual void cancelFastScrollPreview() = 0;
};

class FastScrollView : public ui::View {
 public:
  // Beyond these the finger has left the strip to the side.
  static constexpr float kMinX = -2;
  static constexpr float kMaxX = 59;
  // A drag that ends this soon after it began is a flick and jumps nowhere.
  static constexpr double kFlickSeconds = 0.18;
  static constexpr float kTapMovement = 10;

  explicit FastScrollView(cg::Rect frame);

  // Starts recognising the tap and the pan.
  void addGesture();
  void handleTapGesture(ui::GestureRecognizerState state);
  void handlePanGesture(ui::GestureRecognizerState state, cg::Point location);

  void setDelegate(std::weak_ptr<FastScrollViewDelegate> delegate) { delegate_ = std::move(delegate); }
  const std::optional<ns::Date>& lastTouchDate() const { return lastTouchDate_; }

  void drawRect(cg::Context&, cg::Rect) override {}
  void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;

 private:
  enum class Tracking { None, Tap, Pan };
  cg::Point locationOf(const ui::TouchSet& touches) const;

  std::optional<ns::Date> lastTouchDate_;
  std::weak_ptr<FastScrollViewDelegate> delegate_;
  bool recognising_ = false;
  Tracking tracking_ = Tracking::None;
  cg::Point start_;
};
