#include "platform/graphics/Image.h"

#include <cstdio>
#include <cstring>
#include <fstream>

namespace cg {

namespace {

constexpr std::size_t kMaxFileBytes = std::size_t(256) << 20;

std::uint32_t readBE32(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

// The signature and the header chunk, read before the decoder allocates anything.
bool pngHeaderIsSane(const ns::Data& data) {
  static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (data.size() < 8 + 8 + 13 + 4) return false;
  if (std::memcmp(data.data(), kSignature, 8) != 0) return false;
  if (readBE32(&data[8]) != 13 || std::memcmp(&data[12], "IHDR", 4) != 0) return false;
  std::uint32_t w = readBE32(&data[16]), h = readBE32(&data[20]);
  if (w == 0 || h == 0 || w > std::uint32_t(Image::kMaxSide) || h > std::uint32_t(Image::kMaxSide))
    return false;
  return std::int64_t(w) * std::int64_t(h) <= Image::kMaxPixels;
}

struct Reader {
  const ns::Data* data;
  std::size_t pos = 0;
};

cairo_status_t readFromMemory(void* closure, unsigned char* out, unsigned int length) {
  auto* r = static_cast<Reader*>(closure);
  if (length > r->data->size() - r->pos) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(out, r->data->data() + r->pos, length);
  r->pos += length;
  return CAIRO_STATUS_SUCCESS;
}

cairo_status_t appendToData(void* closure, const unsigned char* bytes, unsigned int length) {
  auto* out = static_cast<ns::Data*>(closure);
  out->insert(out->end(), bytes, bytes + length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

Image::Image(cairo_surface_t* surface, Float scale)
    : surface_(surface),
      width_(cairo_image_surface_get_width(surface)),
      height_(cairo_image_surface_get_height(surface)),
      scale_(scale > 0 ? scale : 1) {}

Image::~Image() { cairo_surface_destroy(surface_); }

std::shared_ptr<Image> Image::fromPNGData(const ns::Data& data, Float scale) {
  if (!pngHeaderIsSane(data)) return nullptr;
  Reader reader{&data};
  cairo_surface_t* s = cairo_image_surface_create_from_png_stream(readFromMemory, &reader);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  if (cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32) return std::shared_ptr<Image>(new Image(s, scale));
  // Our images are always ARGB32 so that pixel reads and masks need one format.
  std::shared_ptr<Image> argb = copyOfSurface(s, scale);
  cairo_surface_destroy(s);
  return argb;
}

std::shared_ptr<Image> Image::fromFile(const std::string& path, Float scale) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size <= 0 || std::size_t(size) > kMaxFileBytes) return nullptr;
  in.seekg(0);
  ns::Data data(static_cast<std::size_t>(size));
  if (!in.read(reinterpret_cast<char*>(data.data()), size)) return nullptr;
  return fromPNGData(data, scale);
}

std::shared_ptr<Image> Image::fromSurface(cairo_surface_t* surface, Float scale) {
  if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32)
    return nullptr;
  cairo_surface_flush(surface);
  return std::shared_ptr<Image>(new Image(cairo_surface_reference(surface), scale));
}

std::shared_ptr<Image> Image::copyOfSurface(cairo_surface_t* surface, Float scale) {
  if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return nullptr;
  cairo_surface_flush(surface);
  int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
  cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(copy);
  cairo_set_source_surface(cr, surface, 0, 0);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_destroy(cr);
  if (cairo_surface_status(copy) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(copy);
    return nullptr;
  }
  return std::shared_ptr<Image>(new Image(copy, scale));
}

std::shared_ptr<Image> Image::withScale(Float scale) const {
  return std::shared_ptr<Image>(new Image(cairo_surface_reference(surface_), scale));
}

RGBA Image::pixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  const unsigned char* row = cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
  std::uint32_t px;
  std::memcpy(&px, row + 4 * x, 4);
  std::uint8_t a = px >> 24;
  if (a == 0) return {};
  auto un = [a](std::uint32_t c) { return std::uint8_t((c * 255 + a / 2) / a); };
  return {un((px >> 16) & 0xff), un((px >> 8) & 0xff), un(px & 0xff), a};
}

bool Image::writePNG(const std::string& path) const {
  return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

ns::Data Image::pngData() const {
  ns::Data out;
  if (cairo_surface_write_to_png_stream(surface_, appendToData, &out) != CAIRO_STATUS_SUCCESS) return {};
  return out;
}

}  // namespace cg
