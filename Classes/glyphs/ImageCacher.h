#pragma once
// A small tag-keyed image cache of at most 50 images, with a portrait and a
// landscape shared instance. Safe to use from several threads.
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>

#include "platform/ui/Image.h"

class ImageCacher {
 public:
  static constexpr std::size_t kCapacity = 50;

  static std::shared_ptr<ImageCacher> GetSharedImageCache();
  static std::shared_ptr<ImageCacher> GetSharedImageCacheLandscape();
  // Forget the shared instance; the next request makes a new one.
  static void ReleaseSharedImageCache();
  static void ReleaseSharedImageCacheLandscape();

  // Stores the image under the tag, replacing that tag's image. A full cache
  // first gives up the image with the smallest tag. A null image does nothing.
  void insertIntoCache(std::shared_ptr<ui::Image> image, int tag);
  void removeFromCache(int tag);
  std::shared_ptr<ui::Image> getFromCache(int tag);
  void clearCache();
  // Drops the first half of the entries, smallest tags first.
  void memoryWarning();
  std::size_t count();

 private:
  std::map<int, std::shared_ptr<ui::Image>> dictCache;
  std::recursive_mutex lockObj;
};
