#include "Classes/index/UIScrollableBar.h"

#include <cmath>

#include "platform/ui/Image.h"

namespace {

// The touched art stretches between its rounded ends.
std::shared_ptr<ui::Image> stretchedHighlight(const std::string& name) {
  auto image = ui::Image::imageNamed(name);
  return image ? image->stretchableImage(0, 19) : nullptr;
}

}  // namespace

UIScrollableBar::UIScrollableBar(cg::Rect frame, const std::vector<std::string>& labels, float topPadding)
    : ui::View(frame) {
  setIndexes(labels, topPadding, 8.0f, cg::Color::fromRGB255(112, 118, 108), cg::Color::fromRGB255(29, 29, 29), "",
             "");
}

void UIScrollableBar::setIndexes(const std::vector<std::string>& titles, float topPadding, float bottomPadding,
                                 std::optional<cg::Color> mainColor, std::optional<cg::Color> highlightColor,
                                 const std::string& mainImageName, const std::string& highlightedImageName) {
  ThisTitles_ = titles;
  IsPortrait_ = true;
  unhighColor = mainColor;
  highColor = highlightColor;
  mainImage = mainImageName;
  highImage = highlightedImageName;

  for (auto& label : ThisIndexLabels_) label->removeFromSuperview();
  ThisIndexLabels_.clear();
  if (imgMainImg_) {
    imgMainImg_->removeFromSuperview();
    imgMainImg_.reset();
  }
  if (titles.empty()) return;

  float w = bounds().width(), h = bounds().height();
  if (!mainImage.empty()) {
    imgMainImg_ = std::make_shared<TransitionImageView>(cg::Rect(0, 4, w, h - 8));
    imgMainImg_->setImage(ui::Image::imageNamed(mainImage));
    imgMainImg_->setAutoresizingMask(ui::ViewAutoresizingFlexibleHeight);
    imgMainImg_->setUserInteractionEnabled(false);
    if (!highImage.empty()) imgMainImg_->setHighlightedImage(stretchedHighlight(highImage));
    addSubview(imgMainImg_);
  }

  float step = (h - topPadding - bottomPadding) / float(titles.size());
  float height = std::floor(step);
  // One extra point after every even-numbered label when the step's fraction
  // is at least one half, so that the labels spread over the whole bar.
  float extra = std::round(step - height);
  for (size_t i = 0; i < titles.size(); ++i) {
    float y = topPadding + float(i) * height + extra * float((i + 1) / 2);
    auto label = std::make_shared<ui::Label>(cg::Rect(0, y, w, height));
    label->setFont(ui::Font::fontWithName("Helvetica", 11));
    if (unhighColor) label->setTextColor(*unhighColor);
    label->setBackgroundColor(std::nullopt);
    label->setOpaque(false);
    label->setContentMode(ui::ContentMode::Top);
    label->setAutoresizingMask(ui::ViewAutoresizingFlexibleTopMargin | ui::ViewAutoresizingFlexibleHeight |
                               ui::ViewAutoresizingFlexibleBottomMargin);
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setText(titles[i]);
    addSubview(label);
    ThisIndexLabels_.push_back(label);
  }
}

void UIScrollableBar::setLandscapeImage(const std::string& image, const std::string& highlightImage) {
  mainImageLandscape = image;
  highImageLandscape = highlightImage;
}

void UIScrollableBar::switchArt(const std::string& image, const std::string& highlighted, cg::Rect initRect,
                                double duration) {
  if (!imgMainImg_) return;
  if (!image.empty()) imgMainImg_->setImage(ui::Image::imageNamed(image), true, duration, initRect);
  if (!highlighted.empty()) imgMainImg_->setHighlightedImage(stretchedHighlight(highlighted));
}

void UIScrollableBar::setupPortrait(double duration) {
  if (IsPortrait_) return;
  IsPortrait_ = true;
  switchArt(mainImage, highImage, cg::Rect(0, 0, 44, 207), duration);
}

void UIScrollableBar::setupLandscape(double duration) {
  if (!IsPortrait_) return;
  switchArt(mainImageLandscape, highImageLandscape, cg::Rect(0, 0, 44, 367), duration);
  IsPortrait_ = false;
}

int UIScrollableBar::getIndexForTouch(cg::Point point) const {
  float y = point.y;
  for (size_t i = 0; i < ThisIndexLabels_.size(); ++i) {
    cg::Rect f = ThisIndexLabels_[i]->frame();
    if (f.minY() <= y && y <= f.maxY()) return int(i);
  }
  if (ThisIndexLabels_.empty()) return -1;
  if (y <= ThisIndexLabels_.front()->frame().minY()) return 0;
  if (y >= ThisIndexLabels_.back()->frame().minY()) return int(ThisIndexLabels_.size()) - 1;
  return -1;
}

void UIScrollableBar::highlightBar() {
  if (highColor)
    for (auto& label : ThisIndexLabels_) label->setTextColor(*highColor);
  if (imgMainImg_) imgMainImg_->setHighlighted(true);
}

void UIScrollableBar::unhighlightBar() {
  if (unhighColor)
    for (auto& label : ThisIndexLabels_) label->setTextColor(*unhighColor);
  if (imgMainImg_) imgMainImg_->setHighlighted(false);
  if (auto* d = delegate()) d->scrollableBarFingerUp();
}

int UIScrollableBar::indexOf(const ui::TouchSet& touches) const {
  return touches.empty() ? -1 : getIndexForTouch(touches.front()->locationInView(this));
}

void UIScrollableBar::touchesBegan(const ui::TouchSet& touches, const ui::Event& event) {
  ui::View::touchesBegan(touches, event);
  highlightBar();
  if (auto* d = delegate()) d->scrollableBarSelectedIndex(indexOf(touches));
  if (auto* d = delegate()) d->scrollableBarFingerDown();
}

void UIScrollableBar::touchesMoved(const ui::TouchSet& touches, const ui::Event& event) {
  ui::View::touchesMoved(touches, event);
  if (auto* d = delegate()) d->scrollableBarSelectedIndex(indexOf(touches));
}

void UIScrollableBar::touchesEnded(const ui::TouchSet& touches, const ui::Event& event) {
  ui::View::touchesEnded(touches, event);
  unhighlightBar();
}

void UIScrollableBar::touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) {
  ui::View::touchesCancelled(touches, event);
  unhighlightBar();
}
