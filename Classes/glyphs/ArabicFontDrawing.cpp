// Verse drawing: words right to left, marks placed on their letters, tajweed
// colours and kashida justification.
#include <algorithm>
#include <cmath>
#include <mutex>

#include "Classes/glyphs/ArabicFont.h"
#include "Classes/glyphs/DrawingLock.h"
#include "Classes/glyphs/GlyphBlitter.h"
#include "Classes/glyphs/GlyphTables.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

using namespace glyphtables;

namespace {

bool isStopSign(int c) { return c >= 121 && c <= 127; }

void drawImage(GlyphBlitter* blitter, cg::Context& ctx, const ArabicFont::Glyph& image, float x, float y, float w,
               float h) {
  if (!image || !(w > 0) || !(h > 0)) return;
  if (blitter) blitter->draw(image, x, y, w, h);
  else ctx.drawImage(*image, cg::Rect(x, y, w, h));
}

}  // namespace

int ArabicFont::getTashkilYOffset(int mark, int letter) const {
  if (letter < kCharsStart) return LETTER_MARK_GAP;
  if (isMarkAbove(mark)) return inkTop(letter) - TOP_TASHKIL_LETTER_PADDING - TASHKIL_HEIGHT;
  return inkBottom(letter) + LETTER_MARK_GAP;
}

int ArabicFont::markAboveOffset(int mark, int letter, int stacked, bool after109) const {
  int offset = getTashkilYOffset(mark, letter);
  if (stacked <= 0 || mark == kMadda) return offset;
  int raise = stacked * TASHKIL_HEIGHT / 2 - (after109 ? TASHKIL_HEIGHT * 13 / 100 : 0);
  if (raise > 0) raise += TOP_TASHKIL_LETTER_PADDING / 2;
  if (mark == kDaggerAlef) raise += TASHKIL_HEIGHT * 13 / 100;
  if (mark >= 121 && mark <= 126) raise += TASHKIL_HEIGHT / 4;
  return offset - raise;
}

int ArabicFont::markBelowOffset(int markForm, int markCode, int letterForm, int letterCode,
                                int next) const {
  int offset = getTashkilYOffset(markForm, letterForm);
  // Lowered under a letter that joins on to a letter with a bowl below the line.
  if ((markCode == 100 || markCode == 103 || markCode == 243 || markCode == 248 || markCode == 249) &&
      joinsForward(letterForm) && (next == 185 || next == 187 || next == 189 || next == 205 || next == 209))
    offset += TASHKIL_HEIGHT * 25 / 100;
  if (letterCode == 106) offset += TASHKIL_HEIGHT / 2;
  return offset;
}

unsigned ArabicFont::colorForGlyph(bool isLastVerse, int index, const std::uint8_t* bytes, int len,
                                   int form) {
  if (index > endIndexOfColorCoding) {
    const int found = getColorOfSymbol(0, isLastVerse, index, bytes, len, len, form, false);
    lastColorCodingType = anotherColorCodingType = unsigned(found);
    // Noon sakin and tanween: the colour begins at the noon or the tanween letter.
    const bool startsLater = startIndexOfColorCoding != index && startIndexOfColorCoding > 0;
    if (found && startsLater && (found == 1 || found == 2 || found == 10)) lastColorCodingType = 0;
  } else {
    const int found = getColorOfSymbol(0, isLastVerse, index, bytes, len, len, form, true);
    if (found && lastColorCodingType == anotherColorCodingType) anotherColorCodingType = unsigned(found);
    if (lastColorCodingType != anotherColorCodingType && index >= startIndexOfColorCoding)
      lastColorCodingType = anotherColorCodingType;
  }
  const int c = bytes[index];
  if (canColorStopSigns && c == 121) return 8;
  if (canColorStopSigns && c == 123) return 9;
  if (isStopSign(c)) return 0;
  return lastColorCodingType;
}

