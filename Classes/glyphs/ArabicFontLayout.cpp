// Line breaking and verse measurement.
#include <algorithm>
#include <limits>

#include "Classes/glyphs/ArabicFont.h"
#include "Classes/glyphs/GlyphTables.h"
#include "platform/foundation/Log.h"

using namespace glyphtables;

namespace {
// The natural width of a line starts with a small margin.
constexpr int kLineStartWidth = 5;
// Line starts are packed above 10 bits of length in a signed 32-bit word.
constexpr int kMaxLineStart = (1 << 21) - 1;
// The last line index that may be filled: one entry stays for the -1 end mark.
constexpr int kLastLine = VerseMetaData::kMaxLines - 2;

std::int16_t clampWidth(int width) {
  return std::int16_t(std::clamp(width, 0, int(std::numeric_limits<std::int16_t>::max())));
}
// Whether the letter at k and the one before it lie in the Divine Name, in
// the word of the verse's codes that starts at wordStart.
bool withinDivineNameAt(const std::uint8_t* bytes, int n, int wordStart, int k) {
  int end = k;
  while (end < n && bytes[end] != kSpace && bytes[end] != kVerseEnd) ++end;
  return withinDivineName([&](int i) { return int(bytes[wordStart + i]); }, end - wordStart, k - wordStart);
}

// A line's kashida opportunities, held to what its byte entry can count.
std::uint8_t clampCount(int count) { return std::uint8_t(std::clamp(count, 0, 255)); }
}  // namespace

bool ArabicFont::clampRange(const ns::Data* bytes, int& first, int& last) {
  if (!bytes || first == last || last < first) return false;
  const int n = int(std::min<std::size_t>(bytes->size(), kMaxLineStart));
  first = std::max(first, 0);
  last = std::min(last, n - 1);
  return first <= last;
}

int ArabicFont::lineHeight() const {
  return TASHKIL_HEIGHT + TOP_TASHKIL_LETTER_PADDING + CHAR_HEIGHT + LETTER_MARK_GAP + inkBottom(249) + 2;
}

int ArabicFont::formAt(bool isLastVerse, int index, const std::uint8_t* bytes, int len, bool& skip) {
  const bool swallowing = skipNextChar;
  const int form = getTypeOfSymbol(0, isLastVerse, index, bytes, len, len);
  // Only the alef itself is swallowed: marks and small letters between the
  // hamza and its alef (107 and the stop signs have codes among the letter
  // forms) are still drawn.
  skip = swallowing && bytes[index] == kAlef;
  if (skip) skipNextChar = false;
  return form;
}

int ArabicFont::letterAdvance(int code, int form, int nextCode, int prevLetterForm) const {
  const int width = charWidth(form);
  const int maddaWidth = charWidth(kMadda);
  const bool smallWithMadda = (isSmallLetter(code) || code == kDaggerAlef) && nextCode == kMadda;
  if (smallWithMadda && width < maddaWidth && joinsForward(prevLetterForm)) return maddaWidth;
  return width;
}

bool ArabicFont::initCurrentVerseMetaData(int verse, int width) {
  auto meta = std::make_shared<VerseMetaData>(verse, width);
  arrVerseMetaDataCache.assign(META_DATA_CACHE_COUNT, nullptr);
  arrVerseMetaDataCache[0] = meta;
  setCurrVerseMetaData(meta);
  return false;
}

