// Contextual glyph forms (joining, lam-alef, tanween forms) and tajweed colours.
#include "Classes/glyphs/ArabicFont.h"
#include "Classes/glyphs/GlyphTables.h"

using namespace glyphtables;

namespace {

bool isOneOf(int c, std::initializer_list<int> codes) {
  for (int x : codes)
    if (c == x) return true;
  return false;
}

// The index of the last mark in the run of marks right after index.
int lastMarkIndex(int index, const std::uint8_t* bytes, int len) {
  while (index + 1 < len && isMark(bytes[index + 1])) ++index;
  return index;
}

bool markFollows(int index, const std::uint8_t* bytes, int len) {
  return index + 1 < len && isMark(bytes[index + 1]);
}

// A neighbouring letter: walks over marks, then, when it lands on a small
// letter, over further marks and repeats of that small letter.
int neighbourIndex(const std::uint8_t* bytes, int len, int from, int step, bool overSpaces) {
  auto passable = [&](int c) { return isMark(c) || (overSpaces && c == kSpace); };
  int j = from;
  while (j >= 0 && j < len && passable(bytes[j])) j += step;
  if (j < 0 || j >= len || !isSmallLetter(bytes[j])) return j;
  const int small = bytes[j];
  while (j >= 0 && j < len && (isMark(bytes[j]) || bytes[j] == small)) j += step;
  return j;
}

}  // namespace

bool ArabicFont::isCharTashkil(int c, bool skipSpecialChars) {
  return skipSpecialChars ? isMarkNarrow(c) : isMark(c);
}
bool ArabicFont::isTashkilAboveLetter(int c) { return isMarkAbove(c); }
bool ArabicFont::isTashkilBelowLetter(int c) { return isMarkBelow(c); }

int ArabicFont::getNextActualCharFromVerse(int index, const std::uint8_t* bytes, int endIndex,
                                           int* nextIndex, bool skipSpace) {
  if (!bytes) return 0;
  int j = index + 1;
  while (j < endIndex && (isNotLetter(bytes[j]) || (skipSpace && bytes[j] == kSpace))) ++j;
  if (j < 0 || j >= endIndex) return 0;
  if (nextIndex) *nextIndex = j;
  return bytes[j];
}

int ArabicFont::getNextActualChar(int index, const std::uint8_t* bytes, int endIndex) {
  return getNextActualCharFromVerse(index, bytes, endIndex, nullptr, false);
}

int ArabicFont::getPrevActualChar(int index, const std::uint8_t* bytes) {
  if (!bytes) return 0;
  int j = index - 1;
  while (j >= 0 && isNotLetter(bytes[j])) --j;
  return j >= 0 ? bytes[j] : 0;
}

bool ArabicFont::doesCharacterHaveTanween(int index, const std::uint8_t* bytes, int endIndex) {
  for (int j = index + 1; bytes && j < endIndex && isMark(bytes[j]); ++j)
    if (isTanween(bytes[j])) return true;
  return false;
}

bool ArabicFont::doesCharacter(int index, int mark, const std::uint8_t* bytes, int endIndex) {
  for (int j = index + 1; bytes && j < endIndex && isMark(bytes[j]); ++j)
    if (bytes[j] == mark) return true;
  return false;
}

int ArabicFont::getTypeOfSymbol(int, bool isLastVerse, int i, const std::uint8_t* bytes, int n,
                                int) {
  if (!bytes || i < 0 || i >= n) return 0;
  const int c = bytes[i];
  if (c < kCharsStart) return c;

  const int pi = neighbourIndex(bytes, n, i - 1, -1, false);
  const int p = pi >= 0 ? bytes[pi] : 0;
  int qi = neighbourIndex(bytes, n, i + 1, +1, isMark(c));
  int q = qi < n ? bytes[qi] : 0;

  if (isOneOf(c, {99, 100, 101, 240, 242, 243}) && (q == kAlef || q == 127)) {
    const int over = q;
    while (qi < n && (isMark(bytes[qi]) || bytes[qi] >= 240 || bytes[qi] == over ||
                      bytes[qi] == kAlef || bytes[qi] == kSpace))
      ++qi;
    q = qi < n ? bytes[qi] : 0;
  }

  if (isMark(c)) {
    const bool endsVerse = isLastVerse && (q == 0 || q == kVerseEnd || i == n - 1);
    if (q != kBa && !endsVerse) return c;
    if (c == 242 || c == 101) return 253;
    if (c == 243 || c == 100) return 249;
    if (c == 240 || c == 99) return 254;
    return c;
  }

  int form = c;
  if (c == kLam) {
    const bool alefFollows = isOneOf(q, {kAlefWasla, 165, 167, 170, kAlef});
    const bool hamzaAlef = q == kHamza && getNextActualChar(qi, bytes, n) == kAlef;
    if (alefFollows || hamzaAlef) form = 238;
  }

  if (p == kLam && (isOneOf(c, {kAlefWasla, 165, 167, 170, kAlef}) || (c == kHamza && q == kAlef))) {
    int before = pi - 1;
    while (before >= 0 && isMark(bytes[before])) --before;
    const int b = before >= 0 ? bytes[before] : 0;
    const bool connected = acceptsJoin(b) && forwardForm(b) != 0;
    switch (c) {
      case kAlefWasla: return connected ? 94 : 92;
      case kHamza: skipNextChar = true; return connected ? 96 : 93;
      case 165: return connected ? 95 : 234;
      case 167: return connected ? 96 : 235;
      case 170: return connected ? 97 : 236;
      default: return connected ? 98 : 237;
    }
  }

  if (acceptsJoin(q) && forwardForm(form)) form = forwardForm(form);
  if (joinsForward(p) && backwardForm(form)) form = backwardForm(form);
  return form;
}

