#pragma once
// Fixed tables of the glyph code page: byte classes, joining forms, kashida
// classes and the tajweed tints. Pure lookups, shared by every font instance.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>

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

// The tables themselves, built at compile time, so the tests below are plain loads.
namespace detail {
using Flags = std::array<bool, 256>;
using Map = std::array<std::uint8_t, 256>;
struct Range {
  int from, to;
};
constexpr Flags flagsOf(std::initializer_list<Range> ranges) {
  Flags f{};
  for (Range r : ranges)
    for (int c = r.from; c <= r.to; ++c) f[c] = true;
  return f;
}
constexpr Map mapOf(std::initializer_list<std::pair<int, int>> pairs) {
  Map m{};
  for (auto [from, to] : pairs) m[from] = std::uint8_t(to);
  return m;
}
inline constexpr Flags kMarks = flagsOf({{99, 101}, {107, 107}, {121, 126}, {240, 255}});
inline constexpr Flags kMarksNarrow = flagsOf({{99, 101}, {240, 240}, {242, 255}});
inline constexpr Flags kMarksAbove = flagsOf({{99, 99}, {101, 101}, {107, 107}, {109, 109}, {121, 126},
                                  {240, 242}, {244, 247}, {250, 254}});
inline constexpr Flags kMarksBelow = flagsOf({{100, 100}, {243, 243}, {248, 249}, {255, 255}});
inline constexpr Flags kSmallLetters = flagsOf({{102, 103}, {106, 109}, {113, 114}});
inline constexpr Flags kTanween = flagsOf({{99, 101}, {240, 240}, {242, 243}, {249, 249}, {253, 254}});
inline constexpr Flags kVowels = flagsOf({{99, 101}, {240, 240}, {242, 246}, {248, 249}, {253, 254}});
inline constexpr Flags kJoinsForward = flagsOf({{82, 83}, {85, 85}, {88, 90}, {104, 105}, {112, 112},
                                  {116, 119}, {129, 134}, {137, 160}, {172, 174}, {177, 178},
                                  {180, 189}, {194, 227}, {229, 233}, {241, 241}, {245, 245},
                                  {247, 247}, {249, 249}, {251, 251}, {253, 253}});
inline constexpr Flags kAcceptsJoin = flagsOf({{82, 91}, {104, 105}, {110, 112}, {115, 120}, {129, 160},
                                  {165, 233}, {238, 239}, {241, 241}, {245, 245}, {247, 247},
                                  {249, 249}, {251, 251}, {253, 253}});
inline constexpr Map kForward = mapOf({
      {82, 142}, {83, 143}, {85, 139}, {88, 131}, {118, 196}, {119, 194}, {120, 227},
      {132, 133}, {134, 130}, {137, 138}, {140, 141}, {144, 145}, {146, 147}, {148, 149},
      {150, 151}, {152, 153}, {154, 155}, {156, 157}, {158, 159}, {160, 223}, {173, 172},
      {174, 172}, {178, 177}, {181, 180}, {183, 182}, {185, 184}, {187, 186}, {189, 188},
      {195, 194}, {197, 196}, {199, 198}, {201, 200}, {202, 117}, {203, 116}, {205, 204},
      {207, 206}, {209, 208}, {211, 210}, {214, 213}, {216, 215}, {218, 217}, {220, 219},
      {222, 221}, {224, 223}, {226, 225}, {229, 105}, {230, 104}, {232, 231}, {233, 231},
      {240, 241}, {241, 241}, {242, 242}, {243, 243}, {244, 245}, {245, 245}, {246, 247},
      {247, 247}, {248, 249}, {249, 249}, {250, 251}, {251, 251}, {252, 253}, {253, 253},
      {255, 241},
  });
inline constexpr Map kBackward = mapOf({
      {105, 104}, {115, 111}, {116, 142}, {117, 143}, {165, 166}, {167, 168}, {169, 84},
      {170, 171}, {172, 128}, {173, 174}, {175, 176}, {177, 159}, {178, 158}, {179, 110},
      {180, 157}, {181, 156}, {182, 155}, {183, 154}, {184, 153}, {185, 152}, {186, 151},
      {187, 150}, {188, 149}, {189, 148}, {190, 136}, {191, 135}, {192, 87}, {193, 86},
      {194, 90}, {195, 119}, {196, 89}, {197, 118}, {198, 147}, {199, 146}, {200, 145},
      {201, 144}, {202, 83}, {203, 82}, {204, 206}, {205, 207}, {208, 210}, {209, 211},
      {213, 141}, {214, 140}, {215, 139}, {216, 85}, {217, 138}, {218, 137}, {219, 130},
      {220, 134}, {221, 133}, {222, 132}, {223, 131}, {224, 88}, {225, 227}, {226, 120},
      {228, 91}, {229, 230}, {231, 129}, {232, 233}, {238, 239}, {240, 241}, {241, 241},
      {242, 242}, {243, 243}, {244, 245}, {245, 245}, {246, 247}, {247, 247}, {248, 249},
      {249, 249}, {250, 251}, {251, 251}, {252, 253}, {253, 253}, {255, 241},
  });
constexpr bool in(const Flags& f, int c) { return c >= 0 && c <= 255 && f[c]; }
constexpr int lookup(const Map& m, int c) { return c >= 0 && c <= 255 ? m[c] : 0; }
}  // namespace detail

