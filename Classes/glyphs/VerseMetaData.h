#pragma once
// The line layout of one verse at one width, made by the measurer and followed
// by the drawer: packed line words (start << 10 | length, -1 after the last
// line), kashida opportunities, natural widths and letter y per line.
#include <array>
#include <cstdint>

class VerseMetaData {
 public:
  // 119 usable lines plus the end mark.
  static constexpr int kMaxLines = 120;
  // A line word's length has 10 bits.
  static constexpr int kLengthBits = 10;
  static constexpr int kMaxLineLength = (1 << kLengthBits) - 1;

  VerseMetaData(int verse, int width);
  // Starts over for another verse or width: clears the arrays and restamps.
  void Init(int verse, int width);

  std::int32_t lastAccessTime() const { return lastAccessTime_; }
  std::int32_t lastWidthCalculated() const { return lastWidthCalculated_; }
  void setLastWidthCalculated(std::int32_t width) { lastWidthCalculated_ = width; }
  std::int32_t verse() const { return verse_; }
  void setVerse(std::int32_t verse) { verse_ = verse; }

  static std::int32_t lineWord(int start, int length) { return (start << kLengthBits) | length; }
  static int lineStart(std::int32_t word) { return word >> kLengthBits; }
  static int lineLength(std::int32_t word) { return word & kMaxLineLength; }
  // Lines recorded before the -1 end mark.
  int lineCount() const;

  std::array<std::int32_t, kMaxLines> arrLineIndexes{};
  std::array<std::uint8_t, kMaxLines> arrLineKashidaCount{};
  std::array<std::int16_t, kMaxLines> arrLineActualWidth{};
  std::array<std::int32_t, kMaxLines> arrLineStartYOffsets{};

  friend bool operator==(const VerseMetaData&, const VerseMetaData&) = default;

 private:
  std::int32_t lastAccessTime_ = 0;
  std::int32_t lastWidthCalculated_ = 0;
  std::int32_t verse_ = 0;
};