int ArabicFont::getColorOfSymbol(int, bool, int i, const std::uint8_t* bytes, int n, int,
                                 int resolvedChar, bool skipGhunnaAndQalqala) {
  if (!bytes || i < 0 || i >= n) return 0;
  const int c = bytes[i];
  if (c < kCharsStart) return 0;
  if (isMark(c) && !isOneOf(c, {99, 100, 101, 240, 241, 242, 243, 249, 253, 254})) return 0;
  const bool last = i + 1 >= n;

  auto run = [&](int start, int end, int colorClass) {
    startIndexOfColorCoding = start;
    endIndexOfColorCoding = end;
    return colorClass;
  };
  // The next letter, skipping spaces, with its index (len when none).
  auto nextLetter = [&](int from, bool skipSpace, int& at) {
    at = n;
    return getNextActualCharFromVerse(from, bytes, n, &at, skipSpace);
  };
  // After a tanween a 115, and a 175 or an alef maqsura without a mark, are
  // looked past: they are not pronounced.
  auto pastSilentAlef = [&](int letter, int& at) {
    for (int guard = 0; guard < 2; ++guard) {
      const bool silent = letter == kAlefWasla ||
                          ((letter == kAlef || letter == kAlefMaqsura) && !markFollows(at, bytes, n));
      if (!letter || !silent) break;
      letter = nextLetter(at, true, at);
    }
    return letter;
  };

  // Qalqala.
  if (canShowQalqala && !skipGhunnaAndQalqala && isOneOf(c, {kBa, 185, 190, 202, 216})) {
    if (last) return run(i, n - 1, 6);
    if (bytes[i + 1] == kSukun) return run(i, i + 1, 6);
    int at;
    const int next = nextLetter(i, true, at);
    if (next == 0 || next == kVerseEnd) return run(i, n - 1, 6);
  }

  // Meem sakin before ba (ikhfa) or before meem (idghaam).
  if (c == kMeem && !last) {
    const int b1 = bytes[i + 1];
    int at;
    const int next = nextLetter(i, true, at);
    if (canShowIkhfa && (b1 == kSukun || (!isMarkNarrow(b1) && b1 != kSmallMeem)) && next == kBa &&
        markFollows(at, bytes, n))
      return run(i, lastMarkIndex(at, bytes, n), 4);
    if (canShowIdgham && (b1 == kSukun || !isMarkNarrow(b1)) && next == kMeem &&
        markFollows(at, bytes, n)) {
      int after;
      const int following = nextLetter(at, false, after);
      return run(i, following ? after - 1 : n - 1, 3);
    }
  }

  // Noon sakin and tanween.
  if ((canShowIkhfa || canShowIdgham) && !last) {
    int source = -1;
    const bool tanween = doesCharacterHaveTanween(i, bytes, n);
    if (tanween) {
      source = i;
    } else {
      int at;
      int next = nextLetter(i, false, at);
      if (next == kAlefWasla) next = nextLetter(at, false, at);
      if (next == kNoon) {
        bool vowel = false;
        for (int j = at + 1; j < n && isMark(bytes[j]); ++j) vowel = vowel || isVowelMark(bytes[j]);
        if (doesCharacter(at, kSukun, bytes, n) || !vowel) source = at;
      }
    }
    if (source >= 0) {
      int at;
      int target = nextLetter(source, true, at);
      if (tanween) target = pastSilentAlef(target, at);
      if (target) {
        const bool insidePrevious = i >= startIndexOfColorCoding && i <= endIndexOfColorCoding;
        const int start = tanween ? (insidePrevious ? startIndexOfColorCoding : i) : source;
        const int end = lastMarkIndex(at, bytes, n);
        int after;
        const int afterNoon = nextLetter(source, false, after);
        const bool wordEnds = tanween || afterNoon == 0 || afterNoon == kVerseEnd || afterNoon == kSpace;
        if (canShowIkhfa && at != n - 1 &&
            isOneOf(target, {181, 183, 185, 190, 191, 193, 195, 197, 199, 201, 202, 203, 214, 216, 218}))
          return run(start, end, 2);
        if (canShowIdgham && wordEnds && isOneOf(target, {kMeem, kNoon, 228, 232}))
          return run(start, end, 1);
        if (canShowIdgham && wordEnds && (target == 192 || target == kLam) && at + 1 < n &&
            bytes[at + 1] == kShadda)
          return run(start, end, 10);
      }
    }
  }

  // Ghunna: meem or noon with shadda.
  if (canShowGhunna && !skipGhunnaAndQalqala && (c == kMeem || c == kNoon) && !last &&
      doesCharacter(i, kShadda, bytes, n)) {
    int at;
    const int next = nextLetter(i, false, at);
    if (doesCharacter(i, kSmallMeem, bytes, n) || next == 0) return run(i, i + 1, 5);
    return run(i, at - 1, 5);
  }

  // Iqlab: noon sakin or tanween before ba.
  if (canShowIqlab && !last) {
    const bool iqlab = isOneOf(c, {241, 249, 253, 254}) || isOneOf(resolvedChar, {249, 253, 254}) ||
                       doesCharacter(i, kSmallMeem, bytes, n);
    if (!iqlab) return 0;
    int at;
    int next = nextLetter(i, true, at);
    if (isTanween(c) || isTanween(resolvedChar) || doesCharacterHaveTanween(i, bytes, n))
      next = pastSilentAlef(next, at);
    if (next == kBa && markFollows(at, bytes, n)) return run(i, lastMarkIndex(at, bytes, n), 7);
  }
  return 0;
}
