#pragma once
// An immutable bitmap: a cairo ARGB32 image surface (premultiplied alpha).
// Images are shared between threads freely; nothing changes their pixels.
#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/foundation/Data.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"

namespace cg {

// One pixel, unpremultiplied, 0-255 per component.
struct RGBA {
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
  friend bool operator==(const RGBA&, const RGBA&) = default;
};

class Image {
 public:
  // Largest side and pixel count accepted from outside bytes.
  static constexpr int kMaxSide = 16384;
  static constexpr std::int64_t kMaxPixels = std::int64_t(64) << 20;

  // Nothing for bytes that are not a whole PNG of a sane size.
  static std::shared_ptr<Image> fromPNGData(const ns::Data& data, Float scale = 1);
  static std::shared_ptr<Image> fromFile(const std::string& path, Float scale = 1);
  // Nothing for bytes that are not a whole baseline or progressive JPEG of a sane size.
  static std::shared_ptr<Image> fromJPEGData(const ns::Data& data, Float scale = 1);
  // PNG or JPEG, told apart by their signatures.
  static std::shared_ptr<Image> fromData(const ns::Data& data, Float scale = 1);
  // Takes a reference to an ARGB32 image surface the caller no longer draws into.
  static std::shared_ptr<Image> fromSurface(cairo_surface_t* surface, Float scale = 1);
  // A copy of the pixels of any image surface, converted to ARGB32.
  static std::shared_ptr<Image> copyOfSurface(cairo_surface_t* surface, Float scale = 1);

  ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  int width() const { return width_; }    // pixels
  int height() const { return height_; }  // pixels
  Float scale() const { return scale_; }
  Size size() const { return {width_ / scale_, height_ / scale_}; }  // points
  // The same pixels marked with another scale.
  std::shared_ptr<Image> withScale(Float scale) const;

  RGBA pixelAt(int x, int y) const;  // transparent outside the bitmap
  Float alphaAt(int x, int y) const { return pixelAt(x, y).a / Float(255); }

  bool writePNG(const std::string& path) const;
  ns::Data pngData() const;
  // JPEG at a quality of 0 to 1, on white where the image is transparent.
  ns::Data jpegData(float quality) const;

  cairo_surface_t* surface() const { return surface_; }

 private:
  Image(cairo_surface_t* surface, Float scale);
  cairo_surface_t* surface_;
  int width_, height_;
  Float scale_;
};

}  // namespace cg
