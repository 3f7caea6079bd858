// Contextual forms, lam-alef and tajweed colour classes on code strings.
#include <gtest/gtest.h>

#include <vector>

#include "Classes/glyphs/ArabicFont.h"
#include "GlyphFixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct FormCase {
  const char* name;
  Bytes bytes;
  bool lastVerse;
  std::vector<int> forms;  // expected form of each byte
};

std::vector<int> formsOf(ArabicFont& font, const Bytes& b, bool lastVerse) {
  std::vector<int> out;
  for (int i = 0; i < int(b.size()); ++i)
    out.push_back(font.getTypeOfSymbol(0, lastVerse, i, b.data(), int(b.size()), int(b.size())));
  return out;
}

TEST(ArabicFontForms, ContextualFormsAndLamAlef) {
  glyphfixture::resetDefaults(false);
  ArabicFont font(0, false, nullptr, 1);
  const FormCase cases[] = {
      {"ba ba ba: initial, medial, final", {178, 178, 178}, false, {177, 159, 158}},
      {"ba alef: alef takes its final form", {178, 175}, false, {177, 176}},
      {"alef ba: alef joins nothing forward", {175, 178}, false, {175, 178}},
      {"lam alef-wasla after a joining letter", {178, 220, 115}, false, {177, 239, 94}},
      {"lam alef-wasla at a word start", {220, 115}, false, {238, 92}},
      {"lam alef-wasla after a space", {175, 32, 220, 115}, false, {175, 32, 238, 92}},
      {"lam madda, hamza above, hamza below, alef", {220, 165, 32, 220, 167, 32, 220, 170, 32, 220, 175},
       false, {238, 234, 32, 238, 235, 32, 238, 236, 32, 238, 237}},
      {"connected lam with the other alefs", {178, 220, 165, 32, 178, 220, 167, 32, 178, 220, 170, 32, 178, 220, 175},
       false, {177, 239, 95, 32, 177, 239, 96, 32, 177, 239, 97, 32, 177, 239, 98}},
      {"lam with marks before its alef", {178, 220, 244, 175}, false, {177, 239, 244, 98}},
      {"lam hamza not followed by alef", {220, 164, 178}, false, {220, 164, 178}},
      {"the word with two lams and heh", {220, 244, 220, 250, 244, 226}, false,
       {219, 244, 130, 250, 244, 120}},
      {"small letters are looked through", {178, 113, 178}, false, {177, 113, 158}},
      {"tanween before ba becomes iqlab", {205, 99, 32, 178, 244}, false, {205, 254, 32, 178, 244}},
      {"tanween past a silent alef before ba", {205, 240, 175, 32, 178, 244}, false,
       {204, 254, 176, 32, 178, 244}},
      {"tanween ending the last verse", {178, 242, 10}, true, {178, 253, 10}},
      {"tanween ending another verse", {178, 242, 10}, false, {178, 242, 10}},
      {"kasratan ending the last verse", {178, 243}, true, {178, 249}},
      {"codes below 82 are kept", {10, 32, 50}, false, {10, 32, 50}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formsOf(font, c.bytes, c.lastVerse), c.forms) << c.name;
  }
}

TEST(ArabicFontForms, HamzaAlefAfterLamSkipsTheAlefConnectedOrNot) {
  glyphfixture::resetDefaults(false);
  ArabicFont font(0, false, nullptr, 1);
  struct Case {
    Bytes bytes;
    int hamzaIndex, lamForm, pieceForm;
  } cases[] = {{{220, 164, 175}, 1, 238, 93}, {{178, 220, 164, 175}, 2, 239, 96}};
  for (const auto& c : cases) {
    const int n = int(c.bytes.size());
    font.skipNextChar = false;
    EXPECT_EQ(font.getTypeOfSymbol(0, false, c.hamzaIndex - 1, c.bytes.data(), n, n), c.lamForm);
    EXPECT_FALSE(font.skipNextChar);
    EXPECT_EQ(font.getTypeOfSymbol(0, false, c.hamzaIndex, c.bytes.data(), n, n), c.pieceForm);
    EXPECT_TRUE(font.skipNextChar) << "the alef after the piece must not be drawn";
  }
}

