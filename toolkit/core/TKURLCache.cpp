#include "toolkit/core/TKURLCache.h"

#include <cmath>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/Image.h"
#include "toolkit/core/TKGlobal.h"
#include "toolkit/core/TKURLRequest.h"

namespace {

// Disk entries and local files are read whole; nothing the cache holds is
// larger than the loader lets in, and a local image this size is no image.
constexpr std::uint64_t kMaxFileBytes = 64u << 20;
constexpr std::uint64_t kLargeImagePixels = 240000;
constexpr std::size_t kMaxKeyFileName = 128;

std::shared_ptr<TKURLCache>& sharedSlot() {
  static std::shared_ptr<TKURLCache> cache;
  return cache;
}

int gTemporaryURLCounter = 0;

// The image a local URL's file holds; nothing when the URL leaves its folder.
std::shared_ptr<ui::Image> imageFromLocalURL(const std::string& url) {
  auto path = TKLocalFilePath(url);
  if (!path) return nullptr;
  auto data = ns::readFile(*path, kMaxFileBytes);
  if (!data) return nullptr;
  auto decoded = cg::Image::fromData(*data);
  return decoded ? ui::Image::imageWithCGImage(decoded) : nullptr;
}

}  // namespace

TKURLCache& TKURLCache::sharedCache() {
  if (!sharedSlot()) sharedSlot() = std::make_shared<TKURLCache>();
  return *sharedSlot();
}

void TKURLCache::setSharedCache(std::shared_ptr<TKURLCache> cache) { sharedSlot() = std::move(cache); }

std::string TKURLCache::defaultCachePath() {
  std::string path = ns::pathJoin(ns::cachesDirectory(), "Toolkit");
  ns::createDirectory(path);
  return path;
}

TKURLCache::TKURLCache() : cachePath_(defaultCachePath()) {
  memoryWarning_ = ns::NotificationCenter::defaultCenter().addObserver(
      ui::ApplicationDidReceiveMemoryWarningNotification, [this](const ns::Value&) { removeAll(false); });
}

TKURLCache::~TKURLCache() = default;

std::string TKURLCache::keyForURL(const std::string& url) { return TKURLRequest::md5HexDigest(url); }

std::string TKURLCache::cachePathForKey(const std::string& key) const {
  // Keys are our own digests, or a caller's own names. A name that is no safe
  // file name (or too long for one) is filed under its digest, marked so that
  // it meets no URL's.
  if (!ns::isSafePathComponent(key) || key.size() > kMaxKeyFileName) return ns::pathJoin(cachePath_, "unsafe-" + TKURLRequest::md5HexDigest(key));
  return ns::pathJoin(cachePath_, key);
}

bool TKURLCache::hasDataForURL(const std::string& url) const { return ns::fileExists(cachePathForURL(url)); }

std::optional<ns::Data> TKURLCache::dataForURL(const std::string& url) { return dataForURL(url, 0, nullptr); }

std::optional<ns::Data> TKURLCache::dataForURL(const std::string& url, double age,
                                               std::optional<ns::Date>* timestamp) {
  return dataForKey(keyForURL(url), age, timestamp);
}

std::optional<ns::Data> TKURLCache::dataForKey(const std::string& key, double age,
                                               std::optional<ns::Date>* timestamp) {
  std::string path = cachePathForKey(key);
  auto modified = ns::modificationDate(path);
  if (!modified) return std::nullopt;
  ns::Date date(*modified);
  if (age != 0 && -date.timeIntervalSinceNow() > age) return std::nullopt;
  auto data = ns::readFile(path, kMaxFileBytes);
  if (!data) return std::nullopt;
  if (timestamp) *timestamp = date;
  return data;
}

void TKURLCache::storeDataForKey(const ns::Data& data, const std::string& key) {
  if (disableDiskCache_) return;
  ns::createDirectory(cachePath_);
  ns::writeFileAtomically(cachePathForKey(key), data);
}

std::shared_ptr<ui::Image> TKURLCache::imageForURL(const std::string& url, bool fromDisk) {
  if (auto it = images_.find(url); it != images_.end()) {
    order_.splice(order_.end(), order_, it->second.order);  // most recently used now
    return it->second.image;
  }
  if (!fromDisk) return nullptr;
  std::shared_ptr<ui::Image> image;
  if (TKHasBundleScheme(url)) {
    image = loadImageFromBundle(url);
  } else if (TKHasDocumentsScheme(url)) {
    image = loadImageFromDocuments(url);
  } else {
    return nullptr;
  }
  storeImage(image, url);
  return image;
}