void ArabicFont::DrawVerseImageFromBytes(cg::Context& context, int verse, bool isLastVerse,
                                         const ns::Data* verseBytes, int startVerseBytes,
                                         int endVerseBytes, int startX, int forWidth) {
  const auto lock = DrawingLock::current();
  std::lock_guard<std::recursive_mutex> guard(*lock);
  initCurrentVerseMetaData(verse, forWidth);
  GetHeightOfVerseImage(verse, isLastVerse, verseBytes, startVerseBytes, endVerseBytes, forWidth, true);
  int first = startVerseBytes, last = endVerseBytes;
  if (!clampRange(verseBytes, first, last) || !arabicFontCharWidths) return;
  initGlyphs();
  GlyphBlitter blitter(context, *blitterSources_);
  blitter_ = &blitter;

  const std::uint8_t* bytes = verseBytes->data();
  const int n = int(verseBytes->size());
  VerseMetaData& meta = *currVerseMetaData_;
  skipNextChar = false;
  startIndexOfColorCoding = endIndexOfColorCoding = -1;
  lastColorCodingType = anotherColorCodingType = 0;
  int y = EXTRA_TOP_MARGIN + TASHKIL_HEIGHT + TOP_TASHKIL_LETTER_PADDING;

  for (int i = 0; i < VerseMetaData::kMaxLines - 1 && meta.arrLineIndexes[i] != -1; ++i) {
    const int recordedY = meta.arrLineStartYOffsets[i];
    const int lineY = (recordedY >= 1 || i == 0 || y <= 0) ? recordedY : y;
    const std::uint8_t savedCount = meta.arrLineKashidaCount[i];
    const bool lastLine = meta.arrLineIndexes[i + 1] == -1;
    const int lineStart = VerseMetaData::lineStart(meta.arrLineIndexes[i]);
    const int lineEnd = std::min(lineStart + VerseMetaData::lineLength(meta.arrLineIndexes[i]), last);
    // The recorded width counts the space that closes the line, which draws
    // nothing at its left end: the free space is measured without it, so a
    // line full only because of that space is justified too.
    int natural = meta.arrLineActualWidth[i];
    if (lineEnd >= lineStart && bytes[lineEnd] == kSpace) natural -= SPACE_CHAR_WIDTH;

    int kashidaWidth = 0;
    if (!lastLine && savedCount > 0 && natural > 0 && natural < forWidth) {
      const int free = forWidth - natural;
      meta.arrLineKashidaCount[i] = 2;
      kashidaWidth = int(std::ceil(free / 2.0));
      if (kashidaWidth == 1) kashidaWidth = int(SCALE_FACTOR);
      if (2 * kashidaWidth > free) kashidaWidth = free / 2;
    }
    if (meta.arrLineKashidaCount[i] > 119) ns::logf("Check Kashidas: %i", verse);

    int x = startX, count = 0;
    auto passedKashida = [&] { return meta.arrLineKashidaCount[i] > 0 ? kashidaWidth : 0; };
    auto flushWord = [&] {
      x = drawWord(verse, context, count, x, lineY, passedKashida(), i);
      count = 0;
    };
    for (int k = lineStart; k <= lineEnd; ++k) {
      bool skip;
      const int form = formAt(isLastVerse, k, bytes, n, skip);
      if (skip) continue;
      const int b = bytes[k];
      if (b == kVerseEnd) break;
      if (b == kSpace) {
        flushWord();
        x -= SPACE_CHAR_WIDTH;
        continue;
      }
      // A word longer than the scratch buffers is drawn in pieces.
      if (count == MAX_CHARS_IN_WORD) flushWord();
      arrWordColor[count] = std::uint8_t(colorForGlyph(isLastVerse, k, bytes, n, form));
      arrWordCharActualWidthUsed[count] = std::uint16_t(charWidth(form));
      arrWordOrigChars[count] = std::uint16_t(b);
      arrWordChars[count] = std::uint16_t(form);
      ++count;
    }
    flushWord();
    meta.arrLineKashidaCount[i] = savedCount;
    y += lineHeight();
  }
  blitter_ = nullptr;
}