// Marks (tashkil); the narrow test leaves out 107, 121-126 and 241.
inline bool isMark(int c) { return detail::in(detail::kMarks, c); }
inline bool isMarkNarrow(int c) { return detail::in(detail::kMarksNarrow, c); }
inline bool isMarkAbove(int c) { return detail::in(detail::kMarksAbove, c); }
inline bool isMarkBelow(int c) { return detail::in(detail::kMarksBelow, c); }
inline bool isSmallLetter(int c) { return detail::in(detail::kSmallLetters, c); }
inline bool isTanween(int c) { return detail::in(detail::kTanween, c); }
// Marks and 109 are passed over when looking for a neighbouring letter.
inline bool isNotLetter(int c) { return isMark(c) || c == 109; }
// Vowel signs that give a noon its own vowel (a noon without one is sakin).
inline bool isVowelMark(int c) { return detail::in(detail::kVowels, c); }

// Joining tables by code (0 = none / no).
inline bool joinsForward(int c) { return detail::in(detail::kJoinsForward, c); }
inline bool acceptsJoin(int c) { return detail::in(detail::kAcceptsJoin, c); }
inline int forwardForm(int c) { return detail::lookup(detail::kForward, c); }
inline int backwardForm(int c) { return detail::lookup(detail::kBackward, c); }

// Kashida class of a stored letter code, -1 when it has none.
int kashidaClass(int c);
// Whether a kashida may stand between a preceding and a following letter.
bool kashidaAllowed(int preceding, int following);

constexpr int kHeh = 226;

// The Divine Name (the lam, the lam with shadda and the heh of الله and لله)
// is never stretched, as printed copies never stretch it. Whether the letter
// at `later` and the letter before it both belong to it, in a word whose
// stored codes (marks included) `at(0)`..`at(count - 1)` gives.
template <typename At>
bool withinDivineName(At at, int count, int later) {
  int letters[4] = {-1, -1, -1, -1};  // up to two letters before `later`, and one after
  int found = 0;
  for (int j = later - 1; j >= 0 && found < 2; --j)
    if (!isNotLetter(at(j))) letters[1 - found++] = j;
  letters[2] = later;
  for (int j = later + 1; j < count; ++j)
    if (!isNotLetter(at(j))) {
      letters[3] = j;
      break;
    }
  // Lam, lam with a shadda among its marks, heh: three letters in a row.
  auto isName = [&](int a, int b, int c) {
    if (a < 0 || b < 0 || c < 0 || at(a) != kLam || at(b) != kLam || at(c) != kHeh) return false;
    for (int j = b + 1; j < c; ++j)
      if (at(j) == kShadda) return true;
    return false;
  };
  return isName(letters[0], letters[1], letters[2]) || isName(letters[1], letters[2], letters[3]);
}

// Tint of a colour class 1..10 as 0-255 components; false for other classes.
bool tintOfClass(unsigned colorClass, int& r, int& g, int& b);

}  // namespace glyphtables
