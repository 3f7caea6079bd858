#include "Classes/index/TransitionImageView.h"

TransitionImageView::~TransitionImageView() {
  original_.reset();
  intermediate_.reset();
}

std::shared_ptr<ui::ImageView> TransitionImageView::transitionView(std::shared_ptr<ui::Image> image, cg::Rect frame,
                                                                   float alpha) const {
  auto view = std::make_shared<ui::ImageView>(frame);
  view->setBackgroundColor(std::nullopt);
  view->setContentMode(contentMode());
  view->setAutoresizesSubviews(autoresizesSubviews());
  view->setAutoresizingMask(autoresizingMask());
  view->setClipsToBounds(clipsToBounds());
  view->setImage(std::move(image));
  view->setAlpha(alpha);
  return view;
}

void TransitionImageView::setImage(std::shared_ptr<ui::Image> image, bool animate, double duration,
                                   cg::Rect initRect) {
  if (!animate) {
    setImage(std::move(image));
    return;
  }
  // A transition still running ends where it is.
  if (intermediate_) animationDidStop("ImageViewTransitions", false, nullptr);
  cg::Rect target(0, 0, bounds().width(), bounds().height());
  cg::Rect start(0, 0, initRect.width(), initRect.height());
  intermediate_ = transitionView(std::move(image), start, 0);
  original_ = transitionView(this->image(), start, 1);
  ui::ImageView::setImage(nullptr);
  addSubview(original_);
  addSubview(intermediate_);

  ui::View::beginAnimations("ImageViewTransitions");
  ui::View::setAnimationDuration(duration);
  ui::View::setAnimationCurve(ui::AnimationCurve::EaseOut);
  ui::View::setAnimationDelegate(std::weak_ptr<const void>(weak_from_this().lock()));
  std::weak_ptr<ui::View> weak = weak_from_this();
  int generation = ++generation_;
  ui::View::setAnimationDidStopSelector([weak, generation](const std::string& name, bool finished, void* context) {
    auto self = std::static_pointer_cast<TransitionImageView>(weak.lock());
    if (self && self->generation_ == generation) self->animationDidStop(name, finished, context);
  });
  intermediate_->setFrame(target);
  original_->setFrame(target);
  intermediate_->setAlpha(1);
  original_->setAlpha(0);
  ui::View::commitAnimations();
}

void TransitionImageView::animationDidStop(const std::string&, bool, void*) {
  if (!intermediate_) return;
  setAlpha(1);
  ui::ImageView::setImage(intermediate_->image());
  intermediate_->removeFromSuperview();
  if (original_) original_->removeFromSuperview();
  intermediate_.reset();
  original_.reset();
}
