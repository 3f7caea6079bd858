#pragma once
// An image for the interface: a shared bitmap, the scale it is shown at, and
// optional stretch caps.
#include <cstddef>
#include <memory>
#include <string>

#include "platform/foundation/Data.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

namespace ui {

class Image {
 public:
  // "<resources>/images/<name>" (".png" added when the name has no extension);
  // on a screen of scale 2 the "@2x" file is preferred when it exists. Only
  // the file's header is read here: the pixels are decoded when first drawn
  // (or asked for), so an image that is never shown costs nothing. Named
  // images are shared while anything holds them; small ones are also kept a
  // while after that, within a budget, as screens ask for them again and
  // again. Nothing for a missing file or one whose header is no image, which
  // is logged once per name; pixels that turn out undecodable draw nothing.
  static std::shared_ptr<Image> imageNamed(const std::string& name);  // the main screen's scale
  static std::shared_ptr<Image> imageNamed(const std::string& name, cg::Float screenScale);
  static std::shared_ptr<Image> imageWithData(const ns::Data& data, cg::Float scale = 1);
  static std::shared_ptr<Image> imageWithContentsOfFile(const std::string& path);
  static std::shared_ptr<Image> imageWithCGImage(std::shared_ptr<cg::Image> image, cg::Float scale = 1);
  // The folder imageNamed() reads from.
  static std::string imagesDirectory();
  // Lets go of the named images nothing else holds (a memory warning).
  static void purgeUnusedNamedImages();
  // Named images kept beyond those in use: each at most kKeptImageBytes of
  // pixels, together at most kKeptBytes.
  static constexpr std::size_t kKeptImageBytes = std::size_t(1) << 20;
  static constexpr std::size_t kKeptBytes = std::size_t(8) << 20;

  Image(std::shared_ptr<cg::Image> image, cg::Float scale);

  // The pixels, decoded now if not yet.
  const std::shared_ptr<cg::Image>& cgImage() const;
  // Whether the pixels are decoded (an image made from pixels always is).
  bool isDecoded() const;
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
  // A file's pixels, decoded on first use; shared by the copies of one named image.
  struct Bitmap;
  Image(std::shared_ptr<Bitmap> bitmap, cg::Float scale);
  friend struct NamedImages;

  std::shared_ptr<cg::Image> image_;  // null while bitmap_ holds the pixels
  std::shared_ptr<Bitmap> bitmap_;
  cg::Float scale_;
  int leftCap_ = 0, topCap_ = 0;
};

}  // namespace ui
