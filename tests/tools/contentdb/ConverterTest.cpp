#include "tools/contentdb/Converter.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/foundation/String.h"

using namespace contentdb;

namespace {

std::vector<int> codesOf(const std::string& bytes) {
  std::vector<int> v;
  for (char c : bytes) v.push_back(static_cast<unsigned char>(c));
  return v;
}

struct WordCase {
  const char* word;  // as the text spells it, not normalised
  std::vector<int> codes;
};

}  // namespace

TEST(Converter, ExampleWordsGiveTheirStoredCodes) {
  const WordCase cases[] = {
      {"بِسۡمِ", {178, 248, 195, 252, 222, 248}},
      {"ٱللَّهِ", {115, 220, 220, 250, 244, 226, 248}},
      {"أُوْلَـٰٓئِكَ", {167, 246, 228, 247, 220, 244, 245, 251, 173, 248, 218, 244}},
      {"عَلَىٰٓ", {205, 244, 220, 244, 229, 251, 245}},
      {"ٱلۡأٓخِرَةِ", {115, 220, 252, 167, 251, 189, 248, 192, 244, 179, 248}},
      {"يَـٰٓـَٔادَمُ", {232, 244, 245, 251, 212, 107, 244, 175, 190, 244, 222, 246}},
      {"صُمُّۢ", {199, 246, 222, 250, 253}},
      {"سَمِيعَۢا", {195, 244, 222, 248, 232, 205, 254, 175}},
      {"لَآ", {220, 244, 165}},
      {"ٱلنَّبِيِّـۧنَ", {115, 220, 224, 250, 244, 178, 248, 232, 250, 248, 108, 224, 244}},
      {"تِلۡقَآيِٕ", {181, 248, 220, 252, 216, 244, 165, 229, 248, 255}},
      {"أَنَا۠", {167, 244, 224, 244, 175, 103}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(codesOf(convertWord(ns::utf8ToUtf32(c.word))), c.codes) << c.word;
  }
}

TEST(Converter, KasraWithSmallLowMeemAndShaddaBeforeTheIqlabVowel) {
  // ِۭ becomes 249; shadda moves before the vowel it follows in the text.
  EXPECT_EQ(codesOf(convertWord(U"\u0628\u0650\u06ED")), (std::vector<int>{178, 249}));
  EXPECT_EQ(codesOf(convertWord(U"\u0645\u064F\u0651\u06E2")), (std::vector<int>{222, 250, 253}));
}

TEST(Converter, VerseJoinsWordsWithSpaceAndEndsWithNewline) {
  EXPECT_EQ(codesOf(convertVerse("بِسۡمِ ٱللَّهِ", 1, 1)),
            (std::vector<int>{178, 248, 195, 252, 222, 248, 32, 115, 220, 220, 250, 244, 226, 248, 10}));
}

TEST(Converter, ThinSpaceIsDroppedInsideAWord) {
  EXPECT_EQ(convertVerse("لَ\u2009آ", 2, 72), convertVerse("لَآ", 2, 72));
}

TEST(Converter, RubElHizbAndSajdahBecomeWordsOfTheirOwn) {
  EXPECT_EQ(codesOf(convertVerse("۞بِسۡمِ", 2, 1)),
            (std::vector<int>{161, 32, 178, 248, 195, 252, 222, 248, 10}));
  EXPECT_EQ(codesOf(convertVerse("بِسۡمِ۩", 7, 206)),
            (std::vector<int>{178, 248, 195, 252, 222, 248, 32, 127, 10}));
  EXPECT_EQ(codesOf(convertVerse("۞", 2, 1)), (std::vector<int>{161, 10}));
}

TEST(Converter, UnmappedCharacterNamesCodePointAndVerse) {
  struct Bad {
    const char* text;
    const char* message;
  } cases[] = {
      {"بِسۡمِ x", "U+0078 in verse 3:4"},
      {"\u0651\u0628", "U+0651 in verse 3:4"},   // a mark with no letter
      {"\u0628\u06ED", "U+06ED in verse 3:4"},   // small low meem without its kasra
      {"\u06F1", "U+06F1 in verse 3:4"},
      {"\xD8\xA8\xD8", "U+FFFD in verse 3:4"},  // a truncated sequence
  };
  for (const auto& c : cases) {
    try {
      convertVerse(c.text, 3, 4);
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const ConversionError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}
