#pragma once
// The Arabic glyph renderer. One instance holds the glyph images of one size
// style, that style's metric tables, the tajweed switches, the word scratch
// buffers and the layout of the verse being measured or drawn.
//
// Main thread only; every drawing pass of every instance holds the
// process-wide drawing lock.
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "Classes/glyphs/GlyphBlitter.h"
#include "Classes/glyphs/GlyphMetrics.h"
#include "Classes/glyphs/VerseMetaData.h"
#include "platform/foundation/Data.h"

namespace cg {
class Context;
class Image;
}  // namespace cg

class ArabicFont {
 public:
  using Glyph = std::shared_ptr<cg::Image>;

  // fontResolution: the size style 0..9 (the Arabic size setting, plus 5 on a
  // 2x screen). Reads the content database's "glyphs" and "glyphmetrics" on
  // the store's content connection, at the main screen's scale.
  ArabicFont(unsigned fontResolution, bool overrideTajweed);
  // The same on a given content database and screen scale (1 or 2).
  ArabicFont(unsigned fontResolution, bool overrideTajweed, sqlite3* contentDb, float screenScale);
  ~ArabicFont();
  ArabicFont(const ArabicFont&) = delete;
  ArabicFont& operator=(const ArabicFont&) = delete;

  // --- Glyph data --------------------------------------------------------------
  // Decodes the style's glyph images once; later calls return at once.
  void initGlyphs();
  // The image to draw for a glyph index in a colour class (0 plain, 1..10
  // tinted, made on first use and kept); nothing for an unknown class.
  Glyph getGlyph(int glyphIndex, unsigned colorClass);
  // A new tinted image of the glyph (classes 8 and 9 always tint 121 and 123).
  Glyph generateColoredGlyph(int glyphIndex, unsigned colorClass);
  // Empties the layout cache slots.
  void ClearCache();
  std::shared_ptr<VerseMetaData> currVerseMetaData() const { return currVerseMetaData_; }
  void setCurrVerseMetaData(std::shared_ptr<VerseMetaData> meta) { currVerseMetaData_ = std::move(meta); }

  // --- Measuring ---------------------------------------------------------------
  // Breaks the codes startBytes..endBytes into lines of forWidth points and
  // returns the height, which holds the marks above every line and the marks
  // below the last; with updateLineIndexes the layout goes into
  // currVerseMetaData. 0 for a missing string or an empty range.
  int GetHeightOfVerseImage(int verse, bool isLastVerse, const ns::Data* verseBytes,
                            int startBytes, int endBytes, int forWidth, bool updateLineIndexes);
  // Makes a fresh layout record for (verse, width); always false ("not cached").
  bool initCurrentVerseMetaData(int verse, int width);
  // The height of one line of text in this style.
  int lineHeight() const;

  // --- Drawing -----------------------------------------------------------------
  // Draws the verse right to left with its right edge at startX, justified to
  // forWidth, into the context.
  void DrawVerseImageFromBytes(cg::Context& context, int verse, bool isLastVerse,
                               const ns::Data* verseBytes, int startVerseBytes,
                               int endVerseBytes, int startX, int forWidth);
  // Draws the collected word with its right edge at xOffset; returns its left edge.
  int drawWord(int verse, cg::Context& canvas, int wordCharIndex, int xOffset, int yOffset,
               int avgKashidaWidth, int wordOfLineIndex);
  // The y of a mark relative to the line's letter y.
  int getTashkilYOffset(int mark, int letter) const;

  // --- Contextual forms and tajweed ---------------------------------------------
  // The code to draw for the byte at symIndex.
  int getTypeOfSymbol(int unused, bool isLastVerse, int symIndex, const std::uint8_t* verseBytes,
                      int verseByteLen, int overallBytesLen);
  // The tajweed colour class of the byte at symIndex; sets the colour run.
  int getColorOfSymbol(int unused, bool isLastVerse, int symIndex, const std::uint8_t* verseBytes,
                       int verseByteLen, int overallBytesLen, int resolvedChar,
                       bool skipGhunnaAndQalqala);

  static bool isCharTashkil(int c, bool skipSpecialChars = false);
  static bool isTashkilAboveLetter(int c);
  static bool isTashkilBelowLetter(int c);
  // The next letter after index (marks and 109 passed over, spaces too with
  // skipSpace), 0 when none; its index through nextIndex.
  static int getNextActualCharFromVerse(int index, const std::uint8_t* verseBytes, int endIndex,
                                        int* nextIndex, bool skipSpace);
  static int getNextActualChar(int index, const std::uint8_t* verseBytes, int endIndex);
  static int getPrevActualChar(int index, const std::uint8_t* verseBytes);
  // Whether a tanween mark stands in the run of marks right after index.
  static bool doesCharacterHaveTanween(int index, const std::uint8_t* verseBytes, int endIndex);
  // Whether the mark stands in the run of marks right after index.
  static bool doesCharacter(int index, int mark, const std::uint8_t* verseBytes, int endIndex);

