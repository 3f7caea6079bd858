#pragma once
// A one-line text that, while animated, lets a soft round glint of a second
// colour sweep across it from left to right, again and again, with a pause
// after each sweep. The text is laid out with pango like every other label,
// so any script draws correctly. The glint moves on a timer of the run loop's
// clock and redraws at most once a frame; its mask is painted into one
// offscreen buffer per start of the animation. Main thread only.
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Context.h"
#include "platform/text/Font.h"
#include "platform/ui/View.h"

class TKSearchlightLabel : public ui::View {
 public:
  static constexpr double kTick = 0.03125;
  static constexpr double kStep = 0.040625;  // of the text's width per tick

  explicit TKSearchlightLabel(cg::Rect frame = {});
  ~TKSearchlightLabel() override;

  // None of the setters redraws.
  const std::string& text() const { return text_; }
  void setText(const std::string& text) { text_ = text; }
  const ui::Font& font() const { return font_; }
  void setFont(const ui::Font& font) { font_ = font; }
  cg::Color textColor() const { return textColor_; }
  void setTextColor(cg::Color color) { textColor_ = color; }
  cg::Color spotlightColor() const { return spotlightColor_; }
  void setSpotlightColor(cg::Color color) { spotlightColor_ = color; }
  // 0 left, 1 centred, 2 right.
  int textAlignment() const { return textAlignment_; }
  void setTextAlignment(int alignment) { textAlignment_ = alignment; }

  bool isAnimating() const { return timer_.isValid(); }
  // The glint's place as a fraction of the text's width (-0.5 at each start).
  float spotlightPoint() const { return spotlightPoint_; }
  void startAnimating();
  // Redraws whether or not the glint was running.
  void stopAnimating();
  // One step of the glint (the timer's call).
  void updateSpotlight();
  bool hasMask() const { return maskContext_ != nullptr; }

  void drawRect(cg::Context& context, cg::Rect rect) override;
  // The text's size on one line, whatever size is offered.
  cg::Size sizeThatFits(cg::Size size) const override;

 private:
  void newMask();
  void releaseMask();
  // The glint: opaque at the origin, clear at the radius.
  std::shared_ptr<cg::Image> newSpotlightMask(cg::Rect rect, cg::Point origin, float radius);

  std::string text_;
  ui::Font font_;
  cg::Color textColor_ = cg::Color::gray(0.25f);
  cg::Color spotlightColor_ = cg::Color::white();
  int textAlignment_ = 0;
  ns::Timer timer_;
  float spotlightPoint_ = -0.5f;
  std::unique_ptr<cg::Context> maskContext_;
  cg::Size maskSize_;
};
