#pragma once
// An 8-bit alpha image (the ink of one glyph), its PNG form and its metrics.
#include <cstdint>
#include <string>
#include <vector>

namespace contentdb {

struct AlphaImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> alpha;  // row-major, width * height

  AlphaImage() = default;
  AlphaImage(int w, int h) : width(w), height(h), alpha(static_cast<size_t>(w) * h, 0) {}
  uint8_t at(int x, int y) const { return alpha[static_cast<size_t>(y) * width + x]; }
  uint8_t& at(int x, int y) { return alpha[static_cast<size_t>(y) * width + x]; }
  bool operator==(const AlphaImage&) const = default;
};

// Alpha from which a pixel counts as ink when cropping, and for the metric rows.
inline constexpr int kCropThreshold = 8;
inline constexpr int kMetricThreshold = 64;

// First and last row holding a pixel of at least `threshold`; {0, 0} when none.
struct InkRows {
  int top = 0;
  int bottom = 0;
  bool any = false;
};
InkRows inkRows(const AlphaImage& img, int threshold = kMetricThreshold);

// First and last column holding ink (crop threshold); any = false when blank.
struct InkColumns {
  int left = 0;
  int right = 0;
  bool any = false;
};
InkColumns inkColumns(const AlphaImage& img, int threshold = kCropThreshold);

// The part [x, x + w) x [y, y + h) of an image; outside pixels are blank.
AlphaImage crop(const AlphaImage& img, int x, int y, int w, int h);

// Adds `columns` transparent columns on the left.
AlphaImage padLeft(const AlphaImage& img, int columns);

// PNG, RGBA, black with the ink in the alpha channel.
std::string encodePng(const AlphaImage& img);
// Decodes a PNG back to its alpha; returns false when the bytes are no PNG.
bool decodePng(const std::string& png, AlphaImage& out);

}  // namespace contentdb
