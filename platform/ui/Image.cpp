#include "platform/ui/Image.h"

#include <atomic>
#include <cstdint>
#include <fstream>
#include <list>
#include <map>
#include <mutex>
#include <set>
#include <sys/stat.h>

#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/ui/Screen.h"

namespace ui {

namespace {

bool fileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Names come from our own code, but a name never leaves the images folder.
bool isSafeName(const std::string& name) {
  if (name.empty() || name.front() == '/') return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    std::string part = name.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

// A screen asks for its images on every redraw: say once that one is missing.
void logMissingOnce(const std::string& name) {
  static std::set<std::string> logged;
  if (logged.insert(name).second)
    ns::logf("INFO  - [%s] No image named \"%s\"", ns::logTimestamp().c_str(), name.c_str());
}

// Width and height from a PNG file's header; false when the file is no PNG
// or its size is not one we would decode.
bool readPNGSize(const std::string& path, int& width, int& height) {
  static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  unsigned char header[24];
  std::ifstream in(path, std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return false;
  if (!std::equal(std::begin(kSignature), std::end(kSignature), header)) return false;
  if (std::string_view(reinterpret_cast<const char*>(header + 12), 4) != "IHDR") return false;
  auto big = [&header](int at) {
    return std::uint32_t(header[at]) << 24 | std::uint32_t(header[at + 1]) << 16 | std::uint32_t(header[at + 2]) << 8 |
           header[at + 3];
  };
  std::uint32_t w = big(16), h = big(20);
  if (w == 0 || h == 0 || w > std::uint32_t(cg::Image::kMaxSide) || h > std::uint32_t(cg::Image::kMaxSide) ||
      std::int64_t(w) * h > cg::Image::kMaxPixels)
    return false;
  width = int(w);
  height = int(h);
  return true;
}

}  // namespace

struct Image::Bitmap {
  std::string path;
  int width = 0, height = 0;
  std::once_flag once;
  std::atomic<bool> decoded{false};
  std::shared_ptr<cg::Image> image;

  const std::shared_ptr<cg::Image>& pixels() {
    std::call_once(once, [this] {
      image = cg::Image::fromFile(path);
      if (!image || image->width() != width || image->height() != height) {
        // The header promised an image: keep the promised size, show nothing.
        ns::logf("INFO  - [%s] The image %s could not be decoded", ns::logTimestamp().c_str(), path.c_str());
        cairo_surface_t* blank = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        image = cg::Image::fromSurface(blank);
        cairo_surface_destroy(blank);  // the image holds its own reference
      }
      decoded = true;
    });
    return image;
  }
};

// The named images: shared while anything holds them, the small ones kept a
// while after that (least recently asked for go first).
struct NamedImages {
  using Key = std::pair<std::string, int>;  // file stem and extension, the scale asked for
  struct Named {
    std::weak_ptr<Image> image;
    std::weak_ptr<Image::Bitmap> bitmap;  // outlives the image in its stretchable copies
    cg::Float scale = 1;
  };

  std::mutex mutex;
  std::map<Key, Named> named;
  std::list<std::pair<Key, std::shared_ptr<Image>>> kept;  // most recent first
  std::map<Key, decltype(kept)::iterator> keptAt;
  std::size_t keptBytes = 0;

  static NamedImages& shared() {
    static NamedImages* images = new NamedImages;  // images may be released during exit
    return *images;
  }

  static std::size_t bytes(const Image& image) {
    return std::size_t(image.bitmap_->width) * std::size_t(image.bitmap_->height) * 4;
  }

  // The image in use or kept for the key, or one made again on the pixels a
  // stretchable copy still holds; null when none.
  std::shared_ptr<Image> find(const Key& key) {
    auto it = named.find(key);
    if (it == named.end()) return nullptr;
    if (auto image = it->second.image.lock()) return image;
    if (auto bitmap = it->second.bitmap.lock()) {
      std::shared_ptr<Image> image(new Image(std::move(bitmap), it->second.scale));
      it->second.image = image;
      return image;
    }
    named.erase(it);
    return nullptr;
  }

  void add(const Key& key, const std::shared_ptr<Image>& image) {
    // Names nothing holds any more go first, so the table stays as small as what is in use.
    std::erase_if(named, [](const auto& entry) { return entry.second.bitmap.expired(); });
    named[key] = Named{image, image->bitmap_, image->scale()};
  }

  void keep(const Key& key, const std::shared_ptr<Image>& image) {
    if (auto at = keptAt.find(key); at != keptAt.end()) {
      kept.splice(kept.begin(), kept, at->second);
      return;
    }
    std::size_t size = bytes(*image);
    if (size > Image::kKeptImageBytes) return;
    kept.emplace_front(key, image);
    keptAt[key] = kept.begin();
    keptBytes += size;
    while (keptBytes > Image::kKeptBytes) {
      keptBytes -= bytes(*kept.back().second);
      keptAt.erase(kept.back().first);
      kept.pop_back();
    }
  }

  void purge() {
    keptAt.clear();
    keptBytes = 0;
    auto released = std::move(kept);
    kept.clear();
    released.clear();
    std::erase_if(named, [](const auto& entry) { return entry.second.bitmap.expired(); });
  }
};

std::string Image::imagesDirectory() { return ns::resourceDirectory() + "/images"; }

Image::Image(std::shared_ptr<cg::Image> image, cg::Float scale)
    : image_(std::move(image)), scale_(scale > 0 ? scale : 1) {}

Image::Image(std::shared_ptr<Bitmap> bitmap, cg::Float scale)
    : bitmap_(std::move(bitmap)), scale_(scale > 0 ? scale : 1) {}

const std::shared_ptr<cg::Image>& Image::cgImage() const { return bitmap_ ? bitmap_->pixels() : image_; }

bool Image::isDecoded() const { return !bitmap_ || bitmap_->decoded; }

void Image::purgeUnusedNamedImages() {
  NamedImages& images = NamedImages::shared();
  std::lock_guard<std::mutex> lock(images.mutex);
  images.purge();
}

std::shared_ptr<Image> Image::imageNamed(const std::string& name) {
  return imageNamed(name, Screen::main().scale());
}

std::shared_ptr<Image> Image::imageNamed(const std::string& name, cg::Float screenScale) {
  if (!isSafeName(name)) {
    std::lock_guard<std::mutex> lock(NamedImages::shared().mutex);
    logMissingOnce(name);
    return nullptr;
  }
  int want = screenScale >= 2 ? 2 : 1;
  std::string stem = name, ext = ".png";
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && name.find('/', dot) == std::string::npos) {
    stem = name.substr(0, dot);
    ext = name.substr(dot);
  }
  std::string path = imagesDirectory() + "/" + stem;

  NamedImages& images = NamedImages::shared();
  std::lock_guard<std::mutex> lock(images.mutex);
  NamedImages::Key key(path + ext, want);
  std::shared_ptr<Image> result = images.find(key);
  if (!result) {
    auto bitmap = std::make_shared<Bitmap>();
    cg::Float scale = 1;
    if (want == 2 && fileExists(path + "@2x" + ext) && readPNGSize(path + "@2x" + ext, bitmap->width, bitmap->height)) {
      bitmap->path = path + "@2x" + ext;
      scale = 2;
    } else if (readPNGSize(path + ext, bitmap->width, bitmap->height)) {
      bitmap->path = path + ext;
    } else {
      logMissingOnce(name);
      return nullptr;
    }
    result.reset(new Image(std::move(bitmap), scale));
    images.add(key, result);
  }
  images.keep(key, result);
  return result;
}

std::shared_ptr<Image> Image::imageWithData(const ns::Data& data, cg::Float scale) {
  return imageWithCGImage(cg::Image::fromPNGData(data), scale);
}

std::shared_ptr<Image> Image::imageWithContentsOfFile(const std::string& path) {
  bool at2x = path.find("@2x.") != std::string::npos;
  return imageWithCGImage(cg::Image::fromFile(path), at2x ? 2 : 1);
}

std::shared_ptr<Image> Image::imageWithCGImage(std::shared_ptr<cg::Image> image, cg::Float scale) {
  if (!image) return nullptr;
  return std::make_shared<Image>(std::move(image), scale);
}

cg::Size Image::size() const {
  if (bitmap_) return {bitmap_->width / scale_, bitmap_->height / scale_};
  return {image_->width() / scale_, image_->height() / scale_};
}

void Image::drawAtPoint(cg::Context& ctx, cg::Point p) const { drawInRect(ctx, cg::Rect(p, size())); }

void Image::drawInRect(cg::Context& ctx, const cg::Rect& rect) const {
  if (leftCap_ <= 0 && topCap_ <= 0) {
    ctx.drawImage(*cgImage(), rect);
    return;
  }
  // Nine pieces: the caps keep their size, the stretchable row and column
  // (one point each) fill what remains; a cap of 0 leaves that axis whole.
  const cg::Image& pixels = *cgImage();
  cg::Size s = size();
  auto split = [](cg::Float cap, cg::Float total, cg::Float target, cg::Float src[4], cg::Float dst[4]) {
    if (cap <= 0 || cap + 1 > total) {
      src[0] = 0; src[1] = 0; src[2] = total; src[3] = total;
      dst[0] = 0; dst[1] = 0; dst[2] = target; dst[3] = target;
      return;
    }
    cg::Float end = total - cap - 1;  // the far cap
    cg::Float scale = target < cap + end ? target / (cap + end) : 1;  // squeeze caps when too small
    src[0] = 0; src[1] = cap; src[2] = cap + 1; src[3] = total;
    dst[0] = 0; dst[1] = cap * scale; dst[2] = target - end * scale; dst[3] = target;
  };
  cg::Float sx[4], dx[4], sy[4], dy[4];
  split(cg::Float(leftCap_), s.width, rect.width(), sx, dx);
  split(cg::Float(topCap_), s.height, rect.height(), sy, dy);
  for (int j = 0; j < 3; ++j) {
    for (int i = 0; i < 3; ++i) {
      cg::Rect src(sx[i], sy[j], sx[i + 1] - sx[i], sy[j + 1] - sy[j]);
      cg::Rect dst(rect.x() + dx[i], rect.y() + dy[j], dx[i + 1] - dx[i], dy[j + 1] - dy[j]);
      if (src.isEmpty() || dst.isEmpty()) continue;
      // The image's own points: drawImage takes the source in points at the image's scale.
      cg::Float k = scale_ / pixels.scale();
      ctx.drawImage(pixels, dst, cg::Rect(src.x() * k, src.y() * k, src.width() * k, src.height() * k));
    }
  }
}

std::shared_ptr<Image> Image::stretchableImage(int leftCapWidth, int topCapHeight) const {
  auto copy = std::make_shared<Image>(image_, scale_);
  copy->bitmap_ = bitmap_;
  copy->leftCap_ = std::max(leftCapWidth, 0);
  copy->topCap_ = std::max(topCapHeight, 0);
  return copy;
}

}  // namespace ui
