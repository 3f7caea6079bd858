#include "Classes/reading/VerseHeightCache.h"

VerseHeightCache& VerseHeightCache::shared() {
  static VerseHeightCache cache;
  return cache;
}

// surah < 2^8, verse < 2^10, style < 2^6; the width takes the upper bits.
std::uint64_t VerseHeightCache::key(int surah, int verse, int width, int style) {
  return (std::uint64_t(std::uint32_t(width)) << 24) | (std::uint64_t(surah & 0xff) << 16) |
         (std::uint64_t(verse & 0x3ff) << 6) | std::uint64_t(style & 0x3f);
}

void VerseHeightCache::keep(std::uint64_t k, int height) {
  if (newer_.size() >= kGeneration) {
    older_ = std::move(newer_);
    newer_.clear();
  }
  newer_.emplace(k, height);
}

int VerseHeightCache::heightOf(int surah, int verse, int width, int style, const std::function<int()>& measure) {
  auto k = key(surah, verse, width, style);
  if (auto it = newer_.find(k); it != newer_.end()) return it->second;
  int h;
  if (auto it = older_.find(k); it != older_.end()) {
    h = it->second;
    older_.erase(it);
  } else {
    h = measure();
  }
  keep(k, h);
  return h;
}

bool VerseHeightCache::contains(int surah, int verse, int width, int style) const {
  auto k = key(surah, verse, width, style);
  return newer_.count(k) != 0 || older_.count(k) != 0;
}
