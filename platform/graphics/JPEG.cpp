// JPEG decoding and encoding for cg::Image, on libjpeg. libjpeg reports errors
// by calling back; ours jumps out of the codec so bad bytes end in "no image".
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "platform/graphics/Image.h"

namespace cg {

namespace {

struct ErrorJump {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void onError(j_common_ptr info) {
  auto* e = reinterpret_cast<ErrorJump*>(info->err);
  std::longjmp(e->jump, 1);
}
void onMessage(j_common_ptr) {}  // warnings of damaged data stay quiet

bool isJPEG(const ns::Data& d) { return d.size() > 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF; }
bool isPNG(const ns::Data& d) {
  static const std::uint8_t sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return d.size() >= 8 && std::memcmp(d.data(), sig, 8) == 0;
}

// Decodes into an ARGB32 surface; nullptr on any error. Kept free of C++
// objects with destructors between setjmp and longjmp.
cairo_surface_t* decode(const ns::Data& data) {
  jpeg_decompress_struct info;
  ErrorJump err;
  cairo_surface_t* volatile surface = nullptr;
  info.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = onError;
  err.mgr.output_message = onMessage;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    if (surface) cairo_surface_destroy(surface);
    return nullptr;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  if (info.image_width == 0 || info.image_height == 0 || info.image_width > unsigned(Image::kMaxSide) ||
      info.image_height > unsigned(Image::kMaxSide) ||
      std::int64_t(info.image_width) * info.image_height > Image::kMaxPixels) {
    jpeg_destroy_decompress(&info);
    return nullptr;
  }
  info.out_color_space = JCS_EXT_BGRA;  // cairo's ARGB32 byte order on little-endian machines
  jpeg_start_decompress(&info);
  surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(info.output_width), int(info.output_height));
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) std::longjmp(err.jump, 1);
  unsigned char* pixels = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels + std::size_t(info.output_scanline) * stride;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  cairo_surface_mark_dirty(surface);
  return surface;
}

}  // namespace

std::shared_ptr<Image> Image::fromJPEGData(const ns::Data& data, Float scale) {
  if (!isJPEG(data)) return nullptr;
  cairo_surface_t* s = decode(data);
  if (!s) return nullptr;
  std::shared_ptr<Image> image = fromSurface(s, scale);
  cairo_surface_destroy(s);
  return image;
}

std::shared_ptr<Image> Image::fromData(const ns::Data& data, Float scale) {
  if (isPNG(data)) return fromPNGData(data, scale);
  if (isJPEG(data)) return fromJPEGData(data, scale);
  return nullptr;
}

ns::Data Image::jpegData(float quality) const {
  // Flatten onto white: JPEG has no alpha.
  std::vector<unsigned char> rgb(std::size_t(width_) * height_ * 3);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      RGBA p = pixelAt(x, y);
      unsigned char* out = &rgb[(std::size_t(y) * width_ + x) * 3];
      auto over = [&](std::uint8_t c) { return static_cast<unsigned char>((c * p.a + 255 * (255 - p.a) + 127) / 255); };
      out[0] = over(p.r);
      out[1] = over(p.g);
      out[2] = over(p.b);
    }
  }
  jpeg_compress_struct info;
  ErrorJump err;
  unsigned char* volatile buffer = nullptr;
  unsigned long size = 0;
  info.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = onError;
  err.mgr.output_message = onMessage;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return {};
  }
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = unsigned(width_);
  info.image_height = unsigned(height_);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  int q = static_cast<int>(quality * 100 + 0.5f);
  jpeg_set_quality(&info, q < 1 ? 1 : q > 100 ? 100 : q, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = &rgb[std::size_t(info.next_scanline) * width_ * 3];
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  buffer = out;
  ns::Data result(out, out + size);
  jpeg_destroy_compress(&info);
  std::free(out);
  return result;
}

}  // namespace cg