TEST(ArabicFontForms, LookupsStayInsideTheBytes) {
  glyphfixture::resetDefaults(false);
  ArabicFont font(0, false, nullptr, 1);
  const Bytes b = {220, 244};
  EXPECT_EQ(font.getTypeOfSymbol(0, false, -1, b.data(), 2, 2), 0);
  EXPECT_EQ(font.getTypeOfSymbol(0, false, 2, b.data(), 2, 2), 0);
  EXPECT_EQ(font.getTypeOfSymbol(0, false, 0, nullptr, 2, 2), 0);
  EXPECT_EQ(ArabicFont::getNextActualChar(1, b.data(), 2), 0);
  EXPECT_EQ(ArabicFont::getPrevActualChar(0, b.data()), 0);
  EXPECT_EQ(font.getColorOfSymbol(0, false, 5, b.data(), 2, 2, 0, false), 0);
}

// --- Tajweed colours -------------------------------------------------------------

enum Switch : unsigned {
  Qalqala = 1, Ikhfa = 2, Idgham = 4, Iqlab = 8, Ghunna = 16, All = 31,
};

struct ColorCase {
  const char* name;
  Bytes bytes;
  int index;
  int colorClass;  // with every switch on
  int start, end;  // the run
  unsigned rule;   // the switch whose loss removes the colour
};

struct ColorResult {
  int colorClass, start, end;
};

ColorResult colorOf(ArabicFont& font, const ColorCase& c) {
  const int n = int(c.bytes.size());
  font.startIndexOfColorCoding = font.endIndexOfColorCoding = -1;
  const int form = font.getTypeOfSymbol(0, false, c.index, c.bytes.data(), n, n);
  const int cls = font.getColorOfSymbol(0, false, c.index, c.bytes.data(), n, n, form, false);
  return {cls, font.startIndexOfColorCoding, font.endIndexOfColorCoding};
}

void setSwitches(ArabicFont& font, unsigned on) {
  font.canShowQalqala = on & Qalqala;
  font.canShowIkhfa = on & Ikhfa;
  font.canShowIdgham = on & Idgham;
  font.canShowIqlab = on & Iqlab;
  font.canShowGhunna = on & Ghunna;
}

const ColorCase kColorCases[] = {
    {"qalqala with sukun mid-verse", {167, 244, 216, 252, 181, 244, 10}, 2, 6, 2, 3, Qalqala},
    {"qalqala as the verse's last letter", {181, 216, 244, 10}, 1, 6, 1, 3, Qalqala},
    {"ikhfa of meem sakin before ba", {222, 252, 32, 178, 244, 10}, 0, 4, 0, 4, Ikhfa},
    {"idghaam of meem sakin before meem", {222, 252, 32, 222, 244, 181, 10}, 0, 3, 0, 4, Idgham},
    {"noon sakin ending a word before meem", {222, 224, 252, 32, 222, 244, 10}, 0, 1, 1, 5, Idgham},
    {"noon sakin before ta across words", {181, 224, 252, 32, 181, 244, 10}, 0, 2, 1, 5, Ikhfa},
    {"tanween before ta", {181, 240, 32, 181, 244, 10}, 0, 2, 0, 4, Ikhfa},
    {"noon sakin before ra with shadda", {181, 224, 252, 32, 192, 250, 244, 10}, 0, 10, 1, 6, Idgham},
    {"tanween before lam with shadda", {181, 242, 32, 220, 250, 244, 10}, 0, 10, 0, 5, Idgham},
    {"ghunna on a noon with shadda", {224, 250, 244, 181, 10}, 0, 5, 0, 2, Ghunna},
    {"tanween before ba is iqlab", {205, 99, 32, 178, 244, 10}, 1, 7, 1, 4, Iqlab},
    {"tanween past a silent alef maqsura before lam", {190, 101, 229, 32, 220, 250, 248, 220, 10},
     0, 10, 0, 6, Idgham},
    {"tanween past a silent alef maqsura before ta", {190, 240, 229, 32, 181, 244, 10}, 0, 2, 0, 5, Ikhfa},
};

TEST(ArabicFontTajweed, EachRuleWithItsSwitchOnAndOff) {
  glyphfixture::resetDefaults(false);
  ArabicFont font(0, false, nullptr, 1);
  for (const auto& c : kColorCases) {
    setSwitches(font, All);
    ColorResult on = colorOf(font, c);
    EXPECT_EQ(on.colorClass, c.colorClass) << c.name;
    EXPECT_EQ(on.start, c.start) << c.name;
    EXPECT_EQ(on.end, c.end) << c.name;
    setSwitches(font, All & ~c.rule);
    EXPECT_EQ(colorOf(font, c).colorClass, 0) << c.name << " with its switch off";
  }
}

