#pragma once
// Glyph heights of verses: measuring a verse means laying it out line by
// line, and the reading screen asks for every verse of a surah when it
// opens, rotates or finds a row's offset. A height depends on the verse, the
// width it is broken at and the renderer's size style, so that triple (with
// the surah) is the key. The cache is bounded for a long session: it keeps
// two generations of at most kGeneration heights each; when the newer fills
// up, the older is dropped, and a height read from the older moves to the
// newer, so what is in use stays. Main thread only.
#include <cstdint>
#include <functional>
#include <unordered_map>

class VerseHeightCache {
 public:
  // Every verse of the Quran once, in one generation.
  static constexpr std::size_t kGeneration = 6236;

  static VerseHeightCache& shared();

  // The height kept for the key, or the one `measure` gives, kept.
  int heightOf(int surah, int verse, int width, int style, const std::function<int()>& measure);
  bool contains(int surah, int verse, int width, int style) const;
  void clear() {
    newer_.clear();
    older_.clear();
  }
  std::size_t size() const { return newer_.size() + older_.size(); }

 private:
  static std::uint64_t key(int surah, int verse, int width, int style);
  void keep(std::uint64_t key, int height);
  std::unordered_map<std::uint64_t, int> newer_, older_;
};
