#pragma once
// A view that draws an image (another while highlighted) placed by its
// content mode. Takes no touches by default.
#include <memory>

#include "platform/ui/Image.h"
#include "platform/ui/View.h"

namespace ui {

// Where content of the size goes in the bounds for the mode (Redraw scales to fill).
cg::Rect rectForContentMode(ContentMode mode, cg::Size content, cg::Rect bounds);

class ImageView : public View {
 public:
  ImageView();
  explicit ImageView(cg::Rect frame);
  // Sized to the image, at the origin.
  explicit ImageView(std::shared_ptr<Image> image);

  const std::shared_ptr<Image>& image() const { return image_; }
  void setImage(std::shared_ptr<Image> image);
  const std::shared_ptr<Image>& highlightedImage() const { return highlightedImage_; }
  void setHighlightedImage(std::shared_ptr<Image> image);
  bool isHighlighted() const { return highlighted_; }
  void setHighlighted(bool highlighted);
  // The image drawn now: the highlighted one while highlighted (when set).
  const std::shared_ptr<Image>& currentImage() const;

  cg::Size sizeThatFits(cg::Size size) const override;
  void drawRect(cg::Context& context, cg::Rect rect) override;

 protected:
  bool drawsInOnePaint() const override;
  float drawingReach() const override;

 private:
  std::shared_ptr<Image> image_;
  std::shared_ptr<Image> highlightedImage_;
  bool highlighted_ = false;
};

}  // namespace ui
