#pragma once
// The toolkit's cache of URL contents: response bytes on disk, one file per
// cache key under Caches/"Toolkit" with the file's date as the entry's time,
// and decoded images in memory, bounded by a pixel total and emptied on memory
// warnings. Resolves "bundle://" and "documents://" to files, and hands out
// "temp:%d" URLs for entries with no remote origin. Main thread only.
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Data.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/NotificationCenter.h"

namespace ui {
class Image;
}

class TKURLCache {
 public:
  static TKURLCache& sharedCache();
  static void setSharedCache(std::shared_ptr<TKURLCache> cache);
  // Caches/"Toolkit", created when missing.
  static std::string defaultCachePath();

  TKURLCache();
  ~TKURLCache();
  TKURLCache(const TKURLCache&) = delete;
  TKURLCache& operator=(const TKURLCache&) = delete;

  // Keys and paths: the key is the MD5 of the URL, as 32 lower-case hex digits.
  static std::string keyForURL(const std::string& url);
  std::string cachePathForKey(const std::string& key) const;
  std::string cachePathForURL(const std::string& url) const { return cachePathForKey(keyForURL(url)); }
  bool hasDataForURL(const std::string& url) const;

  // Disk: nothing when the entry is missing, or older than a non-zero age.
  std::optional<ns::Data> dataForURL(const std::string& url);
  std::optional<ns::Data> dataForURL(const std::string& url, double age, std::optional<ns::Date>* timestamp);
  std::optional<ns::Data> dataForKey(const std::string& key, double age, std::optional<ns::Date>* timestamp);
  void storeData(const ns::Data& data, const std::string& url) { storeDataForKey(data, keyForURL(url)); }
  void storeDataForKey(const ns::Data& data, const std::string& key);

  // Memory images. With fromDisk, a "bundle://" or "documents://" image is
  // decoded from its file and kept; the disk cache is never read here.
  std::shared_ptr<ui::Image> imageForURL(const std::string& url, bool fromDisk = true);
  // Images of 240000 pixels or more enter only when forced. Storing a URL again
  // replaces its image; the pixel total always matches what is held.
  void storeImage(std::shared_ptr<ui::Image> image, const std::string& url, bool force = false);
  // Evicts the least recently used images until the total is within the limit.
  void expireImagesFromMemory();
  std::shared_ptr<ui::Image> loadImageFromBundle(const std::string& url) const;
  std::shared_ptr<ui::Image> loadImageFromDocuments(const std::string& url) const;

  // Temporary entries.
  std::string createTemporaryURL();
  std::string storeTemporaryData(const ns::Data& data);
  // Moves the file at the path into the cache; nothing when it does not exist
  // or cannot be moved.
  std::optional<std::string> storeTemporaryFile(const std::string& path);
  std::string storeTemporaryImage(std::shared_ptr<ui::Image> image, bool toDisk);

  void moveDataForURL(const std::string& oldURL, const std::string& newURL);
  void removeURL(const std::string& url, bool fromDisk);
  void removeKey(const std::string& key);
  void removeAll(bool fromDisk);
  void invalidateURL(const std::string& url) { invalidateKey(keyForURL(url)); }
  void invalidateKey(const std::string& key);
  void invalidateAll();

  bool disableDiskCache() const { return disableDiskCache_; }
  void setDisableDiskCache(bool v) { disableDiskCache_ = v; }
  bool disableImageCache() const { return disableImageCache_; }
  void setDisableImageCache(bool v) { disableImageCache_ = v; }
  const std::string& cachePath() const { return cachePath_; }
  void setCachePath(const std::string& path) { cachePath_ = path; }
  std::uint32_t maxPixelCount() const { return maxPixelCount_; }
  void setMaxPixelCount(std::uint32_t n) { maxPixelCount_ = n; }
  double invalidationAge() const { return invalidationAge_; }
  void setInvalidationAge(double age) { invalidationAge_ = age; }

  // For tests and diagnostics.
  std::uint64_t totalPixelCount() const { return totalPixelCount_; }
  std::size_t memoryImageCount() const { return images_.size(); }

 private:
  struct Entry {
    std::shared_ptr<ui::Image> image;
    std::uint64_t pixels;
    std::list<std::string>::iterator order;
  };
  static std::uint64_t pixelCountOf(const ui::Image& image);
  void forget(std::map<std::string, Entry>::iterator it);

  std::string cachePath_;
  std::map<std::string, Entry> images_;
  std::list<std::string> order_;  // least recently used first
  std::uint64_t totalPixelCount_ = 0;
  std::uint32_t maxPixelCount_ = 0;
  double invalidationAge_ = 86400.0;
  bool disableDiskCache_ = false;
  bool disableImageCache_ = false;
  ns::Observer memoryWarning_;
};
