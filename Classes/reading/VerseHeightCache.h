#pragma once
// Glyph heights of verses, kept for the process: measuring a verse means
// laying it out line by line, and the reading screen asks for every verse of
// a surah when it opens, rotates or finds a row's offset. A height depends on
// the verse, the width it is broken at and the renderer's size style, so that
// triple (with the surah) is the key. Main thread only.
#include <cstdint>
#include <functional>
#include <unordered_map>

class VerseHeightCache {
 public:
  static VerseHeightCache& shared();

  // The height kept for the key, or the one `measure` gives, kept.
  int heightOf(int surah, int verse, int width, int style, const std::function<int()>& measure);
  bool contains(int surah, int verse, int width, int style) const;
  void clear() { heights_.clear(); }
  size_t size() const { return heights_.size(); }

 private:
  static std::uint64_t key(int surah, int verse, int width, int style);
  std::unordered_map<std::uint64_t, int> heights_;
};
