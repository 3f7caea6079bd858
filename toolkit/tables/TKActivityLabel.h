#pragma once
// A spinning activity indicator beside a one-line text, optionally over a
// progress bar, in a box of one of seven looks: plain text on a clear or
// white background, a dark full-size box, a rounded dark or light bezel
// centred in the view, or a dark banner. The spinner runs from construction.
// Text is shaped by pango, so Arabic joins and runs right to left. Main
// thread only.
#include <memory>
#include <string>

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressView.h"
#include "toolkit/tables/TKView.h"

enum class TKActivityLabelStyle {
  White = 0,        // white text on clear
  Gray = 1,         // gray text on clear
  BlackBox = 2,     // the whole view dark
  BlackBezel = 3,   // a dark rounded box in the middle
  BlackBanner = 4,  // a dark strip
  WhiteBezel = 5,   // a light rounded box in the middle
  WhiteBox = 6,     // the whole view white
};

class TKActivityLabel : public ui::View {
 public:
  TKActivityLabel(cg::Rect frame, TKActivityLabelStyle style, const std::string& text = "");
  explicit TKActivityLabel(TKActivityLabelStyle style) : TKActivityLabel(cg::Rect(), style) {}
  explicit TKActivityLabel(cg::Rect frame = {}) : TKActivityLabel(frame, TKActivityLabelStyle::WhiteBox) {}

  TKActivityLabelStyle style() const { return style_; }
  std::string text() const { return label_->text(); }
  void setText(const std::string& text);
  ui::Font font() const { return label_->font(); }
  void setFont(const ui::Font& font);
  bool isAnimating() const { return activityIndicator_ && activityIndicator_->isAnimating(); }
  // Starts or stops the spinner (the layout is not asked again).
  void setIsAnimating(bool animating);
  // 0 while there is no bar.
  float progress() const { return progressView_ ? progressView_->progress() : 0; }
  // The first call adds the bar.
  void setProgress(float progress);

  TKView* bezelView() const { return bezelView_.get(); }
  ui::ActivityIndicatorView* activityIndicator() const { return activityIndicator_.get(); }
  ui::Label* label() const { return label_.get(); }
  ui::ProgressView* progressView() const { return progressView_.get(); }

  // Spinner and text side by side as one centred block in the bezel.
  void layoutSubviews() override;
  // The offered width; a line and the style's padding high (with the bar's room).
  cg::Size sizeThatFits(cg::Size size) const override;

 private:
  bool isBezel() const {
    return style_ == TKActivityLabelStyle::BlackBezel || style_ == TKActivityLabelStyle::WhiteBezel;
  }

  TKActivityLabelStyle style_;
  std::shared_ptr<TKView> bezelView_;
  std::shared_ptr<ui::ActivityIndicatorView> activityIndicator_;
  std::shared_ptr<ui::Label> label_;
  std::shared_ptr<ui::ProgressView> progressView_;
  float spinnerSize_ = 0;
};
