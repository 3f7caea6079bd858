#include "platform/backend/sdl/WindowIcon.h"

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"
#include "platform/graphics/Image.h"

namespace ui {

std::optional<IconPixels> loadIconPixels(const std::string& pngPath) {
  auto image = cg::Image::fromFile(pngPath);
  if (!image) return std::nullopt;
  IconPixels icon{image->width(), image->height(), {}};
  icon.argb.reserve(std::size_t(icon.width) * std::size_t(icon.height));
  for (int y = 0; y < icon.height; ++y)
    for (int x = 0; x < icon.width; ++x) {
      cg::RGBA p = image->pixelAt(x, y);  // straight alpha
      icon.argb.push_back(std::uint32_t(p.a) << 24 | std::uint32_t(p.r) << 16 | std::uint32_t(p.g) << 8 | p.b);
    }
  return icon;
}

std::string windowIconPath() {
  for (const char* name : {"zarvel-icon-128.png", "zarvel-icon.png"}) {
    std::string path = ns::pathJoin(ns::resourceDirectory(), name);
    if (ns::fileExists(path)) return path;
  }
  return {};
}

}  // namespace ui
