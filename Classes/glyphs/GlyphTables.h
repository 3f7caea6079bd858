#pragma once
// Fixed tables of the glyph code page: byte classes, joining forms, kashida
// classes and the tajweed tints. Pure lookups, shared by every font instance.
#include <cstdint>

namespace glyphtables {

constexpr int kCharsStart = 82;   // first glyph code
constexpr int kGlyphCount = 174;  // codes 82..255
constexpr int kVerseEnd = 10;
constexpr int kSpace = 32;
constexpr int kKashida = 112;     // the joining stroke
constexpr int kMadda = 251;
constexpr int kDaggerAlef = 245;
constexpr int kSukun = 252;
constexpr int kShadda = 250;
constexpr int kSmallMeem = 241;
constexpr int kLam = 220;
constexpr int kMeem = 222;
constexpr int kNoon = 224;
constexpr int kBa = 178;
constexpr int kAlef = 175;
constexpr int kAlefWasla = 115;
constexpr int kAlefMaqsura = 229;
constexpr int kHamza = 164;

inline bool isGlyph(int c) { return c >= kCharsStart && c <= 255; }

// Marks (tashkil); the narrow test leaves out 107, 121-126 and 241.
bool isMark(int c);
bool isMarkNarrow(int c);
bool isMarkAbove(int c);
bool isMarkBelow(int c);
bool isSmallLetter(int c);
bool isTanween(int c);
// Marks and 109 are passed over when looking for a neighbouring letter.
inline bool isNotLetter(int c) { return isMark(c) || c == 109; }
// Vowel signs that give a noon its own vowel (a noon without one is sakin).
bool isVowelMark(int c);

// Joining tables by code (0 = none / no).
bool joinsForward(int c);
bool acceptsJoin(int c);
int forwardForm(int c);
int backwardForm(int c);

// Kashida class of a stored letter code, -1 when it has none.
int kashidaClass(int c);
// Whether a kashida may stand between a preceding and a following letter.
bool kashidaAllowed(int preceding, int following);

// Tint of a colour class 1..10 as 0-255 components; false for other classes.
bool tintOfClass(unsigned colorClass, int& r, int& g, int& b);

}  // namespace glyphtables