std::uint64_t TKURLCache::pixelCountOf(const ui::Image& image) {
  double pixels = double(image.size().width) * double(image.size().height);
  return pixels > 0 ? static_cast<std::uint64_t>(pixels) : 0;
}

void TKURLCache::forget(std::map<std::string, Entry>::iterator it) {
  totalPixelCount_ -= std::min(totalPixelCount_, it->second.pixels);
  order_.erase(it->second.order);
  images_.erase(it);
}

void TKURLCache::storeImage(std::shared_ptr<ui::Image> image, const std::string& url, bool force) {
  if (!image) return;
  if (!force && disableImageCache_) return;
  std::uint64_t pixels = pixelCountOf(*image);
  if (!force && pixels >= kLargeImagePixels) return;
  if (auto it = images_.find(url); it != images_.end()) forget(it);
  totalPixelCount_ += pixels;
  if (maxPixelCount_ && totalPixelCount_ > maxPixelCount_) expireImagesFromMemory();
  auto order = order_.insert(order_.end(), url);
  images_[url] = Entry{std::move(image), pixels, order};
}

void TKURLCache::expireImagesFromMemory() {
  // The image being stored is not listed yet, so a store never evicts its own image.
  while (!order_.empty() && totalPixelCount_ > maxPixelCount_) forget(images_.find(order_.front()));
}

std::shared_ptr<ui::Image> TKURLCache::loadImageFromBundle(const std::string& url) const {
  if (!TKHasBundleScheme(url)) return nullptr;
  return imageFromLocalURL(url);
}

std::shared_ptr<ui::Image> TKURLCache::loadImageFromDocuments(const std::string& url) const {
  if (!TKHasDocumentsScheme(url)) return nullptr;
  return imageFromLocalURL(url);
}

std::string TKURLCache::createTemporaryURL() { return "temp:" + std::to_string(gTemporaryURLCounter++); }

std::string TKURLCache::storeTemporaryData(const ns::Data& data) {
  std::string url = createTemporaryURL();
  storeData(data, url);
  return url;
}

std::optional<std::string> TKURLCache::storeTemporaryFile(const std::string& path) {
  if (path.empty() || !ns::fileExists(path)) return std::nullopt;
  std::string url;
  do {
    url = createTemporaryURL();
  } while (ns::fileExists(cachePathForURL(url)));
  ns::createDirectory(cachePath_);
  if (!ns::moveItem(path, cachePathForURL(url))) return std::nullopt;
  return url;
}

std::string TKURLCache::storeTemporaryImage(std::shared_ptr<ui::Image> image, bool) {
  std::string url = createTemporaryURL();
  if (image && image->cgImage()) storeData(image->cgImage()->pngData(), url);
  storeImage(std::move(image), url, true);
  return url;
}

void TKURLCache::moveDataForURL(const std::string& oldURL, const std::string& newURL) {
  if (auto image = imageForURL(oldURL)) {
    if (auto it = images_.find(oldURL); it != images_.end()) forget(it);
    storeImage(image, newURL, true);
  }
  std::string from = cachePathForURL(oldURL);
  if (ns::fileExists(from)) {
    ns::removeItem(cachePathForURL(newURL));
    ns::moveItem(from, cachePathForURL(newURL));
  }
}

void TKURLCache::removeURL(const std::string& url, bool fromDisk) {
  if (auto it = images_.find(url); it != images_.end()) forget(it);
  if (fromDisk) ns::removeItem(cachePathForURL(url));
}

void TKURLCache::removeKey(const std::string& key) { ns::removeItem(cachePathForKey(key)); }

void TKURLCache::removeAll(bool fromDisk) {
  images_.clear();
  order_.clear();
  totalPixelCount_ = 0;
  if (fromDisk) {
    ns::removeItem(cachePath_);
    ns::createDirectory(cachePath_);
  }
}

void TKURLCache::invalidateKey(const std::string& key) {
  std::string path = cachePathForKey(key);
  if (ns::fileExists(path)) ns::setModificationDate(path, ns::Date::now().timeIntervalSince1970() - invalidationAge_);
}

void TKURLCache::invalidateAll() {
  double date = ns::Date::now().timeIntervalSince1970() - invalidationAge_;
  for (const auto& name : ns::contentsOfDirectory(cachePath_)) {
    ns::setModificationDate(ns::pathJoin(cachePath_, name), date);
  }
}