int ArabicFont::GetHeightOfVerseImage(int, bool isLastVerse, const ns::Data* verseBytes,
                                      int startBytes, int endBytes, int forWidth,
                                      bool updateLineIndexes) {
  int first = startBytes, last = endBytes;
  if (!clampRange(verseBytes, first, last) || !arabicFontCharWidths) return 0;
  const std::uint8_t* bytes = verseBytes->data();
  const int n = int(verseBytes->size());
  VerseMetaData* meta = updateLineIndexes ? currVerseMetaData_.get() : nullptr;
  const int lh = lineHeight();
  const int letterTop = TASHKIL_HEIGHT + TOP_TASHKIL_LETTER_PADDING;

  int line = 0, lineStart = first, breakPoint = -1;
  int lineWidth = kLineStartWidth, wordWidth = 0;
  int kashidas = 0, prevLetter = 0, letterForm = 0, letterCode = 0, stacked = 0;
  // How far the ink of marks below reaches under the letter y: for the words
  // closed in the current line, for the word being measured, and for the
  // line closed last. Only the verse's last line adds it to the height; the
  // lines above reach into the mark band of the line after them.
  int lineDepth = 0, wordDepth = 0, closedDepth = 0;
  bool wordHasKashida = false, after109 = false;
  int wordStart = first;
  int topGap = EXTRA_TOP_MARGIN + TASHKIL_HEIGHT;
  int y = EXTRA_TOP_MARGIN + letterTop;
  int height = lh;
  if (meta) {
    meta->arrLineIndexes[0] = first;
    meta->arrLineKashidaCount[0] = 0;
    meta->arrLineActualWidth[0] = 0;
  }
  skipNextChar = false;
  prevGetHeightTashkilOffset = 0;

  // Closes the current line at bp; the word after bp moves to the next line.
  auto closeLine = [&](int bp) {
    if (topGap < 0) {
      height -= topGap;
      y -= topGap;
    }
    const int moved = wordHasKashida ? 1 : 0;
    closedDepth = lineDepth;
    lineDepth = 0;
    if (meta) {
      meta->arrLineStartYOffsets[line] = y;
      meta->arrLineActualWidth[line] = clampWidth(lineWidth - wordWidth);
      meta->arrLineIndexes[line] = VerseMetaData::lineWord(lineStart, bp - 1 - lineStart);
      meta->arrLineKashidaCount[line] = clampCount(kashidas - moved);
    }
    ++line;
    lineStart = bp;
    kashidas = moved;
    lineWidth = kLineStartWidth + wordWidth;
    height += lh;
    y += lh;
    topGap = EXTRA_TOP_MARGIN + TASHKIL_HEIGHT;
    if (meta) meta->arrLineIndexes[line] = lineStart;
  };

  int stop = last;
  for (int k = first; k <= last; ++k) {
    if (k - lineStart > VerseMetaData::kMaxLineLength) {
      // A line word holds 10 bits of length: break here, or end when no line is left.
      if (line >= kLastLine) {
        stop = k - 1;
        break;
      }
      if (breakPoint <= lineStart) {
        breakPoint = k;
        wordWidth = 0;
        wordHasKashida = false;
        lineDepth = std::max(lineDepth, wordDepth);
        wordDepth = 0;
      }
      closeLine(breakPoint);
    }
    const int b = bytes[k];
    bool skip;
    const int form = formAt(isLastVerse, k, bytes, n, skip);
    if (skip) continue;

    const bool letter = isGlyph(b) && !isMark(b);
    if (letter) {
      if (b >= 102 && b <= 239 && !wordHasKashida && isGlyph(prevLetter) && prevLetter != 109 &&
          kashidaAllowed(prevLetter, b) && !withinDivineNameAt(bytes, n, wordStart, k)) {
        ++kashidas;
        wordHasKashida = true;
      }
      prevLetter = b;
    }
    if (b == kVerseEnd) {
      stop = k;
      break;
    }

    const int next = k + 1 < n ? bytes[k + 1] : 0;
    const bool letterLike = letter || (b == kDaggerAlef && next == kMadda);
    int advance = 0;
    if (b == kSpace) {
      advance = SPACE_CHAR_WIDTH;
    } else if (b == 103) {
      // The small high rounded zero stands over its letter: the drawer gives
      // it no room, so neither does the line's width.
    } else if (isGlyph(form) && letterLike) {
      advance = letterAdvance(b, form, next, letterForm);
    }

    if (isMarkAbove(b) && !letterLike) {
      const bool swallowedMeem = b == kSmallMeem && k > 0 && (bytes[k - 1] == 249 || bytes[k - 1] == 253 || bytes[k - 1] == 254);
      if (!swallowedMeem) {
        prevGetHeightTashkilOffset = markAboveOffset(form, letterForm, stacked, after109);
        topGap = std::min(topGap, letterTop + prevGetHeightTashkilOffset);
        ++stacked;
      }
    } else if (letterLike) {
      if (b == 109) {
        ++stacked;
        after109 = true;
      } else {
        prevGetHeightTashkilOffset = 0;
        stacked = 0;
        after109 = false;
      }
      letterForm = form;
      letterCode = b;
    } else if (isMark(b)) {
      const int offset =
          markBelowOffset(form, b, letterForm, letterCode, getNextActualChar(k, bytes, n));
      // The ink bottom is the mark's last row of a quarter alpha or more; its
      // smoothed edge reaches one row further.
      wordDepth = std::max(wordDepth, offset + inkBottom(form) + 2);
    }

    if (b == kSpace) {
      lineWidth += advance;
      breakPoint = k + 1;
      wordStart = k + 1;
      wordWidth = 0;
      wordHasKashida = false;
      // Each word starts afresh, as the drawer draws it: no letter to join
      // a small letter to, no marks stacked.
      prevLetter = letterForm = letterCode = stacked = 0;
      after109 = false;
      lineDepth = std::max(lineDepth, wordDepth);
      wordDepth = 0;
    } else if (advance > 0) {
      lineWidth += advance;
      wordWidth += advance;
    } else {
      continue;
    }
    // A line breaks only after a space; a word wider than the line stays whole
    // on its own line, which then breaks at the next space.
    if (lineWidth + 1 >= forWidth && breakPoint > lineStart && line < kLastLine) closeLine(breakPoint);
  }

  int lastDepth = std::max(lineDepth, wordDepth);
  if (lineStart > stop && line > 0) {
    // The last byte closed a line: no empty line follows it.
    --line;
    height -= lh;
    y -= lh;
    lastDepth = closedDepth;
    if (meta) lineStart = VerseMetaData::lineStart(meta->arrLineIndexes[line]);
  } else {
    if (topGap < 0) {
      height -= topGap;
      y -= topGap;
    }
    if (meta) {
      meta->arrLineStartYOffsets[line] = y;
      meta->arrLineActualWidth[line] = clampWidth(lineWidth);
      meta->arrLineKashidaCount[line] = clampCount(kashidas);
    }
  }
  if (meta) {
    meta->arrLineIndexes[line] = VerseMetaData::lineWord(lineStart, std::max(0, stop - lineStart));
    meta->arrLineIndexes[line + 1] = -1;
  }
  // Marks below the last line's deep tails must stay inside the verse's height.
  return std::max(height, y + lastDepth);
}
