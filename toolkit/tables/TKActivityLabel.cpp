#include "toolkit/tables/TKActivityLabel.h"

#include <algorithm>
#include <cmath>

#include "platform/text/TextMeasure.h"
#include "toolkit/core/Font+TKCategory.h"
#include "toolkit/core/TKGlobal.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"

namespace {

constexpr float kSpacing = 6;
constexpr float kBezelMargin = 20, kBezelPadding = 15, kPadding = 8;
const cg::Color kTextShadow = cg::Color(0, 0, 0, 0.3f);

struct Look {
  std::optional<cg::Color> background;
  const char* bezel;  // the sheet's style, or none
  ui::ActivityIndicatorViewStyle spinner;
  bool largeSpinner24;
  bool bannerFont;
  bool grayText;
  bool shadow;
};

Look lookOf(TKActivityLabelStyle style) {
  using S = ui::ActivityIndicatorViewStyle;
  switch (style) {
    case TKActivityLabelStyle::White: return {cg::Color::clear(), nullptr, S::White, false, false, false, false};
    case TKActivityLabelStyle::Gray: return {cg::Color::clear(), nullptr, S::Gray, false, false, true, false};
    case TKActivityLabelStyle::BlackBox:
      return {cg::Color(0, 0, 0, 0.8f), nullptr, S::WhiteLarge, true, false, false, true};
    case TKActivityLabelStyle::BlackBezel:
      return {cg::Color::clear(), "blackBezel", S::WhiteLarge, true, false, false, true};
    case TKActivityLabelStyle::BlackBanner:
      return {cg::Color::clear(), "blackBanner", S::White, false, true, false, true};
    case TKActivityLabelStyle::WhiteBezel: return {cg::Color::clear(), "whiteBezel", S::Gray, false, false, true, false};
    case TKActivityLabelStyle::WhiteBox: return {cg::Color::white(), nullptr, S::Gray, false, false, true, false};
  }
  return {cg::Color::clear(), nullptr, S::Gray, false, false, true, false};
}

bool isKnown(TKActivityLabelStyle style) { return int(style) >= 0 && int(style) <= 6; }

}  // namespace

TKActivityLabel::TKActivityLabel(cg::Rect frame, TKActivityLabelStyle style, const std::string& text)
    : ui::View(frame), style_(style) {
  auto sheet = TKStyleSheet::globalStyleSheet();
  Look look = lookOf(style);
  bezelView_ = std::make_shared<TKView>();
  bezelView_->setBackgroundColor(cg::Color::clear());
  setBackgroundColor(isKnown(style) ? look.background : cg::Color::clear());
  if (isKnown(style) && look.bezel) bezelView_->setStyle(sheet->styleWithSelector(look.bezel));

  label_ = std::make_shared<ui::Label>();
  label_->setText(text);
  label_->setBackgroundColor(cg::Color::clear());
  label_->setLineBreakMode(ui::LineBreakMode::TruncateTail);
  label_->setFont(look.bannerFont ? sheet->activityBannerFont() : sheet->activityLabelFont());
  label_->setTextColor(look.grayText ? sheet->tableActivityTextColor() : cg::Color::white());
  if (look.shadow) {
    label_->setShadowColor(kTextShadow);
    label_->setShadowOffset({1, 1});
  } else {
    label_->setShadowColor(std::nullopt);
  }

  addSubview(bezelView_);
  if (isKnown(style)) {
    activityIndicator_ = std::make_shared<ui::ActivityIndicatorView>(look.spinner);
    if (look.largeSpinner24) activityIndicator_->setFrame(cg::Rect(0, 0, 24, 24));
    spinnerSize_ = activityIndicator_->frame().height();
    bezelView_->addSubview(activityIndicator_);
  }
  bezelView_->addSubview(label_);
  if (activityIndicator_) activityIndicator_->startAnimating();
}

void TKActivityLabel::setText(const std::string& text) {
  label_->setText(text);
  setNeedsLayout();
}

void TKActivityLabel::setFont(const ui::Font& font) {
  label_->setFont(font);
  setNeedsLayout();
}

void TKActivityLabel::setIsAnimating(bool animating) {
  if (!activityIndicator_) return;
  if (animating) activityIndicator_->startAnimating();
  else activityIndicator_->stopAnimating();
}

void TKActivityLabel::setProgress(float progress) {
  if (!progressView_) {
    progressView_ = std::make_shared<ui::ProgressView>(ui::ProgressViewStyle::Default);
    bezelView_->addSubview(progressView_);
    setNeedsLayout();
  }
  progressView_->setProgress(progress);
}

void TKActivityLabel::layoutSubviews() {
  float W = frame().width(), H = frame().height();
  cg::Size T = label_->text().empty() ? cg::Size() : ui::sizeWithFont(label_->text(), label_->font());
  float s = 0;
  // The spinner's own size, not its frame: a stopped spinner is laid out
  // 0 x 0 and would otherwise never grow back when it starts again.
  if (isAnimating()) s = std::min(spinnerSize_, T.height);
  float cw = s + kSpacing + T.width;
  float ch = std::max(s, T.height);
  float barH = 0;
  if (progressView_) {
    progressView_->sizeToFit();
    barH = progressView_->frame().height();
    ch += barH + kSpacing;
  }
  float m = 0, p = kPadding, bw = W, bh = H;
  if (isBezel()) {
    m = kBezelMargin;
    p = kBezelPadding;
    bw = cw + kBezelPadding * 2;
    bh = ch + kBezelPadding * 2;
  }
  float maxWidth = TKOrientedScreenBounds().width() - m;
  if (bw > maxWidth) {
    bw = maxWidth;
    cw = maxWidth - (s + kSpacing);
  }
  bezelView_->setFrame(cg::Rect(std::floor(W / 2 - bw / 2), std::floor(H / 2 - bh / 2), bw, bh));
  float labelWidth = std::min(T.width, bw - (s + kSpacing) - p * 2);
  float y = p + std::floor((bh - p * 2) / 2 - ch / 2);
  if (progressView_) {
    if (style_ == TKActivityLabelStyle::BlackBanner) y += 4;
    progressView_->setFrame(cg::Rect(6, y, bw - 12, barH));
    y += barH + 5;
  }
  label_->setFrame(cg::Rect(std::floor(bw / 2 - cw / 2 + s + kSpacing), y, labelWidth, T.height));
  if (activityIndicator_) activityIndicator_->setFrame(cg::Rect(label_->frame().x() - (s + kSpacing), y, s, s));
}

cg::Size TKActivityLabel::sizeThatFits(cg::Size size) const {
  float h = ui::TKLineHeight(label_->font()) + (isBezel() ? kBezelPadding * 2 : 16);
  if (progressView_) h += progressView_->sizeThatFits({}).height + kSpacing;
  return {size.width, h};
}
