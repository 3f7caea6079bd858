#pragma once
// An image view that can change its image with a short animation: the old
// picture fades out and the new one fades in while both grow from a given
// size to the view's own. Main thread only.
#include <memory>

#include "platform/ui/ImageView.h"

class TransitionImageView : public ui::ImageView {
 public:
  using ui::ImageView::ImageView;
  ~TransitionImageView() override;

  // Without animation the image is simply set. Only the size of initRect counts.
  void setImage(std::shared_ptr<ui::Image> image, bool animate, double duration, cg::Rect initRect);
  using ui::ImageView::setImage;
  // The end of the transition: the new image becomes the view's own.
  void animationDidStop(const std::string& name, bool finished, void* context);

  // The outgoing and incoming pictures, present only while a transition runs.
  const std::shared_ptr<ui::ImageView>& originalImageViewContainerView() const { return original_; }
  const std::shared_ptr<ui::ImageView>& intermediateTransitionView() const { return intermediate_; }

 private:
  std::shared_ptr<ui::ImageView> transitionView(std::shared_ptr<ui::Image> image, cg::Rect frame, float alpha) const;

  std::shared_ptr<ui::ImageView> original_;
  std::shared_ptr<ui::ImageView> intermediate_;
  int generation_ = 0;  // the transition whose end is awaited
};
