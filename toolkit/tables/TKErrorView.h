#pragma once
// The centred image, title and subtitle that the table screen lays over its
// table when the data is empty or failed to load. Main thread only.
#include <memory>
#include <string>

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

class TKErrorView : public ui::View {
 public:
  explicit TKErrorView(cg::Rect frame = {});
  TKErrorView(const std::string& title, const std::string& subtitle, std::shared_ptr<ui::Image> image);

  // Kept by the labels and the image view; setting them lays nothing out.
  std::string title() const { return titleView_->text(); }
  void setTitle(const std::string& title) { titleView_->setText(title); }
  std::string subtitle() const { return subtitleView_->text(); }
  void setSubtitle(const std::string& subtitle) { subtitleView_->setText(subtitle); }
  std::shared_ptr<ui::Image> image() const { return imageView_->image(); }
  void setImage(std::shared_ptr<ui::Image> image) { imageView_->setImage(std::move(image)); }

  ui::ImageView* imageView() const { return imageView_.get(); }
  ui::Label* titleView() const { return titleView_.get(); }
  ui::Label* subtitleView() const { return subtitleView_.get(); }

  // One block centred down the view with 20 points between the parts there
  // are; the image only where the whole block fits with 40 points to spare.
  // The subtitle wraps to the view's width.
  void layoutSubviews() override;

 private:
  std::shared_ptr<ui::ImageView> imageView_;
  std::shared_ptr<ui::Label> titleView_;
  std::shared_ptr<ui::Label> subtitleView_;
};
