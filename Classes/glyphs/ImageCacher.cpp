#include "Classes/glyphs/ImageCacher.h"

#include <iterator>

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

struct SharedSlot {
  std::mutex mutex;
  std::shared_ptr<ImageCacher> instance;

  std::shared_ptr<ImageCacher> get() {
    std::lock_guard<std::mutex> guard(mutex);
    if (!instance) instance = std::make_shared<ImageCacher>();
    return instance;
  }
  void release() {
    std::lock_guard<std::mutex> guard(mutex);
    instance.reset();
  }
};

SharedSlot& portrait() {
  static SharedSlot slot;
  return slot;
}
SharedSlot& landscape() {
  static SharedSlot slot;
  return slot;
}

}  // namespace

std::shared_ptr<ImageCacher> ImageCacher::GetSharedImageCache() { return portrait().get(); }
std::shared_ptr<ImageCacher> ImageCacher::GetSharedImageCacheLandscape() { return landscape().get(); }
void ImageCacher::ReleaseSharedImageCache() { portrait().release(); }
void ImageCacher::ReleaseSharedImageCacheLandscape() { landscape().release(); }

void ImageCacher::insertIntoCache(std::shared_ptr<ui::Image> image, int tag) {
  if (!image) return;
  Guard guard(lockObj);
  if (dictCache.size() >= kCapacity && !dictCache.count(tag)) removeFromCache(dictCache.begin()->first);
  dictCache[tag] = std::move(image);
}

void ImageCacher::removeFromCache(int tag) {
  Guard guard(lockObj);
  dictCache.erase(tag);
}

std::shared_ptr<ui::Image> ImageCacher::getFromCache(int tag) {
  Guard guard(lockObj);
  auto it = dictCache.find(tag);
  return it == dictCache.end() ? nullptr : it->second;
}

void ImageCacher::clearCache() {
  Guard guard(lockObj);
  dictCache.clear();
}

void ImageCacher::memoryWarning() {
  Guard guard(lockObj);
  dictCache.erase(dictCache.begin(), std::next(dictCache.begin(), dictCache.size() / 2));
}

std::size_t ImageCacher::count() {
  Guard guard(lockObj);
  return dictCache.size();
}