int ArabicFont::drawWord(int, cg::Context& canvas, int count, int x, int y, int kashidaWidth,
                         int lineIndex) {
  count = std::clamp(count, 0, MAX_CHARS_IN_WORD);
  if (count == 0 || !currVerseMetaData_) return x;
  std::uint8_t& budget = currVerseMetaData_->arrLineKashidaCount[lineIndex];
  const auto orig = [&](int j) { return j >= 0 && j < count ? int(arrWordOrigChars[j]) : 0; };

  // The kashida goes after the earlier letter of the word's last allowed pair.
  int kashidaAt = -1;
  if (kashidaWidth >= 1 && budget > 0) {
    for (int j = count - 1; j >= 1 && kashidaAt < 0; --j) {
      const int later = orig(j), before = orig(j - 1);
      if (isMark(later) || before == 109 || isStopSign(before)) continue;
      int e = j - 1;
      while (e >= 0 && isMark(orig(e))) --e;
      if (e >= 0 && kashidaAllowed(orig(e), later) && !withinDivineName(orig, count, j)) kashidaAt = e;
    }
    if (kashidaAt >= 0) --budget;
  }

  // The joining stroke stretched over w points at the letters' height.
  auto drawStroke = [&](int sx, int w, unsigned color) {
    drawImage(blitter_, canvas, getGlyph(kKashida - kCharsStart, color), float(sx), float(y), float(w),
              float(CHAR_HEIGHT));
  };
  const int maddaWidth = charWidth(kMadda);
  int letterX = x;
  int letterAdv = 0, letterForm = 0, letterCode = 0, stacked = 0;
  bool after109 = false;
  auto nextLetterInWord = [&](int j) {
    for (int k = j + 1; k < count; ++k)
      if (!isNotLetter(orig(k))) return orig(k);
    return 0;
  };

  for (int j = 0; j < count; ++j) {
    const int c = orig(j), form = arrWordChars[j];
    const unsigned color = arrWordColor[j];
    const bool letterLike = !isMark(c) || (c == kDaggerAlef && orig(j + 1) == kMadda);
    const int gi = form - kCharsStart;
    const bool haveImage = gi >= 0 && gi < int(arrGlyphWidth.size());
    const float gw = haveImage ? arrGlyphWidth[gi] : 0, gh = haveImage ? arrGlyphHeight[gi] : 0;

    if (letterLike) {
      const int adv = letterAdvance(c, form, orig(j + 1), letterForm);
      arrWordCharActualWidthUsed[j] = std::uint16_t(adv);
      if (c != 103) x -= adv;
      // Whole points throughout, so every glyph is a plain copy.
      int shift = 0;
      if (c == 102 || c == 103) shift = (letterAdv - adv) / 2;
      int gy = y;
      if (c == 109 && j > 0 && isMark(orig(j - 1))) gy -= TASHKIL_HEIGHT / 2;
      const bool small = isSmallLetter(c) || c == kDaggerAlef;
      if (small && joinsForward(letterForm) && nextLetterInWord(j) != 0) {
        const int widen = j > 0 && isMarkAbove(orig(j - 1)) ? 1 : 0;
        drawStroke(x, adv + widen, color);
      }
      drawImage(blitter_, canvas, getGlyph(gi, color), float(x + shift), float(gy), gw, gh);
      if (c == 109) {
        ++stacked;
        after109 = true;
      } else {
        stacked = 0;
        after109 = false;
      }
      letterX = x + shift;
      letterAdv = adv;
      letterForm = form;
      letterCode = c;
    } else if (!(c == kSmallMeem && isTanween(orig(j - 1)))) {
      const int markWidth = charWidth(form);
      arrWordCharActualWidthUsed[j] = std::uint16_t(markWidth);
      int mx = letterX + (letterAdv - markWidth) / 2;
      const bool above = isMarkAbove(c);
      int my = y + (above ? markAboveOffset(form, letterForm, stacked, after109)
                          : markBelowOffset(form, c, letterForm, letterCode, nextLetterInWord(j)));
      if ((c == 124 || c == 126 || c == kMadda) &&
          (letterForm == 165 || letterForm == 166 || letterForm == 234 || letterForm == 251))
        my -= EXTRA_PREV_TASHKIL_OFFSET;
      if (c == kMadda) {
        const int prevWidth = j > 0 ? arrWordCharActualWidthUsed[j - 1] : maddaWidth;
        if (prevWidth < maddaWidth) mx += (maddaWidth - prevWidth) / 2;
        my += letterCode == 114 ? TOP_TASHKIL_LETTER_PADDING : TOP_TASHKIL_LETTER_PADDING / 2;
      }
      if (letterForm == 238) mx += 2;
      // A final or isolated meem ends in a tail under its left side: a mark
      // below goes under the body, clear of the tail, as Amiri sets it.
      if (!above && (letterForm == 132 || letterForm == kMeem)) mx += (CHAR_HEIGHT * 64 + 500) / 1000;
      if (stacked > 0 && c >= 121 && c <= 126 && orig(j - 1) >= 240 &&
          my % std::max(1, int(CHAR_HEIGHT)) > 4)
        my -= TASHKIL_HEIGHT * 13 / 100;
      if (stacked > 0 && c == 255) mx += TASHKIL_HEIGHT * 13 / 100;
      if (letterCode == 106 && above) my += TASHKIL_HEIGHT / 2;
      if (c >= 121 && c <= 126 && letterAdv <= SPACE_CHAR_WIDTH) mx += TASHKIL_HEIGHT * 13 / 100;
      if (my < 0) my = TASHKIL_HEIGHT * 625 / 10000;
      mx = std::max(mx, 1);
      drawImage(blitter_, canvas, getGlyph(gi, color), float(mx), float(my), gw, gh);
      if (above) ++stacked;
    }

    if (j == kashidaAt) {
      x -= kashidaWidth;
      drawStroke(x, kashidaWidth, color);
    }
  }
  return x;
}