TEST(ArabicFontTajweed, UncolouredCases) {
  glyphfixture::resetDefaults(true);
  ArabicFont font(0, false, nullptr, 1);
  const ColorCase cases[] = {
      {"noon sakin before meem inside a word", {181, 224, 252, 222, 244, 10}, 0, 0, -1, -1, 0},
      {"qalqala letter with a vowel mid-verse", {216, 244, 181, 244, 10}, 0, 0, -1, -1, 0},
      {"plain letter", {181, 244, 178, 10}, 0, 0, -1, -1, 0},
      {"a fatha is never coloured", {181, 244, 10}, 1, 0, -1, -1, 0},
      {"the last byte", {224, 250}, 1, 0, -1, -1, 0},
      {"noon sakin before ra without shadda", {181, 224, 252, 32, 192, 244, 10}, 0, 0, -1, -1, 0},
      {"tanween before lam without shadda", {181, 242, 32, 220, 244, 10}, 0, 0, -1, -1, 0},
      {"tanween before an alef maqsura that is read", {190, 240, 229, 244, 32, 181, 244, 10}, 0, 0, -1, -1, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(colorOf(font, c).colorClass, 0) << c.name;
}

TEST(ArabicFontTajweed, OneSwitchOffLeavesTheOtherRules) {
  glyphfixture::resetDefaults(true);
  ArabicFont font(0, false, nullptr, 1);
  font.canShowIkhfa = false;
  EXPECT_EQ(colorOf(font, kColorCases[5]).colorClass, 0);  // before ta
  EXPECT_EQ(colorOf(font, kColorCases[4]).colorClass, 1);  // before meem across words
}

TEST(ArabicFontTajweed, DefaultsSetTheSwitchesAndOverrideTurnsEveryRuleOn) {
  glyphfixture::resetDefaults(false);
  ArabicFont plain(0, false, nullptr, 1);
  ArabicFont forced(0, true, nullptr, 1);
  EXPECT_FALSE(plain.canShowGhunna || plain.canShowIkhfa || plain.canShowIdgham || plain.canShowIqlab ||
               plain.canShowQalqala || plain.canColorStopSigns);
  EXPECT_TRUE(forced.canShowGhunna && forced.canShowIkhfa && forced.canShowIdgham && forced.canShowIqlab &&
              forced.canShowQalqala);
  EXPECT_FALSE(forced.canColorStopSigns) << "stop signs follow their own setting";
  for (const auto& c : kColorCases) EXPECT_EQ(colorOf(forced, c).colorClass, c.colorClass) << c.name;

  glyphfixture::resetDefaults(true);
  ArabicFont fromDefaults(0, false, nullptr, 1);
  EXPECT_TRUE(fromDefaults.canShowQalqala && fromDefaults.canColorStopSigns);
}

TEST(ArabicFontInstance, StyleConstantsByGroupAndScreenScale) {
  glyphfixture::resetDefaults(false);
  struct Case {
    unsigned style;
    float scale;
    int charHeight, tashkil, space, prevOffset, padding;
  } cases[] = {
      {0, 1, 26, 9, 9, 4, 3},   {5, 2, 26, 9, 9, 4, 2},   {1, 1, 33, 8, 8, 5, 3},
      {6, 2, 30, 10, 10, 5, 2}, {2, 1, 36, 12, 12, 6, 3}, {7, 2, 36, 12, 12, 6, 2},
      {3, 1, 40, 14, 14, 7, 3}, {8, 2, 40, 14, 14, 7, 2}, {4, 1, 46, 16, 16, 8, 3},
      {9, 2, 46, 16, 16, 8, 2},
  };
  for (const auto& c : cases) {
    ArabicFont font(c.style, false, glyphfixture::sharedDatabase(), c.scale);
    EXPECT_EQ(font.FONT_RESOLUTION, c.style);
    EXPECT_EQ(font.CHAR_HEIGHT, c.charHeight) << c.style;
    EXPECT_EQ(font.TASHKIL_HEIGHT, c.tashkil) << c.style;
    EXPECT_EQ(font.SPACE_CHAR_WIDTH, c.space) << c.style;
    EXPECT_EQ(font.EXTRA_PREV_TASHKIL_OFFSET, c.prevOffset) << c.style;
    EXPECT_EQ(font.TOP_TASHKIL_LETTER_PADDING, c.padding) << c.style;
    ASSERT_NE(font.arabicFontCharWidths, nullptr);
  }
  ArabicFont big(4, false, glyphfixture::sharedDatabase(), 1);
  EXPECT_EQ(big.charWidth(166), 17);
  EXPECT_EQ(big.charWidth(207), 23);
  EXPECT_EQ(big.charWidth(211), 23);
  EXPECT_EQ(big.arrVerseMetaDataCache.size(), 3u);
  EXPECT_EQ(big.arrWordChars.size(), 80u);
}

}  // namespace