  // --- State ---------------------------------------------------------------------
  // Tinted images per colour class, by glyph index (null until made).
  std::vector<Glyph> arabicFontImgsColorIdghaam, arabicFontImgsColorIkhfa,
      arabicFontImgsColorIdghaamMeemSakin, arabicFontImgsColorIdghaamWithoutGhunna,
      arabicFontImgsColorIkhfaMeemSakin, arabicFontImgsColorGhunna, arabicFontImgsColorQalqala,
      arabicFontImgsColorQalb;
  std::vector<Glyph> arabicFontImgsColorStopSigns;  // two slots: 123, then 121
  // Plain images by glyph index; an image that failed to load is null.
  std::vector<Glyph> arabicFontImgs;
  std::vector<float> arrGlyphHeight, arrGlyphWidth;
  std::vector<std::shared_ptr<VerseMetaData>> arrVerseMetaDataCache;
  // Word scratch: forms, stored codes, advances and colour classes.
  std::vector<std::uint16_t> arrWordChars, arrWordOrigChars, arrWordCharActualWidthUsed;
  std::vector<std::uint8_t> arrWordColor;

  bool canColorStopSigns = false, canShowGhunna = false, canShowIkhfa = false,
       canShowIdgham = false, canShowIqlab = false, canShowQalqala = false;
  std::uint32_t FONT_RESOLUTION = 0;
  float SCALE_FACTOR = 1;
  std::uint8_t CHAR_HEIGHT = 0;
  std::int16_t TASHKIL_HEIGHT = 8;
  std::int16_t TOP_TASHKIL_LETTER_PADDING = 3;
  std::int32_t EXTRA_PREV_TASHKIL_OFFSET = 0;
  std::int32_t EXTRA_TOP_MARGIN = 0;
  std::int32_t SPACE_CHAR_WIDTH = 8;
  std::uint8_t CHARS_START_INDEX = 82;
  std::int32_t MAX_CHARS_IN_WORD = 80;
  std::int32_t META_DATA_CACHE_COUNT = 3;
  static constexpr int LETTER_MARK_GAP = 2;

  std::int32_t prevGetHeightTashkilOffset = 0;
  bool skipNextChar = false;
  // The style's advance widths (174 by glyph index) and ink tops and bottoms
  // (350), from the font's own content database; null when that database
  // has no complete metrics for the style.
  std::uint32_t* arabicFontCharWidths = nullptr;
  const std::int32_t* arabicFontCharVerticals = nullptr;
  std::int32_t startIndexOfColorCoding = -1, endIndexOfColorCoding = -1;
  std::uint32_t lastColorCodingType = 0, anotherColorCodingType = 0;
  bool alwaysShowTajweed = false;

  // Advance width of a code in this style (0 for codes that are no glyph).
  int charWidth(int code) const;

 private:
  Glyph makeGlyphImage(const ns::Data& png) const;
  std::vector<Glyph>* colorCache(unsigned colorClass);
  int inkTop(int code) const;
  int inkBottom(int code) const;
  // The offset of a mark above with the stacking rules, relative to the letter y.
  int markAboveOffset(int mark, int letter, int stacked, bool after109) const;
  // The offset of a mark below (form as drawn, code as stored) under the last
  // letter (form as drawn, code as stored), relative to the letter y; next is
  // the letter after it in the word.
  int markBelowOffset(int markForm, int markCode, int letterForm, int letterCode, int next) const;
  // The advance of a letter-like glyph: its table width, or 251's width for a
  // small letter carrying a madda after a joining letter.
  int letterAdvance(int code, int form, int nextCode, int prevLetterForm) const;
  // Limits first..last to the bytes and to what a line word can address;
  // false when nothing is left to lay out.
  static bool clampRange(const ns::Data* bytes, int& first, int& last);
  // The form of the byte at index; skip tells that it is the swallowed second
  // half of a lam-alef and takes no room.
  int formAt(bool isLastVerse, int index, const std::uint8_t* bytes, int len, bool& skip);
  // The colour class of a glyph, following and updating the colour run.
  unsigned colorForGlyph(bool isLastVerse, int index, const std::uint8_t* bytes, int len, int form);

  sqlite3* db_ = nullptr;
  // The metric tables of db_, which the two table pointers above point into.
  std::shared_ptr<GlyphMetrics::Tables> metrics_;
  bool glyphsLoaded_ = false;
  std::shared_ptr<VerseMetaData> currVerseMetaData_;
  // Draws the glyphs of the verse being drawn; null outside a drawing pass.
  GlyphBlitter* blitter_ = nullptr;
  // What the blitter keeps of the glyph images between passes.
  std::shared_ptr<GlyphBlitter::Sources> blitterSources_ = std::make_shared<GlyphBlitter::Sources>();
};
