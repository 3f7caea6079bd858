#include "platform/ui/Image.h"

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

std::mutex gNamedMutex;
std::map<std::pair<std::string, int>, std::shared_ptr<Image>>& namedCache() {
  static std::map<std::pair<std::string, int>, std::shared_ptr<Image>> cache;
  return cache;
}

// A screen asks for its images on every redraw: say once that one is missing.
void logMissingOnce(const std::string& name) {
  static std::set<std::string> logged;
  if (logged.insert(name).second)
    ns::logf("INFO  - [%s] No image named \"%s\"", ns::logTimestamp().c_str(), name.c_str());
}

}  // namespace

std::string Image::imagesDirectory() { return ns::resourceDirectory() + "/images"; }

Image::Image(std::shared_ptr<cg::Image> image, cg::Float scale)
    : image_(std::move(image)), scale_(scale > 0 ? scale : 1) {}

std::shared_ptr<Image> Image::imageNamed(const std::string& name) {
  return imageNamed(name, Screen::main().scale());
}

std::shared_ptr<Image> Image::imageNamed(const std::string& name, cg::Float screenScale) {
  if (!isSafeName(name)) {
    std::lock_guard<std::mutex> lock(gNamedMutex);
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

  std::lock_guard<std::mutex> lock(gNamedMutex);
  auto key = std::make_pair(path + ext, want);
  auto found = namedCache().find(key);
  if (found != namedCache().end()) return found->second;
  std::shared_ptr<Image> result;
  if (want == 2 && fileExists(path + "@2x" + ext))
    result = imageWithCGImage(cg::Image::fromFile(path + "@2x" + ext), 2);
  if (!result) result = imageWithCGImage(cg::Image::fromFile(path + ext), 1);
  if (result) namedCache()[key] = result;
  else logMissingOnce(name);
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
  return {image_->width() / scale_, image_->height() / scale_};
}

void Image::drawAtPoint(cg::Context& ctx, cg::Point p) const { drawInRect(ctx, cg::Rect(p, size())); }

void Image::drawInRect(cg::Context& ctx, const cg::Rect& rect) const {
  if (leftCap_ <= 0 && topCap_ <= 0) {
    ctx.drawImage(*image_, rect);
    return;
  }
  // Nine pieces: the caps keep their size, the stretchable row and column
  // (one point each) fill what remains; a cap of 0 leaves that axis whole.
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
      cg::Float k = scale_ / image_->scale();
      ctx.drawImage(*image_, dst, cg::Rect(src.x() * k, src.y() * k, src.width() * k, src.height() * k));
    }
  }
}

std::shared_ptr<Image> Image::stretchableImage(int leftCapWidth, int topCapHeight) const {
  auto copy = std::make_shared<Image>(image_, scale_);
  copy->leftCap_ = std::max(leftCapWidth, 0);
  copy->topCap_ = std::max(topCapHeight, 0);
  return copy;
}

}  // namespace ui
