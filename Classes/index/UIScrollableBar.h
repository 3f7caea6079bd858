#pragma once
// A narrow vertical strip of evenly spaced labels over optional art, which
// tells its delegate which label lies under the finger while the finger
// touches or slides along it. The index uses one with the juz numbers.
// Main thread only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/index/TransitionImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

class UIScrollableBarDelegate {
 public:
  virtual ~UIScrollableBarDelegate() = default;
  // The label under the finger; −1 in a gap between labels (to be ignored).
  virtual void scrollableBarSelectedIndex(int index) = 0;
  virtual void scrollableBarFingerDown() = 0;
  virtual void scrollableBarFingerUp() = 0;
};

class UIScrollableBar : public ui::View {
 public:
  using ui::View::View;
  // The labels in the bar's plain colours, without art.
  UIScrollableBar(cg::Rect frame, const std::vector<std::string>& labels, float topPadding);

  // (Re)builds the bar: labels top to bottom between the paddings, the
  // colours at rest and while touched, the art and its touched version
  // (empty names: none).
  void setIndexes(const std::vector<std::string>& titles, float topPadding, float bottomPadding,
                  std::optional<cg::Color> mainColor, std::optional<cg::Color> highlightColor,
                  const std::string& mainImage, const std::string& highlightedImage);
  void setLandscapeImage(const std::string& image, const std::string& highlightImage);
  // Switch the art between the portrait and landscape versions.
  void setupPortrait(double duration);
  void setupLandscape(double duration);

  // The label under a point (only its y counts): the label spanning it, 0
  // above the first, the last below the last, −1 in a gap or without labels.
  int getIndexForTouch(cg::Point point) const;
  void highlightBar();
  void unhighlightBar();

  void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;

  UIScrollableBarDelegate* delegate() const { return delegate_.lock().get(); }
  void setDelegate(std::weak_ptr<UIScrollableBarDelegate> delegate) { delegate_ = std::move(delegate); }
  const std::vector<std::string>& ThisTitles() const { return ThisTitles_; }
  void setThisTitles(std::vector<std::string> titles) { ThisTitles_ = std::move(titles); }
  const std::vector<std::shared_ptr<ui::Label>>& ThisIndexLabels() const { return ThisIndexLabels_; }
  TransitionImageView* imgMainImg() const { return imgMainImg_.get(); }
  bool IsPortrait() const { return IsPortrait_; }

 private:
  void switchArt(const std::string& image, const std::string& highlighted, cg::Rect initRect, double duration);
  int indexOf(const ui::TouchSet& touches) const;

  std::weak_ptr<UIScrollableBarDelegate> delegate_;
  std::vector<std::string> ThisTitles_;
  std::vector<std::shared_ptr<ui::Label>> ThisIndexLabels_;
  std::optional<cg::Color> unhighColor, highColor;
  std::string mainImage, highImage, mainImageLandscape, highImageLandscape;
  std::shared_ptr<TransitionImageView> imgMainImg_;
  bool IsPortrait_ = true;
};
