#include "toolkit/tables/TKErrorView.h"

#include <cmath>

#include "toolkit/styled/TKDefaultStyleSheet.h"

namespace {
constexpr float kVPadding = 20;
constexpr float kHPadding = 10;
}  // namespace

namespace {

std::shared_ptr<ui::Label> centredLabel(const ui::Font& font) {
  auto label = std::make_shared<ui::Label>();
  label->setBackgroundColor(cg::Color::clear());
  label->setTextColor(TKStyleSheet::globalStyleSheet()->tableErrorTextColor());
  label->setFont(font);
  label->setTextAlignment(ui::TextAlignment::Center);
  return label;
}

}  // namespace

TKErrorView::TKErrorView(cg::Rect frame) : ui::View(frame) {
  auto sheet = TKStyleSheet::globalStyleSheet();
  imageView_ = std::make_shared<ui::ImageView>();
  imageView_->setContentMode(ui::ContentMode::Center);
  addSubview(imageView_);
  titleView_ = centredLabel(sheet->errorTitleFont());
  addSubview(titleView_);
  subtitleView_ = centredLabel(sheet->errorSubtitleFont());
  subtitleView_->setNumberOfLines(0);
  addSubview(subtitleView_);
}

TKErrorView::TKErrorView(const std::string& title, const std::string& subtitle, std::shared_ptr<ui::Image> image)
    : TKErrorView(cg::Rect()) {
  setTitle(title);
  setSubtitle(subtitle);
  setImage(std::move(image));
}

void TKErrorView::layoutSubviews() {
  float W = frame().width(), H = frame().height();
  cg::Size sub = subtitleView_->sizeThatFits({std::max(0.0f, W - 2 * kHPadding), 0});
  subtitleView_->setFrame(cg::Rect(subtitleView_->frame().origin, sub));
  titleView_->sizeToFit();
  imageView_->sizeToFit();
  float imageH = imageView_->frame().height(), titleH = titleView_->frame().height(), subH = sub.height;

  bool showImage = imageView_->image() && H > imageH + titleH + subH + kVPadding * 2;
  float total = showImage ? imageH : 0;
  if (!titleView_->text().empty()) total += titleH + (total > 0 ? kVPadding : 0);
  if (!subtitleView_->text().empty()) total += subH + (total > 0 ? kVPadding : 0);

  float top = std::floor(H / 2 - total / 2);
  auto centre = [&](ui::View& v) {
    v.setFrame(cg::Rect(std::floor(W / 2 - v.frame().width() / 2), top, v.frame().width(), v.frame().height()));
    top += v.frame().height() + kVPadding;
  };
  imageView_->setHidden(!showImage);
  if (showImage) centre(*imageView_);
  if (!titleView_->text().empty()) centre(*titleView_);
  if (!subtitleView_->text().empty()) centre(*subtitleView_);
}
