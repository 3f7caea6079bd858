#pragma once
// An image for the interface: a shared bitmap, the scale it is shown at, and
// optional stretch caps.
#include <memory>
#include <string>

#include "platform/foundation/Data.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

namespace ui {

class Image {
 public:
  // "<resources>/images/<name>" (".png" added when the name has no extension);
  // on a screen of scale 2 the "@2x" file is preferred when it exists. Loaded
  // images are kept and shared. Nothing for a missing or undecodable file,
  // which is logged once per name.
  static std::shared_ptr<Image> imageNamed(const std::string& name);  // the main screen's scale
  static std::shared_ptr<Image> imageNamed(const std::string& name, cg::Float screenScale);
  static std::shared_ptr<Image> imageWithData(const ns::Data& data, cg::Float scale = 1);
  static std::shared_ptr<Image> imageWithContentsOfFile(const std::string& path);
  static std::shared_ptr<Image> imageWithCGImage(std::shared_ptr<cg::Image> image, cg::Float scale = 1);
  // The folder imageNamed() reads from.
  static std::string imagesDirectory();

  Image(std::shared_ptr<cg::Image> image, cg::Float scale);

  const std::shared_ptr<cg::Image>& cgImage() const { return image_; }
  cg::Float scale() const { return scale_; }
  cg::Size size() const;  // points

  // Stretchable images stretch the one row and column after the caps.
  void drawInRect(cg::Context& ctx, const cg::Rect& rect) const;
  void drawAtPoint(cg::Context& ctx, cg::Point p) const;

  // A copy that stretches the column at leftCap and the row at topCap (a cap
  // of 0 stretches the whole width or height).
  std::shared_ptr<Image> stretchableImage(int leftCapWidth, int topCapHeight) const;
  int leftCapWidth() const { return leftCap_; }
  int topCapHeight() const { return topCap_; }

 private:
  std::shared_ptr<cg::Image> image_;
  cg::Float scale_;
  int leftCap_ = 0, topCap_ = 0;
};

}  // namespace ui
