#include "Classes/glyphs/VerseMetaData.h"

#include "platform/foundation/Clock.h"

VerseMetaData::VerseMetaData(int verse, int width) { Init(verse, width); }

void VerseMetaData::Init(int verse, int width) {
  verse_ = verse;
  lastWidthCalculated_ = width;
  lastAccessTime_ = std::int32_t(ns::Clock::current().now());
  arrLineIndexes.fill(-1);
  arrLineKashidaCount.fill(0);
  arrLineActualWidth.fill(0);
  arrLineStartYOffsets.fill(0);
}

int VerseMetaData::lineCount() const {
  int n = 0;
  while (n < kMaxLines && arrLineIndexes[n] != -1) ++n;
  return n;
}
